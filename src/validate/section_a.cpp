// Section A, general items: identity of the institution and the patient, the
// dates of the stay and of the assessment, the assessment type and, in the
// families from 090, health habits, long-term-care grade and services and the
// social screening. Most optional items hang on the assessment type (A.5): a
// first assessment answers them, a re-assessment leaves them blank.
#include <cstring>

#include "validate/field_text.h"
#include "validate/names.h"
#include "validate/row_plan.h"
#include "validate/sections.h"

namespace grouper {

namespace {

using R = AssessmentRecord;

// Exactly `length` digits (8 to 16): what IsNumericText accepts, tested as
// two words that may overlap.
bool IsDigitsOfLength(const char* text, std::size_t length) {
  return EightDigits(text) && EightDigits(text + length - 8) && text[length] == '\0';
}

constexpr FormMessage kInstitutionCodeDigits[] = {
    FORM_MSG(u8"A.일반적사항", u8"[0.요양기관기호]", u8" 8자리 숫자를 입력하시오")};
const char* InstitutionCode(const R& r) {
  if (IsDigitsOfLength(r.institution_code, 8)) return nullptr;
  return kInstitutionCodeDigits[0].text;
}

// The name counts without its blanks.
constexpr FormMessage kPatientNameLength[] = {FORM_MSG(u8"A.일반적사항", u8"[1.환자성명]", u8"")};
const char* PatientName(const R& r) {
  const std::size_t length = NameLength(r.patient_name);
  if (length >= 1 && length <= 12) return nullptr;
  return kPatientNameLength[0].text;
}

constexpr FormMessage kResidentNumberDigits[] = {
    FORM_MSG(u8"A.일반적사항", u8"[2.주민등록번호]", u8" 13자리 숫자를 입력하시오")};
const char* ResidentNumber(const R& r) {
  if (IsDigitsOfLength(r.resident_number, 13)) return nullptr;
  return kResidentNumberDigits[0].text;
}

// The admission comes first; the care start and the assessment may fall on the
// same day as the admission, and are not ordered between themselves. When one
// of the dates is no valid date (which only an explanation of all faults
// reaches), its own row tells, and there is no order to judge.
constexpr FormMessage kAdmissionFirst[] = {
    FORM_MSG(u8"A.일반적사항", u8"", u8" 입원일은 요양개시일,작성일보다 빠르거나 같아야 합니다.")};
const char* AdmissionFirst(const R& r) {
  const int32_t admission = CheckDateField(r.a_admission_date);
  const int32_t care_start = CheckDateField(r.a_care_start_date);
  const int32_t assessment = CheckDateField(r.a_assessment_date);
  if (admission == -1 || care_start == -1 || assessment == -1) return nullptr;
  if (admission <= care_start && admission <= assessment) return nullptr;
  return kAdmissionFirst[0].text;
}

// The assessment type has passed its range before any of these gates is read.
constexpr Gate kFirstAssessmentGate = AnswerIs<&R::a_assessment_type, '1'>();
constexpr GateRef FirstAssessment = &kFirstAssessmentGate;
constexpr Gate kReassessmentGate = AnswerIs<&R::a_assessment_type, '2', '3'>();
constexpr GateRef Reassessment = &kReassessmentGate;

// A.11 answered 5: the patient holds a grade and says which services were used.
constexpr Gate kHoldsLtcGradeGate = AnswerIs<&R::a_ltc_grade_application, '5'>();
constexpr GateRef HoldsLtcGrade = &kHoldsLtcGradeGate;
constexpr Gate kHoldsNoLtcGradeGate = AnswerIsNot<&R::a_ltc_grade_application, '5'>();
constexpr GateRef HoldsNoLtcGrade = &kHoldsNoLtcGradeGate;
// A.11 answered 2 or 4: the patient is asked whether services are wanted.
constexpr Gate kAskedServiceWishGate = AnswerIs<&R::a_ltc_grade_application, '2', '4'>();
constexpr GateRef AskedServiceWish = &kAskedServiceWishGate;
constexpr Gate kNotAskedServiceWishGate = AnswerIsNot<&R::a_ltc_grade_application, '2', '4'>();
constexpr GateRef NotAskedServiceWish = &kNotAskedServiceWishGate;

// The social screening is answered item by item unless the patient refused it.
constexpr Gate kScreeningAnswered = {
    [](const R& r) { return FirstAssessment->holds(r) && r.a_social_refused == '0'; },
    kFields<FIELD(a_assessment_type), FIELD(a_social_refused)>};
constexpr GateRef ScreeningAnswered = &kScreeningAnswered;
constexpr Gate kScreeningLeftOut = {
    [](const R& r) { return Reassessment->holds(r) || r.a_social_refused == '1'; },
    kFields<FIELD(a_assessment_type), FIELD(a_social_refused)>};
constexpr GateRef ScreeningLeftOut = &kScreeningLeftOut;

// A.0 to A.9, every family.
// clang-format off
constexpr Row kIdentityAndStay[] = {
    Rule(InstitutionCode, kFields<FIELD(institution_code)>, kInstitutionCodeDigits),
    Rule(PatientName, kFields<FIELD(patient_name)>, kPatientNameLength),
    Rule(ResidentNumber, kFields<FIELD(resident_number)>, kResidentNumberDigits),
    Date(&R::a_admission_date, FORM_MSG(u8"A.일반적사항", u8"[3.입원일]", u8"")),
    Date(&R::a_care_start_date, FORM_MSG(u8"A.일반적사항", u8"[4.요양개시일]", u8"")),
    CharRange(&R::a_assessment_type, '1', '3', FORM_MSG(u8"A.일반적사항", u8"[5.평가구분]", u8"1~3 사이값을 입력하시오")),
    Date(&R::a_assessment_date, FORM_MSG(u8"A.일반적사항", u8"[6.작성일]", u8"")),
    Rule(AdmissionFirst, kFields<FIELD(a_admission_date), FIELD(a_care_start_date), FIELD(a_assessment_date)>, kAdmissionFirst),
    CharRange(&R::a_residence_before_admission, '1', '7', FORM_MSG(u8"A.일반적사항", u8"[7.입원 직전 있던곳]", u8" 1~7 사이값을 입력하시오"), FirstAssessment),
    Blank(&R::a_residence_before_admission, FORM_MSG(u8"A.일반적사항", u8"[7.입원 직전 있던곳]", u8" space를 입력하시오"), Reassessment),
    CharRange(&R::a_education_level, '1', '6', FORM_MSG(u8"A.일반적사항", u8"[8.교육수준]", u8" 1~6 사이값을 입력하시오"), FirstAssessment),
    Blank(&R::a_education_level, FORM_MSG(u8"A.일반적사항", u8"[8.교육수준]", u8" space를 입력하시오"), Reassessment),
    IntRange(&R::a_systolic_bp, 1, 999, FORM_MSG(u8"A.일반적사항", u8"[9.수축기혈압]", u8" 1~ 999 사이 숫자를 입력하시오")),
    IntRange(&R::a_diastolic_bp, 1, 999, FORM_MSG(u8"A.일반적사항", u8"[9.이완기혈압]", u8" 1~ 999 사이 숫자를 입력하시오")),
};
// clang-format on

// A.10 to A.14, families from 090 only.
// clang-format off
constexpr Row kHabitsCareAndSocial[] = {
    // A.10 health habits.
    CharRange(&R::a_smoking, '0', '1', FORM_MSG(u8"A.일반적사항", u8"[10.건강생활습관][a.담배를 피우십니까?]", u8" 0~1 사이값을 입력하시오"), FirstAssessment),
    CharRange(&R::a_drinking, '0', '1', FORM_MSG(u8"A.일반적사항", u8"[10.건강생활습관][b.술을 자주 마십니까?]", u8" 0~1 사이값을 입력하시오"), FirstAssessment),
    CharRange(&R::a_exercise, '0', '1', FORM_MSG(u8"A.일반적사항", u8"[10.건강생활습관][c.주 4일이상, 한번에 30분 이상 운동을 합니까?]", u8" 0~1 사이값을 입력하시오"), FirstAssessment),
    CharRange(&R::a_regular_meals, '0', '1', FORM_MSG(u8"A.일반적사항", u8"[10.건강생활습관][d.하루 세끼 식사를 꼬박꼬박 챙겨 먹습니까?]", u8" 0~1 사이값을 입력하시오"), FirstAssessment),
    Blank(&R::a_smoking, FORM_MSG(u8"A.일반적사항", u8"[10.건강생활습관][a.담배를 피우십니까?]", u8" space를 입력하시오"), Reassessment),
    Blank(&R::a_drinking, FORM_MSG(u8"A.일반적사항", u8"[10.건강생활습관][b.술을 자주 마십니까?]", u8" space를 입력하시오"), Reassessment),
    Blank(&R::a_exercise, FORM_MSG(u8"A.일반적사항", u8"[10.건강생활습관][c.주 4일이상, 한번에 30분 이상 운동을 합니까?]", u8" space를 입력하시오"), Reassessment),
    Blank(&R::a_regular_meals, FORM_MSG(u8"A.일반적사항", u8"[10.건강생활습관][d.하루 세끼 식사를 꼬박꼬박 챙겨 먹습니까?]", u8" space를 입력하시오"), Reassessment),

    // A.11 long-term-care grade and application.
    CharRange(&R::a_ltc_grade_application, '1', '6', FORM_MSG(u8"A.일반적사항", u8"[11.장기요양등급 및 신청]", u8" 1~6 사이값을 입력하시오"), FirstAssessment),
    Blank(&R::a_ltc_grade_application, FORM_MSG(u8"A.일반적사항", u8"[11.장기요양등급 및 신청]", u8" space를 입력하시오"), Reassessment),

    // A.12 grade and services used, when A.11 is 5.
    CharRange(&R::a_ltc_grade, '1', '6', FORM_MSG(u8"A.일반적사항", u8"[12.장기요양등급 및 이용 서비스][a.등급]", u8" 1~6 사이값을 입력하시오"), HoldsLtcGrade),
    CharRange(&R::a_ltc_service_day_care, '0', '1', FORM_MSG(u8"A.일반적사항", u8"[12.장기요양등급 및 이용 서비스][b.이용서비스][1 주야간보호]", u8" 0~1 사이값을 입력하시오"), HoldsLtcGrade),
    CharRange(&R::a_ltc_service_home_care, '0', '1', FORM_MSG(u8"A.일반적사항", u8"[12.장기요양등급 및 이용 서비스][b.이용서비스][2 방문요양]", u8" 0~1 사이값을 입력하시오"), HoldsLtcGrade),
    CharRange(&R::a_ltc_service_home_nursing, '0', '1', FORM_MSG(u8"A.일반적사항", u8"[12.장기요양등급 및 이용 서비스][b.이용서비스][3 방문간호]", u8" 0~1 사이값을 입력하시오"), HoldsLtcGrade),
    CharRange(&R::a_ltc_service_home_bathing, '0', '1', FORM_MSG(u8"A.일반적사항", u8"[12.장기요양등급 및 이용 서비스][b.이용서비스][4 방문목욕]", u8" 0~1 사이값을 입력하시오"), HoldsLtcGrade),
    CharRange(&R::a_ltc_service_short_term_care, '0', '1', FORM_MSG(u8"A.일반적사항", u8"[12.장기요양등급 및 이용 서비스][b.이용서비스][5 단기보호]", u8" 0~1 사이값을 입력하시오"), HoldsLtcGrade),
    CharRange(&R::a_ltc_service_welfare_equipment, '0', '1', FORM_MSG(u8"A.일반적사항", u8"[12.장기요양등급 및 이용 서비스][b.이용서비스][6 복지용구 구입 및 대여]", u8" 0~1 사이값을 입력하시오"), HoldsLtcGrade),
    CharRange(&R::a_ltc_service_facility, '0', '1', FORM_MSG(u8"A.일반적사항", u8"[12.장기요양등급 및 이용 서비스][b.이용서비스][7 시설입소]", u8" 0~1 사이값을 입력하시오"), HoldsLtcGrade),
    CharRange(&R::a_ltc_service_other, '0', '1', FORM_MSG(u8"A.일반적사항", u8"[12.장기요양등급 및 이용 서비스][b.이용서비스][8 기타]", u8" 0~1 사이값을 입력하시오"), HoldsLtcGrade),
    Blank(&R::a_ltc_grade, FORM_MSG(u8"A.일반적사항", u8"[12.장기요양등급 및 이용 서비스][a.등급]", u8" space를 입력하시오"), HoldsNoLtcGrade),
    Blank(&R::a_ltc_service_day_care, FORM_MSG(u8"A.일반적사항", u8"[12.장기요양등급 및 이용 서비스][b.이용서비스][1 주야간보호]", u8" space를 입력하시오"), HoldsNoLtcGrade),
    Blank(&R::a_ltc_service_home_care, FORM_MSG(u8"A.일반적사항", u8"[12.장기요양등급 및 이용 서비스][b.이용서비스][2 방문요양]", u8" space를 입력하시오"), HoldsNoLtcGrade),
    Blank(&R::a_ltc_service_home_nursing, FORM_MSG(u8"A.일반적사항", u8"[12.장기요양등급 및 이용 서비스][b.이용서비스][3 방문간호]", u8" space를 입력하시오"), HoldsNoLtcGrade),
    Blank(&R::a_ltc_service_home_bathing, FORM_MSG(u8"A.일반적사항", u8"[12.장기요양등급 및 이용 서비스][b.이용서비스][4 방문목욕]", u8" space를 입력하시오"), HoldsNoLtcGrade),
    Blank(&R::a_ltc_service_short_term_care, FORM_MSG(u8"A.일반적사항", u8"[12.장기요양등급 및 이용 서비스][b.이용서비스][5 단기보호]", u8" space를 입력하시오"), HoldsNoLtcGrade),
    Blank(&R::a_ltc_service_welfare_equipment, FORM_MSG(u8"A.일반적사항", u8"[12.장기요양등급 및 이용 서비스][b.이용서비스][6 복지용구 구입 및 대여]", u8" space를 입력하시오"), HoldsNoLtcGrade),
    Blank(&R::a_ltc_service_facility, FORM_MSG(u8"A.일반적사항", u8"[12.장기요양등급 및 이용 서비스][b.이용서비스][7 시설입소]", u8" space를 입력하시오"), HoldsNoLtcGrade),
    Blank(&R::a_ltc_service_other, FORM_MSG(u8"A.일반적사항", u8"[12.장기요양등급 및 이용 서비스][b.이용서비스][8 기타]", u8" space를 입력하시오"), HoldsNoLtcGrade),

    // A.13 wish to receive long-term-care services.
    CharRange(&R::a_ltc_service_wish, '0', '1', FORM_MSG(u8"A.일반적사항", u8"[13.장기요양서비스를 받고 싶은 의향]", u8" 0~1 사이값을 입력하시오"), AskedServiceWish),
    Blank(&R::a_ltc_service_wish, FORM_MSG(u8"A.일반적사항", u8"[13.장기요양서비스를 받고 싶은 의향]", u8" space를 입력하시오"), NotAskedServiceWish),

    // A.14 social screening.
    CharRange(&R::a_social_refused, '0', '1', FORM_MSG(u8"A.일반적사항", u8"[14.사회환경 선별조사][a. 응답거부]", u8" 0~1 사이값을 입력하시오"), FirstAssessment),
    CharRange(&R::a_social_no_helper, '0', '1', FORM_MSG(u8"A.일반적사항", u8"[14.사회환경 선별조사][b. 식사준비, 간병 등의 도움을 줄 수 있는 사람이 없음]", u8" 0~1 사이값을 입력하시오"), ScreeningAnswered),
    CharRange(&R::a_social_utility_cutoff, '0', '1', FORM_MSG(u8"A.일반적사항", u8"[14.사회환경 선별조사][c. 전기수도 등 공과금 미납으로 서비스 중단 고지를 받은 적 있음]", u8" 0~1 사이값을 입력하시오"), ScreeningAnswered),
    CharRange(&R::a_social_homeless, '0', '1', FORM_MSG(u8"A.일반적사항", u8"[14.사회환경 선별조사][d. 안정적으로 거주할 집이 없어 노숙 등을 한 적 있음]", u8" 0~1 사이값을 입력하시오"), ScreeningAnswered),
    CharRange(&R::a_social_cost_hardship, '0', '1', FORM_MSG(u8"A.일반적사항", u8"[14.사회환경 선별조사][e. 병원비, 월세 등 주거비, 난방비 등 비용 지불이 어려운적이 있음]", u8" 0~1 사이값을 입력하시오"), ScreeningAnswered),
    CharRange(&R::a_social_transport, '0', '1', FORM_MSG(u8"A.일반적사항", u8"[14.사회환경 선별조사][f. 교통수단 부족으로 진료, 복지관 등 외출이 어려웠던 적이 있음]", u8" 0~1 사이값을 입력하시오"), ScreeningAnswered),
    CharRange(&R::a_social_emergency, '0', '1', FORM_MSG(u8"A.일반적사항", u8"[14.사회환경 선별조사][g. 먹을 것이 없거나 학대를 받는 등 긴급하게 도움이 필요한 적이 있음]", u8" 0~1 사이값을 입력하시오"), ScreeningAnswered),
    Blank(&R::a_social_refused, FORM_MSG(u8"A.일반적사항", u8"[14.사회환경 선별조사][a. 응답거부]", u8" space를 입력하시오"), Reassessment),
    Blank(&R::a_social_no_helper, FORM_MSG(u8"A.일반적사항", u8"[14.사회환경 선별조사][b. 식사준비, 간병 등의 도움을 줄 수 있는 사람이 없음]", u8" space를 입력하시오"), ScreeningLeftOut),
    Blank(&R::a_social_utility_cutoff, FORM_MSG(u8"A.일반적사항", u8"[14.사회환경 선별조사][c. 전기수도 등 공과금 미납으로 서비스 중단 고지를 받은 적 있음]", u8" space를 입력하시오"), ScreeningLeftOut),
    Blank(&R::a_social_homeless, FORM_MSG(u8"A.일반적사항", u8"[14.사회환경 선별조사][d. 안정적으로 거주할 집이 없어 노숙 등을 한 적 있음]", u8" space를 입력하시오"), ScreeningLeftOut),
    Blank(&R::a_social_cost_hardship, FORM_MSG(u8"A.일반적사항", u8"[14.사회환경 선별조사][e. 병원비, 월세 등 주거비, 난방비 등 비용 지불이 어려운적이 있음]", u8" space를 입력하시오"), ScreeningLeftOut),
    Blank(&R::a_social_transport, FORM_MSG(u8"A.일반적사항", u8"[14.사회환경 선별조사][f. 교통수단 부족으로 진료, 복지관 등 외출이 어려웠던 적이 있음]", u8" space를 입력하시오"), ScreeningLeftOut),
    Blank(&R::a_social_emergency, FORM_MSG(u8"A.일반적사항", u8"[14.사회환경 선별조사][g. 먹을 것이 없거나 학대를 받는 등 긴급하게 도움이 필요한 적이 있음]", u8" space를 입력하시오"), ScreeningLeftOut),
};
// clang-format on

// The early layouts end section A with the blood pressures.
using SectionA = Section<Rows<kIdentityAndStay>, Rows<kHabitsCareAndSocial, IsFrom090>>;

}  // namespace

template <class Sink>
bool StageA::Run(const AssessmentRecord& record, Family family, Sink& sink) {
  return SectionA::Run(record, family, sink);
}
std::span<const RowList> StageA::Lists() {
  return SectionA::kLists;
}

template bool StageA::Run(const AssessmentRecord&, Family, FirstFault&);
template bool StageA::Run(const AssessmentRecord&, Family, FaultList&);

}  // namespace grouper
