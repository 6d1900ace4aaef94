// Feeds arbitrary bytes, as one line, to grouper_explain_json and traps on any
// broken promise of the C interface: the JSON is one valid object in valid
// UTF-8 with the documented keys, and agrees with grouper_group_line on the
// answer; the same line's row of the table for spreadsheets is one quoted
// RFC 4180 row of valid UTF-8 whose cells hold no line end but the line feeds
// between faults, and its text for people is valid UTF-8 in both languages; into a caller's buffer
// of any size the call keeps snprintf's contract (the whole length returned, the text cut short and
// terminated) and writes nothing past the buffer, which canary bytes after it would show.
//
// The input's last two bytes choose the buffer size (0 to 4095, around the
// lengths of real explanations), whether a buffer of size 0 is passed as NULL
// and whether the identifiers are shown; the
// bytes before them are the line. A line of the seed corpus that ends in its
// line end thus keeps its whole text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "csv_check.h"
#include "explain/explanation.h"
#include "explain/explanation_csv.h"
#include "fuzz_support.h"
#include "grouper/grouper.h"
#include "json_check.h"
#include "line/input_warnings.h"

namespace {

constexpr std::size_t kCanaryBytes = 32;
constexpr unsigned char kCanary = 0xA5;

using grouper::fuzzing::Broken;

// A heap block of `size` bytes for the call, followed by canaries.
struct GuardedBuffer {
  explicit GuardedBuffer(std::size_t size) : size(size), bytes(new char[size + kCanaryBytes]) {
    std::memset(bytes.get(), kCanary, size + kCanaryBytes);
  }
  // True when no byte from `from` to the end of the canaries has changed.
  bool UntouchedFrom(std::size_t from) const {
    for (std::size_t i = from; i < size + kCanaryBytes; ++i) {
      if (static_cast<unsigned char>(bytes[i]) != kCanary) return false;
    }
    return true;
  }
  std::size_t size;
  std::unique_ptr<char[]> bytes;
};

constexpr const char* kRequiredKeys[] = {"line",       "form_version", "layout",      "result",
                                         "group_code", "message",      "faults",      "scores",
                                         "criteria",   "decided_by",   "group_letter"};

// The table's row and the text for people of the same line.
void CheckRowAndText(const char* line, std::size_t length, bool whole) {
  const grouper::LineExplanation e = grouper::ExplainLine(line, length);
  grouper::ExplainOptions options;
  options.show_identifiers = whole;
  options.line_number = 1;
  // The columns as the table's own header names them; only the two cells of
  // the faults hold one line per fault.
  static const std::vector<std::string> columns = [] {
    std::vector<std::string> names;
    std::string header = grouper::CsvHeader();
    while (!header.empty() && (header.back() == '\n' || header.back() == '\r')) header.pop_back();
    for (std::size_t from = 0;;) {
      const std::size_t comma = header.find(',', from);
      names.push_back(header.substr(from, comma - from));
      if (comma == std::string::npos) return names;
      from = comma + 1;
    }
  }();
  std::vector<std::string> cells;
  const std::string row = grouper::CsvRow(e, options);
  if (!grouper::csv_check::IsOneQuotedRow(row, columns.size(), &cells)) {
    Broken("not one quoted CSV row");
  }
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const bool multiline = columns[i] == "faults" || columns[i] == "fault_items";
    if (cells[i].find('\r') != std::string::npos ||
        (!multiline && cells[i].find('\n') != std::string::npos)) {
      Broken("a line end inside a CSV cell");
    }
    if (columns[i] == "fault_count" && cells[i] != std::to_string(e.faults.size())) {
      Broken("the CSV's fault count");
    }
  }
  for (const grouper::Language language :
       {grouper::Language::kKorean, grouper::Language::kEnglish}) {
    options.language = language;
    if (!grouper::json_check::ValidUtf8(grouper::ExplanationText(e, options))) {
      Broken("the text is not valid UTF-8");
    }
  }
  grouper::InputWarnings warnings;
  warnings.Add(line, length);
  warnings.Finish();
  if (length > 0 && warnings.empty()) Broken("bytes called an empty file");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  grouper::fuzzing::SetUpProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const std::size_t length = size - 2;
  const unsigned tail = data[length] | static_cast<unsigned>(data[length + 1]) << 8;
  const std::size_t buffer_size = tail & 0x0FFF;
  const int flags = (tail & 0x8000) != 0 ? GROUPER_EXPLAIN_SHOW_IDENTIFIERS : 0;

  // The line in a block of its own, so that a read past `length` is caught;
  // an empty line is passed as NULL, which the interface allows.
  std::unique_ptr<char[]> owned;
  const char* line = nullptr;
  if (length > 0) {
    owned.reset(new char[length]);
    std::memcpy(owned.get(), data, length);
    line = owned.get();
  }

  const std::size_t needed = grouper_explain_json(line, length, flags, nullptr, 0);
  if (needed == 0) Broken("no JSON for a line");

  GuardedBuffer whole(needed + 1);
  if (grouper_explain_json(line, length, flags, whole.bytes.get(), whole.size) != needed) {
    Broken("the length differs between calls");
  }
  if (whole.bytes[needed] != '\0') Broken("the whole JSON is not terminated");
  if (!whole.UntouchedFrom(needed + 1)) Broken("written past a buffer that fits");
  const std::string_view json(whole.bytes.get(), needed);
  if (json.find('\0') != std::string_view::npos) Broken("a NUL inside the JSON");
  std::vector<std::string> keys;
  std::string error;
  if (!grouper::json_check::IsOneObject(json, &keys, &error)) {
    std::fprintf(stderr, "%s\n%.*s\n", error.c_str(), static_cast<int>(json.size()), json.data());
    Broken("not one valid JSON object in UTF-8");
  }
  for (const char* key : kRequiredKeys) {
    bool found = false;
    for (const std::string& k : keys) found = found || k == key;
    if (!found) Broken("a documented key is missing");
  }

  // The same answer as grouper_group_line.
  grouper_result result{};
  if (grouper_group_line(line, length, &result) != 0) Broken("grouper_group_line failed");
  const char* kind = result.kind == GROUPER_KIND_GROUP_CODE ? "\"result\":\"group_code\""
                     : result.kind == GROUPER_KIND_MESSAGE  ? "\"result\":\"message\""
                                                            : "\"result\":\"wrong_data_type\"";
  if (json.find(kind) == std::string_view::npos) Broken("another result than the batch's");
  if (result.kind == GROUPER_KIND_GROUP_CODE &&
      json.find("\"group_code\":\"" + std::string(result.group_code) + "\"") ==
          std::string_view::npos) {
    Broken("another group code than the batch's");
  }

  CheckRowAndText(line, length, flags != 0);

  // A caller's buffer of the chosen size: snprintf's contract, nothing past it.
  GuardedBuffer chosen(buffer_size);
  char* target = buffer_size > 0 || (tail & 0x4000) == 0 ? chosen.bytes.get() : nullptr;
  if (grouper_explain_json(line, length, flags, target, buffer_size) != needed) {
    Broken("snprintf contract: the whole length is not returned");
  }
  if (buffer_size == 0) {
    if (!chosen.UntouchedFrom(0)) Broken("written into a buffer of size 0");
    return 0;
  }
  const std::size_t kept = needed < buffer_size - 1 ? needed : buffer_size - 1;
  if (std::memcmp(chosen.bytes.get(), json.data(), kept) != 0) {
    Broken("snprintf contract: the text is not the JSON's beginning");
  }
  if (chosen.bytes[kept] != '\0') Broken("snprintf contract: the text is not terminated");
  if (!chosen.UntouchedFrom(kept + 1)) Broken("written past the terminator or the buffer");
  return 0;
}
