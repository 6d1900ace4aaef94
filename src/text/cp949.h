// Code page 949 text.
//
// Every Korean text of the program (the messages, the console words, the
// generator's names) is written in the sources as UTF-8, next to its rule, and
// leaves the program as code page 949 bytes whatever the compiler and its
// execution character set: the literal u8"..."_cp949 is converted while the
// program is compiled. A literal may hold ASCII and Hangul syllables; any other
// character does not compile.
//
// The converted bytes are stored NUL-terminated and are followed, in the same
// static array, by the literal's UTF-8 text, NUL-terminated: Utf8Twin() of a
// pointer that a _cp949 literal gave returns that UTF-8 text (for instance a
// message for a UTF-8 caller) without any conversion at run time.
//
// Code page 949 holds all 11,172 Hangul syllables in two blocks: the 2,350 of
// the older national standard at 0xB0A1..0xC8FE, 94 to a lead byte in Unicode
// order, and the other 8,822 in the extension, also in Unicode order, at lead
// bytes 0x81..0xC6 with trail bytes 0x41..0x5A, 0x61..0x7A and 0x81..0xFE
// (0x81..0xA0 only from lead byte 0xA1 on, where the standard block takes the
// rest). One bit per syllable says which block holds it; the tests compare
// every syllable both ways with the C library's converter.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace grouper::cp949 {

inline constexpr int kSyllableCount = 11172;  // U+AC00 .. U+D7A3
inline constexpr char32_t kFirstSyllable = 0xAC00;

// Bit s (word s / 64, bit s % 64) is set when the syllable U+AC00 + s lies in
// the standard block.
inline constexpr uint64_t kStandardBlock[(kSyllableCount + 63) / 64] = {
    0x1303b0113eff0793, 0x0593000011102801, 0x3b019703b0111e7b, 0x306b959300a01112,
    0x113032011102b051, 0xb879300a011102b0, 0x0080001030011306, 0x93000011100b0113,
    0x0593000000102b03, 0x3b011323b051746b, 0x7000000000001030, 0x111029001303b011,
    0xb015300000012180, 0x020000303001030e, 0x1300000010230111, 0x0113030010106b81,
    0x0000010030111013, 0x3000000022b85530, 0x113afb079702b011, 0x00000021011303b0,
    0x03b011383b0d1b00, 0x1300000111330113, 0x00000100111c2b05, 0x2a011300b0111000,
    0x1010000102b01930, 0x1030030111000000, 0x0011146b07130230, 0x8fb8f9742b051300,
    0x00000000103b0113, 0x01134ab0d9700000, 0x000011030011103b, 0x100001112ab15930,
    0x00100b0111010000, 0x0000102b01130000, 0x02a0111020000101, 0x0102b05930210111,
    0x011307b019300000, 0x00000003b011383b, 0x383b0d1300000000, 0x000010000103b011,
    0x0010102001130000, 0x0000011000000100, 0x0002181130000000, 0x0111000000100000,
    0x0b01930000000023, 0x302b011100301110, 0x01303b0113c7b011, 0xb011300000000280,
    0x03b011302b011383, 0x1102b011300a0011, 0x0111010000002000, 0x2b011302a011102b,
    0x3000000101000010, 0x11302b0113029011, 0xb0113000000066b0, 0x07b0113a6b07d302,
    0x1300000000200103, 0x011303b011386b05, 0x2b051b00000010b8, 0x1000000003000110,
    0x79700a011102a011, 0x0000100a0111a2b0, 0x0090111000011100, 0x9300000000090111,
    0x011322b0f9f2bb05, 0x000000002001323b, 0x303b019306b05930, 0x117000001123a011,
    0x00001010001102b0, 0x0000011003011301, 0x01010010162b0793, 0x0111020011300000,
    0x00000000b0113029, 0x383b05130eb05130, 0x000001000303b011, 0x0000103901930000,
    0x000000003b000302, 0x0000000000230113, 0x0001000000100000, 0x0000000290113020,
    0x1000000000000000, 0x0000030111020000, 0xb079b02b01130000, 0x02b011303b011323,
    0x1343b0d9f0210111, 0x011103b011303b01, 0x20011322b0517020, 0x300b011101901110,
    0x0016ab019302b011, 0xb011302101130100, 0x02b0313029010302, 0x1b42b81930000000,
    0x0000033011383301, 0x3305130000000020, 0x0000000000001110, 0x0130230593000001,
    0x3011101000010100, 0x0230113000000100, 0x1100000010100001, 0x8513020000000000,
    0x2b01130010111003, 0x303b011363b87730, 0x7b30020111a2b091, 0xf0d1702b011357f0,
    0x0ab971301b0111e3, 0x13029001303b0113, 0x071302b011302b01, 0x230113033011302b,
    0x30ab011302b01130, 0x7130090111feb411, 0xb011307b05d347b8, 0x0000111021015303,
    0x1102b011306b0513, 0x0513000000103301, 0x30000102a01038eb, 0x3020001302b01110,
    0x001010000102b071, 0x1011100b01130000, 0x000000002b011300, 0x1303b095366b0593,
    0x0000020001103b01, 0x20000103b0113000, 0x3000000001000010, 0x00101001030ab011,
    0x0000000301110100, 0x0300001023011302, 0x0100000010000000, 0x0000029000100000,
    0x7b01538630113000, 0x0021015103b01130, 0x11303b0113000000, 0x00011010001102b0,
    0x020011102b011302, 0x0102b01110000000, 0x000102b011300100, 0x2b01110000011010,
    0x002b011302101110, 0x11302b0393000000, 0x0000303b011302b0, 0x03b0193000000002,
    0x0103b011102b0113, 0x011302b011300000, 0x0001010200001021, 0x102b011300000010,
    0x1130200001020011, 0x30113001011102b0, 0x02b0113000000002, 0x0103b011303b0313,
    0x0513000000002000, 0x10001102b011303b, 0x142b011300000110, 0x0110000001000001,
    0xb011300000010280, 0x0000001010000102, 0x9302101110230113, 0x0113003011100b05,
    0x3b011323b051702b, 0x3000000000000030, 0x11102b011303b011, 0xb011300a01010330,
    0x0000000020000102, 0x9300a01110000011, 0x0000020000102b05, 0x2901110090111000,
    0x3000000000b01110, 0x11302b211302b011, 0x00000020000103b0, 0x02b011302b051300,
    0x13002011103b0113, 0x0013028011322b21, 0x0a011102a0113028, 0x3021011102921130,
    0x11302b0113020011, 0x3011122b03d30290, 0x000000002b011302};
inline constexpr int kWordCount = static_cast<int>(std::size(kStandardBlock));

// The number of standard-block syllables before each word.
struct Ranks {
  uint16_t before[kWordCount + 1];
};
constexpr Ranks MakeRanks() {
  Ranks r{};
  for (int w = 0; w < kWordCount; ++w) {
    r.before[w + 1] = static_cast<uint16_t>(r.before[w] + std::popcount(kStandardBlock[w]));
  }
  return r;
}
inline constexpr Ranks kRanks = MakeRanks();
inline constexpr int kStandardCount = 2350;
inline constexpr int kExtensionCount = kSyllableCount - kStandardCount;
static_assert(kRanks.before[kWordCount] == kStandardCount);

constexpr bool InStandardBlock(int s) {
  return ((kStandardBlock[s / 64] >> (s % 64)) & 1u) != 0;
}
// The position of syllable s within its block.
constexpr int RankInBlock(int s) {
  const uint64_t below = kStandardBlock[s / 64] & ((uint64_t{1} << (s % 64)) - 1);
  const int standard_before = kRanks.before[s / 64] + std::popcount(below);
  return InStandardBlock(s) ? standard_before : s - standard_before;
}

// Extension trail bytes: 0x41..0x5A, 0x61..0x7A, then 0x81.. (178 of them for
// lead bytes 0x81..0xA0, 84 from 0xA1 on).
inline constexpr int kWideLeads = 32;
inline constexpr int kWideTrails = 178;
inline constexpr int kNarrowTrails = 84;

constexpr unsigned char ExtensionTrail(int t) {
  return static_cast<unsigned char>(t < 26 ? 0x41 + t : t < 52 ? 0x61 + t - 26 : 0x81 + t - 52);
}
// The index of an extension trail byte, or -1.
constexpr int ExtensionTrailIndex(unsigned char b) {
  if (b >= 0x41 && b <= 0x5A) return b - 0x41;
  if (b >= 0x61 && b <= 0x7A) return b - 0x61 + 26;
  if (b >= 0x81 && b <= 0xFE) return b - 0x81 + 52;
  return -1;
}

// The two bytes of syllable s.
constexpr void EncodeSyllable(int s, unsigned char out[2]) {
  const int rank = RankInBlock(s);
  if (InStandardBlock(s)) {
    out[0] = static_cast<unsigned char>(0xB0 + rank / 94);
    out[1] = static_cast<unsigned char>(0xA1 + rank % 94);
  } else if (rank < kWideLeads * kWideTrails) {
    out[0] = static_cast<unsigned char>(0x81 + rank / kWideTrails);
    out[1] = ExtensionTrail(rank % kWideTrails);
  } else {
    const int q = rank - kWideLeads * kWideTrails;
    out[0] = static_cast<unsigned char>(0xA1 + q / kNarrowTrails);
    out[1] = ExtensionTrail(q % kNarrowTrails);
  }
}

// The syllable (0 .. 11171) of a pair of bytes, or -1 when the pair is no
// Hangul syllable.
int DecodeSyllable(unsigned char lead, unsigned char trail);

// UTF-8 text as a template argument.
template <std::size_t N>
struct Utf8Literal {
  char8_t text[N];
  consteval Utf8Literal(const char8_t (&s)[N]) {
    for (std::size_t i = 0; i < N; ++i) text[i] = s[i];
  }
};

// Reached only for a character that the literals may not hold: the call is not
// a constant expression, so such a literal does not compile.
inline void CharacterOutsideHangulAndAscii() {}

// The code point at text[i], advancing i.
constexpr char32_t NextCodePoint(const char8_t* text, std::size_t& i) {
  const unsigned char b = text[i];
  if (b < 0x80) return text[i++];
  if ((b & 0xF0) == 0xE0) {  // Hangul syllables are three bytes long
    const char32_t c = (char32_t{b} & 0x0Fu) << 12 | (char32_t{text[i + 1]} & 0x3Fu) << 6 |
                       (char32_t{text[i + 2]} & 0x3Fu);
    i += 3;
    if (c >= kFirstSyllable && c < kFirstSyllable + kSyllableCount) return c;
  }
  CharacterOutsideHangulAndAscii();
  return 0;
}

template <std::size_t N>
constexpr std::size_t EncodedLength(const Utf8Literal<N>& s) {
  std::size_t n = 0;
  for (std::size_t i = 0; i + 1 < N;) n += NextCodePoint(s.text, i) < 0x80 ? 1 : 2;
  return n;
}

template <std::size_t Size>
struct Bytes {
  char data[Size];
};

template <Utf8Literal S>
constexpr auto Encode() {
  constexpr std::size_t kUtf8Length = sizeof S.text - 1;
  constexpr std::size_t kLength = EncodedLength(S);
  Bytes<kLength + 1 + kUtf8Length + 1> out{};
  std::size_t n = 0;
  for (std::size_t i = 0; i < kUtf8Length;) {
    const char32_t c = NextCodePoint(S.text, i);
    if (c < 0x80) {
      out.data[n++] = static_cast<char>(c);
    } else {
      unsigned char pair[2] = {};
      EncodeSyllable(static_cast<int>(c - kFirstSyllable), pair);
      out.data[n++] = static_cast<char>(pair[0]);
      out.data[n++] = static_cast<char>(pair[1]);
    }
  }
  out.data[n++] = '\0';
  for (std::size_t i = 0; i < kUtf8Length; ++i) out.data[n++] = static_cast<char>(S.text[i]);
  out.data[n] = '\0';
  return out;
}

template <Utf8Literal S>
inline constexpr auto kEncoded = Encode<S>();

// Appends the UTF-8 form of code page 949 text. ASCII bytes (controls
// included) are copied; Hangul syllables are converted. Every other byte, or
// pair of bytes that is no Hangul syllable, becomes U+FFFD, one per byte, so
// that any bytes at all give valid UTF-8 of a foreseeable length.
void AppendUtf8(std::string& out, std::string_view cp949_text);
// The same as a new string.
std::string ToUtf8(std::string_view cp949_text);

}  // namespace grouper::cp949

namespace grouper {

// The UTF-8 text that follows the code page 949 bytes of a _cp949 literal
// (static, like the literal). Requires a pointer that a _cp949 literal gave;
// any other text has no twin to read.
const char* Utf8Twin(const char* cp949_literal);

namespace literals {

template <cp949::Utf8Literal S>
constexpr const char* operator""_cp949() {
  return cp949::kEncoded<S>.data;
}

}  // namespace literals

using namespace literals;

}  // namespace grouper
