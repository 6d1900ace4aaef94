#include <gtest/gtest.h>

#include <set>

#include "record/form_version.h"
#include "sample_draft.h"
#include "validate/record_validator.h"

namespace grouper::sample {
namespace {

// A clean drawn record as the generator's steps see it.
Draft DraftOf(const AssessmentRecord& r) {
  Draft d{};
  d.r = r;
  d.family = FamilyOfField(r.form_version);
  const auto number = [&](int at, int n) {
    int value = 0;
    for (int i = at; i < at + n; ++i) value = value * 10 + (r.a_assessment_date[i] - '0');
    return value;
  };
  d.assessment_day = DaysFromCivil(number(0, 4), number(4, 2), number(6, 2));
  return d;
}

// Every row that a fault can break, broken on a clean record, is mended by
// asking the rows alone: no row of a shape fails again.
TEST(SampleRows, EveryBreakableRowIsMendedAgain) {
  SampleOptions options;
  options.seed = 41;
  const SampleGenerator gen = StartSample(options);
  std::set<Shape> shapes;
  int broken = 0;
  for (uint64_t i = 0; i < 200; ++i) {
    const Draft clean = DraftOf(SampleRecord(gen, i));
    ASSERT_EQ(ValidateRecord(clean.r, clean.family), nullptr) << "record " << i;
    Random g{i};
    for (const Row* row : RowsThatApply(clean.r, clean.family)) {
      Draft d = clean;
      if (FaultKindOfRow(*row) == FaultKind::kNone || !BreakRow(g, *row, d)) continue;
      ASSERT_NE(ValidateRecord(d.r, d.family), nullptr) << "record " << i << " " << row->item;
      ++broken;
      shapes.insert(row->shape);
      // A mended answer may break an irregular rule (an admission date
      // after the care start), which the generator draws again for.
      SatisfyRows(d);
      for (const Fault& left : CollectFaults(d.r, d.family)) {
        EXPECT_EQ(left.check->shape, Shape::kRule) << "record " << i << " " << row->item;
      }
    }
  }
  EXPECT_GT(broken, 10000);
  // Every shape but the irregular rule.
  EXPECT_EQ(shapes.size(), 12u);
}

}  // namespace
}  // namespace grouper::sample
