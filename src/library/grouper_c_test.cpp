// The C interface's own promises: formatting as snprintf does, NULL
// arguments refused, and a line longer than one read answered as a
// wrong-data-type line. That every answer, line ends, blanks and NULs
// included, is the batch's is shown by grouper_threads_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "grouper/grouper.h"
#include "support/cp949.h"
#include "support/record_builder.h"

namespace grouper {
namespace {

using testing::BuildLine;
using testing::Cp949;
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

// The number that the library gives is its version text's, by the header's
// scheme, and the header's own.
TEST(GrouperC, VersionNumberIsTheVersionText) {
  int major = 0, minor = 0, patch = 0;
  ASSERT_EQ(std::sscanf(grouper_version(), "%d.%d.%d", &major, &minor, &patch), 3);
  EXPECT_EQ(grouper_version_number(), major * 1000000 + minor * 1000 + patch);
  EXPECT_EQ(grouper_version_number(), GROUPER_VERSION_NUMBER);
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
