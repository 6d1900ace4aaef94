// The signs of a wrong file, read by reads as the batch splits a file.
#include "line/input_warnings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "support/cp949.h"
#include "text/u8_text.h"

namespace grouper {
namespace {

std::string NamesOf(const std::vector<std::string>& reads) {
  InputWarnings w;
  for (const std::string& read : reads) {
    // A block of the read's own size, so that a sanitizer build sees a byte
    // looked at past it (a std::string has its NUL there).
    const std::unique_ptr<char[]> block(new char[read.size()]);
    std::copy(read.begin(), read.end(), block.get());
    w.Add(block.get(), read.size());
  }
  w.Finish();
  std::string names;
  for (const char* name : w.Names()) names += (names.empty() ? "" : " ") + std::string(name);
  return names;
}

TEST(InputWarnings, NameEachSignOfAWrongFileAndNoneOfARightOne) {
  const std::string cp949_name = testing::Cp949(u8"가상000001");
  const struct {
    const char* what;
    std::vector<std::string> reads;
    const char* names;
  } cases[] = {
      {"code page 949 with CR LF", {"091 " + cp949_name + "\r\n", "092 x\r\n"}, ""},
      {"line feeds alone, last line without end", {"091 a\n", "092 b"}, ""},
      {"Hangul in UTF-8", {"091 a\r\n", "091 " + U8(u8"가상000001") + "\r\n"}, "utf8"},
      {"a byte-order mark",
       {"\xEF\xBB\xBF"
        "091 a\r\n"},
       "utf8"},
      {"a byte-order mark later is no sign",
       {"091 a\r\n",
        "\xEF\xBB\xBF"
        "x\r\n"},
       ""},
      // Code page 949 bytes that are no UTF-8 around a UTF-8-like run.
      {"mixed bytes", {cp949_name + U8(u8"가") + "\r\n"}, ""},
      {"CR alone within a read", {"091 a\r092 b\r093 c\r"}, "cr-line-ends"},
      {"CR at the end of one read, LF at the start of the next", {"091 a\r", "\n"}, ""},
      {"CR at the end of one read, text in the next", {"091 a\r", "092 b"}, "cr-line-ends"},
      {"CR at the end of one read, CR LF in the next", {"091 a\r", "\r\n"}, ""},
      {"a CR run over three reads, then LF", {"091 a\r", "\r\r", "\n092 b\r\n"}, ""},
      {"a CR run over two reads, then text", {"091 a\r", "\rb\r\n"}, "cr-line-ends"},
      // The batch trims them from the last line, as it trims a line end.
      {"a file ending in CRs", {"091 a\r\n", "092 b\r\r"}, ""},
      {"both", {U8(u8"091 가\r092 나\r")}, "utf8 cr-line-ends"},
      // Past the first eight bytes; CRs before LF or before a byte.
      {"Hangul in UTF-8 after a long ASCII run",
       {"091 0123456789abcdef" + U8(u8"가") + "\r\n"},
       "utf8"},
      {"code page 949 after a long ASCII run", {"091 0123456789abcdef" + cp949_name + "\r\n"}, ""},
      {"CR CR LF", {"091 a\r\r\n", "092 b\r\r\r\n"}, ""},
      {"CR alone amid a CR LF line", {"091 a\rb\r\n"}, "cr-line-ends"},
      {"CR CR amid a CR CR LF line", {"091 a\r\rb\r\r\n"}, "cr-line-ends"},
      {"empty", {}, "empty"},
  };
  for (const auto& c : cases) EXPECT_EQ(NamesOf(c.reads), c.names) << c.what;
  EXPECT_NE(InputWarnings::Sentence("utf8", Language::kKorean).find("UTF-8"), std::string::npos);
  EXPECT_EQ(InputWarnings::Sentence("unknown", Language::kEnglish), "");
}

// Whatever the reads, the same bytes give the same signs: every text of up to
// seven bytes from {a, CR, LF} given whole, and cut into two and three reads
// at every place.
TEST(InputWarnings, TheSignsDoNotDependOnWhereTheReadsAreCut) {
  for (int length = 1; length <= 7; ++length) {
    int count = 1;
    for (int i = 0; i < length; ++i) count *= 3;
    for (int n = 0; n < count; ++n) {
      std::string text;
      for (int i = 0, rest = n; i < length; ++i, rest /= 3) text += "a\r\n"[rest % 3];
      const std::string whole = NamesOf({text});
      for (int i = 1; i < length; ++i) {
        ASSERT_EQ(NamesOf({text.substr(0, i), text.substr(i)}), whole) << text << " at " << i;
        for (int j = i + 1; j < length; ++j) {
          ASSERT_EQ(NamesOf({text.substr(0, i), text.substr(i, j - i), text.substr(j)}), whole)
              << text << " at " << i << ", " << j;
        }
      }
    }
  }
  EXPECT_EQ(NamesOf({"\r\ra"}), "cr-line-ends");
  EXPECT_EQ(NamesOf({"a\r\r\n\r"}), "");
}

}  // namespace
}  // namespace grouper
