// The background of a drawn record: sections A to K answered within the
// rules of the form, each item drawn with a plausible share of a ward. The
// gates and none-applies flags are left to ApplyFormRules, which runs after
// the target, so the background may answer a gated item freely.
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <span>

#include "record/field_groups.h"
#include "sample_draft.h"
#include "text/cp949.h"

namespace grouper::sample {

namespace {

// A date within `back` days before the assessment.
void RecentDate(Random& g, const Draft& d, DateText& field, int back = 60) {
  SetDate(field, d.assessment_day - Uniform(g, 0, back));
}

// ---------------------------------------------------------------------------
// Section A.

void DrawGeneral(Random& g, Draft& d, const SampleGenerator& gen, uint64_t index) {
  AssessmentRecord& r = d.r;
  const char* institution = gen.institution_codes[Uniform(g, 0, 3)];
  SetText(r.institution_code, institution);
  // The base layout has no version prefix: its first three bytes, those of
  // the institution code, serve as its form version.
  SetText(r.form_version, d.family == Family::kBase ? std::string_view(institution, 3) : d.code);

  char text[32];
  std::snprintf(text, sizeof text, Chance(g, 10) ? u8"가상 %06u"_cp949 : u8"가상%06u"_cp949,
                static_cast<unsigned>(index % 1000000));
  SetText(r.patient_name, text);
  // Birth month and day "0000" and the seventh digit 0: no real person has it.
  // The two numbers are drawn in statements of their own, serial first as the
  // files written so far have it: the order in which a call's arguments are
  // evaluated is the compiler's choice, and the bytes must not depend on it.
  const int serial = Uniform(g, 0, 999999);
  const int birth_year = Uniform(g, 25, 59);
  std::snprintf(text, sizeof text, "%02d00000%06d", birth_year, serial);
  SetText(r.resident_number, text);

  // A file holds the assessments of about two months (or of the month asked
  // for); patients were admitted up to five years before.
  d.assessment_day = gen.period_start_day + Uniform(g, 0, gen.period_days - 1);
  const int admission = d.assessment_day - (Chance(g, 10) ? 0 : Uniform(g, 1, 1800));
  SetDate(r.a_admission_date, admission);
  SetDate(r.a_care_start_date, admission + (Chance(g, 30) ? 0 : Uniform(g, 1, 30)));
  SetDate(r.a_assessment_date, d.assessment_day);

  const int type_roll = Uniform(g, 0, 9);
  r.a_assessment_type = type_roll < 6 ? '1' : type_roll < 9 ? '2' : '3';
  const bool first = r.a_assessment_type == '1';
  r.a_residence_before_admission = first ? Digit(Uniform(g, 1, 7)) : ' ';
  r.a_education_level = first ? Digit(Uniform(g, 1, 6)) : ' ';
  r.a_systolic_bp = Uniform(g, 90, 190);
  r.a_diastolic_bp = Uniform(g, 50, 110);

  if (IsEarly(d.family)) return;
  CharField habits[] = {&AssessmentRecord::a_smoking, &AssessmentRecord::a_drinking,
                        &AssessmentRecord::a_exercise, &AssessmentRecord::a_regular_meals};
  CharField services[] = {&AssessmentRecord::a_ltc_service_day_care,
                          &AssessmentRecord::a_ltc_service_home_care,
                          &AssessmentRecord::a_ltc_service_home_nursing,
                          &AssessmentRecord::a_ltc_service_home_bathing,
                          &AssessmentRecord::a_ltc_service_short_term_care,
                          &AssessmentRecord::a_ltc_service_welfare_equipment,
                          &AssessmentRecord::a_ltc_service_facility,
                          &AssessmentRecord::a_ltc_service_other};
  CharField social[] = {
      &AssessmentRecord::a_social_no_helper, &AssessmentRecord::a_social_utility_cutoff,
      &AssessmentRecord::a_social_homeless,  &AssessmentRecord::a_social_cost_hardship,
      &AssessmentRecord::a_social_transport, &AssessmentRecord::a_social_emergency};
  for (CharField f : habits) r.*f = first ? Flag(g, 30) : ' ';
  r.a_ltc_grade_application = first ? Digit(Uniform(g, 1, 6)) : ' ';
  const bool graded = r.a_ltc_grade_application == '5';
  r.a_ltc_grade = graded ? Digit(Uniform(g, 1, 6)) : ' ';
  for (CharField f : services) r.*f = graded ? Flag(g, 20) : ' ';
  const char application = r.a_ltc_grade_application;
  r.a_ltc_service_wish = application == '2' || application == '4' ? Flag(g, 50) : ' ';
  r.a_social_refused = first ? Flag(g, 10) : ' ';
  for (CharField f : social) r.*f = r.a_social_refused == '0' ? Flag(g, 10) : ' ';
}

// ---------------------------------------------------------------------------
// Sections B to K: the background of a record. Outside a wild draw it keeps
// away from every criterion of the classifier, so that the target decides.

void SetAdl(Random& g, AssessmentRecord& r, int score) {
  int points[4] = {0, 0, 0, 0};  // above the first point of each item
  for (int extra = score - 4; extra > 0;) {
    const int i = Uniform(g, 0, 3);
    if (points[i] < 4) ++points[i], --extra;
  }
  char* scored[] = {&r.d_adl_eating, &r.d_adl_changing_position, &r.d_adl_transferring,
                    &r.d_adl_toilet_use};
  for (int i = 0; i < 4; ++i) {
    *scored[i] = points[i] < 4 ? Digit(points[i]) : Chance(g, 25) ? '8' : '4';
  }
  // The unscored items follow the same level of dependence.
  const int level = (score - 4) / 4;
  char* others[] = {&r.d_adl_dressing, &r.d_adl_washing_face, &r.d_adl_brushing_teeth,
                    &r.d_adl_bathing,  &r.d_adl_sitting_up,   &r.d_adl_leaving_room};
  for (char* c : others) {
    const int v = std::clamp(level + Uniform(g, -1, 1), 0, 4);
    *c = v == 4 && Chance(g, 20) ? '8' : Digit(v);
  }
  r.d_bedridden = score >= 17 ? Flag(g, 70) : Flag(g, 5);
}

void DrawCognition(Random& g, Draft& d, int adl) {
  AssessmentRecord& r = d.r;
  // Coma with full dependence (ADL 20) belongs to set A; only a target or a
  // wild draw asks for it.
  r.b_coma = (d.wild || adl < 20) && Chance(g, 4) ? '1' : '0';
  r.b_delirium = Level(g, 2);
  r.c_short_term_memory = Level(g, 2);
  r.c_cognitive_skills = Level(g, 3);
  r.c_making_understood = Level(g, 3);
  r.c_expression = Level(g, 1);
  // Set D of the early families reads these six at '2' and '3'.
  const int behaviour_max = IsEarly(d.family) && !d.wild ? 1 : 3;
  for (char* c : {&r.c_delusions, &r.c_hallucinations, &r.c_agitation, &r.c_disinhibition,
                  &r.c_care_resistance, &r.c_wandering}) {
    *c = Level(g, behaviour_max);
  }
  for (char* c : {&r.c_depression, &r.c_anxiety, &r.c_euphoria, &r.c_apathy, &r.c_irritability,
                  &r.c_aberrant_motor, &r.c_sleep_behaviour, &r.c_appetite_change}) {
    *c = Level(g, 3);
  }
  r.c_kmmse_done = Flag(g, 50);
  // A K-MMSE score up to 19 is set E of the early families.
  r.c_kmmse_score = IsEarly(d.family) && !d.wild ? Uniform(g, 20, 30) : Uniform(g, 0, 30);
  RecentDate(g, d, r.c_kmmse_date);
  if (IsEarly(d.family)) return;
  r.c_cdr_done = Flag(g, 30);
  r.c_cdr_score = Uniform(g, 0, 3);
  RecentDate(g, d, r.c_cdr_date);
  r.c_gds_done = Flag(g, 30);
  r.c_gds_score = Uniform(g, 0, 9);
  RecentDate(g, d, r.c_gds_date);
}

void DrawFunctionAndExcretion(Random& g, Draft& d, int adl) {
  AssessmentRecord& r = d.r;
  SetAdl(g, r, adl);
  if (IsEarly(d.family)) {
    r.d_rehab_potential_improve = Flag(g, 30);
    r.d_rehab_potential_perform = Flag(g, 30);
    r.d_rehab_potential_change = Flag(g, 20);
  }
  r.e_bowel_control = Level(g, 3);
  r.e_bladder_control = Level(g, 3);
  // A toileting programme is set C's.
  const int programme = d.wild ? 10 : 0;
  r.e_scheduled_toileting = Flag(g, programme);
  r.e_bladder_retraining = Flag(g, programme);
  r.e_intermittent_catheter = Flag(g, programme);
  r.e_external_catheter = Flag(g, 5);
  r.e_pads_briefs = Flag(g, 40);
  r.e_ostomy = Flag(g, 5);
  r.e_indwelling_catheter = Flag(g, 10);
  if (d.family == Family::k090 || d.family == Family::k091) {
    RecentDate(g, d, r.e_indwelling_catheter_date, 200);
  }
  if (d.family == Family::k092) {
    const int slots = Uniform(g, 1, 3);
    DateText* slot = &r.e_catheter_date_01;
    for (int i = 0; i < 20; ++i) {
      if (i < slots) {
        RecentDate(g, d, slot[i], 200);
      } else {
        SetText(slot[i], kAbsentDate);
      }
    }
    r.e_catheter_date_count = slots;
  }
  if (IsFrom090(d.family)) r.e_voiding_diary = Flag(g, 20);
  if (IsFrom091(d.family)) r.e_voiding_diary_days = d.wild ? Uniform(g, 0, 30) : Uniform(g, 1, 6);
}

void DrawDiagnoses(Random& g, Draft& d) {
  AssessmentRecord& r = d.r;
  r.f_diabetes = Flag(g, 25);
  r.f_glucose_check_done = Flag(g, 70);
  r.f_fasting_glucose = Chance(g, 10) ? 0 : Uniform(g, 70, 250);
  r.f_postprandial_glucose = Uniform(g, 100, 350);
  r.f_hba1c_done = Flag(g, 50);
  r.f_hba1c = Tenths(Uniform(g, 50, 120));
  RecentDate(g, d, r.f_hba1c_date, 90);
  r.f_hypertension = Flag(g, 40);
  r.f_urinary_tract_infection = Flag(g, 10);
  r.f_peripheral_vascular_disease = Flag(g, 5);
  r.f_cerebrovascular_disease = Flag(g, 20);
  // Paraplegia or a spinal cord injury alone is in no neurological list.
  if (Chance(g, 5)) (Chance(g, 50) ? r.f_paraplegia : r.f_spinal_cord_injury) = '1';
  for (CharField disease : field_groups::kDiseases) {
    if (r.*disease != '1') r.*disease = '0';
  }
  if (d.wild) {
    for (char* c :
         {&r.f_paraplegia, &r.f_quadriplegia, &r.f_hemiplegia, &r.f_cerebral_palsy, &r.f_parkinsons,
          &r.f_spinal_cord_injury, &r.f_myasthenia, &r.f_primary_muscle_disorder,
          &r.f_multiple_sclerosis, &r.f_huntingtons, &r.f_hereditary_ataxia,
          &r.f_spinal_muscular_atrophy, &r.f_systemic_atrophy, &r.f_progressive_supranuclear_palsy,
          &r.f_atypical_virus_infection, &r.f_subacute_necrotising_encephalopathy}) {
      if (Chance(g, 3)) *c = '1';
    }
    if (d.family != Family::kBase) r.f_aids = Flag(g, 3);
  }
  if (IsFrom090(d.family)) {
    r.f_dementia = Flag(g, 30);
    r.f_hyperlipidaemia = Flag(g, 20);
    r.f_heart_failure = Flag(g, 10);
    r.f_copd = Flag(g, 8);
    r.f_asthma = Flag(g, 5);
  }
  // The seven kinds, without the none-applies answer that ends the group.
  const std::span<const CharField> malnutrition =
      std::span(field_groups::kMalnutrition).first(std::size(field_groups::kMalnutrition) - 1);
  for (CharField kind : malnutrition) r.*kind = '0';
  if (Chance(g, 5)) r.*malnutrition[Uniform(g, 0, 6)] = '1';
}

void DrawHealth(Random& g, Draft& d) {
  AssessmentRecord& r = d.r;
  r.g_fever = d.wild ? Flag(g, 10) : '0';
  if (IsFrom090(d.family)) {
    r.g_body_temperature = Tenths(Uniform(g, 375, 405));
    r.g_fever_workup = Flag(g, 50);
  }
  if (IsFrom091(d.family)) r.g_fever_days = Uniform(g, 1, 14);
  r.g_dehydration = Flag(g, 5);
  r.g_vomiting = Flag(g, 5);
  if (IsEarly(d.family)) {
    // Internal bleeding is a set-A condition of the early families only.
    r.g_internal_bleeding = d.wild ? Flag(g, 3) : '0';
    const int max = d.wild ? 2 : 1;
    r.g_pain_mild = Level(g, max);
    r.g_pain_moderate = Level(g, max);
    r.g_pain_severe = Level(g, max);
  } else {
    if (Is090(d.family)) r.g_internal_bleeding = Flag(g, 3);
    StomaPostSurgery(d) = Flag(g, 3);
    StomaComplication(d) = Flag(g, 3);
    if (Chance(g, 50)) {
      SetPain(d, '0', 0, 0);
    } else {
      const int grade = Uniform(g, 0, 2);
      const int max = grade == 2 ? 5 : 10;
      // Frequency '2' with a grade from 4 (faces 3) on is set B's or C's.
      if (d.wild || Chance(g, 60)) {
        // Drawn in statements of their own (grade value first): the order of
        // a call's arguments is the compiler's choice.
        const int value = Uniform(g, 1, max);
        const char frequency = d.wild ? Pick(g, {'1', '2'}) : '1';
        SetPain(d, frequency, grade, value);
      } else {
        SetPain(d, '2', grade, Uniform(g, 1, grade == 2 ? 2 : 3));
      }
    }
    CancerPainTreatment(d) = d.wild ? Flag(g, 10) : '0';
    if (IsFrom091(d.family)) r.g_pain_treatment_091 = Flag(g, 30);
  }
  r.g_fall_30_days = Level(g, 2);
  r.g_fall_31_180_days = Level(g, 2);
  r.g_end_stage_disease = Flag(g, 3);
}

void DrawNutrition(Random& g, Draft& d) {
  AssessmentRecord& r = d.r;
  r.h_swallowing = Flag(g, 10);
  r.h_weight_measured = Flag(g, 90);
  r.h_weight = Tenths(Uniform(g, 350, 850));
  RecentDate(g, d, r.h_weight_date);
  r.h_weight_loss = Level(g, 2);
  if (IsFrom090(d.family)) {
    r.h_height_measured = Flag(g, 80);
    r.h_height = Tenths(Uniform(g, 1400, 1850));
    RecentDate(g, d, r.h_height_date, 365);
  }
  r.h_tube_feeding = Flag(g, 8);
  r.h_parenteral_nutrition = Flag(g, 5);
  // Calories from '2' on make the intake flags of the classifier; in a
  // background record they stay low wherever a flag would count.
  const bool intake_counts =
      r.h_tube_feeding == '1' || (IsEarly(d.family) && r.h_parenteral_nutrition == '1');
  r.h_calorie_intake = d.wild || !intake_counts ? Digit(Uniform(g, 0, 4)) : Digit(Uniform(g, 0, 1));
  r.h_fluid_intake = Digit(Uniform(g, 0, 5));
  if (IsFrom091(d.family)) r.h_tube_feeding_days = d.wild ? Uniform(g, 0, 30) : Uniform(g, 0, 6);
}

void DrawSkin(Random& g, Draft& d) {
  AssessmentRecord& r = d.r;
  if (Chance(g, 20)) {
    r.i_pressure_ulcer_stage1 = Uniform(g, 0, 3);
    r.i_pressure_ulcer_stage2 = Uniform(g, 0, 2);
    r.i_stasis_ulcer_stage1 = Uniform(g, 0, 2);
    r.i_stasis_ulcer_stage2 = Uniform(g, 0, 1);
    if (Chance(g, 25)) {
      int32_t* deep[] = {&r.i_pressure_ulcer_stage3, &r.i_pressure_ulcer_stage4,
                         &r.i_stasis_ulcer_stage3, &r.i_stasis_ulcer_stage4};
      *deep[Uniform(g, 0, 3)] = Uniform(g, 1, 2);
    }
  }
  r.i_new_pressure_ulcer = Flag(g, 5);
  RecentDate(g, d, r.i_new_pressure_ulcer_date, 30);
  r.i_pressure_ulcer_history = Level(g, 2);
  r.i_burns = d.wild ? Flag(g, 3) : '0';
  r.i_open_lesions = Flag(g, 5);
  if (IsEarly(d.family)) DrawSites(g, r.i_open_lesions_foot, r.i_open_lesions_other);
  r.i_surgical_wound = Flag(g, 5);
  r.i_foot_infection = Flag(g, 3);
  // Two counted treatments with an ulcer are sets B's and C's.
  if (d.wild) {
    for (char* c : {&r.i_pressure_relief_device, &r.i_turning_repositioning,
                    &r.i_skin_nutrition_hydration, &r.i_ulcer_dressing}) {
      *c = Flag(g, 20);
    }
  } else {
    SetSkinCare(g, d, Chance(g, 30) ? 1 : 0);
  }
  DrawSites(g, r.i_ulcer_dressing_foot, r.i_ulcer_dressing_other);
  r.i_other_dressing = d.wild ? Flag(g, 10) : '0';
  DrawSites(g, r.i_other_dressing_foot, r.i_other_dressing_other);
  r.i_surgical_wound_care = d.wild ? Flag(g, 30) : r.i_surgical_wound == '1' ? '0' : Flag(g, 5);
  if (IsFrom091(d.family)) r.i_skin_treatment_g = Flag(g, 5);
}

void DrawTreatments(Random& g, Draft& d) {
  AssessmentRecord& r = d.r;
  const bool early = IsEarly(d.family);
  const bool from091 = IsFrom091(d.family);
  r.j_injection_count = Digit(Uniform(g, 0, d.wild ? 2 : 1));
  if (!early) {
    const bool drugs = d.wild || r.f_dementia != '1';
    r.j_behaviour_drug_treatment = drugs ? Flag(g, 15) : '0';
    r.j_dementia_drug = drugs ? Flag(g, 15) : '0';
    r.j_daily_medication_count = Digit(Uniform(g, 0, 4));
  }
  // Intravenous medication: set C, except in the families from 091 for fewer
  // than three days.
  r.k_iv_medication = d.wild || from091 ? Flag(g, 10) : '0';
  if (from091) r.k_iv_medication_days = d.wild ? Uniform(g, 0, 30) : Uniform(g, 0, 2);
  const int stoma = d.wild ? 5 : 0;
  r.k_urinary_stoma_care = Flag(g, stoma);
  r.k_bowel_stoma_care = Flag(g, stoma);
  r.k_feeding_stoma_care = Flag(g, stoma);
  // Oxygen: set B, except in the families from 091 above 90.0 or under 7 days.
  r.k_oxygen_therapy = d.wild || from091 ? Flag(g, 10) : '0';
  if (!early) {
    if (d.wild || Chance(g, 50)) {
      r.k_oxygen_saturation = Tenths(Uniform(g, d.wild ? 800 : 910, 990));
      r.k_oxygen_days = Uniform(g, 1, 30);
    } else {
      r.k_oxygen_saturation = Tenths(Uniform(g, 800, 900));
      r.k_oxygen_days = Uniform(g, 1, 6);
    }
  }
  r.k_nebulizer = Flag(g, d.wild ? 5 : 0);
  r.k_suctioning = Flag(g, d.wild || !early ? 8 : 0);
  r.k_tracheostomy_care = Flag(g, d.wild ? 3 : 0);
  if (!from091) r.k_transfusion = Flag(g, d.wild ? 3 : early ? 0 : 5);
  Ventilator(d) = Flag(g, d.wild ? 2 : 0);
  CentralVenous(d) = Flag(g, d.wild ? 2 : 0);
  if (Is090(d.family)) DrawSites(g, r.k_ventilator_personal, r.k_ventilator_hospital);
  if (from091) DrawSites(g, r.k_ventilator_personal_091, r.k_ventilator_hospital_091);
  r.k_rehab_days = d.wild ? Uniform(g, 0, 7) : Uniform(g, 0, 1);

  if (!early) {
    char text[32];
    std::snprintf(text, sizeof text, u8"가상의사%02d"_cp949, Uniform(g, 1, 40));
    SetText(r.s_doctor_name, text);
    std::snprintf(text, sizeof text, u8"가상간호%02d"_cp949, Uniform(g, 1, 90));
    SetText(r.s_nurse_name, text);
  }
}

}  // namespace

int PickAdl(Random& g, int lo, int hi) {
  static constexpr int kEdges[] = {4, 5, 6, 8, 9, 10, 11, 12, 13, 15, 16, 17, 18, 20};
  if (Chance(g, 50)) {
    int candidates[std::size(kEdges)];
    int n = 0;
    for (int e : kEdges) {
      if (e >= lo && e <= hi) candidates[n++] = e;
    }
    if (n > 0) return candidates[Uniform(g, 0, n - 1)];
  }
  return Uniform(g, lo, hi);
}

void DrawBackground(Random& g, Draft& d, const SampleGenerator& gen, uint64_t index, int adl) {
  DrawGeneral(g, d, gen, index);
  DrawCognition(g, d, adl);
  DrawFunctionAndExcretion(g, d, adl);
  DrawDiagnoses(g, d);
  DrawHealth(g, d);
  DrawNutrition(g, d);
  DrawSkin(g, d);
  DrawTreatments(g, d);
}

}  // namespace grouper::sample
