// The words the criteria sets are written in.
//
// A set is an ordered list of rows (criterion code, condition). The first
// row whose condition holds decides: a criterion row records its code in the
// classification's table and the set is met; a stop row ends the set unmet. A
// list in which no row holds is not met.
//
// A condition is a type built from the terms below over the items of the
// record (ITEM(name)) and the scores of the classification (Adl, SkinCare,
// ...): `All<Yes<ITEM(f_diabetes)>, Is<ITEM(j_injection_count), '2'>>`. The
// same type tests the record and lists what it reads, in the order it reads
// them, so a row names each of its fields once and the evidence of a group
// code is what the condition tests. Conditions that the form reuses ("coma
// with dependence", "any stage-3/4 ulcer") are named once, as types.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <utility>

#include "classify/classification_scores.h"
#include "record/assessment_record.h"
#include "record/field_ref.h"
#include "record/form_version.h"

namespace grouper::criteria {

using R = const AssessmentRecord&;
using S = const ClassificationScores&;
using Predicate = bool (*)(R r, S s);

// One thing a condition reads: a field of the record, a score of the
// classification (which reads the fields it is computed from), or a named
// group of reads.
struct Read {
  enum class Kind { kField, kScore, kGroup };
  Kind kind = Kind::kField;
  std::size_t field = 0;  // kField: the field's FieldRef offset
  int ClassificationScores::*score = nullptr;
  const Read* group = nullptr;  // kGroup
  std::size_t group_size = 0;
  bool (*families)(Family) = nullptr;  // read only in these families; nullptr: all
};
constexpr Read Field(FieldRef field) {
  return {.kind = Read::Kind::kField, .field = field.offset};
}
constexpr Read Score(int ClassificationScores::*score) {
  return {.kind = Read::Kind::kScore, .score = score};
}
template <std::size_t N>
constexpr Read Group(const Read (&group)[N]) {
  return {.kind = Read::Kind::kGroup, .group = group, .group_size = N};
}
#define READ(name) ::grouper::criteria::Field(FIELD(name))

// A condition as a row holds it: what it reads and its test.
struct Condition {
  std::span<const Read> reads;
  Predicate holds;
};
template <class T>
inline constexpr Condition When = {T::kReads, &T::Holds};

struct Criterion {
  const char* code;             // kStop marks a stop row
  std::span<const Read> reads;  // what `holds` reads
  Predicate holds;
  constexpr Criterion(const char* c, Condition condition)
      : code(c), reads(condition.reads), holds(condition.holds) {}
};
inline constexpr const char* kStop = nullptr;

// What conditions test: an item of the record, by its field name, or a
// score or set result of the classification.
template <auto member, FieldRef field>
struct Item {
  [[gnu::always_inline]] static auto Get(R r, S) { return r.*member; }
  static constexpr std::array<Read, 1> kReads = {Field(field)};
};
#define ITEM(name) ::grouper::criteria::Item<&::grouper::AssessmentRecord::name, FIELD(name)>

template <int ClassificationScores::*member>
struct ScoreOf {
  [[gnu::always_inline]] static int Get(R, S s) { return s.*member; }
  static constexpr std::array<Read, 1> kReads = {Score(member)};
};
using Adl = ScoreOf<&ClassificationScores::adl_score>;
using SkinCare = ScoreOf<&ClassificationScores::skin_care_count>;
using TubeFeeding = ScoreOf<&ClassificationScores::tube_feeding_intake>;
using IvNutrition = ScoreOf<&ClassificationScores::iv_nutrition_intake>;
using SetAMet = ScoreOf<&ClassificationScores::set_a_met>;
using SetBMet = ScoreOf<&ClassificationScores::set_b_met>;
using SetCMet = ScoreOf<&ClassificationScores::set_c_met>;

namespace detail {

template <class... T>
constexpr auto JoinedReads() {
  std::array<Read, (T::kReads.size() + ... + 0)> out{};
  std::size_t n = 0;
  (([&] {
     for (const Read& read : T::kReads) out[n++] = read;
   }()),
   ...);
  return out;
}

}  // namespace detail

// The terms. A one-byte answer is one of `answers`:
template <class Of, char... answers>
struct Is {
  [[gnu::always_inline]] static bool Holds(R r, S s) {
    const char answer = Of::Get(r, s);
    return ((answer == answers) || ...);
  }
  static constexpr auto kReads = Of::kReads;
};
template <class Of>
using Yes = Is<Of, '1'>;
// The answers '2' and '3' of a symptom scale, which the behavioural criteria
// count as present.
template <class Of>
using TwoOrThree = Is<Of, '2', '3'>;

// A number compared with a bound. A measure is compared as the stored
// single-precision value.
template <class Of, auto value>
struct Equals {
  [[gnu::always_inline]] static bool Holds(R r, S s) { return Of::Get(r, s) == value; }
  static constexpr auto kReads = Of::kReads;
};
template <class Of, auto low>
struct AtLeast {
  [[gnu::always_inline]] static bool Holds(R r, S s) { return Of::Get(r, s) >= low; }
  static constexpr auto kReads = Of::kReads;
};
template <class Of, auto high>
struct AtMost {
  [[gnu::always_inline]] static bool Holds(R r, S s) { return Of::Get(r, s) <= high; }
  static constexpr auto kReads = Of::kReads;
};
template <class Of, auto low, auto high>
struct Between {
  [[gnu::always_inline]] static bool Holds(R r, S s) {
    const auto v = Of::Get(r, s);
    return v >= low && v <= high;
  }
  static constexpr auto kReads = Of::kReads;
};

// Every condition holds (tested in order, up to the first that fails), any
// holds (up to the first that holds), or the condition does not hold.
template <class... T>
struct All {
  [[gnu::always_inline]] static bool Holds(R r, S s) { return (T::Holds(r, s) && ...); }
  static constexpr auto kReads = detail::JoinedReads<T...>();
};
template <class... T>
struct Any {
  [[gnu::always_inline]] static bool Holds(R r, S s) { return (T::Holds(r, s) || ...); }
  static constexpr auto kReads = detail::JoinedReads<T...>();
};
template <class T>
struct Not {
  [[gnu::always_inline]] static bool Holds(R r, S s) { return !T::Holds(r, s); }
  static constexpr auto kReads = T::kReads;
};

// A condition that counts in the given families only (elsewhere it does not
// hold), for an item that another family's layout holds in the same place.
template <bool (*families)(Family), class T>
struct InFamilies {
  [[gnu::always_inline]] static bool Holds(R r, S s) {
    return families(s.family) && T::Holds(r, s);
  }
  static constexpr auto kReads = [] {
    auto reads = T::kReads;
    for (Read& read : reads) read.families = families;
    return reads;
  }();
};

namespace detail {

template <const auto& rows, std::size_t I>
[[gnu::always_inline]] inline bool CriterionHolds(R r, S s) {
  if constexpr (rows[I].code == kStop) {
    return false;
  } else {
    constexpr Predicate holds = rows[I].holds;
    return holds(r, s);
  }
}

template <const auto& rows>
constexpr auto CriteriaReads() {
  constexpr std::size_t kCount = [] {
    std::size_t n = 0;
    for (const Criterion& row : rows) n += row.code != kStop ? row.reads.size() : 0;
    return n;
  }();
  std::array<Read, kCount> out{};
  std::size_t n = 0;
  for (const Criterion& row : rows) {
    if (row.code == kStop) continue;
    for (const Read& read : row.reads) out[n++] = read;
  }
  return out;
}

}  // namespace detail

// Any criterion row of a list holds, its stop rows left out: the conditions
// of a set without the bound of the score that they depend on.
template <const auto& rows>
struct AnyCriterionOf {
  template <std::size_t... I>
  [[gnu::always_inline]] static bool HoldsAt(R r, S s, std::index_sequence<I...>) {
    return (detail::CriterionHolds<rows, I>(r, s) || ...);
  }
  [[gnu::always_inline]] static bool Holds(R r, S s) {
    return HoldsAt(r, s, std::make_index_sequence<std::size(rows)>{});
  }
  static constexpr auto kReads = detail::CriteriaReads<rows>();
};

// The number of criterion rows of a list whose condition holds.
template <const auto& rows, std::size_t... I>
[[gnu::always_inline]] inline int CountCriteriaHolding(R r, S s, std::index_sequence<I...>) {
  return (static_cast<int>(detail::CriterionHolds<rows, I>(r, s)) + ... + 0);
}
template <const auto& rows>
[[gnu::always_inline]] inline int CountCriteriaHolding(R r, S s) {
  return CountCriteriaHolding<rows>(r, s, std::make_index_sequence<std::size(rows)>{});
}

// The conditions the form reuses.

// The patient is in a coma and fully dependent: every scored ADL item at '4'
// or '8'.
template <class Of>
using Dependent = Is<Of, '4', '8'>;
using ComaWithDependence =
    All<Yes<ITEM(b_coma)>, Dependent<ITEM(d_adl_eating)>, Dependent<ITEM(d_adl_changing_position)>,
        Dependent<ITEM(d_adl_transferring)>, Dependent<ITEM(d_adl_toilet_use)>>;

using AnyStage34Ulcer =
    Any<AtLeast<ITEM(i_pressure_ulcer_stage3), 1>, AtLeast<ITEM(i_stasis_ulcer_stage3), 1>,
        AtLeast<ITEM(i_pressure_ulcer_stage4), 1>, AtLeast<ITEM(i_stasis_ulcer_stage4), 1>>;

// The neurological diagnoses of sets B and C. The early families' F.1 carries
// AIDS only in family 089/010: the base layout holds its none-applies answer
// in that position.
using SharedNeurologicalEntries =
    Any<Yes<ITEM(f_cerebral_palsy)>, All<Yes<ITEM(f_spinal_cord_injury)>, Yes<ITEM(f_paraplegia)>>,
        Yes<ITEM(f_hemiplegia)>, Yes<ITEM(f_parkinsons)>, Yes<ITEM(f_myasthenia)>,
        Yes<ITEM(f_primary_muscle_disorder)>, Yes<ITEM(f_multiple_sclerosis)>,
        Yes<ITEM(f_huntingtons)>, Yes<ITEM(f_hereditary_ataxia)>,
        Yes<ITEM(f_spinal_muscular_atrophy)>, Yes<ITEM(f_systemic_atrophy)>,
        Yes<ITEM(f_progressive_supranuclear_palsy)>, Yes<ITEM(f_atypical_virus_infection)>,
        Yes<ITEM(f_subacute_necrotising_encephalopathy)>>;
using NeurologicalListEarly =
    Any<SharedNeurologicalEntries, All<Yes<ITEM(f_spinal_cord_injury)>, Yes<ITEM(f_quadriplegia)>>,
        InFamilies<Is089, Yes<ITEM(f_aids)>>>;
using NeurologicalListFrom090 =
    Any<SharedNeurologicalEntries, Yes<ITEM(f_quadriplegia)>, Yes<ITEM(f_aids)>>;

// Dehydration, vomiting or weight loss.
using FeverComplication =
    Any<Yes<ITEM(g_dehydration)>, Yes<ITEM(g_vomiting)>, Yes<ITEM(h_weight_loss)>>;
// Visual or numeric scale 7+, faces scale 4+; moderate: 4+ and 3+.
using SeverePainGrade =
    Any<AtLeast<ITEM(g_pain_visual_scale), 7>, AtLeast<ITEM(g_pain_numeric_scale), 7>,
        AtLeast<ITEM(g_pain_faces_scale), 4>>;
using ModeratePainGrade =
    Any<AtLeast<ITEM(g_pain_visual_scale), 4>, AtLeast<ITEM(g_pain_numeric_scale), 4>,
        AtLeast<ITEM(g_pain_faces_scale), 3>>;

using AnyStomaCare = Any<Yes<ITEM(k_urinary_stoma_care)>, Yes<ITEM(k_bowel_stoma_care)>,
                         Yes<ITEM(k_feeding_stoma_care)>>;
using ToiletingProgramme = Any<Yes<ITEM(e_scheduled_toileting)>, Yes<ITEM(e_bladder_retraining)>,
                               Yes<ITEM(e_intermittent_catheter)>>;

// Delusions, hallucinations, agitation, disinhibition, resistance to care or
// wandering answered '2' or '3'.
using BehaviouralSymptoms = Any<TwoOrThree<ITEM(c_delusions)>, TwoOrThree<ITEM(c_hallucinations)>,
                                TwoOrThree<ITEM(c_agitation)>, TwoOrThree<ITEM(c_disinhibition)>,
                                TwoOrThree<ITEM(c_care_resistance)>, TwoOrThree<ITEM(c_wandering)>>;
using TreatedBehaviouralSymptoms =
    All<Yes<ITEM(f_dementia)>, BehaviouralSymptoms, Yes<ITEM(j_behaviour_drug_treatment)>>;

// The rehabilitation of sets F: an ADL score of 6 or more and two days.
using Rehabilitation = All<AtLeast<Adl, 6>, AtLeast<ITEM(k_rehab_days), 2>>;

}  // namespace grouper::criteria
