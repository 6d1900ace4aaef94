// Checks an AssessmentRecord item by item against the rules of the form,
// section by section in form order, and stops at the first rule that the
// record breaks.
//
// ValidateRecord(record) returns nullptr when every check holds, else the
// message of the first failing check (a constant text).
//
// CollectFaults(record) runs every check instead and returns each one that
// applies and fails, in the same order; its first is ValidateRecord's. A check
// applies when the answers it depends on, read as they are written, call for
// it, even where those answers are themselves faulty.
//
// RecordValidator(ErrorText) does the same on the current record: it returns
// 1 when every check holds and -1 otherwise. On -1 after a failed check,
// ErrorText starts with that check's message, terminator included; the bytes
// after the terminator are left as they were. With no current record it
// returns -1 and writes nothing.
//
// The validator changes the record in two ways only: it removes the blanks from
// `patient_name` and, in the families from 090, from the two signature names,
// and it keeps the time values of the three dates of the stay in their
// `a_..._time` fields.
#pragma once

#include <vector>

#include "record/assessment_record.h"
#include "validate/check.h"

namespace grouper {

const char* ValidateRecord(AssessmentRecord& record);
std::vector<Fault> CollectFaults(AssessmentRecord& record);
int RecordValidator(char* error_text);

}  // namespace grouper
