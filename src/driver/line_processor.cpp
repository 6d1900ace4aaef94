#include "driver/line_processor.h"

#include <cstring>
#include <string_view>

#include "record/record_parser.h"
#include "validate/record_validator.h"

namespace grouper {

void GroupLine(char* line, std::size_t read_length, GroupingWork& work, LineAnswer& answer) {
  // The text ends at the first NUL; what follows it in the read is not part of
  // the line, and the parser relies on zero bytes beyond the text.
  const std::size_t text_length = strnlen(line, read_length);
  std::memset(line + text_length, 0, read_length - text_length);
  const std::size_t length = TrimLine(line, text_length);

  // The text holds no NUL, so its first three bytes (fewer if shorter) are
  // the form-version text.
  const std::size_t version_length = length < 3 ? length : 3;
  answer.length = length;
  std::memset(answer.form_version, 0, sizeof answer.form_version);
  std::memcpy(answer.form_version, line, version_length);
  answer.family = FamilyOf(std::string_view(line, version_length));
  std::memset(answer.group_code, 0, sizeof answer.group_code);

  if (!DriverFramingAccepts(answer.family, length)) {
    answer.outcome = Outcome::kWrongDataType;
    answer.message = kWrongDataTypeMessage;
    return;
  }
  const char* message = ParseTrimmedRecord(line, length, work.record);
  if (message == nullptr) message = ValidateRecord(work.record);
  if (message != nullptr) {
    answer.outcome = Outcome::kMessage;
    answer.message = message;
    return;
  }
  ClassifyRecord(work.record, work.classification);
  answer.outcome = Outcome::kGroupCode;
  answer.message = nullptr;
  std::memcpy(answer.group_code, work.record.group_code, 3);
}

std::size_t ComposeOutputLine(const char* text, const LineAnswer& answer, char* out) {
  switch (answer.outcome) {
    case Outcome::kGroupCode:
      return ComposeCodeLine(text, answer.length, InfoOf(answer.family).code_column,
                             answer.group_code, out);
    case Outcome::kMessage:
      return ComposeMessageLine(text, answer.length, answer.message, out);
    case Outcome::kWrongDataType:
      break;
  }
  return ComposeWrongTypeLine(text, answer.length, InfoOf(answer.family).reject_column, out);
}

std::size_t ComposeConsoleLine(uint64_t line_number, const LineAnswer& answer, char* out) {
  switch (answer.outcome) {
    case Outcome::kGroupCode:
      return ComposeConsoleCode(line_number, answer.group_code, out);
    case Outcome::kMessage:
      return ComposeConsoleMessage(line_number, answer.message, out);
    case Outcome::kWrongDataType:
      break;
  }
  return ComposeConsoleWrongType(line_number, out);
}

void ResetLineProcessor(LineProcessor& p) {
  std::memset(&p, 0, sizeof p);
}

void ProcessLine(LineProcessor& p, std::size_t read_length) {
  ++p.line_counter;
  GroupLine(p.line, read_length, p.work, p.answer);
  p.console_first = p.answer.outcome != Outcome::kGroupCode;
  p.output_length = ComposeOutputLine(p.line, p.answer, p.output_line);
  p.console_length =
      ComposeConsoleLine(static_cast<uint64_t>(p.line_counter), p.answer, p.console_line);
}

}  // namespace grouper
