// Turns a validated AssessmentRecord into its patient group code.
//
// A classification runs four stages in a fixed order: the scores, the criteria
// sets of the record's family group (early families: A, B, C, E, D; family
// 090/011 and the families from 091: A, B, C; then F for every record), the
// group letter (the first met set in the order A to F, G when none is) and the
// group code, formed from the letter and a band of the ADL score (or, in early
// families' group A, of the number of group-A conditions).
//
// Everything works on a record and a state of the caller's and touches nothing
// else, so that threads may classify records at once.
#pragma once

#include <string_view>

#include "record/assessment_record.h"
#include "record/form_version.h"

namespace grouper {

inline constexpr int kCriteriaSlots = 36;

// One fixed slot per criterion code: "1A".."1D" in slots 0-3, "2A".."2N" in
// 4-17, "3A".."3L" in 18-29, "4A" 30, "5A" 31, "6A".."6C" 32-34, "7A" 35. A
// slot is all zero bytes, or the code's two characters and a NUL.
using CriteriaTable = char[kCriteriaSlots][3];

struct ClassificationState {
  Family family;  // of the record's line
  int adl_score;
  int ulcer_total;
  int skin_care_count;
  int tube_feeding_intake;
  int iv_nutrition_intake;
  int set_a_met;
  int set_b_met;
  int set_c_met;
  int set_d_met;
  int set_e_met;
  int set_f_met;
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

// The slot of a criterion code ("1A".."7A"), or -1 for a text that names no
// criterion. Known at compile time for the codes of the criteria lists.
constexpr int CriterionSlot(std::string_view code) {
  // First slot of each criteria set's codes, by the digit of the code ("1".."7"),
  // and the number of codes the set owns.
  constexpr int kFirst[] = {0, 4, 18, 30, 31, 32, 35};
  constexpr int kCount[] = {4, 14, 12, 1, 1, 3, 1};
  if (code.size() != 2 || code[0] < '1' || code[0] > '7') return -1;
  const int set = code[0] - '1';
  const int position = code[1] - 'A';
  if (position < 0 || position >= kCount[set]) return -1;
  return kFirst[set] + position;
}

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
