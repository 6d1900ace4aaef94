// Sections B and C, consciousness, cognition and behaviour. The coma state
// (B.1) decides between two forms of the whole stage: a patient who is awake is
// assessed on every item, a patient in a coma on none, so that every item must
// then be left blank, every score zero and every test date absent. The dementia
// scales of C.7 exist only in the families from 090 and follow the K-MMSE.
//
// The not-performed messages name the section "[C.신체기능]" and the CDR and
// GDS date messages carry two blanks before 미실시; messages are reproduced byte
// for byte, so they stay exactly as the catalogue has them.
#include "validate/row_plan.h"
#include "validate/sections.h"

namespace grouper {

namespace {

using R = AssessmentRecord;

constexpr Gate kInComaGate = AnswerIs<&R::b_coma, '1'>();
constexpr GateRef InComa = &kInComaGate;
constexpr Gate kAwakeGate = AnswerIsNot<&R::b_coma, '1'>();
constexpr GateRef Awake = &kAwakeGate;

// The performed flags of the tests, read once the flag has passed its range.
constexpr Gate kKmmseNotDoneGate = AnswerIs<&R::c_kmmse_done, '0'>();
constexpr GateRef KmmseNotDone = &kKmmseNotDoneGate;
constexpr Gate kKmmseDoneGate = AnswerIs<&R::c_kmmse_done, '1'>();
constexpr GateRef KmmseDone = &kKmmseDoneGate;
constexpr Gate kCdrNotDoneGate = AnswerIs<&R::c_cdr_done, '0'>();
constexpr GateRef CdrNotDone = &kCdrNotDoneGate;
constexpr Gate kCdrDoneGate = AnswerIs<&R::c_cdr_done, '1'>();
constexpr GateRef CdrDone = &kCdrDoneGate;
constexpr Gate kGdsNotDoneGate = AnswerIs<&R::c_gds_done, '0'>();
constexpr GateRef GdsNotDone = &kGdsNotDoneGate;
constexpr Gate kGdsDoneGate = AnswerIs<&R::c_gds_done, '1'>();
constexpr GateRef GdsDone = &kGdsDoneGate;

// clang-format off
constexpr Row kComaState[] = {
    CharRange(&R::b_coma, '0', '1', FORM_MSG(u8"B.인지기능", u8"[1.혼수상태]", u8" 0~1 사이값을 입력하시오")),
};

// B.1 is 0: the patient is awake and every item is answered.
constexpr Row kAwake[] = {
    CharRange(&R::b_delirium, '0', '2', FORM_MSG(u8"B.인지기능", u8"[2.섬망]", u8" 0~2 사이값을 입력하시오")),
    CharRange(&R::c_short_term_memory, '0', '2', FORM_MSG(u8"C.인지기능", u8"[1.단기기억력]", u8" 0~2 사이값을 입력하시오")),
    CharRange(&R::c_cognitive_skills, '0', '3', FORM_MSG(u8"C.인지기능", u8"[2.인식기술]", u8" 0~3 사이값을 입력하시오")),
    CharRange(&R::c_making_understood, '0', '3', FORM_MSG(u8"C.인지기능", u8"[3.이해시키는 능력]", u8" 0~3 사이값을 입력하시오")),
    CharRange(&R::c_expression, '0', '1', FORM_MSG(u8"C.인지기능", u8"[4.의사표현]", u8" 0~1 사이값을 입력하시오")),
    CharRange(&R::c_delusions, '0', '3', FORM_MSG(u8"C.인지기능", u8"[5.a.망상]", u8" 0~3 사이값을 입력하시오")),
    CharRange(&R::c_hallucinations, '0', '3', FORM_MSG(u8"C.인지기능", u8"[5.b.환각]", u8" 0~3 사이값을 입력하시오")),
    CharRange(&R::c_agitation, '0', '3', FORM_MSG(u8"C.인지기능", u8"[5.c.초조/공격성]", u8" 0~3 사이값을 입력하시오")),
    CharRange(&R::c_depression, '0', '3', FORM_MSG(u8"C.인지기능", u8"[5.d.우울/낙담]", u8" 0~3 사이값을 입력하시오")),
    CharRange(&R::c_anxiety, '0', '3', FORM_MSG(u8"C.인지기능", u8"[5.e.불안]", u8" 0~3 사이값을 입력하시오")),
    CharRange(&R::c_euphoria, '0', '3', FORM_MSG(u8"C.인지기능", u8"[5.f.들뜬 기분/다행감]", u8" 0~3 사이값을 입력하시오")),
    CharRange(&R::c_apathy, '0', '3', FORM_MSG(u8"C.인지기능", u8"[5.g.무감동/무관심]", u8" 0~3 사이값을 입력하시오")),
    CharRange(&R::c_disinhibition, '0', '3', FORM_MSG(u8"C.인지기능", u8"[5.h.탈억제]", u8" 0~3 사이값을 입력하시오")),
    CharRange(&R::c_irritability, '0', '3', FORM_MSG(u8"C.인지기능", u8"[5.i.과민/불안정]", u8" 0~3 사이값을 입력하시오")),
    CharRange(&R::c_aberrant_motor, '0', '3', FORM_MSG(u8"C.인지기능", u8"[5.j.이상 운동증상 또는 반복적 행동]", u8" 0~3 사이값을 입력하시오")),
    CharRange(&R::c_sleep_behaviour, '0', '3', FORM_MSG(u8"C.인지기능", u8"[5.k.수면/야간행동]", u8" 0~3 사이값을 입력하시오")),
    CharRange(&R::c_appetite_change, '0', '3', FORM_MSG(u8"C.인지기능", u8"[5.l.식욕/식습관의 변화]", u8" 0~3 사이값을 입력하시오")),
    CharRange(&R::c_care_resistance, '0', '3', FORM_MSG(u8"C.인지기능", u8"[5.m.케어에 대한 저항]", u8" 0~3 사이값을 입력하시오")),
    CharRange(&R::c_wandering, '0', '3', FORM_MSG(u8"C.인지기능", u8"[5.n.배회]", u8" 0~3 사이값을 입력하시오")),

    // C.6 K-MMSE.
    CharRange(&R::c_kmmse_done, '0', '1', FORM_MSG(u8"C.인지기능", u8"[6.K-MMSE 실시여부]", u8" 0~1 사이값을 입력하시오")),
    IntZero(&R::c_kmmse_score, FORM_MSG(u8"C.신체기능", u8"[6.K-MMSE]", u8" 미실시 경우 점수 0을 입력하시오."), KmmseNotDone),
    AbsentDate(&R::c_kmmse_date, FORM_MSG(u8"C.신체기능", u8"[6.K-MMSE]", u8" 미실시 경우 검사일 \"00000000\"을 입력하시오."), KmmseNotDone),
    IntRange(&R::c_kmmse_score, 0, 99, FORM_MSG(u8"C.인지기능", u8"[6.K-MMSE 점수]", u8" 0~99 사이 숫자를 입력하시오"), KmmseDone),
    Date(&R::c_kmmse_date, FORM_MSG(u8"C.인지기능", u8"[6.K-MMSE 검사일]", u8""), KmmseDone),
};

// C.7 dementia scales of an awake patient, families from 090. The CDR score
// holds the two digits of the form divided by ten, so 0 to 9 are its values up
// to 9.9.
constexpr Row kAwakeDementiaScales[] = {
    CharRange(&R::c_cdr_done, '0', '1', FORM_MSG(u8"C.인지기능", u8"[7.치매 척도 검사][a.검사실시여부]", u8" 0~1 사이값을 입력하시오")),
    IntZero(&R::c_cdr_score, FORM_MSG(u8"C.신체기능", u8"[7.치매척도검사][b.1 CDR 검사]", u8" 미실시 경우 점수 0을 입력하시오."), CdrNotDone),
    AbsentDate(&R::c_cdr_date, FORM_MSG(u8"C.신체기능", u8"[7.치매척도검사][b.2 CDR 검사일]", u8"  미실시 경우 검사일 \"00000000\"을 입력하시오."), CdrNotDone),
    IntRange(&R::c_cdr_score, 0, 9, FORM_MSG(u8"C.인지기능", u8"[7.치매 척도 검사][b.1 점수]", u8" 0~99 사이 숫자를 입력하시오"), CdrDone),
    Date(&R::c_cdr_date, FORM_MSG(u8"C.인지기능", u8"[7.치매 척도 검사][b.2 검사일]", u8""), CdrDone),
    CharRange(&R::c_gds_done, '0', '1', FORM_MSG(u8"C.인지기능", u8"[7.치매 척도 검사][c.검사실시여부]", u8" 0~1 사이값을 입력하시오")),
    IntZero(&R::c_gds_score, FORM_MSG(u8"C.신체기능", u8"[7.치매척도검사][d.1 GDS 검사]", u8" 미실시 경우 점수 0을 입력하시오."), GdsNotDone),
    AbsentDate(&R::c_gds_date, FORM_MSG(u8"C.신체기능", u8"[7.치매척도검사][d.2 GDS 검사일]", u8"  미실시 경우 검사일 \"00000000\"을 입력하시오."), GdsNotDone),
    IntRange(&R::c_gds_score, 0, 9, FORM_MSG(u8"C.인지기능", u8"[7.치매 척도 검사][d.1 점수]", u8" 0~9 사이 숫자를 입력하시오"), GdsDone),
    Date(&R::c_gds_date, FORM_MSG(u8"C.인지기능", u8"[7.치매 척도 검사][d.2 검사일]", u8""), GdsDone),
};

// B.1 is 1: the patient is in a coma and no item is answered.
constexpr Row kComa[] = {
    Blank(&R::b_delirium, FORM_MSG(u8"B.인지기능", u8"[2.섬망]", u8" space를 입력하시오")),
    Blank(&R::c_short_term_memory, FORM_MSG(u8"C.인지기능", u8"[1.단기기억력]", u8" space를 입력하시오")),
    Blank(&R::c_cognitive_skills, FORM_MSG(u8"C.인지기능", u8"[2.인식기술]", u8" space를 입력하시오")),
    Blank(&R::c_making_understood, FORM_MSG(u8"C.인지기능", u8"[3.이해시키는 능력]", u8" space를 입력하시오")),
    Blank(&R::c_expression, FORM_MSG(u8"C.인지기능", u8"[4.의사표현]", u8" space를 입력하시오")),
    Blank(&R::c_delusions, FORM_MSG(u8"C.인지기능", u8"[5.a.망상]", u8" space를 입력하시오")),
    Blank(&R::c_hallucinations, FORM_MSG(u8"C.인지기능", u8"[5.b.환각]", u8" space를 입력하시오")),
    Blank(&R::c_agitation, FORM_MSG(u8"C.인지기능", u8"[5.c.초조/공격성]", u8" space를 입력하시오")),
    Blank(&R::c_depression, FORM_MSG(u8"C.인지기능", u8"[5.d.우울/낙담]", u8" space를 입력하시오")),
    Blank(&R::c_anxiety, FORM_MSG(u8"C.인지기능", u8"[5.e.불안]", u8" space를 입력하시오")),
    Blank(&R::c_euphoria, FORM_MSG(u8"C.인지기능", u8"[5.f.들뜬 기분/다행감]", u8" space를 입력하시오")),
    Blank(&R::c_apathy, FORM_MSG(u8"C.인지기능", u8"[5.g.무감동/무관심]", u8" space를 입력하시오")),
    Blank(&R::c_disinhibition, FORM_MSG(u8"C.인지기능", u8"[5.h.탈억제]", u8" space를 입력하시오")),
    Blank(&R::c_irritability, FORM_MSG(u8"C.인지기능", u8"[5.i.과민/불안정]", u8" space를 입력하시오")),
    Blank(&R::c_aberrant_motor, FORM_MSG(u8"C.인지기능", u8"[5.j.이상 운동증상 또는 반복적 행동]", u8" space를 입력하시오")),
    Blank(&R::c_sleep_behaviour, FORM_MSG(u8"C.인지기능", u8"[5.k.수면/야간행동]", u8" space를 입력하시오")),
    Blank(&R::c_appetite_change, FORM_MSG(u8"C.인지기능", u8"[5.l.식욕/식습관의 변화]", u8" space를 입력하시오")),
    Blank(&R::c_care_resistance, FORM_MSG(u8"C.인지기능", u8"[5.m.케어에 대한 저항]", u8" space를 입력하시오")),
    Blank(&R::c_wandering, FORM_MSG(u8"C.인지기능", u8"[5.n.배회]", u8" space를 입력하시오")),

    // C.6 K-MMSE.
    Blank(&R::c_kmmse_done, FORM_MSG(u8"C.인지기능", u8"[6.K-MMSE 실시여부]", u8" space를 입력하시오")),
    IntZero(&R::c_kmmse_score, FORM_MSG(u8"C.신체기능", u8"[6.K-MMSE]", u8" 미실시 경우 점수 0을 입력하시오.")),
    AbsentDate(&R::c_kmmse_date, FORM_MSG(u8"C.신체기능", u8"[6.K-MMSE]", u8" 미실시 경우 검사일 \"00000000\"을 입력하시오.")),
};

// C.7 dementia scales of a patient in a coma, families from 090.
constexpr Row kComaDementiaScales[] = {
    Blank(&R::c_cdr_done, FORM_MSG(u8"C.인지기능", u8"[7.치매 척도 검사][a.검사실시여부]", u8" space를 입력하시오")),
    IntZero(&R::c_cdr_score, FORM_MSG(u8"C.신체기능", u8"[7.치매척도검사][b.1 CDR 검사]", u8" 미실시 경우 점수 0을 입력하시오.")),
    AbsentDate(&R::c_cdr_date, FORM_MSG(u8"C.신체기능", u8"[7.치매척도검사][b.2 CDR 검사일]", u8"  미실시 경우 검사일 \"00000000\"을 입력하시오.")),
    Blank(&R::c_gds_done, FORM_MSG(u8"C.인지기능", u8"[7.치매 척도 검사][c.검사실시여부]", u8" space를 입력하시오")),
    IntZero(&R::c_gds_score, FORM_MSG(u8"C.신체기능", u8"[7.치매척도검사][d.1 GDS 검사]", u8" 미실시 경우 점수 0을 입력하시오.")),
    AbsentDate(&R::c_gds_date, FORM_MSG(u8"C.신체기능", u8"[7.치매척도검사][d.2 GDS 검사일]", u8"  미실시 경우 검사일 \"00000000\"을 입력하시오.")),
};
// clang-format on

// The coma state chooses between the two forms of the stage.
using SectionsBC =
    Section<Rows<kComaState>, Rows<kComa, nullptr, InComa>,
            Rows<kComaDementiaScales, IsFrom090, InComa>, Rows<kAwake, nullptr, Awake>,
            Rows<kAwakeDementiaScales, IsFrom090, Awake>>;

}  // namespace

template <class Sink>
bool StageBC::Run(const AssessmentRecord& record, Family family, Sink& sink) {
  return SectionsBC::Run(record, family, sink);
}
std::span<const RowList> StageBC::Lists() {
  return SectionsBC::kLists;
}

template bool StageBC::Run(const AssessmentRecord&, Family, FirstFault&);
template bool StageBC::Run(const AssessmentRecord&, Family, FaultList&);

}  // namespace grouper
