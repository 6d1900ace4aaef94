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

extern const char* const kWrongDataTypeMessage;

std::size_t ComposeCodeLine(const char* line, std::size_t length, int code_column, const char* code,
                            char* out);
std::size_t ComposeMessageLine(const char* line, std::size_t length, const char* message,
                               char* out);
std::size_t ComposeWrongTypeLine(const char* line, std::size_t length, int reject_column,
                                 char* out);

std::size_t ComposeConsoleCode(uint64_t line_number, const char* code, char* out);
std::size_t ComposeConsoleMessage(uint64_t line_number, const char* message, char* out);
std::size_t ComposeConsoleWrongType(uint64_t line_number, char* out);

}  // namespace grouper
