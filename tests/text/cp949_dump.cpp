// Prints the decoding of every single byte and of every pair of bytes that
// starts with a lead byte (0x81..0xFE), one a line: the bytes in hex, a blank,
// the UTF-8 that cp949::ToUtf8 gives, in hex. cp949_check.py compares it with
// Python's cp949 codec.
#include <cstdio>
#include <string>

#include "text/cp949.h"

namespace {

void Print(const std::string& bytes) {
  for (const char c : bytes) std::printf("%02X", static_cast<unsigned char>(c));
  std::putchar(' ');
  for (const char c : grouper::cp949::ToUtf8(bytes)) {
    std::printf("%02X", static_cast<unsigned char>(c));
  }
  std::putchar('\n');
}

}  // namespace

int main() {
  for (int b = 0; b <= 0xFF; ++b) Print(std::string(1, static_cast<char>(b)));
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0; trail <= 0xFF; ++trail) {
      Print({static_cast<char>(lead), static_cast<char>(trail)});
    }
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
