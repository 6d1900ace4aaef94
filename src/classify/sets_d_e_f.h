// Sets D (behavioural symptoms) and E (a K-MMSE score of 19 or less), which
// only the early families have, and set F (rehabilitation; from 090 also
// dementia symptoms under dementia drugs and stoma care of patients in none of
// groups A to C).
#pragma once

#include "classify/criteria.h"

namespace grouper::criteria {

inline constexpr Criterion kSetD[] = {
    {"4A", When<BehaviouralSymptoms>},
};

inline constexpr Criterion kSetE[] = {
    {"5A", When<All<Yes<ITEM(c_kmmse_done)>, Between<ITEM(c_kmmse_score), 0, 19>>>},
};

inline constexpr Criterion kSetFEarly[] = {
    {"6A", When<Rehabilitation>},
};

// Set F's symptoms are another selection than set D's and "3L"'s, and go with
// dementia drugs rather than drug treatment of behaviour.
using TreatedDementiaSymptoms =
    All<Yes<ITEM(f_dementia)>,
        Any<TwoOrThree<ITEM(c_depression)>, TwoOrThree<ITEM(c_anxiety)>,
            TwoOrThree<ITEM(c_aberrant_motor)>, TwoOrThree<ITEM(c_sleep_behaviour)>>,
        Yes<ITEM(j_dementia_drug)>>;

inline constexpr Criterion kSetFFrom090[] = {
    {"6A", When<TreatedDementiaSymptoms>},
    {"6B", When<All<Not<Equals<SetAMet, 1>>, Not<Equals<SetBMet, 1>>, Not<Equals<SetCMet, 1>>,
                    AnyStomaCare>>},
    {"6C", When<Rehabilitation>},
};

}  // namespace grouper::criteria
