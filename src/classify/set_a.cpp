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
    {kStop, kReads<kAdl>, [](R, S s) { return s.adl_score < 11; }},
    {"1A", kReads<Group(kComaReads)>, [](R r, S) { return ComaWithDependence(r); }},
    {"1B", kReads<READ(g_internal_bleeding)>, [](R r, S) { return Yes(r.g_internal_bleeding); }},
    {"1C", kReads<READ(k_central_venous_nutrition)>,
     [](R r, S) { return Yes(r.k_central_venous_nutrition); }},
    {"1D", kReads<READ(k_ventilator)>, [](R r, S) { return Yes(r.k_ventilator); }},
};

constexpr Criterion kSetA090[] = {
    {kStop, kReads<kAdl>, [](R, S s) { return s.adl_score < 11; }},
    {"1A", kReads<READ(k_ventilator)>, [](R r, S) { return Yes(r.k_ventilator); }},
    {"1B", kReads<Group(kComaReads)>, [](R r, S) { return ComaWithDependence(r); }},
    {"1C", kReads<READ(k_central_venous_nutrition)>,
     [](R r, S) { return Yes(r.k_central_venous_nutrition); }},
};

constexpr Criterion kSetA091[] = {
    {kStop, kReads<kAdl>, [](R, S s) { return s.adl_score < 11; }},
    {"1A", kReads<READ(k_ventilator_091)>, [](R r, S) { return Yes(r.k_ventilator_091); }},
    {"1B", kReads<Group(kComaReads)>, [](R r, S) { return ComaWithDependence(r); }},
    {"1C", kReads<READ(k_central_venous_nutrition_091)>,
     [](R r, S) { return Yes(r.k_central_venous_nutrition_091); }},
};

}  // namespace

int evaluate_set_a_early(R r, ClassificationState& s) {
  return RunCompiledCriteria<kSetAEarly>(r, s);
}
int evaluate_set_a_090(R r, ClassificationState& s) {
  return RunCompiledCriteria<kSetA090>(r, s);
}
int evaluate_set_a_091(R r, ClassificationState& s) {
  return RunCompiledCriteria<kSetA091>(r, s);
}

std::span<const Criterion> SetARows(Family family) {
  if (IsEarly(family)) return kSetAEarly;
  if (Is090(family)) return kSetA090;
  return kSetA091;
}

}  // namespace grouper
