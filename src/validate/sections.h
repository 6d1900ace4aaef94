// The stages of the validator, one per part of the form, in the order in which
// RecordValidator runs them. Each returns the message of the first check that
// the record fails, or nullptr when the whole stage holds.
#pragma once

#include "record/assessment_record.h"
#include "record/form_version.h"

namespace grouper {

const char* ValidateSectionA(AssessmentRecord& record, Family family);    // general items
const char* ValidateSectionsBC(AssessmentRecord& record, Family family);  // cognition, behaviour
const char* ValidateSectionsDE(AssessmentRecord& record, Family family);  // function, excretion
const char* ValidateSectionF(AssessmentRecord& record, Family family);    // diagnoses
const char* ValidateSectionG(AssessmentRecord& record, Family family);    // health status
const char* ValidateSectionH(AssessmentRecord& record, Family family);    // oral, nutrition
const char* ValidateSectionI(AssessmentRecord& record, Family family);    // skin
const char* ValidateSectionsJK(AssessmentRecord& record, Family family);  // medication,
                                                                          // treatments, signatures

}  // namespace grouper
