// Feeds arbitrary bytes, as one read of the batch run, through the program's
// own per-line processing and traps on any broken promise: the line is answered
// by exactly one output line ending in CR LF and one console line ending in a
// line feed, both within their buffers and shaped as the form's rules say (see
// answer_check.h), the console order fits the outcome, the line counter
// advances by one and the line buffer is zero beyond the trimmed text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string_view>

#include "answer_check.h"
#include "driver/line_processor.h"
#include "validate/field_text.h"

namespace {

using grouper::fuzzing::AnswerKind;

// One processor for the whole run, reused line after line as the batch run
// does, so that anything carried over from an earlier line shows.
grouper::LineProcessor* processor = nullptr;

const grouper::fuzzing::AnswerTexts kTexts{
    // The texts in code page 949, written as bytes so that the model does not
    // share the program's conversion: "오류-잘못된 데이타 타입입니다.", "오류-",
    // "데이타(", ") .. 완료 (", ") .. ".
    "\xbf\xc0\xb7\xf9-\xc0\xdf\xb8\xf8\xb5\xc8 \xb5\xa5\xc0\xcc\xc5\xb8 "
    "\xc5\xb8\xc0\xd4\xc0\xd4\xb4\xcf\xb4\xd9.",
    "\xbf\xc0\xb7\xf9-", "\xb5\xa5\xc0\xcc\xc5\xb8(", ") .. \xbf\xcf\xb7\xe1 (", ") .. "};

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "broken invariant: %s\n", what);
  __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("TZ", "Asia/Seoul", 1);
  tzset();
  grouper::ResetDateCache();
  processor = new grouper::LineProcessor;
  grouper::ResetLineProcessor(*processor);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // One read: at most 1023 bytes, ending at the first line feed.
  std::size_t n = size < grouper::fuzzing::kMaxRead ? size : grouper::fuzzing::kMaxRead;
  if (const void* newline = std::memchr(data, '\n', n)) {
    n = static_cast<std::size_t>(static_cast<const uint8_t*>(newline) - data) + 1;
  }
  const std::string_view read(reinterpret_cast<const char*>(data), n);

  grouper::LineProcessor& p = *processor;
  std::memset(p.line, 0, sizeof p.line);
  if (n > 0) std::memcpy(p.line, data, n);
  const int64_t number = p.line_counter + 1;
  grouper::ProcessLine(p, n);

  if (p.line_counter != number) Broken("line counter");
  if (p.output_length > grouper::kMaxComposedLine) Broken("output line longer than its buffer");
  if (p.console_length > grouper::kMaxComposedLine) Broken("console line longer than its buffer");
  const std::size_t length = grouper::fuzzing::TrimmedText(read).size();
  for (std::size_t i = length; i < sizeof p.line; ++i) {
    if (p.line[i] != '\0') Broken("line buffer not zero beyond the text");
  }
  const grouper::fuzzing::AnswerVerdict verdict =
      grouper::fuzzing::CheckAnswer(read, number, std::string_view(p.output_line, p.output_length),
                                    std::string_view(p.console_line, p.console_length), kTexts);
  if (verdict.fault != nullptr) Broken(verdict.fault);
  // A code is printed after its output line, a message or rejection before.
  if (p.console_first != (verdict.kind != AnswerKind::kCode)) Broken("console order");
  return 0;
}
