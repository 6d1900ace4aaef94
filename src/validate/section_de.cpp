// Sections D and E, physical function and excretion: the ten activities of
// daily living, the bedridden state, the rehabilitation potential of the early
// layouts, bowel and bladder control, the toileting aids with their
// none-applies item, the catheter insertion date and the voiding diary.
//
// The catheter insertion date and the diary days are checked for single codes
// only, not for whole families: the codes 090, 011 and 091 for the date and
// 091 and 092 for the days. Files that are accepted today under 012 and 013
// must keep their answers, so the lists stay as they are.
#include <string_view>

#include "validate/row_plan.h"
#include "validate/sections.h"

namespace grouper {

namespace {

using R = AssessmentRecord;

// The catheter's insertion date is asked in the codes 090, 011 and 091 only,
// the days of the voiding diary in 091 and 092: the form names single codes
// here, not family groups.
bool IsCatheterDateCode(const R& r) {
  return IsCode(r.form_version, "090") || IsCode(r.form_version, "011") ||
         IsCode(r.form_version, "091");
}
bool IsDiaryDaysCode(const R& r) {
  return IsCode(r.form_version, "091") || IsCode(r.form_version, "092");
}

constexpr std::span<const FieldRef> kCatheterReads =
    kFields<FIELD(form_version), FIELD(e_indwelling_catheter)>;
constexpr std::span<const FieldRef> kDiaryReads =
    kFields<FIELD(form_version), FIELD(e_voiding_diary)>;
constexpr Gate kCatheterInserted = {
    [](const R& r) { return IsCatheterDateCode(r) && r.e_indwelling_catheter == '1'; },
    kCatheterReads};
constexpr Gate kNoCatheter = {
    [](const R& r) { return IsCatheterDateCode(r) && r.e_indwelling_catheter == '0'; },
    kCatheterReads};
constexpr Gate kDiaryKept = {
    [](const R& r) { return IsDiaryDaysCode(r) && r.e_voiding_diary == '1'; }, kDiaryReads};
constexpr Gate kNoDiary = {
    [](const R& r) { return IsDiaryDaysCode(r) && r.e_voiding_diary == '0'; }, kDiaryReads};
constexpr GateRef CatheterInserted = &kCatheterInserted;
constexpr GateRef NoCatheter = &kNoCatheter;
constexpr GateRef DiaryKept = &kDiaryKept;
constexpr GateRef NoDiary = &kNoDiary;

// The ADL scale: 0 to 4, and 8 when the activity did not occur.
constexpr char kAdlValues[] = "012348";

constexpr CharField kToiletingAids[] = {
    &R::e_scheduled_toileting, &R::e_bladder_retraining, &R::e_intermittent_catheter,
    &R::e_external_catheter,   &R::e_pads_briefs,        &R::e_ostomy,
    &R::e_indwelling_catheter,
};

// clang-format off
constexpr Row kPhysicalFunction[] = {
    CharSet(&R::d_adl_dressing, kAdlValues, FORM_MSG(u8"D.신체기능", u8"[1.옷벗고 입기]", u8" 0,1,2,3,4,8 중에서 값을 입력하시오")),
    CharSet(&R::d_adl_washing_face, kAdlValues, FORM_MSG(u8"D.신체기능", u8"[2.세수하기]", u8" 0,1,2,3,4,8 중에서 값을 입력하시오")),
    CharSet(&R::d_adl_brushing_teeth, kAdlValues, FORM_MSG(u8"D.신체기능", u8"[3.양치질하기]", u8" 0,1,2,3,4,8 중에서 값을 입력하시오")),
    CharSet(&R::d_adl_bathing, kAdlValues, FORM_MSG(u8"D.신체기능", u8"[4.목욕하기]", u8" 0,1,2,3,4,8 중에서 값을 입력하시오")),
    CharSet(&R::d_adl_eating, kAdlValues, FORM_MSG(u8"D.신체기능", u8"[5.식사하기]", u8" 0,1,2,3,4,8 중에서 값을 입력하시오")),
    CharSet(&R::d_adl_changing_position, kAdlValues, FORM_MSG(u8"D.신체기능", u8"[6.체위변경하기]", u8" 0,1,2,3,4,8 중에서 값을 입력하시오")),
    CharSet(&R::d_adl_sitting_up, kAdlValues, FORM_MSG(u8"D.신체기능", u8"[7.일어나앉기]", u8" 0,1,2,3,4,8 중에서 값을 입력하시오")),
    CharSet(&R::d_adl_transferring, kAdlValues, FORM_MSG(u8"D.신체기능", u8"[8.옮겨앉기]", u8" 0,1,2,3,4,8 중에서 값을 입력하시오")),
    CharSet(&R::d_adl_leaving_room, kAdlValues, FORM_MSG(u8"D. 신체기능", u8"[9.방밖으로 나오기]", u8" 0,1,2,3,4,8 중에서 값을 입력하시오")),
    CharSet(&R::d_adl_toilet_use, kAdlValues, FORM_MSG(u8"D.신체기능", u8"[10.화장실 사용하기]", u8" 0,1,2,3,4,8 중에서 값을 입력하시오")),
    CharRange(&R::d_bedridden, '0', '1', FORM_MSG(u8"D.신체기능", u8"[11.와상상태]", u8" 0~1 값을 입력하시오")),
};

// D.12, early families only.
constexpr Row kRehabPotential[] = {
    CharRange(&R::d_rehab_potential_improve, '0', '1', FORM_MSG(u8"D.신체기능", u8"[12.a.ADL의 재활 가능성 여부-향상기능]", u8" 0~1 사이값을 입력하시오")),
    CharRange(&R::d_rehab_potential_perform, '0', '1', FORM_MSG(u8"D.신체기능", u8"[12.b.ADL의 재활 가능성 여부-수행기능]", u8" 0~1 사이값을 입력하시오")),
    CharRange(&R::d_rehab_potential_change, '0', '1', FORM_MSG(u8"D.신체기능", u8"[12.c.ADL의 재활 가능성 여부-달라짐]", u8" 0~1 사이값을 입력하시오")),
};

constexpr Row kExcretion[] = {
    CharRange(&R::e_bowel_control, '0', '3', FORM_MSG(u8"E.배설기능", u8"[1.대변조절]", u8" 0~3 사이값을 입력하시오")),
    CharRange(&R::e_bladder_control, '0', '3', FORM_MSG(u8"E.배설기능", u8"[2.소변조절]", u8" 0~3 사이값을 입력하시오")),
    CharRange(&R::e_scheduled_toileting, '0', '1', FORM_MSG(u8"E.배설기능", u8"[3.a.일정하기 짜여진 배뇨계획]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::e_bladder_retraining, '0', '1', FORM_MSG(u8"E.배설기능", u8"[3.b.방광 재훈련 프로그램]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::e_intermittent_catheter, '0', '1', FORM_MSG(u8"E.배설기능", u8"[3.c.규칙적 간헐적 도뇨]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::e_external_catheter, '0', '1', FORM_MSG(u8"E.배설기능", u8"[3.d.외부(콘돔형) 카테터]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::e_pads_briefs, '0', '1', FORM_MSG(u8"E.배설기능", u8"[3.e.패드, 팬티형 기저귀]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::e_ostomy, '0', '1', FORM_MSG(u8"E.배설기능", u8"[3.f.인공루]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::e_indwelling_catheter, '0', '1', FORM_MSG(u8"E.배설기능", u8"[3.g.유치도뇨관 삽입]", u8" 0~1 사이 숫자를 입력하시오")),
    Date(&R::e_indwelling_catheter_date, FORM_MSG(u8"E.배설기능", u8"[3.g.유치도뇨관 삽입일자]", u8""), CatheterInserted),
    AbsentDate(&R::e_indwelling_catheter_date, FORM_MSG(u8"E.배설기능", u8"[3.g.유치도뇨관 삽입일자]", u8" 미실시 경우 검사일 \"00000000\"을 입력하시오."), NoCatheter),
    CharRange(&R::e_toileting_none, '0', '1', FORM_MSG(u8"E.배설기능", u8"[3.h.해당사항 없음]", u8" 0~1 사이 숫자를 입력하시오")),
    NoneOfAbove(&R::e_toileting_none, kToiletingAids, FORM_MSG(u8"E.배설기능", u8"[3.h.해당사항 없음]", u8" 해당사항 없음이 0이어야 합니다."), FORM_MSG(u8"E.배설기능", u8"[3.h.해당사항 없음]", u8" 해당사항 없음이 1이어야 합니다.")),
};

// E.4, families from 090.
constexpr Row kVoidingDiary[] = {
    CharRange(&R::e_voiding_diary, '0', '1', FORM_MSG(u8"E.배설기능", u8"[4.배뇨일지 작성 여부]", u8" 0~1 사이 숫자를 입력하시오")),
    IntRange(&R::e_voiding_diary_days, 0, 99, FORM_MSG(u8"E.배설기능", u8"[4.배뇨일지 작성 일수]", u8" 0~99 사이 숫자를 입력하시오"), DiaryKept),
    IntZero(&R::e_voiding_diary_days, FORM_MSG(u8"E.배설기능", u8"[4.배뇨일지 작성 일수]", u8" 배뇨일지 작성 여부를 체크하지 않았을 경우 0을 입력하시오"), NoDiary),
};
// clang-format on

// The early families ask for the rehabilitation potential between the two
// sections; the voiding diary exists from 090.
using SectionsDE = Section<Rows<kPhysicalFunction>, Rows<kRehabPotential, IsEarly>,
                           Rows<kExcretion>, Rows<kVoidingDiary, IsFrom090>>;

}  // namespace

template <class Sink>
bool StageDE::Run(const AssessmentRecord& record, Family family, Sink& sink) {
  return SectionsDE::Run(record, family, sink);
}
std::span<const RowList> StageDE::Lists() {
  return SectionsDE::kLists;
}

template bool StageDE::Run(const AssessmentRecord&, Family, FirstFault&);
template bool StageDE::Run(const AssessmentRecord&, Family, FaultList&);

}  // namespace grouper
