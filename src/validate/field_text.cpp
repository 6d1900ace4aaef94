#include "validate/field_text.h"

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
// costly, so converted dates are remembered in a small direct-mapped cache.
struct DateCacheEntry {
  int key;  // year * 10000 + month * 100 + day, 0 when empty
  int32_t value;
};
constexpr int kDateCacheSize = 4096;
DateCacheEntry date_cache[kDateCacheSize];

}  // namespace

void ResetDateCache() {
  std::memset(date_cache, 0, sizeof date_cache);
}

int32_t CheckDate(const char* text) {
  char work[32] = {};
  std::strncpy(work, text, sizeof work - 1);
  RemoveChar(' ', work);
  if (work[0] == '\0') return -1;

  const char* p = work;
  int year = 0, month = 0, day = 0;
  if (!ScanNumber(p, 4, year) || !ScanNumber(p, 2, month) || !ScanNumber(p, 2, day)) return -1;
  if (month < 1 || month > 12 || day < 1 || day > 31) return -1;
  if (year < 0 || year > 9999) return -1;  // far outside the accepted range anyway

  const int key = year * 10000 + month * 100 + day;  // > 0: month and day are at least 1
  DateCacheEntry& entry = date_cache[static_cast<unsigned>(key) % kDateCacheSize];
  if (entry.key != key) {
    entry.key = key;
    entry.value = LocalMidnight(year, month, day);
  }
  return entry.value;
}

}  // namespace grouper
