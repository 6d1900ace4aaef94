// Faults: a faulty record is its clean self with exactly one deliberate
// fault, drawn by kind and then among the faults of that kind that fit the
// record (a needless date only where a date must be absent, a dressing site
// without a dressing only where there is none). Most faults change the record
// before it is written; a non-digit and a wrong length change the written line.
#include <iterator>
#include <string>
#include <vector>

#include "record/input_layout.h"
#include "record_writer.h"
#include "sample_draft.h"

namespace grouper::sample {

namespace {

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
  // Sized by the layout, which may grow: a fixed array would be overrun.
  std::vector<const LayoutItem*> tested;
  for (const LayoutItem& item : InputLayout()) {
    if (item.parse_message.text != nullptr && item.StartIn(family) >= 0) tested.push_back(&item);
  }
  const LayoutItem& item = *tested[Uniform(g, 0, static_cast<int>(tested.size()) - 1)];
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

}  // namespace

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

void DrawFaultyLine(Random& g, Draft& d, SampleLine& out) {
  out.fault = static_cast<FaultKind>(Uniform(g, 1, kFaultKindCount));
  if (out.fault == FaultKind::kNonDigit || out.fault == FaultKind::kWrongLength) {
    out.text = ComposeRecordLine(d.r);
    out.fault_detail = out.fault == FaultKind::kNonDigit ? NonDigitFault(g, d.family, out.text)
                                                         : WrongLengthFault(g, d.family, out.text);
    return;
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
}

}  // namespace grouper::sample
