// Strict UTF-8 with escapes at every edge of the well-formed ranges: the first
// and the last sequence of each length, and the byte just outside each range
// (overlong forms, surrogates, beyond U+10FFFF, a sequence cut short).
#include "text/utf8.h"

#include <gtest/gtest.h>

namespace grouper::utf8 {
namespace {

TEST(Utf8, WellFormedSequencesStayAndEveryOtherByteIsEscaped) {
  const struct {
    std::string_view bytes;
    std::string_view shown;
  } cases[] = {
      {"month.in", "month.in"},
      {"\x7F", "\x7F"},
      {"\xC2\x80|\xDF\xBF", "\xC2\x80|\xDF\xBF"},                  // U+0080, U+07FF
      {"\xE0\xA0\x80|\xEF\xBF\xBF", "\xE0\xA0\x80|\xEF\xBF\xBF"},  // U+0800, U+FFFF
      {"\xED\x9F\xBF|\xEE\x80\x80", "\xED\x9F\xBF|\xEE\x80\x80"},  // around the surrogates
      {"\xF0\x90\x80\x80|\xF4\x8F\xBF\xBF", "\xF0\x90\x80\x80|\xF4\x8F\xBF\xBF"},
      {"\xEA\xB0\x80.in", "\xEA\xB0\x80.in"},     // a Hangul syllable
      {"\xED\xA0\x80.in", "\\xED\\xA0\\x80.in"},  // a surrogate
      {"\xED\xBF\xBF", "\\xED\\xBF\\xBF"},
      {"\xC0\xAF", "\\xC0\\xAF"},  // overlong '/'
      {"\xC1\xBF", "\\xC1\\xBF"},
      {"\xE0\x9F\xBF", "\\xE0\\x9F\\xBF"},
      {"\xF0\x8F\xBF\xBF", "\\xF0\\x8F\\xBF\\xBF"},
      {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},  // past U+10FFFF
      {"\xF5\x80\x80\x80", "\\xF5\\x80\\x80\\x80"},
      {"\xFF\xFE", "\\xFF\\xFE"},
      {"\xE4\xB8", "\\xE4\\xB8"},                          // cut short at the end
      {"\xE4\xB8\xEA\xB0\x80", "\\xE4\\xB8\xEA\xB0\x80"},  // ... and a syllable after
      {"\xE4\x41\x80", "\\xE4A\\x80"},
      {"\xB0\xA1.in", "\\xB0\\xA1.in"},  // code page 949 bytes
      {"a\\xb", "a\\xb"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Escaped(c.bytes), c.shown) << Escaped(c.shown);
  }
}

}  // namespace
}  // namespace grouper::utf8
