#include "validate/check.h"

#include "validate/check_plan.h"

namespace grouper {

const char* RunChecks(std::span<const Check> checks, const AssessmentRecord& record) {
  for (const Check& c : checks) {
    if (const char* message = EvaluateCheck(c, record)) return message;
  }
  return nullptr;
}

}  // namespace grouper
