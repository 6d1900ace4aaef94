// The five values derived from a record before any criteria set is evaluated.
// The classification stores them in its state in the order below, which
// count_skin_care relies on: it reads the ulcer total of the classification.
//
//   compute_adl_score        the four scored ADL items (eating, changing
//                            position, transferring, toilet use), '0'..'4'
//                            giving 1..5 points and '8' giving 5: 4..20
//   sum_ulcer_counts         the sum of the positive pressure and stasis ulcer
//                            counts of all four stages
//   count_skin_care          the number of skin treatments given (0..4);
//                            nutrition or hydration for the skin counts only
//                            when a skin problem is recorded
//   tube_feeding_intake_flag 1 for tube feeding with qualifying intake levels
//   iv_nutrition_intake_flag 1 for parenteral nutrition with those levels
#pragma once

#include "classify/classifier.h"
#include "record/assessment_record.h"

namespace grouper {

// The five in that order, into the classification's state: one call for
// the classifier, in which the five are compiled together.
void compute_scores(const AssessmentRecord& r, ClassificationState& s);

int compute_adl_score(const AssessmentRecord& r);
int sum_ulcer_counts(const AssessmentRecord& r);
int count_skin_care(const AssessmentRecord& r, const ClassificationState& s);
int tube_feeding_intake_flag(const AssessmentRecord& r);
int iv_nutrition_intake_flag(const AssessmentRecord& r);

}  // namespace grouper
