#include "validate/field_text.h"

#include <atomic>
#include <cstring>
#include <ctime>

namespace grouper {

int RemoveChar(char character, char* text) {
  // Compacts in place; the callers' fields are at most 31 bytes long.
  char* out = text;
  for (const char* in = text; *in != '\0'; ++in) {
    if (*in != character) *out++ = *in;
  }
  *out = '\0';
  return 1;
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

// Local midnight of a date already checked for month and day, or -1 when the
// time value falls outside 0 .. 2^31 - 1.
int32_t LocalMidnight(int year, int month, int day) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_isdst = 0;
  const std::time_t value = std::mktime(&t);
  if (value == static_cast<std::time_t>(-1)) return -1;
  const long long seconds = static_cast<long long>(value);
  if (seconds < 0 || seconds > 0x7fffffffLL) return -1;
  return static_cast<int32_t>(seconds);
}

// The same few dates recur throughout a file and the local-time conversion is
// costly (the C library may look at the time zone file on every call), so each
// date is converted once per process. Only the years 1970 to 2038 can give a
// time value from 0 to 2^31 - 1 in any time zone; the cache covers every month
// and day number of those years (a day beyond the month's end is normalised by
// the conversion, so it has an entry of its own).
//
// Threads share the cache without a lock: an entry is one atomic word, and two
// threads that convert the same date at once store the same value. An entry
// holds 0 when the date is not yet converted, the time value plus 1, or
// kInvalid.
constexpr int kFirstYear = 1970;
constexpr int kLastYear = 2038;
constexpr int kDaySlots = 31;
constexpr int kDateCacheSize = (kLastYear - kFirstYear + 1) * 12 * kDaySlots;
constexpr uint32_t kNotConverted = 0;
constexpr uint32_t kInvalid = 0xFFFFFFFFu;
std::atomic<uint32_t> date_cache[kDateCacheSize];

inline int32_t ConvertDate(int year, int month, int day) {
  if (month < 1 || month > 12 || day < 1 || day > 31) return -1;
  if (year < kFirstYear || year > kLastYear) return -1;
  std::atomic<uint32_t>& entry =
      date_cache[((year - kFirstYear) * 12 + (month - 1)) * kDaySlots + (day - 1)];
  uint32_t stored = entry.load(std::memory_order_relaxed);
  if (stored == kNotConverted) {
    const int32_t value = LocalMidnight(year, month, day);
    stored = value < 0 ? kInvalid : static_cast<uint32_t>(value) + 1;
    entry.store(stored, std::memory_order_relaxed);
  }
  return stored == kInvalid ? -1 : static_cast<int32_t>(stored - 1);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

void ResetDateCache() {
  for (std::atomic<uint32_t>& entry : date_cache) entry.store(kNotConverted);
}

int32_t CheckDate(const char* text) {
  // The usual case: exactly eight digits.
  if (IsDigit(text[0]) && IsDigit(text[1]) && IsDigit(text[2]) && IsDigit(text[3]) &&
      IsDigit(text[4]) && IsDigit(text[5]) && IsDigit(text[6]) && IsDigit(text[7]) &&
      text[8] == '\0') {
    const int year =
        (text[0] - '0') * 1000 + (text[1] - '0') * 100 + (text[2] - '0') * 10 + (text[3] - '0');
    return ConvertDate(year, (text[4] - '0') * 10 + (text[5] - '0'),
                       (text[6] - '0') * 10 + (text[7] - '0'));
  }

  char work[32] = {};
  std::strncpy(work, text, sizeof work - 1);
  RemoveChar(' ', work);
  if (work[0] == '\0') return -1;

  const char* p = work;
  int year = 0, month = 0, day = 0;
  if (!ScanNumber(p, 4, year) || !ScanNumber(p, 2, month) || !ScanNumber(p, 2, day)) return -1;
  return ConvertDate(year, month, day);
}

}  // namespace grouper
