// The C interface: each call takes and answers one line with a work space of
// its own on the stack, through the same GroupLine as the batch run. The
// _into calls write their texts whole or not at all (DeliverWhole).
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "batch/file_errors.h"
#include "explain/evidence.h"
#include "explain/explanation.h"
#include "grouper/grouper.h"
#include "line/group_line.h"
#include "line/reads.h"
#include "text/cp949.h"

namespace grouper {
namespace {

int KindOf(Outcome outcome) {
  switch (outcome) {
    case Outcome::kGroupCode:
      return GROUPER_KIND_GROUP_CODE;
    case Outcome::kMessage:
      return GROUPER_KIND_MESSAGE;
    case Outcome::kWrongDataType:
      break;
  }
  return GROUPER_KIND_WRONG_DATA_TYPE;
}

void FillResult(const LineAnswer& answer, grouper_result& result) {
  result.kind = KindOf(answer.outcome);
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

// One text of an _into call and the caller's buffer for it.
struct Delivery {
  const char* text;
  std::size_t length;
  char* buffer;
  int size;         // 0: the text is not asked for
  int* length_out;  // may be nullptr
};

// A buffer that an _into call must refuse: NULL, yet given a size.
bool Missing(const char* buffer, int size) {
  return buffer == nullptr && size > 0;
}

// The texts of an _into call, whole or not at all: every buffer asked for
// gets its text when all fit, else the empty text; every length is given.
int DeliverWhole(std::span<const Delivery> texts) {
  bool fit = true;
  for (const Delivery& d : texts) {
    if (d.size > 0 && d.length >= static_cast<std::size_t>(d.size)) fit = false;
  }
  for (const Delivery& d : texts) {
    if (d.length_out != nullptr) *d.length_out = static_cast<int>(d.length);
    if (d.size == 0) continue;
    const std::size_t n = fit ? d.length : 0;
    std::memcpy(d.buffer, d.text, n);
    d.buffer[n] = '\0';
  }
  return fit ? GROUPER_OK : GROUPER_ERROR_BUFFER_TOO_SMALL;
}

}  // namespace
}  // namespace grouper

using namespace grouper;

extern "C" size_t GROUPER_CALL grouper_next_read(const char* buffer, size_t length) {
  if (buffer == nullptr) return 0;
  return NextReadLength(buffer, length);
}

extern "C" int GROUPER_CALL grouper_group_line(const char* line, size_t length,
                                               grouper_result* result) {
  if (result == nullptr || (line == nullptr && length > 0)) return GROUPER_ERROR_NULL_ARGUMENT;
  LineAnswer answer{};
  LineBuffer buffer;
  GroupingWork work;
  GroupLine(line, length, buffer, work, answer);
  FillResult(answer, *result);
  return 0;
}

extern "C" size_t GROUPER_CALL grouper_format_output_line(const char* line, size_t length,
                                                          const grouper_result* result,
                                                          char* buffer, size_t size) {
  LineAnswer answer{};
  if (result == nullptr || (line == nullptr && length > 0)) return 0;
  LineBuffer text;
  const LineText taken = TakeLine(line, length, text);
  // The buffer holds at most one read of an over-long line's text; no answer
  // of such a line reaches that far into it.
  const std::size_t held = taken.length < kMaxReadLength ? taken.length : kMaxReadLength;
  if (!AnswerOf(*result, held, answer)) return 0;
  char composed[kMaxComposedLine];
  return Deliver(composed, ComposeOutputLine(taken.text, answer, composed), buffer, size);
}

extern "C" size_t GROUPER_CALL grouper_format_console_line(unsigned long long line_number,
                                                           const grouper_result* result,
                                                           char* buffer, size_t size) {
  LineAnswer answer{};
  if (result == nullptr || !AnswerOf(*result, 0, answer)) return 0;
  char composed[kMaxComposedLine];
  return Deliver(composed, ComposeConsoleLine(line_number, answer, composed), buffer, size);
}

extern "C" size_t GROUPER_CALL grouper_explain_json(const char* line, size_t length, int flags,
                                                    char* buffer, size_t size) {
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

extern "C" int GROUPER_CALL grouper_explain_json_into(const char* line, int length, int flags,
                                                      char* buffer, int size, int* json_length) {
  if (length < 0 || size < 0 || (flags & ~GROUPER_EXPLAIN_SHOW_IDENTIFIERS) != 0) {
    return GROUPER_ERROR_INVALID_ARGUMENT;
  }
  if ((line == nullptr && length > 0) || Missing(buffer, size)) return GROUPER_ERROR_NULL_ARGUMENT;
  std::string json;
  try {
    ExplainOptions options;
    options.show_identifiers = (flags & GROUPER_EXPLAIN_SHOW_IDENTIFIERS) != 0;
    json = ExplanationJson(ExplainLine(line, static_cast<std::size_t>(length)), options);
  } catch (...) {  // memory ran out: nothing may cross the C interface
    const Delivery none[] = {{"", 0, buffer, size, json_length}};
    DeliverWhole(none);
    return GROUPER_ERROR_NO_MEMORY;
  }
  // The explanation of one line is a few kilobytes: its length fits an int.
  const Delivery whole[] = {{json.data(), json.size(), buffer, size, json_length}};
  return DeliverWhole(whole);
}

extern "C" int GROUPER_CALL grouper_group_line_into(const char* line, int length, int line_number,
                                                    int* kind, char* code, int code_size,
                                                    int* code_length, char* message,
                                                    int message_size, int* message_length,
                                                    char* output_line, int output_size,
                                                    int* output_length, char* console_line,
                                                    int console_size, int* console_length) {
  if (length < 0 || line_number < 0 || code_size < 0 || message_size < 0 || output_size < 0 ||
      console_size < 0) {
    return GROUPER_ERROR_INVALID_ARGUMENT;
  }
  if ((line == nullptr && length > 0) || Missing(code, code_size) ||
      Missing(message, message_size) || Missing(output_line, output_size) ||
      Missing(console_line, console_size)) {
    return GROUPER_ERROR_NULL_ARGUMENT;
  }
  LineAnswer answer{};
  LineBuffer buffer;
  GroupingWork work;
  const LineText text = GroupLine(line, static_cast<std::size_t>(length), buffer, work, answer);
  char output[kMaxComposedLine];
  char console[kMaxComposedLine];
  const char* message_text = answer.message != nullptr ? answer.message : "";
  const Delivery texts[] = {
      {answer.group_code, std::strlen(answer.group_code), code, code_size, code_length},
      {message_text, std::strlen(message_text), message, message_size, message_length},
      {output, ComposeOutputLine(text.text, answer, output), output_line, output_size,
       output_length},
      {console, ComposeConsoleLine(static_cast<uint64_t>(line_number), answer, console),
       console_line, console_size, console_length},
  };
  if (kind != nullptr) *kind = KindOf(answer.outcome);
  return DeliverWhole(texts);
}

extern "C" const char* GROUPER_CALL grouper_layout(const grouper_result* result) {
  if (result == nullptr) return "";
  const std::size_t n = strnlen(result->form_version, 3);
  return LayoutName(FamilyOf(std::string_view(result->form_version, n)));
}

extern "C" const char* GROUPER_CALL grouper_console_error_text(int kind) {
  switch (kind) {
    case GROUPER_CONSOLE_INPUT_OPEN:
      return FileErrorText(FileError::kInputOpen);
    case GROUPER_CONSOLE_OUTPUT_OPEN:
      return FileErrorText(FileError::kOutputOpen);
    case GROUPER_CONSOLE_OUTPUT_WRITE:
      return FileErrorText(FileError::kOutputWrite);
    case GROUPER_CONSOLE_INPUT_READ:
      return FileErrorText(FileError::kInputRead);
    default:
      return "";
  }
}

extern "C" const char* GROUPER_CALL grouper_version(void) {
  return GROUPER_VERSION;
}

extern "C" int GROUPER_CALL grouper_version_number(void) {
  return GROUPER_VERSION_NUMBER;
}
