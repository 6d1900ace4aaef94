// The explanation of single lines: every fault of a record, the rule for
// which checks apply, masked identifiers, the reason for a wrong data type,
// and valid output from any bytes. tests/explain_check.py compares whole
// generated files with the batch program.
#include "explain/explanation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "../../fuzz/json_check.h"
#include "explain/explanation_csv.h"
#include "grouper/grouper.h"
#include "support/cp949.h"
#include "support/record_builder.h"
#include "support/validation_case.h"
#include "text/u8_text.h"

namespace grouper {
namespace {

using namespace testing;  // the test support of this project, not GoogleTest

std::string Json(const std::string& line, int flags = 0) {
  std::string out(grouper_explain_json(line.data(), line.size(), flags, nullptr, 0), '\0');
  grouper_explain_json(line.data(), line.size(), flags, out.data(), out.size() + 1);
  return out;
}

std::string Text(const std::string& line, bool show_identifiers = false) {
  ExplainOptions options;
  options.show_identifiers = show_identifiers;
  return ExplanationText(ExplainLine(line.data(), line.size()), options);
}

struct ExpectedFault {
  const char8_t* section;
  const char8_t* item;
  const char* field;
  const char* value;
};

struct FaultCase {
  const char* what;
  std::vector<std::pair<const char*, const char*>> items;  // field, text written
  std::vector<ExpectedFault> faults;
};

TEST(Explanation, ListsEveryFaultThatAppliesInFormOrder) {
  const std::vector<FaultCase> cases = {
      {"two rules broken in sections A and G",
       {{"a_systolic_bp", "000"}, {"g_fever", "7"}},
       {{u8"A.일반적사항", u8"9.수축기혈압", "a_systolic_bp", "0"},
        {u8"G.건강상태", u8"1.a.열", "g_fever", "7"}}},
      {"two numeric items that are no numbers, in sections A and I",
       {{"a_systolic_bp", "1x0"}, {"i_pressure_ulcer_stage1", "x1"}},
       {{u8"A.일반적사항", u8"9.수축기혈압", "a_systolic_bp", "1x0"},
        {u8"I.피부상태", u8"1.a.1단계(욕창(압박성 궤양))", "i_pressure_ulcer_stage1", "x1"}}},
      // Read as written, '4' is neither a first assessment nor a
      // re-assessment: none of the checks that A.5 chooses between applies.
      {"a gate answer out of range",
       {{"a_assessment_type", "4"}},
       {{u8"A.일반적사항", u8"5.평가구분", "a_assessment_type", "4"}}},
      // An invalid date is its own fault, not also one of the order of the stay.
      {"a care start that is no date",
       {{"a_care_start_date", "20241301"}},
       {{u8"A.일반적사항", u8"4.요양개시일", "a_care_start_date", "20241301"}}},
  };
  for (const char* code : kEveryCode) {
    for (const FaultCase& c : cases) {
      SCOPED_TRACE(std::string(code) + ": " + c.what);
      std::string line = BuildLine(ValidRecord(code));
      for (const auto& [field, text] : c.items) SetItem(line, field, text);
      const LineExplanation e = ExplainLine(line.data(), line.size());
      ASSERT_EQ(e.answer.outcome, Outcome::kMessage);
      ASSERT_EQ(e.faults.size(), c.faults.size());
      EXPECT_STREQ(e.faults.front().message, e.answer.message);  // the batch's message first
      for (std::size_t i = 0; i < c.faults.size(); ++i) {
        EXPECT_EQ(e.faults[i].section, U8(c.faults[i].section));
        EXPECT_EQ(e.faults[i].item, U8(c.faults[i].item));
        EXPECT_EQ(e.faults[i].field, c.faults[i].field);
        EXPECT_EQ(e.faults[i].value.value_or("(none)"), c.faults[i].value);
      }
      EXPECT_TRUE(json_check::IsOneObject(Json(line)));
    }
  }
}

// The text and the table name a field by the form's item code and name, and a
// base-layout line by the layout, not by its institution code's first bytes.
TEST(Explanation, TextAndTableUseTheFormsWords) {
  std::string fever = BuildLine(ValidRecord("091"));
  SetItem(fever, "g_fever", "7");
  const std::string text = Text(fever);
  EXPECT_NE(text.find(U8(u8"(G.1.a 열 = \"7\", 열 [")), std::string::npos) << text;
  EXPECT_EQ(text.find("g_fever"), std::string::npos) << text;

  std::string base = BuildLine(ValidRecord("123"));
  const LineExplanation e = ExplainLine(base.data(), base.size());
  ExplainOptions english;
  english.language = Language::kEnglish;
  EXPECT_EQ(Text(base).rfind(U8(u8"줄 -: 기본 서식, 258바이트: "), 0), 0u) << Text(base);
  EXPECT_EQ(ExplanationText(e, english).rfind("line -: base layout, 258 bytes: ", 0), 0u);
  EXPECT_EQ(CsvRow(e, {}).rfind(U8(u8"\"\",\"base\",\"기본 서식\","), 0), 0u) << CsvRow(e, {});
}

// A blank answer would look like nothing in the text; programs keep the value.
TEST(Explanation, TextShowsABlankAnswerAsAWord) {
  std::string fever = BuildLine(ValidRecord("091"));
  SetItem(fever, "g_fever", " ");
  const LineExplanation e = ExplainLine(fever.data(), fever.size());
  ExplainOptions english;
  english.language = Language::kEnglish;
  EXPECT_NE(Text(fever).find(U8(u8"(G.1.a 열 = (빈칸), 열 [")), std::string::npos) << Text(fever);
  EXPECT_NE(ExplanationText(e, english).find(U8(u8"(G.1.a 열 = (blank), columns [")),
            std::string::npos);
  EXPECT_NE(Json(fever).find("\"value\":\" \""), std::string::npos) << Json(fever);
  EXPECT_EQ(Json(fever).find(U8(u8"빈칸")), std::string::npos);
}

TEST(Explanation, MasksIdentifiersUnlessAskedFor) {
  AssessmentRecord r = ValidRecord("091");
  SetText(r.patient_name, Cp949(u8"홍길동").c_str());
  SetText(r.resident_number, "4501011234567");
  SetText(r.s_doctor_name, Cp949(u8"김의사").c_str());
  SetText(r.s_nurse_name, Cp949(u8"이간호").c_str());
  const std::string valid = BuildLine(r);
  std::string rejected = valid;
  SetItem(rejected, "a_systolic_bp", "000");
  const std::vector<std::string> whole = {U8(u8"홍길동"), "4501011234567", U8(u8"김의사"),
                                          U8(u8"이간호")};
  const std::vector<std::string> masked = {U8(u8"홍**"), "450101*******", U8(u8"김**"),
                                           U8(u8"이**")};
  for (const std::string& line : {valid, rejected}) {
    for (const std::string& out : {Json(line), Text(line)}) {
      for (const std::string& s : whole) EXPECT_EQ(out.find(s), std::string::npos) << s;
      for (const std::string& s : masked) EXPECT_NE(out.find(s), std::string::npos) << s;
    }
    for (const std::string& out :
         {Json(line, GROUPER_EXPLAIN_SHOW_IDENTIFIERS), Text(line, true)}) {
      for (const std::string& s : whole) EXPECT_NE(out.find(s), std::string::npos) << s;
    }
  }
  // Characters, not bytes, are kept and starred; a lone lead byte is one.
  EXPECT_EQ(MaskIdentifier("", 1), "");
  EXPECT_EQ(MaskIdentifier("AB", 1), "A*");
  EXPECT_EQ(MaskIdentifier(Cp949(u8"가나") + "\xB0", 1), Cp949(u8"가") + "**");
}

// Hanja and symbols are code page 949 characters as much as Hangul is.
TEST(Explanation, RecordTextIsDecodedFromTheWholeCodePage) {
  AssessmentRecord r = ValidRecord("092");
  SetText(r.patient_name, Cp949(u8"金영희").c_str());
  std::string line = BuildLine(r);
  SetItem(line, "a_systolic_bp", Cp949(u8"①0"));  // a parse fault shows the value
  const std::vector<std::pair<std::string, std::string>> cases = {
      {Json(line, GROUPER_EXPLAIN_SHOW_IDENTIFIERS), U8(u8"\"patient_name\":\"金영희\"")},
      {Json(line), U8(u8"\"patient_name\":\"金**\"")},
      {Json(line), U8(u8"\"value\":\"①0\"")},
      {Text(line, true), U8(u8"金영희")},
      {Text(line), U8(u8"①0")},
  };
  for (const auto& [out, expected] : cases) {
    EXPECT_NE(out.find(expected), std::string::npos) << expected << " not in " << out;
  }
}

TEST(Explanation, SaysWhyALineIsAWrongDataType) {
  const std::string line091 = BuildLine(ValidRecord("091"));
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {line091.substr(0, 300), {"takes 356 to 398 bytes", "the trimmed line has 300"}},
      {BuildLine(ValidRecord("089")) + "9", {"takes exactly 262 bytes", "has 263"}},
      {"abc", {"\"abc\" is none of the eight form versions", "exactly 258 bytes"}},
      {"\x1b[1mxyz\a", {"\"\\x1B[1\" is none", "has 8"}},  // control bytes escaped
      {std::string(1100, '1'), {"the line has 1100 bytes, more than the 1023 of one read"}},
  };
  for (const auto& [line, reasons] : cases) {
    const LineExplanation e = ExplainLine(line.data(), line.size());
    EXPECT_EQ(e.answer.outcome, Outcome::kWrongDataType);
    for (const std::string& r : reasons) {
      EXPECT_NE(e.wrong_data_type_reason.find(r), std::string::npos)
          << r << " not in " << e.wrong_data_type_reason;
    }
    EXPECT_NE(Json(line).find("\"result\":\"wrong_data_type\""), std::string::npos);
  }
}

TEST(Explanation, AnyBytesGiveValidUtf8TextAndJson) {
  std::string every_byte;
  for (int b = 0; b < 256; ++b) every_byte += static_cast<char>(b);
  const std::string base = BuildLine(ValidRecord("092"));
  std::vector<std::string> lines = {every_byte + every_byte, base, base, base, base};
  SetItem(lines[1], "patient_name", std::string("\x80\xff\x01\x1b\"\\", 6));
  SetItem(lines[2], "g_fever", "\xff");                              // a validation fault
  SetItem(lines[3], "a_systolic_bp", std::string("\x7f\x00\"", 3));  // a parse fault
  lines[4][200] = '\0';  // the text ends at a NUL: a wrong data type
  for (const std::string& line : lines) {
    for (const int flags : {0, GROUPER_EXPLAIN_SHOW_IDENTIFIERS}) {
      std::string error;
      EXPECT_TRUE(json_check::IsOneObject(Json(line, flags), nullptr, &error)) << error;
      const std::string text = Text(line, flags != 0);
      EXPECT_TRUE(json_check::ValidUtf8(text));
      for (const char c : text) {
        EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20 && c != '\n') << "control byte in text";
      }
    }
  }
  // A byte that is no code page 949 character becomes U+FFFD.
  EXPECT_NE(Json(lines[2]).find("\"value\":\"\xEF\xBF\xBD\""), std::string::npos);
}

// The table's row made from the answer alone (a grouped or wrong-data-type
// line) or from ExplainAnswer (a rejected one) is the row of the whole
// explanation, and explaining an answered line leaves its record alone.
TEST(Explanation, TheRowOfAnAnsweredLineIsTheRowOfItsExplanation) {
  AssessmentRecord named = ValidRecord("091");
  SetText(named.patient_name, Cp949(u8"홍 길동").c_str());  // a blank that the rules drop
  SetText(named.s_doctor_name, Cp949(u8"김의사").c_str());
  const std::string base = BuildLine(named);
  std::vector<std::string> lines = {base,
                                    BuildLine(ValidRecord("089")),
                                    base,
                                    base,
                                    base,
                                    base.substr(0, 300),
                                    std::string(1100, '1'),
                                    "=1+2"};
  SetItem(lines[2], "g_fever", "7");                                 // a validation fault
  SetItem(lines[3], "a_systolic_bp", std::string("\x7f\x00\"", 3));  // a parse fault
  SetItem(lines[4], "patient_name", std::string("\x80\xff\x01\"", 4));
  for (const std::string& line : lines) {
    for (const bool whole : {false, true}) {
      ExplainOptions options;
      options.show_identifiers = whole;
      options.line_number = 7;
      LineBuffer buffer;
      GroupingWork work;
      LineAnswer answer;
      const LineText taken = GroupLine(line.data(), line.size(), buffer, work, answer);
      auto bytes = [&work] {
        return std::string(reinterpret_cast<const char*>(&work.record), sizeof work.record);
      };
      const std::string before = bytes();
      std::optional<LineExplanation> explained;
      const LineExplanation e = ExplainLine(line.data(), line.size());
      for (const CsvTable table : {CsvTable::kEnglish, CsvTable::kKorean}) {
        EXPECT_EQ(CsvRowOfAnswer(taken, line.size(), answer, work, options, explained, table),
                  CsvRow(e, options, table))
            << line;
        EXPECT_EQ(explained.has_value(),
                  answer.outcome == Outcome::kMessage ||
                      (table == CsvTable::kKorean && answer.outcome == Outcome::kWrongDataType))
            << line;
      }
      const LineExplanation again = ExplainAnswer(taken, line.size(), answer, work);
      EXPECT_EQ(ExplanationJson(again, options), ExplanationJson(e, options)) << line;
      EXPECT_EQ(ExplanationText(again, options), ExplanationText(e, options)) << line;
      EXPECT_EQ(bytes(), before) << line;
    }
  }
}

// The Korean table has the English table's columns in the same order, and
// then the value of each fault; it names the result as a clerk reads it, says
// why a line is a wrong data type and shows a blank answer.
TEST(Explanation, TheKoreanTableSpeaksToAClerk) {
  const std::string english = CsvHeader();
  const std::string korean = CsvHeader(CsvTable::kKorean);
  EXPECT_EQ(std::count(korean.begin(), korean.end(), ','),
            std::count(english.begin(), english.end(), ',') + 1);
  EXPECT_EQ(korean.rfind(U8(u8"\xEF\xBB\xBF줄,배치,서식 버전,결과,"), 0), 0u) << korean;

  const std::string valid = BuildLine(ValidRecord("091"));
  std::string fever = valid;
  SetItem(fever, "g_fever", "7");
  std::string blank = valid;
  SetItem(blank, "patient_name", "");
  struct Case {
    std::string line;
    std::vector<std::string> cells;  // found in the row, in this order
  };
  const Case cases[] = {
      {valid, {U8(u8"\"091/012\",\"091\",\"분류 완료\""), "\"\",\"\"\r\n"}},
      {fever, {U8(u8"\"오류 기록\""), U8(u8"\"G.1.a 열\",\"7\"\r\n")}},
      {valid.substr(0, 300),
       {U8(u8"\"잘못된 데이타 타입\""),
        U8(u8"\"0\",\"서식 버전 091 (091/012)의 길이는 356~398바이트인데, 끝 공백을 뺀 줄의 "
           u8"길이는 300바이트\"")}},
      {blank, {U8(u8"\"오류 기록\""), U8(u8"\"A.1 환자성명\",\"(빈칸)\"\r\n")}},
      {std::string(1100, '1'), {U8(u8"\"기본 서식\",\"기본 서식\",\"잘못된 데이타 타입\"")}},
  };
  for (const Case& c : cases) {
    const std::string row =
        CsvRow(ExplainLine(c.line.data(), c.line.size()), {}, CsvTable::kKorean);
    std::size_t at = 0;
    for (const std::string& cell : c.cells) {
      at = row.find(cell, at);
      EXPECT_NE(at, std::string::npos) << cell << " in " << row;
    }
  }
}

}  // namespace
}  // namespace grouper
