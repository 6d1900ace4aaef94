// Sections J and K and the signature block: medication, special treatments
// with their days and sites, specialised rehabilitation, and the names of the
// doctor and the nurse who signed the form.
//
// From 091 the form has no transfusion item, so the ventilator, central venous
// nutrition and none-applies items move up one letter (K.1.i to K.1.k instead
// of K.1.j to K.1.l) and have fields of their own. The range messages of the
// none-applies flags write "해당사항없음" and the rule messages "해당사항 없음";
// both are kept as the form has them.
//
// The signature check removes every blank from the two names in the record
// itself, so a name of blanks only counts as missing, and the names go on
// without blanks whatever the outcome.
#include <initializer_list>
#include <span>

#include "validate/field_text.h"
#include "validate/names.h"
#include "validate/row_plan.h"
#include "validate/sections.h"

namespace grouper {

namespace {

using R = AssessmentRecord;

constexpr Gate kHasOxygenGate = AnswerIs<&R::k_oxygen_therapy, '1'>();
constexpr GateRef HasOxygen = &kHasOxygenGate;
constexpr Gate kHasNoOxygenGate = AnswerIs<&R::k_oxygen_therapy, '0'>();
constexpr GateRef HasNoOxygen = &kHasNoOxygenGate;
constexpr Gate kHasNoIvMedicationGate = AnswerIs<&R::k_iv_medication, '0'>();
constexpr GateRef HasNoIvMedication = &kHasNoIvMedicationGate;
constexpr Gate kHasVentilatorGate = AnswerIs<&R::k_ventilator, '1'>();
constexpr GateRef HasVentilator = &kHasVentilatorGate;
constexpr Gate kHasNoVentilatorGate = AnswerIs<&R::k_ventilator, '0'>();
constexpr GateRef HasNoVentilator = &kHasNoVentilatorGate;
constexpr Gate kHasVentilator091Gate = AnswerIs<&R::k_ventilator_091, '1'>();
constexpr GateRef HasVentilator091 = &kHasVentilator091Gate;
constexpr Gate kHasNoVentilator091Gate = AnswerIs<&R::k_ventilator_091, '0'>();
constexpr GateRef HasNoVentilator091 = &kHasNoVentilator091Gate;

constexpr Row kInjections[] = {
    CharRange(&R::j_injection_count, '0', '2',
              FORM_MSG(u8"J.투약", u8"[1.주사제 투여 횟수]", u8" 0~2 사이값을 입력하시오")),
};

// J.2 to J.4, from 090.
constexpr Row kMedicationFrom090[] = {
    CharRange(
        &R::j_behaviour_drug_treatment, '0', '1',
        FORM_MSG(
            u8"J.투약",
            u8"[2.망각, 환각, 초조공격성, 탈억제, 케어에 대한 저항, 배회에 대한 약물 치료 여부]",
            u8" 0~1 사이값을 입력하시오")),
    CharRange(&R::j_dementia_drug, '0', '1',
              FORM_MSG(u8"J.투약", u8"[3.치매관련 약제 투여 여부]", u8" 0~1 사이값을 입력하시오")),
    CharRange(&R::j_daily_medication_count, '0', '4',
              FORM_MSG(u8"J.투약", u8"[4.지난 7일 동안 매일 복용한 의약품 수]",
                       u8" 0~4 사이값을 입력하시오")),
};

constexpr Row kIvMedication[] = {
    CharRange(&R::k_iv_medication, '0', '1',
              FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.a.정맥주사에 의한 투약]",
                       u8" 0~1 사이 숫자를 입력하시오")),
};

// The upper bound of the days holds whatever the flag; the lower bound only
// with medication, since without it the zero row that follows reports a
// negative count.
constexpr FormMessage kIvMedicationDaysRange[] = {FORM_MSG(u8"K.특수처치 및 전문재활치료",
                                                           u8"[1.a.정맥주사에 의한 투약 일수]",
                                                           u8" 0~99 사이 숫자를 입력하시오")};
const char* IvMedicationDaysInRange(const R& r) {
  const int days = r.k_iv_medication_days;
  if (days > 99 || (r.k_iv_medication == '1' && days < 0)) {
    return kIvMedicationDaysRange[0].text;
  }
  return nullptr;
}

// K.1.a days of intravenous medication, from 091.
constexpr Row kIvMedicationDays[] = {
    Rule(IvMedicationDaysInRange, kFields<FIELD(k_iv_medication_days), FIELD(k_iv_medication)>,
         kIvMedicationDaysRange),
    IntZero(&R::k_iv_medication_days,
            FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.a.정맥주사에 의한 투약 일수]",
                     u8" 정맥주사에 의한 투약을 체크하지 않았을 경우 0을 입력하시오"),
            HasNoIvMedication),
};

constexpr Row kStomaCareAndOxygen[] = {
    CharRange(&R::k_urinary_stoma_care, '0', '1',
              FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.b.배뇨관련 루 관리]",
                       u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::k_bowel_stoma_care, '0', '1',
              FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.c.배변관련 루 관리]",
                       u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::k_feeding_stoma_care, '0', '1',
              FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.d.영양관련 루 관리]",
                       u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::k_oxygen_therapy, '0', '1',
              FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.e.산소요법]",
                       u8" 0~1 사이 숫자를 입력하시오")),
};

// K.1.e.1 and K.1.e.2, from 090. Saturation is compared in tenths.
constexpr Row kOxygenDetails[] = {
    DecimalRange(&R::k_oxygen_saturation, 0, 9999,
                 FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.e.산소요법][1.산소포화도]",
                          u8" 0~999.9 사이 숫자를 입력하시오"),
                 HasOxygen),
    IntRange(&R::k_oxygen_days, 0, 99,
             FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.e.산소요법][2.산소투여일수]",
                      u8" 0~99 사이 숫자를 입력하시오"),
             HasOxygen),
    DecimalZero(&R::k_oxygen_saturation,
                FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.e.산소요법][1.산소포화도]",
                         u8" 산소요법을 체크하지 않았을 경우 0을 입력하시오."),
                HasNoOxygen),
    IntZero(&R::k_oxygen_days,
            FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.e.산소요법][2.산소투여일수]",
                     u8" 산소요법을 체크하지 않았을 경우 0을 입력하시오."),
            HasNoOxygen),
};

constexpr Row kNebulizerToTracheostomy[] = {
    CharRange(&R::k_nebulizer, '0', '1',
              FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.f.네블라이저 요법]",
                       u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(
        &R::k_suctioning, '0', '1',
        FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.g.흡인]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::k_tracheostomy_care, '0', '1',
              FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.h.기관절개관 관리]",
                       u8" 0~1 사이 숫자를 입력하시오")),
};

// Both families with ventilator sites share the two site messages, which name
// the item without its letter.
constexpr FormMessage kVentilatorSiteMissing =
    FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.인공호흡기]",
             u8"가 있을 경우 부위값중 적어도 하나는 1이어야 합니다.");
constexpr FormMessage kVentilatorSiteWithout =
    FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.인공호흡기]",
             u8"가 없는 경우 부위값은 모두 0이어야 합니다.");

// K.1.i and K.1.j in the early families and 090/011.
constexpr Row kTransfusionVentilator[] = {
    CharRange(
        &R::k_transfusion, '0', '1',
        FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.i.수혈]", u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::k_ventilator, '0', '1',
              FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.j.인공호흡기]",
                       u8" 0~1 사이 숫자를 입력하시오")),
};

// Ventilator sites of family 090/011; the early families have none.
constexpr CharField kVentilatorSites[] = {&R::k_ventilator_personal, &R::k_ventilator_hospital};
constexpr Row kVentilatorSiteRule[] = {
    CharRange(&R::k_ventilator_personal, '0', '1',
              FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.j.인공호흡기][1.개인용]",
                       u8" 0~1 사이 숫자를 입력하시오"),
              HasVentilator),
    CharRange(&R::k_ventilator_hospital, '0', '1',
              FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.j.인공호흡기][2.병원용]",
                       u8" 0~1 사이 숫자를 입력하시오"),
              HasVentilator),
    AnySet(kVentilatorSites, kVentilatorSiteMissing, HasVentilator),
    AllExactlyZero(kVentilatorSites, kVentilatorSiteWithout, HasNoVentilator),
};

// K.1.k and K.1.l in the early families and 090/011.
constexpr CharField kTreatmentsUpTo090[] = {
    &R::k_iv_medication,      &R::k_urinary_stoma_care,      &R::k_bowel_stoma_care,
    &R::k_feeding_stoma_care, &R::k_oxygen_therapy,          &R::k_nebulizer,
    &R::k_suctioning,         &R::k_tracheostomy_care,       &R::k_transfusion,
    &R::k_ventilator,         &R::k_central_venous_nutrition};
constexpr Row kCentralVenousAndNoneUpTo090[] = {
    CharRange(&R::k_central_venous_nutrition, '0', '1',
              FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.k.중심정맥영양]",
                       u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::k_treatments_none, '0', '1',
              FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.l.해당사항없음]",
                       u8" 0~1 사이 숫자를 입력하시오")),
    NoneOfAbove(&R::k_treatments_none, kTreatmentsUpTo090,
                FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.l.해당사항 없음]",
                         u8" 해당사항 없음이 0이어야 합니다."),
                FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.l.해당사항 없음]",
                         u8" 해당사항 없음이 1이어야 합니다.")),
};

// K.1.i to K.1.k in the families from 091.
constexpr CharField kVentilatorSites091[] = {&R::k_ventilator_personal_091,
                                             &R::k_ventilator_hospital_091};
constexpr CharField kTreatmentsFrom091[] = {
    &R::k_iv_medication,    &R::k_urinary_stoma_care,
    &R::k_bowel_stoma_care, &R::k_feeding_stoma_care,
    &R::k_oxygen_therapy,   &R::k_nebulizer,
    &R::k_suctioning,       &R::k_tracheostomy_care,
    &R::k_ventilator_091,   &R::k_central_venous_nutrition_091};
constexpr Row kVentilatorToNoneFrom091[] = {
    CharRange(&R::k_ventilator_091, '0', '1',
              FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.i.인공호흡기]",
                       u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::k_ventilator_personal_091, '0', '1',
              FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.i.인공호흡기][1.개인용]",
                       u8" 0~1 사이 숫자를 입력하시오"),
              HasVentilator091),
    CharRange(&R::k_ventilator_hospital_091, '0', '1',
              FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.i.인공호흡기][2.병원용]",
                       u8" 0~1 사이 숫자를 입력하시오"),
              HasVentilator091),
    AnySet(kVentilatorSites091, kVentilatorSiteMissing, HasVentilator091),
    AllExactlyZero(kVentilatorSites091, kVentilatorSiteWithout, HasNoVentilator091),
    CharRange(&R::k_central_venous_nutrition_091, '0', '1',
              FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.j.중심정맥영양]",
                       u8" 0~1 사이 숫자를 입력하시오")),
    CharRange(&R::k_treatments_none_091, '0', '1',
              FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.k.해당사항없음]",
                       u8" 0~1 사이 숫자를 입력하시오")),
    NoneOfAbove(&R::k_treatments_none_091, kTreatmentsFrom091,
                FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.k.해당사항 없음]",
                         u8" 해당사항 없음이 0이어야 합니다."),
                FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[1.k.해당사항 없음]",
                         u8" 해당사항 없음이 1이어야 합니다.")),
};

constexpr Row kRehabilitation[] = {
    IntRange(&R::k_rehab_days, 0, 7,
             FORM_MSG(u8"K.특수처치 및 전문재활치료", u8"[2.전문재활치료 실시일수]",
                      u8" 0~7 사이 숫자를 입력하시오")),
};

// The names count without their blanks; the doctor's message wins when both
// are missing.
constexpr FormMessage kSignatureMessages[] = {
    FORM_MSG(u8"작성", u8"[서명]", u8" 의사 성명을 입력하시오"),
    FORM_MSG(u8"작성", u8"[서명]", u8" 간호사 성명을 입력하시오")};
const char* SignatureNames(const R& r) {
  if (NameLength(r.s_doctor_name) == 0) return kSignatureMessages[0].text;
  if (NameLength(r.s_nurse_name) == 0) return kSignatureMessages[1].text;
  return nullptr;
}

// The signature block, from 090.
constexpr Row kSignatures[] = {
    Rule(SignatureNames, kFields<FIELD(s_doctor_name), FIELD(s_nurse_name)>, kSignatureMessages),
};

// The medication items and the oxygen details come with 090, the days of
// intravenous medication with 091, which also regroups the ventilator items;
// the signatures are validated from 090.
using SectionsJK =
    Section<Rows<kInjections>, Rows<kMedicationFrom090, IsFrom090>, Rows<kIvMedication>,
            Rows<kIvMedicationDays, IsFrom091>, Rows<kStomaCareAndOxygen>,
            Rows<kOxygenDetails, IsFrom090>, Rows<kNebulizerToTracheostomy>,
            Rows<kTransfusionVentilator, IsUpTo090>, Rows<kVentilatorSiteRule, Is090>,
            Rows<kVentilatorToNoneFrom091, IsFrom091>,
            Rows<kCentralVenousAndNoneUpTo090, IsUpTo090>, Rows<kRehabilitation>,
            Rows<kSignatures, IsFrom090>>;

}  // namespace

template <class Sink>
bool StageJK::Run(const AssessmentRecord& record, Family family, Sink& sink) {
  return SectionsJK::Run(record, family, sink);
}
std::span<const RowList> StageJK::Lists() {
  return SectionsJK::kLists;
}

template bool StageJK::Run(const AssessmentRecord&, Family, FirstFault&);
template bool StageJK::Run(const AssessmentRecord&, Family, FaultList&);

}  // namespace grouper
