// Fills the current AssessmentRecord from one input line.
//
// RecordParser(line, ErrorText) zero-fills the current record, trims the line
// in place, repeats the framing tests, copies every item of the family's
// layout into its field and converts the numeric items. A tested numeric item
// that is not all digits copies its message into ErrorText and ends parsing
// with -1 (the leftmost failing item wins). Returns 1 on success, -1 on
// failure; with no current record it returns -1 and writes no message.
//
// The line buffer must be zero beyond the text through column 533: items past
// the end of a short line read as NUL (empty text).
#pragma once

namespace grouper {

int RecordParser(char* line, char* error_text);

}  // namespace grouper
