// Four threads answer the lines of a generated file through the C interface
// at once; every output and console line must be the one that the batch's own
// line processing gives the same read. Run under ThreadSanitizer (preset
// "tsan") and AddressSanitizer (preset "sanitize") as well.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "grouper/grouper.h"
#include "line/group_line.h"
#include "sample_generator.h"

namespace grouper {
namespace {

constexpr int kThreads = 4;

// Records of every form version, a tenth with one fault, with the batch's
// line end; some with other line ends, blanks or a NUL and what follows it;
// and a few reads that are no records.
std::vector<std::string> Lines() {
  sample::SampleOptions options;
  options.seed = 20240611;
  options.fault_share = sample::kShareScale / 10;
  sample::SampleGenerator generator = sample::StartSample(options);
  std::vector<std::string> lines;
  using namespace std::string_literals;
  for (int i = 0; i < 3000; ++i) {
    const std::string text = NextSampleLine(generator).text;
    lines.push_back(text + "\r\n");
    if (i < 20) {
      for (const std::string& end : {""s, "\n"s, "  \r\r\n"s, "\0garbage\n"s, "   \0 x"s}) {
        lines.push_back(text + end);
      }
      lines.push_back(text.substr(0, 200) + "\0"s + text.substr(200));
    }
  }
  for (const std::string& odd : {""s, "\n"s, "091\0\r\n"s, std::string(1023, 'x')}) {
    lines.push_back(odd);
  }
  return lines;
}

struct Answer {
  std::string output;
  std::string console;
};

TEST(GrouperThreads, FourThreadsAnswerEveryLineAsTheBatchDoes) {
  const std::vector<std::string> lines = Lines();
  std::vector<Answer> answers(lines.size());
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (std::size_t i = static_cast<std::size_t>(t); i < lines.size(); i += kThreads) {
        const std::string& line = lines[i];
        grouper_result r;
        if (grouper_group_line(line.data(), line.size(), &r) != 0) continue;
        char out[GROUPER_MAX_OUTPUT_LINE + 1];
        answers[i].output.assign(
            out, grouper_format_output_line(line.data(), line.size(), &r, out, sizeof out));
        answers[i].console.assign(out, grouper_format_console_line(i + 1, &r, out, sizeof out));
      }
    });
  }
  for (std::thread& t : threads) t.join();

  // The batch's side: one buffer and work space for every line, as a worker.
  auto buffer = std::make_unique<LineBuffer>();
  auto work = std::make_unique<GroupingWork>();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    LineAnswer answer{};
    const LineText text = GroupLine(lines[i].data(), lines[i].size(), *buffer, *work, answer);
    char out[kMaxComposedLine];
    ASSERT_EQ(answers[i].output, std::string(out, ComposeOutputLine(text.text, answer, out)))
        << "line " << i;
    ASSERT_EQ(answers[i].console, std::string(out, ComposeConsoleLine(i + 1, answer, out)))
        << "line " << i;
  }
}

}  // namespace
}  // namespace grouper
