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
    {"2A", [](R r, S s) { return s.adl_score >= 18 && NeurologicalListEarly(r); }},
    {"2B",
     [](R r, S s) {
       return s.adl_score >= 11 && (Yes(r.f_multiple_sclerosis) || Yes(r.f_quadriplegia));
     }},
    {"2C",
     [](R r, S s) {
       return (r.i_pressure_ulcer_stage2 >= 2 || r.i_stasis_ulcer_stage2 >= 2) &&
              s.skin_care_count >= 2;
     }},
    {"2D", [](R r, S s) { return AnyStage34Ulcer(r) && s.skin_care_count >= 2; }},
    {"2E",
     [](R r, S s) {
       return Yes(r.g_fever) && (FeverComplication(r) || s.tube_feeding_intake == 1);
     }},
    {"2F", [](R r, S) { return Yes(r.i_burns); }},
    {"2G", [](R r, S) { return r.g_pain_severe == '2'; }},
    {"2H", [](R, S s) { return s.tube_feeding_intake == 1 || s.iv_nutrition_intake == 1; }},
    {"2I", [](R r, S) { return Yes(r.k_suctioning); }},
    {"2J", [](R r, S) { return Yes(r.k_tracheostomy_care); }},
    {"2K",
     [](R r, S) {
       return Yes(r.f_diabetes) && (Yes(r.i_foot_infection) || Yes(r.i_open_lesions_foot)) &&
              Yes(r.i_other_dressing_foot);
     }},
    {"2L", [](R r, S) { return Yes(r.k_transfusion); }},
    {"2M", [](R r, S) { return Yes(r.k_oxygen_therapy); }},
    {kStop, [](R, S s) { return s.adl_score > 10; }},
    {"2N", [](R r, S) { return SetAConditionEarly(r); }},
};

// The diabetic foot of the layouts from 090, outside the ADL range 4..8.
bool DiabeticFootFrom090(R r, S s) {
  return (s.adl_score < 4 || s.adl_score > 8) && Yes(r.f_diabetes) && Yes(r.i_foot_infection) &&
         Yes(r.i_other_dressing_foot);
}

constexpr Criterion kSetB090[] = {
    {"2A", [](R r, S s) { return s.adl_score >= 18 && NeurologicalListFrom090(r); }},
    {"2B", [](R r, S s) { return AnyStage34Ulcer(r) && s.skin_care_count >= 2; }},
    {"2C", [](R r, S) { return Yes(r.g_fever) && Yes(r.g_fever_workup) && FeverComplication(r); }},
    {"2D", [](R r, S) { return Yes(r.i_burns); }},
    {"2E", [](R r, S) { return r.g_pain_frequency_090 == '2' && SeverePainGrade(r); }},
    {"2F", [](R, S s) { return s.tube_feeding_intake == 1; }},
    {"2G", [](R r, S) { return Yes(r.k_tracheostomy_care); }},
    {"2H", DiabeticFootFrom090},
    {"2I", [](R r, S) { return Yes(r.k_oxygen_therapy); }},
    {kStop, [](R, S s) { return s.adl_score > 10; }},
    {"2J", [](R r, S) { return SetAConditionOf090(r); }},
};

constexpr Criterion kSetB091[] = {
    {"2A", [](R r, S s) { return s.adl_score >= 18 && NeurologicalListFrom090(r); }},
    {"2B", [](R r, S s) { return AnyStage34Ulcer(r) && s.skin_care_count >= 2; }},
    {"2C",
     [](R r, S) {
       return Yes(r.g_fever) && Yes(r.g_fever_workup) && r.g_fever_days >= 3 &&
              FeverComplication(r);
     }},
    {"2D", [](R r, S) { return Yes(r.i_burns) && Yes(r.i_skin_treatment_g); }},
    {"2E",
     [](R r, S) {
       return r.g_pain_frequency_091 == '2' && SeverePainGrade(r) && Yes(r.g_pain_treatment_091);
     }},
    {"2F", [](R r, S s) { return s.tube_feeding_intake == 1 && r.h_tube_feeding_days >= 7; }},
    {"2G", [](R r, S) { return Yes(r.k_tracheostomy_care); }},
    {"2H", DiabeticFootFrom090},
    // The saturation is compared as the stored single-precision value.
    {"2I",
     [](R r, S) {
       return Yes(r.k_oxygen_therapy) && r.k_oxygen_saturation <= 90.0f && r.k_oxygen_days >= 7;
     }},
    {kStop, [](R, S s) { return s.adl_score > 10; }},
    {"2J", [](R r, S) { return SetAConditionFrom091(r); }},
};

}  // namespace

int evaluate_set_b_early(R r, ClassificationState& s) {
  return RunCriteria(kSetBEarly, r, s);
}
int evaluate_set_b_090(R r, ClassificationState& s) {
  return RunCriteria(kSetB090, r, s);
}
int evaluate_set_b_091(R r, ClassificationState& s) {
  return RunCriteria(kSetB091, r, s);
}

}  // namespace grouper
