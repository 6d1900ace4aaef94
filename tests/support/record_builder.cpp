#include "support/record_builder.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "record/input_layout.h"
#include "record_writer.h"
#include "support/cp949.h"

namespace grouper::testing {

namespace {

void Text(char* field, std::size_t size, const char* value) {
  std::memset(field, 0, size);
  std::memcpy(field, value, strnlen(value, size - 1));
}
template <std::size_t N>
void Text(char (&field)[N], const char* value) {
  Text(field, N, value);
}

}  // namespace

AssessmentRecord ValidRecord(std::string_view version_code) {
  AssessmentRecord r{};
  const Family family = FamilyOf(version_code);
  if (family != Family::kBase) Text(r.form_version, std::string(version_code).c_str());
  Text(r.institution_code, "12345678");
  if (family == Family::kBase) Text(r.form_version, "123");
  Text(r.patient_name, Cp949(u8"가상환자").c_str());
  Text(r.resident_number, "4001011000001");
  Text(r.a_admission_date, "20240102");
  Text(r.a_care_start_date, "20240102");
  r.a_assessment_type = '1';
  Text(r.a_assessment_date, "20240115");
  r.a_residence_before_admission = '1';
  r.a_education_level = '1';
  r.a_systolic_bp = 120;
  r.a_diastolic_bp = 80;
  for (char* c : {&r.a_smoking, &r.a_drinking, &r.a_exercise, &r.a_regular_meals}) *c = '0';
  r.a_ltc_grade_application = '1';
  for (char* c : {&r.a_ltc_grade, &r.a_ltc_service_day_care, &r.a_ltc_service_home_care,
                  &r.a_ltc_service_home_nursing, &r.a_ltc_service_home_bathing,
                  &r.a_ltc_service_short_term_care, &r.a_ltc_service_welfare_equipment,
                  &r.a_ltc_service_facility, &r.a_ltc_service_other, &r.a_ltc_service_wish}) {
    *c = ' ';
  }
  for (char* c : {&r.a_social_refused, &r.a_social_no_helper, &r.a_social_utility_cutoff,
                  &r.a_social_homeless, &r.a_social_cost_hardship, &r.a_social_transport,
                  &r.a_social_emergency}) {
    *c = '0';
  }

  // B, C: awake, no symptom, no test performed.
  r.b_coma = '0';
  r.b_delirium = '0';
  SetEach(r, {field_groups::kCognition, field_groups::kBehaviours}, '0');
  r.c_kmmse_done = '0';
  Text(r.c_kmmse_date, "00000000");
  r.c_cdr_done = '0';
  Text(r.c_cdr_date, "00000000");
  r.c_gds_done = '0';
  Text(r.c_gds_date, "00000000");

  // D, E: independent, continent, no toileting aid.
  SetEach(r, {field_groups::kAdlItems, field_groups::kRehabPotential}, '0');
  r.d_bedridden = '0';
  r.e_bowel_control = '0';
  r.e_bladder_control = '0';
  SetEach(r, {field_groups::kToiletingAids}, '0');
  Text(r.e_indwelling_catheter_date, "00000000");
  if (family == Family::k092) {
    for (const DateField slot : field_groups::kCatheterDates) Text(r.*slot, "00000000");
  }
  r.e_toileting_none = '1';
  r.e_voiding_diary = '0';

  // F: no diagnosis.
  r.f_diabetes = '0';
  r.f_glucose_check_done = ' ';
  r.f_hba1c_done = ' ';
  Text(r.f_hba1c_date, "00000000");
  SetEach(r, {field_groups::kDiseases, field_groups::kDiseasesFrom090, field_groups::kMalnutrition},
          '0');
  r.f_diseases_none_089 = '0';
  if (family == Family::kBase) r.f_aids = '1';  // the base layout's F.1 none-applies
  r.f_diseases_none_089 = '1';
  r.f_diseases_none = '1';
  r.f_malnutrition_none = '1';

  // G: no acute problem, no pain.
  r.g_fever = '0';
  r.g_fever_workup = ' ';
  for (char* c :
       {&r.g_dehydration, &r.g_vomiting, &r.g_internal_bleeding, &r.g_stoma_care_post_surgery_091,
        &r.g_stoma_care_post_surgery_090, &r.g_stoma_care_complication_091,
        &r.g_stoma_care_complication_090, &r.g_pain_mild, &r.g_pain_frequency_090,
        &r.g_pain_frequency_091, &r.g_pain_moderate, &r.g_pain_severe, &r.g_pain_treatment_091,
        &r.g_cancer_pain_treatment_090, &r.g_cancer_pain_treatment_091, &r.g_fall_30_days,
        &r.g_fall_31_180_days, &r.g_end_stage_disease}) {
    *c = '0';
  }
  r.g_conditions_none = '1';
  r.g_conditions_none_090 = '1';
  r.g_conditions_none_091 = '1';

  // H: weight and height measured, eating by mouth.
  r.h_swallowing = '0';
  r.h_weight_measured = '1';
  r.h_weight = 55.0f;
  Text(r.h_weight_date, "20240110");
  r.h_weight_loss = '0';
  r.h_height_measured = '1';
  r.h_height = 160.5f;
  Text(r.h_height_date, "20240110");
  r.h_parenteral_nutrition = '0';
  r.h_tube_feeding = '0';
  r.h_calorie_intake = ' ';
  r.h_fluid_intake = ' ';

  // I: no skin problem, no treatment.
  r.i_new_pressure_ulcer = '0';
  Text(r.i_new_pressure_ulcer_date, "00000000");
  r.i_pressure_ulcer_history = '0';
  SetEach(r, {field_groups::kSkinProblems, field_groups::kSkinTreatments}, '0');
  r.i_skin_problems_none = '1';
  if (IsFrom091(family)) {
    r.i_skin_treatment_none_091 = '1';
  } else {
    r.i_skin_treatment_g = '1';
  }

  // J, K: no medication or treatment; signatures given.
  SetEach(r, {field_groups::kMedication, field_groups::kSpecialTreatments}, '0');
  r.k_treatments_none = '1';
  r.k_treatments_none_091 = '1';
  Text(r.s_doctor_name, Cp949(u8"가상의사").c_str());
  Text(r.s_nurse_name, Cp949(u8"가상간호").c_str());
  return r;
}

std::string BuildLine(const AssessmentRecord& record) {
  return ComposeRecordLine(record);
}

int ColumnOf(Family family, std::string_view field_name) {
  const LayoutItem* item = FindLayoutItem(field_name);
  if (item == nullptr || item->StartIn(family) < 0) {
    throw std::invalid_argument("no such item in this family: " + std::string(field_name));
  }
  return item->StartIn(family);
}

void SetItem(std::string& line, std::string_view field_name, std::string_view text) {
  const Family family = FamilyOf(line.substr(0, 3));
  const LayoutItem* item = FindLayoutItem(field_name);
  const std::size_t start = static_cast<std::size_t>(ColumnOf(family, field_name));
  std::string value(text.substr(0, static_cast<std::size_t>(item->width)));
  value.resize(static_cast<std::size_t>(item->width), ' ');
  if (line.size() < start + value.size()) line.resize(start + value.size(), ' ');
  line.replace(start, value.size(), value);
}

}  // namespace grouper::testing
