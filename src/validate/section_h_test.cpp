// Section H through the whole validator: valid records of each family with
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

TEST(SectionH, WeightMeasuredOrNot) {
  for (const char* code : kEveryCode) {
    ExpectOutcomes({
        {"weight 0.1", code, [](R& r) { r.h_weight = 0.1f; }, nullptr},
        {"weight 999.9", code, [](R& r) { r.h_weight = 999.9f; }, nullptr},
        {"weight 0", code,
         [](R& r) {
           r.h_weight = 0.0f;
           SetText(r.h_weight_date, "00000000");  // the value is reported first
         },
         u8"오류-[H.구강 및 영양상태][2.체중] 0.1~999.9 사이 숫자를 입력하시오"},
        {"weight 1000.0", code, [](R& r) { r.h_weight = 1000.0f; },
         u8"오류-[H.구강 및 영양상태][2.체중] 0.1~999.9 사이 숫자를 입력하시오"},
        {"measured, absent date", code, [](R& r) { SetText(r.h_weight_date, "00000000"); },
         u8"오류-[H.구강및영양상태][2.체중 측정일]"},
        {"not measured, 0, absent date", code,
         [](R& r) {
           r.h_weight_measured = '0';
           r.h_weight = 0.0f;
           SetText(r.h_weight_date, "00000000");
         },
         nullptr},
        {"not measured, weight 0.1", code,
         [](R& r) {
           r.h_weight_measured = '0';
           r.h_weight = 0.1f;
           SetText(r.h_weight_date, "00000000");
         },
         u8"오류-[H.구강 및 영양상태][2.체중] 측정하지 않았을 경우 0을 입력하시오"},
        {"not measured, blank date", code,
         [](R& r) {
           r.h_weight_measured = '0';
           r.h_weight = 0.0f;
           SetText(r.h_weight_date, "        ");
         },
         u8"오류-[H.구강 및 영양상태][2.체중] 측정하지 않았을 경우 측정일 \"00000000\"을 "
         u8"입력하시오."},
        {"not measured, a real date", code,
         [](R& r) {
           r.h_weight_measured = '0';
           r.h_weight = 0.0f;
         },
         u8"오류-[H.구강 및 영양상태][2.체중] 측정하지 않았을 경우 측정일 \"00000000\"을 "
         u8"입력하시오."},
        {"measured blank", code, [](R& r) { r.h_weight_measured = ' '; },
         u8"오류-[H.구강및영양상태][2.체중 측정 여부] 0~1 사이값을 입력하시오"},
    });
  }
}

TEST(SectionH, HeightFrom090) {
  for (const char* code : kFrom090) {
    ExpectOutcomes({
        {"height 0.1", code, [](R& r) { r.h_height = 0.1f; }, nullptr},
        {"height 999.9", code, [](R& r) { r.h_height = 999.9f; }, nullptr},
        {"height 0", code, [](R& r) { r.h_height = 0.0f; },
         u8"오류-[H.구강및영양상태][2.3.키][b-1 키] 0.1~999.9 사이 숫자를 입력하시오"},
        {"height 1000.0", code, [](R& r) { r.h_height = 1000.0f; },
         u8"오류-[H.구강및영양상태][2.3.키][b-1 키] 0.1~999.9 사이 숫자를 입력하시오"},
        {"measured, absent date", code, [](R& r) { SetText(r.h_height_date, "00000000"); },
         u8"오류-[H.구강및영양상태][2.3.키][b-2.측정일]"},
        {"not measured, 0, absent date", code,
         [](R& r) {
           r.h_height_measured = '0';
           r.h_height = 0.0f;
           SetText(r.h_height_date, "00000000");
         },
         nullptr},
        {"not measured, height kept", code,
         [](R& r) {
           r.h_height_measured = '0';
           SetText(r.h_height_date, "00000000");
         },
         u8"오류-[H.구강 및 영양상태][2.3.키][측정키] 측정하지 않았을 경우 0을 입력하시오"},
        {"not measured, date kept", code,
         [](R& r) {
           r.h_height_measured = '0';
           r.h_height = 0.0f;
         },
         u8"오류-[H.구강 및 영양상태][2.3.키][측정일] 측정하지 않았을 경우 측정일 \"00000000\"을 "
         u8"입력하시오."},
        {"measured '2'", code, [](R& r) { r.h_height_measured = '2'; },
         u8"오류-[H.구강및영양상태][2.3.키][a.키 측정여부] 0~1 사이값을 입력하시오"},
    });
  }
  for (const char* code : kEarly) {
    ExpectOutcomes({{"height is never tested", code,
                     [](R& r) {
                       r.h_height_measured = 'x';
                       r.h_height = 0.0f;
                       SetText(r.h_height_date, "garbage!");
                     },
                     nullptr}});
  }
}

TEST(SectionH, IntakeScalesOnlyWithArtificialFeeding) {
  for (const char* code : kEveryCode) {
    ExpectOutcomes({
        {"no feeding, calories '0'", code, [](R& r) { r.h_calorie_intake = '0'; },
         u8"오류-[H.구강및영양상태][4.a.칼로리] space를 입력하시오"},
        {"no feeding, fluids '0'", code, [](R& r) { r.h_fluid_intake = '0'; },
         u8"오류-[H.구강및영양상태][4.b.수분량] space를 입력하시오"},
        {"no feeding, both given: calories first", code,
         [](R& r) {
           r.h_calorie_intake = '1';
           r.h_fluid_intake = '1';
         },
         u8"오류-[H.구강및영양상태][4.a.칼로리] space를 입력하시오"},
        {"tube feeding, calories blank", code, [](R& r) { r.h_tube_feeding = '1'; },
         u8"오류-[H.구강및영양상태][4.a.칼로리] 0~4 사이값을 입력하시오"},
        {"intravenous, calories 4, fluids blank", code,
         [](R& r) {
           r.h_parenteral_nutrition = '1';
           r.h_calorie_intake = '4';
         },
         u8"오류-[H.구강및영양상태][4.b.수분량] 0~5 사이값을 입력하시오"},
        {"intravenous, calories 4, fluids 5", code,
         [](R& r) {
           r.h_parenteral_nutrition = '1';
           r.h_calorie_intake = '4';
           r.h_fluid_intake = '5';
         },
         nullptr},
        {"intravenous, calories 5", code,
         [](R& r) {
           r.h_parenteral_nutrition = '1';
           r.h_calorie_intake = '5';
           r.h_fluid_intake = '0';
         },
         u8"오류-[H.구강및영양상태][4.a.칼로리] 0~4 사이값을 입력하시오"},
        {"intravenous, fluids 6", code,
         [](R& r) {
           r.h_parenteral_nutrition = '1';
           r.h_calorie_intake = '0';
           r.h_fluid_intake = '6';
         },
         u8"오류-[H.구강및영양상태][4.b.수분량] 0~5 사이값을 입력하시오"},
    });
  }
}

void TubeFed(R& r) {
  r.h_tube_feeding = '1';
  r.h_calorie_intake = '2';
  r.h_fluid_intake = '3';
}

TEST(SectionH, TubeFeedingDaysFrom091) {
  for (const char* code : kFrom091) {
    ExpectOutcomes({
        {"tube feeding, 0 days", code, [](R& r) { TubeFed(r); }, nullptr},
        {"tube feeding, 99 days", code,
         [](R& r) {
           TubeFed(r);
           r.h_tube_feeding_days = 99;
         },
         nullptr},
        {"tube feeding, 100 days", code,
         [](R& r) {
           TubeFed(r);
           r.h_tube_feeding_days = 100;
         },
         u8"오류-[H.구강및영양상태][3.b.2.경관영양 실시일수 ] 0~99 사이값을 입력하시오"},
        {"tube feeding, -1 days", code,
         [](R& r) {
           TubeFed(r);
           r.h_tube_feeding_days = -1;
         },
         u8"오류-[H.구강및영양상태][3.b.2.경관영양 실시일수 ] 0~99 사이값을 입력하시오"},
        {"intravenous only, 5 days", code,
         [](R& r) {
           r.h_parenteral_nutrition = '1';
           r.h_calorie_intake = '2';
           r.h_fluid_intake = '3';
           r.h_tube_feeding_days = 5;
         },
         u8"오류-[H.구강및영양상태][3.b.2.경관영양 실시일수 ] 경관영양을 체크하지 않았을 경우 "
         u8"0을 입력하시오"},
        {"no feeding, 1 day", code, [](R& r) { r.h_tube_feeding_days = 1; },
         u8"오류-[H.구강및영양상태][3.b.2.경관영양 실시일수 ] 경관영양을 체크하지 않았을 경우 "
         u8"0을 입력하시오"},
        // The intake scales come before the days.
        {"tube feeding, calories blank, 100 days", code,
         [](R& r) {
           r.h_tube_feeding = '1';
           r.h_tube_feeding_days = 100;
         },
         u8"오류-[H.구강및영양상태][4.a.칼로리] 0~4 사이값을 입력하시오"},
    });
  }
  for (const char* code : {"123", "089", "010", "090", "011"}) {
    ExpectOutcomes({
        {"days the layout does not carry", code, [](R& r) { r.h_tube_feeding_days = 5; }, nullptr},
        {"tube feeding, days the layout does not carry", code,
         [](R& r) {
           TubeFed(r);
           r.h_tube_feeding_days = 500;
         },
         nullptr},
    });
  }
}

}  // namespace
}  // namespace grouper
