// Section I through the whole validator: valid records of each family with
// one item changed, checked for the first message (or none).
#include <gtest/gtest.h>

#include <cstring>
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

// A skin treatment given: the family's none-applies flag of I.5 drops to '0'.
void TreatmentGiven(R& r) {
  r.i_skin_treatment_g = '0';
  r.i_skin_treatment_none_091 = '0';
}

TEST(SectionI, UlcerCountsAndNewUlcer) {
  for (const char* code : kEveryCode) {
    ExpectOutcomes({
        {"counts of 99", code,
         [](R& r) {
           r.i_pressure_ulcer_stage1 = 99;
           r.i_stasis_ulcer_stage4 = 99;
         },
         nullptr},
        {"pressure ulcers at stage 1: 100", code, [](R& r) { r.i_pressure_ulcer_stage1 = 100; },
         u8"오류-[I.피부상태][1.a.1단계(욕창(압박성 궤양))] 0~99 사이 숫자를 입력하시오"},
        {"stasis ulcers at stage 1: 100", code, [](R& r) { r.i_stasis_ulcer_stage1 = 100; },
         u8"오류-[I.피부상태][1.a.1단계(울혈성 또는 어혈성 궤양)] 0~99 사이 숫자를 입력하시오"},
        {"stasis ulcers at stage 4: 100", code, [](R& r) { r.i_stasis_ulcer_stage4 = 100; },
         u8"오류-[I.피부상태][1.d.4단계(울혈성 또는 어혈성 궤양)] 0~99 사이 숫자를 입력하시오"},
        {"new ulcer with its date", code,
         [](R& r) {
           r.i_new_pressure_ulcer = '1';
           SetText(r.i_new_pressure_ulcer_date, "20240105");
         },
         nullptr},
        {"new ulcer with the absent date", code, [](R& r) { r.i_new_pressure_ulcer = '1'; },
         u8"오류-[I.피부상태][2.새로발생한 욕창-발생일]"},
        {"no new ulcer with a date", code,
         [](R& r) { SetText(r.i_new_pressure_ulcer_date, "20150301"); },
         u8"오류-[I.피부상태][2.새로 발생한 욕창]이 없을 경우 발생일 \"00000000\"을 입력하시오."},
        {"new ulcer '2'", code, [](R& r) { r.i_new_pressure_ulcer = '2'; },
         u8"오류-[I.피부상태][2.새로발생한 욕창-발생 여부] 0~1 사이값을 입력하시오"},
    });
  }
}

TEST(SectionI, SkinProblemsAndTheirNoneOfTheAbove) {
  for (const char* code : kEveryCode) {
    ExpectOutcomes({
        {"burns and none-applies", code, [](R& r) { r.i_burns = '1'; },
         u8"오류-[I.피부상태][4.e.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
        {"foot infection and none-applies", code, [](R& r) { r.i_foot_infection = '1'; },
         u8"오류-[I.피부상태][4.e.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
        {"nothing and none-applies '0'", code, [](R& r) { r.i_skin_problems_none = '0'; },
         u8"오류-[I.피부상태][4.e.해당사항 없음] 해당사항 없음이 1이어야 합니다."},
        {"surgical wound alone", code,
         [](R& r) {
           r.i_surgical_wound = '1';
           r.i_skin_problems_none = '0';
         },
         nullptr},
        {"open lesion '2'", code, [](R& r) { r.i_open_lesions = '2'; },
         u8"오류-[I.피부상태][4.b.개방성 피부병변] 0~1 사이 숫자를 입력하시오"},
        {"none-applies blank", code, [](R& r) { r.i_skin_problems_none = ' '; },
         u8"오류-[I.피부상태][4.e.해당사항 없음] 0~1 사이 숫자를 입력하시오"},
    });
  }
}

void OpenLesion(R& r) {
  r.i_open_lesions = '1';
  r.i_skin_problems_none = '0';
}

TEST(SectionI, OpenLesionSitesOnlyInTheEarlyFamilies) {
  for (const char* code : kEarly) {
    ExpectOutcomes({
        {"lesion on the foot", code,
         [](R& r) {
           OpenLesion(r);
           r.i_open_lesions_foot = '1';
         },
         nullptr},
        {"lesion elsewhere", code,
         [](R& r) {
           OpenLesion(r);
           r.i_open_lesions_other = '1';
         },
         nullptr},
        {"lesion without a site", code, [](R& r) { OpenLesion(r); },
         u8"오류-[I.피부상태][4.b.개방성 피부병변]이 있을 경우 부위값중 적어도 하나는 1이어야 "
         u8"합니다."},
        {"lesion, foot blank", code,
         [](R& r) {
           OpenLesion(r);
           r.i_open_lesions_foot = ' ';
           r.i_open_lesions_other = '1';
         },
         u8"오류-[I.피부상태][4.b.개방성 피부병변 - 발] 0~1 사이 숫자를 입력하시오"},
        {"lesion, other site '2'", code,
         [](R& r) {
           OpenLesion(r);
           r.i_open_lesions_foot = '1';
           r.i_open_lesions_other = '2';
         },
         u8"오류-[I.피부상태][4.b.개방성 피부병변 - 발 이외] 0~1 사이 숫자를 입력하시오"},
        {"no lesion, other site '1'", code, [](R& r) { r.i_open_lesions_other = '1'; },
         u8"오류-[I.피부상태][4.b.개방성 피부병변]이 없는 경우 부위값은 모두 0이어야 합니다."},
        {"no lesion, foot blank", code, [](R& r) { r.i_open_lesions_foot = ' '; },
         u8"오류-[I.피부상태][4.b.개방성 피부병변]이 없는 경우 부위값은 모두 0이어야 합니다."},
    });
  }
  for (const char* code : kFrom090) {
    ExpectOutcomes({
        {"lesion without a site", code, [](R& r) { OpenLesion(r); }, nullptr},
        {"no lesion, sites the layout does not carry", code,
         [](R& r) {
           r.i_open_lesions_foot = ' ';
           r.i_open_lesions_other = '1';
         },
         nullptr},
    });
  }
}

TEST(SectionI, DressingSitesInEveryFamily) {
  for (const char* code : kEveryCode) {
    ExpectOutcomes({
        {"ulcer dressing elsewhere", code,
         [](R& r) {
           TreatmentGiven(r);
           r.i_ulcer_dressing = '1';
           r.i_ulcer_dressing_other = '1';
         },
         nullptr},
        {"ulcer dressing without a site", code,
         [](R& r) {
           TreatmentGiven(r);
           r.i_ulcer_dressing = '1';
         },
         u8"오류-[I.피부상태][5.d.피부궤양 드레싱]이 있을 경우 부위값중 적어도 하나는 1이어야 "
         u8"합니다."},
        {"ulcer dressing, foot '2'", code,
         [](R& r) {
           TreatmentGiven(r);
           r.i_ulcer_dressing = '1';
           r.i_ulcer_dressing_foot = '2';
         },
         u8"오류-[I.피부상태][5.d.피부궤양 드레싱-발] 0~1 사이 숫자를 입력하시오"},
        {"ulcer dressing, other site blank", code,
         [](R& r) {
           TreatmentGiven(r);
           r.i_ulcer_dressing = '1';
           r.i_ulcer_dressing_foot = '1';
           r.i_ulcer_dressing_other = ' ';
         },
         u8"오류-[I.피부상태][5.d.피부궤양 드레싱-발 이외] 0~1 사이 숫자를 입력하시오"},
        {"no ulcer dressing, foot blank", code, [](R& r) { r.i_ulcer_dressing_foot = ' '; },
         u8"오류-[I.피부상태][5.d.피부궤양 드레싱]이 없는 경우 부위값은 모두 0이어야 합니다."},
        {"no ulcer dressing, other site '1'", code, [](R& r) { r.i_ulcer_dressing_other = '1'; },
         u8"오류-[I.피부상태][5.d.피부궤양 드레싱]이 없는 경우 부위값은 모두 0이어야 합니다."},
        {"other dressing on the foot", code,
         [](R& r) {
           TreatmentGiven(r);
           r.i_other_dressing = '1';
           r.i_other_dressing_foot = '1';
         },
         nullptr},
        {"other dressing without a site", code,
         [](R& r) {
           TreatmentGiven(r);
           r.i_other_dressing = '1';
         },
         u8"오류-[I.피부상태][5.e.피부궤양 이외의 드레싱]이 있을 경우 부위값중 적어도 하나는 "
         u8"1이어야 합니다."},
        {"other dressing, foot blank", code,
         [](R& r) {
           TreatmentGiven(r);
           r.i_other_dressing = '1';
           r.i_other_dressing_foot = ' ';
           r.i_other_dressing_other = '1';
         },
         u8"오류-[I.피부상태][5.e.피부궤양 이외의 드레싱-발] 0~1 사이 숫자를 입력하시오"},
        {"other dressing, other site '2'", code,
         [](R& r) {
           TreatmentGiven(r);
           r.i_other_dressing = '1';
           r.i_other_dressing_other = '2';
         },
         u8"오류-[I.피부상태][5.e.피부궤양 이외의 드레싱-발 이외] 0~1 사이 숫자를 입력하시오"},
        {"no other dressing, other site '1'", code, [](R& r) { r.i_other_dressing_other = '1'; },
         u8"오류-[I.피부상태][5.e.피부궤양 이외의 드레싱]이 없는 경우 부위값은 모두 0이어야 "
         u8"합니다."},
    });
  }
}

TEST(SectionI, TreatmentsNoneUpTo090) {
  for (const char* code : {"123", "089", "010", "090", "011"}) {
    ExpectOutcomes({
        {"nothing and 5.g '0'", code, [](R& r) { r.i_skin_treatment_g = '0'; },
         u8"오류-[I.피부상태][5.g.해당사항 없음] 해당사항 없음이 1이어야 합니다."},
        {"repositioning and 5.g '1'", code, [](R& r) { r.i_turning_repositioning = '1'; },
         u8"오류-[I.피부상태][5.g.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
        {"surgical wound care alone", code,
         [](R& r) {
           r.i_surgical_wound_care = '1';
           r.i_skin_treatment_g = '0';
         },
         nullptr},
        {"5.h is no item before 091", code, [](R& r) { r.i_skin_treatment_none_091 = 'x'; },
         nullptr},
        {"5.g blank", code, [](R& r) { r.i_skin_treatment_g = ' '; },
         u8"오류-[I.피부상태][5.g.해당사항 없음] 0~1 사이 숫자를 입력하시오"},
    });
  }
}

TEST(SectionI, TreatmentsNoneFrom091) {
  for (const char* code : kFrom091) {
    ExpectOutcomes({
        {"5.g given and 5.h '1'", code, [](R& r) { r.i_skin_treatment_g = '1'; },
         u8"오류-[I.피부상태][5.h.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
        {"5.g given and 5.h '0'", code,
         [](R& r) {
           r.i_skin_treatment_g = '1';
           r.i_skin_treatment_none_091 = '0';
         },
         nullptr},
        {"repositioning and 5.h '1'", code, [](R& r) { r.i_turning_repositioning = '1'; },
         u8"오류-[I.피부상태][5.h.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
        {"nothing and 5.h '0'", code, [](R& r) { r.i_skin_treatment_none_091 = '0'; },
         u8"오류-[I.피부상태][5.h.해당사항 없음] 해당사항 없음이 1이어야 합니다."},
        {"5.h '2'", code, [](R& r) { r.i_skin_treatment_none_091 = '2'; },
         u8"오류-[I.피부상태][5.h.해당사항 없음] 0~1 사이 숫자를 입력하시오"},
        // 5.g is a treatment here, but its range message is the old one.
        {"5.g blank", code, [](R& r) { r.i_skin_treatment_g = ' '; },
         u8"오류-[I.피부상태][5.g.해당사항 없음] 0~1 사이 숫자를 입력하시오"},
    });
  }
}

}  // namespace
}  // namespace grouper
