// The C interface's own promises: formatting as snprintf does, NULL
// arguments refused, a line longer than one read answered as a
// wrong-data-type line, and the _into calls giving the struct calls' bytes
// whole or not at all, with a status for each failure. That every answer,
// line ends, blanks and NULs included, is the batch's is shown by
// grouper_threads_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <new>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "grouper/grouper.h"
#include "sample_generator.h"
#include "support/cp949.h"
#include "support/program_runner.h"
#include "support/record_builder.h"

namespace grouper {
namespace {

// While set, every allocation of the process fails: how a test runs out of
// memory.
std::atomic<bool> failing_allocation{false};

}  // namespace
}  // namespace grouper

// Out of line, so that the compiler does not pair a new of the tests with a
// free that it cannot see through.
[[gnu::noinline]] void* operator new(std::size_t size) {
  void* p = grouper::failing_allocation.load() ? nullptr : std::malloc(size > 0 ? size : 1);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
[[gnu::noinline]] void operator delete(void* p) noexcept {
  std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace grouper {
namespace {

using testing::BuildLine;
using testing::Cp949;
using testing::SetItem;
using testing::ValidRecord;

// Groups a copy of exactly the line's bytes, so that a sanitizer build sees
// any read past `length`.
grouper_result Group(std::string_view line) {
  const auto copy = std::make_unique<char[]>(line.size());
  std::copy(line.begin(), line.end(), copy.get());
  grouper_result r{};
  EXPECT_EQ(grouper_group_line(copy.get(), line.size(), &r), 0);
  return r;
}

std::string Output(std::string_view line, const grouper_result& r) {
  char out[GROUPER_MAX_OUTPUT_LINE + 1];
  return std::string(out,
                     grouper_format_output_line(line.data(), line.size(), &r, out, sizeof out));
}

const std::string kWrongType = Cp949(u8"오류-잘못된 데이타 타입입니다.");

TEST(GrouperC, FormattingFollowsSnprintf) {
  const std::string line = BuildLine(ValidRecord("092"));
  const grouper_result r = Group(line);
  ASSERT_EQ(r.kind, GROUPER_KIND_GROUP_CODE);
  const auto output = [&](char* buffer, std::size_t size) {
    return grouper_format_output_line(line.data(), line.size(), &r, buffer, size);
  };
  const auto console = [&](char* buffer, std::size_t size) {
    return grouper_format_console_line(123456789012ULL, &r, buffer, size);
  };
  for (const auto& format : {std::function<std::size_t(char*, std::size_t)>(output),
                             std::function<std::size_t(char*, std::size_t)>(console)}) {
    const std::size_t full = format(nullptr, 0);
    ASSERT_GT(full, 0u);
    std::string whole(full + 1, '\0');
    ASSERT_EQ(format(whole.data(), whole.size()), full);
    whole.resize(full);
    EXPECT_EQ(whole.back(), '\n');

    constexpr std::size_t kGuard = 8;
    for (const std::size_t size :
         {std::size_t{0}, std::size_t{1}, std::size_t{2}, full / 2, full, full + 1, full + 5}) {
      std::string buffer(size + kGuard, '#');
      EXPECT_EQ(format(buffer.data(), size), full) << size;
      EXPECT_EQ(buffer.substr(size), std::string(kGuard, '#')) << "written past size " << size;
      if (size == 0) continue;
      const std::size_t kept = std::min(full, size - 1);
      EXPECT_EQ(buffer.substr(0, kept), whole.substr(0, kept)) << size;
      EXPECT_EQ(buffer[kept], '\0') << size;
    }
  }
}

TEST(GrouperC, ALineLongerThanOneReadIsAWrongDataTypeLine) {
  const std::string record = BuildLine(ValidRecord("092"));  // 534 bytes
  const struct {
    std::string line;
    int kind;
    const char* form_version;
    std::string output;
  } cases[] = {
      // One read holds up to 1023 bytes: the record and its blanks still fit.
      {record + std::string(1023 - record.size(), ' '), GROUPER_KIND_GROUP_CODE, "092", ""},
      // One byte more and the batch would read two lines.
      {record + std::string(1024 - record.size(), ' '), GROUPER_KIND_WRONG_DATA_TYPE, "092",
       record + std::string(566 - 534, ' ') + kWrongType + "\r\n"},
      {std::string(1024, 'x'), GROUPER_KIND_WRONG_DATA_TYPE, "xxx",
       std::string(289, 'x') + " " + kWrongType + "\r\n"},
      {"0" + std::string(1 << 20, '9') + "\r\n", GROUPER_KIND_WRONG_DATA_TYPE, "099",
       "0" + std::string(288, '9') + " " + kWrongType + "\r\n"},
      {"01" + std::string(2000, ' ') + "\n", GROUPER_KIND_WRONG_DATA_TYPE, "01",
       "01" + std::string(288, ' ') + kWrongType + "\r\n"},
  };
  for (const auto& c : cases) {
    const grouper_result r = Group(c.line);
    EXPECT_EQ(r.kind, c.kind) << c.line.size();
    EXPECT_STREQ(r.form_version, c.form_version) << c.line.size();
    if (c.kind != GROUPER_KIND_WRONG_DATA_TYPE) continue;
    EXPECT_STREQ(r.message, kWrongType.c_str());
    EXPECT_STREQ(r.message_utf8, reinterpret_cast<const char*>(u8"오류-잘못된 데이타 타입입니다."));
    EXPECT_STREQ(r.group_code, "");
    EXPECT_EQ(Output(c.line, r), c.output) << c.line.size();
  }
}

TEST(GrouperC, NullArgumentsAreRefusedAndNothingIsWritten) {
  grouper_result r{};
  EXPECT_EQ(grouper_group_line(nullptr, 0, &r), 0);  // the empty line
  EXPECT_EQ(r.kind, GROUPER_KIND_WRONG_DATA_TYPE);
  const std::string empty_output = std::string(289, ' ') + " " + kWrongType + "\r\n";
  EXPECT_EQ(Output("", r), empty_output);
  char out[GROUPER_MAX_OUTPUT_LINE + 1];
  EXPECT_EQ(grouper_format_output_line(nullptr, 0, &r, out, sizeof out), empty_output.size());
  EXPECT_EQ(out, empty_output);

  grouper_result untouched;
  std::memset(&untouched, 0x5a, sizeof untouched);
  grouper_result copy = untouched;
  EXPECT_EQ(grouper_group_line(nullptr, 3, &copy), GROUPER_ERROR_NULL_ARGUMENT);
  EXPECT_EQ(std::memcmp(&copy, &untouched, sizeof copy), 0);
  EXPECT_EQ(grouper_group_line("089", 3, nullptr), GROUPER_ERROR_NULL_ARGUMENT);

  grouper_result bad_kind = r;
  bad_kind.kind = 7;
  char buffer[16] = "untouched";
  EXPECT_EQ(grouper_format_output_line("x", 1, nullptr, buffer, sizeof buffer), 0u);
  EXPECT_EQ(grouper_format_output_line(nullptr, 1, &r, buffer, sizeof buffer), 0u);
  EXPECT_EQ(grouper_format_output_line("x", 1, &bad_kind, buffer, sizeof buffer), 0u);
  EXPECT_EQ(grouper_format_console_line(1, nullptr, buffer, sizeof buffer), 0u);
  EXPECT_EQ(grouper_format_console_line(1, &bad_kind, buffer, sizeof buffer), 0u);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_STREQ(grouper_version(), GROUPER_VERSION);
  EXPECT_STREQ(grouper_layout(nullptr), "");
}

// The reads as the batch cuts them: through the first line feed, at most
// 1023 bytes; a NUL does not end a read.
TEST(GrouperC, NextReadCutsAsTheBatchReads) {
  const std::string x1022(1022, 'x');
  const struct {
    std::string data;
    std::size_t read;
  } cases[] = {
      {"", 0},
      {"\n", 1},
      {"091 no line feed", 16},
      {"ab\r\ncd\n", 4},
      {std::string("a\0b\nc", 5), 4},
      {x1022 + "\n", 1023},  // the line feed is byte 1023: one read
      {x1022 + "\nnext", 1023},
      {x1022 + "y", 1023},    // exactly 1023 bytes, no line feed
      {x1022 + "y\n", 1023},  // the line feed is the next read
      {std::string(5000, 'z') + "\n", 1023},
  };
  for (const auto& c : cases) {
    const auto copy = std::make_unique<char[]>(c.data.size());  // exactly the bytes given
    std::copy(c.data.begin(), c.data.end(), copy.get());
    EXPECT_EQ(grouper_next_read(copy.get(), c.data.size()), c.read) << c.data.size();
  }
  EXPECT_EQ(grouper_next_read(nullptr, 0), 0u);
  EXPECT_EQ(grouper_next_read(nullptr, 10), 0u);
}

// grouper_group_line_into with one buffer per text (0 code, 1 message, 2
// output line, 3 console line), '#' beyond what it writes; size 0 is NULL.
struct IntoCall {
  explicit IntoCall(std::string text = "") : line(std::move(text)) {}

  std::string line;
  int line_number = 7;
  int sizes[4] = {4, GROUPER_MAX_OUTPUT_LINE + 1, GROUPER_MAX_OUTPUT_LINE + 1,
                  GROUPER_MAX_OUTPUT_LINE + 1};
  std::string buffers[4];
  int kind = -1;
  int lengths[4] = {-1, -1, -1, -1};

  int Run() {
    char* b[4] = {};
    for (int i = 0; i < 4; ++i) {
      buffers[i].assign(sizes[i] > 0 ? sizes[i] + 8 : 0, '#');
      if (sizes[i] > 0) b[i] = buffers[i].data();
    }
    return grouper_group_line_into(line.data(), static_cast<int>(line.size()), line_number, &kind,
                                   b[0], sizes[0], &lengths[0], b[1], sizes[1], &lengths[1], b[2],
                                   sizes[2], &lengths[2], b[3], sizes[3], &lengths[3]);
  }
  std::string Text(int i) const { return buffers[i].c_str(); }
};

TEST(GrouperC, GroupLineIntoGivesTheBytesOfTheStructCalls) {
  sample::SampleOptions options;
  options.seed = 20250101;
  options.fault_share = sample::kShareScale / 4;
  sample::SampleGenerator generator = sample::StartSample(options);
  std::vector<std::string> lines = {"", "089", std::string(1030, '9'), std::string("091\0x\n", 6)};
  for (int i = 0; i < 1500; ++i) lines.push_back(NextSampleLine(generator).text + "\r\n");
  std::set<std::pair<std::string, int>> seen;  // form version and kind
  IntoCall call;
  for (const std::string& line : lines) {
    call.line = line;
    call.line_number = call.line_number < 1000 ? call.line_number + 1 : 2147483647;
    const grouper_result r = Group(line);
    char console[GROUPER_MAX_OUTPUT_LINE + 1];
    const std::string expected[4] = {
        r.group_code, r.message, Output(line, r),
        std::string(console,
                    grouper_format_console_line(call.line_number, &r, console, sizeof console))};
    ASSERT_EQ(call.Run(), GROUPER_OK) << line;
    EXPECT_EQ(call.kind, r.kind) << line;
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(call.Text(i), expected[i]) << i << " " << line;
      EXPECT_EQ(call.lengths[i], static_cast<int>(expected[i].size())) << i << " " << line;
    }
    seen.emplace(r.form_version, r.kind);
  }
  for (const char* version : {"089", "090", "091", "092", "010", "011", "012", "013"}) {
    EXPECT_TRUE(seen.count({version, GROUPER_KIND_GROUP_CODE}) &&
                seen.count({version, GROUPER_KIND_MESSAGE}))
        << version;
  }
}

// One byte short for any text, and every buffer asked for holds "" and
// nothing more; one byte more, and all are whole. Size 0 asks for no text.
TEST(GrouperC, GroupLineIntoWritesWholeTextsOrNone) {
  std::string rejected = BuildLine(ValidRecord("091"));
  SetItem(rejected, "h_weight", "x");
  for (const std::string& line : {BuildLine(ValidRecord("092")), rejected}) {
    IntoCall query(line);
    std::fill(std::begin(query.sizes), std::end(query.sizes), 0);
    ASSERT_EQ(query.Run(), GROUPER_OK);
    for (int short_one = 0; short_one < 4; ++short_one) {
      for (const int extra : {0, 1}) {
        IntoCall call(line);
        for (int i = 0; i < 4; ++i) call.sizes[i] = query.lengths[i] + (i == short_one ? extra : 1);
        if (call.sizes[short_one] == 0) continue;
        EXPECT_EQ(call.Run(), extra ? GROUPER_OK : GROUPER_ERROR_BUFFER_TOO_SMALL) << short_one;
        EXPECT_EQ(call.kind, query.kind);
        for (int i = 0; i < 4; ++i) {
          const std::size_t written = extra ? query.lengths[i] + 1u : 1u;
          EXPECT_EQ(call.lengths[i], query.lengths[i]) << i;
          EXPECT_EQ(call.buffers[i].find_first_not_of('#', written), std::string::npos) << i;
          EXPECT_EQ(call.buffers[i][written - 1], '\0') << i;
        }
      }
    }
  }
}

// A bad argument is told apart from the others and writes nothing.
TEST(GrouperC, IntoCallsRefuseBadArgumentsAndWriteNothing) {
  const struct {
    const char* line;
    int length, line_number, null_buffer, size, status;  // size: of the message buffer
  } cases[] = {
      {nullptr, 3, 1, -1, 64, GROUPER_ERROR_NULL_ARGUMENT},
      {"089", 3, 1, 2, 64, GROUPER_ERROR_NULL_ARGUMENT},
      {"089", -1, 1, -1, 64, GROUPER_ERROR_INVALID_ARGUMENT},
      {"089", 3, -1, -1, 64, GROUPER_ERROR_INVALID_ARGUMENT},
      {"089", 3, 1, -1, -1, GROUPER_ERROR_INVALID_ARGUMENT},
  };
  for (const auto& c : cases) {
    char buffers[4][64];
    std::memset(buffers, '#', sizeof buffers);
    char* b[4] = {buffers[0], buffers[1], buffers[2], buffers[3]};
    if (c.null_buffer >= 0) b[c.null_buffer] = nullptr;
    int kind = -7, n[4] = {-7, -7, -7, -7};
    EXPECT_EQ(grouper_group_line_into(c.line, c.length, c.line_number, &kind, b[0], 4, &n[0], b[1],
                                      c.size, &n[1], b[2], 64, &n[2], b[3], 64, &n[3]),
              c.status);
    EXPECT_EQ(std::string(buffers[0], sizeof buffers), std::string(sizeof buffers, '#'));
    EXPECT_EQ(std::vector<int>({kind, n[0], n[1], n[2], n[3]}), std::vector<int>(5, -7));
  }
  char buffer[8] = "#######";
  int n = -7;
  EXPECT_EQ(grouper_explain_json_into(nullptr, 3, 0, buffer, 8, &n), GROUPER_ERROR_NULL_ARGUMENT);
  EXPECT_EQ(grouper_explain_json_into("089", 3, 0, nullptr, 8, &n), GROUPER_ERROR_NULL_ARGUMENT);
  EXPECT_EQ(grouper_explain_json_into("089", -1, 0, buffer, 8, &n), GROUPER_ERROR_INVALID_ARGUMENT);
  EXPECT_EQ(grouper_explain_json_into("089", 3, 2, buffer, 8, &n), GROUPER_ERROR_INVALID_ARGUMENT);
  EXPECT_EQ(std::string(buffer) + std::to_string(n), "#######-7");
}

// grouper_explain_json's text whole or not at all, and a lack of memory told
// from a bad argument, which grouper_explain_json answers alike with 0.
TEST(GrouperC, ExplainJsonIntoGivesTheTextWholeOrAStatus) {
  const std::string line = BuildLine(ValidRecord("013"));
  const int flags = GROUPER_EXPLAIN_SHOW_IDENTIFIERS;
  std::string json(grouper_explain_json(line.data(), line.size(), flags, nullptr, 0), '\0');
  grouper_explain_json(line.data(), line.size(), flags, json.data(), json.size() + 1);
  for (const int extra : {0, 1}) {
    std::string buffer(json.size() + 9, '#');
    int n = -1;
    EXPECT_EQ(grouper_explain_json_into(line.data(), static_cast<int>(line.size()), flags,
                                        buffer.data(), static_cast<int>(json.size()) + extra, &n),
              extra ? GROUPER_OK : GROUPER_ERROR_BUFFER_TOO_SMALL);
    EXPECT_EQ(n, static_cast<int>(json.size()));
    std::string expected = (extra ? json : std::string()) + '\0';
    expected.resize(buffer.size(), '#');
    EXPECT_EQ(buffer, expected);
  }

  char old_buffer[8] = "stale", buffer[8] = "stale";
  int n = -1;
  failing_allocation = true;
  const std::size_t old = grouper_explain_json(line.data(), line.size(), 0, old_buffer, 8);
  const int status =
      grouper_explain_json_into(line.data(), static_cast<int>(line.size()), 0, buffer, 8, &n);
  failing_allocation = false;
  EXPECT_EQ(old, 0u);
  EXPECT_STREQ(old_buffer, "");
  EXPECT_EQ(status, GROUPER_ERROR_NO_MEMORY);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(n, 0);
}

// The number that the library gives is its version text's, by the header's
// scheme, and the header's own.
TEST(GrouperC, VersionNumberIsTheVersionText) {
  int major = 0, minor = 0, patch = 0;
  ASSERT_EQ(std::sscanf(grouper_version(), "%d.%d.%d", &major, &minor, &patch), 3);
  EXPECT_EQ(grouper_version_number(), major * 1000000 + minor * 1000 + patch);
  EXPECT_EQ(grouper_version_number(), GROUPER_VERSION_NUMBER);
  // The header's text and number, both made from its three numbers.
  EXPECT_EQ(std::string(GROUPER_VERSION), std::to_string(GROUPER_VERSION_MAJOR) + "." +
                                              std::to_string(GROUPER_VERSION_MINOR) + "." +
                                              std::to_string(GROUPER_VERSION_PATCH));
}

// The texts that the library gives are those the batch prints when a file
// fails it, with the file's name and a line feed after them.
TEST(GrouperC, ConsoleErrorTextsAreTheBatchs) {
  const std::string dir = testing::MakeTempDir();
  testing::WriteFile(dir + "/in.txt", BuildLine(ValidRecord("089")) + "\r\n");
  std::filesystem::create_directory(dir + "/folder");
  const struct {
    int kind;
    std::vector<std::string> args;
    std::string typed;  // answers the batch's prompt for an input it could not open
    std::string name;
  } cases[] = {
      {GROUPER_CONSOLE_INPUT_OPEN, {"missing.in", "out.txt"}, "typed.in\n", "typed.in"},
      {GROUPER_CONSOLE_OUTPUT_OPEN, {"in.txt", "folder"}, "", "folder"},
#ifdef __linux__
      {GROUPER_CONSOLE_OUTPUT_WRITE, {"in.txt", "/dev/full"}, "", "/dev/full"},
      {GROUPER_CONSOLE_INPUT_READ, {"/proc/self/mem", "out.txt"}, "", "/proc/self/mem"},
#endif
  };
  for (const auto& c : cases) {
    const testing::ProgramRun run = testing::RunGrouper(dir, c.args, c.typed);
    const std::string line = std::string(grouper_console_error_text(c.kind)) + c.name + "\n";
    EXPECT_EQ(run.exit_status, 1) << c.kind;
    EXPECT_GT(std::strlen(grouper_console_error_text(c.kind)), 0u) << c.kind;
    EXPECT_TRUE(run.console.ends_with(line)) << c.kind << ": " << run.console;
  }
  for (int kind : {-1, 4, 1000}) EXPECT_STREQ(grouper_console_error_text(kind), "") << kind;
}

TEST(GrouperC, LayoutOfEveryFormVersion) {
  const struct {
    std::string line;
    const char* layout;
  } cases[] = {
      {BuildLine(ValidRecord("089")), "089/010"},
      {BuildLine(ValidRecord("010")), "089/010"},
      {BuildLine(ValidRecord("011")), "090/011"},
      {BuildLine(ValidRecord("091")), "091/012"},
      {BuildLine(ValidRecord("013")), "092/013"},
      {BuildLine(ValidRecord("123")), "base"},
      {"092 too short", "092/013"},
      {"08", "base"},
      {"", "base"},
  };
  for (const auto& c : cases) {
    const grouper_result r = Group(c.line);
    EXPECT_STREQ(grouper_layout(&r), c.layout) << c.line;
  }
}

}  // namespace
}  // namespace grouper
