// The stages of the validator, one per part of the form, in the order in which
// the validator runs them. Each reports every check of its part that applies
// and fails to the sink, and returns true as soon as the sink ends the
// validation (FirstFault does at the first fault; FaultList never does).
// Each also gives its lists of rows, in the order it runs them: the Section
// type that runs them describes them.
#pragma once

#include <span>

#include "record/assessment_record.h"
#include "record/form_version.h"
#include "validate/check.h"

namespace grouper {

// general items
template <class Sink>
bool ValidateSectionA(const AssessmentRecord& record, Family family, Sink& sink);
std::span<const RowList> SectionALists();
// cognition, behaviour
template <class Sink>
bool ValidateSectionsBC(const AssessmentRecord& record, Family family, Sink& sink);
std::span<const RowList> SectionsBCLists();
// physical function, excretion
template <class Sink>
bool ValidateSectionsDE(const AssessmentRecord& record, Family family, Sink& sink);
std::span<const RowList> SectionsDELists();
// diagnoses
template <class Sink>
bool ValidateSectionF(const AssessmentRecord& record, Family family, Sink& sink);
std::span<const RowList> SectionFLists();
// health status
template <class Sink>
bool ValidateSectionG(const AssessmentRecord& record, Family family, Sink& sink);
std::span<const RowList> SectionGLists();
// oral and nutritional status
template <class Sink>
bool ValidateSectionH(const AssessmentRecord& record, Family family, Sink& sink);
std::span<const RowList> SectionHLists();
// skin
template <class Sink>
bool ValidateSectionI(const AssessmentRecord& record, Family family, Sink& sink);
std::span<const RowList> SectionILists();
// medication, special treatments, signatures
template <class Sink>
bool ValidateSectionsJK(const AssessmentRecord& record, Family family, Sink& sink);
std::span<const RowList> SectionsJKLists();

}  // namespace grouper
