// Which items a mended value may bring into the check: the real case of a
// pain grade that could not be read, gates that a mended answer opens, the
// answers that open nothing, and the faults that a mend brings being among
// those named.
#include "explain/opens.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "explain/explanation.h"
#include "explain/explanation_csv.h"
#include "explain/explanation_csv.h"
#include "support/record_builder.h"
#include "text/u8_text.h"

namespace grouper {
namespace {

using namespace testing;  // the test support of this project, not GoogleTest

using Items = std::vector<std::pair<const char*, const char*>>;  // field, text written

std::string LineOf(const char* code, const Items& items) {
  std::string line = BuildLine(ValidRecord(code));
  for (const auto& [field, text] : items) SetItem(line, field, text);
  return line;
}

LineExplanation Explain(const std::string& line) {
  return ExplainLine(line.data(), line.size());
}

const ExplainedFault* FaultOn(const LineExplanation& e, const std::string& field) {
  for (const ExplainedFault& f : e.faults) {
    if (f.field == field) return &f;
  }
  return nullptr;
}

TEST(Opens, NamesTheItemsThatAMendedAnswerBringsIntoTheCheck) {
  struct Case {
    const char* what;
    const char* code;
    Items items;
    const char* field;     // the fault's field
    const char8_t* named;  // OpenedItemsText
  };
  const std::vector<Case> cases = {
      {"a pain grade that is no number: the pain rule waits for it",
       "091",
       {{"g_pain_visual_scale", "x0"}},
       "g_pain_visual_scale",
       u8"G.2.a 통증 발생 빈도"},
      {"the same in family 090",
       "011",
       {{"g_pain_numeric_scale", "1x"}},
       "g_pain_numeric_scale",
       u8"G.2.a 통증 발생 빈도"},
      {"a fever answer out of range: its details from 091",
       "092",
       {{"g_fever", "7"}},
       "g_fever",
       u8"G.1.a.1 체온; G.1.a.2 발열 원인을 찾는 검사와 처치 시행 여부; G.1.a.3 발열일수; G.1.f "
       u8"해당사항 없음"},
      // '1' would break the none-applies item, which held with '7'.
      {"the early forms ask no fever details",
       "089",
       {{"g_fever", "7"}},
       "g_fever",
       u8"G.1.e 해당사항 없음"},
      {"tube feeding out of range: the intake and the days",
       "091",
       {{"h_tube_feeding", "4"}},
       "h_tube_feeding",
       u8"H.4.a 칼로리; H.4.b 수분량; H.3.b.2 경관영양 실시일수"},
      {"a glucose check without diabetes: the other answer of the gate keeps it closed",
       "091",
       {{"f_glucose_check_done", "7"}},
       "f_glucose_check_done",
       u8""},
      {"a glucose check with diabetes: its values",
       "091",
       {{"f_diabetes", "1"}, {"f_glucose_check_done", "7"}},
       "f_glucose_check_done",
       u8"F.1.a 공복시혈당; F.1.a 식후 2시간 혈당"},
      {"a number that no gate or other rule reads",
       "091",
       {{"a_systolic_bp", "000"}},
       "a_systolic_bp",
       u8""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.code) + ": " + c.what);
    const LineExplanation e = Explain(LineOf(c.code, c.items));
    const ExplainedFault* fault = FaultOn(e, c.field);
    ASSERT_NE(fault, nullptr);
    EXPECT_EQ(OpenedItemsText(*fault), U8(c.named));
  }
}

// The promise behind the names: mending the value to one its rule accepts
// brings faults only on items that were named (or were faults already).
TEST(Opens, TheFaultsAMendBringsWereNamed) {
  struct Case {
    const char* code;
    const char* field;
    const char* faulty;
    const char* mended;
  };
  const std::vector<Case> cases = {
      {"091", "g_pain_visual_scale", "x0", "05"},  // the real case: frequency 0 with a grade
      {"090", "g_pain_faces_scale", "x", "3"},
      {"091", "g_fever", "7", "1"},
      {"013", "h_tube_feeding", "4", "1"},
      {"091", "f_diabetes", "8", "1"},
      {"123", "b_coma", "7", "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.code) + " " + c.field + " " + c.mended);
    const LineExplanation before = Explain(LineOf(c.code, {{c.field, c.faulty}}));
    const LineExplanation after = Explain(LineOf(c.code, {{c.field, c.mended}}));
    const ExplainedFault* fault = FaultOn(before, c.field);
    ASSERT_NE(fault, nullptr);
    ASSERT_FALSE(after.faults.empty());  // else the case shows nothing
    for (const ExplainedFault& f : after.faults) {
      const std::string field = f.field.empty() ? f.fields.front().name : f.field;
      const bool named = std::any_of(fault->opens.begin(), fault->opens.end(),
                                     [&](const OpenedItem& o) { return o.field == field; });
      EXPECT_TRUE(named) << field << ": " << Utf8Twin(f.message);
    }
  }
}

// The fever's details are asked from 090, and only when there was a fever:
// the rows gated on the fever answer are theirs (and its none-applies list's
// rows are not: that list reads the answer but opens on no gate of it).
TEST(Opens, RowsGatedOnAnAnswerAreThoseItsGateChooses) {
  EXPECT_TRUE(RowsGatedOn(FIELD(g_fever), Family::k089).empty());
  const std::vector<const Row*> rows = RowsGatedOn(FIELD(g_fever), Family::k091);
  ASSERT_FALSE(rows.empty());
  for (const Row* row : rows) {
    const std::string item = row->item != nullptr ? row->item : "";
    EXPECT_EQ(item.rfind(U8(u8"[1.a."), 0), 0u) << item;
  }
  EXPECT_TRUE(RowsGatedOn(FIELD(a_systolic_bp), Family::k091).empty());
}

TEST(Opens, TextTableAndJsonCarryTheNames) {
  const LineExplanation e = Explain(LineOf("091", {{"g_pain_visual_scale", "x0"}}));
  ExplainOptions english;
  english.language = Language::kEnglish;
  const std::string korean =
      U8(u8"\n       이 값을 고치면 다음 항목도 검사됩니다: G.2.a 통증 발생 빈도\n");
  EXPECT_NE(ExplanationText(e, {}).find(korean), std::string::npos) << ExplanationText(e, {});
  EXPECT_NE(
      ExplanationText(e, english)
          .find(U8(u8"mending this value also brings into the check: G.2.a 통증 발생 빈도\n")),
      std::string::npos);
  EXPECT_NE(CsvRow(e, {}, CsvTable::kKorean).find(U8(u8",\"G.2.a 통증 발생 빈도\"\r\n")),
            std::string::npos)
      << CsvRow(e, {}, CsvTable::kKorean);
  const std::string json = ExplanationJson(e, {});
  EXPECT_NE(
      json.find(U8(u8"\"message\":\"오류-[G.건강상태][2.b.1.시각 통증 등급] 00~10 사이 숫자를 "
                   u8"입력하시오\",\"opens\":[{\"item\":\"G.2.a\",\"name\":\"통증 발생 "
                   u8"빈도\",\"field\":\"g_pain_frequency_091\"}]}")),
      std::string::npos)
      << json;
  // A fault that opens nothing says so in the JSON and not at all in the text.
  const LineExplanation none = Explain(LineOf("091", {{"a_systolic_bp", "000"}}));
  EXPECT_NE(ExplanationJson(none, {}).find("\"opens\":[]}"), std::string::npos);
  EXPECT_EQ(ExplanationText(none, {}).find(U8(u8"이 값을 고치면")), std::string::npos);
}

}  // namespace
}  // namespace grouper
