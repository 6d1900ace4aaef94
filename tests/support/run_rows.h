// A list of validation rows run one row at a time, in order, through the
// engine's own EvaluateRow: what the tests of the engine and of its compiled
// walk compare with. The validator itself runs only compiled lists
// (RunCompiledRows).
#pragma once

#include <span>

#include "record/assessment_record.h"
#include "validate/row.h"
#include "validate/row_plan.h"

namespace grouper::testing {

// The message of the first row of `checks` that applies and fails, or nullptr
// when every row holds.
inline const char* RunRows(std::span<const Row> checks, const AssessmentRecord& record) {
  for (const Row& c : checks) {
    if (const char* message = EvaluateRow(c, record)) return message;
  }
  return nullptr;
}

}  // namespace grouper::testing
