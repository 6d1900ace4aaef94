// A list of validation rows run one row at a time, in order, through the
// engine's own EvaluateCheck: what the tests of the engine and of its compiled
// walk compare with. The validator itself runs only compiled lists
// (RunCompiledChecks).
#pragma once

#include <span>

#include "record/assessment_record.h"
#include "validate/check.h"
#include "validate/check_plan.h"

namespace grouper::testing {

// The message of the first row of `checks` that applies and fails, or nullptr
// when every row holds.
inline const char* RunChecks(std::span<const Check> checks, const AssessmentRecord& record) {
  for (const Check& c : checks) {
    if (const char* message = EvaluateCheck(c, record)) return message;
  }
  return nullptr;
}

}  // namespace grouper::testing
