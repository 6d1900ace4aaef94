#include "classify/criteria_reads.h"

#include <algorithm>

namespace grouper {

namespace {

using criteria::Read;

bool SameRead(const Read& a, const Read& b) {
  return a.kind == b.kind && a.field == b.field && a.score == b.score;
}

void Expand(std::span<const Read> reads, Family family, std::vector<Read>& out) {
  for (const Read& read : reads) {
    if (read.families != nullptr && !read.families(family)) continue;
    if (read.kind == Read::Kind::kGroup) {
      Expand({read.group, read.group_size}, family, out);
      continue;
    }
    const auto same = [&read](const Read& other) { return SameRead(read, other); };
    if (std::none_of(out.begin(), out.end(), same)) out.push_back(read);
  }
}

}  // namespace

std::span<const CriteriaSet> CriteriaSetsOf(Family family) {
  return criteria::ClassificationPlans::SetsOf(family);
}

bool FamilyRunsSet(Family family, char letter) {
  if (letter == kUnclaimedLetter) return true;
  for (const CriteriaSet& set : CriteriaSetsOf(family)) {
    if (set.letter == letter) return true;
  }
  return false;
}

std::vector<Read> ExpandReads(std::span<const Read> reads, Family family) {
  std::vector<Read> out;
  Expand(reads, family, out);
  return out;
}

std::vector<Read> CriterionReads(std::string_view code, Family family) {
  for (const CriteriaSet& set : CriteriaSetsOf(family)) {
    std::vector<Read> out;
    for (const criteria::Criterion& row : set.rows) {
      if (row.code == criteria::kStop) {
        Expand(row.reads, family, out);
      } else if (code == row.code) {
        Expand(row.reads, family, out);
        return out;
      }
    }
  }
  return {};
}

}  // namespace grouper
