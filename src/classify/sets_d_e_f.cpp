// Sets D (behavioural symptoms) and E (a K-MMSE score of 19 or less), which
// only the early families have, and set F (rehabilitation; from 090 also
// dementia symptoms under dementia drugs and stoma care of patients in none of
// groups A to C).
#include "classify/criteria.h"
#include "classify/criteria_sets.h"

namespace grouper {

namespace {

using namespace criteria;

constexpr Criterion kSetD[] = {
    {"4A", kReads<Group(kBehaviourReads)>, [](R r, S) { return BehaviouralSymptoms(r); }},
};

constexpr Criterion kSetE[] = {
    {"5A", kReads<READ(c_kmmse_done), READ(c_kmmse_score)>,
     [](R r, S) { return Yes(r.c_kmmse_done) && r.c_kmmse_score >= 0 && r.c_kmmse_score <= 19; }},
};

bool Rehabilitation(R r, S s) {
  return s.adl_score >= 6 && r.k_rehab_days >= 2;
}

constexpr Criterion kSetFEarly[] = {
    {"6A", kReads<kAdl, READ(k_rehab_days)>, Rehabilitation},
};

// Set F's symptoms are another selection than set D's and "3L"'s, and go with
// dementia drugs rather than drug treatment of behaviour.
bool TreatedDementiaSymptoms(R r) {
  return Yes(r.f_dementia) &&
         (TwoOrThree(r.c_depression) || TwoOrThree(r.c_anxiety) || TwoOrThree(r.c_aberrant_motor) ||
          TwoOrThree(r.c_sleep_behaviour)) &&
         Yes(r.j_dementia_drug);
}

constexpr Criterion kSetFFrom090[] = {
    {"6A",
     kReads<READ(f_dementia), READ(c_depression), READ(c_anxiety), READ(c_aberrant_motor),
            READ(c_sleep_behaviour), READ(j_dementia_drug)>,
     [](R r, S) { return TreatedDementiaSymptoms(r); }},
    {"6B", kReads<kSetAMet, kSetBMet, kSetCMet, Group(kStomaCareReads)>,
     [](R r, S s) {
       return s.set_a_met != 1 && s.set_b_met != 1 && s.set_c_met != 1 && AnyStomaCare(r);
     }},
    {"6C", kReads<kAdl, READ(k_rehab_days)>, Rehabilitation},
};

}  // namespace

int evaluate_set_d(R r, ClassificationState& s) {
  return RunCompiledCriteria<kSetD>(r, s);
}
int evaluate_set_e(R r, ClassificationState& s) {
  return RunCompiledCriteria<kSetE>(r, s);
}

int evaluate_set_f(R r, ClassificationState& s) {
  if (IsEarly(s.family)) return RunCompiledCriteria<kSetFEarly>(r, s);
  return RunCompiledCriteria<kSetFFrom090>(r, s);
}

std::span<const Criterion> SetDRows(Family family) {
  if (IsEarly(family)) return kSetD;
  return {};
}
std::span<const Criterion> SetERows(Family family) {
  if (IsEarly(family)) return kSetE;
  return {};
}
std::span<const Criterion> SetFRows(Family family) {
  if (IsEarly(family)) return kSetFEarly;
  return kSetFFrom090;
}

}  // namespace grouper
