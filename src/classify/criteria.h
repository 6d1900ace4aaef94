// The parts the criteria sets are written from.
//
// A set is an ordered list of rows (criterion code, condition). The evaluator
// runs a list on a record and its running classification: the first
// row whose condition holds decides. A criterion row records its code in the
// CriteriaTable and the set is met; a stop row ends the set unmet. A list in
// which no row holds is not met.
//
// Conditions are built from the named predicates below, shared by every set
// that reuses a condition of the form. Each row lists what its condition
// reads: fields of the record, scores of the classification, and the named
// groups of the predicates it calls (kComaReads...), so that the evidence of
// a group code is read from the rows themselves.
#pragma once

#include <cstddef>
#include <iterator>
#include <span>
#include <utility>

#include "classify/classifier.h"
#include "record/assessment_record.h"
#include "record/field_ref.h"
#include "record/form_version.h"

namespace grouper::criteria {

using R = const AssessmentRecord&;
using S = const ClassificationState&;
using Condition = bool (*)(R r, S s);

// One thing a condition reads: a field of the record, a score of the
// classification (which reads the fields it is computed from), or a named
// group of reads.
struct Read {
  enum class Kind { kField, kScore, kGroup };
  Kind kind = Kind::kField;
  std::size_t field = 0;  // kField: the field's FieldRef offset
  int ClassificationState::*score = nullptr;
  const Read* group = nullptr;  // kGroup
  std::size_t group_size = 0;
  bool (*families)(Family) = nullptr;  // read only in these families; nullptr: all
};
constexpr Read Field(FieldRef field) {
  return {.kind = Read::Kind::kField, .field = field.offset};
}
constexpr Read FieldIn(FieldRef field, bool (*families)(Family)) {
  return {.kind = Read::Kind::kField, .field = field.offset, .families = families};
}
constexpr Read Score(int ClassificationState::*score) {
  return {.kind = Read::Kind::kScore, .score = score};
}
template <std::size_t N>
constexpr Read Group(const Read (&group)[N]) {
  return {.kind = Read::Kind::kGroup, .group = group, .group_size = N};
}
// A fixed list of reads.
template <Read... reads>
inline constexpr Read kReads[] = {reads...};
#define READ(name) ::grouper::criteria::Field(FIELD(name))

// The scores and the sets' results, as criteria read them.
inline constexpr Read kAdl = Score(&ClassificationState::adl_score);
inline constexpr Read kSkinCare = Score(&ClassificationState::skin_care_count);
inline constexpr Read kTubeFeeding = Score(&ClassificationState::tube_feeding_intake);
inline constexpr Read kIvNutrition = Score(&ClassificationState::iv_nutrition_intake);
inline constexpr Read kSetAMet = Score(&ClassificationState::set_a_met);
inline constexpr Read kSetBMet = Score(&ClassificationState::set_b_met);
inline constexpr Read kSetCMet = Score(&ClassificationState::set_c_met);

struct Criterion {
  const char* code;             // kStop marks a stop row
  std::span<const Read> reads;  // what `holds` reads
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
inline constexpr Read kComaReads[] = {
    Field(FIELD(b_coma)), Field(FIELD(d_adl_eating)), Field(FIELD(d_adl_changing_position)),
    Field(FIELD(d_adl_transferring)), Field(FIELD(d_adl_toilet_use))};

// The conditions of set A, without its ADL precondition, as set B's last
// criterion and the group-A count take them.
bool SetAConditionEarly(R r);
bool SetAConditionOf090(R r);
bool SetAConditionFrom091(R r);
inline constexpr Read kSetAEarlyReads[] = {Group(kComaReads), Field(FIELD(g_internal_bleeding)),
                                           Field(FIELD(k_central_venous_nutrition)),
                                           Field(FIELD(k_ventilator))};
inline constexpr Read kSetA090Reads[] = {Field(FIELD(k_ventilator)), Group(kComaReads),
                                         Field(FIELD(k_central_venous_nutrition))};
inline constexpr Read kSetA091Reads[] = {Field(FIELD(k_ventilator_091)), Group(kComaReads),
                                         Field(FIELD(k_central_venous_nutrition_091))};

bool AnyStage34Ulcer(R r);
inline constexpr Read kStage34UlcerReads[] = {
    Field(FIELD(i_pressure_ulcer_stage3)), Field(FIELD(i_stasis_ulcer_stage3)),
    Field(FIELD(i_pressure_ulcer_stage4)), Field(FIELD(i_stasis_ulcer_stage4))};
inline constexpr Read kStage2UlcerReads[] = {Field(FIELD(i_pressure_ulcer_stage2)),
                                             Field(FIELD(i_stasis_ulcer_stage2))};

// The neurological diagnoses of sets B and C. The early families' F.1 carries
// AIDS only in family 089/010: the base layout holds its none-applies answer
// in that position.
bool NeurologicalListEarly(R r, S s);
bool NeurologicalListFrom090(R r);
inline constexpr Read kNeurologicalSharedReads[] = {
    Field(FIELD(f_cerebral_palsy)),
    Field(FIELD(f_spinal_cord_injury)),
    Field(FIELD(f_paraplegia)),
    Field(FIELD(f_hemiplegia)),
    Field(FIELD(f_parkinsons)),
    Field(FIELD(f_myasthenia)),
    Field(FIELD(f_primary_muscle_disorder)),
    Field(FIELD(f_multiple_sclerosis)),
    Field(FIELD(f_huntingtons)),
    Field(FIELD(f_hereditary_ataxia)),
    Field(FIELD(f_spinal_muscular_atrophy)),
    Field(FIELD(f_systemic_atrophy)),
    Field(FIELD(f_progressive_supranuclear_palsy)),
    Field(FIELD(f_atypical_virus_infection)),
    Field(FIELD(f_subacute_necrotising_encephalopathy))};
// In the base layout f_aids holds another answer, which the list does not read.
inline constexpr Read kNeurologicalEarlyReads[] = {
    Group(kNeurologicalSharedReads), Field(FIELD(f_quadriplegia)), FieldIn(FIELD(f_aids), Is089)};
inline constexpr Read kNeurologicalFrom090Reads[] = {
    Group(kNeurologicalSharedReads), Field(FIELD(f_quadriplegia)), Field(FIELD(f_aids))};

bool FeverComplication(R r);  // dehydration, vomiting or weight loss
bool SeverePainGrade(R r);    // visual or numeric scale 7+, faces scale 4+
bool ModeratePainGrade(R r);  // visual or numeric scale 4+, faces scale 3+
inline constexpr Read kFeverComplicationReads[] = {
    Field(FIELD(g_dehydration)), Field(FIELD(g_vomiting)), Field(FIELD(h_weight_loss))};
inline constexpr Read kPainGradeReads[] = {Field(FIELD(g_pain_visual_scale)),
                                           Field(FIELD(g_pain_numeric_scale)),
                                           Field(FIELD(g_pain_faces_scale))};

bool AnyStomaCare(R r);
bool ToiletingProgramme(R r);
inline constexpr Read kStomaCareReads[] = {Field(FIELD(k_urinary_stoma_care)),
                                           Field(FIELD(k_bowel_stoma_care)),
                                           Field(FIELD(k_feeding_stoma_care))};
inline constexpr Read kToiletingReads[] = {Field(FIELD(e_scheduled_toileting)),
                                           Field(FIELD(e_bladder_retraining)),
                                           Field(FIELD(e_intermittent_catheter))};
// Delusions, hallucinations, agitation, disinhibition, resistance to care or
// wandering answered '2' or '3'.
bool BehaviouralSymptoms(R r);
bool TreatedBehaviouralSymptoms(R r);
inline constexpr Read kBehaviourReads[] = {
    Field(FIELD(c_delusions)),     Field(FIELD(c_hallucinations)),  Field(FIELD(c_agitation)),
    Field(FIELD(c_disinhibition)), Field(FIELD(c_care_resistance)), Field(FIELD(c_wandering))};
inline constexpr Read kTreatedBehaviourReads[] = {Field(FIELD(f_dementia)), Group(kBehaviourReads),
                                                  Field(FIELD(j_behaviour_drug_treatment))};

// The stop row of a set at an ADL score above or below a bound, which every
// criterion after it depends on.
inline constexpr Read kAdlReads[] = {kAdl};

}  // namespace grouper::criteria
