// grouper-explain [--json | --csv | --csv-ko] [--lang en] [--lines LIST] [--show-identifiers] INPUT
//
// Explains every line of an assessment file (or the lines picked by LIST, for
// example "3,10-12"), split and numbered as the batch run splits them: the
// answer as the batch gives it, and behind it every fault of a rejected
// record or the scores and criteria of a grouped one. Text for people (Korean,
// or English with --lang en), or with --json one JSON object per line (JSON
// Lines), or with --csv a table for spreadsheets (--csv-ko: its Korean
// table, grouper-month's), all UTF-8. The table's rows are made on both
// processors where there are two (explain_table.h). An input that
// looks like the wrong file (UTF-8 text, CR line ends, empty) gets a warning
// on standard error.
//
// Exit status: 0; 1 when the input cannot be opened or read, or the output
// cannot be written (standard output full, closed or gone, or a warning lost
// on standard error), said on standard error with the system's reason where
// it can be; 2 for bad arguments (with a usage line). --help prints the usage
// and the options, --version the library's version. The options are read as
// util/options.h reads them.
#include <grouper/grouper.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "batch/byte_io.h"
#include "explain/explanation.h"
#include "explain/explanation_csv.h"
#include "explain_table.h"
#include "line/group_line.h"
#include "line/input_warnings.h"
#include "platform/console_text.h"
#include "platform/platform.h"
#include "tool_start.h"
#include "util/options.h"
#include "util/stream_output.h"

namespace {

constexpr char kProgram[] = "grouper-explain";
constexpr char kUsage[] =
    "usage: grouper-explain [--json | --csv | --csv-ko] [--lang en] [--lines LIST] "
    "[--show-identifiers] INPUT\n"
    "       grouper-explain --help | --version\n";
constexpr grouper::options::Option kOptions[] = {
    {"--json", "", "one JSON object per input line (JSON Lines)"},
    {"--csv", "", "a table for spreadsheets"},
    {"--csv-ko", "", "the table for spreadsheets with Korean headers and values"},
    {"--lang", "LANG", "the language of the text: ko (the default) or en (item names stay Korean)"},
    {"--lines", "LIST", "only the lines of LIST, for example 3,10-12"},
    {"--show-identifiers", "", "names and resident numbers in full"},
    {"--help", "", "this help, on standard output", "-h"},
    {"--version", "", "the program's name and the library's version"},
};
constexpr grouper::tool::Program kTool = {kProgram, kUsage, kOptions};

// Line ranges from "3,10-12": inclusive pairs; false when the text is not
// such a list.
bool ParseLineList(std::string_view text, std::vector<std::pair<uint64_t, uint64_t>>& ranges) {
  auto number = [](std::string_view digits, uint64_t& value) {
    if (digits.empty() || digits.size() > 18) return false;
    value = 0;
    for (const char c : digits) {
      if (c < '0' || c > '9') return false;
      value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return value > 0;
  };
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    const std::string_view part = text.substr(0, comma);
    const std::size_t dash = part.find('-');
    uint64_t first = 0, last = 0;
    if (!number(part.substr(0, dash), first)) return false;
    last = first;
    if (dash != std::string_view::npos && (!number(part.substr(dash + 1), last) || last < first)) {
      return false;
    }
    ranges.emplace_back(first, last);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
    if (text.empty()) return false;
  }
  return !ranges.empty();
}

bool Picked(const std::vector<std::pair<uint64_t, uint64_t>>& ranges, uint64_t line) {
  if (ranges.empty()) return true;
  for (const auto& [first, last] : ranges) {
    if (line >= first && line <= last) return true;
  }
  return false;
}

// Says a sign of a wrong file on standard error, after the lines explained so
// far; false when it could not be written.
bool Warn(const char* sign, grouper::Language language, grouper::StreamOutput& out,
          grouper::StreamOutput& err) {
  out.Flush();
  return err.Write(std::string(kProgram) + ": " + grouper::InputWarnings::Sentence(sign, language) +
                   " [" + sign + "]\n");
}

}  // namespace

int main(int argc, char** argv) {
  const grouper::tool::Process process = grouper::tool::StartProcess(argc, argv);
  // Lines end in a line feed alone, as JSON Lines and UTF-8 text want them;
  // every output is UTF-8 text, which a console gets so that its Hangul shows.
  grouper::tool::ToolStart start(kTool, process.args, stdout, process.closed.output ? EBADF : 0,
                                 grouper::tool::Output::kText);
  if (const auto status = start.ended()) return *status;
  const grouper::options::CommandLine& command = start.command();
  grouper::StreamOutput& out = start.out();
  grouper::StreamOutput err(stderr, 0, grouper::console::WriteText);
  bool json = false;
  bool csv = false;
  grouper::CsvTable table = grouper::CsvTable::kEnglish;
  grouper::ExplainOptions options;
  options.language = start.language();  // --lang, read by the start
  std::vector<std::pair<uint64_t, uint64_t>> ranges;
  for (const grouper::options::Given& given : command.options) {
    if (given.name == "--json") {
      json = true;
    } else if (given.name == "--csv" || given.name == "--csv-ko") {
      if (csv && table != (given.name == "--csv-ko" ? grouper::CsvTable::kKorean
                                                    : grouper::CsvTable::kEnglish)) {
        return start.Usage("--csv or --csv-ko, not both");
      }
      csv = true;
      if (given.name == "--csv-ko") table = grouper::CsvTable::kKorean;
    } else if (given.name == "--show-identifiers") {
      options.show_identifiers = true;
    } else if (given.name == "--lines") {
      if (!ParseLineList(given.value, ranges)) return start.Usage("bad --lines list");
    }
  }
  if (command.operands.empty()) return start.Usage("no input file");
  if (command.operands.size() > 1) return start.Usage("one input file only");
  if (json && csv) return start.Usage("--json or a table, not both");
  const std::string input(command.operands[0]);

  grouper::platform::WriteAsBytes(stdout);
  const int fd = grouper::platform::OpenInput(input.c_str());
  if (fd < 0) return grouper::console::FileFailed(kProgram, "cannot open", input, errno);
  grouper::InputWarnings warnings;
  bool warned = true;  // every warning reached standard error
  bool written = !csv || out.Write(grouper::CsvHeader(table));
  int read_error = 0;
  if (csv && written) {
    const grouper::explain_tool::TableEnd ended = grouper::explain_tool::WriteTableRows(
        fd, out, options, table, [&ranges](uint64_t line) { return Picked(ranges, line); },
        warnings,
        [&](const char* sign) { warned = Warn(sign, options.language, out, err) && warned; });
    written = ended.written;
    read_error = ended.read_error;
  }
  grouper::LineReader reader(fd);
  char line[grouper::kLineBufferSize];
  uint64_t number = 0;
  while (written && !csv) {
    const std::size_t read = reader.ReadLine(line);
    if (read == 0) {
      // The failed read's errno: nothing runs between it and here.
      if (reader.failed()) read_error = errno != 0 ? errno : EIO;
      break;
    }
    warnings.Add(line, read);
    for (const char* sign : warnings.NewNames())
      warned = Warn(sign, options.language, out, err) && warned;
    ++number;
    if (!Picked(ranges, number)) continue;
    options.line_number = number;
    const grouper::LineExplanation e = grouper::ExplainLine(line, read);
    written = out.Write(json ? grouper::ExplanationJson(e, options) + "\n"
                             : grouper::ExplanationText(e, options));
  }
  grouper::platform::Close(fd);
  if (!written || !out.Flush()) {
    return grouper::CannotWrite(kProgram, "standard output", out.error());
  }
  if (read_error != 0)
    return grouper::console::FileFailed(kProgram, "cannot read", input, read_error);
  warnings.Finish();
  for (const char* sign : warnings.NewNames())
    warned = Warn(sign, options.language, out, err) && warned;
  return warned ? 0 : 1;
}
