#include "support/line_answer.h"

#include <cstring>

#include "support/cp949.h"

namespace grouper::testing {

std::string Answered::MessageUtf8() const {
  return answer.outcome == Outcome::kGroupCode ? std::string() : Utf8(answer.message);
}

std::string Answered::Code() const {
  return answer.outcome == Outcome::kGroupCode ? std::string(answer.group_code) : std::string();
}

std::string Answered::OutputLine() const {
  char out[kMaxComposedLine];
  return std::string(out, ComposeOutputLine(text.text, answer, out));
}

std::string Answered::ConsoleLine(uint64_t line_number) const {
  char out[kMaxComposedLine];
  return std::string(out, ComposeConsoleLine(line_number, answer, out));
}

Answered AnswerOf(std::string_view line) {
  Answered a;
  a.text = GroupLine(line.data(), line.size(), *a.buffer, *a.work, a.answer);
  return a;
}

}  // namespace grouper::testing
