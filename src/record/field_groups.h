// Named groups of the record's fields: the items that the form lists together
// under one question (the ADL items, the behaviours, the toileting aids ...),
// each group in form order. Code that treats such items alike walks the group
// by name, never a range of members from one field to another, so that the
// order of the record's members means nothing. A group names the fields of
// every layout that carry its items; a field a line's layout does not carry
// stays zero (see assessment_record.h).
#pragma once

#include "record/assessment_record.h"

namespace grouper::field_groups {

using R = AssessmentRecord;

// A.10.a-d: health habits.
inline constexpr CharField kHealthHabits[] = {&R::a_smoking, &R::a_drinking, &R::a_exercise,
                                              &R::a_regular_meals};

// A.12.b.1-8: the long-term care services used.
inline constexpr CharField kCareServices[] = {
    &R::a_ltc_service_day_care,        &R::a_ltc_service_home_care,
    &R::a_ltc_service_home_nursing,    &R::a_ltc_service_home_bathing,
    &R::a_ltc_service_short_term_care, &R::a_ltc_service_welfare_equipment,
    &R::a_ltc_service_facility,        &R::a_ltc_service_other};

// A.14.b-g: the needs that the social screening asks about (A.14.a says
// whether it was refused).
inline constexpr CharField kSocialNeeds[] = {&R::a_social_no_helper, &R::a_social_utility_cutoff,
                                             &R::a_social_homeless,  &R::a_social_cost_hardship,
                                             &R::a_social_transport, &R::a_social_emergency};

// C.1-4: cognition and communication.
inline constexpr CharField kCognition[] = {&R::c_short_term_memory, &R::c_cognitive_skills,
                                           &R::c_making_understood, &R::c_expression};

// C.5.a-n: behaviours.
inline constexpr CharField kBehaviours[] = {
    &R::c_delusions,       &R::c_hallucinations, &R::c_agitation,       &R::c_depression,
    &R::c_anxiety,         &R::c_euphoria,       &R::c_apathy,          &R::c_disinhibition,
    &R::c_irritability,    &R::c_aberrant_motor, &R::c_sleep_behaviour, &R::c_appetite_change,
    &R::c_care_resistance, &R::c_wandering};

// D.1-10: the activities of daily living.
inline constexpr CharField kAdlItems[] = {&R::d_adl_dressing,       &R::d_adl_washing_face,
                                          &R::d_adl_brushing_teeth, &R::d_adl_bathing,
                                          &R::d_adl_eating,         &R::d_adl_changing_position,
                                          &R::d_adl_sitting_up,     &R::d_adl_transferring,
                                          &R::d_adl_leaving_room,   &R::d_adl_toilet_use};

// D.12.a-c: the rehabilitation potential.
inline constexpr CharField kRehabPotential[] = {
    &R::d_rehab_potential_improve, &R::d_rehab_potential_perform, &R::d_rehab_potential_change};

// E.3.a-g: the toileting aids (E.3.h says none applies).
inline constexpr CharField kToiletingAids[] = {
    &R::e_scheduled_toileting, &R::e_bladder_retraining, &R::e_intermittent_catheter,
    &R::e_external_catheter,   &R::e_pads_briefs,        &R::e_ostomy,
    &R::e_indwelling_catheter};

// E.3.g: the twenty dates of catheter changes of the 092/013 layout.
inline constexpr DateField kCatheterDates[] = {
    &R::e_catheter_date_01, &R::e_catheter_date_02, &R::e_catheter_date_03, &R::e_catheter_date_04,
    &R::e_catheter_date_05, &R::e_catheter_date_06, &R::e_catheter_date_07, &R::e_catheter_date_08,
    &R::e_catheter_date_09, &R::e_catheter_date_10, &R::e_catheter_date_11, &R::e_catheter_date_12,
    &R::e_catheter_date_13, &R::e_catheter_date_14, &R::e_catheter_date_15, &R::e_catheter_date_16,
    &R::e_catheter_date_17, &R::e_catheter_date_18, &R::e_catheter_date_19, &R::e_catheter_date_20};

// F.1.b-v: the diseases that every layout lists after diabetes (the base
// layout's F.1.v is its none-applies answer; 089/010 has its own at F.1.w).
inline constexpr CharField kDiseases[] = {&R::f_hypertension,
                                          &R::f_urinary_tract_infection,
                                          &R::f_peripheral_vascular_disease,
                                          &R::f_paraplegia,
                                          &R::f_quadriplegia,
                                          &R::f_hemiplegia,
                                          &R::f_cerebral_palsy,
                                          &R::f_cerebrovascular_disease,
                                          &R::f_parkinsons,
                                          &R::f_spinal_cord_injury,
                                          &R::f_myasthenia,
                                          &R::f_primary_muscle_disorder,
                                          &R::f_multiple_sclerosis,
                                          &R::f_huntingtons,
                                          &R::f_hereditary_ataxia,
                                          &R::f_spinal_muscular_atrophy,
                                          &R::f_systemic_atrophy,
                                          &R::f_progressive_supranuclear_palsy,
                                          &R::f_atypical_virus_infection,
                                          &R::f_subacute_necrotising_encephalopathy,
                                          &R::f_aids};

// F.1.w-ab of the layouts from 090/011: the diseases they add and their
// none-applies answer.
inline constexpr CharField kDiseasesFrom090[] = {&R::f_dementia,      &R::f_hyperlipidaemia,
                                                 &R::f_heart_failure, &R::f_copd,
                                                 &R::f_asthma,        &R::f_diseases_none};

// F.2.a-h: malnutrition, with its none-applies answer.
inline constexpr CharField kMalnutrition[] = {&R::f_kwashiorkor,
                                              &R::f_nutritional_marasmus,
                                              &R::f_marasmic_kwashiorkor,
                                              &R::f_severe_malnutrition,
                                              &R::f_moderate_malnutrition,
                                              &R::f_malnutrition_retarded_development,
                                              &R::f_unspecified_malnutrition,
                                              &R::f_malnutrition_none};

// I.4.a-e: skin problems, with their none-applies answer.
inline constexpr CharField kSkinProblems[] = {
    &R::i_burns,          &R::i_open_lesions,   &R::i_open_lesions_foot, &R::i_open_lesions_other,
    &R::i_surgical_wound, &R::i_foot_infection, &R::i_skin_problems_none};

// I.5.a-h: skin treatments; I.5.g is none-applies up to 090/011, a further
// treatment from 091/012, whose none-applies is I.5.h.
inline constexpr CharField kSkinTreatments[] = {
    &R::i_pressure_relief_device, &R::i_turning_repositioning, &R::i_skin_nutrition_hydration,
    &R::i_ulcer_dressing,         &R::i_ulcer_dressing_foot,   &R::i_ulcer_dressing_other,
    &R::i_other_dressing,         &R::i_other_dressing_foot,   &R::i_other_dressing_other,
    &R::i_surgical_wound_care,    &R::i_skin_treatment_g,      &R::i_skin_treatment_none_091};

// J.1-4: medication.
inline constexpr CharField kMedication[] = {&R::j_injection_count, &R::j_behaviour_drug_treatment,
                                            &R::j_dementia_drug, &R::j_daily_medication_count};

// K.1.a-l: the special treatments of every layout, with their none-applies
// answers (091/012 renumbered the ventilator and central venous nutrition,
// which have a field for each numbering).
inline constexpr CharField kSpecialTreatments[] = {&R::k_iv_medication,
                                                   &R::k_urinary_stoma_care,
                                                   &R::k_bowel_stoma_care,
                                                   &R::k_feeding_stoma_care,
                                                   &R::k_oxygen_therapy,
                                                   &R::k_nebulizer,
                                                   &R::k_suctioning,
                                                   &R::k_tracheostomy_care,
                                                   &R::k_transfusion,
                                                   &R::k_ventilator_091,
                                                   &R::k_ventilator_personal_091,
                                                   &R::k_ventilator_hospital_091,
                                                   &R::k_central_venous_nutrition_091,
                                                   &R::k_ventilator,
                                                   &R::k_ventilator_personal,
                                                   &R::k_ventilator_hospital,
                                                   &R::k_central_venous_nutrition,
                                                   &R::k_treatments_none_091,
                                                   &R::k_treatments_none};

}  // namespace grouper::field_groups
