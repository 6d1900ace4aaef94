// The criteria sets A to F, one variant per family group where the form's
// rules differ. Each evaluation reads the current record and the scores of the
// running classification, and returns 1 when the set is met (after recording
// the code of the deciding criterion in the CriteriaTable), 0 when it is not
// met (nothing recorded) and -1 when no record is current.
//
// Sets D and E exist for the early families only. Set F chooses its rules by
// the record's family group itself; for the families from 090 it reads the
// results of sets A, B and C, so it runs after them.
#pragma once

namespace grouper {

int evaluate_set_a_early();
int evaluate_set_a_090();
int evaluate_set_a_091();

int evaluate_set_b_early();
int evaluate_set_b_090();
int evaluate_set_b_091();

int evaluate_set_c_early();
int evaluate_set_c_090();
int evaluate_set_c_091();

int evaluate_set_d();
int evaluate_set_e();
int evaluate_set_f();

}  // namespace grouper
