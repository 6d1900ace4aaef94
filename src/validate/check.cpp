#include "validate/check.h"

namespace grouper {

const char* RunChecks(std::span<const Check> checks, AssessmentRecord& record) {
  for (const Check& c : checks) {
    if (const char* message = EvaluateCheck(c, record)) return message;
  }
  return nullptr;
}

const char* RunChecks(std::initializer_list<std::span<const Check>> lists,
                      AssessmentRecord& record) {
  for (std::span<const Check> rows : lists) {
    if (const char* message = RunChecks(rows, record)) return message;
  }
  return nullptr;
}

}  // namespace grouper
