// The filing period of the report: the earliest and the latest assessment
// date of the grouped records, in calendar order and written YYYYMMDD, as the
// rules read the dates (blanks among the digits taken out).
#include "report_tally.h"

#include <gtest/gtest.h>

#include <string>

#include "line/group_line.h"
#include "support/record_builder.h"

namespace grouper::report {
namespace {

TEST(ReportTally, ThePeriodIsTheCalendarsOrderOfTheDatesAsRead) {
  ReportTally tally;
  GroupingWork work;
  uint64_t line = 0;
  // "2019 105" reads as 5 October 2019: later than 1 March, though its text
  // sorts first.
  for (const char* date : {"20190301", "2019 105", "20190302"}) {
    AssessmentRecord record = testing::ValidRecord("091");
    testing::SetText(record.a_admission_date, "20180101");
    testing::SetText(record.a_care_start_date, "20180101");
    testing::SetText(record.a_assessment_date, date);
    const std::string text = testing::BuildLine(record);
    TallyLine(tally, text.data(), text.size(), ++line, work);
  }
  EXPECT_EQ(tally.totals.grouped, 3u);
  EXPECT_EQ(tally.period_start, "20190301");
  EXPECT_EQ(tally.period_end, "20191005");
}

}  // namespace
}  // namespace grouper::report
