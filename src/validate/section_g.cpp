// Section G, health status: fever and its details, dehydration, vomiting,
// bleeding and ostomy care with their none-applies flag, pain, falls and
// terminal illness.
//
// The form changed twice here. The early families ask for three pain grades
// as scales; from 090 the form asks for a pain frequency and one of three
// measured grades, and records the details of a fever; from 091 it adds the
// days of fever, drops internal bleeding and moves the ostomy items up one
// letter. Each family therefore runs its own sequence of row lists.
#include <initializer_list>
#include <span>

#include "validate/row_plan.h"
#include "validate/sections.h"

namespace grouper {

namespace {

using R = AssessmentRecord;

constexpr Gate kHasFeverGate = AnswerIs<&R::g_fever, '1'>();
constexpr GateRef HasFever = &kHasFeverGate;
constexpr Gate kHasNoFeverGate = AnswerIs<&R::g_fever, '0'>();
constexpr GateRef HasNoFever = &kHasNoFeverGate;

// G.1.a fever, for every family.
constexpr Row kFever[] = {
    CharRange(&R::g_fever, '0', '1',
              FORM_MSG(u8"G.건강상태", u8"[1.a.열]", u8" 0~1 사이 숫자를 입력하시오")),
};

// G.1.a.1 and G.1.a.2, from 090. The rows of the two answers exclude each
// other, so with a fever the range rows run and without one the zero rows.
constexpr Row kFeverDetails[] = {
    DecimalRange(&R::g_body_temperature, 0, 999,
                 FORM_MSG(u8"G.건강상태", u8"[1.a.열][1.체온]", u8" 0~99.9 사이 숫자를 입력하시오"),
                 HasFever),
    CharRange(&R::g_fever_workup, '0', '1',
              FORM_MSG(u8"G.건강상태", u8"[1.a.열][2. 발열 원인을 찾는 검사와 처치 시행 여부]",
                       u8" 0~1 사이 숫자를 입력하시오"),
              HasFever),
    DecimalZero(
        &R::g_body_temperature,
        FORM_MSG(u8"G.건강상태", u8"[1.a.열][1.체온]", u8" 열 미체크시 체온에 0을 입력하시오."),
        HasNoFever),
    Blank(&R::g_fever_workup,
          FORM_MSG(u8"G.건강상태", u8"[1.a.열][2. 발열 원인을 찾는 검사와 처치 시행 여부]",
                   u8" space를 입력하시오"),
          HasNoFever),
};

// G.1.a.3 days of fever, from 091.
constexpr Row kFeverDays[] = {
    IntRange(&R::g_fever_days, 0, 99,
             FORM_MSG(u8"G.건강상태", u8"[1.a.열][3.발열일수]", u8" 0~99 사이 숫자를 입력하시오"),
             HasFever),
    IntZero(&R::g_fever_days,
            FORM_MSG(u8"G.건강상태", u8"[1.a.열][3.발열일수]",
                     u8" 열을 체크하지 않았을 경우 0을 입력하십시오 "),
            HasNoFever),
};

constexpr Row kDehydrationVomiting[] = {
    CharRange(&R::g_dehydration, '0', '1',
              FORM_MSG(u8"G.건강상태", u8"[1.b.탈수]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::g_vomiting, '0', '1',
              FORM_MSG(u8"G.건강상태", u8"[1.c.구토]", u8" 0~1 사이 숫자를 입력하시오")),
};

// G.1.d to G.1.e in the early families.
constexpr CharField kConditionsEarlyItems[] = {&R::g_fever, &R::g_dehydration, &R::g_vomiting,
                                               &R::g_internal_bleeding};
constexpr Row kConditionsEarly[] = {
    CharRange(&R::g_internal_bleeding, '0', '1',
              FORM_MSG(u8"G.건강상태", u8"[1.d.체내출혈]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::g_conditions_none, '0', '1',
              FORM_MSG(u8"G.건강상태", u8"[1.e.해당사항 없음]", u8" 0~1 사이 숫자를 입력하시오")),
    NoneOfAbove(
        &R::g_conditions_none, kConditionsEarlyItems,
        FORM_MSG(u8"G.건강상태", u8"[1.e.해당사항 없음]", u8" 해당사항 없음이 0이어야 합니다."),
        FORM_MSG(u8"G.건강상태", u8"[1.e.해당사항 없음]", u8" 해당사항 없음이 1이어야 합니다.")),
};

// G.1.d to G.1.g in family 090/011.
constexpr CharField kConditions090Items[] = {&R::g_fever,
                                             &R::g_dehydration,
                                             &R::g_vomiting,
                                             &R::g_internal_bleeding,
                                             &R::g_stoma_care_post_surgery_090,
                                             &R::g_stoma_care_complication_090};
constexpr Row kConditions090[] = {
    CharRange(&R::g_internal_bleeding, '0', '1',
              FORM_MSG(u8"G.건강상태", u8"[1.d.체내출혈]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::g_stoma_care_post_surgery_090, '0', '1',
              FORM_MSG(u8"G.건강상태", u8"[1.e.수술 3개월 이내 루 관리]",
                       u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::g_stoma_care_complication_090, '0', '1',
              FORM_MSG(u8"G.건강상태", u8"[1.f.출혈감염 등의 문제로 인한 루 관리]",
                       u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::g_conditions_none_090, '0', '1',
              FORM_MSG(u8"G.건강상태", u8"[1.g.해당사항 없음]", u8" 0~1 사이 숫자를 입력하시오")),
    NoneOfAbove(
        &R::g_conditions_none_090, kConditions090Items,
        FORM_MSG(u8"G.건강상태", u8"[1.g.해당사항 없음]", u8" 해당사항 없음이 0이어야 합니다."),
        FORM_MSG(u8"G.건강상태", u8"[1.g.해당사항 없음]", u8" 해당사항 없음이 1이어야 합니다.")),
};

// G.1.d to G.1.f in the families from 091, which have no internal bleeding.
constexpr CharField kConditions091Items[] = {&R::g_fever, &R::g_dehydration, &R::g_vomiting,
                                             &R::g_stoma_care_post_surgery_091,
                                             &R::g_stoma_care_complication_091};
constexpr Row kConditions091[] = {
    CharRange(&R::g_stoma_care_post_surgery_091, '0', '1',
              FORM_MSG(u8"G.건강상태", u8"[1.d.수술 3개월 이내 루 관리]",
                       u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::g_stoma_care_complication_091, '0', '1',
              FORM_MSG(u8"G.건강상태", u8"[1.e.출혈감염 등의 문제로 인한 루 관리]",
                       u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::g_conditions_none_091, '0', '1',
              FORM_MSG(u8"G.건강상태", u8"[1.f.해당사항 없음]", u8" 0~1 사이 숫자를 입력하시오")),
    NoneOfAbove(
        &R::g_conditions_none_091, kConditions091Items,
        FORM_MSG(u8"G.건강상태", u8"[1.f.해당사항 없음]", u8" 해당사항 없음이 0이어야 합니다."),
        FORM_MSG(u8"G.건강상태", u8"[1.f.해당사항 없음]", u8" 해당사항 없음이 1이어야 합니다.")),
};

// G.2 in the early families: three scales, one per strength of pain.
constexpr Row kPainEarly[] = {
    CharRange(&R::g_pain_mild, '0', '2',
              FORM_MSG(u8"G.건강상태", u8"[2.a.경미한 통증]", u8" 0~2 사이값을 입력하시오")),
    CharRange(&R::g_pain_moderate, '0', '2',
              FORM_MSG(u8"G.건강상태", u8"[2.b.중증도의 통증]", u8" 0~2 사이값을 입력하시오")),
    CharRange(&R::g_pain_severe, '0', '2',
              FORM_MSG(u8"G.건강상태", u8"[2.c.격렬하거나 참을 수 없는 통증]",
                       u8" 0~2 사이값을 입력하시오")),
};

// From 090 the pain frequency and the grades must tell the same story: no
// grade means no pain, and a pain is graded on exactly one of the three
// scales. The grades' own ranges are tested after this rule.
constexpr FormMessage kPainMessages[] = {
    FORM_MSG(u8"G.건강상태", u8"[2.a.통증 발생 빈도]", u8" 통증 발생 빈도가 0이어야 합니다. "),
    FORM_MSG(u8"G.건강상태", u8"[2.a.통증 발생 빈도]",
             u8" 통증 발생 빈도가 1 또는 2이어야 합니다."),
    FORM_MSG(u8"G.건강상태", u8"[2.a.통증 발생 빈도]",
             u8" 통증 강도는 3가지중 1가지만 값을 입력해야 합니다.")};
const char* PainRule(char frequency, const R& r) {
  const int visual = r.g_pain_visual_scale;
  const int numeric = r.g_pain_numeric_scale;
  const int faces = r.g_pain_faces_scale;
  if (visual <= 0 && numeric <= 0 && faces <= 0) {
    if (frequency == '1' || frequency == '2') {
      return kPainMessages[0].text;
    }
    return nullptr;
  }
  if (frequency == '0') {
    return kPainMessages[1].text;
  }
  const bool only_visual = visual > 0 && numeric == 0 && faces == 0;
  const bool only_numeric = numeric > 0 && visual == 0 && faces == 0;
  const bool only_faces = faces > 0 && visual == 0 && numeric == 0;
  if (!only_visual && !only_numeric && !only_faces) {
    return kPainMessages[2].text;
  }
  return nullptr;
}
const char* PainRule090(const R& r) {
  return PainRule(r.g_pain_frequency_090, r);
}
const char* PainRule091(const R& r) {
  return PainRule(r.g_pain_frequency_091, r);
}
constexpr std::span<const FieldRef> kPainRule090Reads =
    kFields<FIELD(g_pain_frequency_090), FIELD(g_pain_visual_scale), FIELD(g_pain_numeric_scale),
            FIELD(g_pain_faces_scale)>;
constexpr std::span<const FieldRef> kPainRule091Reads =
    kFields<FIELD(g_pain_frequency_091), FIELD(g_pain_visual_scale), FIELD(g_pain_numeric_scale),
            FIELD(g_pain_faces_scale)>;

constexpr Row kPainGrades[] = {
    IntRange(&R::g_pain_visual_scale, 0, 10,
             FORM_MSG(u8"G.건강상태", u8"[2.b.1.시각 통증 등급]", u8" 0~10 사이값을 입력하시오")),
    IntRange(&R::g_pain_numeric_scale, 0, 10,
             FORM_MSG(u8"G.건강상태", u8"[2.b.2.숫자 통증 등급]", u8" 0~10 사이값을 입력하시오")),
    IntRange(&R::g_pain_faces_scale, 0, 5,
             FORM_MSG(u8"G.건강상태", u8"[2.b.3.얼굴 통증 등급]", u8" 0~5 사이값을 입력하시오")),
};

// G.2 in family 090/011.
constexpr Row kPainFrequency090[] = {
    CharRange(&R::g_pain_frequency_090, '0', '2',
              FORM_MSG(u8"G.건강상태", u8"[2.a.통증발생빈도]", u8" 0~2 사이값을 입력하시오")),
    Rule(PainRule090, kPainRule090Reads, kPainMessages),
};
constexpr Row kPainTreatment090[] = {
    CharRange(&R::g_cancer_pain_treatment_090, '0', '1',
              FORM_MSG(u8"G.건강상태", u8"[2.c.암성통증 치료여부]", u8" 0~1 사이값을 입력하시오")),
};

// G.2 in the families from 091.
constexpr Row kPainFrequency091[] = {
    CharRange(&R::g_pain_frequency_091, '0', '2',
              FORM_MSG(u8"G.건강상태", u8"[2.a.통증발생빈도]", u8" 0~2 사이값을 입력하시오")),
    Rule(PainRule091, kPainRule091Reads, kPainMessages),
};
constexpr Row kPainTreatment091[] = {
    CharRange(&R::g_pain_treatment_091, '0', '1',
              FORM_MSG(u8"G.건강상태", u8"[2.c.1.통증치료]", u8" 0~1 사이값을 입력하시오")),
    CharRange(
        &R::g_cancer_pain_treatment_091, '0', '1',
        FORM_MSG(u8"G.건강상태", u8"[2.c.2.암성통증 치료여부]", u8" 0~1 사이값을 입력하시오")),
};

// G.3 and G.4, for every family.
constexpr Row kFallsAndTerminalIllness[] = {
    CharRange(&R::g_fall_30_days, '0', '2',
              FORM_MSG(u8"G.건강상태", u8"[3.a.30일 이내 낙상]", u8" 0~2 사이값을 입력하시오")),
    CharRange(
        &R::g_fall_31_180_days, '0', '2',
        FORM_MSG(u8"G.건강상태", u8"[3.b.31~180일 사이의 낙상]", u8" 0~2 사이값을 입력하시오")),
    CharRange(&R::g_end_stage_disease, '0', '1',
              FORM_MSG(u8"G.건강상태", u8"[4.말기질환]", u8" 0~1 사이값을 입력하시오")),
};

// Each family group runs its own sequence: the rows of the fever details,
// the conditions and the pain as its layout asks them.
using SectionG =
    Section<Rows<kFever>, Rows<kFeverDetails, IsFrom090>, Rows<kFeverDays, IsFrom091>,
            Rows<kDehydrationVomiting>, Rows<kConditionsEarly, IsEarly>,
            Rows<kConditions090, Is090>, Rows<kConditions091, IsFrom091>, Rows<kPainEarly, IsEarly>,
            Rows<kPainFrequency090, Is090>, Rows<kPainFrequency091, IsFrom091>,
            Rows<kPainGrades, IsFrom090>, Rows<kPainTreatment090, Is090>,
            Rows<kPainTreatment091, IsFrom091>, Rows<kFallsAndTerminalIllness>>;

}  // namespace

template <class Sink>
bool StageG::Run(const AssessmentRecord& record, Family family, Sink& sink) {
  return SectionG::Run(record, family, sink);
}
std::span<const RowList> StageG::Lists() {
  return SectionG::kLists;
}

template bool StageG::Run(const AssessmentRecord&, Family, FirstFault&);
template bool StageG::Run(const AssessmentRecord&, Family, FaultList&);

}  // namespace grouper
