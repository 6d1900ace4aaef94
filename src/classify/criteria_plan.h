// Which criteria sets each family group runs, and in which order: one plan
// per group, as a type. The same type runs the sets (compiled, each list as
// straight-line code, for the batch) and describes them (their letters and
// rows, for the evidence of a group code and its tests), so the two cannot
// differ. The slot of every criterion code in the classification's table, the
// number of slots and the group letters are computed from the plans while the
// program is compiled.
//
// A set's codes carry its digit ('1' for set A to '6' for set F) and run from
// the letter 'A' without gaps; the compilation stops where a list breaks that.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>
#include <utility>

#include "classify/classification_scores.h"
#include "classify/criteria.h"
#include "classify/set_a.h"
#include "classify/set_b.h"
#include "classify/set_c.h"
#include "classify/sets_d_e_f.h"
#include "record/assessment_record.h"
#include "record/form_version.h"

namespace grouper {

// A criteria set as a family runs it: its letter and its rows.
struct CriteriaSet {
  char letter;  // 'A'..'F'
  std::span<const criteria::Criterion> rows;
};

// The result that set `letter` leaves in the state; nullptr for a letter that
// names no set.
constexpr int ClassificationScores::*ResultOf(char letter) {
  switch (letter) {
    case 'A':
      return &ClassificationScores::set_a_met;
    case 'B':
      return &ClassificationScores::set_b_met;
    case 'C':
      return &ClassificationScores::set_c_met;
    case 'D':
      return &ClassificationScores::set_d_met;
    case 'E':
      return &ClassificationScores::set_e_met;
    case 'F':
      return &ClassificationScores::set_f_met;
    default:
      return nullptr;
  }
}

// The group that no set claims, and the code recorded for it.
inline constexpr char kUnclaimedLetter = 'G';
inline constexpr const char* kUnclaimedCode = "7A";

// The digit of the codes of set `letter`: '1' for 'A'.
constexpr char CodeDigitOf(char letter) {
  return static_cast<char>('1' + (letter - 'A'));
}

namespace plan_detail {

// Runs a constant list: 1 met (its code recorded in the state's table), 0 not
// met. Defined below the slot table.
template <const auto& rows, class State>
[[gnu::always_inline]] inline int RunCriteria(criteria::R r, State& s);

template <std::size_t N>
constexpr bool CodesOfSet(char letter, const criteria::Criterion (&rows)[N]) {
  for (const criteria::Criterion& row : rows) {
    if (row.code == criteria::kStop) continue;
    if (row.code[0] != CodeDigitOf(letter) || row.code[1] < 'A' || row.code[1] > 'Z' ||
        row.code[2] != '\0') {
      return false;
    }
  }
  return true;
}

}  // namespace plan_detail

// Set `letter` with its list of rows.
template <char letter, const auto& rows>
struct Set {
  static_assert(ResultOf(letter) != nullptr, "a set letter for which the state keeps no result");
  static_assert(plan_detail::CodesOfSet(letter, rows), "a set lists a code of another set");
  static constexpr CriteriaSet kSet = {letter, rows};

  template <class State>
  [[gnu::always_inline]] static void Run(criteria::R r, State& s) {
    constexpr int ClassificationScores::*result = ResultOf(letter);
    s.*result = plan_detail::RunCriteria<rows>(r, s);
  }
};

// The sets of a family group in the order they run.
template <class... Sets>
struct Plan {
  static constexpr CriteriaSet kSets[] = {Sets::kSet...};

  template <class State>
  [[gnu::always_inline]] static void Run(criteria::R r, State& s) {
    (Sets::Run(r, s), ...);
  }
};

// A plan and the family group that runs it.
template <bool (*families)(Family), class P>
struct ForFamilies {
  static constexpr bool (*kFamilies)(Family) = families;
  using Sets = P;
};

// The plans of every family group; a family runs the first plan whose group
// holds it.
template <class... Groups>
struct FamilyPlans {
  template <class State>
  [[gnu::always_inline]] static void Run(criteria::R r, Family family, State& s) {
    (void)((Groups::kFamilies(family) && (Groups::Sets::Run(r, s), true)) || ...);
  }

  static std::span<const CriteriaSet> SetsOf(Family family) {
    std::span<const CriteriaSet> sets;
    (void)((Groups::kFamilies(family) && (sets = Groups::Sets::kSets, true)) || ...);
    return sets;
  }

  // Every set of every plan.
  static constexpr auto kEverySet = [] {
    std::array<CriteriaSet, (std::size(Groups::Sets::kSets) + ...)> sets{};
    std::size_t n = 0;
    (
        [&] {
          for (const CriteriaSet& set : Groups::Sets::kSets) sets[n++] = set;
        }(),
        ...);
    return sets;
  }();
};

namespace criteria {

using ClassificationPlans = FamilyPlans<
    ForFamilies<IsEarly, Plan<Set<'A', kSetAEarly>, Set<'B', kSetBEarly>, Set<'C', kSetCEarly>,
                              Set<'E', kSetE>, Set<'D', kSetD>, Set<'F', kSetFEarly>>>,
    ForFamilies<Is090, Plan<Set<'A', kSetA090>, Set<'B', kSetB090>, Set<'C', kSetC090>,
                            Set<'F', kSetFFrom090>>>,
    ForFamilies<IsFrom091, Plan<Set<'A', kSetA091>, Set<'B', kSetB091>, Set<'C', kSetC091>,
                                Set<'F', kSetFFrom090>>>>;

}  // namespace criteria

namespace plan_detail {

using Code = std::array<char, 2>;

// Every code of the plans and the code of the unclaimed group, each once, by
// digit and letter, and how many there are.
constexpr auto kCodes = [] {
  constexpr auto& sets = criteria::ClassificationPlans::kEverySet;
  std::size_t most = 1;
  for (const CriteriaSet& set : sets) most += set.rows.size();
  std::array<Code, 128> codes{};
  if (most > codes.size()) throw "more criteria than the slot table holds";
  std::size_t n = 0;
  auto add = [&](const char* text) {
    const Code code = {text[0], text[1]};
    std::size_t at = 0;
    while (at < n && codes[at] < code) ++at;
    if (at < n && codes[at] == code) return;
    for (std::size_t k = n; k > at; --k) codes[k] = codes[k - 1];
    codes[at] = code;
    ++n;
  };
  for (const CriteriaSet& set : sets) {
    for (const criteria::Criterion& row : set.rows) {
      if (row.code != criteria::kStop) add(row.code);
    }
  }
  add(kUnclaimedCode);
  // A set's codes run from 'A' without gaps.
  for (std::size_t k = 0; k < n; ++k) {
    const bool first = k == 0 || codes[k - 1][0] != codes[k][0];
    if (first ? codes[k][1] != 'A' : codes[k][1] != codes[k - 1][1] + 1) {
      throw "the codes of a set leave a gap";
    }
  }
  return std::pair{codes, n};
}();

}  // namespace plan_detail

inline constexpr int kCriteriaSlots = static_cast<int>(plan_detail::kCodes.second);

// The slot of a criterion code ("1A".."7A"), or -1 for a text that names no
// criterion. Codes take slots in the order of their digit and letter. Known at
// compile time for the codes of the criteria lists.
constexpr int CriterionSlot(std::string_view code) {
  if (code.size() != 2) return -1;
  for (int slot = 0; slot < kCriteriaSlots; ++slot) {
    const plan_detail::Code& c = plan_detail::kCodes.first[slot];
    if (c[0] == code[0] && c[1] == code[1]) return slot;
  }
  return -1;
}

// The group letters in the order they win: the sets' letters, then the
// unclaimed group's; NUL-terminated.
inline constexpr auto kGroupLetters = [] {
  std::array<char, 8> letters{};
  std::size_t n = 0;
  for (char letter = 'A'; letter < kUnclaimedLetter; ++letter) {
    for (const CriteriaSet& set : criteria::ClassificationPlans::kEverySet) {
      if (set.letter == letter) {
        letters[n++] = letter;
        break;
      }
    }
  }
  letters[n] = kUnclaimedLetter;
  return letters;
}();
inline constexpr int kSetCount =
    static_cast<int>(std::string_view(kGroupLetters.data()).size()) - 1;

namespace plan_detail {

// Row I of the list decides the set when its condition holds: a criterion
// row meets it, a stop row ends it unmet.
template <const auto& rows, std::size_t I, class State>
[[gnu::always_inline]] inline bool Decides(criteria::R r, State& s, int& met) {
  constexpr const criteria::Criterion& row = rows[I];
  if (!row.holds(r, s)) return false;
  if constexpr (row.code == criteria::kStop) {
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

template <const auto& rows, class State, std::size_t... I>
[[gnu::always_inline]] inline int RunRows(criteria::R r, State& s, std::index_sequence<I...>) {
  int met = 0;
  (void)(Decides<rows, I>(r, s, met) || ...);
  return met;
}

template <const auto& rows, class State>
[[gnu::always_inline]] inline int RunCriteria(criteria::R r, State& s) {
  return RunRows<rows>(r, s, std::make_index_sequence<std::size(rows)>{});
}

}  // namespace plan_detail

}  // namespace grouper
