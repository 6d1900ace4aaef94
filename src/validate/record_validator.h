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
// The validator changes the record in two ways only: it removes the blanks from
// `patient_name` and, in the families from 090, from the two signature names,
// and it keeps the day numbers of the three dates of the stay in their
// `a_..._time` fields.
#pragma once

#include <vector>

#include "record/assessment_record.h"
#include "validate/check.h"

namespace grouper {

// Validates a parsed record (one that ParseRecord accepted). Returns nullptr
// when every check holds, else the message of the first failing check (a
// constant code page 949 text).
const char* ValidateRecord(AssessmentRecord& record);

// Every check that applies and fails, in form order; empty exactly when
// ValidateRecord returns nullptr, and otherwise its first is that message.
std::vector<Fault> CollectFaults(AssessmentRecord& record);

}  // namespace grouper
