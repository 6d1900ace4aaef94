// Drives the C interface with any bytes, any length and any buffer size, and
// traps on any broken promise: grouping reads nothing past `length` (the line
// is a heap copy of exactly its bytes), formatting writes nothing past `size`
// (guard bytes follow the buffer), returns the whole length as snprintf does
// and leaves the line cut short and NUL-terminated, and the answer and both
// formatted lines are the batch's for the same read. A line longer than one
// read is a wrong-data-type line, composed by the batch's own composer.
//
// The input's last two bytes give the buffer size and the rest is the line,
// so that single lines of the line fuzzer's corpus are good seeds here.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string_view>

#include "driver/line_processor.h"
#include "grouper/grouper.h"
#include "validate/field_text.h"

namespace {

constexpr std::size_t kGuard = 16;
constexpr unsigned char kGuardByte = 0xA5;
constexpr std::size_t kSizes = GROUPER_MAX_OUTPUT_LINE + 2;

grouper::LineProcessor* processor = nullptr;
unsigned long long line_number = 0;

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "broken invariant: %s\n", what);
  __builtin_trap();
}

// Formats into a heap buffer of exactly `size` bytes followed by guard bytes,
// and checks the result against the whole line `expected`.
template <typename Format>
void CheckFormatted(Format format, std::size_t size, std::string_view expected) {
  const auto buffer = std::make_unique<unsigned char[]>(size + kGuard);
  std::memset(buffer.get(), kGuardByte, size + kGuard);
  char* const text = size > 0 ? reinterpret_cast<char*>(buffer.get()) : nullptr;
  const std::size_t length = format(text, size);
  for (std::size_t i = size; i < size + kGuard; ++i) {
    if (buffer[i] != kGuardByte) Broken("written past the buffer");
  }
  if (length != expected.size()) Broken("formatted length is not the batch's line length");
  if (size == 0) return;
  const std::size_t kept = length < size - 1 ? length : size - 1;
  if (std::memcmp(text, expected.data(), kept) != 0) Broken("formatted line is not the batch's");
  if (text[kept] != '\0') Broken("formatted line not NUL-terminated");
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
  std::size_t buffer_size = 0;
  std::size_t length = size;
  if (size >= 2) {
    buffer_size = (data[size - 2] | static_cast<std::size_t>(data[size - 1]) << 8) % kSizes;
    length = size - 2;
  }
  const auto line = std::make_unique<char[]>(length);
  if (length > 0) std::memcpy(line.get(), data, length);
  const char* const bytes = length > 0 ? line.get() : nullptr;  // NULL is allowed for no bytes

  grouper_result result;
  if (grouper_group_line(bytes, length, &result) != 0) Broken("a line was refused");
  ++line_number;

  // The batch's answer to the same read, or for a line longer than a read the
  // wrong-data-type line that the batch composes from its text.
  grouper::LineProcessor& p = *processor;
  std::memset(p.line, 0, sizeof p.line);
  p.line_counter = static_cast<int64_t>(line_number - 1);
  if (length <= grouper::kMaxReadLength) {
    if (length > 0) std::memcpy(p.line, data, length);
    grouper::ProcessLine(p, length);
  } else {
    std::size_t text = strnlen(line.get(), length);
    while (text > 0 &&
           (line[text - 1] == ' ' || line[text - 1] == '\r' || line[text - 1] == '\n')) {
      --text;
    }
    grouper::LineAnswer& a = p.answer;
    a = {};
    a.outcome = grouper::Outcome::kWrongDataType;
    a.length = text;
    std::memcpy(a.form_version, line.get(), text < 3 ? text : 3);
    a.family = grouper::FamilyOf(a.form_version);
    a.message = grouper::kWrongDataTypeMessage;
    p.output_length = grouper::ComposeOutputLine(line.get(), a, p.output_line);
    p.console_length = grouper::ComposeConsoleLine(line_number, a, p.console_line);
  }

  const grouper::LineAnswer& a = p.answer;
  const int kind = a.outcome == grouper::Outcome::kGroupCode ? GROUPER_KIND_GROUP_CODE
                   : a.outcome == grouper::Outcome::kMessage ? GROUPER_KIND_MESSAGE
                                                             : GROUPER_KIND_WRONG_DATA_TYPE;
  if (result.kind != kind) Broken("kind is not the batch's");
  if (std::strcmp(result.form_version, a.form_version) != 0) Broken("form version");
  if (std::strcmp(result.group_code, a.group_code) != 0) Broken("group code");
  if (result.message == nullptr || result.message_utf8 == nullptr) Broken("message is NULL");
  if (std::strcmp(result.message, a.message != nullptr ? a.message : "") != 0) Broken("message");
  if ((result.message[0] == '\0') != (result.message_utf8[0] == '\0')) Broken("UTF-8 message");

  CheckFormatted(
      [&](char* buffer, std::size_t n) {
        return grouper_format_output_line(bytes, length, &result, buffer, n);
      },
      buffer_size, std::string_view(p.output_line, p.output_length));
  CheckFormatted(
      [&](char* buffer, std::size_t n) {
        return grouper_format_console_line(line_number, &result, buffer, n);
      },
      buffer_size, std::string_view(p.console_line, p.console_length));
  return 0;
}
