// Targets: most records are drawn for one criterion code of their family
// group (a ventilator, a stage-3 ulcer, a treated behavioural symptom, ...).
// The target sets the items of its criterion over a background that keeps
// clear of every criterion, with an ADL band in which the criterion decides
// the group, so that a few thousand records reach every criterion and every
// patient group of every family group.
#include <algorithm>
#include <cstring>
#include <iterator>

#include "sample_draft.h"

namespace grouper::sample {

namespace {

constexpr std::string_view kEarlyTargets[] = {"1A", "1B", "1C", "1D", "A11", "2A", "2B", "2C",
                                              "2D", "2E", "2F", "2G", "2H",  "2I", "2J", "2K",
                                              "2L", "2M", "2N", "3A", "3B",  "3C", "3D", "3E",
                                              "3F", "3G", "3H", "3I", "4A",  "5A", "6A", "7A"};
constexpr std::string_view kNewerTargets[] = {
    "1A", "1B", "1C", "2A", "2B", "2C", "2D", "2E", "2F", "2G", "2H", "2I", "2J", "3A", "3B",
    "3C", "3D", "3E", "3F", "3G", "3H", "3I", "3J", "3K", "3L", "6A", "6B", "6C", "7A"};

// One entry of a neurological diagnosis list: one or two diagnoses together.
struct Neuro {
  CharField first;
  CharField second;
};
void SetNeuro(Random& g, Draft& d, bool with_ms_and_quadriplegia) {
  using R = AssessmentRecord;
  const bool early = IsEarly(d.family);
  char assessment[9];
  std::memcpy(assessment, d.r.a_assessment_date, sizeof assessment);
  // AIDS is in the list of family 089/010 (from March 2015 on) and of the
  // families from 090; the base layout's byte there is a none-applies answer.
  const bool aids =
      early ? d.family == Family::k089 && std::strcmp(assessment, "20150301") >= 0 : true;
  Neuro entries[20];
  int n = 0;
  entries[n++] = {&R::f_cerebral_palsy, nullptr};
  entries[n++] = {&R::f_spinal_cord_injury, &R::f_paraplegia};
  for (CharField f :
       {&R::f_hemiplegia, &R::f_parkinsons, &R::f_myasthenia, &R::f_primary_muscle_disorder,
        &R::f_huntingtons, &R::f_hereditary_ataxia, &R::f_spinal_muscular_atrophy,
        &R::f_systemic_atrophy, &R::f_progressive_supranuclear_palsy,
        &R::f_atypical_virus_infection, &R::f_subacute_necrotising_encephalopathy}) {
    entries[n++] = {f, nullptr};
  }
  if (aids) entries[n++] = {&R::f_aids, nullptr};
  // Multiple sclerosis and quadriplegia are set B's "2B" in the early
  // families from ADL 11 on; from 090 they are ordinary entries.
  if (with_ms_and_quadriplegia || !early) {
    entries[n++] = {&R::f_multiple_sclerosis, nullptr};
    entries[n++] = {early ? &R::f_spinal_cord_injury : &R::f_quadriplegia,
                    early ? &R::f_quadriplegia : nullptr};
  }
  const Neuro& e = entries[Uniform(g, 0, n - 1)];
  d.r.*e.first = '1';
  if (e.second) d.r.*e.second = '1';
}

// Intake levels that make the classifier's tube-feeding or intravenous
// intake flag.
void SetQualifyingIntake(Random& g, AssessmentRecord& r) {
  if (Chance(g, 50)) {
    r.h_calorie_intake = Pick(g, {'3', '4'});
  } else {
    r.h_calorie_intake = '2';
    r.h_fluid_intake = Digit(Uniform(g, 2, 5));
  }
}

void SetStomaCare(Random& g, AssessmentRecord& r) {
  *Pick(g, {&r.k_urinary_stoma_care, &r.k_bowel_stoma_care, &r.k_feeding_stoma_care}) = '1';
}

void SetToiletingProgramme(Random& g, AssessmentRecord& r) {
  *Pick(g, {&r.e_scheduled_toileting, &r.e_bladder_retraining, &r.e_intermittent_catheter}) = '1';
}

void ApplyEarlyTarget(Random& g, Draft& d) {
  AssessmentRecord& r = d.r;
  const std::string_view t = d.target;
  char* set_a[] = {&r.g_internal_bleeding, &r.k_central_venous_nutrition, &r.k_ventilator};
  if (t == "1A") {
    r.b_coma = '1';
  } else if (t == "1B") {
    r.g_internal_bleeding = '1';
  } else if (t == "1C") {
    r.k_central_venous_nutrition = '1';
  } else if (t == "1D") {
    r.k_ventilator = '1';
  } else if (t == "A11") {
    // Three or more of the six conditions of the group-A count.
    if (Chance(g, 50)) {
      for (char* c : set_a) *c = '1';
      // At ADL 20 coma with dependence may stand in for one of them.
      if (r.d_adl_eating >= '4' && r.d_adl_changing_position >= '4' &&
          r.d_adl_transferring >= '4' && r.d_adl_toilet_use >= '4' && Chance(g, 50)) {
        r.b_coma = '1';
        *set_a[Uniform(g, 0, 2)] = '0';
      }
    } else {
      *set_a[Uniform(g, 0, 2)] = '1';
      *Pick(g, {&r.k_suctioning, &r.k_tracheostomy_care, &r.k_oxygen_therapy, &r.k_transfusion,
                &r.i_burns}) = '1';
      *Pick(g, {&r.k_nebulizer, &r.k_iv_medication, &r.k_urinary_stoma_care,
                &r.e_scheduled_toileting}) = '1';
    }
  } else if (t == "2A") {
    SetNeuro(g, d, true);
  } else if (t == "2B") {
    *Pick(g, {&r.f_multiple_sclerosis, &r.f_quadriplegia}) = '1';
  } else if (t == "2C") {
    (Chance(g, 50) ? r.i_pressure_ulcer_stage2 : r.i_stasis_ulcer_stage2) = DaysFrom(g, 2, 5);
    SetSkinCare(g, d, Uniform(g, 2, 4));
  } else if (t == "2D") {
    *Pick(g, {&r.i_pressure_ulcer_stage3, &r.i_pressure_ulcer_stage4, &r.i_stasis_ulcer_stage3,
              &r.i_stasis_ulcer_stage4}) = Uniform(g, 1, 3);
    r.i_pressure_ulcer_stage2 = std::min(r.i_pressure_ulcer_stage2, 1);
    r.i_stasis_ulcer_stage2 = std::min(r.i_stasis_ulcer_stage2, 1);
    SetSkinCare(g, d, Uniform(g, 2, 4));
  } else if (t == "2E") {
    r.g_fever = '1';
    switch (Uniform(g, 0, 3)) {
      case 0:
        r.g_dehydration = '1';
        break;
      case 1:
        r.g_vomiting = '1';
        break;
      case 2:
        r.h_weight_loss = '1';
        break;
      default:
        r.h_tube_feeding = '1';
        SetQualifyingIntake(g, r);
    }
  } else if (t == "2F") {
    r.i_burns = '1';
  } else if (t == "2G") {
    r.g_pain_severe = '2';
  } else if (t == "2H") {
    (Chance(g, 50) ? r.h_tube_feeding : r.h_parenteral_nutrition) = '1';
    SetQualifyingIntake(g, r);
  } else if (t == "2I") {
    r.k_suctioning = '1';
  } else if (t == "2J") {
    r.k_tracheostomy_care = '1';
  } else if (t == "2K") {
    r.f_diabetes = '1';
    if (Chance(g, 50)) {
      r.i_foot_infection = '1';
    } else {
      r.i_open_lesions = '1';
      r.i_open_lesions_foot = '1';
    }
    r.i_other_dressing = '1';
    r.i_other_dressing_foot = '1';
  } else if (t == "2L") {
    r.k_transfusion = '1';
  } else if (t == "2M") {
    r.k_oxygen_therapy = '1';
  } else if (t == "2N") {
    *set_a[Uniform(g, 0, 2)] = '1';
  } else if (t == "3A") {
    SetNeuro(g, d, false);
  } else if (t == "3B") {
    int32_t& one = Chance(g, 50) ? r.i_pressure_ulcer_stage2 : r.i_stasis_ulcer_stage2;
    r.i_pressure_ulcer_stage2 = Uniform(g, 0, 1);
    r.i_stasis_ulcer_stage2 = Uniform(g, 0, 1);
    one = 1;
    r.i_pressure_ulcer_stage3 = r.i_pressure_ulcer_stage4 = 0;
    r.i_stasis_ulcer_stage3 = r.i_stasis_ulcer_stage4 = 0;
    SetSkinCare(g, d, Uniform(g, 2, 4));
  } else if (t == "3C") {
    r.f_diabetes = '1';
    r.j_injection_count = '2';
  } else if (t == "3D") {
    (Chance(g, 50) ? r.g_pain_mild : r.g_pain_moderate) = '2';
  } else if (t == "3E") {
    r.k_iv_medication = '1';
  } else if (t == "3G") {
    r.f_diabetes = '0';  // with a foot dressing the diabetic foot would be "2K"
    switch (Uniform(g, 0, 2)) {
      case 0:
        r.i_open_lesions = r.i_open_lesions_foot = '1';
        r.i_other_dressing = r.i_other_dressing_foot = '1';
        break;
      case 1:
        r.i_open_lesions = r.i_open_lesions_other = '1';
        r.i_other_dressing = r.i_other_dressing_other = '1';
        break;
      default:
        r.i_surgical_wound = r.i_surgical_wound_care = '1';
    }
  } else if (t == "3H") {
    SetStomaCare(g, r);
  } else if (t == "3F") {
    r.k_nebulizer = '1';
  } else if (t == "3I") {
    SetToiletingProgramme(g, r);
  } else if (t == "4A") {
    r.b_coma = '0';
    *Pick(g, {&r.c_delusions, &r.c_hallucinations, &r.c_agitation, &r.c_disinhibition,
              &r.c_care_resistance, &r.c_wandering}) = Pick(g, {'2', '3'});
  } else if (t == "5A") {
    r.b_coma = '0';
    r.c_kmmse_done = '1';
    r.c_kmmse_score = Chance(g, 30) ? 19 : Uniform(g, 0, 19);
  } else if (t == "6A") {
    r.k_rehab_days = DaysFrom(g, 2, 7);
  }
}

void ApplyNewerTarget(Random& g, Draft& d) {
  AssessmentRecord& r = d.r;
  const std::string_view t = d.target;
  const bool from091 = IsFrom091(d.family);
  if (t == "1A") {
    Ventilator(d) = '1';
  } else if (t == "1B") {
    r.b_coma = '1';
  } else if (t == "1C") {
    CentralVenous(d) = '1';
  } else if (t == "2A" || t == "3A") {
    SetNeuro(g, d, true);
  } else if (t == "2B") {
    *Pick(g, {&r.i_pressure_ulcer_stage3, &r.i_pressure_ulcer_stage4, &r.i_stasis_ulcer_stage3,
              &r.i_stasis_ulcer_stage4}) = Uniform(g, 1, 3);
    SetSkinCare(g, d, Uniform(g, 2, 4));
  } else if (t == "2C") {
    r.g_fever = '1';
    r.g_fever_workup = '1';
    *Pick(g, {&r.g_dehydration, &r.g_vomiting, &r.h_weight_loss}) = '1';
    if (from091) r.g_fever_days = DaysFrom(g, 3, 14);
  } else if (t == "2D") {
    r.i_burns = '1';
    if (from091) r.i_skin_treatment_g = '1';
  } else if (t == "2E") {
    const int grade = Uniform(g, 0, 2);
    SetPain(d, '2', grade, grade == 2 ? DaysFrom(g, 4, 5) : DaysFrom(g, 7, 10));
    if (from091) r.g_pain_treatment_091 = '1';
  } else if (t == "2F") {
    r.h_tube_feeding = '1';
    SetQualifyingIntake(g, r);
    if (from091) r.h_tube_feeding_days = DaysFrom(g, 7, 30);
  } else if (t == "2G") {
    r.k_tracheostomy_care = '1';
  } else if (t == "2H") {
    r.f_diabetes = '1';
    r.i_foot_infection = '1';
    r.i_other_dressing = '1';
    r.i_other_dressing_foot = '1';
  } else if (t == "2I") {
    r.k_oxygen_therapy = '1';
    if (from091) {
      r.k_oxygen_saturation = Tenths(Chance(g, 30) ? 900 : Uniform(g, 800, 900));
      r.k_oxygen_days = DaysFrom(g, 7, 30);
    }
  } else if (t == "2J") {
    (Chance(g, 50) ? Ventilator(d) : CentralVenous(d)) = '1';
  } else if (t == "3B") {
    (Chance(g, 50) ? r.i_pressure_ulcer_stage2 : r.i_stasis_ulcer_stage2) = DaysFrom(g, 1, 3);
    r.i_pressure_ulcer_stage3 = r.i_pressure_ulcer_stage4 = 0;
    r.i_stasis_ulcer_stage3 = r.i_stasis_ulcer_stage4 = 0;
    SetSkinCare(g, d, Uniform(g, 2, 4));
  } else if (t == "3C") {
    r.f_diabetes = '1';
    r.f_glucose_check_done = '1';
    r.j_injection_count = '2';
  } else if (t == "3D") {
    const int grade = Uniform(g, 0, 2);
    SetPain(d, '2', grade, grade == 2 ? 3 : DaysFrom(g, 4, 6));
    if (from091) r.g_pain_treatment_091 = '1';
  } else if (t == "3E") {
    CancerPainTreatment(d) = '1';
    const int grade = Uniform(g, 0, 2);
    if (from091 && Chance(g, 30)) {
      // Severe enough for "3D" but without pain treatment.
      r.g_pain_treatment_091 = '0';
      SetPain(d, '2', grade, grade == 2 ? 3 : Uniform(g, 4, 6));
    } else if (Chance(g, 50)) {
      SetPain(d, '1', grade, Uniform(g, 1, grade == 2 ? 5 : 10));
    } else {
      SetPain(d, '2', grade, Uniform(g, 1, grade == 2 ? 2 : 3));
    }
  } else if (t == "3F") {
    r.k_iv_medication = '1';
    if (from091) r.k_iv_medication_days = DaysFrom(g, 3, 30);
  } else if (t == "3G") {
    r.k_nebulizer = '1';
  } else if (t == "3H") {
    r.i_foot_infection = '0';  // with diabetes and a foot dressing it would be "2H"
    if (Chance(g, 50)) {
      r.i_surgical_wound = r.i_surgical_wound_care = '1';
    } else {
      r.i_open_lesions = r.i_other_dressing = '1';
    }
  } else if (t == "3I") {
    StomaPostSurgery(d) = '1';
    SetStomaCare(g, r);
  } else if (t == "3J") {
    StomaPostSurgery(d) = '0';
    StomaComplication(d) = '1';
    SetStomaCare(g, r);
  } else if (t == "3K") {
    SetToiletingProgramme(g, r);
    r.e_voiding_diary = '1';
    if (from091) r.e_voiding_diary_days = DaysFrom(g, 7, 30);
  } else if (t == "3L") {
    r.b_coma = '0';
    r.f_dementia = '1';
    *Pick(g, {&r.c_delusions, &r.c_hallucinations, &r.c_agitation, &r.c_disinhibition,
              &r.c_care_resistance, &r.c_wandering}) = Pick(g, {'2', '3'});
    r.j_behaviour_drug_treatment = '1';
  } else if (t == "6A") {
    r.b_coma = '0';
    r.f_dementia = '1';
    *Pick(g, {&r.c_depression, &r.c_anxiety, &r.c_aberrant_motor, &r.c_sleep_behaviour}) =
        Pick(g, {'2', '3'});
    r.j_dementia_drug = '1';
    r.j_behaviour_drug_treatment = '0';
  } else if (t == "6B") {
    StomaPostSurgery(d) = '0';
    StomaComplication(d) = '0';
    SetStomaCare(g, r);
  } else if (t == "6C") {
    r.k_rehab_days = DaysFrom(g, 2, 7);
  }
}

}  // namespace

std::string_view PickTarget(Random& g, Family family) {
  return IsEarly(family)
             ? kEarlyTargets[Uniform(g, 0, static_cast<int>(std::size(kEarlyTargets)) - 1)]
             : kNewerTargets[Uniform(g, 0, static_cast<int>(std::size(kNewerTargets)) - 1)];
}

AdlBand TargetAdl(std::string_view t, Family family) {
  if (IsEarly(family)) {
    if (t == "1A") return {20, 20};
    if (t == "1B" || t == "1C" || t == "1D" || t == "A11") return {11, 20};
    if (t == "2A") return {18, 20};
    if (t == "2B" || t == "3A") return {11, 17};
    if (t == "2N") return {4, 10};
    if (t == "6A") return {6, 20};
    return {4, 20};
  }
  if (t == "1B") return {20, 20};
  if (t == "1A" || t == "1C") return {11, 20};
  if (t == "2A") return {18, 20};
  if (t == "3A") return {11, 17};
  if (t == "2H") return {9, 20};  // the diabetic foot counts outside ADL 4..8
  if (t == "2J") return {4, 10};
  if (t == "6C") return {6, 20};
  return {4, 20};
}

void ApplyTarget(Random& g, Draft& d) {
  if (IsEarly(d.family)) {
    ApplyEarlyTarget(g, d);
  } else {
    ApplyNewerTarget(g, d);
  }
}

}  // namespace grouper::sample
