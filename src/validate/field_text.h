// Small text routines shared by the record parser and the validator.
//
// Texts are NUL-terminated byte strings in code page 949; a character is one
// byte. None of these routines depends on the locale.
//   RemoveChar    removes every occurrence of one byte, in place; returns 1.
//   EightDigits   true when eight bytes are all digits.
//   IsNumericText 1 when the text is one or more digits (with a point flag other
//                 than 0, digits with at most one '.'), else -1.
//   CheckDate     the time value of local midnight of a YYYYMMDD text, or -1
//                 when the text is no valid date. Blanks in the text are
//                 ignored; the absent date "00000000" is not a valid date. A
//                 date is valid only when its time value lies from 0 to
//                 2^31 - 1 in the process's local time zone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "record/assessment_record.h"

namespace grouper {

int RemoveChar(char character, char* text);
// RemoveChar(' ', name) for a name field of 13 bytes (12 and the terminator),
// returning the length of the name that remains. The usual name, whose blanks
// all trail it, is handled a word at a time.
std::size_t RemoveBlanksFromName(char (&name)[13]);
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
int32_t CheckDate(const char* text);
// The same for a record's date field (faster: its nine bytes are known).
int32_t CheckDateField(const DateText& text);

// CheckDate converts each date once per process and keeps the result (threads
// share it safely), so the time zone in force when a date is first converted
// decides it: set the zone (TZ) before the first date is checked, or call
// ResetDateCache after changing it, while no other thread checks dates.
//
// Forgets the dates that CheckDate has converted.
void ResetDateCache();

}  // namespace grouper
