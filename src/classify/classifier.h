// Turns a validated AssessmentRecord into its patient group code.
//
// A classification runs four stages in a fixed order: the scores, the criteria
// sets of the record's family group as its plan lists them
// (classify/criteria_plan.h: early families A, B, C, E, D, F; family 090/011
// and the families from 091 A, B, C, F), the group letter (the first met set
// in the order A to F, G when none is) and the group code, formed from the
// letter and a band of the ADL score (or, in early families' group A, of the
// number of group-A conditions).
//
// Everything works on a record and a state of the caller's and touches nothing
// else, so that threads may classify records at once.
#pragma once

#include "classify/classification_scores.h"
#include "classify/criteria_plan.h"
#include "record/assessment_record.h"
#include "record/form_version.h"

namespace grouper {

// One fixed slot per criterion code, in the order of their digit and letter
// ("1A".."1D", "2A".."2N", ..., "6A".."6C", then "7A" of group G), as
// CriterionSlot gives them. A slot is all zero bytes, or the code's two
// characters and a NUL.
using CriteriaTable = char[kCriteriaSlots][3];

// The scores and set results (classify/classification_scores.h), then:
struct ClassificationState : ClassificationScores {
  char group_letter[2];  // 'A'..'G' and a NUL
  int group_a_count;
  CriteriaTable criteria;
  char group_code[4];  // "A11".."A73", or the empty text when no code can be formed
};

// Clears `state` and classifies `record` (a validated record of a line of
// `family`) into it; the record is only read. The state then holds the
// family, the scores, each set's result, the criterion code that decided each
// met set, the letter and the group code ("A11" to "A73", or the empty text
// when no code can be formed).
void ClassifyRecord(const AssessmentRecord& record, Family family, ClassificationState& state);

// The stages after the criteria sets, callable one by one.
//
// select_group_letter writes group_letter (recording "7A" for group G) and
// returns the letter. count_group_a_conditions returns the number of group-A
// conditions of the record. The two
// code builders write "A" and two digits with a NUL into `destination` and
// return 1, or write nothing and return 0 when their table has no row for the
// letter and value.
int select_group_letter(ClassificationState& s);
int count_group_a_conditions(const AssessmentRecord& r, const ClassificationState& s);
int build_group_code_early(const ClassificationState& s, char* destination);
int build_group_code_newer(const ClassificationState& s, char* destination);

}  // namespace grouper
