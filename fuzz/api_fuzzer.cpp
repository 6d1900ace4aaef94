// Drives the C interface with any bytes, any length and any buffer size, and
// traps on any broken promise: grouping reads nothing past `length` (the line
// is a heap copy of exactly its bytes), formatting writes nothing past `size`
// (guard bytes follow the buffer), returns the whole length as snprintf does
// and leaves the line cut short and NUL-terminated, and the answer and both
// formatted lines are those of the batch's line path for the same read, taken
// with a buffer and work space reused from line to line as a worker's are. A
// line longer than one read is a wrong-data-type line of the model's trimmed
// length.
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

#include "line/group_line.h"
#include "fuzz_support.h"
#include "grouper/grouper.h"

namespace {

constexpr std::size_t kGuard = 16;
constexpr unsigned char kGuardByte = 0xA5;
constexpr std::size_t kSizes = GROUPER_MAX_OUTPUT_LINE + 2;

using grouper::fuzzing::Broken;

// The batch's side: one buffer and work space for the whole run.
struct Batch {
  grouper::LineBuffer buffer;
  grouper::GroupingWork work;
  grouper::LineAnswer answer;
  char output_line[grouper::kMaxComposedLine];
  char console_line[grouper::kMaxComposedLine];
};
Batch* batch = nullptr;
unsigned long long line_number = 0;

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
  grouper::fuzzing::SetUpProcess();
  batch = new Batch;
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

  // The batch's line path on the same bytes.
  Batch& p = *batch;
  const grouper::LineText taken = grouper::GroupLine(bytes, length, p.buffer, p.work, p.answer);
  if (length > grouper::kMaxReadLength) {
    const std::string_view whole(bytes, length);
    if (p.answer.outcome != grouper::Outcome::kWrongDataType) Broken("a long line is a record");
    if (taken.length != grouper::fuzzing::TrimmedText(whole).size()) Broken("long line's length");
  }
  const std::size_t output_length = grouper::ComposeOutputLine(taken.text, p.answer, p.output_line);
  const std::size_t console_length =
      grouper::ComposeConsoleLine(line_number, p.answer, p.console_line);

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
      buffer_size, std::string_view(p.output_line, output_length));
  CheckFormatted(
      [&](char* buffer, std::size_t n) {
        return grouper_format_console_line(line_number, &result, buffer, n);
      },
      buffer_size, std::string_view(p.console_line, console_length));
  return 0;
}
