#include "fields_of_read.h"

#include <algorithm>
#include <span>

#include "classify/criteria_plan.h"
#include "classify/criteria_reads.h"

namespace grouper::testing {

namespace {

using criteria::Group;
using criteria::Read;

constexpr Read kAdlScoreReads[] = {READ(d_adl_eating), READ(d_adl_changing_position),
                                   READ(d_adl_transferring), READ(d_adl_toilet_use)};
constexpr Read kUlcerTotalReads[] = {READ(i_pressure_ulcer_stage1), READ(i_pressure_ulcer_stage2),
                                     READ(i_pressure_ulcer_stage3), READ(i_pressure_ulcer_stage4),
                                     READ(i_stasis_ulcer_stage1),   READ(i_stasis_ulcer_stage2),
                                     READ(i_stasis_ulcer_stage3),   READ(i_stasis_ulcer_stage4)};
constexpr Read kSkinCareReads[] = {Group(kUlcerTotalReads),       READ(i_burns),
                                   READ(i_open_lesions),          READ(i_surgical_wound),
                                   READ(i_foot_infection),        READ(i_pressure_relief_device),
                                   READ(i_turning_repositioning), READ(i_skin_nutrition_hydration),
                                   READ(i_ulcer_dressing)};
constexpr Read kTubeFeedingReads[] = {READ(h_tube_feeding), READ(h_calorie_intake),
                                      READ(h_fluid_intake)};
constexpr Read kIvNutritionReads[] = {READ(h_parenteral_nutrition), READ(h_calorie_intake),
                                      READ(h_fluid_intake)};

// The fields each of the five scores is computed from; empty for any other
// member of the state.
std::span<const Read> ScoreReads(int ClassificationScores::*score) {
  if (score == &ClassificationState::adl_score) return kAdlScoreReads;
  if (score == &ClassificationState::ulcer_total) return kUlcerTotalReads;
  if (score == &ClassificationState::skin_care_count) return kSkinCareReads;
  if (score == &ClassificationState::tube_feeding_intake) return kTubeFeedingReads;
  if (score == &ClassificationState::iv_nutrition_intake) return kIvNutritionReads;
  return {};
}

void AddField(std::vector<FieldRef>& fields, FieldRef field) {
  if (std::find(fields.begin(), fields.end(), field) == fields.end()) fields.push_back(field);
}

}  // namespace

std::vector<FieldRef> FieldsOfRead(const Read& read, Family family) {
  std::vector<FieldRef> fields;
  if (read.kind == Read::Kind::kField) {
    fields.push_back(FieldRef{read.field});
    return fields;
  }
  // A set's result stands for every row of the set.
  for (const CriteriaSet& set : CriteriaSetsOf(family)) {
    if (read.score != ResultOf(set.letter)) continue;
    for (const criteria::Criterion& row : set.rows) {
      for (const Read& r : ExpandReads(row.reads, family)) {
        for (const FieldRef field : FieldsOfRead(r, family)) AddField(fields, field);
      }
    }
    return fields;
  }
  for (const Read& r : ExpandReads(ScoreReads(read.score), family)) {
    for (const FieldRef field : FieldsOfRead(r, family)) AddField(fields, field);
  }
  return fields;
}

}  // namespace grouper::testing
