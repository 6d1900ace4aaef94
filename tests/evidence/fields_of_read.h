// The fields that a read of a criteria row stands for, down to the bytes of
// the line: what the proof of the evidence mutates and must find necessary.
// The scores' own fields are written here from the form's definitions of the
// five scores, so that the proof checks them against the classifier's code
// rather than taking them from it.
#pragma once

#include <vector>

#include "classify/criteria.h"
#include "record/field_ref.h"
#include "record/form_version.h"

namespace grouper::testing {

// The fields `read` stands for in `family`: a field itself; a score, the
// fields it is computed from (the skin care count through the ulcer total
// too); a set's result, the fields of that set's rows. Each field once.
std::vector<FieldRef> FieldsOfRead(const criteria::Read& read, Family family);

}  // namespace grouper::testing
