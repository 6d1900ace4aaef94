#include "batch/line_stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cstdlib>
#endif

#include "line/input_warnings.h"
#include "platform/platform.h"
#include "support/cp949.h"
#include "support/program_runner.h"

namespace grouper {
namespace {

using testing::Cp949;
using testing::MakeTempDir;
using testing::ReadFile;
using testing::WriteFile;

struct Written {
  StreamResult result;
  std::string output;
  std::string console;
};

class LineStreamTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = MakeTempDir(); }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const char* name) const { return dir_ + "/" + name; }

  // Runs the loop on `input` with the given workers and run length; the result
  // goes to `output_name`, or to a file of the temporary directory.
  Written Run(const std::string& input, StreamOptions options, const char* output_name = nullptr) {
    WriteFile(Path("in"), input);
    const std::string output = output_name ? output_name : Path("out");
    const int in = platform::OpenInput(Path("in").c_str());
    const int out = platform::OpenOutput(output.c_str());
    const int console = platform::OpenOutput(Path("console").c_str());
    EXPECT_GE(in, 0);
    EXPECT_GE(out, 0);
    EXPECT_GE(console, 0);
    const StreamResult result = ProcessStream(in, out, console, options);
    platform::Close(in);
    platform::Close(out);
    platform::Close(console);
    return {result, output_name ? std::string() : ReadFile(output), ReadFile(Path("console"))};
  }

  // The bundled sample's records, repeated, among lines of every other kind:
  // blank, too short, longer than one read, with a NUL byte, without a final
  // line end.
  static std::string MixedInput(int repeats) {
    const std::string sample = ReadFile(std::string(GROUPER_SOURCE_DIR) + "/examples/sample.in");
    std::string input;
    for (int i = 0; i < repeats; ++i) {
      input += sample;
      input += "\r\n   \n0890\n" + std::string(1500, '1') + "\n";
      input += std::string("090 ab\0cd", 9) + "\n";
    }
    return input + sample.substr(0, 200);
  }

  std::string dir_;
};

// One worker taking one line at a time is the plain line loop; every other
// number of workers and length of run must give its bytes.
TEST_F(LineStreamTest, WorkersAndRunLengthsGiveTheSameBytes) {
  const std::string input = MixedInput(40);
  const Written reference = Run(input, {.workers = 1, .run_lines = 1});
  ASSERT_EQ(reference.result, StreamResult::kComplete);
  ASSERT_GT(reference.output.size(), input.size());
  for (const StreamOptions options :
       {StreamOptions{1, 256}, StreamOptions{2, 1}, StreamOptions{2, 7}, StreamOptions{3, 64},
        StreamOptions{2, 1024, 3000}}) {
    const Written written = Run(input, options);
    EXPECT_EQ(written.result, StreamResult::kComplete);
    EXPECT_TRUE(written.output == reference.output)
        << options.workers << " workers, runs of " << options.run_lines;
    EXPECT_TRUE(written.console == reference.console)
        << options.workers << " workers, runs of " << options.run_lines;
  }
  EXPECT_EQ(Run("", {.workers = 2}).output, "");
}

// An input that opens but cannot be read (here a file open for writing only,
// refused by the system on every platform, Wine included) is a failed read,
// never the end of an empty input, with one worker or two.
TEST_F(LineStreamTest, AnInputThatCannotBeReadIsAReadError) {
  WriteFile(Path("in"), "abc\n");
  for (const int workers : {1, 2}) {
    const int in = platform::OpenOutput(Path("in").c_str());
    const int out = platform::OpenOutput(Path("out").c_str());
    const int console = platform::OpenOutput(Path("console").c_str());
    ASSERT_GE(in, 0);
    EXPECT_EQ(ProcessStream(in, out, console, {.workers = workers}), StreamResult::kReadError);
    platform::Close(in);
    platform::Close(out);
    platform::Close(console);
    EXPECT_EQ(ReadFile(Path("out")), "");
    EXPECT_EQ(ReadFile(Path("console")), "");
  }
}

// A program that shows its own progress gives no console: the result file is
// the same bytes, also past the first block of console lines that is dropped.
TEST_F(LineStreamTest, NoConsoleLeavesTheResultAsItIs) {
  const std::string input = MixedInput(100);
  const Written reference = Run(input, {.workers = 2});
  ASSERT_GT(reference.console.size(), std::size_t{1} << 17);
  const int in = platform::OpenInput(Path("in").c_str());
  const int out = platform::OpenOutput(Path("quiet").c_str());
  EXPECT_EQ(ProcessStream(in, out, kNoConsole, {.workers = 2}), StreamResult::kComplete);
  platform::Close(in);
  platform::Close(out);
  EXPECT_TRUE(ReadFile(Path("quiet")) == reference.output);
}

// The signs of a wrong file are looked for in the reads in the order of the
// input, whatever the workers do: a CR that ends one read and the LF that
// begins the next are a line end, a CR before anything else is a sign.
TEST_F(LineStreamTest, TheWarningsTakeEveryReadInOrder) {
  std::string split_line_ends;
  for (int i = 0; i < 300; ++i) split_line_ends += std::string(1022, 'a') + "\r\n";
  const struct {
    std::string input;
    std::vector<std::string> names;
  } cases[] = {{split_line_ends, {}}, {split_line_ends + "x\ry\r\n", {"cr-line-ends"}}};
  for (const auto& c : cases) {
    InputWarnings warnings;
    EXPECT_EQ(Run(c.input, {.workers = 2, .run_lines = 1, .warnings = &warnings}).result,
              StreamResult::kComplete);
    warnings.Finish();
    const std::vector<const char*> names = warnings.Names();
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.end()), c.names);
  }
}

#ifndef _WIN32
// On a terminal, each line's progress shows as soon as its line has come, even
// when the input is written slowly (from a pipe): a run does not wait for
// more lines than are at hand.
TEST_F(LineStreamTest, ASlowInputShowsEachLineAsItComes) {
  const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(terminal, 0);
  ASSERT_EQ(grantpt(terminal), 0);
  ASSERT_EQ(unlockpt(terminal), 0);
  const int console = open(ptsname(terminal), O_RDWR | O_NOCTTY);
  ASSERT_GE(console, 0);
  int input[2];
  ASSERT_EQ(pipe(input), 0);
  const int output = platform::OpenOutput(Path("out").c_str());
  ASSERT_GE(output, 0);

  std::thread writer([&] {
    const std::string line = "too short\n";
    for (int i = 1; i <= 3; ++i) {
      ASSERT_EQ(write(input[1], line.data(), line.size()), static_cast<ssize_t>(line.size()));
      // Wait (at most 10 s) for the line's progress on the terminal.
      const std::string expected = Cp949(u8"데이타(") + std::to_string(i) + ")";
      std::string shown;
      pollfd ready{terminal, POLLIN, 0};
      while (shown.find(expected) == std::string::npos && poll(&ready, 1, 10000) == 1) {
        char bytes[4096];
        const ssize_t n = read(terminal, bytes, sizeof bytes);
        if (n <= 0) break;
        shown.append(bytes, static_cast<std::size_t>(n));
      }
      EXPECT_NE(shown.find(expected), std::string::npos) << "line " << i << " was not shown";
    }
    close(input[1]);
  });
  EXPECT_EQ(ProcessStream(input[0], output, console, {.workers = 2}), StreamResult::kComplete);
  writer.join();
  close(input[0]);
  close(output);
  close(console);
  close(terminal);
}

// A result that cannot be written stops every worker at the same line: the
// console ends at the line whose write failed, however far the other worker
// had read and answered.
TEST_F(LineStreamTest, AFailedWriteStopsAtTheSameLine) {
  const std::string input = MixedInput(200);  // a result of several megabytes
  const Written reference = Run(input, {.workers = 1, .run_lines = 1}, "/dev/full");
  ASSERT_EQ(reference.result, StreamResult::kWriteError);
  const std::string whole = Run(input, {.workers = 1, .run_lines = 1}).console;
  ASSERT_FALSE(reference.console.empty());
  ASSERT_LT(reference.console.size(), whole.size()) << "the run should stop early";
  for (const StreamOptions options : {StreamOptions{2, 5}, StreamOptions{2, 256}}) {
    const Written written = Run(input, options, "/dev/full");
    EXPECT_EQ(written.result, StreamResult::kWriteError);
    EXPECT_TRUE(written.console == reference.console) << "runs of " << options.run_lines;
  }
}
#endif

}  // namespace
}  // namespace grouper
