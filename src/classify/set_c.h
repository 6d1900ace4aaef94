// Set C: neurological diagnoses at an ADL score of 11 to 17, stage-2 ulcers
// with skin care, injections in diabetes, pain, intravenous medication,
// nebuliser therapy, wound and dressing care, stoma care, bladder programmes
// and, from 090, treated behavioural symptoms of dementia. Set C has no stop
// rows.
#pragma once

#include "classify/criteria.h"

namespace grouper::criteria {

// The early families test nebuliser therapy ("3F") after the dressings ("3G")
// and stoma care ("3H"); the order of the rows is the order of the form's
// table, not of the letters.
inline constexpr Criterion kSetCEarly[] = {
    {"3A", When<All<Between<Adl, 11, 17>, NeurologicalListEarly>>},
    // Exactly one stage-2 ulcer: two or more belong to set B ("2C").
    {"3B",
     When<All<Any<Equals<ITEM(i_pressure_ulcer_stage2), 1>, Equals<ITEM(i_stasis_ulcer_stage2), 1>>,
              AtLeast<SkinCare, 2>>>},
    {"3C", When<All<Yes<ITEM(f_diabetes)>, Is<ITEM(j_injection_count), '2'>>>},
    {"3D", When<Any<Is<ITEM(g_pain_mild), '2'>, Is<ITEM(g_pain_moderate), '2'>>>},
    {"3E", When<Yes<ITEM(k_iv_medication)>>},
    {"3G", When<Any<All<Yes<ITEM(i_open_lesions_foot)>, Yes<ITEM(i_other_dressing_foot)>>,
                    All<Yes<ITEM(i_open_lesions_other)>, Yes<ITEM(i_other_dressing_other)>>,
                    All<Yes<ITEM(i_surgical_wound)>, Yes<ITEM(i_surgical_wound_care)>>>>},
    {"3H", When<AnyStomaCare>},
    {"3F", When<Yes<ITEM(k_nebulizer)>>},
    {"3I", When<ToiletingProgramme>},
};

// The rows that 090 and the families from 091 share.
using NeurologicalFrom090 = All<Between<Adl, 11, 17>, NeurologicalListFrom090>;
using Stage2UlcerFrom090 =
    All<Any<AtLeast<ITEM(i_pressure_ulcer_stage2), 1>, AtLeast<ITEM(i_stasis_ulcer_stage2), 1>>,
        AtLeast<SkinCare, 2>>;
using DiabetesInjectionsFrom090 =
    All<Yes<ITEM(f_diabetes)>, Yes<ITEM(f_glucose_check_done)>, Is<ITEM(j_injection_count), '2'>>;
using WoundCareFrom090 = Any<All<Yes<ITEM(i_surgical_wound)>, Yes<ITEM(i_surgical_wound_care)>>,
                             All<Yes<ITEM(i_open_lesions)>, Yes<ITEM(i_other_dressing)>>>;

inline constexpr Criterion kSetC090[] = {
    {"3A", When<NeurologicalFrom090>},
    {"3B", When<Stage2UlcerFrom090>},
    {"3C", When<DiabetesInjectionsFrom090>},
    {"3D", When<All<Is<ITEM(g_pain_frequency_090), '2'>, ModeratePainGrade>>},
    {"3E",
     When<All<Is<ITEM(g_pain_frequency_090), '1', '2'>, Yes<ITEM(g_cancer_pain_treatment_090)>>>},
    {"3F", When<Yes<ITEM(k_iv_medication)>>},
    {"3G", When<Yes<ITEM(k_nebulizer)>>},
    {"3H", When<WoundCareFrom090>},
    {"3I", When<All<Yes<ITEM(g_stoma_care_post_surgery_090)>, AnyStomaCare>>},
    {"3J", When<All<Yes<ITEM(g_stoma_care_complication_090)>, AnyStomaCare>>},
    {"3K", When<All<ToiletingProgramme, Yes<ITEM(e_voiding_diary)>>>},
    {"3L", When<TreatedBehaviouralSymptoms>},
};

inline constexpr Criterion kSetC091[] = {
    {"3A", When<NeurologicalFrom090>},
    {"3B", When<Stage2UlcerFrom090>},
    {"3C", When<DiabetesInjectionsFrom090>},
    {"3D", When<All<Is<ITEM(g_pain_frequency_091), '2'>, ModeratePainGrade,
                    Yes<ITEM(g_pain_treatment_091)>>>},
    {"3E",
     When<All<Is<ITEM(g_pain_frequency_091), '1', '2'>, Yes<ITEM(g_cancer_pain_treatment_091)>>>},
    {"3F", When<All<Yes<ITEM(k_iv_medication)>, AtLeast<ITEM(k_iv_medication_days), 3>>>},
    {"3G", When<Yes<ITEM(k_nebulizer)>>},
    {"3H", When<WoundCareFrom090>},
    {"3I", When<All<Yes<ITEM(g_stoma_care_post_surgery_091)>, AnyStomaCare>>},
    {"3J", When<All<Yes<ITEM(g_stoma_care_complication_091)>, AnyStomaCare>>},
    {"3K", When<All<ToiletingProgramme, Yes<ITEM(e_voiding_diary)>,
                    AtLeast<ITEM(e_voiding_diary_days), 7>>>},
    {"3L", When<TreatedBehaviouralSymptoms>},
};

}  // namespace grouper::criteria
