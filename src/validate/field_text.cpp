#include "validate/field_text.h"

#include <bit>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/wasm_runtime.h"

namespace grouper {

int RemoveChar(char character, char* text) {
  // Compacts in place; the callers' fields are at most 31 bytes long. Most
  // texts hold no such byte and are left as they are.
  text = std::strchr(text, character);
  if (text == nullptr || character == '\0') return 1;
  char* out = text;
  for (const char* in = text; *in != '\0'; ++in) {
    if (*in != character) *out++ = *in;
  }
  *out = '\0';
  return 1;
}

void DateTextOfDay(int32_t day, char (&text)[9]) {
  // Days since 1 March of year 0 (of the proleptic calendar), then the
  // year of 400-year eras, as the civil calendar counts.
  const int64_t z = static_cast<int64_t>(day) + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t day_of_era = z - era * 146097;
  const int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const int64_t shifted_month = (5 * day_of_year + 2) / 153;
  const int64_t day_of_month = day_of_year - (153 * shifted_month + 2) / 5 + 1;
  const int64_t month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
  const int64_t year = year_of_era + era * 400 + (month <= 2 ? 1 : 0);
  const int digits[3][2] = {{static_cast<int>(year % 10000), 4},
                            {static_cast<int>(month), 2},
                            {static_cast<int>(day_of_month), 2}};
  char* out = text;
  for (const auto& [value, width] : digits) {
    int rest = value;
    for (int i = width - 1; i >= 0; --i) {
      out[i] = static_cast<char>('0' + rest % 10);
      rest /= 10;
    }
    out += width;
  }
  *out = '\0';
}

int IsNumericText(const char* text, int point_flag) {
  if (text[0] == '\0') return -1;
  int points = 0;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p >= '0' && *p <= '9') continue;
    if (point_flag != 0 && *p == '.' && ++points == 1) continue;
    return -1;
  }
  return 1;
}

namespace {

bool IsScanfSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads one number as the C library's "%Nd" conversion does: white space is
// skipped, then at most `width` characters are taken, a sign counting toward
// the width. Returns false when no number could be read.
bool ScanNumber(const char*& p, int width, int& value) {
  while (IsScanfSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
    --width;
  }
  int digits = 0;
  long long v = 0;
  while (width > 0 && *p >= '0' && *p <= '9') {
    v = v * 10 + (*p - '0');
    ++p;
    --width;
    ++digits;
  }
  if (digits == 0) return false;
  value = static_cast<int>(negative ? -v : v);
  return true;
}

// The day numbers agree with the calendar's on the first of every month of the
// years that dates may name.
constexpr bool DayNumbersAgreeWithCalendar() {
  using namespace std::chrono;
  for (int y = date_detail::kFirstYear; y <= date_detail::kLastYear; ++y) {
    for (unsigned m = 1; m <= 12; ++m) {
      const sys_days first{year{y} / month{m} / 1};
      if (date_detail::DayNumber(y, static_cast<int>(m), 1) != first.time_since_epoch().count()) {
        return false;
      }
    }
  }
  return true;
}
static_assert(DayNumbersAgreeWithCalendar());

// The C library's conversion of a broken-down local time to a time value,
// 64 bits wide wherever the runtime has such a conversion. On Windows that is
// _mktime64, in a 32-bit program too: there mktime's time_t is 32 bits wide,
// and the runtime may refuse a time from 19 January 2038 00:00 UTC on, before
// 2^31 - 1, which would take 19 January 2038 from the zones from UTC westward
// that the 64-bit build gives it.
// The WebAssembly build reads the time as Korea's whatever the zone of its
// browser or Node process (platform/wasm_runtime.h).
long long LocalTimeValue(std::tm& t) {
#ifdef _WIN32
  return static_cast<long long>(_mktime64(&t));
#elif defined(__EMSCRIPTEN__)
  return platform::KoreanTimeValue(t);
#else
  return static_cast<long long>(std::mktime(&t));
#endif
}

// True when local midnight of January `day` of `year` lies from 0 to 2^31 - 1
// seconds after the epoch in the process's zone. The conversion takes the date
// with the daylight-saving flag 0; where it cannot give the time value (a
// 32-bit time_t past 2038, or a runtime that answers nothing before 1970), the
// day is not valid, as it would not be by its value.
//
// The C library's conversion may start its search from the offset that its
// previous call found, and where a zone skips a local midnight the answer
// depends on that start; a fixed noon converted first makes the answer the
// same whatever the process converted before.
bool MidnightInRange(int year, int day) {
  std::tm anchor{};
  anchor.tm_year = 100;  // 1 January 2000, 12:00
  anchor.tm_mday = 1;
  anchor.tm_hour = 12;
  anchor.tm_isdst = 0;
  LocalTimeValue(anchor);
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = 0;
  t.tm_mday = day;
  t.tm_isdst = 0;
  const long long seconds = LocalTimeValue(t);
  return seconds >= 0 && seconds <= 0x7fffffffLL;
}

}  // namespace

namespace date_detail {

ValidDayRange ProbeValidDays() {
  // In a zone less than a day from UTC the first valid day is 1 or 2 January
  // 1970 and the last 18 or 19 January 2038 (20 January would take a zone
  // more than 20 hours east of UTC); the probes look a day beyond each.
  constexpr int32_t kFirstOfJanuary1970 = 0;
  constexpr int32_t kFirstOfJanuary2038 = DayNumber(2038, 1, 1);
  ValidDayRange range{};
  int day = 1;
  while (day < 3 && !MidnightInRange(1970, day)) ++day;
  range.first = kFirstOfJanuary1970 + day - 1;
  day = 20;
  while (day > 17 && !MidnightInRange(2038, day)) --day;
  range.last = kFirstOfJanuary2038 + day - 1;
  return range;
}

int32_t CheckOtherDateField(const DateText& text) {
  char work[sizeof(DateText) + 1] = {};
  std::memcpy(work, text, strnlen(text, sizeof(DateText)));
  RemoveChar(' ', work);
  if (work[0] == '\0') return -1;

  const char* p = work;
  int year = 0, month = 0, day = 0;
  if (!ScanNumber(p, 4, year) || !ScanNumber(p, 2, month) || !ScanNumber(p, 2, day)) return -1;
  return CheckedDay(year, month, day);
}

}  // namespace date_detail

}  // namespace grouper
