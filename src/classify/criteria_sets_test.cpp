// Every criterion of sets A to F, family group by family group: each case
// takes a valid record, sets its ADL score and some items, classifies it and
// compares the whole criteria table (all codes recorded, in slot order) and
// the group code.
#include <gtest/gtest.h>

#include <cstring>
#include <span>
#include <vector>

#include "classify/classifier.h"
#include "support/classification.h"
#include "support/record_builder.h"

namespace grouper {
namespace {

using testing::Classify;
using testing::RecordedCodes;
using testing::SetAdl;
using testing::ValidRecord;
using R = AssessmentRecord;

// One item set to one value.
struct Change {
  char R::*answer = nullptr;
  char answer_value = 0;
  int32_t R::*count = nullptr;
  int count_value = 0;
  float R::*measure = nullptr;
  float measure_value = 0;
};
Change Set(char R::*field, char value) {
  return {.answer = field, .answer_value = value};
}
Change Set(int32_t R::*field, int value) {
  return {.count = field, .count_value = value};
}
Change Set(float R::*field, float value) {
  return {.measure = field, .measure_value = value};
}

struct Case {
  const char* name;
  const char* version;  // any other text than the eight codes is kept as the record's version
  int adl;
  std::vector<Change> changes;
  const char* codes;  // the criteria table after classification
  const char* group_code;
};

void RunCases(std::span<const Case> cases) {
  for (const Case& c : cases) {
    AssessmentRecord r = ValidRecord(c.version);
    if (FamilyOf(c.version) == Family::kBase) std::memcpy(r.form_version, c.version, 4);
    SetAdl(r, c.adl);
    for (const Change& change : c.changes) {
      if (change.answer) r.*change.answer = change.answer_value;
      if (change.count) r.*change.count = change.count_value;
      if (change.measure) r.*change.measure = change.measure_value;
    }
    const testing::Classified out = Classify(r);
    EXPECT_EQ(RecordedCodes(out.state), c.codes) << c.version << ": " << c.name;
    EXPECT_EQ(out.code, c.group_code) << c.version << ": " << c.name;
  }
}

const Change kRelief = Set(&R::i_pressure_relief_device, '1');
const Change kTurning = Set(&R::i_turning_repositioning, '1');
const Change kDiabetes = Set(&R::f_diabetes, '1');
const Change kFootInfection = Set(&R::i_foot_infection, '1');
const Change kFootDressing = Set(&R::i_other_dressing_foot, '1');
const Change kDementia = Set(&R::f_dementia, '1');

TEST(CriteriaSets, EarlyFamilies) {
  // clang-format off
  const Case cases[] = {
      {"nothing applies", "089", 4, {}, "7A", "A73"},
      // Set A.
      {"coma, scored items dependent", "089", 20, {Set(&R::b_coma, '1')}, "1A", "A12"},
      {"coma, code 8 counts as dependent", "089", 20,
       {Set(&R::b_coma, '1'), Set(&R::d_adl_eating, '8'), Set(&R::d_adl_transferring, '8')},
       "1A", "A12"},
      {"coma with one scored item at 3", "089", 19, {Set(&R::b_coma, '1')}, "7A", "A71"},
      {"internal bleeding wins over ventilator", "089", 15,
       {Set(&R::g_internal_bleeding, '1'), Set(&R::k_ventilator, '1')}, "1B", "A12"},
      {"central venous nutrition at 11", "089", 11,
       {Set(&R::k_central_venous_nutrition, '1')}, "1C", "A12"},
      {"ventilator at 11", "089", 11, {Set(&R::k_ventilator, '1')}, "1D", "A12"},
      {"ventilator at 12: set B stops before 2N", "089", 12,
       {Set(&R::k_ventilator, '1')}, "1D", "A12"},
      {"ventilator at 10: set A not met, 2N", "089", 10, {Set(&R::k_ventilator, '1')}, "2N", "A22"},
      {"internal bleeding at 4: 2N", "089", 4, {Set(&R::g_internal_bleeding, '1')}, "2N", "A23"},
      {"central venous nutrition at 10: 2N", "010", 10,
       {Set(&R::k_central_venous_nutrition, '1')}, "2N", "A22"},
      // Set B.
      {"quadriplegia alone at 18: 2B, not 2A", "089", 18,
       {Set(&R::f_quadriplegia, '1')}, "2B", "A21"},
      {"spinal cord injury with quadriplegia at 18", "089", 18,
       {Set(&R::f_quadriplegia, '1'), Set(&R::f_spinal_cord_injury, '1')}, "2A", "A21"},
      {"multiple sclerosis at 18", "089", 18, {Set(&R::f_multiple_sclerosis, '1')}, "2A", "A21"},
      {"multiple sclerosis at 17", "089", 17, {Set(&R::f_multiple_sclerosis, '1')}, "2B 3A", "A21"},
      {"multiple sclerosis at 11", "089", 11, {Set(&R::f_multiple_sclerosis, '1')}, "2B 3A", "A22"},
      {"multiple sclerosis at 10", "089", 10, {Set(&R::f_multiple_sclerosis, '1')}, "7A", "A72"},
      {"paraplegia alone at 18", "089", 18, {Set(&R::f_paraplegia, '1')}, "7A", "A71"},
      {"spinal cord injury alone at 18", "089", 18,
       {Set(&R::f_spinal_cord_injury, '1')}, "7A", "A71"},
      {"cerebrovascular disease at 18", "089", 18,
       {Set(&R::f_cerebrovascular_disease, '1')}, "7A", "A71"},
      {"AIDS at 20 in 089", "089", 20, {Set(&R::f_aids, '1')}, "2A", "A21"},
      {"AIDS at 20 in 010", "010", 20, {Set(&R::f_aids, '1')}, "2A", "A21"},
      {"base layout: the AIDS position is F.1's none-applies", "123", 20,
       {Set(&R::f_aids, '1')}, "7A", "A71"},
      {"two stage-2 pressure ulcers, two treatments", "089", 4,
       {Set(&R::i_pressure_ulcer_stage2, 2), kRelief, kTurning}, "2C", "A23"},
      {"two stage-2 stasis ulcers, two treatments", "089", 4,
       {Set(&R::i_stasis_ulcer_stage2, 2), kRelief, kTurning}, "2C", "A23"},
      {"two stage-2 ulcers, one treatment", "089", 4,
       {Set(&R::i_pressure_ulcer_stage2, 2), Set(&R::i_ulcer_dressing, '1')}, "7A", "A73"},
      {"one and three stage-2 ulcers: 2C and 3B", "089", 4,
       {Set(&R::i_pressure_ulcer_stage2, 1), Set(&R::i_stasis_ulcer_stage2, 3), kRelief, kTurning},
       "2C 3B", "A23"},
      {"stage-3 ulcer; skin nutrition counts with an ulcer", "089", 4,
       {Set(&R::i_pressure_ulcer_stage3, 1), Set(&R::i_ulcer_dressing, '1'),
        Set(&R::i_skin_nutrition_hydration, '1')}, "2D", "A23"},
      {"stage-4 stasis ulcer, two treatments", "089", 4,
       {Set(&R::i_stasis_ulcer_stage4, 1), kRelief, kTurning}, "2D", "A23"},
      {"stage-4 ulcer, one treatment", "089", 4,
       {Set(&R::i_pressure_ulcer_stage4, 1), kTurning}, "7A", "A73"},
      {"fever with dehydration", "089", 4,
       {Set(&R::g_fever, '1'), Set(&R::g_dehydration, '1')}, "2E", "A23"},
      {"fever with vomiting", "089", 4,
       {Set(&R::g_fever, '1'), Set(&R::g_vomiting, '1')}, "2E", "A23"},
      {"fever with weight loss", "089", 4,
       {Set(&R::g_fever, '1'), Set(&R::h_weight_loss, '1')}, "2E", "A23"},
      {"fever with qualifying tube feeding: 2E before 2H", "089", 4,
       {Set(&R::g_fever, '1'), Set(&R::h_tube_feeding, '1'), Set(&R::h_calorie_intake, '3')},
       "2E", "A23"},
      {"fever alone", "089", 4, {Set(&R::g_fever, '1')}, "7A", "A73"},
      {"burns", "089", 4, {Set(&R::i_burns, '1')}, "2F", "A23"},
      {"burns and tracheostomy: the first row wins", "089", 4,
       {Set(&R::i_burns, '1'), Set(&R::k_tracheostomy_care, '1')}, "2F", "A23"},
      {"severe pain 2", "089", 4, {Set(&R::g_pain_severe, '2')}, "2G", "A23"},
      {"severe pain 1", "089", 4, {Set(&R::g_pain_severe, '1')}, "7A", "A73"},
      {"tube feeding, calories 4", "089", 4,
       {Set(&R::h_tube_feeding, '1'), Set(&R::h_calorie_intake, '4')}, "2H", "A23"},
      {"parenteral nutrition, calories 2, fluids 2", "089", 4,
       {Set(&R::h_parenteral_nutrition, '1'), Set(&R::h_calorie_intake, '2'),
        Set(&R::h_fluid_intake, '2')}, "2H", "A23"},
      {"parenteral nutrition, calories 2, fluids 1", "089", 4,
       {Set(&R::h_parenteral_nutrition, '1'), Set(&R::h_calorie_intake, '2'),
        Set(&R::h_fluid_intake, '1')}, "7A", "A73"},
      {"suctioning", "089", 4, {Set(&R::k_suctioning, '1')}, "2I", "A23"},
      {"tracheostomy care", "089", 4, {Set(&R::k_tracheostomy_care, '1')}, "2J", "A23"},
      {"diabetic foot infection with dressing", "089", 4,
       {kDiabetes, kFootInfection, kFootDressing}, "2K", "A23"},
      {"diabetic open foot lesion with dressing: 2K and 3G", "089", 4,
       {kDiabetes, Set(&R::i_open_lesions_foot, '1'), kFootDressing}, "2K 3G", "A23"},
      {"foot infection with dressing, no diabetes", "089", 4,
       {kFootInfection, kFootDressing}, "7A", "A73"},
      {"transfusion", "089", 4, {Set(&R::k_transfusion, '1')}, "2L", "A23"},
      {"oxygen therapy", "089", 4, {Set(&R::k_oxygen_therapy, '1')}, "2M", "A23"},
      // Set C.
      {"hemiplegia at 17", "089", 17, {Set(&R::f_hemiplegia, '1')}, "3A", "A31"},
      {"hemiplegia at 11", "089", 11, {Set(&R::f_hemiplegia, '1')}, "3A", "A32"},
      {"hemiplegia at 10", "089", 10, {Set(&R::f_hemiplegia, '1')}, "7A", "A72"},
      {"one stage-2 stasis ulcer, two treatments", "089", 4,
       {Set(&R::i_stasis_ulcer_stage2, 1), kRelief, kTurning}, "3B", "A33"},
      {"one stage-2 ulcer; skin nutrition counts with it", "089", 4,
       {Set(&R::i_pressure_ulcer_stage2, 1), Set(&R::i_ulcer_dressing, '1'),
        Set(&R::i_skin_nutrition_hydration, '1')}, "3B", "A33"},
      {"diabetes with injections 2", "089", 4,
       {kDiabetes, Set(&R::j_injection_count, '2')}, "3C", "A33"},
      {"diabetes with injections 1", "089", 4,
       {kDiabetes, Set(&R::j_injection_count, '1')}, "7A", "A73"},
      {"mild pain 2", "089", 4, {Set(&R::g_pain_mild, '2')}, "3D", "A33"},
      {"moderate pain 2", "089", 4, {Set(&R::g_pain_moderate, '2')}, "3D", "A33"},
      {"intravenous medication", "089", 4, {Set(&R::k_iv_medication, '1')}, "3E", "A33"},
      {"other-site lesion with dressing and nebuliser: 3G before 3F", "089", 4,
       {Set(&R::i_open_lesions_other, '1'), Set(&R::i_other_dressing_other, '1'),
        Set(&R::k_nebulizer, '1')}, "3G", "A33"},
      {"surgical wound with care", "089", 4,
       {Set(&R::i_surgical_wound, '1'), Set(&R::i_surgical_wound_care, '1')}, "3G", "A33"},
      {"surgical wound without care", "089", 4, {Set(&R::i_surgical_wound, '1')}, "7A", "A73"},
      {"bowel stoma care", "089", 4, {Set(&R::k_bowel_stoma_care, '1')}, "3H", "A33"},
      {"feeding stoma care", "089", 4, {Set(&R::k_feeding_stoma_care, '1')}, "3H", "A33"},
      {"urinary stoma care and nebuliser: 3H before 3F", "089", 4,
       {Set(&R::k_urinary_stoma_care, '1'), Set(&R::k_nebulizer, '1')}, "3H", "A33"},
      {"nebuliser", "089", 4, {Set(&R::k_nebulizer, '1')}, "3F", "A33"},
      {"scheduled toileting", "089", 4, {Set(&R::e_scheduled_toileting, '1')}, "3I", "A33"},
      {"bladder retraining", "089", 4, {Set(&R::e_bladder_retraining, '1')}, "3I", "A33"},
      {"intermittent catheter", "089", 4, {Set(&R::e_intermittent_catheter, '1')}, "3I", "A33"},
      // Sets D and E, which run E before D; the letter is still D.
      {"agitation 2", "089", 4, {Set(&R::c_agitation, '2')}, "4A", "A41"},
      {"delusions 3", "089", 4, {Set(&R::c_delusions, '3')}, "4A", "A41"},
      {"all six symptoms 1", "089", 4,
       {Set(&R::c_delusions, '1'), Set(&R::c_hallucinations, '1'), Set(&R::c_agitation, '1'),
        Set(&R::c_disinhibition, '1'), Set(&R::c_care_resistance, '1'), Set(&R::c_wandering, '1')},
       "7A", "A73"},
      {"K-MMSE 19", "089", 4,
       {Set(&R::c_kmmse_done, '1'), Set(&R::c_kmmse_score, 19)}, "5A", "A51"},
      {"K-MMSE 0", "089", 4, {Set(&R::c_kmmse_done, '1'), Set(&R::c_kmmse_score, 0)}, "5A", "A51"},
      {"K-MMSE 20", "089", 4,
       {Set(&R::c_kmmse_done, '1'), Set(&R::c_kmmse_score, 20)}, "7A", "A73"},
      {"K-MMSE -1", "089", 4,
       {Set(&R::c_kmmse_done, '1'), Set(&R::c_kmmse_score, -1)}, "7A", "A73"},
      {"K-MMSE 10 not done", "089", 4, {Set(&R::c_kmmse_score, 10)}, "7A", "A73"},
      {"wandering 2 and K-MMSE 10", "089", 4,
       {Set(&R::c_wandering, '2'), Set(&R::c_kmmse_done, '1'), Set(&R::c_kmmse_score, 10)},
       "4A 5A", "A41"},
      // Set F.
      {"ADL 6 with 2 days of rehabilitation", "089", 6, {Set(&R::k_rehab_days, 2)}, "6A", "A62"},
      {"ADL 5 with 7 days of rehabilitation", "089", 5, {Set(&R::k_rehab_days, 7)}, "7A", "A73"},
      {"ADL 6 with 1 day of rehabilitation", "089", 6, {Set(&R::k_rehab_days, 1)}, "7A", "A72"},
      {"stoma care and rehabilitation: no 6B in early families", "089", 13,
       {Set(&R::k_rehab_days, 3), Set(&R::k_urinary_stoma_care, '1')}, "3H 6A", "A32"},
      // Texts that are none of the eight codes take the early rules.
      {"version text 001", "001", 4, {Set(&R::k_oxygen_therapy, '1')}, "2M", "A23"},
  };
  // clang-format on
  RunCases(cases);
}

TEST(CriteriaSets, Family090) {
  // clang-format off
  const Case cases[] = {
      {"nothing applies", "090", 4, {}, "7A", "A71"},
      // Set A.
      {"ventilator at 11", "090", 11,
       {Set(&R::k_ventilator, '1'), Set(&R::k_ventilator_hospital, '1')}, "1A", "A11"},
      {"ventilator at 12 in 011: set B stops before 2J", "011", 12,
       {Set(&R::k_ventilator, '1'), Set(&R::k_ventilator_personal, '1')}, "1A", "A11"},
      {"coma, scored items dependent", "090", 20, {Set(&R::b_coma, '1')}, "1B", "A11"},
      {"central venous nutrition at 11", "090", 11,
       {Set(&R::k_central_venous_nutrition, '1')}, "1C", "A11"},
      {"ventilator at 10: 2J", "090", 10,
       {Set(&R::k_ventilator, '1'), Set(&R::k_ventilator_hospital, '1')}, "2J", "A21"},
      {"central venous nutrition at 4: 2J", "090", 4,
       {Set(&R::k_central_venous_nutrition, '1')}, "2J", "A21"},
      {"internal bleeding is no criterion", "090", 15,
       {Set(&R::g_internal_bleeding, '1')}, "7A", "A71"},
      // Set B.
      {"quadriplegia alone at 18", "090", 18, {Set(&R::f_quadriplegia, '1')}, "2A", "A21"},
      {"AIDS at 18", "090", 18, {Set(&R::f_aids, '1')}, "2A", "A21"},
      {"stage-3 ulcer, two treatments", "090", 4,
       {Set(&R::i_stasis_ulcer_stage3, 2), kRelief, kTurning}, "2B", "A21"},
      {"fever with work-up and vomiting", "090", 4,
       {Set(&R::g_fever, '1'), Set(&R::g_fever_workup, '1'), Set(&R::g_vomiting, '1')},
       "2C", "A21"},
      {"fever with vomiting, no work-up", "090", 4,
       {Set(&R::g_fever, '1'), Set(&R::g_vomiting, '1')}, "7A", "A71"},
      {"burns", "090", 4, {Set(&R::i_burns, '1')}, "2D", "A21"},
      {"pain frequency 2, visual 7", "090", 4,
       {Set(&R::g_pain_frequency_090, '2'), Set(&R::g_pain_visual_scale, 7)}, "2E 3D", "A21"},
      {"pain frequency 2, numeric 7", "090", 4,
       {Set(&R::g_pain_frequency_090, '2'), Set(&R::g_pain_numeric_scale, 7)}, "2E 3D", "A21"},
      {"pain frequency 2, faces 4", "090", 4,
       {Set(&R::g_pain_frequency_090, '2'), Set(&R::g_pain_faces_scale, 4)}, "2E 3D", "A21"},
      {"tube feeding, calories 2, fluids 5", "090", 4,
       {Set(&R::h_tube_feeding, '1'), Set(&R::h_calorie_intake, '2'), Set(&R::h_fluid_intake, '5')},
       "2F", "A21"},
      {"parenteral nutrition is no criterion", "090", 4,
       {Set(&R::h_parenteral_nutrition, '1'), Set(&R::h_calorie_intake, '3')}, "7A", "A71"},
      {"tracheostomy care", "090", 4, {Set(&R::k_tracheostomy_care, '1')}, "2G", "A21"},
      {"diabetic foot at 9", "090", 9, {kDiabetes, kFootInfection, kFootDressing}, "2H", "A21"},
      {"diabetic foot at 8", "090", 8, {kDiabetes, kFootInfection, kFootDressing}, "7A", "A71"},
      {"diabetic foot at 4", "090", 4, {kDiabetes, kFootInfection, kFootDressing}, "7A", "A71"},
      {"oxygen therapy, no saturation or days test", "090", 4,
       {Set(&R::k_oxygen_therapy, '1'), Set(&R::k_oxygen_saturation, 95.0f),
        Set(&R::k_oxygen_days, 1)}, "2I", "A21"},
      {"suctioning is no criterion", "090", 4, {Set(&R::k_suctioning, '1')}, "7A", "A71"},
      {"transfusion is no criterion", "090", 4, {Set(&R::k_transfusion, '1')}, "7A", "A71"},
      // Set C.
      {"quadriplegia at 11", "090", 11, {Set(&R::f_quadriplegia, '1')}, "3A", "A31"},
      {"hemiplegia at 17", "090", 17, {Set(&R::f_hemiplegia, '1')}, "3A", "A31"},
      {"multiple sclerosis at 14: no 2B from 090", "090", 14,
       {Set(&R::f_multiple_sclerosis, '1')}, "3A", "A31"},
      {"two stage-2 ulcers, two treatments", "090", 4,
       {Set(&R::i_pressure_ulcer_stage2, 2), kRelief, kTurning}, "3B", "A31"},
      {"diabetes, glucose checked, injections 2", "090", 4,
       {kDiabetes, Set(&R::f_glucose_check_done, '1'), Set(&R::j_injection_count, '2')},
       "3C", "A31"},
      {"diabetes, injections 2, no glucose check", "090", 4,
       {kDiabetes, Set(&R::j_injection_count, '2')}, "7A", "A71"},
      {"pain frequency 2, visual 4", "090", 4,
       {Set(&R::g_pain_frequency_090, '2'), Set(&R::g_pain_visual_scale, 4)}, "3D", "A31"},
      {"pain frequency 2, faces 3", "090", 4,
       {Set(&R::g_pain_frequency_090, '2'), Set(&R::g_pain_faces_scale, 3)}, "3D", "A31"},
      {"pain frequency 1, visual 9", "090", 4,
       {Set(&R::g_pain_frequency_090, '1'), Set(&R::g_pain_visual_scale, 9)}, "7A", "A71"},
      {"pain frequency 1 with cancer-pain treatment", "090", 4,
       {Set(&R::g_pain_frequency_090, '1'), Set(&R::g_cancer_pain_treatment_090, '1')},
       "3E", "A31"},
      {"cancer-pain treatment without pain", "090", 4,
       {Set(&R::g_cancer_pain_treatment_090, '1')}, "7A", "A71"},
      {"intravenous medication", "090", 4, {Set(&R::k_iv_medication, '1')}, "3F", "A31"},
      {"nebuliser", "090", 4, {Set(&R::k_nebulizer, '1')}, "3G", "A31"},
      {"surgical wound with care", "090", 4,
       {Set(&R::i_surgical_wound, '1'), Set(&R::i_surgical_wound_care, '1')}, "3H", "A31"},
      {"open lesion with other dressing", "090", 4,
       {Set(&R::i_open_lesions, '1'), Set(&R::i_other_dressing, '1')}, "3H", "A31"},
      {"post-surgery stoma care: 3I, no 6B", "090", 4,
       {Set(&R::g_stoma_care_post_surgery_090, '1'), Set(&R::k_bowel_stoma_care, '1')},
       "3I", "A31"},
      {"complicated stoma care", "090", 4,
       {Set(&R::g_stoma_care_complication_090, '1'), Set(&R::k_feeding_stoma_care, '1')},
       "3J", "A31"},
      {"toileting with voiding diary", "090", 4,
       {Set(&R::e_bladder_retraining, '1'), Set(&R::e_voiding_diary, '1')}, "3K", "A31"},
      {"toileting without voiding diary", "090", 4,
       {Set(&R::e_scheduled_toileting, '1')}, "7A", "A71"},
      {"dementia, wandering 3, behaviour drugs", "090", 4,
       {kDementia, Set(&R::c_wandering, '3'), Set(&R::j_behaviour_drug_treatment, '1')},
       "3L", "A31"},
      {"dementia, wandering 3, no behaviour drugs", "090", 4,
       {kDementia, Set(&R::c_wandering, '3')}, "7A", "A71"},
      {"wandering 3 with drugs, no dementia", "090", 4,
       {Set(&R::c_wandering, '3'), Set(&R::j_behaviour_drug_treatment, '1')}, "7A", "A71"},
      // Set F; sets D and E do not run.
      {"dementia, anxiety 2, dementia drugs", "090", 4,
       {kDementia, Set(&R::c_anxiety, '2'), Set(&R::j_dementia_drug, '1')}, "6A", "A61"},
      {"dementia, agitation 3, dementia drugs", "090", 4,
       {kDementia, Set(&R::c_agitation, '3'), Set(&R::j_dementia_drug, '1')}, "7A", "A71"},
      {"urinary stoma care alone", "090", 4, {Set(&R::k_urinary_stoma_care, '1')}, "6B", "A61"},
      {"stoma care at 20 with rehabilitation: 6B first", "090", 20,
       {Set(&R::k_rehab_days, 7), Set(&R::k_bowel_stoma_care, '1')}, "6B", "A61"},
      {"stoma care with set B met", "090", 4,
       {Set(&R::k_feeding_stoma_care, '1'), Set(&R::k_tracheostomy_care, '1')}, "2G", "A21"},
      {"ADL 6 with 2 days of rehabilitation", "090", 6, {Set(&R::k_rehab_days, 2)}, "6C", "A61"},
      {"ADL 5 with 7 days of rehabilitation", "090", 5, {Set(&R::k_rehab_days, 7)}, "7A", "A71"},
      {"agitation 2 and K-MMSE 10: no set D or E", "090", 4,
       {Set(&R::c_agitation, '2'), Set(&R::c_kmmse_done, '1'), Set(&R::c_kmmse_score, 10)},
       "7A", "A71"},
  };
  // clang-format on
  RunCases(cases);
}

TEST(CriteriaSets, FamiliesFrom091) {
  // clang-format off
  const Case cases[] = {
      {"nothing applies", "091", 20, {}, "7A", "A71"},
      // Set A.
      {"ventilator at 11", "091", 11,
       {Set(&R::k_ventilator_091, '1'), Set(&R::k_ventilator_personal_091, '1')}, "1A", "A11"},
      {"coma, scored items dependent", "092", 20, {Set(&R::b_coma, '1')}, "1B", "A11"},
      {"central venous nutrition at 11", "013", 11,
       {Set(&R::k_central_venous_nutrition_091, '1')}, "1C", "A11"},
      {"ventilator at 10: 2J", "091", 10,
       {Set(&R::k_ventilator_091, '1'), Set(&R::k_ventilator_hospital_091, '1')}, "2J", "A21"},
      {"central venous nutrition at 4: 2J", "012", 4,
       {Set(&R::k_central_venous_nutrition_091, '1')}, "2J", "A21"},
      {"the fields of the older layouts are ignored", "091", 11,
       {Set(&R::k_ventilator, '1'), Set(&R::k_central_venous_nutrition, '1')}, "7A", "A71"},
      // Set B.
      {"quadriplegia alone at 18", "091", 18, {Set(&R::f_quadriplegia, '1')}, "2A", "A21"},
      {"stage-4 ulcer, two treatments", "091", 4,
       {Set(&R::i_pressure_ulcer_stage4, 1), kRelief, kTurning}, "2B", "A21"},
      {"fever with work-up for 3 days and dehydration", "091", 4,
       {Set(&R::g_fever, '1'), Set(&R::g_fever_workup, '1'), Set(&R::g_dehydration, '1'),
        Set(&R::g_fever_days, 3)}, "2C", "A21"},
      {"fever with work-up for 2 days", "091", 4,
       {Set(&R::g_fever, '1'), Set(&R::g_fever_workup, '1'), Set(&R::g_dehydration, '1'),
        Set(&R::g_fever_days, 2)}, "7A", "A71"},
      {"burns with skin treatment", "091", 4,
       {Set(&R::i_burns, '1'), Set(&R::i_skin_treatment_g, '1')}, "2D", "A21"},
      {"burns without skin treatment", "091", 4, {Set(&R::i_burns, '1')}, "7A", "A71"},
      {"pain frequency 2, visual 7, treated", "091", 4,
       {Set(&R::g_pain_frequency_091, '2'), Set(&R::g_pain_treatment_091, '1'),
        Set(&R::g_pain_visual_scale, 7)}, "2E 3D", "A21"},
      {"pain frequency 2, visual 7, untreated", "091", 4,
       {Set(&R::g_pain_frequency_091, '2'), Set(&R::g_pain_visual_scale, 7)}, "7A", "A71"},
      {"untreated pain with cancer-pain treatment: 3E", "091", 4,
       {Set(&R::g_pain_frequency_091, '2'), Set(&R::g_pain_visual_scale, 7),
        Set(&R::g_cancer_pain_treatment_091, '1')}, "3E", "A31"},
      {"the pain frequency of the 090 layout is ignored", "091", 4,
       {Set(&R::g_pain_frequency_090, '2'), Set(&R::g_pain_treatment_091, '1'),
        Set(&R::g_pain_visual_scale, 7)}, "7A", "A71"},
      {"tube feeding for 7 days", "091", 4,
       {Set(&R::h_tube_feeding, '1'), Set(&R::h_calorie_intake, '3'),
        Set(&R::h_tube_feeding_days, 7)}, "2F", "A21"},
      {"tube feeding for 6 days", "091", 4,
       {Set(&R::h_tube_feeding, '1'), Set(&R::h_calorie_intake, '3'),
        Set(&R::h_tube_feeding_days, 6)}, "7A", "A71"},
      {"tracheostomy care", "092", 4, {Set(&R::k_tracheostomy_care, '1')}, "2G", "A21"},
      {"diabetic foot at 9", "091", 9, {kDiabetes, kFootInfection, kFootDressing}, "2H", "A21"},
      {"diabetic foot at 3", "091", 4,
       {kDiabetes, kFootInfection, kFootDressing, Set(&R::d_adl_eating, ' ')}, "2H", "A21"},
      {"oxygen at saturation 90.0 for 7 days", "091", 4,
       {Set(&R::k_oxygen_therapy, '1'), Set(&R::k_oxygen_saturation, 90.0f),
        Set(&R::k_oxygen_days, 7)}, "2I", "A21"},
      {"oxygen at saturation 90.1 for 7 days", "091", 4,
       {Set(&R::k_oxygen_therapy, '1'), Set(&R::k_oxygen_saturation, 90.1f),
        Set(&R::k_oxygen_days, 7)}, "7A", "A71"},
      {"oxygen at saturation 90.0 for 6 days", "092", 4,
       {Set(&R::k_oxygen_therapy, '1'), Set(&R::k_oxygen_saturation, 90.0f),
        Set(&R::k_oxygen_days, 6)}, "7A", "A71"},
      // Set C.
      {"cerebral palsy at 14", "091", 14, {Set(&R::f_cerebral_palsy, '1')}, "3A", "A31"},
      {"one stage-2 ulcer, two treatments", "091", 4,
       {Set(&R::i_stasis_ulcer_stage2, 1), kRelief, kTurning}, "3B", "A31"},
      {"diabetes, glucose checked, injections 2", "091", 4,
       {kDiabetes, Set(&R::f_glucose_check_done, '1'), Set(&R::j_injection_count, '2')},
       "3C", "A31"},
      {"pain frequency 2, numeric 4, treated", "091", 4,
       {Set(&R::g_pain_frequency_091, '2'), Set(&R::g_pain_treatment_091, '1'),
        Set(&R::g_pain_numeric_scale, 4)}, "3D", "A31"},
      {"pain frequency 2, numeric 4, untreated", "091", 4,
       {Set(&R::g_pain_frequency_091, '2'), Set(&R::g_pain_numeric_scale, 4)}, "7A", "A71"},
      {"pain frequency 1 with cancer-pain treatment", "091", 4,
       {Set(&R::g_pain_frequency_091, '1'), Set(&R::g_cancer_pain_treatment_091, '1')},
       "3E", "A31"},
      {"the cancer-pain treatment of the 090 layout is ignored", "091", 4,
       {Set(&R::g_pain_frequency_091, '1'), Set(&R::g_cancer_pain_treatment_090, '1')},
       "7A", "A71"},
      {"intravenous medication on 3 days", "091", 4,
       {Set(&R::k_iv_medication, '1'), Set(&R::k_iv_medication_days, 3)}, "3F", "A31"},
      {"intravenous medication on 2 days", "091", 4,
       {Set(&R::k_iv_medication, '1'), Set(&R::k_iv_medication_days, 2)}, "7A", "A71"},
      {"nebuliser", "091", 4, {Set(&R::k_nebulizer, '1')}, "3G", "A31"},
      {"open lesion with other dressing", "091", 4,
       {Set(&R::i_open_lesions, '1'), Set(&R::i_other_dressing, '1')}, "3H", "A31"},
      {"post-surgery stoma care", "091", 4,
       {Set(&R::g_stoma_care_post_surgery_091, '1'), Set(&R::k_urinary_stoma_care, '1')},
       "3I", "A31"},
      {"the post-surgery item of the 090 layout is ignored: 6B", "091", 4,
       {Set(&R::g_stoma_care_post_surgery_090, '1'), Set(&R::k_urinary_stoma_care, '1')},
       "6B", "A61"},
      {"complicated stoma care", "091", 4,
       {Set(&R::g_stoma_care_complication_091, '1'), Set(&R::k_bowel_stoma_care, '1')},
       "3J", "A31"},
      {"toileting with a 7-day voiding diary", "091", 4,
       {Set(&R::e_intermittent_catheter, '1'), Set(&R::e_voiding_diary, '1'),
        Set(&R::e_voiding_diary_days, 7)}, "3K", "A31"},
      {"toileting with a 6-day voiding diary", "091", 4,
       {Set(&R::e_intermittent_catheter, '1'), Set(&R::e_voiding_diary, '1'),
        Set(&R::e_voiding_diary_days, 6)}, "7A", "A71"},
      {"dementia, wandering 3, behaviour drugs", "092", 4,
       {kDementia, Set(&R::c_wandering, '3'), Set(&R::j_behaviour_drug_treatment, '1')},
       "3L", "A31"},
      // Set F.
      {"dementia, sleep behaviour 3, dementia drugs", "091", 4,
       {kDementia, Set(&R::c_sleep_behaviour, '3'), Set(&R::j_dementia_drug, '1')}, "6A", "A61"},
      {"dementia, aberrant motor 2, no dementia drugs", "091", 4,
       {kDementia, Set(&R::c_aberrant_motor, '2')}, "7A", "A71"},
      {"ADL 6 with 2 days of rehabilitation", "013", 6, {Set(&R::k_rehab_days, 2)}, "6C", "A61"},
  };
  // clang-format on
  RunCases(cases);
}

// Each entry of the neurological lists: at 18 and more it is set B's "2A", at
// 11 to 17 set C's "3A", in every family group.
TEST(CriteriaSets, NeurologicalListEntries) {
  const struct {
    const char* name;
    std::vector<Change> changes;
  } entries[] = {
      {"cerebral palsy", {Set(&R::f_cerebral_palsy, '1')}},
      {"spinal cord injury with paraplegia",
       {Set(&R::f_spinal_cord_injury, '1'), Set(&R::f_paraplegia, '1')}},
      {"hemiplegia", {Set(&R::f_hemiplegia, '1')}},
      {"parkinsons", {Set(&R::f_parkinsons, '1')}},
      {"myasthenia", {Set(&R::f_myasthenia, '1')}},
      {"primary muscle disorder", {Set(&R::f_primary_muscle_disorder, '1')}},
      {"huntingtons", {Set(&R::f_huntingtons, '1')}},
      {"hereditary ataxia", {Set(&R::f_hereditary_ataxia, '1')}},
      {"spinal muscular atrophy", {Set(&R::f_spinal_muscular_atrophy, '1')}},
      {"systemic atrophy", {Set(&R::f_systemic_atrophy, '1')}},
      {"progressive supranuclear palsy", {Set(&R::f_progressive_supranuclear_palsy, '1')}},
      {"atypical virus infection", {Set(&R::f_atypical_virus_infection, '1')}},
      {"subacute necrotising encephalopathy",
       {Set(&R::f_subacute_necrotising_encephalopathy, '1')}},
  };
  std::vector<Case> cases;
  for (const char* version : {"123", "089", "090", "091", "092"}) {
    const bool early = IsEarly(FamilyOf(version));
    for (const auto& entry : entries) {
      cases.push_back({entry.name, version, 18, entry.changes, "2A", "A21"});
      cases.push_back({entry.name, version, 14, entry.changes, "3A", early ? "A32" : "A31"});
    }
  }
  RunCases(cases);
}

}  // namespace
}  // namespace grouper
