// The frame of the validator: the version header, the message it gives, and
// the order of the stages.
#include "validate/record_validator.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

#include "record/assessment_record.h"
#include "support/cp949.h"
#include "support/record_builder.h"

namespace grouper {
namespace {

using testing::Cp949;
using testing::Utf8;
using testing::ValidRecord;

using testing::SetText;

// Runs the validator on `record`; its message, or "" on a pass.
std::string Verdict(AssessmentRecord& record) {
  const char* message = ValidateRecord(record, FamilyOfField(record.form_version));
  if (message != nullptr) {
    EXPECT_NE(message[0], '\0');
  }
  return message != nullptr ? message : "";
}

TEST(RecordValidator, TheBaselineRecordOfEveryCodePasses) {
  for (std::string_view code : {"123", "089", "010", "090", "011", "091", "012", "092", "013"}) {
    AssessmentRecord record = ValidRecord(code);
    EXPECT_EQ(Utf8(Verdict(record)), "") << code;
  }
}

// The base layout carries no version code: its first three bytes are the
// start of the institution code and are never tested as a version.
TEST(RecordValidator, BaseLayoutSkipsTheVersionCheck) {
  for (const char* version : {"", "1", "AB", "12A", " 89", "999", "08 "}) {
    AssessmentRecord record = ValidRecord("123");
    SetText(record.form_version, version);
    EXPECT_EQ(Utf8(Verdict(record)), "") << "'" << version << "'";
  }
}

TEST(RecordValidator, GivesTheMessageOfTheFailedCheck) {
  AssessmentRecord record = ValidRecord("091");
  record.a_assessment_type = '9';
  EXPECT_EQ(Verdict(record), Cp949(u8"오류-[A.일반적사항][5.평가구분]1~3 사이값을 입력하시오"));
}

// Later stages never run once a check has failed: the message is that of the
// earliest fault in form order, whatever comes after it.
TEST(RecordValidator, TheFirstFailingCheckWinsAcrossStages) {
  struct Case {
    const char* what;
    std::string_view code;
    void (*change)(AssessmentRecord&);
    std::u8string_view message;
  } cases[] = {
      {"A before F", "090",
       [](AssessmentRecord& r) {
         r.f_diabetes = '7';
         r.a_systolic_bp = 0;
       },
       u8"오류-[A.일반적사항][9.수축기혈압] 1~ 999 사이 숫자를 입력하시오"},
      {"B before D", "123",
       [](AssessmentRecord& r) {
         r.d_adl_bathing = '9';
         r.b_coma = '5';
       },
       u8"오류-[B.인지기능][1.혼수상태] 0~1 사이값을 입력하시오"},
      {"C before E", "089",
       [](AssessmentRecord& r) {
         r.e_toileting_none = '0';
         r.c_kmmse_done = '3';
       },
       u8"오류-[C.인지기능][6.K-MMSE 실시여부] 0~1 사이값을 입력하시오"},
      {"E before F", "092",
       [](AssessmentRecord& r) {
         r.f_malnutrition_none = '0';
         r.e_voiding_diary = '3';
       },
       u8"오류-[E.배설기능][4.배뇨일지 작성 여부] 0~1 사이 숫자를 입력하시오"},
      {"F before the later sections", "011",
       [](AssessmentRecord& r) {
         r.f_malnutrition_none = '0';
         r.g_fever = '9';
         r.h_swallowing = '9';
         r.i_burns = '9';
         r.k_oxygen_therapy = '9';
         SetText(r.s_doctor_name, "");
       },
       u8"오류-[F.질병진단][2.h.해당사항 없음] 해당사항 없음이 1이어야 합니다."},
  };
  for (const Case& c : cases) {
    AssessmentRecord record = ValidRecord(c.code);
    c.change(record);
    EXPECT_EQ(Utf8(Verdict(record)), Utf8(Cp949(c.message))) << c.code << ": " << c.what;
  }
}

}  // namespace
}  // namespace grouper
