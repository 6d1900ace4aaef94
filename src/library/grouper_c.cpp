// The C interface: each call answers one line with a work space of its own on
// the stack, through the same GroupLine as the batch run.
#include <cstring>
#include <string>

#include "driver/line_processor.h"
#include "explain/explanation.h"
#include "grouper/grouper.h"
#include "text/cp949.h"

namespace grouper {
namespace {

// The end of a line's text: its first NUL byte, or `length`.
std::size_t TextLength(const char* line, std::size_t length) {
  const void* nul = length == 0 ? nullptr : std::memchr(line, '\0', length);
  return nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - line) : length;
}

// The trimmed length of a text, by the batch's rule.
std::size_t TrimmedLength(const char* text, std::size_t length) {
  while (length > 0 &&
         (text[length - 1] == ' ' || text[length - 1] == '\r' || text[length - 1] == '\n')) {
    --length;
  }
  return length;
}

void FillResult(const LineAnswer& answer, grouper_result& result) {
  switch (answer.outcome) {
    case Outcome::kGroupCode:
      result.kind = GROUPER_KIND_GROUP_CODE;
      break;
    case Outcome::kMessage:
      result.kind = GROUPER_KIND_MESSAGE;
      break;
    case Outcome::kWrongDataType:
      result.kind = GROUPER_KIND_WRONG_DATA_TYPE;
      break;
  }
  std::memcpy(result.form_version, answer.form_version, sizeof result.form_version);
  std::memcpy(result.group_code, answer.group_code, sizeof result.group_code);
  result.message = answer.message != nullptr ? answer.message : "";
  result.message_utf8 = answer.message != nullptr ? Utf8Twin(answer.message) : "";
}

// The answer that a result stands for, with the trimmed length of its line.
bool AnswerOf(const grouper_result& result, std::size_t trimmed_length, LineAnswer& answer) {
  switch (result.kind) {
    case GROUPER_KIND_GROUP_CODE:
      answer.outcome = Outcome::kGroupCode;
      break;
    case GROUPER_KIND_MESSAGE:
      answer.outcome = Outcome::kMessage;
      break;
    case GROUPER_KIND_WRONG_DATA_TYPE:
      answer.outcome = Outcome::kWrongDataType;
      break;
    default:
      return false;
  }
  answer.length = trimmed_length;
  std::memcpy(answer.form_version, result.form_version, sizeof answer.form_version);
  answer.form_version[3] = '\0';
  answer.family = FamilyOf(answer.form_version);
  std::memcpy(answer.group_code, result.group_code, sizeof answer.group_code);
  answer.group_code[3] = '\0';
  answer.message = result.message != nullptr ? result.message : "";
  return true;
}

// snprintf's contract for a composed line.
std::size_t Deliver(const char* composed, std::size_t length, char* buffer, std::size_t size) {
  if (buffer != nullptr && size > 0) {
    const std::size_t n = length < size - 1 ? length : size - 1;
    std::memcpy(buffer, composed, n);
    buffer[n] = '\0';
  }
  return length;
}

}  // namespace
}  // namespace grouper

using namespace grouper;

extern "C" int grouper_group_line(const char* line, size_t length, grouper_result* result) {
  if (result == nullptr || (line == nullptr && length > 0)) return GROUPER_ERROR_NULL_ARGUMENT;
  LineAnswer answer{};
  if (length > kMaxReadLength) {
    // The batch would read such a line in pieces; as one line it is no record.
    const std::size_t trimmed = TrimmedLength(line, TextLength(line, length));
    answer.outcome = Outcome::kWrongDataType;
    std::memcpy(answer.form_version, line, trimmed < 3 ? trimmed : 3);
    answer.message = kWrongDataTypeMessage;
  } else {
    char text[kLineBufferSize] = {};
    if (length > 0) std::memcpy(text, line, length);
    GroupingWork work;
    GroupLine(text, length, work, answer);
  }
  FillResult(answer, *result);
  return 0;
}

extern "C" size_t grouper_format_output_line(const char* line, size_t length,
                                             const grouper_result* result, char* buffer,
                                             size_t size) {
  LineAnswer answer{};
  if (result == nullptr || (line == nullptr && length > 0)) return 0;
  if (line == nullptr) line = "";  // the empty line: the composers copy from it
  const std::size_t trimmed = TrimmedLength(line, TextLength(line, length));
  if (!AnswerOf(*result, trimmed, answer)) return 0;
  char composed[kMaxComposedLine];
  return Deliver(composed, ComposeOutputLine(line, answer, composed), buffer, size);
}

extern "C" size_t grouper_format_console_line(unsigned long long line_number,
                                              const grouper_result* result, char* buffer,
                                              size_t size) {
  LineAnswer answer{};
  if (result == nullptr || !AnswerOf(*result, 0, answer)) return 0;
  char composed[kMaxComposedLine];
  return Deliver(composed, ComposeConsoleLine(line_number, answer, composed), buffer, size);
}

extern "C" size_t grouper_explain_json(const char* line, size_t length, int flags, char* buffer,
                                       size_t size) {
  if (line == nullptr && length > 0) return Deliver("", 0, buffer, size);
  try {
    ExplainOptions options;
    options.show_identifiers = (flags & GROUPER_EXPLAIN_SHOW_IDENTIFIERS) != 0;
    const std::string json = ExplanationJson(ExplainLine(line, length), options);
    return Deliver(json.data(), json.size(), buffer, size);
  } catch (...) {  // memory ran out: nothing may cross the C interface
    return Deliver("", 0, buffer, size);
  }
}

extern "C" const char* grouper_version(void) {
  return GROUPER_VERSION;
}
