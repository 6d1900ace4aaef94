// The sets that CriteriaSetsOf describes are the sets the classifier runs:
// on generated records of every version, the first row of each described set
// whose condition holds is the one whose code the classification recorded
// (or, for a stop row or none, the set is not met).
#include "classify/criteria_reads.h"

#include <gtest/gtest.h>

#include <string>

#include "line/group_line.h"
#include "sample_generator.h"

namespace grouper {
namespace {

int SetResult(const ClassificationState& s, char letter) {
  switch (letter) {
    case 'A':
      return s.set_a_met;
    case 'B':
      return s.set_b_met;
    case 'C':
      return s.set_c_met;
    case 'D':
      return s.set_d_met;
    case 'E':
      return s.set_e_met;
    default:
      return s.set_f_met;
  }
}

TEST(CriteriaSets, TheDescribedRowsDecideAsTheClassifierDid) {
  for (const char* version : {"base", "089", "010", "090", "011", "091", "012", "092", "013"}) {
    sample::SampleOptions options;
    options.seed = 5;
    options.versions = {version};
    sample::SampleGenerator generator = sample::StartSample(options);
    int grouped = 0;
    for (int i = 0; i < 2000; ++i) {
      const std::string line = sample::NextSampleLine(generator).text;
      LineBuffer buffer;
      GroupingWork work;
      LineAnswer answer;
      GroupLine(line.data(), line.size(), buffer, work, answer);
      if (answer.outcome != Outcome::kGroupCode) continue;
      ++grouped;
      const ClassificationState& s = work.classification;
      for (const CriteriaSet& set : CriteriaSetsOf(answer.family)) {
        std::string decided;
        for (const criteria::Criterion& row : set.rows) {
          if (!row.holds(work.record, s)) continue;
          decided = row.code == criteria::kStop ? "" : row.code;
          break;
        }
        EXPECT_EQ(SetResult(s, set.letter), decided.empty() ? 0 : 1)
            << version << " " << set.letter;
        if (decided.empty()) continue;
        const int slot = CriterionSlot(decided);
        EXPECT_EQ(std::string(s.criteria[slot]), decided) << version << " " << set.letter;
        EXPECT_EQ(CriterionReads(decided, answer.family).empty(), false) << decided;
      }
    }
    EXPECT_GT(grouped, 1000) << version;
  }
}

}  // namespace
}  // namespace grouper
