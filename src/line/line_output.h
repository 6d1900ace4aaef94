// Composition of the output line and the console line of one input line.
//
// Output lines (L = trimmed length, C = code column, R = reject column):
//   group code       the line, blanks up to C, the code, CR LF
//   message          the line, 32 blanks, the message, CR LF
//   wrong data type  L < R: the line and blanks up to R; L >= R: the first
//                    R - 1 bytes and one blank; then the wrong-data-type
//                    message, CR LF
// Console lines end in a line feed. Every composer writes into a caller buffer
// of at least kMaxComposedLine bytes and returns the number of bytes written.
#pragma once

#include <cstddef>
#include <cstdint>

namespace grouper {

// Longest input text (1023) + 32 blanks + longest message + CR LF, rounded up.
inline constexpr std::size_t kMaxComposedLine = 2048;

// "오류-잘못된 데이타 타입입니다." in code page 949, NUL-terminated, static.
extern const char* const kWrongDataTypeMessage;

// The result line of a grouped record: the `length` bytes of `line` (its
// trimmed text), blanks up to `code_column`, the code (at most three bytes,
// NUL-terminated; "" writes none), CR LF. Requires length <= 1023.
std::size_t ComposeCodeLine(const char* line, std::size_t length, int code_column, const char* code,
                            char* out);
// The result line of a rejected record: the text, 32 blanks, `message` (a
// NUL-terminated code page 949 text), CR LF. Requires length <= 1023.
std::size_t ComposeMessageLine(const char* line, std::size_t length, const char* message,
                               char* out);
// The result line of a wrong-data-type line, as the table above says; reads
// at most min(length, reject_column - 1) bytes of `line`.
std::size_t ComposeWrongTypeLine(const char* line, std::size_t length, int reject_column,
                                 char* out);

// The console lines of input line `line_number` (the first is 1): done with
// its code, rejected with its message, or of the wrong data type; each ends
// in a line feed.
std::size_t ComposeConsoleCode(uint64_t line_number, const char* code, char* out);
std::size_t ComposeConsoleMessage(uint64_t line_number, const char* message, char* out);
std::size_t ComposeConsoleWrongType(uint64_t line_number, char* out);

}  // namespace grouper
