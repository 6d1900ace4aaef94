// Fills an AssessmentRecord from the trimmed text of one framed input line:
// copies every item of the family's layout into its field and converts the
// numeric items. The line's family and framing are decided once, when the
// line is taken (line/group_line.h); the parser trusts them.
//
// The text must be NUL-terminated and its buffer zero beyond it through column
// 533 (as a LineBuffer is): items past the end of a short line read as NUL
// (empty text).
#pragma once

#include <cstddef>
#include <vector>

#include "record/assessment_record.h"
#include "record/form_version.h"
#include "record/input_layout.h"

namespace grouper {

struct ParseFault {
  const LayoutItem* item;  // the failing item
  const char* message;     // a constant text
};

// Zero-fills `record` and parses `text`, a framed line of `family`, into it.
// Returns nullptr on success, or the message (a constant code page 949 text)
// of the leftmost tested numeric item that is not all digits.
const char* ParseRecord(const char* text, Family family, AssessmentRecord& record);

// Parses the same way but goes on after a failing item, and returns every
// failure in line order: each tested numeric item that is not all digits
// (whose fields stay zero). Empty when ParseRecord succeeds.
std::vector<ParseFault> CollectParseFaults(const char* text, Family family,
                                           AssessmentRecord& record);

}  // namespace grouper
