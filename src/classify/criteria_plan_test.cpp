// The plans and the words of the criteria: which sets each family runs, the
// slot table computed from the plans against the one written from the form,
// and conditions that test what they list.
#include "classify/criteria_plan.h"

#include <gtest/gtest.h>

#include <string>

#include "classify/criteria_reads.h"
#include "support/classification.h"

namespace grouper {
namespace {

using namespace criteria;

TEST(CriteriaPlan, EachFamilyRunsItsSetsInTheFormsOrder) {
  const struct {
    Family family;
    const char* letters;
  } cases[] = {{Family::kBase, "ABCEDF"},
               {Family::k089, "ABCEDF"},
               {Family::k090, "ABCF"},
               {Family::k091, "ABCF"},
               {Family::k092, "ABCF"}};
  for (const auto& c : cases) {
    std::string letters;
    for (const CriteriaSet& set : CriteriaSetsOf(c.family)) letters += set.letter;
    EXPECT_EQ(letters, c.letters) << static_cast<int>(c.family);
    for (const char letter : std::string("ABCDEFG")) {
      const bool runs = letter == 'G' || letters.find(letter) != std::string::npos;
      EXPECT_EQ(FamilyRunsSet(c.family, letter), runs) << letter;
    }
  }
  EXPECT_EQ(std::string(kGroupLetters.data()), "ABCDEFG");
}

TEST(CriteriaPlan, SlotsFromThePlansAreTheFormsSlots) {
  for (int slot = 0; slot < kCriteriaSlots; ++slot) {
    EXPECT_EQ(CriterionSlot(testing::kSlotCodes[slot]), slot) << testing::kSlotCodes[slot];
  }
}

// Conditions hold as the form's words say, and list their reads in the order
// they test them, each read of a family group carrying that group.
TEST(CriteriaWords, ConditionsTestWhatTheyList) {
  AssessmentRecord r{};
  ClassificationScores s{};
  s.family = Family::kBase;
  s.adl_score = 4;
  r.f_aids = '1';
  EXPECT_FALSE(NeurologicalListEarly::Holds(r, s)) << "the base layout's none-applies answer";
  s.family = Family::k089;
  EXPECT_TRUE(NeurologicalListEarly::Holds(r, s));
  EXPECT_EQ(NeurologicalListEarly::kReads.back().field, FIELD(f_aids).offset);
  EXPECT_EQ(NeurologicalListEarly::kReads.back().families, &Is089);

  r.k_oxygen_saturation = 90.0f;
  EXPECT_TRUE((AtMost<ITEM(k_oxygen_saturation), 90>::Holds(r, s)));
  r.k_oxygen_saturation = 90.1f;
  EXPECT_FALSE((AtMost<ITEM(k_oxygen_saturation), 90>::Holds(r, s)));

  using Row = All<AtLeast<Adl, 11>, Any<Yes<ITEM(f_diabetes)>, Is<ITEM(j_injection_count), '2'>>>;
  ASSERT_EQ(Row::kReads.size(), 3u);
  EXPECT_EQ(Row::kReads[0].score, &ClassificationScores::adl_score);
  EXPECT_EQ(Row::kReads[1].field, FIELD(f_diabetes).offset);
  EXPECT_EQ(Row::kReads[2].field, FIELD(j_injection_count).offset);
  r.j_injection_count = '2';
  EXPECT_FALSE(Row::Holds(r, s));
  s.adl_score = 11;
  EXPECT_TRUE(Row::Holds(r, s));

  // Set A's conditions without its stop row, as set B's last criterion and
  // the group-A count take them: the stop row's score is neither read nor
  // counted, though it holds at this score.
  r.g_internal_bleeding = '1';
  r.k_ventilator = '1';
  s.adl_score = 4;
  EXPECT_EQ(CountCriteriaHolding<kSetAEarly>(r, s), 2);
  EXPECT_TRUE(AnyCriterionOf<kSetAEarly>::Holds(r, s));
  for (const Read& read : AnyCriterionOf<kSetAEarly>::kReads) {
    EXPECT_EQ(read.kind, Read::Kind::kField);
  }
}

}  // namespace
}  // namespace grouper
