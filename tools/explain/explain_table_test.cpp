// grouper-explain's table made in runs on several workers: the same rows as
// one row after another makes, and a sign of a wrong file said between the
// rows where it showed, whatever the cut.
#include "explain_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "batch/byte_io.h"
#include "platform/platform.h"
#include "support/program_runner.h"
#include "support/record_builder.h"

namespace grouper::explain_tool {
namespace {

TEST(ExplainTable, TheRowsAndSignsAreTheSameWhereverTheLinesAreCut) {
  const std::string dir = testing::MakeTempDir();
  const std::string grouped = testing::BuildLine(testing::ValidRecord("091"));
  std::string rejected = grouped;
  testing::SetItem(rejected, "g_fever", "7");
  std::string input;
  for (int i = 0; i < 300; ++i) {
    input += (i % 3 == 0 ? rejected : grouped) + "\n";
    if (i == 150) input += grouped + "\r" + std::string(2100, '7') + "\n";  // a CR line end
  }
  const std::string in = dir + "/in.txt";
  testing::WriteFile(in, input);
  auto picked = [](uint64_t line) { return line % 5 != 4; };

  // One row after another, a sign before the row of the line where it showed.
  std::string expected;
  {
    const int fd = platform::OpenInput(in.c_str());
    LineReader reader(fd);
    InputWarnings warnings;
    char line[kLineBufferSize];
    LineBuffer buffer;
    GroupingWork work;
    LineAnswer answer;
    std::optional<LineExplanation> explained;
    ExplainOptions options;
    uint64_t number = 0;
    for (std::size_t n; (n = reader.ReadLine(line)) > 0;) {
      warnings.Add(line, n);
      for (const char* sign : warnings.NewNames()) expected += std::string("[") + sign + "]";
      if (!picked(++number)) continue;
      options.line_number = number;
      const LineText taken = GroupLine(line, n, buffer, work, answer);
      expected += CsvRowOfAnswer(taken, n, answer, work, options, explained, CsvTable::kKorean);
    }
    platform::Close(fd);
  }
  ASSERT_NE(expected.find("[cr-line-ends]"), std::string::npos);

  const TableShape shapes[] = {
      {.workers = 1},
      {.workers = 2, .run_lines = 1},
      {.workers = 2, .run_lines = 7, .run_bytes = 3000},
      {.workers = 3, .run_lines = 1024, .run_bytes = kLineBufferSize},
  };
  for (const TableShape& shape : shapes) {
    SCOPED_TRACE(::testing::Message() << shape.workers << " workers, runs of " << shape.run_lines);
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    StreamOutput out(file);
    InputWarnings warnings;
    const int fd = platform::OpenInput(in.c_str());
    const TableEnd ended =
        WriteTableRows(fd, out, {}, CsvTable::kKorean, picked, warnings,
                       [&out](const char* sign) { out.Write(std::string("[") + sign + "]"); });
    platform::Close(fd);
    EXPECT_TRUE(ended.written);
    EXPECT_EQ(ended.read_error, 0);
    ASSERT_TRUE(out.Flush());
    std::rewind(file);
    std::string made;
    char block[4096];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, file)) > 0;) made.append(block, n);
    std::fclose(file);
    EXPECT_EQ(made, expected);
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace grouper::explain_tool
