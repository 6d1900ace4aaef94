#include "text/utf8.h"

namespace grouper::utf8 {

namespace {

// The length of the well-formed sequence that starts `bytes`, or 0 when its
// first byte starts none.
std::size_t SequenceLength(std::string_view bytes) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = at(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // else overlong
    if (lead == 0xED) high = 0x9F;  // else a surrogate
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // else overlong
    if (lead == 0xF4) high = 0x8F;  // else past U+10FFFF
  } else {
    return 0;  // a continuation byte, C0, C1 or F5..FF
  }
  if (bytes.size() < length || at(1) < low || at(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (at(i) < 0x80 || at(i) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

void AppendEscaped(std::string& out, std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  while (!bytes.empty()) {
    std::size_t length = SequenceLength(bytes);
    if (length > 0) {
      out.append(bytes.data(), length);
    } else {
      const unsigned char b = static_cast<unsigned char>(bytes[0]);
      out += {'\\', 'x', kHex[b >> 4], kHex[b & 15]};
      length = 1;
    }
    bytes.remove_prefix(length);
  }
}

std::string Escaped(std::string_view bytes) {
  std::string out;
  AppendEscaped(out, bytes);
  return out;
}

}  // namespace grouper::utf8
