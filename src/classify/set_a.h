// Set A: ventilator, central venous nutrition, internal bleeding (early
// families only) and coma with full dependence, for patients with an ADL score
// of 11 or more. Below 11 the same conditions belong to set B's last
// criterion.
#pragma once

#include "classify/criteria.h"

namespace grouper::criteria {

inline constexpr Criterion kSetAEarly[] = {
    {kStop, When<AtMost<Adl, 10>>},
    {"1A", When<ComaWithDependence>},
    {"1B", When<Yes<ITEM(g_internal_bleeding)>>},
    {"1C", When<Yes<ITEM(k_central_venous_nutrition)>>},
    {"1D", When<Yes<ITEM(k_ventilator)>>},
};

inline constexpr Criterion kSetA090[] = {
    {kStop, When<AtMost<Adl, 10>>},
    {"1A", When<Yes<ITEM(k_ventilator)>>},
    {"1B", When<ComaWithDependence>},
    {"1C", When<Yes<ITEM(k_central_venous_nutrition)>>},
};

inline constexpr Criterion kSetA091[] = {
    {kStop, When<AtMost<Adl, 10>>},
    {"1A", When<Yes<ITEM(k_ventilator_091)>>},
    {"1B", When<ComaWithDependence>},
    {"1C", When<Yes<ITEM(k_central_venous_nutrition_091)>>},
};

}  // namespace grouper::criteria
