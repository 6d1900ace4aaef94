// The stages of the validator, one per part of the form. Each stage's Run
// reports every check of its part that applies and fails to the sink, and
// returns true as soon as the sink ends the validation (FirstFault does at the
// first fault; FaultList never does). Its Lists gives its lists of rows, in the
// order Run runs them: the Section type that runs them describes them. The
// order of the stages is kept in one place, record_validator.cpp.
#pragma once

#include <span>

#include "record/assessment_record.h"
#include "record/form_version.h"
#include "validate/row.h"

namespace grouper {

// general items
struct StageA {
  template <class Sink>
  static bool Run(const AssessmentRecord& record, Family family, Sink& sink);
  static std::span<const RowList> Lists();
};
// cognition, behaviour
struct StageBC {
  template <class Sink>
  static bool Run(const AssessmentRecord& record, Family family, Sink& sink);
  static std::span<const RowList> Lists();
};
// physical function, excretion
struct StageDE {
  template <class Sink>
  static bool Run(const AssessmentRecord& record, Family family, Sink& sink);
  static std::span<const RowList> Lists();
};
// diagnoses
struct StageF {
  template <class Sink>
  static bool Run(const AssessmentRecord& record, Family family, Sink& sink);
  static std::span<const RowList> Lists();
};
// health status
struct StageG {
  template <class Sink>
  static bool Run(const AssessmentRecord& record, Family family, Sink& sink);
  static std::span<const RowList> Lists();
};
// oral and nutritional status
struct StageH {
  template <class Sink>
  static bool Run(const AssessmentRecord& record, Family family, Sink& sink);
  static std::span<const RowList> Lists();
};
// skin
struct StageI {
  template <class Sink>
  static bool Run(const AssessmentRecord& record, Family family, Sink& sink);
  static std::span<const RowList> Lists();
};
// medication, special treatments, signatures
struct StageJK {
  template <class Sink>
  static bool Run(const AssessmentRecord& record, Family family, Sink& sink);
  static std::span<const RowList> Lists();
};

}  // namespace grouper
