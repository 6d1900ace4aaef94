#include "classify/classifier.h"

#include <gtest/gtest.h>

#include <cstring>

#include "classify/scores.h"
#include "support/classification.h"
#include "support/record_builder.h"

namespace grouper {
namespace {

using testing::Classify;
using testing::RecordedCodes;
using testing::SetAdl;
using testing::ValidRecord;
using Rec = AssessmentRecord&;

// Tracheostomy care is "2J" in early families and "2G" from 090; the
// nebuliser "3F" and "3G"; two days of rehabilitation give set F from an ADL
// score of 6.
void ToGroupB(Rec r) {
  r.k_tracheostomy_care = '1';
}
void ToGroupC(Rec r) {
  r.k_nebulizer = '1';
}
void ToGroupF(Rec r) {
  r.k_rehab_days = 2;
}
void ToGroupG(Rec) {}

TEST(GroupCode, EarlyFamiliesBandTheAdlScore) {
  struct Case {
    void (*group)(Rec);
    int adl;
    const char* code;
  } cases[] = {
      {ToGroupB, 4, "A23"},  {ToGroupB, 8, "A23"},  {ToGroupB, 9, "A22"},  {ToGroupB, 16, "A22"},
      {ToGroupB, 17, "A21"}, {ToGroupB, 20, "A21"}, {ToGroupC, 4, "A33"},  {ToGroupC, 8, "A33"},
      {ToGroupC, 9, "A32"},  {ToGroupC, 15, "A32"}, {ToGroupC, 16, "A31"}, {ToGroupC, 20, "A31"},
      {ToGroupF, 6, "A62"},  {ToGroupF, 12, "A62"}, {ToGroupF, 13, "A61"}, {ToGroupF, 20, "A61"},
      {ToGroupG, 4, "A73"},  {ToGroupG, 5, "A73"},  {ToGroupG, 6, "A72"},  {ToGroupG, 12, "A72"},
      {ToGroupG, 13, "A71"}, {ToGroupG, 20, "A71"},
  };
  for (const char* version : {"123", "010"}) {
    for (const Case& c : cases) {
      AssessmentRecord r = ValidRecord(version);
      SetAdl(r, c.adl);
      c.group(r);
      EXPECT_EQ(Classify(r).code, c.code) << version << " at ADL " << c.adl;
    }
  }
}

TEST(GroupCode, FamiliesFrom090UseTheLetterAlone) {
  struct Case {
    void (*group)(Rec);
    const char* code;
  } cases[] = {{ToGroupB, "A21"}, {ToGroupC, "A31"}, {ToGroupF, "A61"}, {ToGroupG, "A71"}};
  for (const char* version : {"090", "011", "091", "012", "092", "013"}) {
    for (const Case& c : cases) {
      for (int adl : {6, 8, 9, 12, 13, 15, 16, 17, 20}) {
        AssessmentRecord r = ValidRecord(version);
        SetAdl(r, adl);
        c.group(r);
        EXPECT_EQ(Classify(r).code, c.code) << version << " at ADL " << adl;
      }
    }
  }
}

TEST(GroupCode, EarlyGroupACountsItsConditions) {
  struct Case {
    const char* name;
    void (*change)(Rec);
    int count;
    const char* codes;
    const char* code;
  } cases[] = {
      {"coma alone",
       [](Rec r) {
         r.b_coma = '1';
         SetAdl(r, 20);
       },
       1, "1A", "A12"},
      {"coma with sets B and C met",
       [](Rec r) {
         r.b_coma = '1';
         SetAdl(r, 20);
         r.k_oxygen_therapy = r.k_iv_medication = '1';
       },
       3, "1A 2M 3E", "A11"},
      {"bleeding and ventilator",
       [](Rec r) {
         SetAdl(r, 11);
         r.g_internal_bleeding = r.k_ventilator = '1';
       },
       2, "1B", "A12"},
      {"bleeding, central venous nutrition and ventilator",
       [](Rec r) {
         SetAdl(r, 11);
         r.g_internal_bleeding = r.k_ventilator = r.k_central_venous_nutrition = '1';
       },
       3, "1B", "A11"},
      {"all six",
       [](Rec r) {
         r.b_coma = '1';
         SetAdl(r, 20);
         r.g_internal_bleeding = r.k_ventilator = r.k_central_venous_nutrition = '1';
         r.k_oxygen_therapy = r.k_iv_medication = '1';
       },
       6, "1A 2M 3E", "A11"},
  };
  for (const Case& c : cases) {
    AssessmentRecord r = ValidRecord("089");
    c.change(r);
    const testing::Classified out = Classify(r);
    EXPECT_EQ(out.state.group_a_count, c.count) << c.name;
    EXPECT_EQ(RecordedCodes(out.state), c.codes) << c.name;
    EXPECT_EQ(out.code, c.code) << c.name;
  }
}

TEST(GroupCode, NewerGroupAIgnoresTheCount) {
  AssessmentRecord r = ValidRecord("091");
  SetAdl(r, 11);
  r.k_ventilator_091 = r.k_ventilator_personal_091 = '1';
  const testing::Classified out = Classify(r);
  EXPECT_EQ(out.state.group_a_count, 0);  // the count reads the older layouts' fields
  EXPECT_EQ(out.code, "A11");
}

TEST(GroupLetter, TheFirstMetSetWinsAndEverySetStillRecords) {
  struct Case {
    const char* version;
    void (*change)(Rec);
    const char* letter;
    const char* codes;
  } cases[] = {
      {"089",
       [](Rec r) {
         SetAdl(r, 11);
         r.k_ventilator = r.k_oxygen_therapy = '1';
       },
       "A", "1D 2M"},
      {"089", [](Rec r) { r.k_oxygen_therapy = r.k_iv_medication = '1'; }, "B", "2M 3E"},
      {"089",
       [](Rec r) {
         r.k_iv_medication = '1';
         r.c_hallucinations = '2';
         r.c_kmmse_done = '1';
       },
       "C", "3E 4A 5A"},
      {"089",
       [](Rec r) {
         SetAdl(r, 6);
         r.c_kmmse_done = '1';
         r.k_rehab_days = 5;
       },
       "E", "5A 6A"},
      {"089", [](Rec) {}, "G", "7A"},
      {"090", [](Rec r) { r.k_oxygen_therapy = r.k_nebulizer = '1'; }, "B", "2I 3G"},
      {"091",
       [](Rec r) {
         SetAdl(r, 6);
         r.k_nebulizer = '1';
         r.k_rehab_days = 2;
       },
       "C", "3G 6C"},
      {"092",
       [](Rec r) {
         SetAdl(r, 6);
         r.c_agitation = '3';
         r.k_rehab_days = 2;
       },
       "F", "6C"},
  };
  for (const Case& c : cases) {
    AssessmentRecord r = ValidRecord(c.version);
    c.change(r);
    const testing::Classified out = Classify(r);
    EXPECT_STREQ(out.state.group_letter, c.letter) << c.version << " " << c.codes;
    EXPECT_EQ(RecordedCodes(out.state), c.codes) << c.version << " " << c.letter;
  }
}

TEST(Classifier, StateIsResetForEveryRecord) {
  AssessmentRecord busy = ValidRecord("089");
  SetAdl(busy, 11);
  busy.k_ventilator = busy.k_oxygen_therapy = busy.k_iv_medication = '1';
  busy.c_agitation = '2';
  busy.c_kmmse_done = '1';
  busy.k_rehab_days = 7;
  busy.i_pressure_ulcer_stage1 = 4;
  busy.i_pressure_relief_device = '1';
  EXPECT_EQ(RecordedCodes(Classify(busy).state), "1D 2M 3E 4A 5A 6A");

  const testing::Classified quiet = Classify(ValidRecord("089"));
  EXPECT_EQ(RecordedCodes(quiet.state), "7A");
  EXPECT_STREQ(quiet.state.group_letter, "G");
  EXPECT_EQ(quiet.state.adl_score, 4);
  EXPECT_EQ(quiet.state.ulcer_total, 0);
  EXPECT_EQ(quiet.state.skin_care_count, 0);
  EXPECT_EQ(quiet.state.group_a_count, 0);
  for (int met : {quiet.state.set_a_met, quiet.state.set_b_met, quiet.state.set_c_met,
                  quiet.state.set_d_met, quiet.state.set_e_met, quiet.state.set_f_met}) {
    EXPECT_EQ(met, 0);
  }
}

TEST(Classifier, StateHoldsTheScoresAndSetResults) {
  AssessmentRecord r = ValidRecord("089");
  SetAdl(r, 12);
  r.i_pressure_ulcer_stage1 = 2;
  r.i_stasis_ulcer_stage2 = 1;
  r.i_skin_nutrition_hydration = r.i_ulcer_dressing = '1';
  r.h_tube_feeding = '1';
  r.h_calorie_intake = '3';
  r.k_rehab_days = 2;
  const testing::Classified out = Classify(r);
  EXPECT_EQ(out.state.adl_score, 12);
  EXPECT_EQ(out.state.ulcer_total, 3);
  EXPECT_EQ(out.state.skin_care_count, 2);  // nutrition counts: the ulcer total is known first
  EXPECT_EQ(out.state.tube_feeding_intake, 1);
  EXPECT_EQ(out.state.iv_nutrition_intake, 0);
  EXPECT_EQ(out.state.set_a_met, 0);
  EXPECT_EQ(out.state.set_b_met, 1);  // "2H"
  EXPECT_EQ(out.state.set_c_met, 1);  // "3B"
  EXPECT_EQ(out.state.set_f_met, 1);  // "6A"
  EXPECT_EQ(RecordedCodes(out.state), "2H 3B 6A");
  EXPECT_EQ(out.code, "A22");
}

TEST(Classifier, NoCodeWhenTheTableHasNoRow) {
  AssessmentRecord g = ValidRecord("089");
  g.d_adl_eating = ' ';  // ADL score 3
  const testing::Classified out_g = Classify(g);
  EXPECT_EQ(out_g.code, "");
  EXPECT_EQ(RecordedCodes(out_g.state), "7A");

  AssessmentRecord b = g;
  b.k_oxygen_therapy = '1';
  EXPECT_EQ(Classify(b).code, "");
}

TEST(Classifier, CodeIsStoredInTheState) {
  AssessmentRecord r = ValidRecord("092");
  r.k_tracheostomy_care = '1';
  const AssessmentRecord before = r;
  ClassificationState state{};
  ClassifyRecord(r, Family::k092, state);
  EXPECT_STREQ(state.group_code, "A21");
  EXPECT_EQ(std::memcmp(&r, &before, sizeof r), 0) << "the record is only read";

  // Classified again after a change that has no code: no stale code remains.
  r.k_tracheostomy_care = '0';
  r.d_adl_eating = ' ';
  r.form_version[0] = '1';  // an early family now, at ADL score 3
  ClassifyRecord(r, Family::kBase, state);
  EXPECT_STREQ(state.group_code, "");
}

TEST(Classifier, AStateReusedKeepsNothingOfTheRecordBefore) {
  AssessmentRecord busy = ValidRecord("089");
  SetAdl(busy, 10);
  busy.k_ventilator = '1';
  ClassificationState state{};
  ClassifyRecord(busy, Family::k089, state);
  ASSERT_EQ(RecordedCodes(state), "2N");

  AssessmentRecord quiet = ValidRecord("089");
  ClassifyRecord(quiet, Family::k089, state);
  EXPECT_EQ(RecordedCodes(state), "7A");
  const testing::Classified fresh = Classify(quiet);
  EXPECT_EQ(std::memcmp(&state, &fresh.state, sizeof state), 0);
}

TEST(Classifier, CriterionSlots) {
  struct Case {
    const char* code;
    int slot;
  } cases[] = {
      {"1A", 0},  {"1D", 3},  {"2A", 4},   {"2E", 8},  {"2N", 17}, {"3A", 18}, {"3E", 22},
      {"3L", 29}, {"4A", 30}, {"5A", 31},  {"6A", 32}, {"6C", 34}, {"7A", 35}, {"1E", -1},
      {"2O", -1}, {"3M", -1}, {"4B", -1},  {"6D", -1}, {"7B", -1}, {"8A", -1}, {"0A", -1},
      {"2a", -1}, {"2", -1},  {"2AA", -1}, {"", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(CriterionSlot(c.code), c.slot) << c.code;
}

}  // namespace
}  // namespace grouper
