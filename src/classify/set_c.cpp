// Set C: neurological diagnoses at an ADL score of 11 to 17, stage-2 ulcers
// with skin care, injections in diabetes, pain, intravenous medication,
// nebuliser therapy, wound and dressing care, stoma care, bladder programmes
// and, from 090, treated behavioural symptoms of dementia. Set C has no stop
// rows.
#include "classify/criteria.h"
#include "classify/criteria_sets.h"

namespace grouper {

namespace {

using namespace criteria;

bool AdlFrom11To17(S s) {
  return s.adl_score >= 11 && s.adl_score <= 17;
}

// The early families test nebuliser therapy ("3F") after the dressings ("3G")
// and stoma care ("3H"); the order of the rows is the order of the form's
// table, not of the letters.
constexpr Criterion kSetCEarly[] = {
    {"3A", kReads<kAdl, Group(kNeurologicalEarlyReads)>,
     [](R r, S s) { return AdlFrom11To17(s) && NeurologicalListEarly(r, s); }},
    // Exactly one stage-2 ulcer: two or more belong to set B ("2C").
    {"3B", kReads<Group(kStage2UlcerReads), kSkinCare>,
     [](R r, S s) {
       return (r.i_pressure_ulcer_stage2 == 1 || r.i_stasis_ulcer_stage2 == 1) &&
              s.skin_care_count >= 2;
     }},
    {"3C", kReads<READ(f_diabetes), READ(j_injection_count)>,
     [](R r, S) { return Yes(r.f_diabetes) && r.j_injection_count == '2'; }},
    {"3D", kReads<READ(g_pain_mild), READ(g_pain_moderate)>,
     [](R r, S) { return r.g_pain_mild == '2' || r.g_pain_moderate == '2'; }},
    {"3E", kReads<READ(k_iv_medication)>, [](R r, S) { return Yes(r.k_iv_medication); }},
    {"3G",
     kReads<READ(i_open_lesions_foot), READ(i_other_dressing_foot), READ(i_open_lesions_other),
            READ(i_other_dressing_other), READ(i_surgical_wound), READ(i_surgical_wound_care)>,
     [](R r, S) {
       return (Yes(r.i_open_lesions_foot) && Yes(r.i_other_dressing_foot)) ||
              (Yes(r.i_open_lesions_other) && Yes(r.i_other_dressing_other)) ||
              (Yes(r.i_surgical_wound) && Yes(r.i_surgical_wound_care));
     }},
    {"3H", kReads<Group(kStomaCareReads)>, [](R r, S) { return AnyStomaCare(r); }},
    {"3F", kReads<READ(k_nebulizer)>, [](R r, S) { return Yes(r.k_nebulizer); }},
    {"3I", kReads<Group(kToiletingReads)>, [](R r, S) { return ToiletingProgramme(r); }},
};

bool NeurologicalFrom090(R r, S s) {
  return AdlFrom11To17(s) && NeurologicalListFrom090(r);
}

bool Stage2UlcerFrom090(R r, S s) {
  return (r.i_pressure_ulcer_stage2 >= 1 || r.i_stasis_ulcer_stage2 >= 1) && s.skin_care_count >= 2;
}

bool DiabetesInjectionsFrom090(R r, S) {
  return Yes(r.f_diabetes) && Yes(r.f_glucose_check_done) && r.j_injection_count == '2';
}

bool WoundCareFrom090(R r, S) {
  return (Yes(r.i_surgical_wound) && Yes(r.i_surgical_wound_care)) ||
         (Yes(r.i_open_lesions) && Yes(r.i_other_dressing));
}

bool PainFrequencyOneOrTwo(char frequency) {
  return frequency == '1' || frequency == '2';
}

constexpr Criterion kSetC090[] = {
    {"3A", kReads<kAdl, Group(kNeurologicalFrom090Reads)>, NeurologicalFrom090},
    {"3B", kReads<Group(kStage2UlcerReads), kSkinCare>, Stage2UlcerFrom090},
    {"3C", kReads<READ(f_diabetes), READ(f_glucose_check_done), READ(j_injection_count)>,
     DiabetesInjectionsFrom090},
    {"3D", kReads<READ(g_pain_frequency_090), Group(kPainGradeReads)>,
     [](R r, S) { return r.g_pain_frequency_090 == '2' && ModeratePainGrade(r); }},
    {"3E", kReads<READ(g_pain_frequency_090), READ(g_cancer_pain_treatment_090)>,
     [](R r, S) {
       return PainFrequencyOneOrTwo(r.g_pain_frequency_090) && Yes(r.g_cancer_pain_treatment_090);
     }},
    {"3F", kReads<READ(k_iv_medication)>, [](R r, S) { return Yes(r.k_iv_medication); }},
    {"3G", kReads<READ(k_nebulizer)>, [](R r, S) { return Yes(r.k_nebulizer); }},
    {"3H",
     kReads<READ(i_surgical_wound), READ(i_surgical_wound_care), READ(i_open_lesions),
            READ(i_other_dressing)>,
     WoundCareFrom090},
    {"3I", kReads<READ(g_stoma_care_post_surgery_090), Group(kStomaCareReads)>,
     [](R r, S) { return Yes(r.g_stoma_care_post_surgery_090) && AnyStomaCare(r); }},
    {"3J", kReads<READ(g_stoma_care_complication_090), Group(kStomaCareReads)>,
     [](R r, S) { return Yes(r.g_stoma_care_complication_090) && AnyStomaCare(r); }},
    {"3K", kReads<Group(kToiletingReads), READ(e_voiding_diary)>,
     [](R r, S) { return ToiletingProgramme(r) && Yes(r.e_voiding_diary); }},
    {"3L", kReads<Group(kTreatedBehaviourReads)>,
     [](R r, S) { return TreatedBehaviouralSymptoms(r); }},
};

constexpr Criterion kSetC091[] = {
    {"3A", kReads<kAdl, Group(kNeurologicalFrom090Reads)>, NeurologicalFrom090},
    {"3B", kReads<Group(kStage2UlcerReads), kSkinCare>, Stage2UlcerFrom090},
    {"3C", kReads<READ(f_diabetes), READ(f_glucose_check_done), READ(j_injection_count)>,
     DiabetesInjectionsFrom090},
    {"3D", kReads<READ(g_pain_frequency_091), Group(kPainGradeReads), READ(g_pain_treatment_091)>,
     [](R r, S) {
       return r.g_pain_frequency_091 == '2' && ModeratePainGrade(r) && Yes(r.g_pain_treatment_091);
     }},
    {"3E", kReads<READ(g_pain_frequency_091), READ(g_cancer_pain_treatment_091)>,
     [](R r, S) {
       return PainFrequencyOneOrTwo(r.g_pain_frequency_091) && Yes(r.g_cancer_pain_treatment_091);
     }},
    {"3F", kReads<READ(k_iv_medication), READ(k_iv_medication_days)>,
     [](R r, S) { return Yes(r.k_iv_medication) && r.k_iv_medication_days >= 3; }},
    {"3G", kReads<READ(k_nebulizer)>, [](R r, S) { return Yes(r.k_nebulizer); }},
    {"3H",
     kReads<READ(i_surgical_wound), READ(i_surgical_wound_care), READ(i_open_lesions),
            READ(i_other_dressing)>,
     WoundCareFrom090},
    {"3I", kReads<READ(g_stoma_care_post_surgery_091), Group(kStomaCareReads)>,
     [](R r, S) { return Yes(r.g_stoma_care_post_surgery_091) && AnyStomaCare(r); }},
    {"3J", kReads<READ(g_stoma_care_complication_091), Group(kStomaCareReads)>,
     [](R r, S) { return Yes(r.g_stoma_care_complication_091) && AnyStomaCare(r); }},
    {"3K", kReads<Group(kToiletingReads), READ(e_voiding_diary), READ(e_voiding_diary_days)>,
     [](R r, S) {
       return ToiletingProgramme(r) && Yes(r.e_voiding_diary) && r.e_voiding_diary_days >= 7;
     }},
    {"3L", kReads<Group(kTreatedBehaviourReads)>,
     [](R r, S) { return TreatedBehaviouralSymptoms(r); }},
};

}  // namespace

int evaluate_set_c_early(R r, ClassificationState& s) {
  return RunCompiledCriteria<kSetCEarly>(r, s);
}
int evaluate_set_c_090(R r, ClassificationState& s) {
  return RunCompiledCriteria<kSetC090>(r, s);
}
int evaluate_set_c_091(R r, ClassificationState& s) {
  return RunCompiledCriteria<kSetC091>(r, s);
}

std::span<const Criterion> SetCRows(Family family) {
  if (IsEarly(family)) return kSetCEarly;
  if (Is090(family)) return kSetC090;
  return kSetC091;
}

}  // namespace grouper
