// Feeds arbitrary bytes, as one read of the batch run, through the program's
// own per-line processing and traps on any broken promise: the line is answered
// by exactly one output line ending in CR LF and one console line ending in a
// line feed, both within their buffers and shaped as the form's rules say (see
// answer_check.h), the console order fits the outcome, the trimmed length is
// the model's and the line buffer is zero beyond the trimmed text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string_view>

#include "answer_check.h"
#include "line/group_line.h"
#include "fuzz_support.h"

namespace {

using grouper::fuzzing::AnswerKind;
using grouper::fuzzing::Broken;

// One buffer and work space for the whole run, reused line after line as the
// batch's workers do, so that anything carried over from an earlier line
// shows.
struct Batch {
  grouper::LineBuffer buffer;
  grouper::GroupingWork work;
  grouper::LineAnswer answer;
  uint64_t line_counter = 0;
  char output_line[grouper::kMaxComposedLine];
  char console_line[grouper::kMaxComposedLine];
};
Batch* batch = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  grouper::fuzzing::SetUpProcess();
  batch = new Batch;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // One read: at most 1023 bytes, ending at the first line feed.
  std::size_t n = size < grouper::fuzzing::kMaxRead ? size : grouper::fuzzing::kMaxRead;
  if (const void* newline = std::memchr(data, '\n', n)) {
    n = static_cast<std::size_t>(static_cast<const uint8_t*>(newline) - data) + 1;
  }
  const std::string_view read(reinterpret_cast<const char*>(data), n);

  Batch& p = *batch;
  const uint64_t number = ++p.line_counter;
  const grouper::LineText line =
      grouper::GroupLine(read.data(), read.size(), p.buffer, p.work, p.answer);
  const std::size_t output_length = grouper::ComposeOutputLine(line.text, p.answer, p.output_line);
  const std::size_t console_length = grouper::ComposeConsoleLine(number, p.answer, p.console_line);

  if (output_length > grouper::kMaxComposedLine) Broken("output line longer than its buffer");
  if (console_length > grouper::kMaxComposedLine) Broken("console line longer than its buffer");
  const std::size_t length = grouper::fuzzing::TrimmedText(read).size();
  if (line.length != length) Broken("trimmed length");
  for (std::size_t i = length; i < sizeof p.buffer.bytes; ++i) {
    if (p.buffer.bytes[i] != '\0') Broken("line buffer not zero beyond the text");
  }
  const grouper::fuzzing::AnswerVerdict verdict = grouper::fuzzing::CheckAnswer(
      read, static_cast<int64_t>(number), std::string_view(p.output_line, output_length),
      std::string_view(p.console_line, console_length), grouper::fuzzing::kTexts);
  if (verdict.fault != nullptr) Broken(verdict.fault);
  // A code is printed after its output line, a message or rejection before.
  if (grouper::ConsoleFirst(p.answer) != (verdict.kind != AnswerKind::kCode)) {
    Broken("console order");
  }
  return 0;
}
