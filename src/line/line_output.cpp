#include "line/line_output.h"

#include <cstring>
#include <string_view>

#include "text/cp949.h"

namespace grouper {

namespace {

// Lengths known while compiling: no line measures its fixed texts.
constexpr std::string_view kWrongType = u8"오류-잘못된 데이타 타입입니다."_cp949;
constexpr std::string_view kConsolePrefix = u8"데이타("_cp949;
constexpr std::string_view kConsoleDone = u8") .. 완료 ("_cp949;
constexpr char kConsoleSeparator[] = ") .. ";
constexpr std::size_t kMessageGap = 32;

// A group code has at most three characters, and is often exactly three.
std::size_t CodeLength(const char* code) {
  return code[0] == '\0' ? 0 : code[1] == '\0' ? 1 : code[2] == '\0' ? 2 : 3;
}

// Writes the decimal digits of `v` (at most 20) at `out`, two at a time;
// returns the end of the digits.
char* PutNumber(char* out, uint64_t v) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  int count = 1;
  for (uint64_t rest = v; rest >= 10; rest /= 10) ++count;
  char* end = out + count;
  char* p = end;
  while (v >= 100) {
    const auto pair = static_cast<std::size_t>(v % 100) * 2;
    v /= 100;
    *--p = kPairs[pair + 1];
    *--p = kPairs[pair];
  }
  if (v >= 10) {
    *--p = kPairs[v * 2 + 1];
    *--p = kPairs[v * 2];
  } else {
    *--p = static_cast<char>('0' + v);
  }
  return end;
}

// Bounded appends: a composed line never exceeds kMaxComposedLine bytes.
struct Out {
  char* begin;
  std::size_t n = 0;

  void Bytes(const char* s, std::size_t len) {
    if (len > kMaxComposedLine - n) len = kMaxComposedLine - n;
    std::memcpy(begin + n, s, len);
    n += len;
  }
  void Text(const char* s) { Bytes(s, std::strlen(s)); }
  void View(std::string_view s) { Bytes(s.data(), s.size()); }
  void Code(const char* code) { Bytes(code, CodeLength(code)); }
  template <std::size_t N>
  void Literal(const char (&s)[N]) {
    Bytes(s, N - 1);
  }
  void BlanksTo(std::size_t column) {
    if (column > kMaxComposedLine - 2) column = kMaxComposedLine - 2;
    if (column > n) {
      std::memset(begin + n, ' ', column - n);
      n = column;
    }
  }
  void Number(uint64_t v) {
    char digits[20];
    Bytes(digits, static_cast<std::size_t>(PutNumber(digits, v) - digits));
  }
  void LineEnd(const char* end, std::size_t len) {
    // Keep room for the line end whatever came before.
    if (n > kMaxComposedLine - len) n = kMaxComposedLine - len;
    Bytes(end, len);
  }
};

}  // namespace

const char* const kWrongDataTypeMessage = kWrongType.data();

std::size_t ComposeCodeLine(const char* line, std::size_t length, int code_column, const char* code,
                            char* out) {
  Out o{out};
  o.Bytes(line, length);
  o.BlanksTo(static_cast<std::size_t>(code_column));
  o.Code(code);
  o.LineEnd("\r\n", 2);
  return o.n;
}

std::size_t ComposeMessageLine(const char* line, std::size_t length, const char* message,
                               char* out) {
  Out o{out};
  o.Bytes(line, length);
  o.BlanksTo(length + kMessageGap);
  o.Text(message);
  o.LineEnd("\r\n", 2);
  return o.n;
}

std::size_t ComposeWrongTypeLine(const char* line, std::size_t length, int reject_column,
                                 char* out) {
  Out o{out};
  const std::size_t reject = static_cast<std::size_t>(reject_column);
  if (length < reject) {
    o.Bytes(line, length);
    o.BlanksTo(reject);
  } else {
    o.Bytes(line, reject - 1);
    o.Bytes(" ", 1);
  }
  o.View(kWrongType);
  o.LineEnd("\r\n", 2);
  return o.n;
}

std::size_t ComposeConsoleCode(uint64_t line_number, const char* code, char* out) {
  // The most frequent console line, and short whatever its number: its parts
  // go straight in, without the bounds that lines holding a record need.
  static_assert(kConsolePrefix.size() + 20 + kConsoleDone.size() + 3 + 2 < kMaxComposedLine);
  char* p = out;
  std::memcpy(p, kConsolePrefix.data(), kConsolePrefix.size());
  p = PutNumber(p + kConsolePrefix.size(), line_number);
  std::memcpy(p, kConsoleDone.data(), kConsoleDone.size());
  p += kConsoleDone.size();
  const std::size_t code_length = CodeLength(code);
  std::memcpy(p, code, code_length);
  p += code_length;
  *p++ = ')';
  *p++ = '\n';
  return static_cast<std::size_t>(p - out);
}

std::size_t ComposeConsoleMessage(uint64_t line_number, const char* message, char* out) {
  Out o{out};
  o.View(kConsolePrefix);
  o.Number(line_number);
  o.Literal(kConsoleSeparator);
  o.Text(message);
  o.LineEnd("\n", 1);
  return o.n;
}

std::size_t ComposeConsoleWrongType(uint64_t line_number, char* out) {
  Out o{out};
  o.View(kConsolePrefix);
  o.Number(line_number);
  o.Literal(kConsoleSeparator);
  o.View(kWrongType);
  o.Literal(" ");
  o.LineEnd("\n", 1);
  return o.n;
}

}  // namespace grouper
