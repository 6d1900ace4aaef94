#include "line/group_line.h"

#include <cstring>
#include <string_view>

#include "record/record_parser.h"
#include "validate/record_validator.h"

namespace grouper {

LineText TakeLine(const char* bytes, std::size_t length, LineBuffer& buffer) {
  // The text ends at the first NUL; what follows it is not part of the line.
  std::size_t n = length;
  if (length > 0) {
    const void* nul = std::memchr(bytes, '\0', length);
    if (nul != nullptr) n = static_cast<std::size_t>(static_cast<const char*>(nul) - bytes);
  }
  while (n > 0 && (bytes[n - 1] == ' ' || bytes[n - 1] == '\r' || bytes[n - 1] == '\n')) --n;

  // The buffer holds the trimmed text and is zero beyond it: the parser reads
  // the items past the end of a short line as empty text.
  const std::size_t kept = n < kMaxReadLength ? n : kMaxReadLength;
  if (kept > 0) std::memcpy(buffer.bytes, bytes, kept);
  if (buffer.used > kept) std::memset(buffer.bytes + kept, 0, buffer.used - kept);
  buffer.used = kept;

  LineText line;
  line.text = buffer.bytes;
  line.length = n;
  line.over_long = length > kMaxReadLength;
  const std::size_t version_length = n < 3 ? n : 3;
  std::memset(line.form_version, 0, sizeof line.form_version);
  std::memcpy(line.form_version, buffer.bytes, version_length);
  line.family = FamilyOf(std::string_view(buffer.bytes, version_length));
  line.framed = !line.over_long && FramingAccepts(line.family, n);
  return line;
}

void AnswerLine(const LineText& line, GroupingWork& work, LineAnswer& answer) {
  answer.length = line.length;
  answer.family = line.family;
  std::memcpy(answer.form_version, line.form_version, sizeof answer.form_version);
  std::memset(answer.group_code, 0, sizeof answer.group_code);

  if (!line.framed) {
    answer.outcome = Outcome::kWrongDataType;
    answer.message = kWrongDataTypeMessage;
    return;
  }
  const char* message = ParseRecord(line.text, line.family, work.record);
  if (message == nullptr) message = ValidateRecord(work.record, line.family);
  if (message != nullptr) {
    answer.outcome = Outcome::kMessage;
    answer.message = message;
    return;
  }
  ClassifyRecord(work.record, line.family, work.classification);
  answer.outcome = Outcome::kGroupCode;
  answer.message = nullptr;
  std::memcpy(answer.group_code, work.classification.group_code, 3);
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

}  // namespace grouper
