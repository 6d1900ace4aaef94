// Sections B and C, consciousness, cognition and behaviour. The coma state
// (B.1) decides between two forms of the whole stage: a patient who is awake is
// assessed on every item, a patient in a coma on none, so that every item must
// then be left blank, every score zero and every test date absent. The dementia
// scales of C.7 exist only in the families from 090 and follow the K-MMSE.
//
// The not-performed messages name the section "[C.신체기능]" and the CDR and
// GDS date messages carry two blanks before 미실시; messages are reproduced byte
// for byte, so they stay exactly as the catalogue has them.
#include "validate/check_plan.h"
#include "validate/sections.h"

namespace grouper {

namespace {

using R = AssessmentRecord;

constexpr GateRef InComa = &kAnswerIs<&R::b_coma, '1'>;
constexpr GateRef Awake = &kAnswerIsNot<&R::b_coma, '1'>;

// The performed flags of the tests, read once the flag has passed its range.
constexpr GateRef KmmseNotDone = &kAnswerIs<&R::c_kmmse_done, '0'>;
constexpr GateRef KmmseDone = &kAnswerIs<&R::c_kmmse_done, '1'>;
constexpr GateRef CdrNotDone = &kAnswerIs<&R::c_cdr_done, '0'>;
constexpr GateRef CdrDone = &kAnswerIs<&R::c_cdr_done, '1'>;
constexpr GateRef GdsNotDone = &kAnswerIs<&R::c_gds_done, '0'>;
constexpr GateRef GdsDone = &kAnswerIs<&R::c_gds_done, '1'>;

// clang-format off
constexpr Check kComaState[] = {
    CharRange(&R::b_coma, '0', '1', u8"오류-[B.인지기능][1.혼수상태] 0~1 사이값을 입력하시오"_cp949),
};

// B.1 is 0: the patient is awake and every item is answered.
constexpr Check kAwake[] = {
    CharRange(&R::b_delirium, '0', '2', u8"오류-[B.인지기능][2.섬망] 0~2 사이값을 입력하시오"_cp949),
    CharRange(&R::c_short_term_memory, '0', '2', u8"오류-[C.인지기능][1.단기기억력] 0~2 사이값을 입력하시오"_cp949),
    CharRange(&R::c_cognitive_skills, '0', '3', u8"오류-[C.인지기능][2.인식기술] 0~3 사이값을 입력하시오"_cp949),
    CharRange(&R::c_making_understood, '0', '3', u8"오류-[C.인지기능][3.이해시키는 능력] 0~3 사이값을 입력하시오"_cp949),
    CharRange(&R::c_expression, '0', '1', u8"오류-[C.인지기능][4.의사표현] 0~1 사이값을 입력하시오"_cp949),
    CharRange(&R::c_delusions, '0', '3', u8"오류-[C.인지기능][5.a.망상] 0~3 사이값을 입력하시오"_cp949),
    CharRange(&R::c_hallucinations, '0', '3', u8"오류-[C.인지기능][5.b.환각] 0~3 사이값을 입력하시오"_cp949),
    CharRange(&R::c_agitation, '0', '3', u8"오류-[C.인지기능][5.c.초조/공격성] 0~3 사이값을 입력하시오"_cp949),
    CharRange(&R::c_depression, '0', '3', u8"오류-[C.인지기능][5.d.우울/낙담] 0~3 사이값을 입력하시오"_cp949),
    CharRange(&R::c_anxiety, '0', '3', u8"오류-[C.인지기능][5.e.불안] 0~3 사이값을 입력하시오"_cp949),
    CharRange(&R::c_euphoria, '0', '3', u8"오류-[C.인지기능][5.f.들뜬 기분/다행감] 0~3 사이값을 입력하시오"_cp949),
    CharRange(&R::c_apathy, '0', '3', u8"오류-[C.인지기능][5.g.무감동/무관심] 0~3 사이값을 입력하시오"_cp949),
    CharRange(&R::c_disinhibition, '0', '3', u8"오류-[C.인지기능][5.h.탈억제] 0~3 사이값을 입력하시오"_cp949),
    CharRange(&R::c_irritability, '0', '3', u8"오류-[C.인지기능][5.i.과민/불안정] 0~3 사이값을 입력하시오"_cp949),
    CharRange(&R::c_aberrant_motor, '0', '3', u8"오류-[C.인지기능][5.j.이상 운동증상 또는 반복적 행동] 0~3 사이값을 입력하시오"_cp949),
    CharRange(&R::c_sleep_behaviour, '0', '3', u8"오류-[C.인지기능][5.k.수면/야간행동] 0~3 사이값을 입력하시오"_cp949),
    CharRange(&R::c_appetite_change, '0', '3', u8"오류-[C.인지기능][5.l.식욕/식습관의 변화] 0~3 사이값을 입력하시오"_cp949),
    CharRange(&R::c_care_resistance, '0', '3', u8"오류-[C.인지기능][5.m.케어에 대한 저항] 0~3 사이값을 입력하시오"_cp949),
    CharRange(&R::c_wandering, '0', '3', u8"오류-[C.인지기능][5.n.배회] 0~3 사이값을 입력하시오"_cp949),

    // C.6 K-MMSE.
    CharRange(&R::c_kmmse_done, '0', '1', u8"오류-[C.인지기능][6.K-MMSE 실시여부] 0~1 사이값을 입력하시오"_cp949),
    IntZero(&R::c_kmmse_score, u8"오류-[C.신체기능][6.K-MMSE] 미실시 경우 점수 0을 입력하시오."_cp949, KmmseNotDone),
    AbsentDate(&R::c_kmmse_date, u8"오류-[C.신체기능][6.K-MMSE] 미실시 경우 검사일 \"00000000\"을 입력하시오."_cp949, KmmseNotDone),
    IntRange(&R::c_kmmse_score, 0, 99, u8"오류-[C.인지기능][6.K-MMSE 점수] 0~99 사이 숫자를 입력하시오"_cp949, KmmseDone),
    Date(&R::c_kmmse_date, u8"오류-[C.인지기능][6.K-MMSE 검사일]"_cp949, KmmseDone),
};

// C.7 dementia scales of an awake patient, families from 090. The CDR score
// holds the two digits of the form divided by ten, so 0 to 9 are its values up
// to 9.9.
constexpr Check kAwakeDementiaScales[] = {
    CharRange(&R::c_cdr_done, '0', '1', u8"오류-[C.인지기능][7.치매 척도 검사][a.검사실시여부] 0~1 사이값을 입력하시오"_cp949),
    IntZero(&R::c_cdr_score, u8"오류-[C.신체기능][7.치매척도검사][b.1 CDR 검사] 미실시 경우 점수 0을 입력하시오."_cp949, CdrNotDone),
    AbsentDate(&R::c_cdr_date, u8"오류-[C.신체기능][7.치매척도검사][b.2 CDR 검사일]  미실시 경우 검사일 \"00000000\"을 입력하시오."_cp949, CdrNotDone),
    IntRange(&R::c_cdr_score, 0, 9, u8"오류-[C.인지기능][7.치매 척도 검사][b.1 점수] 0~99 사이 숫자를 입력하시오"_cp949, CdrDone),
    Date(&R::c_cdr_date, u8"오류-[C.인지기능][7.치매 척도 검사][b.2 검사일]"_cp949, CdrDone),
    CharRange(&R::c_gds_done, '0', '1', u8"오류-[C.인지기능][7.치매 척도 검사][c.검사실시여부] 0~1 사이값을 입력하시오"_cp949),
    IntZero(&R::c_gds_score, u8"오류-[C.신체기능][7.치매척도검사][d.1 GDS 검사] 미실시 경우 점수 0을 입력하시오."_cp949, GdsNotDone),
    AbsentDate(&R::c_gds_date, u8"오류-[C.신체기능][7.치매척도검사][d.2 GDS 검사일]  미실시 경우 검사일 \"00000000\"을 입력하시오."_cp949, GdsNotDone),
    IntRange(&R::c_gds_score, 0, 9, u8"오류-[C.인지기능][7.치매 척도 검사][d.1 점수] 0~9 사이 숫자를 입력하시오"_cp949, GdsDone),
    Date(&R::c_gds_date, u8"오류-[C.인지기능][7.치매 척도 검사][d.2 검사일]"_cp949, GdsDone),
};

// B.1 is 1: the patient is in a coma and no item is answered.
constexpr Check kComa[] = {
    Blank(&R::b_delirium, u8"오류-[B.인지기능][2.섬망] space를 입력하시오"_cp949),
    Blank(&R::c_short_term_memory, u8"오류-[C.인지기능][1.단기기억력] space를 입력하시오"_cp949),
    Blank(&R::c_cognitive_skills, u8"오류-[C.인지기능][2.인식기술] space를 입력하시오"_cp949),
    Blank(&R::c_making_understood, u8"오류-[C.인지기능][3.이해시키는 능력] space를 입력하시오"_cp949),
    Blank(&R::c_expression, u8"오류-[C.인지기능][4.의사표현] space를 입력하시오"_cp949),
    Blank(&R::c_delusions, u8"오류-[C.인지기능][5.a.망상] space를 입력하시오"_cp949),
    Blank(&R::c_hallucinations, u8"오류-[C.인지기능][5.b.환각] space를 입력하시오"_cp949),
    Blank(&R::c_agitation, u8"오류-[C.인지기능][5.c.초조/공격성] space를 입력하시오"_cp949),
    Blank(&R::c_depression, u8"오류-[C.인지기능][5.d.우울/낙담] space를 입력하시오"_cp949),
    Blank(&R::c_anxiety, u8"오류-[C.인지기능][5.e.불안] space를 입력하시오"_cp949),
    Blank(&R::c_euphoria, u8"오류-[C.인지기능][5.f.들뜬 기분/다행감] space를 입력하시오"_cp949),
    Blank(&R::c_apathy, u8"오류-[C.인지기능][5.g.무감동/무관심] space를 입력하시오"_cp949),
    Blank(&R::c_disinhibition, u8"오류-[C.인지기능][5.h.탈억제] space를 입력하시오"_cp949),
    Blank(&R::c_irritability, u8"오류-[C.인지기능][5.i.과민/불안정] space를 입력하시오"_cp949),
    Blank(&R::c_aberrant_motor, u8"오류-[C.인지기능][5.j.이상 운동증상 또는 반복적 행동] space를 입력하시오"_cp949),
    Blank(&R::c_sleep_behaviour, u8"오류-[C.인지기능][5.k.수면/야간행동] space를 입력하시오"_cp949),
    Blank(&R::c_appetite_change, u8"오류-[C.인지기능][5.l.식욕/식습관의 변화] space를 입력하시오"_cp949),
    Blank(&R::c_care_resistance, u8"오류-[C.인지기능][5.m.케어에 대한 저항] space를 입력하시오"_cp949),
    Blank(&R::c_wandering, u8"오류-[C.인지기능][5.n.배회] space를 입력하시오"_cp949),

    // C.6 K-MMSE.
    Blank(&R::c_kmmse_done, u8"오류-[C.인지기능][6.K-MMSE 실시여부] space를 입력하시오"_cp949),
    IntZero(&R::c_kmmse_score, u8"오류-[C.신체기능][6.K-MMSE] 미실시 경우 점수 0을 입력하시오."_cp949),
    AbsentDate(&R::c_kmmse_date, u8"오류-[C.신체기능][6.K-MMSE] 미실시 경우 검사일 \"00000000\"을 입력하시오."_cp949),
};

// C.7 dementia scales of a patient in a coma, families from 090.
constexpr Check kComaDementiaScales[] = {
    Blank(&R::c_cdr_done, u8"오류-[C.인지기능][7.치매 척도 검사][a.검사실시여부] space를 입력하시오"_cp949),
    IntZero(&R::c_cdr_score, u8"오류-[C.신체기능][7.치매척도검사][b.1 CDR 검사] 미실시 경우 점수 0을 입력하시오."_cp949),
    AbsentDate(&R::c_cdr_date, u8"오류-[C.신체기능][7.치매척도검사][b.2 CDR 검사일]  미실시 경우 검사일 \"00000000\"을 입력하시오."_cp949),
    Blank(&R::c_gds_done, u8"오류-[C.인지기능][7.치매 척도 검사][c.검사실시여부] space를 입력하시오"_cp949),
    IntZero(&R::c_gds_score, u8"오류-[C.신체기능][7.치매척도검사][d.1 GDS 검사] 미실시 경우 점수 0을 입력하시오."_cp949),
    AbsentDate(&R::c_gds_date, u8"오류-[C.신체기능][7.치매척도검사][d.2 GDS 검사일]  미실시 경우 검사일 \"00000000\"을 입력하시오."_cp949),
};
// clang-format on

// The coma state chooses between the two forms of the stage.
using SectionsBC =
    Section<Rows<kComaState>, Rows<kComa, nullptr, InComa>,
            Rows<kComaDementiaScales, IsFrom090, InComa>, Rows<kAwake, nullptr, Awake>,
            Rows<kAwakeDementiaScales, IsFrom090, Awake>>;

}  // namespace

template <class Sink>
bool ValidateSectionsBC(const AssessmentRecord& record, Family family, Sink& sink) {
  return SectionsBC::Run(record, family, sink);
}
std::span<const RowList> SectionsBCLists() {
  return SectionsBC::kLists;
}

template bool ValidateSectionsBC(const AssessmentRecord&, Family, FirstFault&);
template bool ValidateSectionsBC(const AssessmentRecord&, Family, FaultList&);

}  // namespace grouper
