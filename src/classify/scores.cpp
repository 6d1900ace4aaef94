#include "classify/scores.h"

#include <array>
#include <cstdint>
#include <limits>

#include "record/assessment_record.h"

namespace grouper {

namespace {

bool Yes(char answer) {
  return answer == '1';
}

// Points of one scored ADL answer: code '8' weighs as much as code '4', and an
// answer outside the scale (which validation stops) gives nothing. A table of
// every byte, since four answers are scored for every record.
constexpr auto kAdlPoints = [] {
  std::array<unsigned char, 256> points{};
  points['0'] = 1;
  points['1'] = 2;
  points['2'] = 3;
  points['3'] = 4;
  points['4'] = 5;
  points['8'] = 5;
  return points;
}();

int AdlPoints(char answer) {
  return kAdlPoints[static_cast<unsigned char>(answer)];
}

bool IntakeLevelsQualify(const AssessmentRecord& r) {
  const char calories = r.h_calorie_intake;
  const char fluids = r.h_fluid_intake;
  return calories == '3' || calories == '4' || (calories == '2' && fluids >= '2' && fluids <= '5');
}

}  // namespace

int compute_adl_score(const AssessmentRecord& r) {
  return AdlPoints(r.d_adl_eating) + AdlPoints(r.d_adl_changing_position) +
         AdlPoints(r.d_adl_transferring) + AdlPoints(r.d_adl_toilet_use);
}

int sum_ulcer_counts(const AssessmentRecord& r) {
  // Eight counts of at most a few digits on a parsed record; summed wide and
  // capped so that no record can overflow the total.
  int64_t total = 0;
  for (int32_t count :
       {r.i_pressure_ulcer_stage1, r.i_pressure_ulcer_stage2, r.i_pressure_ulcer_stage3,
        r.i_pressure_ulcer_stage4, r.i_stasis_ulcer_stage1, r.i_stasis_ulcer_stage2,
        r.i_stasis_ulcer_stage3, r.i_stasis_ulcer_stage4}) {
    if (count >= 1) total += count;
  }
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  return static_cast<int>(total > kMax ? kMax : total);
}

int count_skin_care(const AssessmentRecord& r, const ClassificationState& s) {
  const bool skin_problem = s.ulcer_total > 0 || Yes(r.i_burns) || Yes(r.i_open_lesions) ||
                            Yes(r.i_surgical_wound) || Yes(r.i_foot_infection);
  return Yes(r.i_pressure_relief_device) + Yes(r.i_turning_repositioning) +
         (Yes(r.i_skin_nutrition_hydration) && skin_problem) + Yes(r.i_ulcer_dressing);
}

int tube_feeding_intake_flag(const AssessmentRecord& r) {
  return Yes(r.h_tube_feeding) && IntakeLevelsQualify(r) ? 1 : 0;
}

int iv_nutrition_intake_flag(const AssessmentRecord& r) {
  return Yes(r.h_parenteral_nutrition) && IntakeLevelsQualify(r) ? 1 : 0;
}

void compute_scores(const AssessmentRecord& r, ClassificationState& s) {
  s.adl_score = compute_adl_score(r);
  s.ulcer_total = sum_ulcer_counts(r);
  s.skin_care_count = count_skin_care(r, s);
  s.tube_feeding_intake = tube_feeding_intake_flag(r);
  s.iv_nutrition_intake = iv_nutrition_intake_flag(r);
}

}  // namespace grouper
