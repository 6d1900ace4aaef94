// The evidence tables against the layout and the form: every name that a
// criterion or an irregular rule reads is a score or a field that the family's
// layout carries, and an irregular rule lists its fields as written in the
// line. tests/explain_check.py checks the evidence of whole generated files
// against the bytes of their lines.
#include "explain/evidence.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "explain/explanation.h"
#include "record/input_layout.h"
#include "support/record_builder.h"

namespace grouper {
namespace {

using namespace testing;  // the test support of this project, not GoogleTest

TEST(Evidence, EveryCriterionReadsScoresOrFieldsOfItsFamily) {
  // The criterion codes each family's sets hold, as the criteria lists name them.
  const struct {
    const char* version;
    std::vector<std::string> codes;
  } families[] = {
      {"123",
       {"1A", "1B", "1C", "1D", "2A", "2B", "2C", "2D", "2E", "2F", "2G", "2H", "2I", "2J", "2K",
        "2L", "2M", "2N", "3A", "3B", "3C", "3D", "3E", "3F", "3G", "3H", "3I", "4A", "5A", "6A"}},
      {"089", {"1D", "2A", "2N", "3A", "3I", "4A", "5A", "6A"}},
      {"090", {"1A", "1B", "1C", "2A", "2B", "2C", "2D", "2E", "2F", "2G", "2H", "2I", "2J", "3A",
               "3B", "3C", "3D", "3E", "3F", "3G", "3H", "3I", "3J", "3K", "3L", "6A", "6B", "6C"}},
      {"091", {"1A", "1B", "1C", "2A", "2B", "2C", "2D", "2E", "2F", "2G", "2H", "2I", "2J", "3A",
               "3B", "3C", "3D", "3E", "3F", "3G", "3H", "3I", "3J", "3K", "3L", "6A", "6B", "6C"}},
      {"013", {"1A", "2C", "2I", "3F", "3K", "6C"}},
  };
  for (const auto& f : families) {
    const Family family = FamilyOf(f.version);
    // The evidence reads the line up to the end of the longest layout.
    std::string line = BuildLine(ValidRecord(f.version));
    line.resize(2048, '\0');
    for (const std::string& code : f.codes) {
      SCOPED_TRACE(std::string(f.version) + " " + code);
      const std::vector<Evidence> tested =
          CriterionEvidence(code, line.c_str(), family, ClassificationState{});
      EXPECT_EQ(tested.size(), CriterionReadNames(code, family).size());
      EXPECT_FALSE(tested.empty());
      for (const Evidence& e : tested) {
        if (e.score) continue;
        const LayoutItem* item = FindLayoutItem(e.name);
        ASSERT_NE(item, nullptr) << e.name << " is no field";
        EXPECT_GE(item->StartIn(family), 0) << e.name << " is not in the layout";
      }
    }
  }
  // AIDS is a neurological diagnosis in the layout of 089/010 only: the base
  // layout holds another answer in its place.
  auto reads_aids = [](const char* version) {
    for (const std::string& n : CriterionReadNames("2A", FamilyOf(version))) {
      if (n == "f_aids") return true;
    }
    return false;
  };
  EXPECT_TRUE(reads_aids("089"));
  EXPECT_FALSE(reads_aids("123"));
  EXPECT_TRUE(CriterionReadNames("3L", Family::k089).empty());  // no such code in the family
}

// The fields that name a person are items of the layout: a renamed item
// would otherwise be shown unmasked as evidence.
TEST(Evidence, EveryIdentifierIsAMaskedItemOfTheLayout) {
  for (const char* name : {"patient_name", "resident_number", "s_doctor_name", "s_nurse_name"}) {
    EXPECT_NE(FindLayoutItem(name), nullptr) << name;
    EXPECT_GT(IdentifierKeep(name), 0) << name;
  }
  EXPECT_EQ(IdentifierKeep("institution_code"), -1);
}

struct RuleCase {
  const char* version;
  std::vector<std::pair<const char*, const char*>> items;  // field, text written
  std::vector<std::pair<const char*, const char*>> read;   // field, value shown
};

TEST(Evidence, AnIrregularRuleListsTheFieldsItReadAsWritten) {
  const RuleCase cases[] = {
      // The admission after the assessment: the three dates of the stay.
      {"091",
       {{"a_admission_date", "20240305"},
        {"a_care_start_date", "20240306"},
        {"a_assessment_date", "20240301"}},
       {{"a_admission_date", "20240305"},
        {"a_care_start_date", "20240306"},
        {"a_assessment_date", "20240301"}}},
      // The pain rule reads the frequency of its own family's layout.
      {"090",
       {{"g_pain_frequency_090", "2"},
        {"g_pain_visual_scale", "00"},
        {"g_pain_numeric_scale", "00"},
        {"g_pain_faces_scale", "0"}},
       {{"g_pain_frequency_090", "2"},
        {"g_pain_visual_scale", "00"},
        {"g_pain_numeric_scale", "00"},
        {"g_pain_faces_scale", "0"}}},
  };
  for (const RuleCase& c : cases) {
    SCOPED_TRACE(c.version);
    std::string line = BuildLine(ValidRecord(c.version));
    for (const auto& [field, text] : c.items) SetItem(line, field, text);
    const LineExplanation e = ExplainLine(line.data(), line.size());
    ASSERT_EQ(e.answer.outcome, Outcome::kMessage);
    ASSERT_EQ(e.faults.size(), 1u);
    const ExplainedFault& f = e.faults.front();
    EXPECT_EQ(f.field, "");
    EXPECT_EQ(f.start, -1);
    ASSERT_EQ(f.fields.size(), c.read.size());
    for (std::size_t i = 0; i < c.read.size(); ++i) {
      EXPECT_EQ(f.fields[i].name, c.read[i].first);
      EXPECT_EQ(f.fields[i].value, c.read[i].second);
      EXPECT_EQ(f.fields[i].start, ColumnOf(e.answer.family, c.read[i].first));
    }
  }
}

}  // namespace
}  // namespace grouper
