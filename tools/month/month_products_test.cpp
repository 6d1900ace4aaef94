// The month's one pass against the programs it stands for, on lines at the
// edges of what a line is (grouped, rejected, wrong data types, a line longer
// than one read, a CR line end, no last line feed): its result file is the
// batch's, its table is grouper-explain's rows of each line's whole
// explanation, and its page is grouper-report's.
#include "month_products.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "batch/byte_io.h"
#include "batch/line_stream.h"
#include "explain/explanation_csv.h"
#include "platform/platform.h"
#include "support/program_runner.h"
#include "support/record_builder.h"

namespace grouper::month {
namespace {

using testing::MakeTempDir;
using testing::ReadFile;
using testing::WriteFile;

TEST(MonthPass, MakesTheBatchsFileTheExplanationsTableAndTheReportsPage) {
  const std::string dir = MakeTempDir();
  std::string rejected = testing::BuildLine(testing::ValidRecord("091"));
  testing::SetItem(rejected, "g_fever", "7");
  const std::string input = testing::BuildLine(testing::ValidRecord("091")) + "\n" + rejected +
                            "\r\n" + "abc\n" + std::string(1100, '1') + "\n" +
                            testing::BuildLine(testing::ValidRecord("012"));
  const std::string in = dir + "/in.txt";
  WriteFile(in, input);

  platform::ReplacementFile result, table;
  ASSERT_EQ(result.Create(dir + "/m.out"), 0);
  ASSERT_EQ(table.Create(dir + "/m.csv"), 0);
  report::ReportFile facts;
  uint64_t lines = 0;
  int fd = platform::OpenInput(in.c_str());
  const auto ended = WriteResultAndTable(fd, result, table, lines, facts);
  platform::Close(fd);
  for (const PassResult& r : ended) EXPECT_EQ(r.error, 0);
  for (platform::ReplacementFile* f : {&result, &table}) {
    ASSERT_EQ(f->Finish(), 0);
    ASSERT_EQ(f->Commit(), 0);
  }

  fd = platform::OpenInput(in.c_str());
  const int out = platform::OpenOutput((dir + "/batch.out").c_str());
  EXPECT_EQ(ProcessStream(fd, out, kNoConsole), StreamResult::kComplete);
  platform::Close(out);
  platform::Close(fd);
  EXPECT_EQ(ReadFile(dir + "/m.out"), ReadFile(dir + "/batch.out"));

  fd = platform::OpenInput(in.c_str());
  LineReader reader(fd);
  char line[kLineBufferSize];
  std::string rows = CsvHeader();
  ExplainOptions options;
  uint64_t reads = 0;
  for (std::size_t n; (n = reader.ReadLine(line)) > 0;) {
    options.line_number = ++reads;
    rows += CsvRow(ExplainLine(line, n), options);
  }
  platform::Close(fd);
  EXPECT_EQ(lines, reads);
  EXPECT_EQ(ReadFile(dir + "/m.csv"), rows);

  report::ReportFile alone;
  fd = platform::OpenInput(in.c_str());
  ASSERT_EQ(report::ReadReportFile(fd, 0, alone), 0);
  platform::Close(fd);
  const int page = platform::OpenOutput((dir + "/m.html").c_str());
  EXPECT_EQ(WriteReportPage(facts, in, 0, page).error, 0);
  platform::Close(page);
  EXPECT_EQ(ReadFile(dir + "/m.html"), report::ReportFilePage(alone, in));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace grouper::month
