// Sections D and E through the whole validator: the ADL scale, the
// rehabilitation items of the early families, the toileting aids with their
// none-applies item, and the checks made for single codes only (the catheter
// insertion date and the voiding-diary days).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

#include "record/assessment_record.h"
#include "support/cp949.h"
#include "support/record_builder.h"
#include "support/validation_case.h"
#include "validate/record_validator.h"

namespace grouper {
namespace {

using namespace testing;  // the test support of this project, not GoogleTest
using Case = ValidationCase;

constexpr std::string_view kAllCodes[] = {"123", "089", "010", "090", "011",
                                          "091", "012", "092", "013"};

// An indwelling catheter and nothing else: the none-applies item is 0.
void CatheterInserted(AssessmentRecord& r) {
  r.e_indwelling_catheter = '1';
  r.e_toileting_none = '0';
}
void CatheterWithDate(AssessmentRecord& r) {
  CatheterInserted(r);
  SetText(r.e_indwelling_catheter_date, "20240105");
}
void DiaryKept(AssessmentRecord& r) {
  r.e_voiding_diary = '1';
  r.e_voiding_diary_days = 7;
}

TEST(SectionsDE, ActivitiesOfDailyLiving) {
  const Case cases[] = {
      {"dressing 5", "090", [](AssessmentRecord& r) { r.d_adl_dressing = '5'; },
       u8"오류-[D.신체기능][1.옷벗고 입기] 0,1,2,3,4,8 중에서 값을 입력하시오"},
      {"dressing blank", "089", [](AssessmentRecord& r) { r.d_adl_dressing = ' '; },
       u8"오류-[D.신체기능][1.옷벗고 입기] 0,1,2,3,4,8 중에서 값을 입력하시오"},
      {"dressing NUL", "091", [](AssessmentRecord& r) { r.d_adl_dressing = '\0'; },
       u8"오류-[D.신체기능][1.옷벗고 입기] 0,1,2,3,4,8 중에서 값을 입력하시오"},
      {"every activity 8", "092",
       [](AssessmentRecord& r) { SetEach(r, {field_groups::kAdlItems}, '8'); }, u8""},
      {"leaving the room 5", "090", [](AssessmentRecord& r) { r.d_adl_leaving_room = '5'; },
       u8"오류-[D. 신체기능][9.방밖으로 나오기] 0,1,2,3,4,8 중에서 값을 입력하시오"},
      {"bedridden 2", "011", [](AssessmentRecord& r) { r.d_bedridden = '2'; },
       u8"오류-[D.신체기능][11.와상상태] 0~1 값을 입력하시오"},
      {"bedridden 1", "090", [](AssessmentRecord& r) { r.d_bedridden = '1'; }, u8""},
  };
  for (const Case& c : cases) ExpectVerdict(c);
}

TEST(SectionsDE, RehabilitationPotentialOnlyInEarlyFamilies) {
  const Case cases[] = {
      {"improve 2", "123", [](AssessmentRecord& r) { r.d_rehab_potential_improve = '2'; },
       u8"오류-[D.신체기능][12.a.ADL의 재활 가능성 여부-향상기능] 0~1 사이값을 입력하시오"},
      {"perform blank", "089", [](AssessmentRecord& r) { r.d_rehab_potential_perform = ' '; },
       u8"오류-[D.신체기능][12.b.ADL의 재활 가능성 여부-수행기능] 0~1 사이값을 입력하시오"},
      {"change X", "010", [](AssessmentRecord& r) { r.d_rehab_potential_change = 'X'; },
       u8"오류-[D.신체기능][12.c.ADL의 재활 가능성 여부-달라짐] 0~1 사이값을 입력하시오"},
      {"all three 1", "089",
       [](AssessmentRecord& r) { SetEach(r, {field_groups::kRehabPotential}, '1'); }, u8""},
      {"D.12 comes after D.11", "123",
       [](AssessmentRecord& r) {
         r.d_rehab_potential_improve = '2';
         r.d_bedridden = '2';
       },
       u8"오류-[D.신체기능][11.와상상태] 0~1 값을 입력하시오"},
      {"D.12 comes before E.1", "010",
       [](AssessmentRecord& r) {
         r.d_rehab_potential_change = '2';
         r.e_bowel_control = '4';
       },
       u8"오류-[D.신체기능][12.c.ADL의 재활 가능성 여부-달라짐] 0~1 사이값을 입력하시오"},
  };
  for (const Case& c : cases) ExpectVerdict(c);

  for (std::string_view code : {"090", "011", "091", "012", "092", "013"}) {
    ExpectVerdict({"D.12 holds anything from 090 on", code,
                   [](AssessmentRecord& r) {
                     r.d_rehab_potential_improve = 'X';
                     r.d_rehab_potential_perform = ' ';
                     r.d_rehab_potential_change = '\0';
                   },
                   u8""});
  }
}

TEST(SectionsDE, ControlAndToiletingAids) {
  const Case cases[] = {
      {"bowel control 4", "090", [](AssessmentRecord& r) { r.e_bowel_control = '4'; },
       u8"오류-[E.배설기능][1.대변조절] 0~3 사이값을 입력하시오"},
      {"bladder control blank", "123", [](AssessmentRecord& r) { r.e_bladder_control = ' '; },
       u8"오류-[E.배설기능][2.소변조절] 0~3 사이값을 입력하시오"},
      {"indwelling catheter 2", "012", [](AssessmentRecord& r) { r.e_indwelling_catheter = '2'; },
       u8"오류-[E.배설기능][3.g.유치도뇨관 삽입] 0~1 사이 숫자를 입력하시오"},
      {"none-applies 2", "090", [](AssessmentRecord& r) { r.e_toileting_none = '2'; },
       u8"오류-[E.배설기능][3.h.해당사항 없음] 0~1 사이 숫자를 입력하시오"},
      {"no aid and none-applies 0", "123", [](AssessmentRecord& r) { r.e_toileting_none = '0'; },
       u8"오류-[E.배설기능][3.h.해당사항 없음] 해당사항 없음이 1이어야 합니다."},
      {"pads and none-applies 1", "091", [](AssessmentRecord& r) { r.e_pads_briefs = '1'; },
       u8"오류-[E.배설기능][3.h.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
      {"pads and none-applies 0", "010",
       [](AssessmentRecord& r) {
         r.e_pads_briefs = '1';
         r.e_toileting_none = '0';
       },
       u8""},
      {"first aid of the list and none-applies 1", "092",
       [](AssessmentRecord& r) { r.e_scheduled_toileting = '1'; },
       u8"오류-[E.배설기능][3.h.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
      {"last aid of the list and none-applies 1", "089",
       [](AssessmentRecord& r) { r.e_indwelling_catheter = '1'; },
       u8"오류-[E.배설기능][3.h.해당사항 없음] 해당사항 없음이 0이어야 합니다."},
  };
  for (const Case& c : cases) ExpectVerdict(c);
}

// The insertion date is checked for the codes 090, 011 and 091 and for no
// other code, not even 012, the partner of 091.
TEST(SectionsDE, CatheterDateOnlyForItsCodes) {
  for (std::string_view code : kAllCodes) {
    const bool checked = code == "090" || code == "011" || code == "091";
    ExpectVerdict({"catheter with its date", code, CatheterWithDate, u8""});
    ExpectVerdict({"catheter with the absent date", code, CatheterInserted,
                   checked ? u8"오류-[E.배설기능][3.g.유치도뇨관 삽입일자]" : u8""});
    ExpectVerdict({"no catheter, a real date", code,
                   [](AssessmentRecord& r) { SetText(r.e_indwelling_catheter_date, "20240105"); },
                   checked ? u8"오류-[E.배설기능][3.g.유치도뇨관 삽입일자] 미실시 경우 검사일 "
                             u8"\"00000000\"을 입력하시오."
                           : u8""});
  }
  ExpectVerdict({"the date is checked before none-applies", "090",
                 [](AssessmentRecord& r) { r.e_indwelling_catheter = '1'; },
                 u8"오류-[E.배설기능][3.g.유치도뇨관 삽입일자]"});
  ExpectVerdict({"a blank date is not absent", "011",
                 [](AssessmentRecord& r) { SetText(r.e_indwelling_catheter_date, "        "); },
                 u8"오류-[E.배설기능][3.g.유치도뇨관 삽입일자] 미실시 경우 검사일 "
                 u8"\"00000000\"을 입력하시오."});
}

TEST(SectionsDE, VoidingDiaryFrom090) {
  for (std::string_view code : {"090", "011", "091", "012", "092", "013"}) {
    ExpectVerdict({"diary flag 2", code, [](AssessmentRecord& r) { r.e_voiding_diary = '2'; },
                   u8"오류-[E.배설기능][4.배뇨일지 작성 여부] 0~1 사이 숫자를 입력하시오"});
    ExpectVerdict({"diary kept", code, DiaryKept, u8""});
  }
  ExpectVerdict({"blank diary flag", "092", [](AssessmentRecord& r) { r.e_voiding_diary = ' '; },
                 u8"오류-[E.배설기능][4.배뇨일지 작성 여부] 0~1 사이 숫자를 입력하시오"});
  for (std::string_view code : {"123", "089", "010"}) {
    ExpectVerdict({"the early families carry no diary", code,
                   [](AssessmentRecord& r) {
                     r.e_voiding_diary = 'X';
                     r.e_voiding_diary_days = -3;
                   },
                   u8""});
  }
}

// The diary days are checked for the codes 091 and 092 only: 012 and 013
// carry the same item and are not checked.
TEST(SectionsDE, DiaryDaysOnlyForItsCodes) {
  for (std::string_view code : kAllCodes) {
    const bool checked = code == "091" || code == "092";
    ExpectVerdict({"no diary, 3 days", code,
                   [](AssessmentRecord& r) { r.e_voiding_diary_days = 3; },
                   checked ? u8"오류-[E.배설기능][4.배뇨일지 작성 일수] 배뇨일지 작성 여부를 "
                             u8"체크하지 않았을 경우 0을 입력하시오"
                           : u8""});
    ExpectVerdict(
        {"diary, 100 days", code,
         [](AssessmentRecord& r) {
           DiaryKept(r);
           r.e_voiding_diary_days = 100;
         },
         checked ? u8"오류-[E.배설기능][4.배뇨일지 작성 일수] 0~99 사이 숫자를 입력하시오" : u8""});
  }
  const Case cases[] = {
      {"diary, 99 days", "091",
       [](AssessmentRecord& r) {
         DiaryKept(r);
         r.e_voiding_diary_days = 99;
       },
       u8""},
      {"diary, 0 days", "092",
       [](AssessmentRecord& r) {
         DiaryKept(r);
         r.e_voiding_diary_days = 0;
       },
       u8""},
      {"diary, -1 days", "091",
       [](AssessmentRecord& r) {
         DiaryKept(r);
         r.e_voiding_diary_days = -1;
       },
       u8"오류-[E.배설기능][4.배뇨일지 작성 일수] 0~99 사이 숫자를 입력하시오"},
      {"no diary, -1 days", "092", [](AssessmentRecord& r) { r.e_voiding_diary_days = -1; },
       u8"오류-[E.배설기능][4.배뇨일지 작성 일수] 배뇨일지 작성 여부를 체크하지 않았을 경우 "
       u8"0을 입력하시오"},
  };
  for (const Case& c : cases) ExpectVerdict(c);
}

}  // namespace
}  // namespace grouper
