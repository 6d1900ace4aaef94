#include "validate/sections.h"

namespace grouper {

// Placeholder until this section's checks are written.
const char* ValidateSectionH(AssessmentRecord&, Family) { return nullptr; }

}  // namespace grouper
