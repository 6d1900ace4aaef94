#include "sample_generator.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <span>

#include "record/form_version.h"
#include "record/input_layout.h"
#include "record/record_writer.h"
#include "text/cp949.h"

namespace grouper::sample {

namespace {

using CharField = char AssessmentRecord::*;
using DateField = DateText AssessmentRecord::*;

constexpr std::string_view kAllVersions[] = {"base", "089", "010", "090", "011",
                                             "091",  "012", "092", "013"};
constexpr char kAbsentDate[] = "00000000";

// ---------------------------------------------------------------------------
// Small helpers.

bool Chance(Random& g, int percent) {
  return Uniform(g, 0, 99) < percent;
}
char Flag(Random& g, int percent) {
  return Chance(g, percent) ? '1' : '0';
}
char Digit(int value) {
  return static_cast<char>('0' + value);
}
// An answer on a scale 0..max, mostly 0 as in a real ward.
char Level(Random& g, int max) {
  return Chance(g, 60) ? '0' : Digit(Uniform(g, 1, max));
}
float Tenths(int tenths) {
  return static_cast<float>(tenths / 10.0);
}
template <typename T>
const T& Pick(Random& g, std::initializer_list<T> choices) {
  return choices.begin()[Uniform(g, 0, static_cast<int>(choices.size()) - 1)];
}

template <std::size_t N>
void SetText(char (&field)[N], std::string_view text) {
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

// Days since 1970-01-01 and back, in the proleptic Gregorian calendar.
int DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}
void CivilFromDays(int z, int& y, int& m, int& d) {
  z += 719468;
  const int era = (z >= 0 ? z : z - 146096) / 146097;
  const int doe = z - era * 146097;
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp + (mp < 10 ? 3 : -9);
  y = yoe + era * 400 + (m <= 2);
}
void SetDate(DateText& field, int days) {
  int y, m, d;
  CivilFromDays(days, y, m, d);
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d", y, m, d);
  SetText(field, text);
}

bool AnySet(const AssessmentRecord& r, std::initializer_list<CharField> flags) {
  for (CharField f : flags) {
    if (r.*f == '1') return true;
  }
  return false;
}
char NoneFlag(const AssessmentRecord& r, std::initializer_list<CharField> flags) {
  return AnySet(r, flags) ? '0' : '1';
}

// A site pattern for an item that is present: at least one of the two is '1'.
void DrawSites(Random& g, char& foot, char& other) {
  switch (Uniform(g, 0, 2)) {
    case 0:
      foot = '1', other = '0';
      break;
    case 1:
      foot = '0', other = '1';
      break;
    default:
      foot = '1', other = '1';
  }
}

// ---------------------------------------------------------------------------
// The record being drawn.

struct Draft {
  AssessmentRecord r;
  Family family;
  std::string_view code;  // one of kAllVersions
  int assessment_day;
  bool wild;  // drawn freely rather than for a target criterion
  std::string_view target;
};

// Fields whose place in the form differs by family.
char& Ventilator(Draft& d) {
  return IsFrom091(d.family) ? d.r.k_ventilator_091 : d.r.k_ventilator;
}
char& CentralVenous(Draft& d) {
  return IsFrom091(d.family) ? d.r.k_central_venous_nutrition_091 : d.r.k_central_venous_nutrition;
}
char& PainFrequency(Draft& d) {
  return IsFrom091(d.family) ? d.r.g_pain_frequency_091 : d.r.g_pain_frequency_090;
}
char& CancerPainTreatment(Draft& d) {
  return IsFrom091(d.family) ? d.r.g_cancer_pain_treatment_091 : d.r.g_cancer_pain_treatment_090;
}
char& StomaPostSurgery(Draft& d) {
  return IsFrom091(d.family) ? d.r.g_stoma_care_post_surgery_091
                             : d.r.g_stoma_care_post_surgery_090;
}
char& StomaComplication(Draft& d) {
  return IsFrom091(d.family) ? d.r.g_stoma_care_complication_091
                             : d.r.g_stoma_care_complication_090;
}

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
  std::snprintf(text, sizeof text, "%02d00000%06d", Uniform(g, 25, 59), Uniform(g, 0, 999999));
  SetText(r.resident_number, text);

  // A file holds the assessments of about two months; patients were admitted
  // up to five years before.
  d.assessment_day = gen.period_start_day + Uniform(g, 0, 60);
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
  for (char* c = &r.f_hypertension; c <= &r.f_aids; ++c) {
    if (*c != '1') *c = '0';
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
  for (char* c = &r.f_kwashiorkor; c <= &r.f_unspecified_malnutrition; ++c) *c = '0';
  if (Chance(g, 5)) (&r.f_kwashiorkor)[Uniform(g, 0, 6)] = '1';
}

// Pain of the families from 090: a frequency and at most one grade.
void SetPain(Draft& d, char frequency, int grade, int value) {
  d.r.g_pain_visual_scale = grade == 0 ? value : 0;
  d.r.g_pain_numeric_scale = grade == 1 ? value : 0;
  d.r.g_pain_faces_scale = grade == 2 ? value : 0;
  PainFrequency(d) = frequency;
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
        SetPain(d, d.wild ? Pick(g, {'1', '2'}) : '1', grade, Uniform(g, 1, max));
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

// Sets exactly `count` of the four skin treatments that the classifier counts.
void SetSkinCare(Random& g, Draft& d, int count) {
  char* care[] = {&d.r.i_pressure_relief_device, &d.r.i_turning_repositioning,
                  &d.r.i_skin_nutrition_hydration, &d.r.i_ulcer_dressing};
  for (char* c : care) *c = '0';
  for (int set = 0; set < count;) {
    char* c = care[Uniform(g, 0, 3)];
    if (*c == '0') *c = '1', ++set;
  }
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

// ---------------------------------------------------------------------------
// Targets: one criterion code of the record's family group each.

constexpr std::string_view kEarlyTargets[] = {"1A", "1B", "1C", "1D", "A11", "2A", "2B", "2C",
                                              "2D", "2E", "2F", "2G", "2H",  "2I", "2J", "2K",
                                              "2L", "2M", "2N", "3A", "3B",  "3C", "3D", "3E",
                                              "3F", "3G", "3H", "3I", "4A",  "5A", "6A", "7A"};
constexpr std::string_view kNewerTargets[] = {
    "1A", "1B", "1C", "2A", "2B", "2C", "2D", "2E", "2F", "2G", "2H", "2I", "2J", "3A", "3B",
    "3C", "3D", "3E", "3F", "3G", "3H", "3I", "3J", "3K", "3L", "6A", "6B", "6C", "7A"};

struct AdlBand {
  int lo, hi;
};
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

// Days with an edge value now and then.
int DaysFrom(Random& g, int lo, int hi) {
  return Chance(g, 30) ? lo : Uniform(g, lo, hi);
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

// ---------------------------------------------------------------------------
// The rules of the form: every gated item follows its gate and every
// none-applies flag its list. Runs after the background and the target.

void Finalize(Draft& d) {
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

// ---------------------------------------------------------------------------
// Faults.

struct Subject {
  AssessmentRecord& r;
  Family family;
  std::string_view code;
  Random& g;
  int assessment_day;
};

struct Fault {
  FaultKind kind;
  const char* detail;
  bool (*applies)(const Subject&);
  void (*apply)(Subject&);
};

bool Always(const Subject&) {
  return true;
}
bool From090(const Subject& s) {
  return IsFrom090(s.family);
}
bool Awake(const Subject& s) {
  return s.r.b_coma == '0';
}
bool FirstAssessment(const Subject& s) {
  return s.r.a_assessment_type == '1';
}
bool ReAssessment(const Subject& s) {
  return s.r.a_assessment_type != '1';
}
bool ArtificialFeeding(const Subject& s) {
  return s.r.h_parenteral_nutrition == '1' || s.r.h_tube_feeding == '1';
}
bool AnyPainGrade(const Subject& s) {
  return s.r.g_pain_visual_scale > 0 || s.r.g_pain_numeric_scale > 0 || s.r.g_pain_faces_scale > 0;
}
// The single codes whose catheter insertion date and voiding-diary days the
// validator is bound to check; their family partners may go unchecked.
bool CatheterDateChecked(const Subject& s) {
  return s.code == "090" || s.code == "011" || s.code == "091";
}
bool DiaryDaysChecked(const Subject& s) {
  return s.code == "091" || s.code == "092";
}

void BadDate(Subject& s, DateText& date) {
  SetText(date, Pick(s.g, {"00000000", "20151301", "20150132", "        ", "2015-3-1"}));
}
void RealDate(Subject& s, DateText& date) {
  SetDate(date, s.assessment_day - Uniform(s.g, 0, 30));
}
char* AnyOf(Subject& s, std::initializer_list<CharField> fields) {
  return &(s.r.*Pick(s.g, fields));
}

using R = AssessmentRecord;

const Fault kFaults[] = {
    // Answers out of range.
    {FaultKind::kOutOfRange, "A.5 assessment type", Always,
     [](Subject& s) { s.r.a_assessment_type = Pick(s.g, {'0', '4', '9', ' '}); }},
    {FaultKind::kOutOfRange, "A.9 systolic pressure 0", Always,
     [](Subject& s) { s.r.a_systolic_bp = 0; }},
    {FaultKind::kOutOfRange, "A.7 residence 8", FirstAssessment,
     [](Subject& s) { s.r.a_residence_before_admission = '8'; }},
    {FaultKind::kOutOfRange, "A.11 grade application", [](const Subject& s) {
       return From090(s) && FirstAssessment(s);
     }, [](Subject& s) { s.r.a_ltc_grade_application = Pick(s.g, {'0', '7'}); }},
    {FaultKind::kOutOfRange, "B.1 coma 2", Always, [](Subject& s) { s.r.b_coma = '2'; }},
    {FaultKind::kOutOfRange, "B.2 delirium 3", Awake, [](Subject& s) { s.r.b_delirium = '3'; }},
    {FaultKind::kOutOfRange, "C.1 memory 3", Awake,
     [](Subject& s) { s.r.c_short_term_memory = '3'; }},
    {FaultKind::kOutOfRange, "D ADL item", Always,
     [](Subject& s) {
       *AnyOf(s, {&R::d_adl_dressing, &R::d_adl_washing_face, &R::d_adl_brushing_teeth,
                  &R::d_adl_bathing, &R::d_adl_eating, &R::d_adl_changing_position,
                  &R::d_adl_sitting_up, &R::d_adl_transferring, &R::d_adl_leaving_room,
                  &R::d_adl_toilet_use}) = Pick(s.g, {'5', '6', '7', '9', ' '});
     }},
    {FaultKind::kOutOfRange, "D.11 bedridden 2", Always, [](Subject& s) { s.r.d_bedridden = '2'; }},
    {FaultKind::kOutOfRange, "D.12 rehabilitation potential blank",
     [](const Subject& s) { return IsEarly(s.family); },
     [](Subject& s) {
       *AnyOf(s, {&R::d_rehab_potential_improve, &R::d_rehab_potential_perform,
                  &R::d_rehab_potential_change}) = ' ';
     }},
    {FaultKind::kOutOfRange, "E.1 bowel control 4", Always,
     [](Subject& s) { s.r.e_bowel_control = '4'; }},
    {FaultKind::kOutOfRange, "E.3 toileting aid 2", Always,
     [](Subject& s) {
       *AnyOf(s, {&R::e_scheduled_toileting, &R::e_bladder_retraining, &R::e_intermittent_catheter,
                  &R::e_external_catheter, &R::e_pads_briefs, &R::e_ostomy,
                  &R::e_indwelling_catheter}) = '2';
     }},
    {FaultKind::kOutOfRange, "E.4 voiding diary 2", From090,
     [](Subject& s) { s.r.e_voiding_diary = '2'; }},
    {FaultKind::kOutOfRange, "F.1.a diabetes 2", Always, [](Subject& s) { s.r.f_diabetes = '2'; }},
    {FaultKind::kOutOfRange, "F.1 disease 2", Always,
     [](Subject& s) {
       *AnyOf(s, {&R::f_hypertension, &R::f_urinary_tract_infection, &R::f_paraplegia,
                  &R::f_hemiplegia, &R::f_cerebrovascular_disease, &R::f_parkinsons,
                  &R::f_multiple_sclerosis, &R::f_subacute_necrotising_encephalopathy}) = '2';
     }},
    {FaultKind::kOutOfRange, "F.1 HbA1c 0.0",
     [](const Subject& s) { return s.r.f_diabetes == '1' && s.r.f_hba1c_done == '1'; },
     [](Subject& s) { s.r.f_hba1c = 0.0f; }},
    {FaultKind::kOutOfRange, "F.2 malnutrition 2", Always,
     [](Subject& s) {
       *AnyOf(s, {&R::f_kwashiorkor, &R::f_severe_malnutrition, &R::f_unspecified_malnutrition}) =
           '2';
     }},
    {FaultKind::kOutOfRange, "G.1.a fever 2", Always, [](Subject& s) { s.r.g_fever = '2'; }},
    {FaultKind::kOutOfRange, "G.2.a mild pain 3", [](const Subject& s) { return IsEarly(s.family); },
     [](Subject& s) { s.r.g_pain_mild = '3'; }},
    {FaultKind::kOutOfRange, "G.2.b.1 visual grade above 10", From090,
     [](Subject& s) { s.r.g_pain_visual_scale = Uniform(s.g, 11, 99); }},
    {FaultKind::kOutOfRange, "G.2.b.3 faces grade above 5", From090,
     [](Subject& s) { s.r.g_pain_faces_scale = Uniform(s.g, 6, 9); }},
    {FaultKind::kOutOfRange, "G.3.a fall 3", Always, [](Subject& s) { s.r.g_fall_30_days = '3'; }},
    {FaultKind::kOutOfRange, "H.2 weight 0.0 though measured",
     [](const Subject& s) { return s.r.h_weight_measured == '1'; },
     [](Subject& s) { s.r.h_weight = 0.0f; }},
    {FaultKind::kOutOfRange, "H.2.2 weight loss 3", Always,
     [](Subject& s) { s.r.h_weight_loss = '3'; }},
    {FaultKind::kOutOfRange, "H.4.a calories 5", ArtificialFeeding,
     [](Subject& s) { s.r.h_calorie_intake = '5'; }},
    {FaultKind::kOutOfRange, "I.3 ulcer history 3", Always,
     [](Subject& s) { s.r.i_pressure_ulcer_history = '3'; }},
    {FaultKind::kOutOfRange, "I.4.a burns 2", Always, [](Subject& s) { s.r.i_burns = '2'; }},
    {FaultKind::kOutOfRange, "J.1 injections 3", Always,
     [](Subject& s) { s.r.j_injection_count = '3'; }},
    {FaultKind::kOutOfRange, "J.4 daily medicines 5", From090,
     [](Subject& s) { s.r.j_daily_medication_count = '5'; }},
    {FaultKind::kOutOfRange, "K.1 treatment 2", Always,
     [](Subject& s) {
       *AnyOf(s, {&R::k_iv_medication, &R::k_nebulizer, &R::k_suctioning,
                  &R::k_oxygen_therapy}) = '2';
     }},
    {FaultKind::kOutOfRange, "K.2 rehabilitation days 8", Always,
     [](Subject& s) { s.r.k_rehab_days = Uniform(s.g, 8, 9); }},

    // Gates broken.
    {FaultKind::kBrokenGate, "A.7 residence on a re-assessment", ReAssessment,
     [](Subject& s) { s.r.a_residence_before_admission = Digit(Uniform(s.g, 1, 7)); }},
    {FaultKind::kBrokenGate, "A.8 education blank on a first assessment", FirstAssessment,
     [](Subject& s) { s.r.a_education_level = ' '; }},
    {FaultKind::kBrokenGate, "A.10 health habit on a re-assessment",
     [](const Subject& s) { return From090(s) && ReAssessment(s); },
     [](Subject& s) { s.r.a_smoking = '0'; }},
    {FaultKind::kBrokenGate, "A.12 grade without application 5",
     [](const Subject& s) {
       return From090(s) && FirstAssessment(s) && s.r.a_ltc_grade_application != '5';
     },
     [](Subject& s) { s.r.a_ltc_grade = '2'; }},
    {FaultKind::kBrokenGate, "A.12 grade blank with application 5",
     [](const Subject& s) { return From090(s) && s.r.a_ltc_grade_application == '5'; },
     [](Subject& s) { s.r.a_ltc_grade = ' '; }},
    {FaultKind::kBrokenGate, "A.13 wish answered",
     [](const Subject& s) {
       return From090(s) && s.r.a_ltc_grade_application != '2' &&
              s.r.a_ltc_grade_application != '4';
     },
     [](Subject& s) { s.r.a_ltc_service_wish = '0'; }},
    {FaultKind::kBrokenGate, "A.13 wish blank",
     [](const Subject& s) {
       return From090(s) &&
              (s.r.a_ltc_grade_application == '2' || s.r.a_ltc_grade_application == '4');
     },
     [](Subject& s) { s.r.a_ltc_service_wish = ' '; }},
    {FaultKind::kBrokenGate, "A.14 screening answered after a refusal",
     [](const Subject& s) { return From090(s) && s.r.a_social_refused == '1'; },
     [](Subject& s) { s.r.a_social_utility_cutoff = '0'; }},
    {FaultKind::kBrokenGate, "C.5.c agitation in a coma",
     [](const Subject& s) { return s.r.b_coma == '1'; }, [](Subject& s) { s.r.c_agitation = '0'; }},
    {FaultKind::kBrokenGate, "C.5.a delusions blank while awake", Awake,
     [](Subject& s) { s.r.c_delusions = ' '; }},
    {FaultKind::kBrokenGate, "C.6 K-MMSE score not performed",
     [](const Subject& s) { return s.r.c_kmmse_done == '0'; },
     [](Subject& s) { s.r.c_kmmse_score = Uniform(s.g, 1, 30); }},
    {FaultKind::kBrokenGate, "C.7 CDR score not performed",
     [](const Subject& s) { return From090(s) && s.r.c_cdr_done == '0'; },
     [](Subject& s) { s.r.c_cdr_score = Uniform(s.g, 1, 3); }},
    {FaultKind::kBrokenGate, "C.7.c GDS performed in a coma",
     [](const Subject& s) { return From090(s) && s.r.b_coma == '1'; },
     [](Subject& s) { s.r.c_gds_done = '0'; }},
    {FaultKind::kBrokenGate, "F.1.a glucose check without diabetes",
     [](const Subject& s) { return s.r.f_diabetes == '0'; },
     [](Subject& s) { s.r.f_glucose_check_done = Pick(s.g, {'0', '1'}); }},
    {FaultKind::kBrokenGate, "F.1.a glucose without a check",
     [](const Subject& s) { return s.r.f_glucose_check_done != '1'; },
     [](Subject& s) { s.r.f_fasting_glucose = Uniform(s.g, 80, 200); }},
    {FaultKind::kBrokenGate, "F.1.a both glucose values 0",
     [](const Subject& s) { return s.r.f_glucose_check_done == '1'; },
     [](Subject& s) { s.r.f_fasting_glucose = s.r.f_postprandial_glucose = 0; }},
    {FaultKind::kBrokenGate, "F.1 HbA1c without the test",
     [](const Subject& s) { return s.r.f_hba1c_done != '1'; },
     [](Subject& s) { s.r.f_hba1c = 6.5f; }},
    {FaultKind::kBrokenGate, "G.1.a.2 fever work-up without fever",
     [](const Subject& s) { return From090(s) && s.r.g_fever == '0'; },
     [](Subject& s) { s.r.g_fever_workup = '0'; }},
    {FaultKind::kBrokenGate, "G.1.a.1 temperature without fever",
     [](const Subject& s) { return From090(s) && s.r.g_fever == '0'; },
     [](Subject& s) { s.r.g_body_temperature = 37.5f; }},
    {FaultKind::kBrokenGate, "G.1.a.3 fever days without fever",
     [](const Subject& s) { return IsFrom091(s.family) && s.r.g_fever == '0'; },
     [](Subject& s) { s.r.g_fever_days = 3; }},
    {FaultKind::kBrokenGate, "G.2.a pain frequency without a grade",
     [](const Subject& s) { return From090(s) && !AnyPainGrade(s); },
     [](Subject& s) {
       (Is090(s.family) ? s.r.g_pain_frequency_090 : s.r.g_pain_frequency_091) =
           Pick(s.g, {'1', '2'});
     }},
    {FaultKind::kBrokenGate, "G.2.a pain grade with frequency 0",
     [](const Subject& s) { return From090(s) && AnyPainGrade(s); },
     [](Subject& s) {
       (Is090(s.family) ? s.r.g_pain_frequency_090 : s.r.g_pain_frequency_091) = '0';
     }},
    {FaultKind::kBrokenGate, "G.2.b two pain grades",
     [](const Subject& s) { return From090(s) && AnyPainGrade(s); },
     [](Subject& s) {
       if (s.r.g_pain_visual_scale > 0) {
         s.r.g_pain_numeric_scale = 2;
       } else {
         s.r.g_pain_visual_scale = 3;
       }
     }},
    {FaultKind::kBrokenGate, "H.2 weight though not measured",
     [](const Subject& s) { return s.r.h_weight_measured == '0'; },
     [](Subject& s) { s.r.h_weight = 50.0f; }},
    {FaultKind::kBrokenGate, "H.4.a calories without artificial feeding",
     [](const Subject& s) { return !ArtificialFeeding(s); },
     [](Subject& s) { s.r.h_calorie_intake = '0'; }},
    {FaultKind::kBrokenGate, "H.4.b fluids blank with artificial feeding", ArtificialFeeding,
     [](Subject& s) { s.r.h_fluid_intake = ' '; }},
    {FaultKind::kBrokenGate, "H.3.b.2 tube-feeding days without tube feeding",
     [](const Subject& s) { return IsFrom091(s.family) && s.r.h_tube_feeding == '0'; },
     [](Subject& s) { s.r.h_tube_feeding_days = 5; }},
    {FaultKind::kBrokenGate, "I.4.b lesion site without a lesion",
     [](const Subject& s) { return IsEarly(s.family) && s.r.i_open_lesions == '0'; },
     [](Subject& s) { s.r.i_open_lesions_other = '1'; }},
    {FaultKind::kBrokenGate, "I.4.b lesion without a site",
     [](const Subject& s) { return IsEarly(s.family) && s.r.i_open_lesions == '1'; },
     [](Subject& s) { s.r.i_open_lesions_foot = s.r.i_open_lesions_other = '0'; }},
    {FaultKind::kBrokenGate, "I.5.d dressing site without a dressing",
     [](const Subject& s) { return s.r.i_ulcer_dressing == '0'; },
     [](Subject& s) { s.r.i_ulcer_dressing_foot = '1'; }},
    {FaultKind::kBrokenGate, "I.5.d dressing without a site",
     [](const Subject& s) { return s.r.i_ulcer_dressing == '1'; },
     [](Subject& s) { s.r.i_ulcer_dressing_foot = s.r.i_ulcer_dressing_other = '0'; }},
    {FaultKind::kBrokenGate, "I.5.e other dressing site blank",
     [](const Subject& s) { return s.r.i_other_dressing == '0'; },
     [](Subject& s) { s.r.i_other_dressing_other = ' '; }},
    {FaultKind::kBrokenGate, "K.1.a IV days without IV",
     [](const Subject& s) { return IsFrom091(s.family) && s.r.k_iv_medication == '0'; },
     [](Subject& s) { s.r.k_iv_medication_days = 3; }},
    {FaultKind::kBrokenGate, "K.1.e.1 saturation without oxygen",
     [](const Subject& s) { return From090(s) && s.r.k_oxygen_therapy == '0'; },
     [](Subject& s) { s.r.k_oxygen_saturation = 95.0f; }},
    {FaultKind::kBrokenGate, "K.1.e.2 oxygen days without oxygen",
     [](const Subject& s) { return From090(s) && s.r.k_oxygen_therapy == '0'; },
     [](Subject& s) { s.r.k_oxygen_days = 3; }},
    {FaultKind::kBrokenGate, "K.1.j ventilator site without a ventilator",
     [](const Subject& s) { return Is090(s.family) && s.r.k_ventilator == '0'; },
     [](Subject& s) { s.r.k_ventilator_hospital = '1'; }},
    {FaultKind::kBrokenGate, "K.1.j ventilator without a site",
     [](const Subject& s) { return Is090(s.family) && s.r.k_ventilator == '1'; },
     [](Subject& s) { s.r.k_ventilator_personal = s.r.k_ventilator_hospital = '0'; }},
    {FaultKind::kBrokenGate, "K.1.i ventilator site without a ventilator",
     [](const Subject& s) { return IsFrom091(s.family) && s.r.k_ventilator_091 == '0'; },
     [](Subject& s) { s.r.k_ventilator_personal_091 = '1'; }},
    {FaultKind::kBrokenGate, "E.4 diary days without a diary",
     [](const Subject& s) { return DiaryDaysChecked(s) && s.r.e_voiding_diary == '0'; },
     [](Subject& s) { s.r.e_voiding_diary_days = 3; }},

    // Dates.
    {FaultKind::kMissingDate, "A.3 admission date", Always,
     [](Subject& s) { BadDate(s, s.r.a_admission_date); }},
    {FaultKind::kMissingDate, "A.4 care start date", Always,
     [](Subject& s) { BadDate(s, s.r.a_care_start_date); }},
    {FaultKind::kMissingDate, "A.6 assessment date", Always,
     [](Subject& s) { BadDate(s, s.r.a_assessment_date); }},
    {FaultKind::kMissingDate, "C.6 K-MMSE date",
     [](const Subject& s) { return s.r.c_kmmse_done == '1'; },
     [](Subject& s) { BadDate(s, s.r.c_kmmse_date); }},
    {FaultKind::kMissingDate, "C.7 CDR date",
     [](const Subject& s) { return From090(s) && s.r.c_cdr_done == '1'; },
     [](Subject& s) { BadDate(s, s.r.c_cdr_date); }},
    {FaultKind::kMissingDate, "C.7 GDS date",
     [](const Subject& s) { return From090(s) && s.r.c_gds_done == '1'; },
     [](Subject& s) { BadDate(s, s.r.c_gds_date); }},
    {FaultKind::kMissingDate, "E.3.g catheter insertion date",
     [](const Subject& s) { return CatheterDateChecked(s) && s.r.e_indwelling_catheter == '1'; },
     [](Subject& s) { BadDate(s, s.r.e_indwelling_catheter_date); }},
    {FaultKind::kMissingDate, "F.1 HbA1c date",
     [](const Subject& s) { return s.r.f_hba1c_done == '1'; },
     [](Subject& s) { BadDate(s, s.r.f_hba1c_date); }},
    {FaultKind::kMissingDate, "H.2 weight date",
     [](const Subject& s) { return s.r.h_weight_measured == '1'; },
     [](Subject& s) { BadDate(s, s.r.h_weight_date); }},
    {FaultKind::kMissingDate, "H.2.3 height date",
     [](const Subject& s) { return From090(s) && s.r.h_height_measured == '1'; },
     [](Subject& s) { BadDate(s, s.r.h_height_date); }},
    {FaultKind::kMissingDate, "I.2 new ulcer date",
     [](const Subject& s) { return s.r.i_new_pressure_ulcer == '1'; },
     [](Subject& s) { BadDate(s, s.r.i_new_pressure_ulcer_date); }},
    {FaultKind::kNeedlessDate, "C.6 K-MMSE date not performed",
     [](const Subject& s) { return s.r.c_kmmse_done != '1'; },
     [](Subject& s) { RealDate(s, s.r.c_kmmse_date); }},
    {FaultKind::kNeedlessDate, "C.7 CDR date not performed",
     [](const Subject& s) { return From090(s) && s.r.c_cdr_done != '1'; },
     [](Subject& s) { RealDate(s, s.r.c_cdr_date); }},
    {FaultKind::kNeedlessDate, "C.7 GDS date not performed",
     [](const Subject& s) { return From090(s) && s.r.c_gds_done != '1'; },
     [](Subject& s) { RealDate(s, s.r.c_gds_date); }},
    {FaultKind::kNeedlessDate, "E.3.g catheter date without a catheter",
     [](const Subject& s) { return CatheterDateChecked(s) && s.r.e_indwelling_catheter == '0'; },
     [](Subject& s) { RealDate(s, s.r.e_indwelling_catheter_date); }},
    {FaultKind::kNeedlessDate, "F.1 HbA1c date not performed",
     [](const Subject& s) { return s.r.f_hba1c_done != '1'; },
     [](Subject& s) { RealDate(s, s.r.f_hba1c_date); }},
    {FaultKind::kNeedlessDate, "H.2 weight date not measured",
     [](const Subject& s) { return s.r.h_weight_measured == '0'; },
     [](Subject& s) { RealDate(s, s.r.h_weight_date); }},
    {FaultKind::kNeedlessDate, "H.2.3 height date not measured",
     [](const Subject& s) { return From090(s) && s.r.h_height_measured == '0'; },
     [](Subject& s) { RealDate(s, s.r.h_height_date); }},
    {FaultKind::kNeedlessDate, "I.2 new ulcer date without a new ulcer",
     [](const Subject& s) { return s.r.i_new_pressure_ulcer == '0'; },
     [](Subject& s) { RealDate(s, s.r.i_new_pressure_ulcer_date); }},
    {FaultKind::kDateOrder, "A.3 admission after the assessment", Always,
     [](Subject& s) { SetDate(s.r.a_admission_date, s.assessment_day + Uniform(s.g, 1, 60)); }},

    // None-applies flags that disagree with their lists.
    {FaultKind::kWrongNoneOfAbove, "E.3.h", Always,
     [](Subject& s) { s.r.e_toileting_none ^= '0' ^ '1'; }},
    {FaultKind::kWrongNoneOfAbove, "F.1 none", Always,
     [](Subject& s) {
       char& none = s.family == Family::kBase  ? s.r.f_aids
                    : s.family == Family::k089 ? s.r.f_diseases_none_089
                                               : s.r.f_diseases_none;
       none ^= '0' ^ '1';
     }},
    {FaultKind::kWrongNoneOfAbove, "F.2.h", Always,
     [](Subject& s) { s.r.f_malnutrition_none ^= '0' ^ '1'; }},
    {FaultKind::kWrongNoneOfAbove, "G.1 none", Always,
     [](Subject& s) {
       char& none = IsEarly(s.family) ? s.r.g_conditions_none
                    : Is090(s.family) ? s.r.g_conditions_none_090
                                      : s.r.g_conditions_none_091;
       none ^= '0' ^ '1';
     }},
    {FaultKind::kWrongNoneOfAbove, "I.4.e", Always,
     [](Subject& s) { s.r.i_skin_problems_none ^= '0' ^ '1'; }},
    {FaultKind::kWrongNoneOfAbove, "I.5 none", Always,
     [](Subject& s) {
       (IsFrom091(s.family) ? s.r.i_skin_treatment_none_091 : s.r.i_skin_treatment_g) ^= '0' ^ '1';
     }},
    {FaultKind::kWrongNoneOfAbove, "K.1 none", Always,
     [](Subject& s) {
       (IsFrom091(s.family) ? s.r.k_treatments_none_091 : s.r.k_treatments_none) ^= '0' ^ '1';
     }},

    // Identity and signatures.
    {FaultKind::kBadIdentity, "A.0 institution code", Always,
     [](Subject& s) {
       // A letter after the first three bytes keeps the base layout's version.
       s.r.institution_code[Uniform(s.g, 3, 7)] = Pick(s.g, {'X', 'O', ' '});
     }},
    {FaultKind::kBadIdentity, "A.1 patient name blank", Always,
     [](Subject& s) { SetText(s.r.patient_name, ""); }},
    {FaultKind::kBadIdentity, "A.2 resident number", Always,
     [](Subject& s) { s.r.resident_number[Uniform(s.g, 0, 12)] = Pick(s.g, {'-', 'A', ' '}); }},
    {FaultKind::kBadIdentity, "signature: doctor name blank", From090,
     [](Subject& s) { SetText(s.r.s_doctor_name, "            "); }},
    {FaultKind::kBadIdentity, "signature: nurse name blank", From090,
     [](Subject& s) { SetText(s.r.s_nurse_name, ""); }},
};

// Faults on the line itself, after the record is written.
std::string NonDigitFault(Random& g, Family family, std::string& line) {
  const LayoutItem* tested[40];
  int n = 0;
  for (const LayoutItem& item : InputLayout()) {
    if (item.parse_message != nullptr && item.StartIn(family) >= 0) tested[n++] = &item;
  }
  const LayoutItem& item = *tested[Uniform(g, 0, n - 1)];
  const int column = item.StartIn(family) + Uniform(g, 0, item.width - 1);
  // No blank: at the end of an early-family line it would be trimmed away.
  line[static_cast<std::size_t>(column)] = Pick(g, {'O', 'l', 'x', '-', '+', '.', '*'});
  return item.field_name;
}

std::string WrongLengthFault(Random& g, Family family, std::string& line) {
  const FamilyInfo& info = InfoOf(family);
  if (IsEarly(family)) {
    // One byte more or less somewhere in the middle of the line.
    const std::size_t at = static_cast<std::size_t>(Uniform(g, 20, info.expected_length - 20));
    if (Chance(g, 50)) {
      line.erase(at, 1);
      return "one byte short";
    }
    line.insert(at, 1, line[at] == ' ' ? '0' : line[at]);
    return "one byte long";
  }
  line.resize(static_cast<std::size_t>(Uniform(g, info.min_length - 40, info.min_length - 1)));
  return "cut before the last numeric item";
}

Family FamilyOfCode(std::string_view code) {
  return code == "base" ? Family::kBase : FamilyOf(code);
}

Random RecordStream(const SampleGenerator& gen, uint64_t index) {
  Random g{gen.options.seed * 0x9e3779b97f4a7c15ULL ^ (index + 1) * 0xd1b54a32d192ed03ULL};
  NextRandom(g);
  return g;
}

struct DrawnRecord {
  Draft draft;
  bool faulty;
  Random g;  // the record's stream, after its clean content
};

DrawnRecord Draw(const SampleGenerator& gen, uint64_t index) {
  Random g = RecordStream(gen, index);
  // The fault decision comes first and is always drawn, so that a record's
  // clean content does not depend on the fault share.
  const bool faulty = NextRandom(g) % kShareScale < gen.options.fault_share;

  const std::vector<std::string>& versions = gen.options.versions;
  const std::string_view code =
      versions.empty()
          ? kAllVersions[Uniform(g, 0, static_cast<int>(std::size(kAllVersions)) - 1)]
          : std::string_view(versions[Uniform(g, 0, static_cast<int>(versions.size()) - 1)]);
  DrawnRecord out{Draft{}, faulty, {}};
  Draft& d = out.draft;
  std::memset(&d.r, 0, sizeof d.r);
  d.code = code;
  d.family = FamilyOfCode(code);
  d.wild = Chance(g, 20);
  const bool early = IsEarly(d.family);
  if (!d.wild) {
    d.target = early ? kEarlyTargets[Uniform(g, 0, static_cast<int>(std::size(kEarlyTargets)) - 1)]
                     : kNewerTargets[Uniform(g, 0, static_cast<int>(std::size(kNewerTargets)) - 1)];
  }
  const AdlBand band = d.wild ? AdlBand{4, 20} : TargetAdl(d.target, d.family);
  const int adl = PickAdl(g, band.lo, band.hi);

  DrawGeneral(g, d, gen, index);
  DrawCognition(g, d, adl);
  DrawFunctionAndExcretion(g, d, adl);
  DrawDiagnoses(g, d);
  DrawHealth(g, d);
  DrawNutrition(g, d);
  DrawSkin(g, d);
  DrawTreatments(g, d);
  if (!d.wild) {
    if (early) {
      ApplyEarlyTarget(g, d);
    } else {
      ApplyNewerTarget(g, d);
    }
  }
  Finalize(d);
  out.g = g;
  return out;
}

}  // namespace

uint64_t NextRandom(Random& random) {
  uint64_t z = (random.state += 0x9e3779b97f4a7c15ULL);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

int Uniform(Random& random, int lo, int hi) {
  const uint64_t span = static_cast<uint64_t>(hi - lo) + 1;
  return lo + static_cast<int>(NextRandom(random) % span);
}

const char* FaultKindName(FaultKind kind) {
  switch (kind) {
    case FaultKind::kNone:
      return "none";
    case FaultKind::kNonDigit:
      return "non-digit";
    case FaultKind::kOutOfRange:
      return "out of range";
    case FaultKind::kBrokenGate:
      return "broken gate";
    case FaultKind::kMissingDate:
      return "missing date";
    case FaultKind::kNeedlessDate:
      return "needless date";
    case FaultKind::kDateOrder:
      return "date order";
    case FaultKind::kWrongNoneOfAbove:
      return "wrong none-applies";
    case FaultKind::kWrongLength:
      return "wrong length";
    case FaultKind::kBadIdentity:
      return "bad identity";
  }
  return "?";
}

bool VersionsValid(const std::vector<std::string>& versions) {
  for (const std::string& v : versions) {
    if (std::find(std::begin(kAllVersions), std::end(kAllVersions), v) == std::end(kAllVersions)) {
      return false;
    }
  }
  return true;
}

SampleGenerator StartSample(const SampleOptions& options) {
  SampleGenerator gen;
  gen.options = options;
  Random g{options.seed ^ 0x5851f42d4c957f2dULL};
  gen.period_start_day = Uniform(g, DaysFromCivil(2013, 1, 1), DaysFromCivil(2030, 10, 1));
  for (auto& code : gen.institution_codes) {
    // A first digit from 1 on: no base-layout line may start with a version code.
    std::snprintf(code, sizeof code, "%d%07d", Uniform(g, 1, 9), Uniform(g, 0, 9999999));
  }
  return gen;
}

AssessmentRecord SampleRecord(const SampleGenerator& generator, uint64_t index) {
  return Draw(generator, index).draft.r;
}

SampleLine NextSampleLine(SampleGenerator& generator) {
  DrawnRecord drawn = Draw(generator, generator.next_index++);
  Draft& d = drawn.draft;
  SampleLine out;
  out.target = std::string(d.target);
  if (!drawn.faulty) {
    out.text = ComposeRecordLine(d.r);
    return out;
  }

  Random& g = drawn.g;
  out.fault = static_cast<FaultKind>(Uniform(g, 1, kFaultKindCount));
  if (out.fault == FaultKind::kNonDigit || out.fault == FaultKind::kWrongLength) {
    out.text = ComposeRecordLine(d.r);
    out.fault_detail = out.fault == FaultKind::kNonDigit ? NonDigitFault(g, d.family, out.text)
                                                         : WrongLengthFault(g, d.family, out.text);
    return out;
  }
  Subject subject{d.r, d.family, d.code, g, d.assessment_day};
  const Fault* candidates[std::size(kFaults)];
  int n = 0;
  for (const Fault& fault : kFaults) {
    if (fault.kind == out.fault && fault.applies(subject)) candidates[n++] = &fault;
  }
  if (n == 0) {
    // No fault of the kind fits this record (say, a needless date where every
    // date is required): an answer out of range always does.
    out.fault = FaultKind::kOutOfRange;
    for (const Fault& fault : kFaults) {
      if (fault.kind == out.fault && fault.applies(subject)) candidates[n++] = &fault;
    }
  }
  const Fault& fault = *candidates[Uniform(g, 0, n - 1)];
  fault.apply(subject);
  out.fault_detail = fault.detail;
  out.text = ComposeRecordLine(d.r);
  return out;
}

bool ParseShare(std::string_view text, uint32_t* share) {
  if (text.empty()) return false;
  std::size_t i = 0;
  uint64_t whole = 0;
  bool digits = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    whole = std::min<uint64_t>(whole * 10 + static_cast<uint64_t>(text[i] - '0'), 10);
    digits = true;
  }
  uint64_t fraction = 0;
  uint64_t scale = kShareScale;
  bool nonzero_beyond = false;
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      digits = true;
      if (scale > 1) {
        scale /= 10;
        fraction += static_cast<uint64_t>(text[i] - '0') * scale;
      } else if (text[i] != '0') {
        nonzero_beyond = true;  // finer than a billionth: rounds down
      }
    }
  }
  if (!digits || i != text.size()) return false;
  const uint64_t value = whole * kShareScale + fraction;
  if (value > kShareScale || (value == kShareScale && nonzero_beyond)) return false;
  *share = static_cast<uint32_t>(value);
  return true;
}

namespace {

constexpr char kUsage[] =
    "usage: grouper-sample --count N [--seed S] [--versions V,V,...] [--faults P] > FILE\n"
    "\n"
    "Writes N synthetic assessment records, one per line in code page 949 with CR LF\n"
    "line ends, valid for their form version unless given a fault.\n"
    "\n"
    "  --count N       number of records (required)\n"
    "  --seed S        seed of the drawing (default 1); the same seed gives the same bytes\n"
    "  --versions L    comma-separated form versions to draw from: 089 010 090 011 091\n"
    "                  012 092 013 and base (the layout without version code); default all\n"
    "  --faults P      share of records (0 to 1) that get exactly one deliberate fault\n"
    "                  (default 0)\n";

bool ParseCount(std::string_view text, uint64_t* value) {
  if (text.empty() || text.size() > 19) return false;
  uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  *value = v;
  return true;
}

bool ParseVersions(std::string_view text, std::vector<std::string>* versions) {
  versions->clear();
  while (true) {
    const std::size_t comma = text.find(',');
    versions->emplace_back(text.substr(0, comma));
    if (versions->back().empty()) return false;
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return VersionsValid(*versions);
}

int UsageError(std::FILE* err, const std::string& problem) {
  std::fprintf(err, "grouper-sample: %s\n%s", problem.c_str(), kUsage);
  return 2;
}

}  // namespace

int RunSampleTool(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  SampleOptions options;
  uint64_t count = 0;
  bool have_count = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, out);
      return 0;
    }
    std::string_view name = arg;
    std::string_view value;
    bool have_value = false;
    if (const std::size_t eq = arg.find('=');
        arg.starts_with("--") && eq != std::string_view::npos) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
      have_value = true;
    }
    if (name != "--count" && name != "--seed" && name != "--versions" && name != "--faults") {
      return UsageError(err, "unknown argument '" + std::string(arg) + "'");
    }
    if (!have_value) {
      if (i + 1 >= argc) return UsageError(err, std::string(name) + " needs a value");
      value = argv[++i];
    }
    if (name == "--count") {
      if (!ParseCount(value, &count))
        return UsageError(err, "bad --count '" + std::string(value) + "'");
      have_count = true;
    } else if (name == "--seed") {
      if (!ParseCount(value, &options.seed)) {
        return UsageError(err, "bad --seed '" + std::string(value) + "'");
      }
    } else if (name == "--versions") {
      if (!ParseVersions(value, &options.versions)) {
        return UsageError(err, "bad --versions '" + std::string(value) + "'");
      }
    } else if (!ParseShare(value, &options.fault_share)) {
      return UsageError(err, "bad --faults '" + std::string(value) + "' (a share from 0 to 1)");
    }
  }
  if (!have_count) return UsageError(err, "--count is required");

  SampleGenerator gen = StartSample(options);
  for (uint64_t i = 0; i < count; ++i) {
    SampleLine line = NextSampleLine(gen);
    line.text += "\r\n";
    if (std::fwrite(line.text.data(), 1, line.text.size(), out) != line.text.size()) break;
  }
  if (std::fflush(out) != 0 || std::ferror(out)) {
    std::fprintf(err, "grouper-sample: cannot write the output\n");
    return 1;
  }
  return 0;
}

}  // namespace grouper::sample
