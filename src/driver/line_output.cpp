#include "driver/line_output.h"

#include <cstring>

#include "text/cp949.h"

namespace grouper {

const char* const kWrongDataTypeMessage = u8"오류-잘못된 데이타 타입입니다."_cp949;

namespace {

constexpr const char* kConsolePrefix = u8"데이타("_cp949;
constexpr const char* kConsoleDone = u8") .. 완료 ("_cp949;
constexpr char kConsoleSeparator[] = ") .. ";
constexpr std::size_t kMessageGap = 32;

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
    char digits[24];
    char* first = digits + sizeof digits;
    do {
      *--first = static_cast<char>('0' + v % 10);
      v /= 10;
    } while (v != 0);
    Bytes(first, static_cast<std::size_t>(digits + sizeof digits - first));
  }
  void LineEnd(const char* end, std::size_t len) {
    // Keep room for the line end whatever came before.
    if (n > kMaxComposedLine - len) n = kMaxComposedLine - len;
    Bytes(end, len);
  }
};

}  // namespace

std::size_t ComposeCodeLine(const char* line, std::size_t length, int code_column, const char* code,
                            char* out) {
  Out o{out};
  o.Bytes(line, length);
  o.BlanksTo(static_cast<std::size_t>(code_column));
  o.Text(code);
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
  o.Text(kWrongDataTypeMessage);
  o.LineEnd("\r\n", 2);
  return o.n;
}

std::size_t ComposeConsoleCode(uint64_t line_number, const char* code, char* out) {
  Out o{out};
  o.Text(kConsolePrefix);
  o.Number(line_number);
  o.Text(kConsoleDone);
  o.Text(code);
  o.Literal(")");
  o.LineEnd("\n", 1);
  return o.n;
}

std::size_t ComposeConsoleMessage(uint64_t line_number, const char* message, char* out) {
  Out o{out};
  o.Text(kConsolePrefix);
  o.Number(line_number);
  o.Literal(kConsoleSeparator);
  o.Text(message);
  o.LineEnd("\n", 1);
  return o.n;
}

std::size_t ComposeConsoleWrongType(uint64_t line_number, char* out) {
  Out o{out};
  o.Text(kConsolePrefix);
  o.Number(line_number);
  o.Literal(kConsoleSeparator);
  o.Text(kWrongDataTypeMessage);
  o.Literal(" ");
  o.LineEnd("\n", 1);
  return o.n;
}

}  // namespace grouper
