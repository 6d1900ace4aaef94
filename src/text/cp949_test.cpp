#include "text/cp949.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/cp949.h"

#if __has_include(<iconv.h>) && !defined(_WIN32)
#include <iconv.h>
#endif

namespace grouper {
namespace {

std::u8string Syllable(int s) {
  const char32_t c = cp949::kFirstSyllable + static_cast<char32_t>(s);
  return {static_cast<char8_t>(0xE0 | (c >> 12)), static_cast<char8_t>(0x80 | ((c >> 6) & 0x3F)),
          static_cast<char8_t>(0x80 | (c & 0x3F))};
}

// Every Hangul syllable, both ways, against the C library's converter.
TEST(Cp949, EverySyllableMatchesTheSystemConverter) {
  int mismatches = 0;
  for (int s = 0; s < cp949::kSyllableCount && mismatches < 5; ++s) {
    const std::string expected = testing::Cp949(Syllable(s));
    unsigned char pair[2] = {};
    cp949::EncodeSyllable(s, pair);
    if (expected != std::string(reinterpret_cast<char*>(pair), 2) ||
        cp949::DecodeSyllable(pair[0], pair[1]) != s) {
      ADD_FAILURE() << "syllable U+" << std::hex << (cp949::kFirstSyllable + s);
      ++mismatches;
    }
  }
}

TEST(Cp949, LiteralsAreConvertedWithTheirUtf8Twin) {
  const char* message = u8"오류-[A.일반적사항][3.입원일]"_cp949;
  EXPECT_EQ(std::string(message), testing::Cp949(u8"오류-[A.일반적사항][3.입원일]"));
  EXPECT_EQ(std::string(Utf8Twin(message)), "오류-[A.일반적사항][3.입원일]");
  EXPECT_STREQ(u8"A11 .. ()"_cp949, "A11 .. ()");
}

TEST(Cp949, AnyBytesGiveValidUtf8) {
  const std::string r = "\xEF\xBF\xBD";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {testing::Cp949(u8"가상환자 똠방각하"), "가상환자 똠방각하"},
      {testing::Cp949(u8"金영희 ① ㄱ Ａ α　"), "金영희 ① ㄱ Ａ α　"},
      // A lead byte before a blank, a lone lead byte at the end: one
      // replacement character per byte; ASCII and NUL stay.
      {std::string("a\xB0 \xA1\xA1\0\xC9", 7), "a" + r + " 　" + std::string(1, '\0') + r},
      // 0x80 and 0xFF lead nothing; a pair that is no character (0xC9 and
      // 0xFE lead the user-defined rows) gives one for its lead byte, and its
      // next byte is read afresh.
      {"\x80\xFF\xC9\x41\xFE\xB0\xA1\xA1", r + r + r + "A" + r + "가" + r},
  };
  for (const auto& [bytes, utf8] : cases) EXPECT_EQ(cp949::ToUtf8(bytes), utf8);
}

#if __has_include(<iconv.h>) && !defined(_WIN32)
// Every pair of bytes that starts with a lead byte, and every single byte,
// against the C library's converter.
TEST(Cp949, EveryPairAndByteMatchesIconv) {
  const iconv_t cd = iconv_open("UTF-8", "CP949");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  // The UTF-8 of `in` when iconv converts all of it, else "".
  const auto convert = [cd](std::string in) {
    char out[16];
    char* src = in.data();
    char* dst = out;
    std::size_t src_left = in.size();
    std::size_t dst_left = sizeof out;
    const bool whole = iconv(cd, &src, &src_left, &dst, &dst_left) != static_cast<std::size_t>(-1);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    return whole ? std::string(out, sizeof out - dst_left) : std::string();
  };
  int characters = 0;
  int mismatches = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0; trail <= 0xFF; ++trail) {
      const std::string pair = {static_cast<char>(lead), static_cast<char>(trail)};
      const std::string expected = convert(pair);
      const bool character = cp949::DecodePair(static_cast<unsigned char>(lead),
                                               static_cast<unsigned char>(trail)) != 0;
      characters += character ? 1 : 0;
      if (character != !expected.empty() || (character && cp949::ToUtf8(pair) != expected)) {
        if (++mismatches <= 5) ADD_FAILURE() << std::hex << "pair 0x" << lead << trail;
      }
    }
  }
  for (int b = 0; b <= 0xFF; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const std::string expected = convert(byte);
    EXPECT_EQ(cp949::ToUtf8(byte), expected.empty() ? "\xEF\xBF\xBD" : expected) << b;
  }
  EXPECT_EQ(characters, cp949::kPairCount);
  iconv_close(cd);
}
#endif

}  // namespace
}  // namespace grouper
