#include "validate/field_text.h"

#include <atomic>
#include <bit>
#include <cstring>
#include <ctime>

#include "util/mutex.h"
#include "util/thread_annotations.h"

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

namespace {

constexpr uint64_t kTopBits = 0x8080808080808080u;

// The top bit of each byte of `word` that is a blank or a terminator: the two
// bytes that have no bit but 0x20. The addition does not carry from one byte
// into the next, and sets the top bit of every byte with a bit of 0x5F; the
// byte's own top bit is added by the OR.
uint64_t Stops(uint64_t word) {
  return ~(((word & 0x5F5F5F5F5F5F5F5Fu) + 0x7F7F7F7F7F7F7F7Fu) | word) & kTopBits;
}

// True when the stops of a word are all its bytes from the lowest stop on.
bool StopsTrail(uint64_t stops) {
  return stops == (kTopBits & (0 - (stops & (0 - stops))));
}

// The length of a name whose blanks and terminators all trail its other
// bytes, after ending it at its first blank; -1, with the name unchanged, for
// any other name (its blanks are then removed one by one).
int EndBeforeTrailingBlanks(char (&name)[13]) {
  constexpr int kTail = 13 - 8;  // the second word holds bytes 5 to 12
  // The tail's bytes 5 to 7, which the head holds too.
  constexpr uint64_t kOverlap = 0x808080u;
  uint64_t head, tail;
  std::memcpy(&head, name, sizeof head);
  std::memcpy(&tail, name + kTail, sizeof tail);
  const uint64_t head_stops = Stops(head);
  const uint64_t tail_stops = Stops(tail);
  int first;
  if (head_stops != 0) {
    if (!StopsTrail(head_stops) || (tail_stops | kOverlap) != kTopBits) return -1;
    first = std::countr_zero(head_stops) / 8;
  } else {
    if (tail_stops == 0 || !StopsTrail(tail_stops)) return -1;
    first = kTail + std::countr_zero(tail_stops) / 8;
  }
  name[first] = '\0';
  return first;
}

}  // namespace

std::size_t RemoveBlanksFromName(char (&name)[13]) {
  if constexpr (std::endian::native == std::endian::little) {
    const int length = EndBeforeTrailingBlanks(name);
    if (length >= 0) return static_cast<std::size_t>(length);
  }
  RemoveChar(' ', name);
  return std::strlen(name);
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

// The C library's conversion may start its search from the offset that its
// previous call found. Where a zone skips a local midnight (a zone change or a
// daylight-saving start at 00:00 leaves the hour out), the answer depends on
// that start: it would depend on the dates converted before and, with threads,
// on their timing. A fixed noon converted first, under one lock, starts every
// conversion from the same place. Only a date's first conversion pays for it.
Mutex conversion_mutex;

// The time value of `t` as local time, converted after the fixed noon.
std::time_t ConvertAfterAnchor(std::tm& t) REQUIRES(conversion_mutex) {
  std::tm anchor{};
  anchor.tm_year = 100;  // 1 January 2000, 12:00
  anchor.tm_mday = 1;
  anchor.tm_hour = 12;
  anchor.tm_isdst = 0;
  std::mktime(&anchor);
  return std::mktime(&t);
}

// Local midnight of a date already checked for month and day, or -1 when the
// time value falls outside 0 .. 2^31 - 1.
int32_t LocalMidnight(int year, int month, int day) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_isdst = 0;
  std::time_t value;
  {
    MutexLock lock(conversion_mutex);
    value = ConvertAfterAnchor(t);
  }
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
// An entry's index is the year's offset, the month and the day as bit fields
// (5 bits of day, 4 of month), which costs less to form than a dense index;
// the slots of month and day numbers that do not occur stay unused.
constexpr int kDateCacheSize = (kLastYear - kFirstYear + 1) << 9;
constexpr uint32_t kNotConverted = 0;
using date_detail::kInvalid;
std::atomic<uint32_t> date_cache[kDateCacheSize];

// The first conversion of a date: the local-time conversion, kept in its entry.
// Out of line, so that the usual lookup of a converted date stays short.
[[gnu::noinline]] uint32_t ConvertAndKeep(std::atomic<uint32_t>& entry, int year, int month,
                                          int day) {
  const int32_t value = LocalMidnight(year, month, day);
  const uint32_t stored = value < 0 ? kInvalid : static_cast<uint32_t>(value) + 1;
  entry.store(stored, std::memory_order_relaxed);
  return stored;
}

inline int32_t ConvertDate(int year, int month, int day) {
  if (month < 1 || month > 12 || day < 1 || day > 31) return -1;
  if (year < kFirstYear || year > kLastYear) return -1;
  std::atomic<uint32_t>& entry = date_cache[((year - kFirstYear) << 9) | (month << 5) | day];
  uint32_t stored = entry.load(std::memory_order_relaxed);
  if (stored == kNotConverted) stored = ConvertAndKeep(entry, year, month, day);
  return stored == kInvalid ? -1 : static_cast<int32_t>(stored - 1);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

namespace {

// The usual case: exactly eight digits.
[[gnu::always_inline]] inline bool EightDigitText(const char* text) {
  return IsDigit(text[0]) && IsDigit(text[1]) && IsDigit(text[2]) && IsDigit(text[3]) &&
         IsDigit(text[4]) && IsDigit(text[5]) && IsDigit(text[6]) && IsDigit(text[7]) &&
         text[8] == '\0';
}

[[gnu::always_inline]] inline int32_t ConvertEightDigits(const char* text) {
  const int year =
      (text[0] - '0') * 1000 + (text[1] - '0') * 100 + (text[2] - '0') * 10 + (text[3] - '0');
  return ConvertDate(year, (text[4] - '0') * 10 + (text[5] - '0'),
                     (text[6] - '0') * 10 + (text[7] - '0'));
}

int32_t CheckOtherDate(const char* text) {
  char work[32] = {};
  std::strncpy(work, text, sizeof work - 1);
  RemoveChar(' ', work);
  if (work[0] == '\0') return -1;

  const char* p = work;
  int year = 0, month = 0, day = 0;
  if (!ScanNumber(p, 4, year) || !ScanNumber(p, 2, month) || !ScanNumber(p, 2, day)) return -1;
  return ConvertDate(year, month, day);
}

}  // namespace

int32_t CheckDate(const char* text) {
  if (EightDigitText(text)) return ConvertEightDigits(text);
  return CheckOtherDate(text);
}

namespace date_detail {

std::atomic<uint64_t> recent_dates[1u << kRecentBits];

int32_t DecodeAndKeep(const DateText& text, uint32_t key) {
  if (!EightDigitText(text)) return CheckOtherDate(text);
  const int32_t value = ConvertEightDigits(text);
  const uint32_t stored = value < 0 ? kInvalid : static_cast<uint32_t>(value) + 1;
  RecentSlot(key).store(uint64_t{key} << 32 | stored, std::memory_order_relaxed);
  return value;
}

int32_t CheckOtherDateField(const DateText& text) {
  return CheckOtherDate(text);
}

int32_t ConvertDateField(const DateText& text) {
  return ConvertEightDigits(text);
}

}  // namespace date_detail

void ResetDateCache() {
  for (std::atomic<uint32_t>& entry : date_cache) entry.store(kNotConverted);
  for (std::atomic<uint64_t>& entry : date_detail::recent_dates) entry.store(0);
}

}  // namespace grouper
