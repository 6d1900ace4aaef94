// The rules of the form that tie items together: every gated item follows
// its gate (blank, zero or the absent date where the gate is closed) and
// every none-applies flag agrees with its list. Runs after the background and
// the target, which may answer any item, and draws nothing.
#include <cstring>

#include "sample_draft.h"

namespace grouper::sample {

void ApplyFormRules(Draft& d) {
  using R = AssessmentRecord;
  AssessmentRecord& r = d.r;
  const Family f = d.family;
  const bool early = IsEarly(f);
  const bool from091 = IsFrom091(f);

  // B and C: a patient in a coma answers nothing; a test not performed has
  // score 0 and the absent date.
  if (r.b_coma == '1') {
    for (char* c = &r.b_delirium; c <= &r.c_kmmse_done; ++c) *c = ' ';
  }
  auto test = [&](char& done, int32_t& score, DateText& date) {
    if (r.b_coma == '1') done = ' ';
    if (done != '1') {
      score = 0;
      SetText(date, kAbsentDate);
    }
  };
  test(r.c_kmmse_done, r.c_kmmse_score, r.c_kmmse_date);
  if (!early) {
    test(r.c_cdr_done, r.c_cdr_score, r.c_cdr_date);
    test(r.c_gds_done, r.c_gds_score, r.c_gds_date);
  }

  // E.
  if (r.e_indwelling_catheter != '1') {
    if (f == Family::k090 || f == Family::k091) SetText(r.e_indwelling_catheter_date, kAbsentDate);
    if (f == Family::k092) {
      for (DateText* slot = &r.e_catheter_date_01; slot <= &r.e_catheter_date_20; ++slot) {
        SetText(*slot, kAbsentDate);
      }
      r.e_catheter_date_count = 0;
    }
  }
  r.e_toileting_none = NoneFlag(
      r, {&R::e_scheduled_toileting, &R::e_bladder_retraining, &R::e_intermittent_catheter,
          &R::e_external_catheter, &R::e_pads_briefs, &R::e_ostomy, &R::e_indwelling_catheter});
  if (from091 && r.e_voiding_diary != '1') r.e_voiding_diary_days = 0;

  // F.
  if (r.f_diabetes != '1') {
    r.f_glucose_check_done = ' ';
    r.f_hba1c_done = ' ';
  }
  if (r.f_glucose_check_done != '1') r.f_fasting_glucose = r.f_postprandial_glucose = 0;
  if (r.f_hba1c_done != '1') {
    r.f_hba1c = 0.0f;
    SetText(r.f_hba1c_date, kAbsentDate);
  }
  bool any_disease = false;
  for (char* c = &r.f_hypertension; c <= &r.f_subacute_necrotising_encephalopathy; ++c) {
    any_disease = any_disease || *c == '1';
  }
  any_disease = any_disease || r.f_diabetes == '1';
  if (f == Family::kBase) {
    r.f_aids = any_disease ? '0' : '1';  // this byte is the none-applies answer
  } else {
    // Family 089/010 may not report AIDS before March 2015.
    if (f == Family::k089 && std::strcmp(r.a_assessment_date, "20150301") < 0) r.f_aids = '0';
    any_disease = any_disease || r.f_aids == '1';
    if (f == Family::k089) {
      r.f_diseases_none_089 = any_disease ? '0' : '1';
    } else {
      any_disease = any_disease || AnySet(r, {&R::f_dementia, &R::f_hyperlipidaemia,
                                              &R::f_heart_failure, &R::f_copd, &R::f_asthma});
      r.f_diseases_none = any_disease ? '0' : '1';
    }
  }
  r.f_malnutrition_none =
      NoneFlag(r, {&R::f_kwashiorkor, &R::f_nutritional_marasmus, &R::f_marasmic_kwashiorkor,
                   &R::f_severe_malnutrition, &R::f_moderate_malnutrition,
                   &R::f_malnutrition_retarded_development, &R::f_unspecified_malnutrition});

  // G.
  if (!early && r.g_fever != '1') {
    r.g_body_temperature = 0.0f;
    r.g_fever_workup = ' ';
    r.g_fever_days = 0;
  }
  if (early) {
    r.g_conditions_none =
        NoneFlag(r, {&R::g_fever, &R::g_dehydration, &R::g_vomiting, &R::g_internal_bleeding});
  } else if (Is090(f)) {
    r.g_conditions_none_090 =
        NoneFlag(r, {&R::g_fever, &R::g_dehydration, &R::g_vomiting, &R::g_internal_bleeding,
                     &R::g_stoma_care_post_surgery_090, &R::g_stoma_care_complication_090});
  } else {
    r.g_conditions_none_091 =
        NoneFlag(r, {&R::g_fever, &R::g_dehydration, &R::g_vomiting,
                     &R::g_stoma_care_post_surgery_091, &R::g_stoma_care_complication_091});
  }

  // H.
  if (r.h_weight_measured != '1') {
    r.h_weight = 0.0f;
    SetText(r.h_weight_date, kAbsentDate);
  }
  if (!early && r.h_height_measured != '1') {
    r.h_height = 0.0f;
    SetText(r.h_height_date, kAbsentDate);
  }
  if (r.h_parenteral_nutrition != '1' && r.h_tube_feeding != '1') {
    r.h_calorie_intake = r.h_fluid_intake = ' ';
  }
  if (r.h_tube_feeding != '1') r.h_tube_feeding_days = 0;

  // I.
  if (r.i_new_pressure_ulcer != '1') SetText(r.i_new_pressure_ulcer_date, kAbsentDate);
  if (early && r.i_open_lesions != '1') r.i_open_lesions_foot = r.i_open_lesions_other = '0';
  if (r.i_ulcer_dressing != '1') r.i_ulcer_dressing_foot = r.i_ulcer_dressing_other = '0';
  if (r.i_other_dressing != '1') r.i_other_dressing_foot = r.i_other_dressing_other = '0';
  r.i_skin_problems_none =
      NoneFlag(r, {&R::i_burns, &R::i_open_lesions, &R::i_surgical_wound, &R::i_foot_infection});
  if (from091) {
    r.i_skin_treatment_none_091 =
        NoneFlag(r, {&R::i_pressure_relief_device, &R::i_turning_repositioning,
                     &R::i_skin_nutrition_hydration, &R::i_ulcer_dressing, &R::i_other_dressing,
                     &R::i_surgical_wound_care, &R::i_skin_treatment_g});
  } else {
    r.i_skin_treatment_g = NoneFlag(r, {&R::i_pressure_relief_device, &R::i_turning_repositioning,
                                        &R::i_skin_nutrition_hydration, &R::i_ulcer_dressing,
                                        &R::i_other_dressing, &R::i_surgical_wound_care});
  }

  // K.
  if (r.k_iv_medication != '1') r.k_iv_medication_days = 0;
  if (r.k_oxygen_therapy != '1') {
    r.k_oxygen_saturation = 0.0f;
    r.k_oxygen_days = 0;
  }
  if (r.k_ventilator != '1' && Is090(f)) r.k_ventilator_personal = r.k_ventilator_hospital = '0';
  if (r.k_ventilator_091 != '1' && from091) {
    r.k_ventilator_personal_091 = r.k_ventilator_hospital_091 = '0';
  }
  if (from091) {
    r.k_treatments_none_091 = NoneFlag(
        r, {&R::k_iv_medication, &R::k_urinary_stoma_care, &R::k_bowel_stoma_care,
            &R::k_feeding_stoma_care, &R::k_oxygen_therapy, &R::k_nebulizer, &R::k_suctioning,
            &R::k_tracheostomy_care, &R::k_ventilator_091, &R::k_central_venous_nutrition_091});
  } else {
    r.k_treatments_none =
        NoneFlag(r, {&R::k_iv_medication, &R::k_urinary_stoma_care, &R::k_bowel_stoma_care,
                     &R::k_feeding_stoma_care, &R::k_oxygen_therapy, &R::k_nebulizer,
                     &R::k_suctioning, &R::k_tracheostomy_care, &R::k_transfusion, &R::k_ventilator,
                     &R::k_central_venous_nutrition});
  }
}

}  // namespace grouper::sample
