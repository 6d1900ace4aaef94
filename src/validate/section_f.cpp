// Section F, diagnoses: diabetes with its blood-glucose and HbA1c results, the
// list of diseases with its none-applies item, and the protein-calorie
// malnutrition diagnoses with theirs.
//
// The list of diseases grows with the form: the base layout ends it at F.1.u
// and uses the next position (the field of F.1.v) for its none-applies item;
// family 089/010 adds F.1.v and puts none-applies at F.1.w; the families from
// 090 add F.1.w to F.1.aa and put it at F.1.ab. Diabetes counts as a diagnosis
// for every none-applies rule.
#include <array>
#include <cstring>
#include <span>

#include "record/field_groups.h"
#include "validate/row_plan.h"
#include "validate/sections.h"

namespace grouper {

namespace {

using R = AssessmentRecord;

constexpr Gate kNoDiabetesGate = AnswerIs<&R::f_diabetes, '0'>();
constexpr GateRef NoDiabetes = &kNoDiabetesGate;
constexpr Gate kDiabetesGate = AnswerIs<&R::f_diabetes, '1'>();
constexpr GateRef Diabetes = &kDiabetesGate;
// The tests of a diabetic, by their performed flags.
constexpr Gate kGlucoseNotCheckedGate =
    BothAnswers<&R::f_diabetes, '1', &R::f_glucose_check_done, '0'>();
constexpr GateRef GlucoseNotChecked = &kGlucoseNotCheckedGate;
constexpr Gate kGlucoseCheckedGate =
    BothAnswers<&R::f_diabetes, '1', &R::f_glucose_check_done, '1'>();
constexpr GateRef GlucoseChecked = &kGlucoseCheckedGate;
constexpr Gate kHbA1cNotDoneGate = BothAnswers<&R::f_diabetes, '1', &R::f_hba1c_done, '0'>();
constexpr GateRef HbA1cNotDone = &kHbA1cNotDoneGate;
constexpr Gate kHbA1cDoneGate = BothAnswers<&R::f_diabetes, '1', &R::f_hba1c_done, '1'>();
constexpr GateRef HbA1cDone = &kHbA1cDoneGate;
constexpr Gate kAidsReportedGate = AnswerIs<&R::f_aids, '1'>();
constexpr GateRef AidsReported = &kAidsReportedGate;

// A glucose check that was performed has at least one measured value.
constexpr FormMessage kGlucoseMeasured[] = {
    FORM_MSG(u8"F.질병진단", u8"[1.a.당뇨]",
             u8" 공복시/식후 2시간 혈당중 적어도 하나는 1 이상이어야 합니다.")};
const char* GlucoseMeasured(const R& r) {
  if (r.f_fasting_glucose >= 1 || r.f_postprandial_glucose >= 1) return nullptr;
  return kGlucoseMeasured[0].text;
}

// clang-format off
// In the layout of 089/010, F.1.v could be reported only from March 2015 on.
// The date text is compared as it stands, digit by digit.
constexpr FormMessage kAidsNotBeforeMarch2015[] = {FORM_MSG(u8"F.질병진단", u8"[1.v.후천선면역결핍증]", u8" 작성일자가 2015.3 1일 이전 이므로 0 숫자를 입력하시오")};
const char* AidsNotBeforeMarch2015(const R& r) {
  if (std::strcmp(r.a_assessment_date, "20150301") >= 0) return nullptr;
  return kAidsNotBeforeMarch2015[0].text;
}
// clang-format on

// F.1.a to F.1.aa in form order: diabetes, the diseases every layout lists,
// those the layouts from 090/011 add (without their none-applies answer). Each
// family's none-applies item summarises a leading part of it.
constexpr auto kDiagnoses = [] {
  constexpr std::span<const CharField> from090 =
      std::span(field_groups::kDiseasesFrom090)
          .first(std::size(field_groups::kDiseasesFrom090) - 1);
  std::array<CharField, 1 + std::size(field_groups::kDiseases) + from090.size()> all{};
  std::size_t n = 0;
  all[n++] = &R::f_diabetes;
  for (CharField f : field_groups::kDiseases) all[n++] = f;
  for (CharField f : from090) all[n++] = f;
  return all;
}();
constexpr std::span<const CharField> kDiagnosesBase = std::span(kDiagnoses).first(21);
constexpr std::span<const CharField> kDiagnoses089 = std::span(kDiagnoses).first(22);
constexpr std::span<const CharField> kDiagnosesFrom090 = kDiagnoses;
// F.1.u ends the base layout's list, F.1.v the list of 089/010, F.1.aa the rest.
static_assert(kDiagnoses.size() == 27 &&
              kDiagnoses[20] == &R::f_subacute_necrotising_encephalopathy &&
              kDiagnoses[21] == &R::f_aids && kDiagnoses[26] == &R::f_asthma);

// F.2.a-g, without the none-applies answer that ends the group.
constexpr std::span<const CharField> kMalnutrition =
    std::span(field_groups::kMalnutrition).first(std::size(field_groups::kMalnutrition) - 1);
static_assert(field_groups::kMalnutrition[7] == &R::f_malnutrition_none);

// clang-format off
constexpr Row kDiabetes[] = {
    CharRange(&R::f_diabetes, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.a.당뇨]", u8" 0~1 사이 숫자를 입력하시오")),

    // No diabetes: nothing of the block is filled in.
    Blank(&R::f_glucose_check_done, FORM_MSG(u8"F.질병진단", u8"[1.a.혈당 체크 실시여부]", u8" space를 입력하시오"), NoDiabetes),
    IntZero(&R::f_fasting_glucose, FORM_MSG(u8"F.질병진단", u8"[1.a.당뇨]", u8" 당뇨 미실시의 경우 혈당 0을 입력하시오."), NoDiabetes),
    IntZero(&R::f_postprandial_glucose, FORM_MSG(u8"F.질병진단", u8"[1.a.당뇨]", u8" 당뇨 미실시의 경우 혈당 0을 입력하시오."), NoDiabetes),
    Blank(&R::f_hba1c_done, FORM_MSG(u8"F.질병진단", u8"[1.HbAlc 실시여부]", u8" space를 입력하시오"), NoDiabetes),
    DecimalZero(&R::f_hba1c, FORM_MSG(u8"F.질병진단", u8"[1.HbAlc]", u8" 미실시의 경우 HbAlc 0을 입력하시오."), NoDiabetes),
    AbsentDate(&R::f_hba1c_date, FORM_MSG(u8"F.질병진단", u8"[1.HbAlc]", u8" 미실시의 경우 검사일 \"00000000\"을 입력하시오."), NoDiabetes),

    // Diabetes: the glucose check, then the HbA1c test.
    CharRange(&R::f_glucose_check_done, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.a.혈당 체크 실시여부]", u8" 0~1 사이값을 입력하시오"), Diabetes),
    IntZero(&R::f_fasting_glucose, FORM_MSG(u8"F.질병진단", u8"[1.a.당뇨]", u8" 당뇨 미실시의 경우 혈당 0을 입력하시오."), GlucoseNotChecked),
    IntZero(&R::f_postprandial_glucose, FORM_MSG(u8"F.질병진단", u8"[1.a.당뇨]", u8" 당뇨 미실시의 경우 혈당 0을 입력하시오."), GlucoseNotChecked),
    IntRange(&R::f_fasting_glucose, 0, 999, FORM_MSG(u8"F.질병진단", u8"[1.a.공복시혈당]", u8" 0~999 사이 숫자를 입력하시오"), GlucoseChecked),
    IntRange(&R::f_postprandial_glucose, 0, 999, FORM_MSG(u8"F.질병진단", u8"[1.a.식후 2시간 혈당]", u8" 0~999 사이 숫자를 입력하시오"), GlucoseChecked),
    Rule(GlucoseMeasured, kFields<FIELD(f_fasting_glucose), FIELD(f_postprandial_glucose)>, kGlucoseMeasured, GlucoseChecked),
    CharRange(&R::f_hba1c_done, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.HbAlc 실시여부]", u8" 0~1 사이값을 입력하시오"), Diabetes),
    DecimalZero(&R::f_hba1c, FORM_MSG(u8"F.질병진단", u8"[1.HbAlc]", u8" 미실시의 경우 HbAlc 0을 입력하시오."), HbA1cNotDone),
    AbsentDate(&R::f_hba1c_date, FORM_MSG(u8"F.질병진단", u8"[1.HbAlc]", u8" 미실시의 경우 검사일 \"00000000\"을 입력하시오."), HbA1cNotDone),
    DecimalRange(&R::f_hba1c, 1, 999, FORM_MSG(u8"F.질병진단", u8"[1.HbAlc]", u8" 0.1~99.9 사이 숫자를 입력하시오"), HbA1cDone),
    Date(&R::f_hba1c_date, FORM_MSG(u8"F.질병진단", u8"[1.HbAlc 검사일]", u8""), HbA1cDone),
};

// F.1.b to F.1.u, every family.
constexpr Row kDiseases[] = {
    CharRange(&R::f_hypertension, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.b.고혈압]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_urinary_tract_infection, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.c.요로감염]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_peripheral_vascular_disease, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.d.말초혈관질환]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_paraplegia, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.e.하지마비]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_quadriplegia, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.f.사지마비]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_hemiplegia, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.g.편마비]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_cerebral_palsy, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.h.뇌성마비]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_cerebrovascular_disease, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.i.뇌혈관질환]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_parkinsons, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.j.파킨슨병]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_spinal_cord_injury, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.k.척수손상]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_myasthenia, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.l.중증근무력증 및 기타 근신경성 장애]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_primary_muscle_disorder, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.m.근육의 원발성 장애]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_multiple_sclerosis, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.n.다발경화증]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_huntingtons, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.o.헌팅톤병]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_hereditary_ataxia, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.p.유전성 운동실조]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_spinal_muscular_atrophy, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.q.척수성 근육위축 및 관련 증후군]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_systemic_atrophy, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.r.전신 위축]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_progressive_supranuclear_palsy, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.s.진행성 핵상성 안근마비]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_atypical_virus_infection, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.t.중추신경계통의 비정형바이러스 감염]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_subacute_necrotising_encephalopathy, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.u.아급성 괴사성 뇌병증]", u8" 0~1 사이 숫자를 입력하시오")),
};

// The end of the list and its none-applies item, base layout.
constexpr Row kDiseasesEndBase[] = {
    CharRange(&R::f_aids, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.v.해당사항 없음]", u8" 0~1 사이 숫자를 입력하시오")),
    NoneOfAbove(&R::f_aids, kDiagnosesBase, FORM_MSG(u8"F.질병진단", u8"[1.v.해당사항 없음]", u8" 해당사항 없음이 0이어야 합니다."), FORM_MSG(u8"F.질병진단", u8"[1.v.해당사항 없음]", u8" 해당사항 없음이 1이어야 합니다.")),
};

// The end of the list and its none-applies item, family 089/010.
constexpr Row kDiseasesEnd089[] = {
    CharRange(&R::f_aids, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.v.후천선면역결핍증]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_diseases_none_089, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.w.해당사항 없음]", u8" 0~1 사이 숫자를 입력하시오")),
    Rule(AidsNotBeforeMarch2015, kFields<FIELD(a_assessment_date)>, kAidsNotBeforeMarch2015, AidsReported),
    NoneOfAbove(&R::f_diseases_none_089, kDiagnoses089, FORM_MSG(u8"F.질병진단", u8"[1.w.해당사항 없음]", u8" 해당사항 없음이 0이어야 합니다."), FORM_MSG(u8"F.질병진단", u8"[1.w.해당사항 없음]", u8" 해당사항 없음이 1이어야 합니다.")),
};

// The end of the list and its none-applies item, families from 090.
constexpr Row kDiseasesEndFrom090[] = {
    CharRange(&R::f_aids, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.v.후천선면역결핍증]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_dementia, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.w.치매]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_hyperlipidaemia, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.x.고지혈증]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_heart_failure, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.y.심부전]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_copd, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.z.만성폐색성폐질환]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_asthma, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.aa.천식]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_diseases_none, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.ab.해당사항 없음]", u8" 0~1 사이 숫자를 입력하시오")),
    NoneOfAbove(&R::f_diseases_none, kDiagnosesFrom090, FORM_MSG(u8"F.질병진단", u8"[1.ab.해당사항 없음]", u8" 해당사항 없음이 0이어야 합니다."), FORM_MSG(u8"F.질병진단", u8"[1.ab.해당사항 없음]", u8" 해당사항 없음이 1이어야 합니다.")),
};

// F.2, every family. The range message of F.2.h names it "1.h", as the form's
// catalogue has it.
constexpr Row kMalnutritionChecks[] = {
    CharRange(&R::f_kwashiorkor, '0', '1', FORM_MSG(u8"F.질병진단", u8"[2.a.콰시오르코르]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_nutritional_marasmus, '0', '1', FORM_MSG(u8"F.질병진단", u8"[2.b.영양성 소모증]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_marasmic_kwashiorkor, '0', '1', FORM_MSG(u8"F.질병진단", u8"[2.c.소모성 콰시오르코르]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_severe_malnutrition, '0', '1', FORM_MSG(u8"F.질병진단", u8"[2.d.상세불명의 중증 단백칼로리 영양실조]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_moderate_malnutrition, '0', '1', FORM_MSG(u8"F.질병진단", u8"[2.e.중증도 및 경도의 단백칼로리 영양실조]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_malnutrition_retarded_development, '0', '1', FORM_MSG(u8"F.질병진단", u8"[2.f.단백칼로리 영양실조로 인한 발육지체]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_unspecified_malnutrition, '0', '1', FORM_MSG(u8"F.질병진단", u8"[2.g.상세불명의 단백칼로리 영양실조]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::f_malnutrition_none, '0', '1', FORM_MSG(u8"F.질병진단", u8"[1.h.해당사항 없음]", u8" 0~1 사이 숫자를 입력하시오")),
    NoneOfAbove(&R::f_malnutrition_none, kMalnutrition, FORM_MSG(u8"F.질병진단", u8"[2.h.해당사항 없음]", u8" 해당사항 없음이 0이어야 합니다."), FORM_MSG(u8"F.질병진단", u8"[2.h.해당사항 없음]", u8" 해당사항 없음이 1이어야 합니다.")),
};
// clang-format on

// The diseases list ends differently in each family group.
using SectionF = Section<Rows<kDiabetes>, Rows<kDiseases>, Rows<kDiseasesEndFrom090, IsFrom090>,
                         Rows<kDiseasesEnd089, Is089>, Rows<kDiseasesEndBase, IsBase>,
                         Rows<kMalnutritionChecks>>;

}  // namespace

template <class Sink>
bool StageF::Run(const AssessmentRecord& record, Family family, Sink& sink) {
  return SectionF::Run(record, family, sink);
}
std::span<const RowList> StageF::Lists() {
  return SectionF::kLists;
}

template bool StageF::Run(const AssessmentRecord&, Family, FirstFault&);
template bool StageF::Run(const AssessmentRecord&, Family, FaultList&);

}  // namespace grouper
