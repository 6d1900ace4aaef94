// The in-memory form of one assessment: every item of every form version in a
// field of fixed type, in form order. The record is a plain structure that is
// zero-filled before each line; a field whose item the line's layout does not
// carry keeps its zero value (empty text, NUL character, 0, 0.0).
//
// Field kinds:
//   text N  -> char[N + 1], NUL-terminated, NUL-padded
//   char    -> one byte, not terminated
//   int     -> int32_t
//   tenths  -> float holding the item's digits divided by 10
//
// The parser, the validator and the classifier work on a record that the
// caller passes; no record is kept anywhere between calls.
#pragma once

#include <cstdint>

namespace grouper {

using DateText = char[9];  // YYYYMMDD and a terminator; "00000000" is the absent date

struct AssessmentRecord {
  // Header and section A: general items.
  char form_version[4];
  char institution_code[9];
  char patient_name[13];
  char resident_number[14];
  DateText a_admission_date;
  DateText a_care_start_date;
  char a_assessment_type;
  DateText a_assessment_date;
  char a_residence_before_admission;
  char a_education_level;
  int32_t a_systolic_bp;
  int32_t a_diastolic_bp;
  char a_smoking;
  char a_drinking;
  char a_exercise;
  char a_regular_meals;
  char a_ltc_grade_application;
  char a_ltc_grade;
  char a_ltc_service_day_care;
  char a_ltc_service_home_care;
  char a_ltc_service_home_nursing;
  char a_ltc_service_home_bathing;
  char a_ltc_service_short_term_care;
  char a_ltc_service_welfare_equipment;
  char a_ltc_service_facility;
  char a_ltc_service_other;
  char a_ltc_service_wish;
  char a_social_refused;
  char a_social_no_helper;
  char a_social_utility_cutoff;
  char a_social_homeless;
  char a_social_cost_hardship;
  char a_social_transport;
  char a_social_emergency;

  // Sections B and C: consciousness, cognition and behaviour.
  char b_coma;
  char b_delirium;
  char c_short_term_memory;
  char c_cognitive_skills;
  char c_making_understood;
  char c_expression;
  char c_delusions;
  char c_hallucinations;
  char c_agitation;
  char c_depression;
  char c_anxiety;
  char c_euphoria;
  char c_apathy;
  char c_disinhibition;
  char c_irritability;
  char c_aberrant_motor;
  char c_sleep_behaviour;
  char c_appetite_change;
  char c_care_resistance;
  char c_wandering;
  char c_kmmse_done;
  int32_t c_kmmse_score;
  DateText c_kmmse_date;
  char c_cdr_done;
  int32_t c_cdr_score;  // two input digits divided by 10, truncated
  DateText c_cdr_date;
  char c_gds_done;
  int32_t c_gds_score;
  DateText c_gds_date;

  // Section D: physical function.
  char d_adl_dressing;
  char d_adl_washing_face;
  char d_adl_brushing_teeth;
  char d_adl_bathing;
  char d_adl_eating;
  char d_adl_changing_position;
  char d_adl_sitting_up;
  char d_adl_transferring;
  char d_adl_leaving_room;
  char d_adl_toilet_use;
  char d_bedridden;
  char d_rehab_potential_improve;
  char d_rehab_potential_perform;
  char d_rehab_potential_change;

  // Section E: excretion.
  char e_bowel_control;
  char e_bladder_control;
  char e_scheduled_toileting;
  char e_bladder_retraining;
  char e_intermittent_catheter;
  char e_external_catheter;
  char e_pads_briefs;
  char e_ostomy;
  char e_indwelling_catheter;
  DateText e_indwelling_catheter_date;
  DateText e_catheter_date_01;
  DateText e_catheter_date_02;
  DateText e_catheter_date_03;
  DateText e_catheter_date_04;
  DateText e_catheter_date_05;
  DateText e_catheter_date_06;
  DateText e_catheter_date_07;
  DateText e_catheter_date_08;
  DateText e_catheter_date_09;
  DateText e_catheter_date_10;
  DateText e_catheter_date_11;
  DateText e_catheter_date_12;
  DateText e_catheter_date_13;
  DateText e_catheter_date_14;
  DateText e_catheter_date_15;
  DateText e_catheter_date_16;
  DateText e_catheter_date_17;
  DateText e_catheter_date_18;
  DateText e_catheter_date_19;
  DateText e_catheter_date_20;
  int32_t e_catheter_date_count;
  char e_toileting_none;
  char e_voiding_diary;
  int32_t e_voiding_diary_days;

  // Section F: diagnoses.
  char f_diabetes;
  char f_glucose_check_done;
  int32_t f_fasting_glucose;
  int32_t f_postprandial_glucose;
  char f_hba1c_done;
  float f_hba1c;
  DateText f_hba1c_date;
  char f_hypertension;
  char f_urinary_tract_infection;
  char f_peripheral_vascular_disease;
  char f_paraplegia;
  char f_quadriplegia;
  char f_hemiplegia;
  char f_cerebral_palsy;
  char f_cerebrovascular_disease;
  char f_parkinsons;
  char f_spinal_cord_injury;
  char f_myasthenia;
  char f_primary_muscle_disorder;
  char f_multiple_sclerosis;
  char f_huntingtons;
  char f_hereditary_ataxia;
  char f_spinal_muscular_atrophy;
  char f_systemic_atrophy;
  char f_progressive_supranuclear_palsy;
  char f_atypical_virus_infection;
  char f_subacute_necrotising_encephalopathy;
  char f_aids;  // in the base layout this position carries "none of F.1 applies"
  char f_diseases_none_089;
  char f_dementia;
  char f_hyperlipidaemia;
  char f_heart_failure;
  char f_copd;
  char f_asthma;
  char f_diseases_none;
  char f_kwashiorkor;
  char f_nutritional_marasmus;
  char f_marasmic_kwashiorkor;
  char f_severe_malnutrition;
  char f_moderate_malnutrition;
  char f_malnutrition_retarded_development;
  char f_unspecified_malnutrition;
  char f_malnutrition_none;

  // Section G: health status.
  char g_fever;
  float g_body_temperature;
  char g_fever_workup;
  int32_t g_fever_days;
  char g_dehydration;
  char g_vomiting;
  char g_internal_bleeding;
  char g_stoma_care_post_surgery_091;
  char g_conditions_none;
  char g_stoma_care_post_surgery_090;
  char g_stoma_care_complication_091;
  char g_stoma_care_complication_090;
  char g_conditions_none_091;
  char g_conditions_none_090;
  char g_pain_mild;
  char g_pain_frequency_090;
  char g_pain_frequency_091;
  char g_pain_moderate;
  int32_t g_pain_visual_scale;
  int32_t g_pain_numeric_scale;
  int32_t g_pain_faces_scale;
  char g_pain_severe;
  char g_pain_treatment_091;
  char g_cancer_pain_treatment_090;
  char g_cancer_pain_treatment_091;
  char g_fall_30_days;
  char g_fall_31_180_days;
  char g_end_stage_disease;

  // Section H: oral and nutritional status.
  char h_swallowing;
  char h_weight_measured;
  float h_weight;
  DateText h_weight_date;
  char h_weight_loss;
  char h_height_measured;
  float h_height;
  DateText h_height_date;
  char h_parenteral_nutrition;
  char h_tube_feeding;
  int32_t h_tube_feeding_days;
  char h_calorie_intake;
  char h_fluid_intake;

  // Section I: skin condition.
  int32_t i_pressure_ulcer_stage1;
  int32_t i_pressure_ulcer_stage2;
  int32_t i_pressure_ulcer_stage3;
  int32_t i_pressure_ulcer_stage4;
  int32_t i_stasis_ulcer_stage1;
  int32_t i_stasis_ulcer_stage2;
  int32_t i_stasis_ulcer_stage3;
  int32_t i_stasis_ulcer_stage4;
  char i_new_pressure_ulcer;
  DateText i_new_pressure_ulcer_date;
  char i_pressure_ulcer_history;
  char i_burns;
  char i_open_lesions;
  char i_open_lesions_foot;
  char i_open_lesions_other;
  char i_surgical_wound;
  char i_foot_infection;
  char i_skin_problems_none;
  char i_pressure_relief_device;
  char i_turning_repositioning;
  char i_skin_nutrition_hydration;
  char i_ulcer_dressing;
  char i_ulcer_dressing_foot;
  char i_ulcer_dressing_other;
  char i_other_dressing;
  char i_other_dressing_foot;
  char i_other_dressing_other;
  char i_surgical_wound_care;
  char i_skin_treatment_g;  // none-applies up to 090/011, a further treatment from 091
  char i_skin_treatment_none_091;

  // Section J: medication.
  char j_injection_count;
  char j_behaviour_drug_treatment;
  char j_dementia_drug;
  char j_daily_medication_count;

  // Section K: special treatments and rehabilitation.
  char k_iv_medication;
  int32_t k_iv_medication_days;
  char k_urinary_stoma_care;
  char k_bowel_stoma_care;
  char k_feeding_stoma_care;
  char k_oxygen_therapy;
  float k_oxygen_saturation;
  int32_t k_oxygen_days;
  char k_nebulizer;
  char k_suctioning;
  char k_tracheostomy_care;
  char k_transfusion;
  char k_ventilator_091;
  char k_ventilator_personal_091;
  char k_ventilator_hospital_091;
  char k_central_venous_nutrition_091;
  char k_ventilator;
  char k_ventilator_personal;
  char k_ventilator_hospital;
  char k_central_venous_nutrition;
  char k_treatments_none_091;
  char k_treatments_none;
  int32_t k_rehab_days;

  // Signatures.
  char s_doctor_name[13];
  char s_nurse_name[13];
};

// A field of the record by its member, of each kind.
using CharField = char AssessmentRecord::*;
using IntField = int32_t AssessmentRecord::*;
using DecimalField = float AssessmentRecord::*;
using DateField = DateText AssessmentRecord::*;

}  // namespace grouper
