#include "classify/criteria.h"

#include <cstring>

namespace grouper::criteria {

void RecordCriterion(const char* code, ClassificationState& s) {
  const int slot = CriterionSlot(code);
  if (slot < 0) return;
  char* entry = s.criteria[slot];
  entry[0] = code[0];
  entry[1] = code[1];
  entry[2] = '\0';
}

namespace {

bool Dependent(char adl_item) {
  return adl_item == '4' || adl_item == '8';
}

// The list entries that both neurological lists share.
bool SharedNeurologicalEntries(R r) {
  return Yes(r.f_cerebral_palsy) || (Yes(r.f_spinal_cord_injury) && Yes(r.f_paraplegia)) ||
         Yes(r.f_hemiplegia) || Yes(r.f_parkinsons) || Yes(r.f_myasthenia) ||
         Yes(r.f_primary_muscle_disorder) || Yes(r.f_multiple_sclerosis) || Yes(r.f_huntingtons) ||
         Yes(r.f_hereditary_ataxia) || Yes(r.f_spinal_muscular_atrophy) ||
         Yes(r.f_systemic_atrophy) || Yes(r.f_progressive_supranuclear_palsy) ||
         Yes(r.f_atypical_virus_infection) || Yes(r.f_subacute_necrotising_encephalopathy);
}

}  // namespace

bool ComaWithDependence(R r) {
  return Yes(r.b_coma) && Dependent(r.d_adl_eating) && Dependent(r.d_adl_changing_position) &&
         Dependent(r.d_adl_transferring) && Dependent(r.d_adl_toilet_use);
}

bool SetAConditionEarly(R r) {
  return ComaWithDependence(r) || Yes(r.g_internal_bleeding) || Yes(r.k_central_venous_nutrition) ||
         Yes(r.k_ventilator);
}

bool SetAConditionOf090(R r) {
  return Yes(r.k_ventilator) || ComaWithDependence(r) || Yes(r.k_central_venous_nutrition);
}

bool SetAConditionFrom091(R r) {
  return Yes(r.k_ventilator_091) || ComaWithDependence(r) || Yes(r.k_central_venous_nutrition_091);
}

bool AnyStage34Ulcer(R r) {
  return r.i_pressure_ulcer_stage3 >= 1 || r.i_stasis_ulcer_stage3 >= 1 ||
         r.i_pressure_ulcer_stage4 >= 1 || r.i_stasis_ulcer_stage4 >= 1;
}

bool NeurologicalListEarly(R r, S s) {
  return SharedNeurologicalEntries(r) || (Yes(r.f_spinal_cord_injury) && Yes(r.f_quadriplegia)) ||
         (s.family == Family::k089 && Yes(r.f_aids));
}

bool NeurologicalListFrom090(R r) {
  return SharedNeurologicalEntries(r) || Yes(r.f_quadriplegia) || Yes(r.f_aids);
}

bool FeverComplication(R r) {
  return Yes(r.g_dehydration) || Yes(r.g_vomiting) || Yes(r.h_weight_loss);
}

bool SeverePainGrade(R r) {
  return r.g_pain_visual_scale >= 7 || r.g_pain_numeric_scale >= 7 || r.g_pain_faces_scale >= 4;
}

bool ModeratePainGrade(R r) {
  return r.g_pain_visual_scale >= 4 || r.g_pain_numeric_scale >= 4 || r.g_pain_faces_scale >= 3;
}

bool AnyStomaCare(R r) {
  return Yes(r.k_urinary_stoma_care) || Yes(r.k_bowel_stoma_care) || Yes(r.k_feeding_stoma_care);
}

bool ToiletingProgramme(R r) {
  return Yes(r.e_scheduled_toileting) || Yes(r.e_bladder_retraining) ||
         Yes(r.e_intermittent_catheter);
}

bool BehaviouralSymptoms(R r) {
  return TwoOrThree(r.c_delusions) || TwoOrThree(r.c_hallucinations) || TwoOrThree(r.c_agitation) ||
         TwoOrThree(r.c_disinhibition) || TwoOrThree(r.c_care_resistance) ||
         TwoOrThree(r.c_wandering);
}

bool TreatedBehaviouralSymptoms(R r) {
  return Yes(r.f_dementia) && BehaviouralSymptoms(r) && Yes(r.j_behaviour_drug_treatment);
}

}  // namespace grouper::criteria
