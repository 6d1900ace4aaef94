// What the criteria of a family read, from their own rows: for the evidence
// of a group code (which fields and scores decided it) and for the tests that
// prove those lists complete.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "classify/classifier.h"
#include "classify/criteria.h"
#include "classify/criteria_plan.h"
#include "record/field_ref.h"
#include "record/form_version.h"

namespace grouper {

// The sets of `family` in the order the classifier runs them: its plan's
// (the early families: A, B, C, E, D, F; the others: A, B, C, F).
std::span<const CriteriaSet> CriteriaSetsOf(Family family);

// Whether `family` runs set `letter` ('A'..'F'); the unclaimed group's letter
// 'G' counts as run in every family.
bool FamilyRunsSet(Family family, char letter);

// What decided criterion `code` ("1A".."6C") of `family`: the reads of the
// stop rows before it in its set and its own, named groups expanded, reads of
// other families left out, each once, in that order. Fields and scores only;
// empty when the family's sets hold no such code.
std::vector<criteria::Read> CriterionReads(std::string_view code, Family family);

// The reads of `reads` with their groups expanded, reads of other families
// left out, each once.
std::vector<criteria::Read> ExpandReads(std::span<const criteria::Read> reads, Family family);

}  // namespace grouper
