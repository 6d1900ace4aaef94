// The stages of the validator, one per part of the form, in the order in which
// the validator runs them. Each reports every check of its part that applies
// and fails to the sink, and returns true as soon as the sink ends the
// validation (FirstFault does at the first fault; FaultList never does).
#pragma once

#include "record/assessment_record.h"
#include "record/form_version.h"
#include "validate/check.h"

namespace grouper {

// general items
template <class Sink>
bool ValidateSectionA(AssessmentRecord& record, Family family, Sink& sink);
// cognition, behaviour
template <class Sink>
bool ValidateSectionsBC(AssessmentRecord& record, Family family, Sink& sink);
// physical function, excretion
template <class Sink>
bool ValidateSectionsDE(AssessmentRecord& record, Family family, Sink& sink);
// diagnoses
template <class Sink>
bool ValidateSectionF(AssessmentRecord& record, Family family, Sink& sink);
// health status
template <class Sink>
bool ValidateSectionG(AssessmentRecord& record, Family family, Sink& sink);
// oral and nutritional status
template <class Sink>
bool ValidateSectionH(AssessmentRecord& record, Family family, Sink& sink);
// skin
template <class Sink>
bool ValidateSectionI(AssessmentRecord& record, Family family, Sink& sink);
// medication, special treatments, signatures
template <class Sink>
bool ValidateSectionsJK(AssessmentRecord& record, Family family, Sink& sink);

}  // namespace grouper
