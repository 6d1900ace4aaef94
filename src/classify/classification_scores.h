// What the criteria of a classification read besides the record: the family
// of the record's line, the five scores and the results of the criteria sets
// that ran before. The classification's state (classify/classifier.h) begins
// with these; they stand apart so that the criteria can be written, and the
// slots of their codes counted, before the state's criteria table is sized.
#pragma once

#include "record/form_version.h"

namespace grouper {

struct ClassificationScores {
  Family family;  // of the record's line
  int adl_score;
  int ulcer_total;
  int skin_care_count;
  int tube_feeding_intake;
  int iv_nutrition_intake;
  // Each set's result: 1 met, 0 not met or not run.
  int set_a_met;
  int set_b_met;
  int set_c_met;
  int set_d_met;
  int set_e_met;
  int set_f_met;
};

}  // namespace grouper
