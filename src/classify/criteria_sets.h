// The criteria sets A to F, one variant per family group where the form's
// rules differ. Each evaluation reads a record and the scores of its running
// classification, and returns 1 when the set is met (after recording the code
// of the deciding criterion in the classification's CriteriaTable) and 0 when
// it is not met (nothing recorded).
//
// Sets D and E exist for the early families only. Set F chooses its rules by
// the record's family group itself; for the families from 090 it reads the
// results of sets A, B and C, so it runs after them.
#pragma once

#include <span>

#include "classify/classifier.h"
#include "classify/criteria.h"
#include "record/assessment_record.h"
#include "record/form_version.h"

namespace grouper {

// The rows of each set as a family runs them (empty for a set that the
// family does not have): the description of the lists the evaluations below
// run, for the evidence of a code and its tests.
std::span<const criteria::Criterion> SetARows(Family family);
std::span<const criteria::Criterion> SetBRows(Family family);
std::span<const criteria::Criterion> SetCRows(Family family);
std::span<const criteria::Criterion> SetDRows(Family family);
std::span<const criteria::Criterion> SetERows(Family family);
std::span<const criteria::Criterion> SetFRows(Family family);

int evaluate_set_a_early(const AssessmentRecord& record, ClassificationState& s);
int evaluate_set_a_090(const AssessmentRecord& record, ClassificationState& s);
int evaluate_set_a_091(const AssessmentRecord& record, ClassificationState& s);

int evaluate_set_b_early(const AssessmentRecord& record, ClassificationState& s);
int evaluate_set_b_090(const AssessmentRecord& record, ClassificationState& s);
int evaluate_set_b_091(const AssessmentRecord& record, ClassificationState& s);

int evaluate_set_c_early(const AssessmentRecord& record, ClassificationState& s);
int evaluate_set_c_090(const AssessmentRecord& record, ClassificationState& s);
int evaluate_set_c_091(const AssessmentRecord& record, ClassificationState& s);

int evaluate_set_d(const AssessmentRecord& record, ClassificationState& s);
int evaluate_set_e(const AssessmentRecord& record, ClassificationState& s);
int evaluate_set_f(const AssessmentRecord& record, ClassificationState& s);

}  // namespace grouper
