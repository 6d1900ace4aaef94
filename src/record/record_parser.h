// Fills an AssessmentRecord from the trimmed text of one input line: repeats
// the framing tests, copies every item of the family's layout into its field
// and converts the numeric items.
//
// The text must be NUL-terminated and its buffer zero beyond it through column
// 533 (as a LineBuffer is): items past the end of a short line read as NUL
// (empty text).
#pragma once

#include <cstddef>
#include <vector>

#include "record/assessment_record.h"
#include "record/input_layout.h"

namespace grouper {

struct ParseFault {
  const LayoutItem* item;  // nullptr for the framing failure
  const char* message;     // a constant text
};

// Zero-fills `record` and parses the `length` bytes of `text` into it.
// Returns nullptr on success, or the message of the first failure (a constant
// code page 949 text): the framing message, or that of the leftmost tested
// numeric item that is not all digits.
const char* ParseRecord(const char* text, std::size_t length, AssessmentRecord& record);

// Parses the same way but goes on after a failing item, and returns every
// failure in line order: the framing failure alone (with no item), or each
// tested numeric item that is not all digits (whose fields stay zero). Empty
// when ParseRecord succeeds.
std::vector<ParseFault> CollectParseFaults(const char* text, std::size_t length,
                                           AssessmentRecord& record);

}  // namespace grouper
