// Section G through the whole validator: valid records of each family with
// one item changed, checked for the first message (or none).
#include <gtest/gtest.h>

#include <string>

#include "record/assessment_record.h"
#include "support/cp949.h"
#include "support/record_builder.h"
#include "support/validation_case.h"
#include "validate/record_validator.h"

namespace grouper {
namespace {

using namespace testing;  // the test support of this project, not GoogleTest
using Case = ValidationCase;
using R = AssessmentRecord;

TEST(SectionG, ValidRecordsOfEveryFamilyPass) {
  for (const char* code : {"123", "089", "010", "090", "011", "091", "012", "092", "013"}) {
    ExpectOutcomes({{"baseline", code, [](R&) {}, nullptr}});
  }
}

TEST(SectionG, EarlyFamiliesSkipTheFeverDetails) {
  for (const char* code : kEarly) {
    ExpectOutcomes({
        {"fever with details the layout does not carry", code,
         [](R& r) {
           r.g_fever = '1';
           r.g_conditions_none = '0';
           r.g_body_temperature = 150.0f;
           r.g_fever_workup = 'x';
           r.g_fever_days = 500;
         },
         nullptr},
        {"no fever with details the layout does not carry", code,
         [](R& r) {
           r.g_body_temperature = 36.5f;
           r.g_fever_workup = '0';
           r.g_fever_days = 3;
         },
         nullptr},
        {"fever out of range", code, [](R& r) { r.g_fever = '2'; },
         u8"오류-[G.건강상태][1.a.열] 0~1 사이 숫자를 입력하시오"},
    });
  }
}

TEST(SectionG, FeverDetailsFrom090) {
  for (const char* code : {"090", "011", "091", "012", "092", "013"}) {
    ExpectOutcomes({
        {"fever, 99.9 degrees, workup '1'", code,
         [](R& r) {
           r.g_fever = '1';
           r.g_body_temperature = 99.9f;
           r.g_fever_workup = '1';
           r.g_conditions_none_090 = '0';
           r.g_conditions_none_091 = '0';
         },
         nullptr},
        {"fever, 0 degrees, workup '0'", code,
         [](R& r) {
           r.g_fever = '1';
           r.g_fever_workup = '0';
           r.g_conditions_none_090 = '0';
           r.g_conditions_none_091 = '0';
         },
         nullptr},
        {"fever, 100.0 degrees", code,
         [](R& r) {
           r.g_fever = '1';
           r.g_body_temperature = 100.0f;
           r.g_fever_workup = ' ';  // reported later: the temperature comes first
         },
         u8"오류-[G.건강상태][1.a.열][1.체온] 0~99.9 사이 숫자를 입력하시오"},
        {"fever, -0.1 degrees", code,
         [](R& r) {
           r.g_fever = '1';
           r.g_body_temperature = -0.1f;
           r.g_fever_workup = '1';
         },
         u8"오류-[G.건강상태][1.a.열][1.체온] 0~99.9 사이 숫자를 입력하시오"},
        {"fever, workup blank", code,
         [](R& r) {
           r.g_fever = '1';
           r.g_body_temperature = 38.5f;
         },
         u8"오류-[G.건강상태][1.a.열][2. 발열 원인을 찾는 검사와 처치 시행 여부] 0~1 사이 숫자를 "
         u8"입력하시오"},
        {"no fever, 0.1 degrees", code,
         [](R& r) {
           r.g_body_temperature = 0.1f;
           r.g_fever_workup = '0';
         },
         u8"오류-[G.건강상태][1.a.열][1.체온] 열 미체크시 체온에 0을 입력하시오."},
        {"no fever, workup '0'", code, [](R& r) { r.g_fever_workup = '0'; },
         u8"오류-[G.건강상태][1.a.열][2. 발열 원인을 찾는 검사와 처치 시행 여부] space를 "
         u8"입력하시오"},
    });
  }
}

TEST(SectionG, FeverDaysOnlyFrom091) {
  for (const char* code : k090) {
    ExpectOutcomes({
        {"no fever, days the layout does not carry", code, [](R& r) { r.g_fever_days = 5; },
         nullptr},
        {"fever, days the layout does not carry", code,
         [](R& r) {
           r.g_fever = '1';
           r.g_body_temperature = 38.0f;
           r.g_fever_workup = '1';
           r.g_conditions_none_090 = '0';
           r.g_fever_days = 500;
         },
         nullptr},
    });
  }
  for (const char* code : kFrom091) {
    ExpectOutcomes({
        {"fever for 99 days", code,
         [](R& r) {
           r.g_fever = '1';
           r.g_body_temperature = 38.0f;
           r.g_fever_workup = '1';
           r.g_conditions_none_091 = '0';
           r.g_fever_days = 99;
         },
         nullptr},
        {"fever for 100 days", code,
         [](R& r) {
           r.g_fever = '1';
           r.g_body_temperature = 38.0f;
           r.g_fever_workup = '1';
           r.g_fever_days = 100;
         },
         u8"오류-[G.건강상태][1.a.열][3.발열일수] 0~99 사이 숫자를 입력하시오"},
        {"fever for -1 days", code,
         [](R& r) {
           r.g_fever = '1';
           r.g_body_temperature = 38.0f;
           r.g_fever_workup = '1';
           r.g_fever_days = -1;
         },
         u8"오류-[G.건강상태][1.a.열][3.발열일수] 0~99 사이 숫자를 입력하시오"},
        {"no fever for 1 day", code, [](R& r) { r.g_fever_days = 1; },
         u8"오류-[G.건강상태][1.a.열][3.발열일수] 열을 체크하지 않았을 경우 0을 입력하십시오 "},
    });
  }
}

TEST(SectionG, NoneOfTheAboveOfTheEarlyFamilies) {
  for (const char* code : kEarly) {
    ExpectOutcomes({
        {"dehydration and none-applies", code, [](R& r) { r.g_dehydration = '1'; },
         u8"오류-[G.건강상태][1.e.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
        {"nothing and none-applies '0'", code, [](R& r) { r.g_conditions_none = '0'; },
         u8"오류-[G.건강상태][1.e.해당사항 없음] 해당사항 없음이 1이어야 합니다."},
        {"internal bleeding alone", code,
         [](R& r) {
           r.g_internal_bleeding = '1';
           r.g_conditions_none = '0';
         },
         nullptr},
        {"ostomy care is no item of the early forms", code,
         [](R& r) {
           r.g_stoma_care_post_surgery_090 = '1';
           r.g_stoma_care_complication_091 = 'x';
           r.g_conditions_none_090 = 'x';
         },
         nullptr},
        {"internal bleeding '2'", code, [](R& r) { r.g_internal_bleeding = '2'; },
         u8"오류-[G.건강상태][1.d.체내출혈] 0~1 사이 숫자를 입력하시오"},
        {"none-applies blank", code, [](R& r) { r.g_conditions_none = ' '; },
         u8"오류-[G.건강상태][1.e.해당사항 없음] 0~1 사이 숫자를 입력하시오"},
    });
  }
}

TEST(SectionG, NoneOfTheAboveOf090) {
  for (const char* code : k090) {
    ExpectOutcomes({
        {"dehydration and none-applies", code, [](R& r) { r.g_dehydration = '1'; },
         u8"오류-[G.건강상태][1.g.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
        {"ostomy complication and none-applies", code,
         [](R& r) { r.g_stoma_care_complication_090 = '1'; },
         u8"오류-[G.건강상태][1.g.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
        {"nothing and none-applies '0'", code, [](R& r) { r.g_conditions_none_090 = '0'; },
         u8"오류-[G.건강상태][1.g.해당사항 없음] 해당사항 없음이 1이어야 합니다."},
        {"internal bleeding alone", code,
         [](R& r) {
           r.g_internal_bleeding = '1';
           r.g_conditions_none_090 = '0';
         },
         nullptr},
        {"ostomy after surgery alone", code,
         [](R& r) {
           r.g_stoma_care_post_surgery_090 = '1';
           r.g_conditions_none_090 = '0';
         },
         nullptr},
        {"the fields of the other forms are not read", code,
         [](R& r) {
           r.g_conditions_none = 'x';
           r.g_stoma_care_post_surgery_091 = '1';
           r.g_conditions_none_091 = 'x';
         },
         nullptr},
        {"ostomy after surgery '2'", code, [](R& r) { r.g_stoma_care_post_surgery_090 = '2'; },
         u8"오류-[G.건강상태][1.e.수술 3개월 이내 루 관리] 0~1 사이 숫자를 입력하시오"},
        {"ostomy complication '2'", code, [](R& r) { r.g_stoma_care_complication_090 = '2'; },
         u8"오류-[G.건강상태][1.f.출혈감염 등의 문제로 인한 루 관리] 0~1 사이 숫자를 입력하시오"},
        {"none-applies '2'", code, [](R& r) { r.g_conditions_none_090 = '2'; },
         u8"오류-[G.건강상태][1.g.해당사항 없음] 0~1 사이 숫자를 입력하시오"},
    });
  }
}

TEST(SectionG, NoneOfTheAboveFrom091) {
  for (const char* code : kFrom091) {
    ExpectOutcomes({
        {"dehydration and none-applies", code, [](R& r) { r.g_dehydration = '1'; },
         u8"오류-[G.건강상태][1.f.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
        {"ostomy after surgery and none-applies", code,
         [](R& r) { r.g_stoma_care_post_surgery_091 = '1'; },
         u8"오류-[G.건강상태][1.f.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
        {"nothing and none-applies '0'", code, [](R& r) { r.g_conditions_none_091 = '0'; },
         u8"오류-[G.건강상태][1.f.해당사항 없음] 해당사항 없음이 1이어야 합니다."},
        {"internal bleeding is no item from 091", code, [](R& r) { r.g_internal_bleeding = '1'; },
         nullptr},
        {"ostomy complication alone", code,
         [](R& r) {
           r.g_stoma_care_complication_091 = '1';
           r.g_conditions_none_091 = '0';
         },
         nullptr},
        {"ostomy after surgery '2'", code, [](R& r) { r.g_stoma_care_post_surgery_091 = '2'; },
         u8"오류-[G.건강상태][1.d.수술 3개월 이내 루 관리] 0~1 사이 숫자를 입력하시오"},
        {"ostomy complication '2'", code, [](R& r) { r.g_stoma_care_complication_091 = '2'; },
         u8"오류-[G.건강상태][1.e.출혈감염 등의 문제로 인한 루 관리] 0~1 사이 숫자를 입력하시오"},
        {"none-applies '2'", code, [](R& r) { r.g_conditions_none_091 = '2'; },
         u8"오류-[G.건강상태][1.f.해당사항 없음] 0~1 사이 숫자를 입력하시오"},
    });
  }
}

// The pain rule from 090, for both frequency fields.
void SetFrequency(R& r, char frequency) {
  r.g_pain_frequency_090 = frequency;
  r.g_pain_frequency_091 = frequency;
}

TEST(SectionG, PainRuleFrom090) {
  for (const char* code : {"090", "011", "091", "012", "092", "013"}) {
    ExpectOutcomes({
        {"no grade, frequency '0'", code, [](R&) {}, nullptr},
        {"no grade, frequency '2'", code, [](R& r) { SetFrequency(r, '2'); },
         u8"오류-[G.건강상태][2.a.통증 발생 빈도] 통증 발생 빈도가 0이어야 합니다. "},
        {"visual 3, frequency '0'", code, [](R& r) { r.g_pain_visual_scale = 3; },
         u8"오류-[G.건강상태][2.a.통증 발생 빈도] 통증 발생 빈도가 1 또는 2이어야 합니다."},
        {"faces 1, frequency '0'", code, [](R& r) { r.g_pain_faces_scale = 1; },
         u8"오류-[G.건강상태][2.a.통증 발생 빈도] 통증 발생 빈도가 1 또는 2이어야 합니다."},
        {"visual 3 and numeric 2", code,
         [](R& r) {
           SetFrequency(r, '1');
           r.g_pain_visual_scale = 3;
           r.g_pain_numeric_scale = 2;
         },
         u8"오류-[G.건강상태][2.a.통증 발생 빈도] 통증 강도는 3가지중 1가지만 값을 입력해야 "
         u8"합니다."},
        {"numeric 2 and faces 1", code,
         [](R& r) {
           SetFrequency(r, '2');
           r.g_pain_numeric_scale = 2;
           r.g_pain_faces_scale = 1;
         },
         u8"오류-[G.건강상태][2.a.통증 발생 빈도] 통증 강도는 3가지중 1가지만 값을 입력해야 "
         u8"합니다."},
        {"visual 10 alone", code,
         [](R& r) {
           SetFrequency(r, '1');
           r.g_pain_visual_scale = 10;
         },
         nullptr},
        {"numeric 10 alone", code,
         [](R& r) {
           SetFrequency(r, '2');
           r.g_pain_numeric_scale = 10;
         },
         nullptr},
        {"faces 5 alone", code,
         [](R& r) {
           SetFrequency(r, '1');
           r.g_pain_faces_scale = 5;
         },
         nullptr},
        // A single grade out of range passes the rule and fails its range.
        {"visual 11 alone", code,
         [](R& r) {
           SetFrequency(r, '1');
           r.g_pain_visual_scale = 11;
         },
         u8"오류-[G.건강상태][2.b.1.시각 통증 등급] 0~10 사이값을 입력하시오"},
        {"numeric 11 alone", code,
         [](R& r) {
           SetFrequency(r, '1');
           r.g_pain_numeric_scale = 11;
         },
         u8"오류-[G.건강상태][2.b.2.숫자 통증 등급] 0~10 사이값을 입력하시오"},
        {"faces 6 alone", code,
         [](R& r) {
           SetFrequency(r, '1');
           r.g_pain_faces_scale = 6;
         },
         u8"오류-[G.건강상태][2.b.3.얼굴 통증 등급] 0~5 사이값을 입력하시오"},
        {"frequency '3'", code, [](R& r) { SetFrequency(r, '3'); },
         u8"오류-[G.건강상태][2.a.통증발생빈도] 0~2 사이값을 입력하시오"},
        {"the early pain scales are not read", code,
         [](R& r) {
           r.g_pain_mild = '9';
           r.g_pain_moderate = ' ';
           r.g_pain_severe = 'x';
         },
         nullptr},
    });
  }
}

TEST(SectionG, PainRuleReadsTheFrequencyOfTheFamily) {
  for (const char* code : k090) {
    ExpectOutcomes({
        {"the 091 frequency is not read", code, [](R& r) { r.g_pain_frequency_091 = 'x'; },
         nullptr},
        {"grade with the 091 frequency only", code,
         [](R& r) {
           r.g_pain_frequency_091 = '1';
           r.g_pain_visual_scale = 4;
         },
         u8"오류-[G.건강상태][2.a.통증 발생 빈도] 통증 발생 빈도가 1 또는 2이어야 합니다."},
        {"the 091 treatments are not read", code,
         [](R& r) {
           r.g_pain_treatment_091 = 'x';
           r.g_cancer_pain_treatment_091 = 'x';
         },
         nullptr},
        {"cancer pain treatment '2'", code, [](R& r) { r.g_cancer_pain_treatment_090 = '2'; },
         u8"오류-[G.건강상태][2.c.암성통증 치료여부] 0~1 사이값을 입력하시오"},
    });
  }
  for (const char* code : kFrom091) {
    ExpectOutcomes({
        {"the 090 frequency is not read", code, [](R& r) { r.g_pain_frequency_090 = 'x'; },
         nullptr},
        {"grade with the 090 frequency only", code,
         [](R& r) {
           r.g_pain_frequency_090 = '1';
           r.g_pain_numeric_scale = 4;
         },
         u8"오류-[G.건강상태][2.a.통증 발생 빈도] 통증 발생 빈도가 1 또는 2이어야 합니다."},
        {"the 090 treatment is not read", code, [](R& r) { r.g_cancer_pain_treatment_090 = 'x'; },
         nullptr},
        {"pain treatment '2'", code, [](R& r) { r.g_pain_treatment_091 = '2'; },
         u8"오류-[G.건강상태][2.c.1.통증치료] 0~1 사이값을 입력하시오"},
        {"cancer pain treatment '2'", code, [](R& r) { r.g_cancer_pain_treatment_091 = '2'; },
         u8"오류-[G.건강상태][2.c.2.암성통증 치료여부] 0~1 사이값을 입력하시오"},
    });
  }
}

TEST(SectionG, EarlyPainScales) {
  for (const char* code : kEarly) {
    ExpectOutcomes({
        {"grades and frequencies of later forms are not read", code,
         [](R& r) {
           r.g_pain_frequency_090 = 'x';
           r.g_pain_frequency_091 = 'x';
           r.g_pain_visual_scale = 3;
           r.g_pain_numeric_scale = 40;
           r.g_cancer_pain_treatment_090 = 'x';
           r.g_pain_treatment_091 = 'x';
         },
         nullptr},
        {"mild '3'", code, [](R& r) { r.g_pain_mild = '3'; },
         u8"오류-[G.건강상태][2.a.경미한 통증] 0~2 사이값을 입력하시오"},
    });
  }
}

// The last items run in every family's branch.
TEST(SectionG, TerminalIllnessIsCheckedInEveryFamily) {
  for (const char* code : {"123", "089", "010", "090", "011", "091", "012", "092", "013"}) {
    ExpectOutcomes({{"terminal illness '2'", code, [](R& r) { r.g_end_stage_disease = '2'; },
                     u8"오류-[G.건강상태][4.말기질환] 0~1 사이값을 입력하시오"}});
  }
}

}  // namespace
}  // namespace grouper
