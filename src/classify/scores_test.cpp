#include "classify/scores.h"

#include <gtest/gtest.h>

#include "support/classification.h"
#include "support/record_builder.h"

namespace grouper {
namespace {

using testing::Classify;
using testing::ValidRecord;

int ScoreOf(const AssessmentRecord& r, int (*score)(const AssessmentRecord&)) {
  return score(r);
}

TEST(Scores, AdlScoreCountsTheFourScoredItems) {
  struct Case {
    const char* items;  // eating, changing position, transferring, toilet use
    int expected;
  } cases[] = {
      {"0000", 4},     {"4444", 20},   {"8888", 20}, {"4848", 20}, {"1234", 14},
      {"0121", 8},     {"3000", 7},    {" 000", 3},  {"5000", 3},  {"9000", 3},
      {"\0\0\0\0", 0}, {"\270000", 3},  // a byte of 0xB8, its top bit set, scores nothing
  };
  for (const Case& c : cases) {
    AssessmentRecord r = ValidRecord("091");
    r.d_adl_eating = c.items[0];
    r.d_adl_changing_position = c.items[1];
    r.d_adl_transferring = c.items[2];
    r.d_adl_toilet_use = c.items[3];
    EXPECT_EQ(ScoreOf(r, compute_adl_score), c.expected) << "'" << c.items << "'";
  }
}

TEST(Scores, AdlScoreIgnoresTheOtherSixItems) {
  AssessmentRecord r = ValidRecord("089");
  for (char* item : {&r.d_adl_dressing, &r.d_adl_washing_face, &r.d_adl_brushing_teeth,
                     &r.d_adl_bathing, &r.d_adl_sitting_up, &r.d_adl_leaving_room}) {
    *item = '4';
  }
  EXPECT_EQ(ScoreOf(r, compute_adl_score), 4);
}

TEST(Scores, UlcerTotalAddsPositiveCountsOnly) {
  AssessmentRecord r = ValidRecord("090");
  r.i_pressure_ulcer_stage1 = 3;
  r.i_pressure_ulcer_stage3 = -1;
  r.i_pressure_ulcer_stage4 = 2;
  EXPECT_EQ(ScoreOf(r, sum_ulcer_counts), 5);
  r.i_stasis_ulcer_stage1 = 10;
  r.i_stasis_ulcer_stage2 = 20;
  r.i_stasis_ulcer_stage3 = 30;
  r.i_stasis_ulcer_stage4 = 40;
  r.i_pressure_ulcer_stage2 = 1;
  EXPECT_EQ(ScoreOf(r, sum_ulcer_counts), 106);
}

// The skin-care count reads the ulcer total of the classification, so it is
// read from the state that the classification leaves.
TEST(Scores, SkinCareCountsNutritionOnlyWithASkinProblem) {
  struct Case {
    const char* name;
    void (*change)(AssessmentRecord&);
    int expected;
  } cases[] = {
      {"no treatment", [](AssessmentRecord&) {}, 0},
      {"nutrition without a problem",
       [](AssessmentRecord& r) { r.i_skin_nutrition_hydration = '1'; }, 0},
      {"nutrition with a stage-1 ulcer",
       [](AssessmentRecord& r) {
         r.i_skin_nutrition_hydration = '1';
         r.i_pressure_ulcer_stage1 = 1;
       },
       1},
      {"nutrition with a negative ulcer count",
       [](AssessmentRecord& r) {
         r.i_skin_nutrition_hydration = '1';
         r.i_stasis_ulcer_stage2 = -3;
       },
       0},
      {"nutrition with burns",
       [](AssessmentRecord& r) { r.i_skin_nutrition_hydration = r.i_burns = '1'; }, 1},
      {"nutrition with an open lesion",
       [](AssessmentRecord& r) { r.i_skin_nutrition_hydration = r.i_open_lesions = '1'; }, 1},
      {"nutrition with a surgical wound",
       [](AssessmentRecord& r) { r.i_skin_nutrition_hydration = r.i_surgical_wound = '1'; }, 1},
      {"nutrition with a foot infection",
       [](AssessmentRecord& r) { r.i_skin_nutrition_hydration = r.i_foot_infection = '1'; }, 1},
      {"the three unconditional treatments",
       [](AssessmentRecord& r) {
         r.i_pressure_relief_device = r.i_turning_repositioning = r.i_ulcer_dressing = '1';
       },
       3},
      {"all four",
       [](AssessmentRecord& r) {
         r.i_pressure_relief_device = r.i_turning_repositioning = r.i_ulcer_dressing = '1';
         r.i_skin_nutrition_hydration = '1';
         r.i_stasis_ulcer_stage4 = 2;
       },
       4},
      {"answers other than 1 do not count",
       [](AssessmentRecord& r) {
         r.i_pressure_relief_device = '2';
         r.i_turning_repositioning = ' ';
       },
       0},
  };
  for (const Case& c : cases) {
    AssessmentRecord r = ValidRecord("089");
    c.change(r);
    EXPECT_EQ(Classify(r).state.skin_care_count, c.expected) << c.name;
  }
}

TEST(Scores, IntakeFlagsNeedTheFeedingAndQualifyingLevels) {
  struct Case {
    char feeding;
    char calories;
    char fluids;
    int expected;
  } cases[] = {
      {'1', '2', '1', 0}, {'1', '2', '2', 1}, {'1', '2', '5', 1}, {'1', '2', '6', 0},
      {'1', '2', ' ', 0}, {'1', '3', '0', 1}, {'1', '4', ' ', 1}, {'1', '1', '5', 0},
      {'1', '0', '3', 0}, {'1', ' ', '3', 0}, {'1', '5', '3', 0}, {'0', '3', '3', 0},
      {'0', '4', '5', 0}, {' ', '3', '3', 0},
  };
  for (const Case& c : cases) {
    AssessmentRecord tube = ValidRecord("091");
    tube.h_tube_feeding = c.feeding;
    tube.h_calorie_intake = c.calories;
    tube.h_fluid_intake = c.fluids;
    AssessmentRecord iv = ValidRecord("091");
    iv.h_parenteral_nutrition = c.feeding;
    iv.h_calorie_intake = c.calories;
    iv.h_fluid_intake = c.fluids;
    const std::string levels = std::string("feeding '") + c.feeding + "' calories '" + c.calories +
                               "' fluids '" + c.fluids + "'";
    EXPECT_EQ(ScoreOf(tube, tube_feeding_intake_flag), c.expected) << "tube " << levels;
    EXPECT_EQ(ScoreOf(iv, iv_nutrition_intake_flag), c.expected) << "iv " << levels;
    // Each flag reads its own feeding item only.
    EXPECT_EQ(ScoreOf(tube, iv_nutrition_intake_flag), 0) << levels;
    EXPECT_EQ(ScoreOf(iv, tube_feeding_intake_flag), 0) << levels;
  }
}

}  // namespace
}  // namespace grouper
