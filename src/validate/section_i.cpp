// Section I, skin condition: ulcer counts by stage, a newly developed pressure
// ulcer and its date of onset, the ulcer history, other skin problems and the
// skin treatments, each list closed by its none-applies flag.
//
// Three items carry two site flags (foot, elsewhere): the open lesion (in the
// early families only) and the two dressings (in every family). A treated item
// needs at least one site; an untreated one needs both sites exactly '0'.
// Item 5.g is the treatments' none-applies flag up to 090/011; from 091 it is
// a further treatment and 5.h closes the list.
#include <initializer_list>
#include <span>

#include "validate/row_plan.h"
#include "validate/sections.h"

namespace grouper {

namespace {

using R = AssessmentRecord;

constexpr Gate kHasNewUlcerGate = AnswerIs<&R::i_new_pressure_ulcer, '1'>();
constexpr GateRef HasNewUlcer = &kHasNewUlcerGate;
constexpr Gate kHasNoNewUlcerGate = AnswerIs<&R::i_new_pressure_ulcer, '0'>();
constexpr GateRef HasNoNewUlcer = &kHasNoNewUlcerGate;
constexpr Gate kHasOpenLesionGate = AnswerIs<&R::i_open_lesions, '1'>();
constexpr GateRef HasOpenLesion = &kHasOpenLesionGate;
constexpr Gate kHasNoOpenLesionGate = AnswerIs<&R::i_open_lesions, '0'>();
constexpr GateRef HasNoOpenLesion = &kHasNoOpenLesionGate;
constexpr Gate kHasUlcerDressingGate = AnswerIs<&R::i_ulcer_dressing, '1'>();
constexpr GateRef HasUlcerDressing = &kHasUlcerDressingGate;
constexpr Gate kHasNoUlcerDressingGate = AnswerIs<&R::i_ulcer_dressing, '0'>();
constexpr GateRef HasNoUlcerDressing = &kHasNoUlcerDressingGate;
constexpr Gate kHasOtherDressingGate = AnswerIs<&R::i_other_dressing, '1'>();
constexpr GateRef HasOtherDressing = &kHasOtherDressingGate;
constexpr Gate kHasNoOtherDressingGate = AnswerIs<&R::i_other_dressing, '0'>();
constexpr GateRef HasNoOtherDressing = &kHasNoOtherDressingGate;

// I.1 to I.4.b, for every family.
constexpr Row kUlcersAndLesion[] = {
    IntRange(&R::i_pressure_ulcer_stage1, 0, 99,
             FORM_MSG(u8"I.피부상태", u8"[1.a.1단계(욕창(압박성 궤양))]",
                      u8" 0~99 사이 숫자를 입력하시오")),
    IntRange(&R::i_pressure_ulcer_stage2, 0, 99,
             FORM_MSG(u8"I.피부상태", u8"[1.b.2단계(욕창(압박성 궤양))]",
                      u8" 0~99 사이 숫자를 입력하시오")),
    IntRange(&R::i_pressure_ulcer_stage3, 0, 99,
             FORM_MSG(u8"I.피부상태", u8"[1.c.3단계(욕창(압박성 궤양))]",
                      u8" 0~99 사이 숫자를 입력하시오")),
    IntRange(&R::i_pressure_ulcer_stage4, 0, 99,
             FORM_MSG(u8"I.피부상태", u8"[1.d.4단계(욕창(압박성 궤양))]",
                      u8" 0~99 사이 숫자를 입력하시오")),
    IntRange(&R::i_stasis_ulcer_stage1, 0, 99,
             FORM_MSG(u8"I.피부상태", u8"[1.a.1단계(울혈성 또는 어혈성 궤양)]",
                      u8" 0~99 사이 숫자를 입력하시오")),
    IntRange(&R::i_stasis_ulcer_stage2, 0, 99,
             FORM_MSG(u8"I.피부상태", u8"[1.b.2단계(울혈성 또는 어혈성 궤양)]",
                      u8" 0~99 사이 숫자를 입력하시오")),
    IntRange(&R::i_stasis_ulcer_stage3, 0, 99,
             FORM_MSG(u8"I.피부상태", u8"[1.c.3단계(울혈성 또는 어혈성 궤양)]",
                      u8" 0~99 사이 숫자를 입력하시오")),
    IntRange(&R::i_stasis_ulcer_stage4, 0, 99,
             FORM_MSG(u8"I.피부상태", u8"[1.d.4단계(울혈성 또는 어혈성 궤양)]",
                      u8" 0~99 사이 숫자를 입력하시오")),
    CharRange(
        &R::i_new_pressure_ulcer, '0', '1',
        FORM_MSG(u8"I.피부상태", u8"[2.새로발생한 욕창-발생 여부]", u8" 0~1 사이값을 입력하시오")),
    Date(&R::i_new_pressure_ulcer_date,
         FORM_MSG(u8"I.피부상태", u8"[2.새로발생한 욕창-발생일]", u8""), HasNewUlcer),
    AbsentDate(&R::i_new_pressure_ulcer_date,
               FORM_MSG(u8"I.피부상태", u8"[2.새로 발생한 욕창]",
                        u8"이 없을 경우 발생일 \"00000000\"을 입력하시오."),
               HasNoNewUlcer),
    CharRange(&R::i_pressure_ulcer_history, '0', '2',
              FORM_MSG(u8"I.피부상태", u8"[3.욕창의 과거력]", u8" 0~2 사이값을 입력하시오")),
    CharRange(&R::i_burns, '0', '1',
              FORM_MSG(u8"I.피부상태", u8"[4.a.2도 이상의 화상]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::i_open_lesions, '0', '1',
              FORM_MSG(u8"I.피부상태", u8"[4.b.개방성 피부병변]", u8" 0~1 사이 숫자를 입력하시오")),
};

// Sites of the open lesion, in the early families only.
constexpr CharField kOpenLesionSites[] = {&R::i_open_lesions_foot, &R::i_open_lesions_other};
constexpr Row kOpenLesionSiteRule[] = {
    CharRange(
        &R::i_open_lesions_foot, '0', '1',
        FORM_MSG(u8"I.피부상태", u8"[4.b.개방성 피부병변 - 발]", u8" 0~1 사이 숫자를 입력하시오"),
        HasOpenLesion),
    CharRange(&R::i_open_lesions_other, '0', '1',
              FORM_MSG(u8"I.피부상태", u8"[4.b.개방성 피부병변 - 발 이외]",
                       u8" 0~1 사이 숫자를 입력하시오"),
              HasOpenLesion),
    AnySet(kOpenLesionSites,
           FORM_MSG(u8"I.피부상태", u8"[4.b.개방성 피부병변]",
                    u8"이 있을 경우 부위값중 적어도 하나는 1이어야 합니다."),
           HasOpenLesion),
    AllExactlyZero(kOpenLesionSites,
                   FORM_MSG(u8"I.피부상태", u8"[4.b.개방성 피부병변]",
                            u8"이 없는 경우 부위값은 모두 0이어야 합니다."),
                   HasNoOpenLesion),
};

// I.4.c to I.5.g, for every family.
constexpr CharField kSkinProblems[] = {&R::i_burns, &R::i_open_lesions, &R::i_surgical_wound,
                                       &R::i_foot_infection};
constexpr CharField kUlcerDressingSites[] = {&R::i_ulcer_dressing_foot, &R::i_ulcer_dressing_other};
constexpr CharField kOtherDressingSites[] = {&R::i_other_dressing_foot, &R::i_other_dressing_other};
constexpr Row kSkinProblemsAndTreatments[] = {
    CharRange(&R::i_surgical_wound, '0', '1',
              FORM_MSG(u8"I.피부상태", u8"[4.c.수술 창상]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::i_foot_infection, '0', '1',
              FORM_MSG(u8"I.피부상태", u8"[4.d.발의 감염]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::i_skin_problems_none, '0', '1',
              FORM_MSG(u8"I.피부상태", u8"[4.e.해당사항 없음]", u8" 0~1 사이 숫자를 입력하시오")),
    NoneOfAbove(
        &R::i_skin_problems_none, kSkinProblems,
        FORM_MSG(u8"I.피부상태", u8"[4.e.해당사항 없음]", u8" 해당사항 없음이 0이어야 합니다."),
        FORM_MSG(u8"I.피부상태", u8"[4.e.해당사항 없음]", u8" 해당사항 없음이 1이어야 합니다.")),
    CharRange(&R::i_pressure_relief_device, '0', '1',
              FORM_MSG(u8"I.피부상태", u8"[5.a.압력을 줄여주는 도구 사용]",
                       u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::i_turning_repositioning, '0', '1',
              FORM_MSG(u8"I.피부상태", u8"[5.b.체위변경]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::i_skin_nutrition_hydration, '0', '1',
              FORM_MSG(u8"I.피부상태", u8"[5.c.피부문제를 해결하기 위한 영양이나 수분 공급]",
                       u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::i_ulcer_dressing, '0', '1',
              FORM_MSG(u8"I.피부상태", u8"[5.d.피부궤양 드레싱]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(
        &R::i_ulcer_dressing_foot, '0', '1',
        FORM_MSG(u8"I.피부상태", u8"[5.d.피부궤양 드레싱-발]", u8" 0~1 사이 숫자를 입력하시오"),
        HasUlcerDressing),
    CharRange(&R::i_ulcer_dressing_other, '0', '1',
              FORM_MSG(u8"I.피부상태", u8"[5.d.피부궤양 드레싱-발 이외]",
                       u8" 0~1 사이 숫자를 입력하시오"),
              HasUlcerDressing),
    AnySet(kUlcerDressingSites,
           FORM_MSG(u8"I.피부상태", u8"[5.d.피부궤양 드레싱]",
                    u8"이 있을 경우 부위값중 적어도 하나는 1이어야 합니다."),
           HasUlcerDressing),
    AllExactlyZero(kUlcerDressingSites,
                   FORM_MSG(u8"I.피부상태", u8"[5.d.피부궤양 드레싱]",
                            u8"이 없는 경우 부위값은 모두 0이어야 합니다."),
                   HasNoUlcerDressing),
    CharRange(&R::i_other_dressing, '0', '1',
              FORM_MSG(u8"I.피부상태", u8"[5.e.피부궤양 이외의 드레싱]",
                       u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::i_other_dressing_foot, '0', '1',
              FORM_MSG(u8"I.피부상태", u8"[5.e.피부궤양 이외의 드레싱-발]",
                       u8" 0~1 사이 숫자를 입력하시오"),
              HasOtherDressing),
    CharRange(&R::i_other_dressing_other, '0', '1',
              FORM_MSG(u8"I.피부상태", u8"[5.e.피부궤양 이외의 드레싱-발 이외]",
                       u8" 0~1 사이 숫자를 입력하시오"),
              HasOtherDressing),
    AnySet(kOtherDressingSites,
           FORM_MSG(u8"I.피부상태", u8"[5.e.피부궤양 이외의 드레싱]",
                    u8"이 있을 경우 부위값중 적어도 하나는 1이어야 합니다."),
           HasOtherDressing),
    AllExactlyZero(kOtherDressingSites,
                   FORM_MSG(u8"I.피부상태", u8"[5.e.피부궤양 이외의 드레싱]",
                            u8"이 없는 경우 부위값은 모두 0이어야 합니다."),
                   HasNoOtherDressing),
    CharRange(&R::i_surgical_wound_care, '0', '1',
              FORM_MSG(u8"I.피부상태", u8"[5.f.수술창상 치료]", u8" 0~1 사이 숫자를 입력하시오")),
    // From 091 item 5.g is a treatment, but its range message still names
    // the none-applies item of the older forms.
    CharRange(&R::i_skin_treatment_g, '0', '1',
              FORM_MSG(u8"I.피부상태", u8"[5.g.해당사항 없음]", u8" 0~1 사이 숫자를 입력하시오")),
};

// I.5.g closes the treatments in the early families and 090/011.
constexpr CharField kTreatments5aTo5f[] = {
    &R::i_pressure_relief_device, &R::i_turning_repositioning, &R::i_skin_nutrition_hydration,
    &R::i_ulcer_dressing,         &R::i_other_dressing,        &R::i_surgical_wound_care};
constexpr Row kTreatmentsNoneUpTo090[] = {
    NoneOfAbove(
        &R::i_skin_treatment_g, kTreatments5aTo5f,
        FORM_MSG(u8"I.피부상태", u8"[5.g.해당사항 없음]", u8" 해당사항 없음이 0이어야 합니다."),
        FORM_MSG(u8"I.피부상태", u8"[5.g.해당사항 없음]", u8" 해당사항 없음이 1이어야 합니다.")),
};

// I.5.h closes them from 091.
constexpr CharField kTreatments5aTo5g[] = {
    &R::i_pressure_relief_device, &R::i_turning_repositioning, &R::i_skin_nutrition_hydration,
    &R::i_ulcer_dressing,         &R::i_other_dressing,        &R::i_surgical_wound_care,
    &R::i_skin_treatment_g};
constexpr Row kTreatmentsNoneFrom091[] = {
    CharRange(&R::i_skin_treatment_none_091, '0', '1',
              FORM_MSG(u8"I.피부상태", u8"[5.h.해당사항 없음]", u8" 0~1 사이 숫자를 입력하시오")),
    NoneOfAbove(
        &R::i_skin_treatment_none_091, kTreatments5aTo5g,
        FORM_MSG(u8"I.피부상태", u8"[5.h.해당사항 없음]", u8" 해당사항 없음이 0이어야 합니다."),
        FORM_MSG(u8"I.피부상태", u8"[5.h.해당사항 없음]", u8" 해당사항 없음이 1이어야 합니다.")),
};

// The early families ask for the sites of an open lesion; the none-applies
// flag of the treatments reads a longer list from 091.
using SectionI = Section<Rows<kUlcersAndLesion>, Rows<kOpenLesionSiteRule, IsEarly>,
                         Rows<kSkinProblemsAndTreatments>, Rows<kTreatmentsNoneUpTo090, IsUpTo090>,
                         Rows<kTreatmentsNoneFrom091, IsFrom091>>;

}  // namespace

template <class Sink>
bool StageI::Run(const AssessmentRecord& record, Family family, Sink& sink) {
  return SectionI::Run(record, family, sink);
}
std::span<const RowList> StageI::Lists() {
  return SectionI::kLists;
}

template bool StageI::Run(const AssessmentRecord&, Family, FirstFault&);
template bool StageI::Run(const AssessmentRecord&, Family, FaultList&);

}  // namespace grouper
