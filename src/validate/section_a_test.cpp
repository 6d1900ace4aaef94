// Section A through the whole validator: each case starts from a record that
// passes every rule for its form version, changes a few fields, and expects
// either the message of the first broken rule or a pass.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

#include "record/assessment_record.h"
#include "support/cp949.h"
#include "support/line_answer.h"
#include "support/record_builder.h"
#include "support/validation_case.h"
#include "validate/names.h"
#include "validate/record_validator.h"

namespace grouper {
namespace {

using namespace testing;  // the test support of this project, not GoogleTest
using Case = ValidationCase;

// A re-assessment leaves every first-assessment item blank.
void MakeReassessment(AssessmentRecord& r, char type) {
  r.a_assessment_type = type;
  for (char* c :
       {&r.a_residence_before_admission, &r.a_education_level, &r.a_smoking, &r.a_drinking,
        &r.a_exercise, &r.a_regular_meals, &r.a_ltc_grade_application, &r.a_social_refused,
        &r.a_social_no_helper, &r.a_social_utility_cutoff, &r.a_social_homeless,
        &r.a_social_cost_hardship, &r.a_social_transport, &r.a_social_emergency}) {
    *c = ' ';
  }
}

// A.11 answered 5: a grade and the services used.
void MakeGradeHolder(AssessmentRecord& r) {
  r.a_ltc_grade_application = '5';
  r.a_ltc_grade = '3';
  SetEach(r, {field_groups::kCareServices}, '0');
}

// Every one-byte item of A.10 to A.14 set to `value`.
void SetItems10To14(AssessmentRecord& r, char value) {
  for (char* c :
       {&r.a_ltc_grade_application, &r.a_ltc_grade, &r.a_ltc_service_wish, &r.a_social_refused}) {
    *c = value;
  }
  SetEach(r, {field_groups::kHealthHabits, field_groups::kCareServices, field_groups::kSocialNeeds},
          value);
}

// The screening refused: b to g are left blank.
void MakeScreeningRefused(AssessmentRecord& r) {
  r.a_social_refused = '1';
  SetEach(r, {field_groups::kSocialNeeds}, ' ');
}

TEST(SectionA, IdentityItems) {
  const Case cases[] = {
      {"institution code of 7 digits", "090",
       [](AssessmentRecord& r) { SetText(r.institution_code, "1234567"); },
       u8"오류-[A.일반적사항][0.요양기관기호] 8자리 숫자를 입력하시오"},
      {"institution code with a letter", "089",
       [](AssessmentRecord& r) { SetText(r.institution_code, "1234567A"); },
       u8"오류-[A.일반적사항][0.요양기관기호] 8자리 숫자를 입력하시오"},
      {"name of 12 blanks", "091",
       [](AssessmentRecord& r) { SetText(r.patient_name, "            "); },
       u8"오류-[A.일반적사항][1.환자성명]"},
      {"empty name", "123", [](AssessmentRecord& r) { SetText(r.patient_name, ""); },
       u8"오류-[A.일반적사항][1.환자성명]"},
      {"name of 12 bytes", "092",
       [](AssessmentRecord& r) { SetText(r.patient_name, Cp949(u8"가나다라마바").c_str()); }, u8""},
      {"name of one byte among blanks", "010",
       [](AssessmentRecord& r) { SetText(r.patient_name, "     A      "); }, u8""},
      {"resident number of 12 digits", "090",
       [](AssessmentRecord& r) { SetText(r.resident_number, "400101100000"); },
       u8"오류-[A.일반적사항][2.주민등록번호] 13자리 숫자를 입력하시오"},
      {"resident number with a dash", "123",
       [](AssessmentRecord& r) { SetText(r.resident_number, "400101-100000"); },
       u8"오류-[A.일반적사항][2.주민등록번호] 13자리 숫자를 입력하시오"},
  };
  for (const Case& c : cases) ExpectVerdict(c);
}

TEST(SectionA, NameCountsWithoutItsBlanksAndTheRecordIsOnlyRead) {
  AssessmentRecord record = ValidRecord("090");
  SetText(record.patient_name, Cp949(u8"가 상 환 자").c_str());
  record.a_assessment_type = '4';
  const Answered a = AnswerOf(BuildLine(record));
  EXPECT_EQ(a.MessageUtf8(),
            Utf8(Cp949(u8"오류-[A.일반적사항][5.평가구분]1~3 사이값을 입력하시오")));
  // As written in the line: the name and the blank that pads it to 12 bytes.
  EXPECT_EQ(std::string(a.work->record.patient_name), Cp949(u8"가 상 환 자") + " ");
  EXPECT_EQ(NameWithoutBlanks(a.work->record.patient_name), Cp949(u8"가상환자"));
}

TEST(SectionA, DatesAndAssessmentType) {
  const Case cases[] = {
      {"absent admission date", "090",
       [](AssessmentRecord& r) { SetText(r.a_admission_date, "00000000"); },
       u8"오류-[A.일반적사항][3.입원일]"},
      {"blank assessment date", "123",
       [](AssessmentRecord& r) { SetText(r.a_assessment_date, "        "); },
       u8"오류-[A.일반적사항][6.작성일]"},
      {"type 0", "090", [](AssessmentRecord& r) { r.a_assessment_type = '0'; },
       u8"오류-[A.일반적사항][5.평가구분]1~3 사이값을 입력하시오"},
      {"type 4", "123", [](AssessmentRecord& r) { r.a_assessment_type = '4'; },
       u8"오류-[A.일반적사항][5.평가구분]1~3 사이값을 입력하시오"},
      {"blank type", "010", [](AssessmentRecord& r) { r.a_assessment_type = ' '; },
       u8"오류-[A.일반적사항][5.평가구분]1~3 사이값을 입력하시오"},
      {"type 4 and a bad assessment date: the type is tested first", "092",
       [](AssessmentRecord& r) {
         r.a_assessment_type = '4';
         SetText(r.a_assessment_date, "00000000");
       },
       u8"오류-[A.일반적사항][5.평가구분]1~3 사이값을 입력하시오"},
      {"type 3 re-assessment", "090", [](AssessmentRecord& r) { MakeReassessment(r, '3'); }, u8""},
      {"all three dates equal", "091",
       [](AssessmentRecord& r) {
         SetText(r.a_admission_date, "20240110");
         SetText(r.a_care_start_date, "20240110");
         SetText(r.a_assessment_date, "20240110");
       },
       u8""},
      {"admission a day after the care start", "090",
       [](AssessmentRecord& r) { SetText(r.a_admission_date, "20240103"); },
       u8"오류-[A.일반적사항] 입원일은 요양개시일,작성일보다 빠르거나 같아야 합니다."},
      {"admission a day after the assessment", "123",
       [](AssessmentRecord& r) {
         SetText(r.a_care_start_date, "20240120");
         SetText(r.a_admission_date, "20240116");
       },
       u8"오류-[A.일반적사항] 입원일은 요양개시일,작성일보다 빠르거나 같아야 합니다."},
      {"admission on the 31st of February, which is the 2nd of March", "091",
       [](AssessmentRecord& r) {
         SetText(r.a_admission_date, "20240231");
         SetText(r.a_care_start_date, "20240301");
       },
       u8"오류-[A.일반적사항] 입원일은 요양개시일,작성일보다 빠르거나 같아야 합니다."},
      {"care start after the assessment: the two are not compared", "089",
       [](AssessmentRecord& r) { SetText(r.a_care_start_date, "20240301"); }, u8""},
      {"dates ordered across a year end", "090",
       [](AssessmentRecord& r) {
         SetText(r.a_admission_date, "20231231");
         SetText(r.a_care_start_date, "20240101");
       },
       u8""},
  };
  for (const Case& c : cases) ExpectVerdict(c);
}

TEST(SectionA, ResidenceEducationAndBloodPressure) {
  const Case cases[] = {
      {"type 1, residence 8", "090",
       [](AssessmentRecord& r) { r.a_residence_before_admission = '8'; },
       u8"오류-[A.일반적사항][7.입원 직전 있던곳] 1~7 사이값을 입력하시오"},
      {"type 1, residence 7", "089",
       [](AssessmentRecord& r) { r.a_residence_before_admission = '7'; }, u8""},
      {"type 2, residence 1", "089",
       [](AssessmentRecord& r) {
         MakeReassessment(r, '2');
         r.a_residence_before_admission = '1';
       },
       u8"오류-[A.일반적사항][7.입원 직전 있던곳] space를 입력하시오"},
      {"type 1, education 7", "091", [](AssessmentRecord& r) { r.a_education_level = '7'; },
       u8"오류-[A.일반적사항][8.교육수준] 1~6 사이값을 입력하시오"},
      {"type 1, education 6", "010", [](AssessmentRecord& r) { r.a_education_level = '6'; }, u8""},
      {"type 3, education 1", "123",
       [](AssessmentRecord& r) {
         MakeReassessment(r, '3');
         r.a_education_level = '1';
       },
       u8"오류-[A.일반적사항][8.교육수준] space를 입력하시오"},
      {"type 2 in an early family", "010", [](AssessmentRecord& r) { MakeReassessment(r, '2'); },
       u8""},
      {"systolic 0", "090", [](AssessmentRecord& r) { r.a_systolic_bp = 0; },
       u8"오류-[A.일반적사항][9.수축기혈압] 1~ 999 사이 숫자를 입력하시오"},
      {"systolic 1000", "123", [](AssessmentRecord& r) { r.a_systolic_bp = 1000; },
       u8"오류-[A.일반적사항][9.수축기혈압] 1~ 999 사이 숫자를 입력하시오"},
      {"systolic 1 and diastolic 999", "092",
       [](AssessmentRecord& r) {
         r.a_systolic_bp = 1;
         r.a_diastolic_bp = 999;
       },
       u8""},
      {"diastolic 0", "089", [](AssessmentRecord& r) { r.a_diastolic_bp = 0; },
       u8"오류-[A.일반적사항][9.이완기혈압] 1~ 999 사이 숫자를 입력하시오"},
  };
  for (const Case& c : cases) ExpectVerdict(c);
}

TEST(SectionA, HealthHabitsAndCareGrade) {
  const Case cases[] = {
      {"type 1, smoking 2", "090", [](AssessmentRecord& r) { r.a_smoking = '2'; },
       u8"오류-[A.일반적사항][10.건강생활습관][a.담배를 피우십니까?] 0~1 사이값을 입력하시오"},
      {"type 1, all habits 1", "011",
       [](AssessmentRecord& r) { SetEach(r, {field_groups::kHealthHabits}, '1'); }, u8""},
      {"type 2, smoking 0", "091",
       [](AssessmentRecord& r) {
         MakeReassessment(r, '2');
         r.a_smoking = '0';
       },
       u8"오류-[A.일반적사항][10.건강생활습관][a.담배를 피우십니까?] space를 입력하시오"},
      {"type 3, exercise 1", "013",
       [](AssessmentRecord& r) {
         MakeReassessment(r, '3');
         r.a_exercise = '1';
       },
       u8"오류-[A.일반적사항][10.건강생활습관][c.주 4일이상, 한번에 30분 이상 운동을 합니까?] "
       u8"space를 입력하시오"},
      {"type 1, application 7", "090", [](AssessmentRecord& r) { r.a_ltc_grade_application = '7'; },
       u8"오류-[A.일반적사항][11.장기요양등급 및 신청] 1~6 사이값을 입력하시오"},
      {"type 1, application 6", "090", [](AssessmentRecord& r) { r.a_ltc_grade_application = '6'; },
       u8""},
      {"type 2, application 1", "092",
       [](AssessmentRecord& r) {
         MakeReassessment(r, '2');
         r.a_ltc_grade_application = '1';
       },
       u8"오류-[A.일반적사항][11.장기요양등급 및 신청] space를 입력하시오"},
      {"application 5 with grade and services", "090", MakeGradeHolder, u8""},
      {"application 5, blank grade", "091",
       [](AssessmentRecord& r) {
         MakeGradeHolder(r);
         r.a_ltc_grade = ' ';
       },
       u8"오류-[A.일반적사항][12.장기요양등급 및 이용 서비스][a.등급] 1~6 사이값을 입력하시오"},
      {"application 5, blank last service", "013",
       [](AssessmentRecord& r) {
         MakeGradeHolder(r);
         r.a_ltc_service_other = ' ';
       },
       u8"오류-[A.일반적사항][12.장기요양등급 및 이용 서비스][b.이용서비스][8 기타] 0~1 "
       u8"사이값을 입력하시오"},
      {"application 3, grade 2", "090",
       [](AssessmentRecord& r) {
         r.a_ltc_grade_application = '3';
         r.a_ltc_grade = '2';
       },
       u8"오류-[A.일반적사항][12.장기요양등급 및 이용 서비스][a.등급] space를 입력하시오"},
      {"application 1, welfare equipment 0", "092",
       [](AssessmentRecord& r) { r.a_ltc_service_welfare_equipment = '0'; },
       u8"오류-[A.일반적사항][12.장기요양등급 및 이용 서비스][b.이용서비스][6 복지용구 구입 및 "
       u8"대여] space를 입력하시오"},
      {"type 2: A.11 blank, so A.12 blank", "091",
       [](AssessmentRecord& r) {
         MakeReassessment(r, '2');
         r.a_ltc_grade = '1';
       },
       u8"오류-[A.일반적사항][12.장기요양등급 및 이용 서비스][a.등급] space를 입력하시오"},
      {"application 2, blank wish", "090",
       [](AssessmentRecord& r) { r.a_ltc_grade_application = '2'; },
       u8"오류-[A.일반적사항][13.장기요양서비스를 받고 싶은 의향] 0~1 사이값을 입력하시오"},
      {"application 4, wish 1", "011",
       [](AssessmentRecord& r) {
         r.a_ltc_grade_application = '4';
         r.a_ltc_service_wish = '1';
       },
       u8""},
      {"application 1, wish 0", "090", [](AssessmentRecord& r) { r.a_ltc_service_wish = '0'; },
       u8"오류-[A.일반적사항][13.장기요양서비스를 받고 싶은 의향] space를 입력하시오"},
      {"application 5, wish 0", "092",
       [](AssessmentRecord& r) {
         MakeGradeHolder(r);
         r.a_ltc_service_wish = '0';
       },
       u8"오류-[A.일반적사항][13.장기요양서비스를 받고 싶은 의향] space를 입력하시오"},
  };
  for (const Case& c : cases) ExpectVerdict(c);
}

TEST(SectionA, SocialScreening) {
  const Case cases[] = {
      {"type 1, refusal 2", "090", [](AssessmentRecord& r) { r.a_social_refused = '2'; },
       u8"오류-[A.일반적사항][14.사회환경 선별조사][a. 응답거부] 0~1 사이값을 입력하시오"},
      {"type 1, refused, b to g blank", "091", MakeScreeningRefused, u8""},
      {"type 1, refused, c answered", "090",
       [](AssessmentRecord& r) {
         MakeScreeningRefused(r);
         r.a_social_utility_cutoff = '0';
       },
       u8"오류-[A.일반적사항][14.사회환경 선별조사][c. 전기수도 등 공과금 미납으로 서비스 중단 "
       u8"고지를 받은 적 있음] space를 입력하시오"},
      {"type 1, answered, c blank", "092",
       [](AssessmentRecord& r) { r.a_social_utility_cutoff = ' '; },
       u8"오류-[A.일반적사항][14.사회환경 선별조사][c. 전기수도 등 공과금 미납으로 서비스 중단 "
       u8"고지를 받은 적 있음] 0~1 사이값을 입력하시오"},
      {"type 1, answered, all 1", "090",
       [](AssessmentRecord& r) { SetEach(r, {field_groups::kSocialNeeds}, '1'); }, u8""},
      {"type 2, refusal 0", "090",
       [](AssessmentRecord& r) {
         MakeReassessment(r, '2');
         r.a_social_refused = '0';
       },
       u8"오류-[A.일반적사항][14.사회환경 선별조사][a. 응답거부] space를 입력하시오"},
      {"type 3, g answered", "012",
       [](AssessmentRecord& r) {
         MakeReassessment(r, '3');
         r.a_social_emergency = '0';
       },
       u8"오류-[A.일반적사항][14.사회환경 선별조사][g. 먹을 것이 없거나 학대를 받는 등 "
       u8"긴급하게 도움이 필요한 적이 있음] space를 입력하시오"},
      {"type 2, b answered", "091",
       [](AssessmentRecord& r) {
         MakeReassessment(r, '2');
         r.a_social_no_helper = '1';
       },
       u8"오류-[A.일반적사항][14.사회환경 선별조사][b. 식사준비, 간병 등의 도움을 줄 수 있는 "
       u8"사람이 없음] space를 입력하시오"},
  };
  for (const Case& c : cases) ExpectVerdict(c);
}

// The early layouts carry none of A.10 to A.14: whatever the record holds
// there, section A ends with the blood pressures.
TEST(SectionA, EarlyFamiliesAreNotCheckedOnItems10To14) {
  auto garbage = [](AssessmentRecord& r) { SetItems10To14(r, 'X'); };
  auto garbage_reassessment = [](AssessmentRecord& r) {
    r.a_assessment_type = '2';
    r.a_residence_before_admission = ' ';
    r.a_education_level = ' ';
    SetItems10To14(r, '1');
  };
  for (std::string_view code : {"123", "089", "010"}) {
    ExpectVerdict({"A.10 to A.14 filled with letters", code, garbage, u8""});
    ExpectVerdict({"re-assessment with A.10 to A.14 answered", code, garbage_reassessment, u8""});
  }
  ExpectVerdict({"the same letters under 090", "090", garbage,
                 u8"오류-[A.일반적사항][10.건강생활습관][a.담배를 피우십니까?] 0~1 사이값을 "
                 u8"입력하시오"});
}

}  // namespace
}  // namespace grouper
