#include "classify/criteria_reads.h"

#include <algorithm>

#include "classify/criteria_sets.h"
#include "classify/scores.h"

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

void AddField(std::vector<FieldRef>& fields, FieldRef field) {
  if (std::find(fields.begin(), fields.end(), field) == fields.end()) fields.push_back(field);
}

}  // namespace

std::vector<CriteriaSet> CriteriaSetsOf(Family family) {
  if (IsEarly(family)) {
    return {{'A', SetARows(family)}, {'B', SetBRows(family)}, {'C', SetCRows(family)},
            {'E', SetERows(family)}, {'D', SetDRows(family)}, {'F', SetFRows(family)}};
  }
  return {{'A', SetARows(family)},
          {'B', SetBRows(family)},
          {'C', SetCRows(family)},
          {'F', SetFRows(family)}};
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

std::vector<FieldRef> FieldsOfRead(const Read& read, Family family) {
  std::vector<FieldRef> fields;
  if (read.kind == Read::Kind::kField) {
    fields.push_back(FieldRef{read.field});
    return fields;
  }
  // A set's result stands for every row of the set.
  const struct {
    int ClassificationState::*result;
    char letter;
  } kResults[] = {{&ClassificationState::set_a_met, 'A'},
                  {&ClassificationState::set_b_met, 'B'},
                  {&ClassificationState::set_c_met, 'C'}};
  for (const auto& result : kResults) {
    if (read.score != result.result) continue;
    for (const CriteriaSet& set : CriteriaSetsOf(family)) {
      if (set.letter != result.letter) continue;
      for (const criteria::Criterion& row : set.rows) {
        for (const Read& r : ExpandReads(row.reads, family)) {
          for (const FieldRef field : FieldsOfRead(r, family)) AddField(fields, field);
        }
      }
    }
    return fields;
  }
  for (const Read& r : ExpandReads(ScoreReads(read.score), family)) {
    for (const FieldRef field : FieldsOfRead(r, family)) AddField(fields, field);
  }
  return fields;
}

}  // namespace grouper
