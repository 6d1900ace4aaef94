// Checks an AssessmentRecord item by item against the rules of the form,
// section by section in form order, and stops at the first rule that the
// record breaks.
//
// ValidateRecord(record, family) returns nullptr when every check holds, else
// the message of the first failing check (a constant text).
//
// CollectFaults(record, family) runs every check instead and returns each one
// that applies and fails, in the same order; its first is ValidateRecord's. A
// check applies when the answers it depends on, read as they are written, call
// for it, even where those answers are themselves faulty.
//
// The rows of the validator are also its description: ValidationLists gives
// every list of rows in the order the validator runs them, with the families
// and the gate of each, and RowReads every field a row reads. The evidence of
// a fault is read from there.
//
// The validator only reads the record; what it finds it returns.
#pragma once

#include <vector>

#include "record/assessment_record.h"
#include "record/form_version.h"
#include "validate/row.h"

namespace grouper {

// Validates a parsed record (one that ParseRecord accepted) of the line's
// family. Returns nullptr when every check holds, else the message of the
// first failing check (a constant code page 949 text).
const char* ValidateRecord(const AssessmentRecord& record, Family family);

// Every check that applies and fails, in form order; empty exactly when
// ValidateRecord returns nullptr, and otherwise its first is that message.
std::vector<Fault> CollectFaults(const AssessmentRecord& record, Family family);

// Every list of rows of the validator, in the order it runs them (the
// form-version code first, then the sections A to K and the signatures).
std::vector<RowList> ValidationLists();

// Every field that `row` (a row of ValidationLists) reads, each once: the
// field it tests, its list of flags, the fields listed for an irregular rule,
// then the fields of its gate and of its list's gate.
std::vector<FieldRef> RowReads(const Row& row);

// The message `text` (a constant that a row of ValidationLists, or the parser
// for an item of the layout, gives) with the section and the item it names,
// as that row or item keeps them; a text that no row gives comes back alone.
FormMessage FindFormMessage(const char* text);
// The same for a message that `row` gave.
FormMessage MessageOfRow(const Row& row, const char* text);

}  // namespace grouper
