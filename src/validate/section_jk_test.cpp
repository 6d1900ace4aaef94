// Sections J and K and the signatures through the whole validator: valid
// records of each family with one item changed, checked for the first message
// (or none), and the names as the validator leaves them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "record/assessment_record.h"
#include "support/cp949.h"
#include "support/record_builder.h"
#include "support/validation_case.h"
#include "validate/names.h"
#include "validate/record_validator.h"

namespace grouper {
namespace {

using namespace testing;  // the test support of this project, not GoogleTest
using Case = ValidationCase;
using R = AssessmentRecord;

// A special treatment given: the family's none-applies flag of K.1 drops to '0'.
void TreatmentGiven(R& r) {
  r.k_treatments_none = '0';
  r.k_treatments_none_091 = '0';
}

TEST(SectionsJK, MedicationItemsFrom090) {
  for (const char* code : kEveryCode) {
    ExpectOutcomes({{"injections '3'", code, [](R& r) { r.j_injection_count = '3'; },
                     u8"오류-[J.투약][1.주사제 투여 횟수] 0~2 사이값을 입력하시오"}});
  }
  for (const char* code : kFrom090) {
    ExpectOutcomes({
        {"behaviour drugs '2'", code, [](R& r) { r.j_behaviour_drug_treatment = '2'; },
         u8"오류-[J.투약][2.망각, 환각, 초조공격성, 탈억제, 케어에 대한 저항, 배회에 대한 약물 "
         u8"치료 여부] 0~1 사이값을 입력하시오"},
        {"daily medicines '4'", code, [](R& r) { r.j_daily_medication_count = '4'; }, nullptr},
        {"daily medicines '5'", code, [](R& r) { r.j_daily_medication_count = '5'; },
         u8"오류-[J.투약][4.지난 7일 동안 매일 복용한 의약품 수] 0~4 사이값을 입력하시오"},
    });
  }
  for (const char* code : kEarly) {
    ExpectOutcomes({{"items the early forms do not have", code,
                     [](R& r) {
                       r.j_behaviour_drug_treatment = 'x';
                       r.j_dementia_drug = ' ';
                       r.j_daily_medication_count = '9';
                     },
                     nullptr}});
  }
}

TEST(SectionsJK, IntravenousMedicationDaysFrom091) {
  for (const char* code : kFrom091) {
    ExpectOutcomes({
        {"no medication, 0 days", code, [](R&) {}, nullptr},
        {"no medication, 3 days", code, [](R& r) { r.k_iv_medication_days = 3; },
         u8"오류-[K.특수처치 및 전문재활치료][1.a.정맥주사에 의한 투약 일수] 정맥주사에 의한 "
         u8"투약을 체크하지 않았을 경우 0을 입력하시오"},
        // Without medication only the upper bound is a range fault.
        {"no medication, 100 days", code, [](R& r) { r.k_iv_medication_days = 100; },
         u8"오류-[K.특수처치 및 전문재활치료][1.a.정맥주사에 의한 투약 일수] 0~99 사이 숫자를 "
         u8"입력하시오"},
        {"no medication, -1 days", code, [](R& r) { r.k_iv_medication_days = -1; },
         u8"오류-[K.특수처치 및 전문재활치료][1.a.정맥주사에 의한 투약 일수] 정맥주사에 의한 "
         u8"투약을 체크하지 않았을 경우 0을 입력하시오"},
        {"medication, 0 days", code,
         [](R& r) {
           r.k_iv_medication = '1';
           TreatmentGiven(r);
         },
         nullptr},
        {"medication, 99 days", code,
         [](R& r) {
           r.k_iv_medication = '1';
           r.k_iv_medication_days = 99;
           TreatmentGiven(r);
         },
         nullptr},
        {"medication, 100 days", code,
         [](R& r) {
           r.k_iv_medication = '1';
           r.k_iv_medication_days = 100;
           TreatmentGiven(r);
         },
         u8"오류-[K.특수처치 및 전문재활치료][1.a.정맥주사에 의한 투약 일수] 0~99 사이 숫자를 "
         u8"입력하시오"},
        {"medication, -1 days", code,
         [](R& r) {
           r.k_iv_medication = '1';
           r.k_iv_medication_days = -1;
           TreatmentGiven(r);
         },
         u8"오류-[K.특수처치 및 전문재활치료][1.a.정맥주사에 의한 투약 일수] 0~99 사이 숫자를 "
         u8"입력하시오"},
    });
  }
  for (const char* code : {"123", "089", "090", "011"}) {
    ExpectOutcomes({
        {"days the layout does not carry", code, [](R& r) { r.k_iv_medication_days = 3; }, nullptr},
        {"medication, days the layout does not carry", code,
         [](R& r) {
           r.k_iv_medication = '1';
           r.k_iv_medication_days = 500;
           TreatmentGiven(r);
         },
         nullptr},
    });
  }
  for (const char* code : kEveryCode) {
    ExpectOutcomes({{"medication '2'", code, [](R& r) { r.k_iv_medication = '2'; },
                     u8"오류-[K.특수처치 및 전문재활치료][1.a.정맥주사에 의한 투약] 0~1 사이 "
                     u8"숫자를 입력하시오"}});
  }
}

void Oxygen(R& r) {
  r.k_oxygen_therapy = '1';
  TreatmentGiven(r);
}

TEST(SectionsJK, OxygenDetailsFrom090) {
  for (const char* code : kFrom090) {
    ExpectOutcomes({
        {"oxygen, saturation 0 and 0 days", code, [](R& r) { Oxygen(r); }, nullptr},
        {"oxygen, saturation 999.9 and 99 days", code,
         [](R& r) {
           Oxygen(r);
           r.k_oxygen_saturation = 999.9f;
           r.k_oxygen_days = 99;
         },
         nullptr},
        {"oxygen, saturation 1000.0", code,
         [](R& r) {
           Oxygen(r);
           r.k_oxygen_saturation = 1000.0f;
           r.k_oxygen_days = 100;  // reported later: the saturation comes first
         },
         u8"오류-[K.특수처치 및 전문재활치료][1.e.산소요법][1.산소포화도] 0~999.9 사이 숫자를 "
         u8"입력하시오"},
        {"oxygen, saturation -0.1", code,
         [](R& r) {
           Oxygen(r);
           r.k_oxygen_saturation = -0.1f;
         },
         u8"오류-[K.특수처치 및 전문재활치료][1.e.산소요법][1.산소포화도] 0~999.9 사이 숫자를 "
         u8"입력하시오"},
        {"oxygen, 100 days", code,
         [](R& r) {
           Oxygen(r);
           r.k_oxygen_days = 100;
         },
         u8"오류-[K.특수처치 및 전문재활치료][1.e.산소요법][2.산소투여일수] 0~99 사이 숫자를 "
         u8"입력하시오"},
        {"no oxygen, saturation 95.0", code,
         [](R& r) {
           r.k_oxygen_saturation = 95.0f;
           r.k_oxygen_days = 1;
         },
         u8"오류-[K.특수처치 및 전문재활치료][1.e.산소요법][1.산소포화도] 산소요법을 체크하지 "
         u8"않았을 경우 0을 입력하시오."},
        {"no oxygen, 1 day", code, [](R& r) { r.k_oxygen_days = 1; },
         u8"오류-[K.특수처치 및 전문재활치료][1.e.산소요법][2.산소투여일수] 산소요법을 체크하지 "
         u8"않았을 경우 0을 입력하시오."},
    });
  }
  for (const char* code : kEarly) {
    ExpectOutcomes({
        {"no oxygen, details the layout does not carry", code,
         [](R& r) {
           r.k_oxygen_saturation = 95.0f;
           r.k_oxygen_days = 3;
         },
         nullptr},
        {"oxygen, details the layout does not carry", code,
         [](R& r) {
           Oxygen(r);
           r.k_oxygen_saturation = 5000.0f;
           r.k_oxygen_days = 500;
         },
         nullptr},
    });
  }
  for (const char* code : kEveryCode) {
    ExpectOutcomes({
        {"oxygen blank", code, [](R& r) { r.k_oxygen_therapy = ' '; },
         u8"오류-[K.특수처치 및 전문재활치료][1.e.산소요법] 0~1 사이 숫자를 입력하시오"},
    });
  }
}

TEST(SectionsJK, VentilatorSitesOf090) {
  for (const char* code : k090) {
    ExpectOutcomes({
        {"hospital ventilator", code,
         [](R& r) {
           TreatmentGiven(r);
           r.k_ventilator = '1';
           r.k_ventilator_hospital = '1';
         },
         nullptr},
        {"ventilator without a site", code,
         [](R& r) {
           TreatmentGiven(r);
           r.k_ventilator = '1';
         },
         u8"오류-[K.특수처치 및 전문재활치료][1.인공호흡기]가 있을 경우 부위값중 적어도 하나는 "
         u8"1이어야 합니다."},
        {"ventilator, personal blank", code,
         [](R& r) {
           TreatmentGiven(r);
           r.k_ventilator = '1';
           r.k_ventilator_personal = ' ';
           r.k_ventilator_hospital = '1';
         },
         u8"오류-[K.특수처치 및 전문재활치료][1.j.인공호흡기][1.개인용] 0~1 사이 숫자를 "
         u8"입력하시오"},
        {"ventilator, hospital '2'", code,
         [](R& r) {
           TreatmentGiven(r);
           r.k_ventilator = '1';
           r.k_ventilator_personal = '1';
           r.k_ventilator_hospital = '2';
         },
         u8"오류-[K.특수처치 및 전문재활치료][1.j.인공호흡기][2.병원용] 0~1 사이 숫자를 "
         u8"입력하시오"},
        {"no ventilator, hospital '1'", code, [](R& r) { r.k_ventilator_hospital = '1'; },
         u8"오류-[K.특수처치 및 전문재활치료][1.인공호흡기]가 없는 경우 부위값은 모두 0이어야 "
         u8"합니다."},
        {"no ventilator, personal blank", code, [](R& r) { r.k_ventilator_personal = ' '; },
         u8"오류-[K.특수처치 및 전문재활치료][1.인공호흡기]가 없는 경우 부위값은 모두 0이어야 "
         u8"합니다."},
        {"the 091 ventilator fields are not read", code,
         [](R& r) {
           r.k_ventilator_091 = 'x';
           r.k_ventilator_personal_091 = 'x';
           r.k_central_venous_nutrition_091 = 'x';
           r.k_treatments_none_091 = 'x';
         },
         nullptr},
    });
  }
  for (const char* code : kEarly) {
    ExpectOutcomes({{"ventilator without sites", code,
                     [](R& r) {
                       TreatmentGiven(r);
                       r.k_ventilator = '1';
                       r.k_ventilator_personal = '\0';
                       r.k_ventilator_hospital = '\0';
                     },
                     nullptr}});
  }
}

TEST(SectionsJK, VentilatorSitesFrom091) {
  for (const char* code : kFrom091) {
    ExpectOutcomes({
        {"hospital ventilator", code,
         [](R& r) {
           TreatmentGiven(r);
           r.k_ventilator_091 = '1';
           r.k_ventilator_hospital_091 = '1';
         },
         nullptr},
        {"ventilator without a site", code,
         [](R& r) {
           TreatmentGiven(r);
           r.k_ventilator_091 = '1';
         },
         u8"오류-[K.특수처치 및 전문재활치료][1.인공호흡기]가 있을 경우 부위값중 적어도 하나는 "
         u8"1이어야 합니다."},
        {"ventilator, personal blank", code,
         [](R& r) {
           TreatmentGiven(r);
           r.k_ventilator_091 = '1';
           r.k_ventilator_personal_091 = ' ';
           r.k_ventilator_hospital_091 = '1';
         },
         u8"오류-[K.특수처치 및 전문재활치료][1.i.인공호흡기][1.개인용] 0~1 사이 숫자를 "
         u8"입력하시오"},
        {"ventilator, hospital '2'", code,
         [](R& r) {
           TreatmentGiven(r);
           r.k_ventilator_091 = '1';
           r.k_ventilator_personal_091 = '1';
           r.k_ventilator_hospital_091 = '2';
         },
         u8"오류-[K.특수처치 및 전문재활치료][1.i.인공호흡기][2.병원용] 0~1 사이 숫자를 "
         u8"입력하시오"},
        {"no ventilator, hospital '1'", code, [](R& r) { r.k_ventilator_hospital_091 = '1'; },
         u8"오류-[K.특수처치 및 전문재활치료][1.인공호흡기]가 없는 경우 부위값은 모두 0이어야 "
         u8"합니다."},
        {"ventilator '2'", code, [](R& r) { r.k_ventilator_091 = '2'; },
         u8"오류-[K.특수처치 및 전문재활치료][1.i.인공호흡기] 0~1 사이 숫자를 입력하시오"},
        {"the fields of the older forms are not read", code,
         [](R& r) {
           r.k_transfusion = 'x';
           r.k_ventilator = '1';
           r.k_ventilator_hospital = '1';
           r.k_central_venous_nutrition = 'x';
           r.k_treatments_none = 'x';
         },
         nullptr},
    });
  }
}

TEST(SectionsJK, TreatmentsNoneUpTo090) {
  for (const char* code : {"123", "089", "010", "090", "011"}) {
    ExpectOutcomes({
        {"transfusion and none-applies", code, [](R& r) { r.k_transfusion = '1'; },
         u8"오류-[K.특수처치 및 전문재활치료][1.l.해당사항 없음] 해당사항 없음이 0이어야 "
         u8"합니다."},
        {"intravenous medication and none-applies", code, [](R& r) { r.k_iv_medication = '1'; },
         u8"오류-[K.특수처치 및 전문재활치료][1.l.해당사항 없음] 해당사항 없음이 0이어야 "
         u8"합니다."},
        {"nothing and none-applies '0'", code, [](R& r) { r.k_treatments_none = '0'; },
         u8"오류-[K.특수처치 및 전문재활치료][1.l.해당사항 없음] 해당사항 없음이 1이어야 "
         u8"합니다."},
        {"central venous nutrition alone", code,
         [](R& r) {
           TreatmentGiven(r);
           r.k_central_venous_nutrition = '1';
         },
         nullptr},
        {"none-applies blank", code, [](R& r) { r.k_treatments_none = ' '; },
         u8"오류-[K.특수처치 및 전문재활치료][1.l.해당사항없음] 0~1 사이 숫자를 입력하시오"},
        {"ventilator '2'", code, [](R& r) { r.k_ventilator = '2'; },
         u8"오류-[K.특수처치 및 전문재활치료][1.j.인공호흡기] 0~1 사이 숫자를 입력하시오"},
        {"central venous nutrition '2'", code, [](R& r) { r.k_central_venous_nutrition = '2'; },
         u8"오류-[K.특수처치 및 전문재활치료][1.k.중심정맥영양] 0~1 사이 숫자를 입력하시오"},
    });
  }
}

TEST(SectionsJK, TreatmentsNoneFrom091) {
  for (const char* code : kFrom091) {
    ExpectOutcomes({
        {"nothing and none-applies '0'", code, [](R& r) { r.k_treatments_none_091 = '0'; },
         u8"오류-[K.특수처치 및 전문재활치료][1.k.해당사항 없음] 해당사항 없음이 1이어야 "
         u8"합니다."},
        {"central venous nutrition and none-applies", code,
         [](R& r) { r.k_central_venous_nutrition_091 = '1'; },
         u8"오류-[K.특수처치 및 전문재활치료][1.k.해당사항 없음] 해당사항 없음이 0이어야 "
         u8"합니다."},
        {"ventilator and none-applies", code,
         [](R& r) {
           r.k_ventilator_091 = '1';
           r.k_ventilator_personal_091 = '1';
         },
         u8"오류-[K.특수처치 및 전문재활치료][1.k.해당사항 없음] 해당사항 없음이 0이어야 "
         u8"합니다."},
        {"nebulizer alone", code,
         [](R& r) {
           TreatmentGiven(r);
           r.k_nebulizer = '1';
         },
         nullptr},
        {"transfusion is no item from 091", code, [](R& r) { r.k_transfusion = '1'; }, nullptr},
        {"none-applies blank", code, [](R& r) { r.k_treatments_none_091 = ' '; },
         u8"오류-[K.특수처치 및 전문재활치료][1.k.해당사항없음] 0~1 사이 숫자를 입력하시오"},
        {"central venous nutrition '2'", code, [](R& r) { r.k_central_venous_nutrition_091 = '2'; },
         u8"오류-[K.특수처치 및 전문재활치료][1.j.중심정맥영양] 0~1 사이 숫자를 입력하시오"},
    });
  }
}

TEST(SectionsJK, RehabilitationDaysInEveryFamily) {
  for (const char* code : kEveryCode) {
    ExpectOutcomes({
        {"7 days", code, [](R& r) { r.k_rehab_days = 7; }, nullptr},
        {"8 days", code, [](R& r) { r.k_rehab_days = 8; },
         u8"오류-[K.특수처치 및 전문재활치료][2.전문재활치료 실시일수] 0~7 사이 숫자를 "
         u8"입력하시오"},
        {"-1 days", code, [](R& r) { r.k_rehab_days = -1; },
         u8"오류-[K.특수처치 및 전문재활치료][2.전문재활치료 실시일수] 0~7 사이 숫자를 "
         u8"입력하시오"},
    });
  }
}

TEST(SectionsJK, SignatureNamesFrom090) {
  for (const char* code : kFrom090) {
    ExpectOutcomes({
        {"doctor of twelve blanks", code, [](R& r) { SetText(r.s_doctor_name, "            "); },
         u8"오류-[작성][서명] 의사 성명을 입력하시오"},
        {"doctor missing", code, [](R& r) { SetText(r.s_doctor_name, ""); },
         u8"오류-[작성][서명] 의사 성명을 입력하시오"},
        {"nurse of blanks", code, [](R& r) { SetText(r.s_nurse_name, "   "); },
         u8"오류-[작성][서명] 간호사 성명을 입력하시오"},
        {"both missing: the doctor first", code,
         [](R& r) {
           SetText(r.s_doctor_name, "");
           SetText(r.s_nurse_name, "");
         },
         u8"오류-[작성][서명] 의사 성명을 입력하시오"},
        {"names with inner blanks", code,
         [](R& r) {
           SetText(r.s_doctor_name, " Kim  Doc ");
           SetText(r.s_nurse_name, "N u r s e");
         },
         nullptr},
    });
  }
  for (const char* code : kEarly) {
    ExpectOutcomes({{"no signature block", code,
                     [](R& r) {
                       SetText(r.s_doctor_name, "");
                       SetText(r.s_nurse_name, "  ");
                     },
                     nullptr}});
  }
}

TEST(SectionsJK, SignatureNamesCountWithoutBlanksAndStayAsWritten) {
  struct Case {
    const char* code;
    const char* doctor;
    const char* nurse;
    const char* doctor_after;
    const char* nurse_after;
  } cases[] = {
      {"090", " Kim  Doc ", "N u r s e", "KimDoc", "Nurse"},
      {"092", "Lee Doc", "Park Nurse", "LeeDoc", "ParkNurse"},
      // A name of blanks only is no name.
      {"091", "   ", "Choi Nurse", "", "ChoiNurse"},
  };
  for (const Case& c : cases) {
    R record = ValidRecord(c.code);
    SetText(record.s_doctor_name, c.doctor);
    SetText(record.s_nurse_name, c.nurse);
    const R before = record;
    const char* message = ValidateRecord(record, FamilyOfField(record.form_version));
    EXPECT_EQ(message == nullptr, c.doctor_after[0] != '\0') << c.code;
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0) << c.code;
    EXPECT_EQ(NameWithoutBlanks(record.s_doctor_name), c.doctor_after) << c.code;
    EXPECT_EQ(NameWithoutBlanks(record.s_nurse_name), c.nurse_after) << c.code;
  }
}

}  // namespace
}  // namespace grouper
