// grouper-explain [--json | --csv] [--lang en] [--lines LIST] [--show-identifiers] INPUT
//
// Explains every line of an assessment file (or the lines picked by LIST, for
// example "3,10-12"), split and numbered as the batch run splits them: the
// answer as the batch gives it, and behind it every fault of a rejected
// record or the scores and criteria of a grouped one. Text for people (Korean,
// or English with --lang en), or with --json one JSON object per line (JSON
// Lines), or with --csv a table for spreadsheets, all UTF-8. An input that
// looks like the wrong file (UTF-8 text, CR line ends, empty) gets a warning
// on standard error.
//
// Exit status: 0; 1 when the input cannot be opened or read; 2 for bad
// arguments (with a usage line). --help prints the usage, --version the
// library's version.
#include <grouper/grouper.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "console_text.h"
#include "batch/byte_io.h"
#include "line/group_line.h"
#include "explain/explanation.h"
#include "explain/explanation_csv.h"
#include "explain/input_warnings.h"
#include "platform/platform.h"

namespace {

constexpr const char* kUsage =
    "usage: grouper-explain [--json | --csv] [--lang en] [--lines LIST] [--show-identifiers] "
    "INPUT\n"
    "       grouper-explain --help | --version\n";

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

// Prints each sign of a wrong file that has shown since the last call, once.
void Warn(grouper::InputWarnings& warnings, grouper::Language language) {
  for (const char* name : warnings.NewNames()) {
    std::fflush(stdout);  // the lines explained so far come first
    grouper::console::WriteText(
        stderr, "grouper-explain: " + grouper::InputWarnings::Sentence(name, language) + " [" +
                    name + "]\n");
  }
}

int Usage(const char* problem) {
  std::fprintf(stderr, "grouper-explain: %s\n%s", problem, kUsage);
  return 2;
}

// The file name and the system's reason, on standard error.
int CannotOpen(const std::string& name, int error) {
  std::fprintf(stderr, "grouper-explain: cannot open %s: %s\n",
               grouper::platform::NameForConsole(name).c_str(), std::strerror(error));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args = grouper::platform::Arguments(argc, argv);
  bool json = false;
  bool csv = false;
  grouper::ExplainOptions options;
  std::vector<std::pair<uint64_t, uint64_t>> ranges;
  const std::string* input = nullptr;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--json") {
      json = true;
    } else if (arg == "--csv") {
      csv = true;
    } else if (arg == "--lang") {
      const std::string_view lang = i + 1 < args.size() ? std::string_view(args[++i]) : "";
      if (lang != "en" && lang != "ko") return Usage("--lang takes ko or en");
      options.language = lang == "en" ? grouper::Language::kEnglish : grouper::Language::kKorean;
    } else if (arg == "--show-identifiers") {
      options.show_identifiers = true;
    } else if (arg == "--lines") {
      if (i + 1 >= args.size()) return Usage("--lines needs a list such as 3,10-12");
      if (!ParseLineList(args[++i], ranges)) return Usage("bad --lines list");
    } else if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--version") {
      std::printf("grouper-explain %s\n", grouper_version());
      return 0;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Usage(("unknown option " + std::string(arg)).c_str());
    } else if (input == nullptr) {
      input = &args[i];
    } else {
      return Usage("one input file only");
    }
  }
  if (input == nullptr) return Usage("no input file");
  if (json && csv) return Usage("--json or --csv, not both");

  // Lines end in a line feed alone, as JSON Lines and UTF-8 text want them.
  grouper::platform::WriteAsBytes(stdout);
  const int fd = grouper::platform::OpenInput(input->c_str());
  if (fd < 0) return CannotOpen(*input, errno);
  grouper::LineReader reader(fd);
  char line[grouper::kLineBufferSize];
  uint64_t number = 0;
  grouper::InputWarnings warnings;
  if (csv) grouper::console::WriteText(stdout, grouper::CsvHeader());
  for (;;) {
    const std::size_t read = reader.ReadLine(line);
    if (read == 0) break;
    warnings.Add(line, read);
    Warn(warnings, options.language);
    ++number;
    if (!Picked(ranges, number)) continue;
    options.line_number = number;
    const grouper::LineExplanation e = grouper::ExplainLine(line, read);
    // Every output is UTF-8 text: a console gets it so that its Hangul shows.
    grouper::console::WriteText(stdout, json  ? grouper::ExplanationJson(e, options) + "\n"
                                        : csv ? grouper::CsvRow(e, options)
                                              : grouper::ExplanationText(e, options));
  }
  const bool failed = reader.failed();
  if (!failed) {
    warnings.Finish();
    Warn(warnings, options.language);
  }
  grouper::platform::Close(fd);
  if (failed) {
    std::fprintf(stderr, "grouper-explain: cannot read %s\n",
                 grouper::platform::NameForConsole(*input).c_str());
    return 1;
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
