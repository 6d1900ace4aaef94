// Small text routines shared by the record parser and the validator.
//
// Texts are NUL-terminated byte strings in code page 949; a character is one
// byte. None of these routines depends on the locale.
//   RemoveChar    removes every occurrence of one byte, in place; returns 1.
//   EightDigits   true when eight bytes are all digits.
//   IsNumericText 1 when the text is one or more digits (with a point flag other
//                 than 0, digits with at most one '.'), else -1.
//   CheckDateField the day number of a record's YYYYMMDD date field (days
//                 since 1 January 1970), or -1 when the text is no valid date.
//                 Blanks in the text are ignored; the absent date "00000000" is
//                 not a valid date. A date is valid only when the time value of
//                 its local midnight lies from 0 to 2^31 - 1 in the process's
//                 local time zone.
//
// Nothing here keeps state that changes: the only state is the first and the
// last valid day, found once, at the first date checked in the process, from
// the local time zone then in force (see date_detail::ValidDays).
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "record/assessment_record.h"

namespace grouper {

int RemoveChar(char character, char* text);
// True when the eight bytes from `text` are all digits.
inline bool EightDigits(const char* text) {
  uint64_t bytes;
  std::memcpy(&bytes, text, sizeof bytes);
  // Each byte lies in 0x30..0x3F, and adding 6 keeps it there; no byte
  // carries into the next once the first holds.
  return (bytes & 0xF0F0F0F0F0F0F0F0u) == 0x3030303030303030u &&
         ((bytes + 0x0606060606060606u) & 0xF0F0F0F0F0F0F0F0u) == 0x3030303030303030u;
}
int IsNumericText(const char* text, int point_flag);
// The date of a day number that CheckDateField gave, as YYYYMMDD and a
// terminator: the date as the rules read it (a date written with blanks or
// past its month's end is shown as the calendar day it stands for).
void DateTextOfDay(int32_t day, char (&text)[9]);
// A record's date field: its nine bytes are known, and eight digits and a
// terminator (the usual field) are converted inline.
[[gnu::always_inline]] inline int32_t CheckDateField(const DateText& text);

namespace date_detail {

// Date texts name years from 1970 to 2038 at most: no other year holds a
// local midnight from 0 to 2^31 - 1 seconds after the epoch in any zone.
inline constexpr int kFirstYear = 1970;
inline constexpr int kLastYear = 2038;

// The day number of a date of the years above, with the month 1 to 12 and the
// day 1 to 31; a day past the month's end counts on into the next month, as the
// C library's local-time conversion normalises it (31 February 2015 is 3 March).
// Every fourth year from 1972 is a leap year in that range, 2000 included.
constexpr int32_t DayNumber(int year, int month, int day) {
  constexpr int kDaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  const int years = year - kFirstYear;
  const bool leap = years % 4 == 2;
  return years * 365 + (years + 1) / 4 + kDaysBeforeMonth[month - 1] + (leap && month > 2) +
         (day - 1);
}

// The day number of the first of each month of those years, twelve a year: a
// date is one lookup away.
inline constexpr auto kFirstOfMonth = [] {
  std::array<int16_t, (kLastYear - kFirstYear + 1) * 12> days{};
  for (int year = kFirstYear; year <= kLastYear; ++year) {
    for (int month = 1; month <= 12; ++month) {
      days[(year - kFirstYear) * 12 + month - 1] = static_cast<int16_t>(DayNumber(year, month, 1));
    }
  }
  return days;
}();

// The first and the last day number whose local midnight lies from 0 to
// 2^31 - 1 seconds after the epoch in the process's local time zone. Every day
// between them is valid too: a zone's offset from UTC is less than a day, so
// only the days near 1 January 1970 and 19 January 2038 depend on the zone.
struct ValidDayRange {
  int32_t first;
  int32_t last;
};

// Asks the C library's local-time conversion about the few days at each edge.
ValidDayRange ProbeValidDays();

// The range of the process, found at the first call (the language makes the
// initialisation safe for threads that arrive at once) and never changed: the
// zone in force at that first call decides it.
[[gnu::always_inline]] inline const ValidDayRange& ValidDays() {
  static const ValidDayRange range = ProbeValidDays();
  return range;
}

// The day number of a year, month and day as read from a date text, or -1
// when they are no valid date.
[[gnu::always_inline]] inline int32_t CheckedDay(int year, int month, int day) {
  if (static_cast<unsigned>(month - 1) >= 12 || static_cast<unsigned>(day - 1) >= 31 ||
      static_cast<unsigned>(year - kFirstYear) > static_cast<unsigned>(kLastYear - kFirstYear)) {
    return -1;
  }
  const int32_t number = kFirstOfMonth[(year - kFirstYear) * 12 + month - 1] + day - 1;
  const ValidDayRange& valid = ValidDays();
  return number >= valid.first && number <= valid.last ? number : -1;
}

// The long way, out of line, for a field of other than eight digits and a
// terminator: blanks removed, then the year, month and day read as the C
// library's "%4d%2d%2d" reads them (white space skipped, a sign counting
// toward the width, characters after the day ignored).
int32_t CheckOtherDateField(const DateText& text);

}  // namespace date_detail

[[gnu::always_inline]] inline int32_t CheckDateField(const DateText& text) {
  if (!EightDigits(text) || text[8] != '\0') return date_detail::CheckOtherDateField(text);
  if constexpr (std::endian::native == std::endian::little) {
    // Each pair of digits becomes its number in the low byte of its 16-bit
    // lane, ten times the first digit plus the second: no byte carries.
    uint64_t bytes;
    std::memcpy(&bytes, text, sizeof bytes);
    const uint64_t digits = bytes - 0x3030303030303030u;
    const uint64_t pairs = (digits * 10 + (digits >> 8)) & 0x00FF00FF00FF00FFu;
    const int year = static_cast<int>(pairs & 0xFF) * 100 + static_cast<int>((pairs >> 16) & 0xFF);
    return date_detail::CheckedDay(year, static_cast<int>((pairs >> 32) & 0xFF),
                                   static_cast<int>(pairs >> 48));
  } else {
    const auto digit = [&text](int at) { return text[at] - '0'; };
    const int year = digit(0) * 1000 + digit(1) * 100 + digit(2) * 10 + digit(3);
    return date_detail::CheckedDay(year, digit(4) * 10 + digit(5), digit(6) * 10 + digit(7));
  }
}

}  // namespace grouper
