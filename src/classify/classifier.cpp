#include "classify/classifier.h"

#include <array>
#include <climits>
#include <cstring>
#include <utility>

#include "classify/criteria_plan.h"
#include "classify/scores.h"
#include "record/assessment_record.h"
#include "record/form_version.h"

namespace grouper {

namespace {

// The early families' code table: the first row whose letter matches and
// whose band holds the tested value decides. Band 1 holds the highest values.
enum class Tested { kGroupACount, kAdlScore, kNothing };
struct CodeBand {
  char letter;
  Tested tested;
  int low;
  int high;
  const char* code;
};
constexpr CodeBand kEarlyCodes[] = {
    {'A', Tested::kGroupACount, 3, 6, "A11"}, {'A', Tested::kGroupACount, 1, 2, "A12"},
    {'B', Tested::kAdlScore, 17, 20, "A21"},  {'B', Tested::kAdlScore, 9, 16, "A22"},
    {'B', Tested::kAdlScore, 4, 8, "A23"},    {'C', Tested::kAdlScore, 16, 20, "A31"},
    {'C', Tested::kAdlScore, 9, 15, "A32"},   {'C', Tested::kAdlScore, 4, 8, "A33"},
    {'D', Tested::kNothing, 0, 0, "A41"},     {'E', Tested::kNothing, 0, 0, "A51"},
    {'F', Tested::kAdlScore, 13, 20, "A61"},  {'F', Tested::kAdlScore, 6, 12, "A62"},
    {'G', Tested::kAdlScore, 13, 20, "A71"},  {'G', Tested::kAdlScore, 6, 12, "A72"},
    {'G', Tested::kAdlScore, 4, 5, "A73"},
};

// The families from 090 have one code per letter.
struct LetterCode {
  char letter;
  const char* code;
};
constexpr LetterCode kNewerCodes[] = {
    {'A', "A11"}, {'B', "A21"}, {'C', "A31"}, {'F', "A61"}, {'G', "A71"},
};

void WriteCode(const char* code, char* destination) {
  std::memcpy(destination, code, 4);
}

}  // namespace

namespace {

// The sets' results in the order in which their letters win.
constexpr auto kResultsInOrder = [] {
  std::array<int ClassificationScores::*, kSetCount> results{};
  for (int set = 0; set < kSetCount; ++set) results[set] = ResultOf(kGroupLetters[set]);
  return results;
}();

}  // namespace

int select_group_letter(ClassificationState& s) {
  char letter = kUnclaimedLetter;
  for (int set = 0; set < kSetCount; ++set) {
    if (s.*kResultsInOrder[set] == 1) {
      letter = kGroupLetters[set];
      break;
    }
  }
  if (letter == kUnclaimedLetter) {
    constexpr int kSlot = CriterionSlot(kUnclaimedCode);
    std::memcpy(s.criteria[kSlot], kUnclaimedCode, 3);
  }
  s.group_letter[0] = letter;
  s.group_letter[1] = '\0';
  return letter;
}

int count_group_a_conditions(const AssessmentRecord& r, const ClassificationState& s) {
  // The early families' set-A criteria, in every family, and sets B and C.
  return criteria::CountCriteriaHolding<criteria::kSetAEarly>(r, s) + (s.set_b_met == 1) +
         (s.set_c_met == 1);
}

int build_group_code_early(const ClassificationState& s, char* destination) {
  for (const CodeBand& band : kEarlyCodes) {
    if (band.letter != s.group_letter[0]) continue;
    int value = 0;
    int low = INT_MIN;
    int high = INT_MAX;
    if (band.tested != Tested::kNothing) {
      value = band.tested == Tested::kGroupACount ? s.group_a_count : s.adl_score;
      low = band.low;
      high = band.high;
    }
    if (value < low || value > high) continue;
    WriteCode(band.code, destination);
    return 1;
  }
  return 0;
}

int build_group_code_newer(const ClassificationState& s, char* destination) {
  for (const LetterCode& row : kNewerCodes) {
    if (row.letter != s.group_letter[0]) continue;
    WriteCode(row.code, destination);
    return 1;
  }
  return 0;
}

namespace {

template <std::size_t... B>
[[gnu::always_inline]] inline void ZeroBlocks(unsigned char* bytes, std::index_sequence<B...>) {
  constexpr unsigned char kZero[16] = {};
  (std::memcpy(bytes + B * sizeof kZero, kZero, sizeof kZero), ...);
}

// The state is cleared for every record: in 16-byte blocks that the compiler
// writes out, which cost less than a call of the C library's memset.
void ClearState(ClassificationState& s) {
  constexpr std::size_t kBlocks = sizeof s / 16;
  unsigned char* bytes = reinterpret_cast<unsigned char*>(&s);
  ZeroBlocks(bytes, std::make_index_sequence<kBlocks>{});
  std::memset(bytes + kBlocks * 16, 0, sizeof s % 16);
}

}  // namespace

void ClassifyRecord(const AssessmentRecord& record, Family family, ClassificationState& s) {
  // Cleared, the code among the rest: a code of an earlier record must not
  // stand for this one when no code can be formed.
  ClearState(s);
  s.family = family;

  compute_scores(record, s);

  criteria::ClassificationPlans::Run(record, family, s);

  select_group_letter(s);
  s.group_a_count = count_group_a_conditions(record, s);
  if (IsEarly(family)) {
    build_group_code_early(s, s.group_code);
  } else {
    build_group_code_newer(s, s.group_code);
  }
}

}  // namespace grouper
