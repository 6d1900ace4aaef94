// The parts the criteria sets are written from.
//
// A set is an ordered list of rows (criterion code, condition). The evaluator
// runs a list on a record and its running classification: the first
// row whose condition holds decides. A criterion row records its code in the
// CriteriaTable and the set is met; a stop row ends the set unmet. A list in
// which no row holds is not met.
//
// Conditions are built from the named predicates below, shared by every set
// that reuses a condition of the form. What each criterion reads is also a
// row of the explanation's table (src/explain/evidence.cpp), which changes
// with it.
#pragma once

#include <iterator>
#include <span>
#include <utility>

#include "classify/classifier.h"
#include "record/assessment_record.h"
#include "record/form_version.h"

namespace grouper::criteria {

using R = const AssessmentRecord&;
using S = const ClassificationState&;
using Condition = bool (*)(R r, S s);

struct Criterion {
  const char* code;  // kStop marks a stop row
  Condition holds;
};
inline constexpr const char* kStop = nullptr;

// Writes a criterion code into its slot of the classification's table.
void RecordCriterion(const char* code, ClassificationState& s);

namespace detail {

// Row I of the list decides the set when its condition holds: a criterion
// row meets it, a stop row ends it unmet.
template <const auto& rows, std::size_t I>
[[gnu::always_inline]] inline bool Decides(R r, ClassificationState& s, int& met) {
  constexpr const Criterion& row = rows[I];
  if (!row.holds(r, s)) return false;
  if constexpr (row.code == kStop) {
    met = 0;
  } else {
    // The code's slot is known here, so it is written without a lookup.
    constexpr int slot = CriterionSlot(row.code);
    static_assert(slot >= 0, "a criteria list names a code that has no slot");
    s.criteria[slot][0] = row.code[0];
    s.criteria[slot][1] = row.code[1];
    s.criteria[slot][2] = '\0';
    met = 1;
  }
  return true;
}

template <const auto& rows, std::size_t... I>
[[gnu::always_inline]] inline int RunRows(R r, ClassificationState& s, std::index_sequence<I...>) {
  int met = 0;
  (void)(Decides<rows, I>(r, s, met) || ...);
  return met;
}

}  // namespace detail

// Runs a constant list on a record and its running classification: 1 met (its
// code recorded in the state's table), 0 not met. Each condition is known
// where it is called, so the list becomes straight-line code.
template <const auto& rows>
int RunCompiledCriteria(R r, ClassificationState& s) {
  return detail::RunRows<rows>(r, s, std::make_index_sequence<std::size(rows)>{});
}

inline Family FamilyOfRecord(R r) {
  return FamilyOfField(r.form_version);
}

inline bool Yes(char answer) {
  return answer == '1';
}
// The answers '2' and '3' of a symptom scale, which the behavioural criteria
// count as present.
inline bool TwoOrThree(char answer) {
  return answer == '2' || answer == '3';
}

// The patient is in a coma and fully dependent: every scored ADL item at '4'
// or '8'.
bool ComaWithDependence(R r);

// The conditions of set A, without its ADL precondition, as set B's last
// criterion and the group-A count take them.
bool SetAConditionEarly(R r);
bool SetAConditionOf090(R r);
bool SetAConditionFrom091(R r);

bool AnyStage34Ulcer(R r);

// The neurological diagnoses of sets B and C. The early families' F.1 carries
// AIDS only in family 089/010: the base layout holds its none-applies answer
// in that position.
bool NeurologicalListEarly(R r);
bool NeurologicalListFrom090(R r);

bool FeverComplication(R r);  // dehydration, vomiting or weight loss
bool SeverePainGrade(R r);    // visual or numeric scale 7+, faces scale 4+
bool ModeratePainGrade(R r);  // visual or numeric scale 4+, faces scale 3+

bool AnyStomaCare(R r);
bool ToiletingProgramme(R r);
// Delusions, hallucinations, agitation, disinhibition, resistance to care or
// wandering answered '2' or '3'.
bool BehaviouralSymptoms(R r);
bool TreatedBehaviouralSymptoms(R r);

}  // namespace grouper::criteria
