// The compiled walk of the rows: each row of a planned list reports what the
// row reports on its own, in the same order, whether its bytes are tested a
// word at a time or one by one.
#include "validate/row_plan.h"

#include <gtest/gtest.h>

#include <vector>

#include "record/assessment_record.h"
#include "support/run_rows.h"

namespace grouper {
namespace {

using testing::RunRows;

using R = AssessmentRecord;

constexpr Gate kComa = {[](const R& r) { return r.b_coma == '1'; }, kFields<FIELD(b_coma)>};
constexpr GateRef ComaGate = &kComa;

// Rows that the compiled walk tests a word at a time: a run of one-byte rows
// with one gate (sets of digits among them, one with a gap), and rows over a
// list of flags.
constexpr CharField kRunFlags[] = {&R::c_delusions, &R::c_agitation, &R::c_depression,
                                   &R::c_anxiety,   &R::c_euphoria,  &R::c_apathy};
constexpr Row kWordRows[] = {
    CharRange(&R::c_delusions, '0', '3', "delusions", ComaGate),
    CharRange(&R::c_hallucinations, '0', '1', "hallucinations", ComaGate),
    Blank(&R::c_agitation, "agitation", ComaGate),
    CharSet(&R::c_depression, "1238", "depression", ComaGate),
    CharSet(&R::c_anxiety, "2", "anxiety", ComaGate),
    NoneOfAbove(&R::c_wandering, kRunFlags, "none 0", "none 1"),
    AnySet(kRunFlags, "any"),
    AllExactlyZero(kRunFlags, "all zero"),
};

// The interpreted walk, collecting every fault.
std::vector<const char*> EveryFaultOneByOne(R& record) {
  std::vector<const char*> faults;
  for (const Row& row : kWordRows) {
    if (const char* message = EvaluateRow(row, record)) faults.push_back(message);
  }
  return faults;
}

TEST(CheckPlan, CompiledWordTestsReportWhatTheRowsReport) {
  // The test is about the word-at-a-time path: the rows must take it.
  static_assert(check_detail::kRowPlans<kWordRows>[0].run_length == 5);
  static_assert(check_detail::kRowPlans<kWordRows>[5].flags.words > 0);
  const char values[] = {'0', '1', '2', '3', '4', '5', '7', '8', '9', ' ', '\0', '\x80', '\xb1'};
  for (char gate : {'0', '1'}) {
    for (std::size_t field = 0; field < 7; ++field) {
      for (char value : values) {
        R record{};
        record.b_coma = gate;
        record.c_delusions = '0';
        record.c_hallucinations = '1';
        record.c_agitation = ' ';
        record.c_depression = '2';
        record.c_anxiety = '2';
        record.c_euphoria = '0';
        record.c_apathy = '0';
        record.c_wandering = '1';
        char* fields[] = {&record.c_delusions,  &record.c_hallucinations, &record.c_agitation,
                          &record.c_depression, &record.c_anxiety,        &record.c_euphoria,
                          &record.c_wandering};
        *fields[field] = value;
        FirstFault first;
        RunCompiledRows<kWordRows>(record, first);
        EXPECT_EQ(first.message, RunRows(kWordRows, record))
            << "gate " << gate << " field " << field << " value " << int{value};
        FaultList all;
        RunCompiledRows<kWordRows>(record, all);
        std::vector<const char*> messages;
        for (const Fault& f : all.faults) messages.push_back(f.message);
        EXPECT_EQ(messages, EveryFaultOneByOne(record))
            << "gate " << gate << " field " << field << " value " << int{value};
      }
    }
  }
}

}  // namespace
}  // namespace grouper
