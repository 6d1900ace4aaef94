// The road of one input line: count, trim, frame, parse, validate, classify,
// and compose its output line and its console line.
//
// The batch run owns one LineProcessor for the whole run and reuses its
// buffers for every line; the record it holds is the current record while a
// line is processed. Nothing but the line counter carries over between lines.
#pragma once

#include <cstddef>
#include <cstdint>

#include "driver/line_output.h"
#include "record/assessment_record.h"

namespace grouper {

inline constexpr std::size_t kLineBufferSize = 1024;  // one read: at most 1023 bytes + NUL

struct LineProcessor {
  char line[kLineBufferSize];  // zero beyond the bytes of the current read
  char error_text[1024];
  AssessmentRecord record;
  char group_code[4];
  char form_version[4];
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
// buffer must be zero). The line's text ends at its first NUL byte. Leaves the
// output and console lines in `p`, and the line buffer zero beyond the trimmed
// text.
void ProcessLine(LineProcessor& p, std::size_t read_length);

}  // namespace grouper
