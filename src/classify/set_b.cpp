// Set B: neurological diagnoses at an ADL score of 18 or more, stage-3/4 or
// several stage-2 ulcers with skin care, fever with complications, burns,
// severe pain, tube or intravenous feeding, airway care, transfusion, the
// diabetic foot, and the set-A conditions of patients whose ADL score is too
// low for set A (after the stop row at a score above 10).
#include "classify/criteria.h"
#include "classify/criteria_sets.h"

namespace grouper {

namespace {

using namespace criteria;

constexpr Criterion kSetBEarly[] = {
    {"2A", kReads<kAdl, Group(kNeurologicalEarlyReads)>,
     [](R r, S s) { return s.adl_score >= 18 && NeurologicalListEarly(r, s); }},
    {"2B", kReads<kAdl, READ(f_multiple_sclerosis), READ(f_quadriplegia)>,
     [](R r, S s) {
       return s.adl_score >= 11 && (Yes(r.f_multiple_sclerosis) || Yes(r.f_quadriplegia));
     }},
    {"2C", kReads<Group(kStage2UlcerReads), kSkinCare>,
     [](R r, S s) {
       return (r.i_pressure_ulcer_stage2 >= 2 || r.i_stasis_ulcer_stage2 >= 2) &&
              s.skin_care_count >= 2;
     }},
    {"2D", kReads<Group(kStage34UlcerReads), kSkinCare>,
     [](R r, S s) { return AnyStage34Ulcer(r) && s.skin_care_count >= 2; }},
    {"2E", kReads<READ(g_fever), Group(kFeverComplicationReads), kTubeFeeding>,
     [](R r, S s) {
       return Yes(r.g_fever) && (FeverComplication(r) || s.tube_feeding_intake == 1);
     }},
    {"2F", kReads<READ(i_burns)>, [](R r, S) { return Yes(r.i_burns); }},
    {"2G", kReads<READ(g_pain_severe)>, [](R r, S) { return r.g_pain_severe == '2'; }},
    {"2H", kReads<kTubeFeeding, kIvNutrition>,
     [](R, S s) { return s.tube_feeding_intake == 1 || s.iv_nutrition_intake == 1; }},
    {"2I", kReads<READ(k_suctioning)>, [](R r, S) { return Yes(r.k_suctioning); }},
    {"2J", kReads<READ(k_tracheostomy_care)>, [](R r, S) { return Yes(r.k_tracheostomy_care); }},
    {"2K",
     kReads<READ(f_diabetes), READ(i_foot_infection), READ(i_open_lesions_foot),
            READ(i_other_dressing_foot)>,
     [](R r, S) {
       return Yes(r.f_diabetes) && (Yes(r.i_foot_infection) || Yes(r.i_open_lesions_foot)) &&
              Yes(r.i_other_dressing_foot);
     }},
    {"2L", kReads<READ(k_transfusion)>, [](R r, S) { return Yes(r.k_transfusion); }},
    {"2M", kReads<READ(k_oxygen_therapy)>, [](R r, S) { return Yes(r.k_oxygen_therapy); }},
    {kStop, kReads<kAdl>, [](R, S s) { return s.adl_score > 10; }},
    {"2N", kReads<Group(kSetAEarlyReads)>, [](R r, S) { return SetAConditionEarly(r); }},
};

// The diabetic foot of the layouts from 090, outside the ADL range 4..8.
bool DiabeticFootFrom090(R r, S s) {
  return (s.adl_score < 4 || s.adl_score > 8) && Yes(r.f_diabetes) && Yes(r.i_foot_infection) &&
         Yes(r.i_other_dressing_foot);
}

constexpr Criterion kSetB090[] = {
    {"2A", kReads<kAdl, Group(kNeurologicalFrom090Reads)>,
     [](R r, S s) { return s.adl_score >= 18 && NeurologicalListFrom090(r); }},
    {"2B", kReads<Group(kStage34UlcerReads), kSkinCare>,
     [](R r, S s) { return AnyStage34Ulcer(r) && s.skin_care_count >= 2; }},
    {"2C", kReads<READ(g_fever), READ(g_fever_workup), Group(kFeverComplicationReads)>,
     [](R r, S) { return Yes(r.g_fever) && Yes(r.g_fever_workup) && FeverComplication(r); }},
    {"2D", kReads<READ(i_burns)>, [](R r, S) { return Yes(r.i_burns); }},
    {"2E", kReads<READ(g_pain_frequency_090), Group(kPainGradeReads)>,
     [](R r, S) { return r.g_pain_frequency_090 == '2' && SeverePainGrade(r); }},
    {"2F", kReads<kTubeFeeding>, [](R, S s) { return s.tube_feeding_intake == 1; }},
    {"2G", kReads<READ(k_tracheostomy_care)>, [](R r, S) { return Yes(r.k_tracheostomy_care); }},
    {"2H", kReads<kAdl, READ(f_diabetes), READ(i_foot_infection), READ(i_other_dressing_foot)>,
     DiabeticFootFrom090},
    {"2I", kReads<READ(k_oxygen_therapy)>, [](R r, S) { return Yes(r.k_oxygen_therapy); }},
    {kStop, kReads<kAdl>, [](R, S s) { return s.adl_score > 10; }},
    {"2J", kReads<Group(kSetA090Reads)>, [](R r, S) { return SetAConditionOf090(r); }},
};

constexpr Criterion kSetB091[] = {
    {"2A", kReads<kAdl, Group(kNeurologicalFrom090Reads)>,
     [](R r, S s) { return s.adl_score >= 18 && NeurologicalListFrom090(r); }},
    {"2B", kReads<Group(kStage34UlcerReads), kSkinCare>,
     [](R r, S s) { return AnyStage34Ulcer(r) && s.skin_care_count >= 2; }},
    {"2C",
     kReads<READ(g_fever), READ(g_fever_workup), READ(g_fever_days),
            Group(kFeverComplicationReads)>,
     [](R r, S) {
       return Yes(r.g_fever) && Yes(r.g_fever_workup) && r.g_fever_days >= 3 &&
              FeverComplication(r);
     }},
    {"2D", kReads<READ(i_burns), READ(i_skin_treatment_g)>,
     [](R r, S) { return Yes(r.i_burns) && Yes(r.i_skin_treatment_g); }},
    {"2E", kReads<READ(g_pain_frequency_091), Group(kPainGradeReads), READ(g_pain_treatment_091)>,
     [](R r, S) {
       return r.g_pain_frequency_091 == '2' && SeverePainGrade(r) && Yes(r.g_pain_treatment_091);
     }},
    {"2F", kReads<kTubeFeeding, READ(h_tube_feeding_days)>,
     [](R r, S s) { return s.tube_feeding_intake == 1 && r.h_tube_feeding_days >= 7; }},
    {"2G", kReads<READ(k_tracheostomy_care)>, [](R r, S) { return Yes(r.k_tracheostomy_care); }},
    {"2H", kReads<kAdl, READ(f_diabetes), READ(i_foot_infection), READ(i_other_dressing_foot)>,
     DiabeticFootFrom090},
    // The saturation is compared as the stored single-precision value.
    {"2I", kReads<READ(k_oxygen_therapy), READ(k_oxygen_saturation), READ(k_oxygen_days)>,
     [](R r, S) {
       return Yes(r.k_oxygen_therapy) && r.k_oxygen_saturation <= 90.0f && r.k_oxygen_days >= 7;
     }},
    {kStop, kReads<kAdl>, [](R, S s) { return s.adl_score > 10; }},
    {"2J", kReads<Group(kSetA091Reads)>, [](R r, S) { return SetAConditionFrom091(r); }},
};

}  // namespace

int evaluate_set_b_early(R r, ClassificationState& s) {
  return RunCompiledCriteria<kSetBEarly>(r, s);
}
int evaluate_set_b_090(R r, ClassificationState& s) {
  return RunCompiledCriteria<kSetB090>(r, s);
}
int evaluate_set_b_091(R r, ClassificationState& s) {
  return RunCompiledCriteria<kSetB091>(r, s);
}

std::span<const Criterion> SetBRows(Family family) {
  if (IsEarly(family)) return kSetBEarly;
  if (Is090(family)) return kSetB090;
  return kSetB091;
}

}  // namespace grouper
