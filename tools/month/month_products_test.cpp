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

// Products of `in` made by WriteResultAndTable with `shape`, checked against
// what the batch, grouper-explain and grouper-report make of it.
void ExpectProductsOf(const std::string& dir, const std::string& in, const RunShape& shape) {
  platform::ReplacementFile result, table;
  ASSERT_EQ(result.Create(dir + "/m.out"), 0);
  ASSERT_EQ(table.Create(dir + "/m.csv"), 0);
  report::ReportFile facts;
  uint64_t lines = 0;
  int fd = platform::OpenInput(in.c_str());
  const auto ended = WriteResultAndTable(fd, result, table, lines, facts, shape);
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
  std::string rows = CsvHeader(CsvTable::kKorean);
  ExplainOptions options;
  uint64_t reads = 0;
  for (std::size_t n; (n = reader.ReadLine(line)) > 0;) {
    options.line_number = ++reads;
    rows += CsvRow(ExplainLine(line, n), options, CsvTable::kKorean);
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
}

TEST(MonthPass, MakesTheBatchsFileTheExplanationsTableAndTheReportsPage) {
  const std::string dir = MakeTempDir();
  std::string rejected = testing::BuildLine(testing::ValidRecord("091"));
  testing::SetItem(rejected, "g_fever", "7");
  const std::string input = testing::BuildLine(testing::ValidRecord("091")) + "\n" + rejected +
                            "\r\n" + "abc\n" + std::string(1100, '1') + "\n" +
                            testing::BuildLine(testing::ValidRecord("012"));
  const std::string in = dir + "/in.txt";
  WriteFile(in, input);
  ExpectProductsOf(dir, in, {});
  std::filesystem::remove_all(dir);
}

// The lines are answered in runs, on one worker or more, and the products are
// the same bytes whatever the cut: runs of one line, runs that end inside a
// line longer than a read, input blocks smaller than a line, and more
// rejected and wrong-data-type lines than the report keeps details of, so
// that the workers stop explaining for it somewhere in the middle.
TEST(MonthPass, TheProductsAreTheSameWhereverTheLinesAreCut) {
  const std::string dir = MakeTempDir();
  const std::string grouped = testing::BuildLine(testing::ValidRecord("091"));
  std::string rejected = testing::BuildLine(testing::ValidRecord("012"));
  testing::SetItem(rejected, "g_fever", "7");
  std::string input;
  for (std::size_t i = 0; i < report::kDetailedRecords + 40; ++i) {
    input += grouped + "\r\n" + rejected + "\n";
    if (i % 17 == 0) input += "short\n" + std::string(2500, '7') + "\n";
  }
  input += grouped;  // no last line feed
  const std::string in = dir + "/in.txt";
  WriteFile(in, input);
  const RunShape shapes[] = {
      {.workers = 1},
      {.workers = 2, .run_lines = 1},
      {.workers = 2, .run_lines = 7, .run_bytes = 3000, .input_block = 777},
      {.workers = 3, .run_lines = 1024, .run_bytes = kLineBufferSize, .input_block = 4096},
  };
  for (const RunShape& shape : shapes) {
    SCOPED_TRACE(::testing::Message() << shape.workers << " workers, runs of " << shape.run_lines
                                      << " lines, blocks of " << shape.input_block);
    ExpectProductsOf(dir, in, shape);
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace grouper::month
