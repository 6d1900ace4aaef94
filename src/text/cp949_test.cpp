#include "text/cp949.h"

#include <gtest/gtest.h>

#include <string>

#include "support/cp949.h"

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
  const std::string korean = testing::Cp949(u8"가상환자 똠방각하");
  EXPECT_EQ(cp949::ToUtf8(korean), "가상환자 똠방각하");
  // A lead byte before a blank, a pair that is no syllable (a symbol), a lone
  // lead byte at the end: one replacement character per byte; ASCII and NUL
  // stay.
  const std::string mixed("a\xB0 \xA1\xA1\0\xC9", 7);
  const std::string r = "\xEF\xBF\xBD";
  EXPECT_EQ(cp949::ToUtf8(mixed), "a" + r + " " + r + r + std::string(1, '\0') + r);
}

}  // namespace
}  // namespace grouper
