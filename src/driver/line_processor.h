// The road of one input line: trim, frame, parse, validate, classify, and
// compose its output line and its console line.
//
// GroupLine answers one line with the caller's work space and touches nothing
// else, so that threads may group lines at once; the batch run's workers and
// the library answer every line through it. A LineProcessor answers one line
// after another as the batch does, with a line counter and buffers reused for
// every line; the tests and fuzzers take it as the batch's answer to a line.
#pragma once

#include <cstddef>
#include <cstdint>

#include "classify/classifier.h"
#include "driver/line_output.h"
#include "record/assessment_record.h"
#include "record/form_version.h"

namespace grouper {

inline constexpr std::size_t kLineBufferSize = 1024;  // one read: at most 1023 bytes + NUL
inline constexpr std::size_t kMaxReadLength = kLineBufferSize - 1;

enum class Outcome { kGroupCode, kMessage, kWrongDataType };

struct LineAnswer {
  Outcome outcome;
  std::size_t length;    // the trimmed length of the line's text
  Family family;         // of the form version
  char form_version[4];  // the first three bytes of the text (fewer if shorter)
  char group_code[4];    // the code, or the empty text ("" also when no code could be formed)
  const char* message;   // a constant code page 949 text for kMessage and kWrongDataType
};

// The record and the classification of one line at a time.
struct GroupingWork {
  AssessmentRecord record;
  ClassificationState classification;
};

// Answers the `read_length` bytes in `line`, a buffer of kLineBufferSize bytes
// that is zero beyond them (read_length <= kMaxReadLength). The text ends at
// its first NUL; it is trimmed in place and the buffer left zero beyond the
// trimmed text.
void GroupLine(char* line, std::size_t read_length, GroupingWork& work, LineAnswer& answer);

// The output line of an answer, from the trimmed text of its line, into `out`
// (kMaxComposedLine bytes); returns its length.
std::size_t ComposeOutputLine(const char* text, const LineAnswer& answer, char* out);
// The console line of an answer for line `line_number`.
std::size_t ComposeConsoleLine(uint64_t line_number, const LineAnswer& answer, char* out);

struct LineProcessor {
  char line[kLineBufferSize];  // zero beyond the bytes of the current read
  GroupingWork work;
  LineAnswer answer;
  int64_t line_counter;

  char output_line[kMaxComposedLine];
  std::size_t output_length;
  char console_line[kMaxComposedLine];
  std::size_t console_length;
  bool console_first;  // the console line is printed before the output line
};

// Clears every buffer and the line counter.
void ResetLineProcessor(LineProcessor& p);

// Processes the `read_length` bytes in `p.line` (one read; the rest of the
// buffer must be zero). Leaves the output and console lines in `p`, and the
// line buffer zero beyond the trimmed text.
void ProcessLine(LineProcessor& p, std::size_t read_length);

}  // namespace grouper
