// Small text routines shared by the record parser and the validator.
//
// Texts are NUL-terminated byte strings in code page 949; a character is one
// byte. None of these routines depends on the locale.
//   RemoveChar    removes every occurrence of one byte, in place; returns 1.
//   IsNumericText 1 when the text is one or more digits (with a point flag other
//                 than 0, digits with at most one '.'), else -1.
//   CheckDate     the time value of local midnight of a YYYYMMDD text, or -1
//                 when the text is no valid date. Blanks in the text are
//                 ignored; the absent date "00000000" is not a valid date. A
//                 date is valid only when its time value lies from 0 to
//                 2^31 - 1 in the process's local time zone.
#pragma once

#include <cstdint>

namespace grouper {

int RemoveChar(char character, char* text);
int IsNumericText(const char* text, int point_flag);
int32_t CheckDate(const char* text);

// CheckDate converts each date once per process and keeps the result (threads
// share it safely), so the time zone in force when a date is first converted
// decides it: set the zone (TZ) before the first date is checked, or call
// ResetDateCache after changing it, while no other thread checks dates.
//
// Forgets the dates that CheckDate has converted.
void ResetDateCache();

}  // namespace grouper
