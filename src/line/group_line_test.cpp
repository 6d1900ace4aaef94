// What a line is: its text, its trimmed length, its version and framing, and
// the buffer that holds it, whoever hands it over.
#include "line/group_line.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace grouper {
namespace {

TEST(TakeLine, TrimsTrailingBlanksCrAndLfOnlyAndStopsAtANul) {
  const struct {
    std::string_view read;
    std::string_view text;
  } cases[] = {
      {"abc\r\n", "abc"},
      {"abc\n", "abc"},
      {"abc", "abc"},
      {"abc  \r\n", "abc"},
      {"  \r\n", ""},
      {"\n", ""},
      {"", ""},
      {"a\tb\t\r\n", "a\tb\t"},
      {"a \r b\n", "a \r b"},
      {"abc\r\r\n\n ", "abc"},
      {std::string_view("ab \0cd\n", 7), "ab"},
      {std::string_view("\0abc", 4), ""},
  };
  LineBuffer buffer;
  // A long line first: what it leaves in the buffer must not show in the next.
  TakeLine(std::string(900, '7').data(), 900, buffer);
  for (const auto& c : cases) {
    const LineText line = TakeLine(c.read.data(), c.read.size(), buffer);
    EXPECT_EQ(std::string_view(line.text, line.length), c.text) << c.read;
    for (std::size_t i = line.length; i < sizeof buffer.bytes; ++i) {
      ASSERT_EQ(buffer.bytes[i], '\0') << "byte " << i << " after '" << c.read << "'";
    }
  }
}

TEST(TakeLine, VersionFamilyAndFraming) {
  const struct {
    std::string read;
    const char* version;
    Family family;
    bool framed;
  } cases[] = {
      {std::string(262, '0').replace(0, 3, "089") + "\r\n", "089", Family::k089, true},
      {std::string(261, '0').replace(0, 3, "010"), "010", Family::k089, false},
      {std::string(258, '1') + "   ", "111", Family::kBase, true},
      {std::string(398, '0').replace(0, 3, "091"), "091", Family::k091, true},
      {std::string(399, '0').replace(0, 3, "091"), "091", Family::k091, false},
      {"09", "09", Family::kBase, false},
      {"", "", Family::kBase, false},
  };
  LineBuffer buffer;
  for (const auto& c : cases) {
    const LineText line = TakeLine(c.read.data(), c.read.size(), buffer);
    EXPECT_STREQ(line.form_version, c.version) << c.read.size();
    EXPECT_EQ(line.family, c.family) << c.read.size();
    EXPECT_EQ(line.framed, c.framed) << c.read.size();
    EXPECT_FALSE(line.over_long);
  }
}

// More bytes than one read hold: never a record, whatever its length after
// trimming, and no byte past the buffer is touched.
TEST(TakeLine, ALineLongerThanOneReadIsNoRecord) {
  LineBuffer buffer;
  const std::string fits = std::string(262, '0').replace(0, 3, "089");
  for (const std::string& bytes : {fits + std::string(800, ' '), std::string(2500, '9'),
                                   fits + std::string(1, '\0') + std::string(900, 'x')}) {
    const LineText line = TakeLine(bytes.data(), bytes.size(), buffer);
    EXPECT_TRUE(line.over_long);
    EXPECT_FALSE(line.framed);
    GroupingWork work;
    LineAnswer answer;
    AnswerLine(line, work, answer);
    EXPECT_EQ(answer.outcome, Outcome::kWrongDataType);
    EXPECT_EQ(buffer.used, line.length < kMaxReadLength ? line.length : kMaxReadLength);
    EXPECT_EQ(buffer.bytes[kMaxReadLength], '\0');
  }
}

}  // namespace
}  // namespace grouper
