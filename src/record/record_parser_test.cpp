#include "record/record_parser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "line/group_line.h"
#include "record/assessment_record.h"
#include "record/form_version.h"
#include "record/input_layout.h"
#include "support/cp949.h"
#include "support/record_builder.h"

namespace grouper {
namespace {

using testing::BuildLine;
using testing::Cp949;
using testing::SetItem;
using testing::Utf8;
using testing::ValidRecord;

// Parses a line the way the batch run hands it over: taken as one read, in a
// buffer that is zero beyond the trimmed text.
class ParserTest : public ::testing::Test {
 protected:
  int Parse(const std::string& line) {
    const LineText taken = TakeLine(line.data(), line.size() < 1023 ? line.size() : 1023, buffer_);
    EXPECT_TRUE(taken.framed) << "a line that the road does not frame never reaches the parser";
    const char* message = ParseRecord(taken.text, taken.family, record_);
    error_ = message != nullptr ? message : "";
    return message != nullptr ? -1 : 1;
  }

  AssessmentRecord record_{};
  LineBuffer buffer_;
  std::string error_;
};

TEST_F(ParserTest, FillsEveryFieldOfTheFamilyFromItsColumns) {
  for (const char* code : {"123", "089", "010", "090", "011", "091", "012", "092", "013"}) {
    AssessmentRecord expected = ValidRecord(code);
    expected.a_systolic_bp = 135;
    expected.h_weight = 65.5f;
    expected.f_hba1c = 7.0f;
    expected.k_rehab_days = 3;
    const std::string line = BuildLine(expected);
    ASSERT_EQ(Parse(line), 1) << code << ": " << Utf8(error_);
    // The writer pads texts with blanks; the parser keeps them.
    EXPECT_STREQ(record_.form_version, code);
    EXPECT_STREQ(record_.institution_code, "12345678");
    EXPECT_STREQ(record_.a_assessment_date, "20240115");
    EXPECT_EQ(record_.a_systolic_bp, 135);
    EXPECT_EQ(record_.a_diastolic_bp, 80);
    EXPECT_EQ(record_.h_weight, 65.5f);
    EXPECT_EQ(record_.f_hba1c, 7.0f);
    EXPECT_EQ(record_.k_rehab_days, 3);
    EXPECT_EQ(record_.b_coma, '0');
    EXPECT_EQ(record_.e_toileting_none, '1');
    EXPECT_EQ(std::memcmp(record_.patient_name, Cp949(u8"가상환자    ").data(), 12), 0);
  }
}

TEST_F(ParserTest, FieldsOutsideTheLayoutStayZero) {
  ASSERT_EQ(Parse(BuildLine(ValidRecord("123"))), 1);
  EXPECT_EQ(record_.a_smoking, '\0');  // NUL, not a blank
  EXPECT_EQ(record_.c_cdr_done, '\0');
  EXPECT_EQ(record_.f_diseases_none_089, '\0');
  EXPECT_STREQ(record_.s_doctor_name, "");
  // The base layout's first three bytes are the institution code's.
  EXPECT_STREQ(record_.form_version, "123");
  EXPECT_EQ(record_.f_aids, '1');  // here: "none of F.1 applies"

  ASSERT_EQ(Parse(BuildLine(ValidRecord("089"))), 1);
  EXPECT_EQ(record_.f_diseases_none_089, '1');
  EXPECT_EQ(record_.d_rehab_potential_improve, '0');
  ASSERT_EQ(Parse(BuildLine(ValidRecord("090"))), 1);
  EXPECT_EQ(record_.d_rehab_potential_improve, '\0');
  EXPECT_EQ(record_.k_ventilator_091, '\0');
  EXPECT_EQ(record_.k_ventilator_personal, '0');
}

TEST_F(ParserTest, BaseLayoutAndFamily089DifferAtF1v) {
  std::string base = BuildLine(ValidRecord("123"));
  base[161] = '7';
  ASSERT_EQ(Parse(base), 1);
  EXPECT_EQ(record_.f_aids, '7');
  EXPECT_EQ(record_.f_kwashiorkor, '0');
  std::string f089 = BuildLine(ValidRecord("089"));
  f089[164] = '7';
  f089[165] = '8';
  ASSERT_EQ(Parse(f089), 1);
  EXPECT_EQ(record_.f_aids, '7');
  EXPECT_EQ(record_.f_diseases_none_089, '8');
}

TEST_F(ParserTest, Family092FillsTheCatheterSlotsNotTheSingleDate) {
  AssessmentRecord r = ValidRecord("092");
  std::strcpy(r.e_catheter_date_01, "20240101");
  std::strcpy(r.e_catheter_date_20, "20240120");
  r.e_catheter_date_count = 2;
  ASSERT_EQ(Parse(BuildLine(r)), 1);
  EXPECT_STREQ(record_.e_catheter_date_01, "20240101");
  EXPECT_STREQ(record_.e_catheter_date_20, "20240120");
  EXPECT_EQ(record_.e_catheter_date_count, 2);
  EXPECT_STREQ(record_.e_indwelling_catheter_date, "");
}

TEST_F(ParserTest, ShortLinesOfTheFamiliesFrom090ReadMissingNamesAsEmpty) {
  const std::string line = BuildLine(ValidRecord("090"));
  ASSERT_EQ(Parse(line.substr(0, 350)), 1);
  EXPECT_EQ(std::string(record_.s_doctor_name), line.substr(348, 2));
  EXPECT_STREQ(record_.s_nurse_name, "");
  ASSERT_EQ(Parse(line.substr(0, 352)), 1);
  EXPECT_EQ(std::string(record_.s_doctor_name), line.substr(348, 4));
  ASSERT_EQ(Parse(line.substr(0, 348)), 1);
  EXPECT_STREQ(record_.s_doctor_name, "");
  // A line ending with CR LF inside the nurse's columns: the line end is
  // trimmed away and the name reads as empty.
  ASSERT_EQ(Parse(line.substr(0, 360) + "\r\n"), 1);
  EXPECT_STREQ(record_.s_nurse_name, "");
}

TEST_F(ParserTest, ConvertsNumbersAsDigitsAndTenths) {
  std::string line = BuildLine(ValidRecord("091"));
  SetItem(line, "h_weight", "0655");
  SetItem(line, "f_hba1c", "070");
  SetItem(line, "c_cdr_score", "05");
  SetItem(line, "a_systolic_bp", "000");
  SetItem(line, "g_fever_days", "  ");
  SetItem(line, "k_iv_medication_days", "-3");
  SetItem(line, "h_tube_feeding_days", " 7");
  SetItem(line, "e_voiding_diary_days", "x1");
  SetItem(line, "k_oxygen_saturation", "0900");
  ASSERT_EQ(Parse(line), 1) << Utf8(error_);
  EXPECT_EQ(record_.h_weight, 65.5f);
  EXPECT_EQ(record_.f_hba1c, 7.0f);
  EXPECT_EQ(record_.c_cdr_score, 0);
  EXPECT_EQ(record_.a_systolic_bp, 0);  // range is the validator's business
  EXPECT_EQ(record_.g_fever_days, 0);
  EXPECT_EQ(record_.k_iv_medication_days, -3);
  EXPECT_EQ(record_.h_tube_feeding_days, 7);
  EXPECT_EQ(record_.e_voiding_diary_days, 0);
  EXPECT_EQ(record_.k_oxygen_saturation, 90.0f);
  SetItem(line, "c_cdr_score", "25");
  ASSERT_EQ(Parse(line), 1);
  EXPECT_EQ(record_.c_cdr_score, 2);
}

TEST_F(ParserTest, RejectsNonDigitsInTestedNumbersWithTheItemsMessage) {
  const struct {
    const char* code;
    const char* field;
    const char* text;
    std::u8string_view message;
  } cases[] = {
      {"123", "a_systolic_bp", "12 ",
       u8"오류-[A.일반적사항][9.수축기혈압] 001~999 사이 숫자를 입력하시오"},
      {"089", "a_diastolic_bp", " 80",
       u8"오류-[A.일반적사항][9.이완기혈압] 001~999 사이 숫자를 입력하시오"},
      {"090", "c_kmmse_score", "-1",
       u8"오류-[C.인지기능][6.K-MMSE 점수] 00~99 사이 숫자를 입력하시오"},
      {"090", "c_cdr_score", "0.",
       u8"오류-[C.인지기능][7.치매 척도 검사][b-1.CDR 점수] 00~99 사이 숫자를 입력하시오"},
      {"091", "c_gds_score", "a",
       u8"오류-[C.인지기능][7.치매 척도 검사][d-1.GDS 점수] 0~9 사이 숫자를 입력하시오"},
      {"092", "f_fasting_glucose", "+12",
       u8"오류-[F.질병진단][1.a.공복시혈당] 000~999 사이 숫자를 입력하시오"},
      {"010", "f_postprandial_glucose", "1 2",
       u8"오류-[F.질병진단][1.a.식후 2시간 혈당] 000~999 사이 숫자를 입력하시오"},
      {"011", "f_hba1c", "6.5", u8"오류-[F.질병진단][1.HbAlc] 000~999 사이 숫자를 입력하시오"},
      {"012", "g_body_temperature", "   ",
       u8"오류-[G.건강상태][1.a.1 체온] 000~999 사이 숫자를 입력하시오"},
      {"013", "g_pain_visual_scale", "1x",
       u8"오류-[G.건강상태][2.b.1.시각 통증 등급] 00~10 사이 숫자를 입력하시오"},
      {"090", "g_pain_numeric_scale", "--",
       u8"오류-[G.건강상태][2.b.2.숫자 통증 등급] 00~10 사이 숫자를 입력하시오"},
      {"091", "g_pain_faces_scale", " ",
       u8"오류-[G.건강상태][2.b.3.얼굴 통증 등급] 0~5 사이 숫자를 입력하시오"},
      {"123", "h_weight", "65.5",
       u8"오류-[H.구강 및 영양상태][2.체중] 0000~9999 사이 숫자를 입력하세요"},
      {"092", "h_height", "16O0",
       u8"오류-[H.구강 및 영양상태][2-3.b.1 키] 0000~9999 사이 숫자를 입력하세요"},
      {"089", "i_pressure_ulcer_stage1", "a1",
       u8"오류-[I.피부상태][1.a.1단계(욕창(압박성 궤양))] 00~99 사이 숫자를 입력하시오"},
      {"089", "i_pressure_ulcer_stage2", "1 ",
       u8"오류-[I.피부상태][1.b.2단계(욕창(압박성 궤양))] 00~99 사이 숫자를 입력하시오"},
      {"089", "i_pressure_ulcer_stage3", "1 ",
       u8"오류-[I.피부상태][1.c.3단계(욕창(압박성 궤양))] 00~99 사이 숫자를 입력하시오"},
      {"089", "i_pressure_ulcer_stage4", "1 ",
       u8"오류-[I.피부상태][1.d.4단계(욕창(압박성 궤양))] 00~99 사이 숫자를 입력하시오"},
      {"089", "i_stasis_ulcer_stage1", "1 ",
       u8"오류-[I.피부상태][1.a.1단계(울혈성 또는 어혈성 궤양)] 00~99 사이 숫자를 입력하시오"},
      {"089", "i_stasis_ulcer_stage2", "1 ",
       u8"오류-[I.피부상태][1.b.2단계(울혈성 또는 어혈성 궤양)] 00~99 사이 숫자를 입력하시오"},
      {"089", "i_stasis_ulcer_stage3", "1 ",
       u8"오류-[I.피부상태][1.c.3단계(울혈성 또는 어혈성 궤양)] 00~99 사이 숫자를 입력하시오"},
      {"089", "i_stasis_ulcer_stage4", "1 ",
       u8"오류-[I.피부상태][1.d.4단계(울혈성 또는 어혈성 궤양)] 00~99 사이 숫자를 입력하시오"},
      {"090", "k_oxygen_saturation", "95.",
       u8"오류-[K. 특수처치 및 전문재활치료][1.e.1 산소포화도] 0000~9999 사이 숫자를 입력하세요"},
      {"091", "k_oxygen_days", "7 ",
       u8"오류-[K. 특수처치 및 전문재활치료][1.e.2 산소투여일수] 00~99 사이 숫자를 입력하세요"},
      {"123", "k_rehab_days", "x",
       u8"오류-[K.특수처치 및 전문재활치료][2.전문재활치료 실시일수] 0~7 사이 숫자를 입력하시오"},
  };
  for (const auto& c : cases) {
    std::string line = BuildLine(ValidRecord(c.code));
    SetItem(line, c.field, c.text);
    ASSERT_EQ(Parse(line), -1) << c.code << " " << c.field;
    EXPECT_EQ(std::string(error_), Cp949(c.message))
        << c.code << " " << c.field << ": " << Utf8(error_);
  }
}

// Adjacent numbers have their digits tested and converted together; every
// digit of every tested number must still count, and each value must be its
// own: a byte that is no digit fails its own item, and digits convert to the
// item's value as its kind stores it.
TEST_F(ParserTest, EveryDigitOfEveryTestedNumberCounts) {
  for (const char* code : {"123", "089", "090", "091", "092"}) {
    const Family family = FamilyOf(code);
    const std::string valid = BuildLine(ValidRecord(code));
    for (const LayoutItem& item : InputLayout()) {
      const bool tenths = item.kind == ItemKind::kTenths;
      if (item.StartIn(family) < 0 || item.parse_message.text == nullptr) continue;
      const std::string digits = std::string("9876").substr(0, item.width);
      std::string line = valid;
      SetItem(line, item.field_name, digits);
      ASSERT_EQ(Parse(line), 1) << code << " " << item.field_name;
      const int32_t value = std::stoi(digits);
      int32_t stored_int = 0;
      float stored_tenths = 0;
      const char* field = reinterpret_cast<const char*>(&record_) + item.offset;
      std::memcpy(tenths ? static_cast<void*>(&stored_tenths) : &stored_int, field, 4);
      if (tenths) {
        EXPECT_EQ(stored_tenths, static_cast<float>(value / 10.0)) << code << item.field_name;
      } else {
        EXPECT_EQ(stored_int, item.kind == ItemKind::kIntTenths ? value / 10 : value)
            << code << " " << item.field_name;
      }
      for (int at = 0; at < item.width; ++at) {
        for (char other : {'x', '/', ':', ' ', '\xb0'}) {
          // A blank that ends the line is trimmed, and the line no longer frames.
          const bool ends_line = static_cast<std::size_t>(item.StartIn(family) + at + 1) ==
                                 valid.find_last_not_of("\r\n") + 1;
          if (other == ' ' && ends_line) continue;
          std::string text = digits;
          text[at] = other;
          line = valid;
          SetItem(line, item.field_name, text);
          ASSERT_EQ(Parse(line), -1) << code << " " << item.field_name << " " << at;
          EXPECT_STREQ(error_.c_str(), item.parse_message.text)
              << code << " " << item.field_name << " " << at;
        }
      }
    }
  }
}

// Untested numbers read as atoi reads them; two digits take a shorter road.
TEST_F(ParserTest, UntestedNumbersReadAsAtoiDoes) {
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {{"42", 42}, {"07", 7}, {"99", 99}, {"4 ", 4}, {" 4", 4}, {"+4", 4},
               {"-4", -4}, {"4x", 4}, {"x4", 0},  {":0", 0}, {"9:", 9}, {"/9", 0}};
  for (const char* code : {"090", "091", "092"}) {
    const Family family = FamilyOf(code);
    for (const LayoutItem& item : InputLayout()) {
      if (item.kind != ItemKind::kIntUntested || item.StartIn(family) < 0) continue;
      for (const auto& c : cases) {
        std::string line = BuildLine(ValidRecord(code));
        SetItem(line, item.field_name, c.text);
        ASSERT_EQ(Parse(line), 1) << code << " " << item.field_name << " " << c.text;
        int32_t value;
        std::memcpy(&value, reinterpret_cast<const char*>(&record_) + item.offset, sizeof value);
        EXPECT_EQ(value, c.value) << code << " " << item.field_name << " '" << c.text << "'";
      }
    }
  }
}

TEST_F(ParserTest, TheLeftmostFailingItemWinsAndLaterFieldsStayZero) {
  std::string line = BuildLine(ValidRecord("091"));
  SetItem(line, "i_stasis_ulcer_stage1", "xx");
  SetItem(line, "f_hba1c", "xxx");
  ASSERT_EQ(Parse(line), -1);
  EXPECT_EQ(std::string(error_),
            Cp949(u8"오류-[F.질병진단][1.HbAlc] 000~999 사이 숫자를 입력하시오"));
  EXPECT_EQ(record_.f_diabetes, '0');  // before the failing item
  EXPECT_EQ(record_.g_fever, '\0');    // after it
  EXPECT_EQ(record_.h_swallowing, '\0');
}

TEST_F(ParserTest, TrustsTheFramingOfTheTakenLine) {
  // Lines of the wrong length never reach the parser: the road frames a line
  // once, when it takes it, and answers it with the wrong-data-type line.
  const std::string f089 = BuildLine(ValidRecord("089"));
  EXPECT_FALSE(TakeLine(f089.data(), 261, buffer_).framed);
  const std::string f090 = BuildLine(ValidRecord("090"));
  EXPECT_FALSE(TakeLine(f090.data(), 347, buffer_).framed);
  // Trailing blanks do not count.
  EXPECT_EQ(Parse(f089 + "    \r\n"), 1);
}

}  // namespace
}  // namespace grouper
