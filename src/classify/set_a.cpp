// Set A: ventilator, central venous nutrition, internal bleeding (early
// families only) and coma with full dependence, for patients with an ADL score
// of 11 or more. Below 11 the same conditions belong to set B's last
// criterion.
#include "classify/criteria.h"
#include "classify/criteria_sets.h"

namespace grouper {

namespace {

using namespace criteria;

constexpr Criterion kSetAEarly[] = {
    {kStop, [](R, S s) { return s.adl_score < 11; }},
    {"1A", [](R r, S) { return ComaWithDependence(r); }},
    {"1B", [](R r, S) { return Yes(r.g_internal_bleeding); }},
    {"1C", [](R r, S) { return Yes(r.k_central_venous_nutrition); }},
    {"1D", [](R r, S) { return Yes(r.k_ventilator); }},
};

constexpr Criterion kSetA090[] = {
    {kStop, [](R, S s) { return s.adl_score < 11; }},
    {"1A", [](R r, S) { return Yes(r.k_ventilator); }},
    {"1B", [](R r, S) { return ComaWithDependence(r); }},
    {"1C", [](R r, S) { return Yes(r.k_central_venous_nutrition); }},
};

constexpr Criterion kSetA091[] = {
    {kStop, [](R, S s) { return s.adl_score < 11; }},
    {"1A", [](R r, S) { return Yes(r.k_ventilator_091); }},
    {"1B", [](R r, S) { return ComaWithDependence(r); }},
    {"1C", [](R r, S) { return Yes(r.k_central_venous_nutrition_091); }},
};

}  // namespace

int evaluate_set_a_early(R r, ClassificationState& s) {
  return RunCriteria(kSetAEarly, r, s);
}
int evaluate_set_a_090(R r, ClassificationState& s) {
  return RunCriteria(kSetA090, r, s);
}
int evaluate_set_a_091(R r, ClassificationState& s) {
  return RunCriteria(kSetA091, r, s);
}

}  // namespace grouper
