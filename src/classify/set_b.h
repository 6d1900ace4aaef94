// Set B: neurological diagnoses at an ADL score of 18 or more, stage-3/4 or
// several stage-2 ulcers with skin care, fever with complications, burns,
// severe pain, tube or intravenous feeding, airway care, transfusion, the
// diabetic foot, and the set-A conditions of patients whose ADL score is too
// low for set A (after the stop row at a score above 10).
#pragma once

#include "classify/criteria.h"
#include "classify/set_a.h"

namespace grouper::criteria {

inline constexpr Criterion kSetBEarly[] = {
    {"2A", When<All<AtLeast<Adl, 18>, NeurologicalListEarly>>},
    {"2B",
     When<All<AtLeast<Adl, 11>, Any<Yes<ITEM(f_multiple_sclerosis)>, Yes<ITEM(f_quadriplegia)>>>>},
    {"2C",
     When<All<
         Any<AtLeast<ITEM(i_pressure_ulcer_stage2), 2>, AtLeast<ITEM(i_stasis_ulcer_stage2), 2>>,
         AtLeast<SkinCare, 2>>>},
    {"2D", When<All<AnyStage34Ulcer, AtLeast<SkinCare, 2>>>},
    {"2E", When<All<Yes<ITEM(g_fever)>, Any<FeverComplication, Equals<TubeFeeding, 1>>>>},
    {"2F", When<Yes<ITEM(i_burns)>>},
    {"2G", When<Is<ITEM(g_pain_severe), '2'>>},
    {"2H", When<Any<Equals<TubeFeeding, 1>, Equals<IvNutrition, 1>>>},
    {"2I", When<Yes<ITEM(k_suctioning)>>},
    {"2J", When<Yes<ITEM(k_tracheostomy_care)>>},
    {"2K", When<All<Yes<ITEM(f_diabetes)>,
                    Any<Yes<ITEM(i_foot_infection)>, Yes<ITEM(i_open_lesions_foot)>>,
                    Yes<ITEM(i_other_dressing_foot)>>>},
    {"2L", When<Yes<ITEM(k_transfusion)>>},
    {"2M", When<Yes<ITEM(k_oxygen_therapy)>>},
    {kStop, When<AtLeast<Adl, 11>>},
    {"2N", When<AnyCriterionOf<kSetAEarly>>},
};

// The diabetic foot of the layouts from 090, outside the ADL range 4..8.
using DiabeticFootFrom090 = All<Not<Between<Adl, 4, 8>>, Yes<ITEM(f_diabetes)>,
                                Yes<ITEM(i_foot_infection)>, Yes<ITEM(i_other_dressing_foot)>>;

inline constexpr Criterion kSetB090[] = {
    {"2A", When<All<AtLeast<Adl, 18>, NeurologicalListFrom090>>},
    {"2B", When<All<AnyStage34Ulcer, AtLeast<SkinCare, 2>>>},
    {"2C", When<All<Yes<ITEM(g_fever)>, Yes<ITEM(g_fever_workup)>, FeverComplication>>},
    {"2D", When<Yes<ITEM(i_burns)>>},
    {"2E", When<All<Is<ITEM(g_pain_frequency_090), '2'>, SeverePainGrade>>},
    {"2F", When<Equals<TubeFeeding, 1>>},
    {"2G", When<Yes<ITEM(k_tracheostomy_care)>>},
    {"2H", When<DiabeticFootFrom090>},
    {"2I", When<Yes<ITEM(k_oxygen_therapy)>>},
    {kStop, When<AtLeast<Adl, 11>>},
    {"2J", When<AnyCriterionOf<kSetA090>>},
};

inline constexpr Criterion kSetB091[] = {
    {"2A", When<All<AtLeast<Adl, 18>, NeurologicalListFrom090>>},
    {"2B", When<All<AnyStage34Ulcer, AtLeast<SkinCare, 2>>>},
    {"2C", When<All<Yes<ITEM(g_fever)>, Yes<ITEM(g_fever_workup)>, AtLeast<ITEM(g_fever_days), 3>,
                    FeverComplication>>},
    {"2D", When<All<Yes<ITEM(i_burns)>, Yes<ITEM(i_skin_treatment_g)>>>},
    {"2E", When<All<Is<ITEM(g_pain_frequency_091), '2'>, SeverePainGrade,
                    Yes<ITEM(g_pain_treatment_091)>>>},
    {"2F", When<All<Equals<TubeFeeding, 1>, AtLeast<ITEM(h_tube_feeding_days), 7>>>},
    {"2G", When<Yes<ITEM(k_tracheostomy_care)>>},
    {"2H", When<DiabeticFootFrom090>},
    {"2I", When<All<Yes<ITEM(k_oxygen_therapy)>, AtMost<ITEM(k_oxygen_saturation), 90>,
                    AtLeast<ITEM(k_oxygen_days), 7>>>},
    {kStop, When<AtLeast<Adl, 11>>},
    {"2J", When<AnyCriterionOf<kSetA091>>},
};

}  // namespace grouper::criteria
