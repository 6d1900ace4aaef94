// The report page for what a generated file cannot hold: record bytes that
// are markup, identifiers in a rejected record, and a valid record without a
// code. Counts against the batch are checked in a browser (tests/report/).
#include "report_page.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "report_tally.h"
#include "support/record_builder.h"

namespace grouper::report {
namespace {

using grouper::testing::BuildLine;
using grouper::testing::SetItem;
using grouper::testing::ValidRecord;

std::string PageOf(const ReportTally& tally) {
  return RenderPage(tally, {"month<1>.in", {}});
}

void Tally(ReportTally& tally, const std::string& text, uint64_t number) {
  char line[kLineBufferSize] = {};
  std::memcpy(line, text.data(), text.size());
  GroupingWork work{};
  TallyLine(tally, line, text.size(), number, work);
}

TEST(ReportPage, RecordBytesAreEscapedAndIdentifiersMasked) {
  std::string line = BuildLine(ValidRecord("091"));
  SetItem(line, "patient_name", "<u>'&\"");
  SetItem(line, "a_systolic_bp", "<i>");  // a number that cannot be read: the value is shown
  ReportTally tally;
  Tally(tally, line, 7);
  ASSERT_EQ(tally.totals.rejected, 1u);
  const std::string page = PageOf(tally);

  EXPECT_NE(page.find("<td>&lt;i&gt;</td>"), std::string::npos) << "the fault's value";
  EXPECT_NE(page.find("&lt;*****"), std::string::npos) << "the masked name";
  EXPECT_NE(page.find("400101*******"), std::string::npos) << "the masked resident number";
  EXPECT_NE(page.find("month&lt;1&gt;.in"), std::string::npos) << "the file name";
  for (const char* clear : {"<u>", "<i>", "'&", "1000001", "<1>"}) {
    EXPECT_EQ(page.find(clear), std::string::npos) << clear;
  }
  EXPECT_NE(page.find("<a href=\"#line-7\">7</a>"), std::string::npos);
  EXPECT_NE(page.find("id=\"line-7\""), std::string::npos);
}

// A clerk finds a fault's item on the paper form by its code and name, and a
// base-layout record is no form version of its institution code.
TEST(ReportPage, DetailsNameTheFormsItemsAndTheBaseLayout) {
  ReportTally tally;
  std::string base = BuildLine(ValidRecord("123"));
  SetItem(base, "a_systolic_bp", "000");
  Tally(tally, base, 1);
  std::string order = BuildLine(ValidRecord("091"));
  SetItem(order, "a_admission_date", "20240120");  // after the assessment
  Tally(tally, order, 2);
  std::string blank = BuildLine(ValidRecord("091"));
  SetItem(blank, "g_fever", " ");  // a blank answer is shown as one
  Tally(tally, blank, 3);
  ASSERT_EQ(tally.totals.rejected, 3u);
  const std::string page = PageOf(tally);
  const char8_t* expected[] = {
      u8"<span>기본 서식 · ", u8"<span>서식 091 · ", u8"<td>A.9 수축기혈압</td>",
      u8"<td>A.3 입원일; A.4 요양개시일; A.6 작성일</td>", u8"<td>G.1.a 열</td><td>(빈칸)</td>"};
  for (const char8_t* text : expected) {
    EXPECT_NE(page.find(reinterpret_cast<const char*>(text)), std::string::npos)
        << reinterpret_cast<const char*>(text);
  }
  EXPECT_EQ(page.find(reinterpret_cast<const char*>(u8"서식 123")), std::string::npos);
  EXPECT_EQ(page.find("a_systolic_bp"), std::string::npos) << "a record field's own name";
}

// A fault whose mended value brings another item into the check says so under
// its message; one that opens nothing says nothing.
TEST(ReportPage, DetailsNameTheItemsAMendOpens) {
  ReportTally tally;
  std::string pain = BuildLine(ValidRecord("091"));
  SetItem(pain, "g_pain_visual_scale", "x0");
  Tally(tally, pain, 1);
  std::string pressure = BuildLine(ValidRecord("091"));
  SetItem(pressure, "a_systolic_bp", "000");
  Tally(tally, pressure, 2);
  const std::string page = PageOf(tally);
  const std::string opens = reinterpret_cast<const char*>(
      u8"입력하시오<p class=\"opens\">이 값을 고치면 다음 항목도 검사됩니다: G.2.a 통증 발생 "
      u8"빈도</p></td>");
  const std::size_t at = page.find(opens);
  EXPECT_NE(at, std::string::npos);
  EXPECT_EQ(page.find("<p class=\"opens\">", at + opens.size()), std::string::npos);
}

TEST(ReportPage, EveryCodeHasItsBarAndAValidRecordWithoutCodeItsOwn) {
  ReportTally tally;
  tally.totals = {6, 6, 0, 0};
  tally.by_code = {{"A73", 3}, {"", 2}, {"A11", 1}};
  const std::string page = PageOf(tally);

  std::size_t previous = 0;
  for (const char* bar :
       {"data-group-code=\"A11\" data-count=\"1\"", "data-group-code=\"A12\" data-count=\"0\"",
        "data-group-code=\"A73\" data-count=\"3\"", "data-group-code=\"\" data-count=\"2\""}) {
    const std::size_t at = page.find(bar);
    ASSERT_NE(at, std::string::npos) << bar;
    EXPECT_GT(at, previous) << bar << " out of code order";
    previous = at;
  }
  EXPECT_NE(page.find(reinterpret_cast<const char*>(u8"코드 없음")), std::string::npos);
}

}  // namespace
}  // namespace grouper::report
