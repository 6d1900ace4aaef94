// Fills an AssessmentRecord from one input line.
//
// ParseRecord(line, record) zero-fills the record, trims the line in place,
// repeats the framing tests, copies every item of the family's layout into its
// field and converts the numeric items. It returns nullptr on success, or the
// message of the first failure: the framing message, or that of the leftmost
// tested numeric item that is not all digits.
//
// CollectParseFaults(line, record) parses the same way but goes on after a
// failing item and returns every failure in line order: the framing failure
// alone (with no item), or each tested numeric item that is not all digits.
// The fields of those items stay zero.
//
// RecordParser(line, ErrorText) does the same on the current record, copying
// the message into ErrorText; it returns 1 on success, -1 on failure, and -1
// without a message when no record is current.
//
// The line buffer must be zero beyond the text through column 533: items past
// the end of a short line read as NUL (empty text).
#pragma once

#include <vector>

#include "record/assessment_record.h"
#include "record/input_layout.h"

namespace grouper {

struct ParseFault {
  const LayoutItem* item;  // nullptr for the framing failure
  const char* message;     // a constant text
};

const char* ParseRecord(char* line, AssessmentRecord& record);
std::vector<ParseFault> CollectParseFaults(char* line, AssessmentRecord& record);
int RecordParser(char* line, char* error_text);

}  // namespace grouper
