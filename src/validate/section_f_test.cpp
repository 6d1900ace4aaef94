// Section F through the whole validator: the diabetes block with its two
// gates, the three family groups of the end of the disease list with their
// none-applies rules, the 2015 date rule of 089/010, and the malnutrition
// diagnoses.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

#include "record/assessment_record.h"
#include "record/form_version.h"
#include "support/cp949.h"
#include "support/record_builder.h"
#include "support/validation_case.h"
#include "validate/record_validator.h"

namespace grouper {
namespace {

using namespace testing;  // the test support of this project, not GoogleTest
using Case = ValidationCase;

// The none-applies item of the disease list moves with the family.
char& DiseasesNone(AssessmentRecord& r) {
  const Family family = FamilyOf(r.form_version);
  if (family == Family::kBase) return r.f_aids;
  if (family == Family::k089) return r.f_diseases_none_089;
  return r.f_diseases_none;
}

// Diabetes, neither glucose nor HbA1c tested.
void Diabetic(AssessmentRecord& r) {
  r.f_diabetes = '1';
  r.f_glucose_check_done = '0';
  r.f_hba1c_done = '0';
  DiseasesNone(r) = '0';
}
void GlucoseChecked(AssessmentRecord& r) {
  Diabetic(r);
  r.f_glucose_check_done = '1';
  r.f_fasting_glucose = 110;
  r.f_postprandial_glucose = 160;
}
void HbA1cDone(AssessmentRecord& r) {
  Diabetic(r);
  r.f_hba1c_done = '1';
  r.f_hba1c = 6.5f;
  SetText(r.f_hba1c_date, "20240110");
}

// The parser stores tenths as the nearest float of digits / 10.
float Tenths(int digits) {
  return static_cast<float>(digits / 10.0);
}

TEST(SectionF, NoDiabetesLeavesTheBlockEmpty) {
  const Case cases[] = {
      {"diabetes 2", "090", [](AssessmentRecord& r) { r.f_diabetes = '2'; },
       u8"오류-[F.질병진단][1.a.당뇨] 0~1 사이 숫자를 입력하시오"},
      {"glucose flag 0", "089", [](AssessmentRecord& r) { r.f_glucose_check_done = '0'; },
       u8"오류-[F.질병진단][1.a.혈당 체크 실시여부] space를 입력하시오"},
      {"glucose flag 0 and a fasting value: the flag first", "091",
       [](AssessmentRecord& r) {
         r.f_glucose_check_done = '0';
         r.f_fasting_glucose = 120;
       },
       u8"오류-[F.질병진단][1.a.혈당 체크 실시여부] space를 입력하시오"},
      {"fasting 120", "090", [](AssessmentRecord& r) { r.f_fasting_glucose = 120; },
       u8"오류-[F.질병진단][1.a.당뇨] 당뇨 미실시의 경우 혈당 0을 입력하시오."},
      {"after-meal 140", "010", [](AssessmentRecord& r) { r.f_postprandial_glucose = 140; },
       u8"오류-[F.질병진단][1.a.당뇨] 당뇨 미실시의 경우 혈당 0을 입력하시오."},
      {"HbA1c flag 0", "092", [](AssessmentRecord& r) { r.f_hba1c_done = '0'; },
       u8"오류-[F.질병진단][1.HbAlc 실시여부] space를 입력하시오"},
      {"HbA1c 6.5", "123", [](AssessmentRecord& r) { r.f_hba1c = 6.5f; },
       u8"오류-[F.질병진단][1.HbAlc] 미실시의 경우 HbAlc 0을 입력하시오."},
      {"HbA1c 6.5 and a date: the value first", "013",
       [](AssessmentRecord& r) {
         r.f_hba1c = 6.5f;
         SetText(r.f_hba1c_date, "20240110");
       },
       u8"오류-[F.질병진단][1.HbAlc] 미실시의 경우 HbAlc 0을 입력하시오."},
      {"HbA1c date", "090", [](AssessmentRecord& r) { SetText(r.f_hba1c_date, "20240110"); },
       u8"오류-[F.질병진단][1.HbAlc] 미실시의 경우 검사일 \"00000000\"을 입력하시오."},
  };
  for (const Case& c : cases) ExpectVerdict(c);
}

TEST(SectionF, DiabetesGlucoseCheck) {
  const Case cases[] = {
      {"diabetic, nothing tested", "090", Diabetic, u8""},
      {"glucose flag blank", "123",
       [](AssessmentRecord& r) {
         Diabetic(r);
         r.f_glucose_check_done = ' ';
       },
       u8"오류-[F.질병진단][1.a.혈당 체크 실시여부] 0~1 사이값을 입력하시오"},
      {"not checked, fasting 120", "091",
       [](AssessmentRecord& r) {
         Diabetic(r);
         r.f_fasting_glucose = 120;
       },
       u8"오류-[F.질병진단][1.a.당뇨] 당뇨 미실시의 경우 혈당 0을 입력하시오."},
      {"not checked, after-meal 1", "089",
       [](AssessmentRecord& r) {
         Diabetic(r);
         r.f_postprandial_glucose = 1;
       },
       u8"오류-[F.질병진단][1.a.당뇨] 당뇨 미실시의 경우 혈당 0을 입력하시오."},
      {"checked, both values", "092", GlucoseChecked, u8""},
      {"checked, both 0", "090",
       [](AssessmentRecord& r) {
         GlucoseChecked(r);
         r.f_fasting_glucose = 0;
         r.f_postprandial_glucose = 0;
       },
       u8"오류-[F.질병진단][1.a.당뇨] 공복시/식후 2시간 혈당중 적어도 하나는 1 이상이어야 "
       u8"합니다."},
      {"checked, fasting 0 and after-meal 140", "010",
       [](AssessmentRecord& r) {
         GlucoseChecked(r);
         r.f_fasting_glucose = 0;
         r.f_postprandial_glucose = 140;
       },
       u8""},
      {"checked, both 999", "091",
       [](AssessmentRecord& r) {
         GlucoseChecked(r);
         r.f_fasting_glucose = 999;
         r.f_postprandial_glucose = 999;
       },
       u8""},
      {"checked, fasting 1000", "090",
       [](AssessmentRecord& r) {
         GlucoseChecked(r);
         r.f_fasting_glucose = 1000;
       },
       u8"오류-[F.질병진단][1.a.공복시혈당] 0~999 사이 숫자를 입력하시오"},
      {"checked, fasting -1", "011",
       [](AssessmentRecord& r) {
         GlucoseChecked(r);
         r.f_fasting_glucose = -1;
       },
       u8"오류-[F.질병진단][1.a.공복시혈당] 0~999 사이 숫자를 입력하시오"},
      {"checked, after-meal 1000", "012",
       [](AssessmentRecord& r) {
         GlucoseChecked(r);
         r.f_postprandial_glucose = 1000;
       },
       u8"오류-[F.질병진단][1.a.식후 2시간 혈당] 0~999 사이 숫자를 입력하시오"},
  };
  for (const Case& c : cases) ExpectVerdict(c);
}

TEST(SectionF, DiabetesHbA1c) {
  const Case cases[] = {
      {"HbA1c flag 2", "090",
       [](AssessmentRecord& r) {
         Diabetic(r);
         r.f_hba1c_done = '2';
       },
       u8"오류-[F.질병진단][1.HbAlc 실시여부] 0~1 사이값을 입력하시오"},
      {"not done, 6.5", "089",
       [](AssessmentRecord& r) {
         Diabetic(r);
         r.f_hba1c = 6.5f;
       },
       u8"오류-[F.질병진단][1.HbAlc] 미실시의 경우 HbAlc 0을 입력하시오."},
      {"not done, a date", "092",
       [](AssessmentRecord& r) {
         Diabetic(r);
         SetText(r.f_hba1c_date, "20240110");
       },
       u8"오류-[F.질병진단][1.HbAlc] 미실시의 경우 검사일 \"00000000\"을 입력하시오."},
      {"done, 6.5", "123", HbA1cDone, u8""},
      {"done, 0.1", "090",
       [](AssessmentRecord& r) {
         HbA1cDone(r);
         r.f_hba1c = Tenths(1);
       },
       u8""},
      {"done, 99.9", "010",
       [](AssessmentRecord& r) {
         HbA1cDone(r);
         r.f_hba1c = Tenths(999);
       },
       u8""},
      {"done, 0.0", "091",
       [](AssessmentRecord& r) {
         HbA1cDone(r);
         r.f_hba1c = 0.0f;
       },
       u8"오류-[F.질병진단][1.HbAlc] 0.1~99.9 사이 숫자를 입력하시오"},
      {"done, 100.0", "090",
       [](AssessmentRecord& r) {
         HbA1cDone(r);
         r.f_hba1c = Tenths(1000);
       },
       u8"오류-[F.질병진단][1.HbAlc] 0.1~99.9 사이 숫자를 입력하시오"},
      {"done, absent date", "013",
       [](AssessmentRecord& r) {
         HbA1cDone(r);
         SetText(r.f_hba1c_date, "00000000");
       },
       u8"오류-[F.질병진단][1.HbAlc 검사일]"},
      {"glucose is checked before HbA1c", "092",
       [](AssessmentRecord& r) {
         HbA1cDone(r);
         r.f_hba1c = 0.0f;
         r.f_fasting_glucose = 50;
       },
       u8"오류-[F.질병진단][1.a.당뇨] 당뇨 미실시의 경우 혈당 0을 입력하시오."},
  };
  for (const Case& c : cases) ExpectVerdict(c);
}

TEST(SectionF, DiseasesBToU) {
  const Case cases[] = {
      {"encephalopathy 2", "089",
       [](AssessmentRecord& r) { r.f_subacute_necrotising_encephalopathy = '2'; },
       u8"오류-[F.질병진단][1.u.아급성 괴사성 뇌병증] 0~1 사이 숫자를 입력하시오"},
      {"the list is checked before the end of the list", "091",
       [](AssessmentRecord& r) {
         r.f_hemiplegia = '2';
         r.f_dementia = '2';
       },
       u8"오류-[F.질병진단][1.g.편마비] 0~1 사이 숫자를 입력하시오"},
  };
  for (const Case& c : cases) ExpectVerdict(c);
}

TEST(SectionF, BaseLayoutEndsTheListWithNoneApplies) {
  const Case cases[] = {
      {"none-applies 2", "123", [](AssessmentRecord& r) { r.f_aids = '2'; },
       u8"오류-[F.질병진단][1.v.해당사항 없음] 0~1 사이 숫자를 입력하시오"},
      {"no diagnosis, none-applies 0", "123", [](AssessmentRecord& r) { r.f_aids = '0'; },
       u8"오류-[F.질병진단][1.v.해당사항 없음] 해당사항 없음이 1이어야 합니다."},
      {"hypertension, none-applies 1", "123", [](AssessmentRecord& r) { r.f_hypertension = '1'; },
       u8"오류-[F.질병진단][1.v.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
      {"last disease, none-applies 1", "123",
       [](AssessmentRecord& r) { r.f_subacute_necrotising_encephalopathy = '1'; },
       u8"오류-[F.질병진단][1.v.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
      {"diabetes counts as a diagnosis", "123",
       [](AssessmentRecord& r) {
         Diabetic(r);
         r.f_aids = '1';
       },
       u8"오류-[F.질병진단][1.v.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
      {"hypertension, none-applies 0", "123",
       [](AssessmentRecord& r) {
         r.f_hypertension = '1';
         r.f_aids = '0';
       },
       u8""},
      {"the later families' items are not read", "123",
       [](AssessmentRecord& r) {
         r.f_diseases_none_089 = 'X';
         SetEach(r, {field_groups::kDiseasesFrom090}, '1');
       },
       u8""},
  };
  for (const Case& c : cases) ExpectVerdict(c);
}

TEST(SectionF, Family089EndsTheListWithAidsAndNoneApplies) {
  const Case cases[] = {
      {"AIDS 2", "089", [](AssessmentRecord& r) { r.f_aids = '2'; },
       u8"오류-[F.질병진단][1.v.후천선면역결핍증] 0~1 사이 숫자를 입력하시오"},
      {"none-applies 2", "010", [](AssessmentRecord& r) { r.f_diseases_none_089 = '2'; },
       u8"오류-[F.질병진단][1.w.해당사항 없음] 0~1 사이 숫자를 입력하시오"},
      {"no diagnosis, none-applies 0", "089",
       [](AssessmentRecord& r) { r.f_diseases_none_089 = '0'; },
       u8"오류-[F.질병진단][1.w.해당사항 없음] 해당사항 없음이 1이어야 합니다."},
      {"AIDS, none-applies 1", "010", [](AssessmentRecord& r) { r.f_aids = '1'; },
       u8"오류-[F.질병진단][1.w.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
      {"AIDS, none-applies 0", "089",
       [](AssessmentRecord& r) {
         r.f_aids = '1';
         r.f_diseases_none_089 = '0';
       },
       u8""},
      {"diabetes, none-applies 1", "010",
       [](AssessmentRecord& r) {
         Diabetic(r);
         r.f_diseases_none_089 = '1';
       },
       u8"오류-[F.질병진단][1.w.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
      {"the later families' items are not read", "089",
       [](AssessmentRecord& r) { SetEach(r, {field_groups::kDiseasesFrom090}, 'X'); }, u8""},
  };
  for (const Case& c : cases) ExpectVerdict(c);
}

// The assessment date and its predecessors, so that the date rule of F.1.v can
// be tried around 1 March 2015.
template <const char* kDate>
void AidsWrittenOn(AssessmentRecord& r) {
  SetText(r.a_admission_date, "20150101");
  SetText(r.a_care_start_date, "20150101");
  SetText(r.a_assessment_date, kDate);
  SetText(r.h_weight_date, kDate);
  SetText(r.h_height_date, kDate);
  r.f_aids = '1';
  DiseasesNone(r) = '0';
}
constexpr char kFebruary28[] = "20150228";
constexpr char kMarch1[] = "20150301";

TEST(SectionF, AidsBeforeMarch2015OnlyIn089) {
  const Case cases[] = {
      {"written 28 February 2015", "089", AidsWrittenOn<kFebruary28>,
       u8"오류-[F.질병진단][1.v.후천선면역결핍증] 작성일자가 2015.3 1일 이전 이므로 0 숫자를 "
       u8"입력하시오"},
      {"written 28 February 2015", "010", AidsWrittenOn<kFebruary28>,
       u8"오류-[F.질병진단][1.v.후천선면역결핍증] 작성일자가 2015.3 1일 이전 이므로 0 숫자를 "
       u8"입력하시오"},
      {"written 1 March 2015", "089", AidsWrittenOn<kMarch1>, u8""},
      {"written 28 February 2015", "090", AidsWrittenOn<kFebruary28>, u8""},
      {"written 28 February 2015", "092", AidsWrittenOn<kFebruary28>, u8""},
      {"no AIDS, written 28 February 2015", "089",
       [](AssessmentRecord& r) {
         AidsWrittenOn<kFebruary28>(r);
         r.f_aids = '0';
         r.f_hypertension = '1';
       },
       u8""},
      {"the date rule comes after the none-applies range", "089",
       [](AssessmentRecord& r) {
         AidsWrittenOn<kFebruary28>(r);
         r.f_diseases_none_089 = '2';
       },
       u8"오류-[F.질병진단][1.w.해당사항 없음] 0~1 사이 숫자를 입력하시오"},
      {"the date rule comes before the none-applies rule", "010",
       [](AssessmentRecord& r) {
         AidsWrittenOn<kFebruary28>(r);
         r.f_diseases_none_089 = '1';
       },
       u8"오류-[F.질병진단][1.v.후천선면역결핍증] 작성일자가 2015.3 1일 이전 이므로 0 숫자를 "
       u8"입력하시오"},
  };
  for (const Case& c : cases) ExpectVerdict(c);
}

TEST(SectionF, From090EndsTheListAtAb) {
  const Case cases[] = {
      {"AIDS 2", "090", [](AssessmentRecord& r) { r.f_aids = '2'; },
       u8"오류-[F.질병진단][1.v.후천선면역결핍증] 0~1 사이 숫자를 입력하시오"},
      {"dementia 2", "011", [](AssessmentRecord& r) { r.f_dementia = '2'; },
       u8"오류-[F.질병진단][1.w.치매] 0~1 사이 숫자를 입력하시오"},
      {"none-applies 2", "013", [](AssessmentRecord& r) { r.f_diseases_none = '2'; },
       u8"오류-[F.질병진단][1.ab.해당사항 없음] 0~1 사이 숫자를 입력하시오"},
      {"no diagnosis, none-applies 0", "090", [](AssessmentRecord& r) { r.f_diseases_none = '0'; },
       u8"오류-[F.질병진단][1.ab.해당사항 없음] 해당사항 없음이 1이어야 합니다."},
      {"hyperlipidaemia, none-applies 1", "091",
       [](AssessmentRecord& r) { r.f_hyperlipidaemia = '1'; },
       u8"오류-[F.질병진단][1.ab.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
      {"hyperlipidaemia, none-applies 0", "091",
       [](AssessmentRecord& r) {
         r.f_hyperlipidaemia = '1';
         r.f_diseases_none = '0';
       },
       u8""},
      {"AIDS, none-applies 1", "012", [](AssessmentRecord& r) { r.f_aids = '1'; },
       u8"오류-[F.질병진단][1.ab.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
      {"asthma, none-applies 1", "090", [](AssessmentRecord& r) { r.f_asthma = '1'; },
       u8"오류-[F.질병진단][1.ab.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
      {"the 089 none-applies item is not read", "092",
       [](AssessmentRecord& r) { r.f_diseases_none_089 = 'X'; }, u8""},
  };
  for (const Case& c : cases) ExpectVerdict(c);
}

TEST(SectionF, Malnutrition) {
  const Case cases[] = {
      {"none-applies 2", "089", [](AssessmentRecord& r) { r.f_malnutrition_none = '2'; },
       u8"오류-[F.질병진단][1.h.해당사항 없음] 0~1 사이 숫자를 입력하시오"},
      {"no diagnosis, none-applies 0", "091",
       [](AssessmentRecord& r) { r.f_malnutrition_none = '0'; },
       u8"오류-[F.질병진단][2.h.해당사항 없음] 해당사항 없음이 1이어야 합니다."},
      {"severe malnutrition, none-applies 1", "010",
       [](AssessmentRecord& r) { r.f_severe_malnutrition = '1'; },
       u8"오류-[F.질병진단][2.h.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
      {"last diagnosis, none-applies 1", "092",
       [](AssessmentRecord& r) { r.f_unspecified_malnutrition = '1'; },
       u8"오류-[F.질병진단][2.h.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
      {"severe malnutrition, none-applies 0", "123",
       [](AssessmentRecord& r) {
         r.f_severe_malnutrition = '1';
         r.f_malnutrition_none = '0';
       },
       u8""},
      {"F.1 is checked before F.2", "090",
       [](AssessmentRecord& r) {
         r.f_kwashiorkor = '2';
         r.f_diseases_none = '0';
       },
       u8"오류-[F.질병진단][1.ab.해당사항 없음] 해당사항 없음이 1이어야 합니다."},
  };
  for (const Case& c : cases) ExpectVerdict(c);
}

}  // namespace
}  // namespace grouper
