// Every criterion of sets A to F, family group by family group: each case
// changes a valid record, classifies it and compares the whole criteria table
// (all codes recorded, in slot order) and the group code.
#include <gtest/gtest.h>

#include <span>

#include "classify/classification_testing.h"
#include "classify/classifier.h"
#include "support/record_builder.h"

namespace grouper {
namespace {

using testing::Classify;
using testing::RecordedCodes;
using testing::SetAdl;
using testing::ValidRecord;
using Rec = AssessmentRecord&;

struct Case {
  const char* name;
  const char* version;
  void (*change)(Rec);
  const char* codes;  // the criteria table after classification
  const char* group_code;
};

void RunCases(std::span<const Case> cases) {
  for (const Case& c : cases) {
    AssessmentRecord r = ValidRecord(c.version);
    c.change(r);
    const testing::Classified out = Classify(r);
    EXPECT_EQ(out.result, 0) << c.name;
    EXPECT_EQ(RecordedCodes(out.state), c.codes) << c.version << ": " << c.name;
    EXPECT_EQ(out.code, c.group_code) << c.version << ": " << c.name;
  }
}

void TwoSkinTreatments(Rec r) {
  r.i_pressure_relief_device = '1';
  r.i_turning_repositioning = '1';
}

void Coma(Rec r) {
  r.b_coma = '1';
  SetAdl(r, 20);
}

void FootDiabetes(Rec r) {
  r.f_diabetes = '1';
  r.i_foot_infection = '1';
  r.i_other_dressing_foot = '1';
}

void DementiaWandering(Rec r) {
  r.f_dementia = '1';
  r.c_wandering = '3';
  r.j_behaviour_drug_treatment = '1';
}

// The stored saturation and days of oxygen therapy of the families from 091.
void Oxygen(Rec r, float saturation, int days) {
  r.k_oxygen_therapy = '1';
  r.k_oxygen_saturation = saturation;
  r.k_oxygen_days = days;
}

TEST(CriteriaSets, EarlyFamilies) {
  const Case cases[] = {
      {"nothing applies", "089", [](Rec) {}, "7A", "A73"},
      // Set A.
      {"coma, scored items dependent", "089", Coma, "1A", "A12"},
      {"coma, code 8 counts as dependent", "089",
       [](Rec r) {
         r.b_coma = '1';
         r.d_adl_eating = r.d_adl_transferring = '8';
         r.d_adl_changing_position = r.d_adl_toilet_use = '4';
       },
       "1A", "A12"},
      {"coma with one scored item at 3", "089",
       [](Rec r) {
         Coma(r);
         r.d_adl_toilet_use = '3';
       },
       "7A", "A71"},
      {"internal bleeding wins over ventilator", "089",
       [](Rec r) {
         SetAdl(r, 15);
         r.g_internal_bleeding = r.k_ventilator = '1';
       },
       "1B", "A12"},
      {"central venous nutrition at 11", "089",
       [](Rec r) {
         SetAdl(r, 11);
         r.k_central_venous_nutrition = '1';
       },
       "1C", "A12"},
      {"ventilator at 11", "089",
       [](Rec r) {
         SetAdl(r, 11);
         r.k_ventilator = '1';
       },
       "1D", "A12"},
      {"ventilator at 12: set B stops before 2N", "089",
       [](Rec r) {
         SetAdl(r, 12);
         r.k_ventilator = '1';
       },
       "1D", "A12"},
      {"ventilator at 10: set A not met, 2N", "089",
       [](Rec r) {
         SetAdl(r, 10);
         r.k_ventilator = '1';
       },
       "2N", "A22"},
      {"internal bleeding at 4: 2N", "089", [](Rec r) { r.g_internal_bleeding = '1'; }, "2N",
       "A23"},
      {"central venous nutrition at 10: 2N", "010",
       [](Rec r) {
         SetAdl(r, 10);
         r.k_central_venous_nutrition = '1';
       },
       "2N", "A22"},
      // Set B.
      {"quadriplegia alone at 18: 2B, not 2A", "089",
       [](Rec r) {
         SetAdl(r, 18);
         r.f_quadriplegia = '1';
       },
       "2B", "A21"},
      {"spinal cord injury with quadriplegia at 18", "089",
       [](Rec r) {
         SetAdl(r, 18);
         r.f_quadriplegia = r.f_spinal_cord_injury = '1';
       },
       "2A", "A21"},
      {"multiple sclerosis at 18", "089",
       [](Rec r) {
         SetAdl(r, 18);
         r.f_multiple_sclerosis = '1';
       },
       "2A", "A21"},
      {"multiple sclerosis at 17", "089",
       [](Rec r) {
         SetAdl(r, 17);
         r.f_multiple_sclerosis = '1';
       },
       "2B 3A", "A21"},
      {"multiple sclerosis at 11", "089",
       [](Rec r) {
         SetAdl(r, 11);
         r.f_multiple_sclerosis = '1';
       },
       "2B 3A", "A22"},
      {"multiple sclerosis at 10", "089",
       [](Rec r) {
         SetAdl(r, 10);
         r.f_multiple_sclerosis = '1';
       },
       "7A", "A72"},
      {"paraplegia alone at 18", "089",
       [](Rec r) {
         SetAdl(r, 18);
         r.f_paraplegia = '1';
       },
       "7A", "A71"},
      {"spinal cord injury alone at 18", "089",
       [](Rec r) {
         SetAdl(r, 18);
         r.f_spinal_cord_injury = '1';
       },
       "7A", "A71"},
      {"cerebrovascular disease at 18", "089",
       [](Rec r) {
         SetAdl(r, 18);
         r.f_cerebrovascular_disease = '1';
       },
       "7A", "A71"},
      {"AIDS at 20 in 089", "089",
       [](Rec r) {
         SetAdl(r, 20);
         r.f_aids = '1';
       },
       "2A", "A21"},
      {"AIDS at 20 in 010", "010",
       [](Rec r) {
         SetAdl(r, 20);
         r.f_aids = '1';
       },
       "2A", "A21"},
      {"base layout: the AIDS position is F.1's none-applies", "123",
       [](Rec r) {
         SetAdl(r, 20);
         r.f_aids = '1';
       },
       "7A", "A71"},
      {"two stage-2 pressure ulcers, two treatments", "089",
       [](Rec r) {
         r.i_pressure_ulcer_stage2 = 2;
         TwoSkinTreatments(r);
       },
       "2C", "A23"},
      {"two stage-2 stasis ulcers, two treatments", "089",
       [](Rec r) {
         r.i_stasis_ulcer_stage2 = 2;
         TwoSkinTreatments(r);
       },
       "2C", "A23"},
      {"two stage-2 ulcers, one treatment", "089",
       [](Rec r) {
         r.i_pressure_ulcer_stage2 = 2;
         r.i_ulcer_dressing = '1';
       },
       "7A", "A73"},
      {"one and three stage-2 ulcers: 2C and 3B", "089",
       [](Rec r) {
         r.i_pressure_ulcer_stage2 = 1;
         r.i_stasis_ulcer_stage2 = 3;
         TwoSkinTreatments(r);
       },
       "2C 3B", "A23"},
      {"stage-3 ulcer; skin nutrition counts with an ulcer", "089",
       [](Rec r) {
         r.i_pressure_ulcer_stage3 = 1;
         r.i_ulcer_dressing = r.i_skin_nutrition_hydration = '1';
       },
       "2D", "A23"},
      {"stage-4 stasis ulcer, two treatments", "089",
       [](Rec r) {
         r.i_stasis_ulcer_stage4 = 1;
         TwoSkinTreatments(r);
       },
       "2D", "A23"},
      {"stage-4 ulcer, one treatment", "089",
       [](Rec r) {
         r.i_pressure_ulcer_stage4 = 1;
         r.i_turning_repositioning = '1';
       },
       "7A", "A73"},
      {"fever with dehydration", "089", [](Rec r) { r.g_fever = r.g_dehydration = '1'; }, "2E",
       "A23"},
      {"fever with vomiting", "089", [](Rec r) { r.g_fever = r.g_vomiting = '1'; }, "2E", "A23"},
      {"fever with weight loss", "089", [](Rec r) { r.g_fever = r.h_weight_loss = '1'; }, "2E",
       "A23"},
      {"fever with qualifying tube feeding: 2E before 2H", "089",
       [](Rec r) {
         r.g_fever = r.h_tube_feeding = '1';
         r.h_calorie_intake = '3';
       },
       "2E", "A23"},
      {"fever alone", "089", [](Rec r) { r.g_fever = '1'; }, "7A", "A73"},
      {"burns", "089", [](Rec r) { r.i_burns = '1'; }, "2F", "A23"},
      {"burns and tracheostomy: the first row wins", "089",
       [](Rec r) { r.i_burns = r.k_tracheostomy_care = '1'; }, "2F", "A23"},
      {"severe pain 2", "089", [](Rec r) { r.g_pain_severe = '2'; }, "2G", "A23"},
      {"severe pain 1", "089", [](Rec r) { r.g_pain_severe = '1'; }, "7A", "A73"},
      {"tube feeding, calories 4", "089",
       [](Rec r) {
         r.h_tube_feeding = '1';
         r.h_calorie_intake = '4';
       },
       "2H", "A23"},
      {"parenteral nutrition, calories 2, fluids 2", "089",
       [](Rec r) {
         r.h_parenteral_nutrition = '1';
         r.h_calorie_intake = r.h_fluid_intake = '2';
       },
       "2H", "A23"},
      {"parenteral nutrition, calories 2, fluids 1", "089",
       [](Rec r) {
         r.h_parenteral_nutrition = '1';
         r.h_calorie_intake = '2';
         r.h_fluid_intake = '1';
       },
       "7A", "A73"},
      {"suctioning", "089", [](Rec r) { r.k_suctioning = '1'; }, "2I", "A23"},
      {"tracheostomy care", "089", [](Rec r) { r.k_tracheostomy_care = '1'; }, "2J", "A23"},
      {"diabetic foot infection with dressing", "089", FootDiabetes, "2K", "A23"},
      {"diabetic open foot lesion with dressing: 2K and 3G", "089",
       [](Rec r) { r.f_diabetes = r.i_open_lesions_foot = r.i_other_dressing_foot = '1'; }, "2K 3G",
       "A23"},
      {"foot infection with dressing, no diabetes", "089",
       [](Rec r) {
         FootDiabetes(r);
         r.f_diabetes = '0';
       },
       "7A", "A73"},
      {"transfusion", "089", [](Rec r) { r.k_transfusion = '1'; }, "2L", "A23"},
      {"oxygen therapy", "089", [](Rec r) { r.k_oxygen_therapy = '1'; }, "2M", "A23"},
      // Set C.
      {"hemiplegia at 17", "089",
       [](Rec r) {
         SetAdl(r, 17);
         r.f_hemiplegia = '1';
       },
       "3A", "A31"},
      {"hemiplegia at 11", "089",
       [](Rec r) {
         SetAdl(r, 11);
         r.f_hemiplegia = '1';
       },
       "3A", "A32"},
      {"hemiplegia at 10", "089",
       [](Rec r) {
         SetAdl(r, 10);
         r.f_hemiplegia = '1';
       },
       "7A", "A72"},
      {"one stage-2 stasis ulcer, two treatments", "089",
       [](Rec r) {
         r.i_stasis_ulcer_stage2 = 1;
         TwoSkinTreatments(r);
       },
       "3B", "A33"},
      {"one stage-2 ulcer; skin nutrition without a problem", "089",
       [](Rec r) {
         r.i_pressure_ulcer_stage2 = 1;
         r.i_ulcer_dressing = r.i_skin_nutrition_hydration = '1';
       },
       "3B", "A33"},
      {"diabetes with injections 2", "089",
       [](Rec r) {
         r.f_diabetes = '1';
         r.j_injection_count = '2';
       },
       "3C", "A33"},
      {"diabetes with injections 1", "089",
       [](Rec r) {
         r.f_diabetes = '1';
         r.j_injection_count = '1';
       },
       "7A", "A73"},
      {"mild pain 2", "089", [](Rec r) { r.g_pain_mild = '2'; }, "3D", "A33"},
      {"moderate pain 2", "089", [](Rec r) { r.g_pain_moderate = '2'; }, "3D", "A33"},
      {"intravenous medication", "089", [](Rec r) { r.k_iv_medication = '1'; }, "3E", "A33"},
      {"other-site lesion with dressing and nebuliser: 3G before 3F", "089",
       [](Rec r) { r.i_open_lesions_other = r.i_other_dressing_other = r.k_nebulizer = '1'; }, "3G",
       "A33"},
      {"surgical wound with care", "089",
       [](Rec r) { r.i_surgical_wound = r.i_surgical_wound_care = '1'; }, "3G", "A33"},
      {"surgical wound without care", "089", [](Rec r) { r.i_surgical_wound = '1'; }, "7A", "A73"},
      {"bowel stoma care", "089", [](Rec r) { r.k_bowel_stoma_care = '1'; }, "3H", "A33"},
      {"feeding stoma care", "089", [](Rec r) { r.k_feeding_stoma_care = '1'; }, "3H", "A33"},
      {"urinary stoma care and nebuliser: 3H before 3F", "089",
       [](Rec r) { r.k_urinary_stoma_care = r.k_nebulizer = '1'; }, "3H", "A33"},
      {"nebuliser", "089", [](Rec r) { r.k_nebulizer = '1'; }, "3F", "A33"},
      {"scheduled toileting", "089", [](Rec r) { r.e_scheduled_toileting = '1'; }, "3I", "A33"},
      {"bladder retraining", "089", [](Rec r) { r.e_bladder_retraining = '1'; }, "3I", "A33"},
      {"intermittent catheter", "089", [](Rec r) { r.e_intermittent_catheter = '1'; }, "3I", "A33"},
      // Sets D and E, which run E before D; the letter is still D.
      {"agitation 2", "089", [](Rec r) { r.c_agitation = '2'; }, "4A", "A41"},
      {"delusions 3", "089", [](Rec r) { r.c_delusions = '3'; }, "4A", "A41"},
      {"all six symptoms 1", "089",
       [](Rec r) {
         r.c_delusions = r.c_hallucinations = r.c_agitation = '1';
         r.c_disinhibition = r.c_care_resistance = r.c_wandering = '1';
       },
       "7A", "A73"},
      {"K-MMSE 19", "089",
       [](Rec r) {
         r.c_kmmse_done = '1';
         r.c_kmmse_score = 19;
       },
       "5A", "A51"},
      {"K-MMSE 0", "089",
       [](Rec r) {
         r.c_kmmse_done = '1';
         r.c_kmmse_score = 0;
       },
       "5A", "A51"},
      {"K-MMSE 20", "089",
       [](Rec r) {
         r.c_kmmse_done = '1';
         r.c_kmmse_score = 20;
       },
       "7A", "A73"},
      {"K-MMSE -1", "089",
       [](Rec r) {
         r.c_kmmse_done = '1';
         r.c_kmmse_score = -1;
       },
       "7A", "A73"},
      {"K-MMSE 10 not done", "089", [](Rec r) { r.c_kmmse_score = 10; }, "7A", "A73"},
      {"wandering 2 and K-MMSE 10", "089",
       [](Rec r) {
         r.c_wandering = '2';
         r.c_kmmse_done = '1';
         r.c_kmmse_score = 10;
       },
       "4A 5A", "A41"},
      // Set F.
      {"ADL 6 with 2 days of rehabilitation", "089",
       [](Rec r) {
         SetAdl(r, 6);
         r.k_rehab_days = 2;
       },
       "6A", "A62"},
      {"ADL 5 with 7 days of rehabilitation", "089",
       [](Rec r) {
         SetAdl(r, 5);
         r.k_rehab_days = 7;
       },
       "7A", "A73"},
      {"ADL 6 with 1 day of rehabilitation", "089",
       [](Rec r) {
         SetAdl(r, 6);
         r.k_rehab_days = 1;
       },
       "7A", "A72"},
      {"stoma care and rehabilitation: 3H, no 6B in early families", "089",
       [](Rec r) {
         SetAdl(r, 13);
         r.k_rehab_days = 3;
         r.k_urinary_stoma_care = '1';
       },
       "3H 6A", "A32"},
      // Codes that are none of the eight versions take the early rules.
      {"version text 001", "123",
       [](Rec r) {
         std::memcpy(r.form_version, "001", 4);
         r.k_oxygen_therapy = '1';
       },
       "2M", "A23"},
  };
  RunCases(cases);
}

TEST(CriteriaSets, Family090) {
  const Case cases[] = {
      {"nothing applies", "090", [](Rec) {}, "7A", "A71"},
      // Set A.
      {"ventilator at 11", "090",
       [](Rec r) {
         SetAdl(r, 11);
         r.k_ventilator = r.k_ventilator_hospital = '1';
       },
       "1A", "A11"},
      {"ventilator at 12 in 011: set B stops before 2J", "011",
       [](Rec r) {
         SetAdl(r, 12);
         r.k_ventilator = r.k_ventilator_personal = '1';
       },
       "1A", "A11"},
      {"coma, scored items dependent", "090", Coma, "1B", "A11"},
      {"central venous nutrition at 11", "090",
       [](Rec r) {
         SetAdl(r, 11);
         r.k_central_venous_nutrition = '1';
       },
       "1C", "A11"},
      {"ventilator at 10: 2J", "090",
       [](Rec r) {
         SetAdl(r, 10);
         r.k_ventilator = r.k_ventilator_hospital = '1';
       },
       "2J", "A21"},
      {"central venous nutrition at 4: 2J", "090",
       [](Rec r) { r.k_central_venous_nutrition = '1'; }, "2J", "A21"},
      {"internal bleeding is no criterion", "090",
       [](Rec r) {
         SetAdl(r, 15);
         r.g_internal_bleeding = '1';
       },
       "7A", "A71"},
      // Set B.
      {"quadriplegia alone at 18", "090",
       [](Rec r) {
         SetAdl(r, 18);
         r.f_quadriplegia = '1';
       },
       "2A", "A21"},
      {"AIDS at 18", "090",
       [](Rec r) {
         SetAdl(r, 18);
         r.f_aids = '1';
       },
       "2A", "A21"},
      {"stage-3 ulcer, two treatments", "090",
       [](Rec r) {
         r.i_stasis_ulcer_stage3 = 2;
         TwoSkinTreatments(r);
       },
       "2B", "A21"},
      {"fever with work-up and vomiting", "090",
       [](Rec r) { r.g_fever = r.g_fever_workup = r.g_vomiting = '1'; }, "2C", "A21"},
      {"fever with vomiting, no work-up", "090", [](Rec r) { r.g_fever = r.g_vomiting = '1'; },
       "7A", "A71"},
      {"burns", "090", [](Rec r) { r.i_burns = '1'; }, "2D", "A21"},
      {"pain frequency 2, visual 7", "090",
       [](Rec r) {
         r.g_pain_frequency_090 = '2';
         r.g_pain_visual_scale = 7;
       },
       "2E 3D", "A21"},
      {"pain frequency 2, numeric 7", "090",
       [](Rec r) {
         r.g_pain_frequency_090 = '2';
         r.g_pain_numeric_scale = 7;
       },
       "2E 3D", "A21"},
      {"pain frequency 2, faces 4", "090",
       [](Rec r) {
         r.g_pain_frequency_090 = '2';
         r.g_pain_faces_scale = 4;
       },
       "2E 3D", "A21"},
      {"tube feeding, calories 2, fluids 5", "090",
       [](Rec r) {
         r.h_tube_feeding = '1';
         r.h_calorie_intake = '2';
         r.h_fluid_intake = '5';
       },
       "2F", "A21"},
      {"parenteral nutrition is no criterion", "090",
       [](Rec r) {
         r.h_parenteral_nutrition = '1';
         r.h_calorie_intake = '3';
       },
       "7A", "A71"},
      {"tracheostomy care", "090", [](Rec r) { r.k_tracheostomy_care = '1'; }, "2G", "A21"},
      {"diabetic foot at 9", "090",
       [](Rec r) {
         SetAdl(r, 9);
         FootDiabetes(r);
       },
       "2H", "A21"},
      {"diabetic foot at 8", "090",
       [](Rec r) {
         SetAdl(r, 8);
         FootDiabetes(r);
       },
       "7A", "A71"},
      {"diabetic foot at 4", "090", FootDiabetes, "7A", "A71"},
      {"oxygen therapy, no saturation test", "090", [](Rec r) { Oxygen(r, 95.0f, 1); }, "2I",
       "A21"},
      {"suctioning is no criterion", "090", [](Rec r) { r.k_suctioning = '1'; }, "7A", "A71"},
      {"transfusion is no criterion", "090", [](Rec r) { r.k_transfusion = '1'; }, "7A", "A71"},
      // Set C.
      {"quadriplegia at 11", "090",
       [](Rec r) {
         SetAdl(r, 11);
         r.f_quadriplegia = '1';
       },
       "3A", "A31"},
      {"hemiplegia at 17", "090",
       [](Rec r) {
         SetAdl(r, 17);
         r.f_hemiplegia = '1';
       },
       "3A", "A31"},
      {"multiple sclerosis at 14: no 2B from 090", "090",
       [](Rec r) {
         SetAdl(r, 14);
         r.f_multiple_sclerosis = '1';
       },
       "3A", "A31"},
      {"two stage-2 ulcers, two treatments", "090",
       [](Rec r) {
         r.i_pressure_ulcer_stage2 = 2;
         TwoSkinTreatments(r);
       },
       "3B", "A31"},
      {"diabetes, glucose checked, injections 2", "090",
       [](Rec r) {
         r.f_diabetes = r.f_glucose_check_done = '1';
         r.j_injection_count = '2';
       },
       "3C", "A31"},
      {"diabetes, injections 2, no glucose check", "090",
       [](Rec r) {
         r.f_diabetes = '1';
         r.j_injection_count = '2';
       },
       "7A", "A71"},
      {"pain frequency 2, visual 4", "090",
       [](Rec r) {
         r.g_pain_frequency_090 = '2';
         r.g_pain_visual_scale = 4;
       },
       "3D", "A31"},
      {"pain frequency 2, faces 3", "090",
       [](Rec r) {
         r.g_pain_frequency_090 = '2';
         r.g_pain_faces_scale = 3;
       },
       "3D", "A31"},
      {"pain frequency 1, visual 9", "090",
       [](Rec r) {
         r.g_pain_frequency_090 = '1';
         r.g_pain_visual_scale = 9;
       },
       "7A", "A71"},
      {"pain frequency 1 with cancer-pain treatment", "090",
       [](Rec r) {
         r.g_pain_frequency_090 = '1';
         r.g_cancer_pain_treatment_090 = '1';
       },
       "3E", "A31"},
      {"cancer-pain treatment without pain", "090",
       [](Rec r) { r.g_cancer_pain_treatment_090 = '1'; }, "7A", "A71"},
      {"intravenous medication", "090", [](Rec r) { r.k_iv_medication = '1'; }, "3F", "A31"},
      {"nebuliser", "090", [](Rec r) { r.k_nebulizer = '1'; }, "3G", "A31"},
      {"surgical wound with care", "090",
       [](Rec r) { r.i_surgical_wound = r.i_surgical_wound_care = '1'; }, "3H", "A31"},
      {"open lesion with other dressing", "090",
       [](Rec r) { r.i_open_lesions = r.i_other_dressing = '1'; }, "3H", "A31"},
      {"post-surgery stoma care: 3I, no 6B", "090",
       [](Rec r) { r.g_stoma_care_post_surgery_090 = r.k_bowel_stoma_care = '1'; }, "3I", "A31"},
      {"complicated stoma care", "090",
       [](Rec r) { r.g_stoma_care_complication_090 = r.k_feeding_stoma_care = '1'; }, "3J", "A31"},
      {"toileting with voiding diary", "090",
       [](Rec r) { r.e_bladder_retraining = r.e_voiding_diary = '1'; }, "3K", "A31"},
      {"toileting without voiding diary", "090", [](Rec r) { r.e_scheduled_toileting = '1'; }, "7A",
       "A71"},
      {"dementia, wandering 3, behaviour drugs", "090", DementiaWandering, "3L", "A31"},
      {"dementia, wandering 3, no behaviour drugs", "090",
       [](Rec r) {
         DementiaWandering(r);
         r.j_behaviour_drug_treatment = '0';
       },
       "7A", "A71"},
      {"wandering 3 with drugs, no dementia", "090",
       [](Rec r) {
         DementiaWandering(r);
         r.f_dementia = '0';
       },
       "7A", "A71"},
      // Set F; sets D and E do not run.
      {"dementia, anxiety 2, dementia drugs", "090",
       [](Rec r) {
         r.f_dementia = r.j_dementia_drug = '1';
         r.c_anxiety = '2';
       },
       "6A", "A61"},
      {"dementia, agitation 3, dementia drugs", "090",
       [](Rec r) {
         r.f_dementia = r.j_dementia_drug = '1';
         r.c_agitation = '3';
       },
       "7A", "A71"},
      {"urinary stoma care alone", "090", [](Rec r) { r.k_urinary_stoma_care = '1'; }, "6B", "A61"},
      {"stoma care at 20 with rehabilitation: 6B first", "090",
       [](Rec r) {
         SetAdl(r, 20);
         r.k_rehab_days = 7;
         r.k_bowel_stoma_care = '1';
       },
       "6B", "A61"},
      {"stoma care with set B met", "090",
       [](Rec r) {
         r.k_feeding_stoma_care = '1';
         r.k_tracheostomy_care = '1';
       },
       "2G", "A21"},
      {"ADL 6 with 2 days of rehabilitation", "090",
       [](Rec r) {
         SetAdl(r, 6);
         r.k_rehab_days = 2;
       },
       "6C", "A61"},
      {"ADL 5 with 7 days of rehabilitation", "090",
       [](Rec r) {
         SetAdl(r, 5);
         r.k_rehab_days = 7;
       },
       "7A", "A71"},
      {"agitation 2 and K-MMSE 10: no set D or E", "090",
       [](Rec r) {
         r.c_agitation = '2';
         r.c_kmmse_done = '1';
         r.c_kmmse_score = 10;
       },
       "7A", "A71"},
  };
  RunCases(cases);
}

TEST(CriteriaSets, FamiliesFrom091) {
  const Case cases[] = {
      {"nothing applies", "091", [](Rec r) { SetAdl(r, 20); }, "7A", "A71"},
      // Set A.
      {"ventilator at 11", "091",
       [](Rec r) {
         SetAdl(r, 11);
         r.k_ventilator_091 = r.k_ventilator_personal_091 = '1';
       },
       "1A", "A11"},
      {"coma, scored items dependent", "092", Coma, "1B", "A11"},
      {"central venous nutrition at 11", "013",
       [](Rec r) {
         SetAdl(r, 11);
         r.k_central_venous_nutrition_091 = '1';
       },
       "1C", "A11"},
      {"ventilator at 10: 2J", "091",
       [](Rec r) {
         SetAdl(r, 10);
         r.k_ventilator_091 = r.k_ventilator_hospital_091 = '1';
       },
       "2J", "A21"},
      {"central venous nutrition at 4: 2J", "012",
       [](Rec r) { r.k_central_venous_nutrition_091 = '1'; }, "2J", "A21"},
      {"the fields of the older layouts are ignored", "091",
       [](Rec r) {
         SetAdl(r, 11);
         r.k_ventilator = r.k_central_venous_nutrition = '1';
       },
       "7A", "A71"},
      // Set B.
      {"quadriplegia alone at 18", "091",
       [](Rec r) {
         SetAdl(r, 18);
         r.f_quadriplegia = '1';
       },
       "2A", "A21"},
      {"stage-4 ulcer, two treatments", "091",
       [](Rec r) {
         r.i_pressure_ulcer_stage4 = 1;
         TwoSkinTreatments(r);
       },
       "2B", "A21"},
      {"fever with work-up for 3 days and dehydration", "091",
       [](Rec r) {
         r.g_fever = r.g_fever_workup = r.g_dehydration = '1';
         r.g_fever_days = 3;
       },
       "2C", "A21"},
      {"fever with work-up for 2 days", "091",
       [](Rec r) {
         r.g_fever = r.g_fever_workup = r.g_dehydration = '1';
         r.g_fever_days = 2;
       },
       "7A", "A71"},
      {"burns with skin treatment", "091", [](Rec r) { r.i_burns = r.i_skin_treatment_g = '1'; },
       "2D", "A21"},
      {"burns without skin treatment", "091", [](Rec r) { r.i_burns = '1'; }, "7A", "A71"},
      {"pain frequency 2, visual 7, treated", "091",
       [](Rec r) {
         r.g_pain_frequency_091 = '2';
         r.g_pain_treatment_091 = '1';
         r.g_pain_visual_scale = 7;
       },
       "2E 3D", "A21"},
      {"pain frequency 2, visual 7, untreated", "091",
       [](Rec r) {
         r.g_pain_frequency_091 = '2';
         r.g_pain_visual_scale = 7;
       },
       "7A", "A71"},
      {"untreated pain with cancer-pain treatment: 3E", "091",
       [](Rec r) {
         r.g_pain_frequency_091 = '2';
         r.g_pain_visual_scale = 7;
         r.g_cancer_pain_treatment_091 = '1';
       },
       "3E", "A31"},
      {"the pain frequency of the 090 layout is ignored", "091",
       [](Rec r) {
         r.g_pain_frequency_090 = '2';
         r.g_pain_treatment_091 = '1';
         r.g_pain_visual_scale = 7;
       },
       "7A", "A71"},
      {"tube feeding for 7 days", "091",
       [](Rec r) {
         r.h_tube_feeding = '1';
         r.h_calorie_intake = '3';
         r.h_tube_feeding_days = 7;
       },
       "2F", "A21"},
      {"tube feeding for 6 days", "091",
       [](Rec r) {
         r.h_tube_feeding = '1';
         r.h_calorie_intake = '3';
         r.h_tube_feeding_days = 6;
       },
       "7A", "A71"},
      {"tracheostomy care", "092", [](Rec r) { r.k_tracheostomy_care = '1'; }, "2G", "A21"},
      {"diabetic foot at 9", "091",
       [](Rec r) {
         SetAdl(r, 9);
         FootDiabetes(r);
       },
       "2H", "A21"},
      {"diabetic foot at 3", "091",
       [](Rec r) {
         FootDiabetes(r);
         r.d_adl_eating = ' ';
       },
       "2H", "A21"},
      {"oxygen at saturation 90.0 for 7 days", "091", [](Rec r) { Oxygen(r, 90.0f, 7); }, "2I",
       "A21"},
      {"oxygen at saturation 90.1 for 7 days", "091", [](Rec r) { Oxygen(r, 90.1f, 7); }, "7A",
       "A71"},
      {"oxygen at saturation 90.0 for 6 days", "092", [](Rec r) { Oxygen(r, 90.0f, 6); }, "7A",
       "A71"},
      // Set C.
      {"cerebral palsy at 14", "091",
       [](Rec r) {
         SetAdl(r, 14);
         r.f_cerebral_palsy = '1';
       },
       "3A", "A31"},
      {"one stage-2 ulcer, two treatments", "091",
       [](Rec r) {
         r.i_stasis_ulcer_stage2 = 1;
         TwoSkinTreatments(r);
       },
       "3B", "A31"},
      {"diabetes, glucose checked, injections 2", "091",
       [](Rec r) {
         r.f_diabetes = r.f_glucose_check_done = '1';
         r.j_injection_count = '2';
       },
       "3C", "A31"},
      {"pain frequency 2, numeric 4, treated", "091",
       [](Rec r) {
         r.g_pain_frequency_091 = '2';
         r.g_pain_treatment_091 = '1';
         r.g_pain_numeric_scale = 4;
       },
       "3D", "A31"},
      {"pain frequency 2, numeric 4, untreated", "091",
       [](Rec r) {
         r.g_pain_frequency_091 = '2';
         r.g_pain_numeric_scale = 4;
       },
       "7A", "A71"},
      {"pain frequency 1 with cancer-pain treatment", "091",
       [](Rec r) { r.g_pain_frequency_091 = r.g_cancer_pain_treatment_091 = '1'; }, "3E", "A31"},
      {"the cancer-pain treatment of the 090 layout is ignored", "091",
       [](Rec r) { r.g_pain_frequency_091 = r.g_cancer_pain_treatment_090 = '1'; }, "7A", "A71"},
      {"intravenous medication on 3 days", "091",
       [](Rec r) {
         r.k_iv_medication = '1';
         r.k_iv_medication_days = 3;
       },
       "3F", "A31"},
      {"intravenous medication on 2 days", "091",
       [](Rec r) {
         r.k_iv_medication = '1';
         r.k_iv_medication_days = 2;
       },
       "7A", "A71"},
      {"nebuliser", "091", [](Rec r) { r.k_nebulizer = '1'; }, "3G", "A31"},
      {"open lesion with other dressing", "091",
       [](Rec r) { r.i_open_lesions = r.i_other_dressing = '1'; }, "3H", "A31"},
      {"post-surgery stoma care", "091",
       [](Rec r) { r.g_stoma_care_post_surgery_091 = r.k_urinary_stoma_care = '1'; }, "3I", "A31"},
      {"the post-surgery item of the 090 layout is ignored: 6B", "091",
       [](Rec r) { r.g_stoma_care_post_surgery_090 = r.k_urinary_stoma_care = '1'; }, "6B", "A61"},
      {"complicated stoma care", "091",
       [](Rec r) { r.g_stoma_care_complication_091 = r.k_bowel_stoma_care = '1'; }, "3J", "A31"},
      {"toileting with a 7-day voiding diary", "091",
       [](Rec r) {
         r.e_intermittent_catheter = r.e_voiding_diary = '1';
         r.e_voiding_diary_days = 7;
       },
       "3K", "A31"},
      {"toileting with a 6-day voiding diary", "091",
       [](Rec r) {
         r.e_intermittent_catheter = r.e_voiding_diary = '1';
         r.e_voiding_diary_days = 6;
       },
       "7A", "A71"},
      {"dementia, wandering 3, behaviour drugs", "092", DementiaWandering, "3L", "A31"},
      // Set F.
      {"dementia, sleep behaviour 3, dementia drugs", "091",
       [](Rec r) {
         r.f_dementia = r.j_dementia_drug = '1';
         r.c_sleep_behaviour = '3';
       },
       "6A", "A61"},
      {"dementia, aberrant motor 2, no dementia drugs", "091",
       [](Rec r) {
         r.f_dementia = '1';
         r.c_aberrant_motor = '2';
       },
       "7A", "A71"},
      {"ADL 6 with 2 days of rehabilitation", "013",
       [](Rec r) {
         SetAdl(r, 6);
         r.k_rehab_days = 2;
       },
       "6C", "A61"},
  };
  RunCases(cases);
}

// Each entry of the neurological lists: at 18 and more it is set B's "2A", at
// 11 to 17 set C's "3A", in every family group.
TEST(CriteriaSets, NeurologicalListEntries) {
  struct Entry {
    const char* name;
    void (*set)(Rec);
  } entries[] = {
      {"cerebral palsy", [](Rec r) { r.f_cerebral_palsy = '1'; }},
      {"spinal cord injury with paraplegia",
       [](Rec r) { r.f_spinal_cord_injury = r.f_paraplegia = '1'; }},
      {"hemiplegia", [](Rec r) { r.f_hemiplegia = '1'; }},
      {"parkinsons", [](Rec r) { r.f_parkinsons = '1'; }},
      {"myasthenia", [](Rec r) { r.f_myasthenia = '1'; }},
      {"primary muscle disorder", [](Rec r) { r.f_primary_muscle_disorder = '1'; }},
      {"huntingtons", [](Rec r) { r.f_huntingtons = '1'; }},
      {"hereditary ataxia", [](Rec r) { r.f_hereditary_ataxia = '1'; }},
      {"spinal muscular atrophy", [](Rec r) { r.f_spinal_muscular_atrophy = '1'; }},
      {"systemic atrophy", [](Rec r) { r.f_systemic_atrophy = '1'; }},
      {"progressive supranuclear palsy", [](Rec r) { r.f_progressive_supranuclear_palsy = '1'; }},
      {"atypical virus infection", [](Rec r) { r.f_atypical_virus_infection = '1'; }},
      {"subacute necrotising encephalopathy",
       [](Rec r) { r.f_subacute_necrotising_encephalopathy = '1'; }},
  };
  for (const char* version : {"123", "089", "090", "091", "092"}) {
    for (const Entry& entry : entries) {
      AssessmentRecord r = ValidRecord(version);
      entry.set(r);
      SetAdl(r, 18);
      EXPECT_EQ(RecordedCodes(Classify(r).state), "2A") << version << ": " << entry.name;
      SetAdl(r, 14);
      EXPECT_EQ(RecordedCodes(Classify(r).state), "3A") << version << ": " << entry.name;
    }
  }
}

}  // namespace
}  // namespace grouper
