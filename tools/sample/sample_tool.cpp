// grouper-sample's command line: reads the arguments, draws the lines and
// writes them with CR LF line ends (see RunSampleTool in sample_generator.h).
#include <grouper/grouper.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "sample_generator.h"
#include "tool_start.h"
#include "util/options.h"
#include "util/stream_output.h"

namespace grouper::sample {

bool ParseShare(std::string_view text, uint32_t* share) {
  if (text.empty()) return false;
  std::size_t i = 0;
  uint64_t whole = 0;
  bool digits = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    whole = std::min<uint64_t>(whole * 10 + static_cast<uint64_t>(text[i] - '0'), 10);
    digits = true;
  }
  uint64_t fraction = 0;
  uint64_t scale = kShareScale;
  bool nonzero_beyond = false;
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      digits = true;
      if (scale > 1) {
        scale /= 10;
        fraction += static_cast<uint64_t>(text[i] - '0') * scale;
      } else if (text[i] != '0') {
        nonzero_beyond = true;  // finer than a billionth: rounds down
      }
    }
  }
  if (!digits || i != text.size()) return false;
  const uint64_t value = whole * kShareScale + fraction;
  if (value > kShareScale || (value == kShareScale && nonzero_beyond)) return false;
  *share = static_cast<uint32_t>(value);
  return true;
}

bool ParseMonth(std::string_view text, SampleOptions* options) {
  if (text.size() != 7 || text[4] != '-') return false;
  int year = 0, month = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i == 4) continue;
    if (text[i] < '0' || text[i] > '9') return false;
    int& part = i < 4 ? year : month;
    part = part * 10 + (text[i] - '0');
  }
  // Admissions go back five years from an assessment, and a date of the form
  // ends in January 2038.
  if (year < 1976 || year > 2037 || month < 1 || month > 12) return false;
  options->month_year = year;
  options->month = month;
  return true;
}

namespace {

constexpr char kProgram[] = "grouper-sample";
constexpr char kUsage[] =
    "usage: grouper-sample --count N [--seed S] [--versions V,V,...] [--faults P]\n"
    "                      [--month YYYY-MM] > FILE\n"
    "       grouper-sample --help | --version\n"
    "\n"
    "Writes N synthetic assessment records, one per line in code page 949 with CR LF\n"
    "line ends, valid for their form version unless given a fault.\n";
constexpr options::Option kOptions[] = {
    {"--count", "N", "number of records (required)"},
    {"--seed", "S", "seed of the drawing (default 1); the same seed gives the same bytes"},
    {"--versions", "L",
     "comma-separated form versions to draw from: 089 010 090 011 091\n"
     "012 092 013 and base (the layout without version code); default all"},
    {"--faults", "P",
     "share of records (0 to 1) that get exactly one deliberate fault\n"
     "(default 0)"},
    {"--month", "M",
     "the month of the assessments, YYYY-MM (1976-01 to 2037-12): every\n"
     "assessment date falls in it and the other dates before them"},
    {"--help", "", "this help, on standard output", "-h"},
    {"--version", "", "the program's name and the library's version"},
};
constexpr tool::Program kTool = {kProgram, kUsage, kOptions};

bool ParseCount(std::string_view text, uint64_t* value) {
  if (text.empty() || text.size() > 19) return false;
  uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  *value = v;
  return true;
}

bool ParseVersions(std::string_view text, std::vector<std::string>* versions) {
  versions->clear();
  while (true) {
    const std::size_t comma = text.find(',');
    versions->emplace_back(text.substr(0, comma));
    if (versions->back().empty()) return false;
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return VersionsValid(*versions);
}

// Reads the options into `options` and `count`; a usage error's status, or 0.
int ReadOptions(const tool::ToolStart& start, SampleOptions& options, uint64_t& count) {
  const options::CommandLine& command = start.command();
  if (!command.operands.empty()) {
    return start.Usage("unknown argument '" + std::string(command.operands[0]) + "'");
  }
  bool have_count = false;
  for (const options::Given& given : command.options) {
    const std::string value(given.value);
    if (given.name == "--count") {
      if (!ParseCount(value, &count)) return start.Usage("bad --count '" + value + "'");
      have_count = true;
    } else if (given.name == "--seed") {
      if (!ParseCount(value, &options.seed)) return start.Usage("bad --seed '" + value + "'");
    } else if (given.name == "--versions") {
      if (!ParseVersions(value, &options.versions)) {
        return start.Usage("bad --versions '" + value + "'");
      }
    } else if (given.name == "--faults") {
      if (!ParseShare(value, &options.fault_share)) {
        return start.Usage("bad --faults '" + value + "' (a share from 0 to 1)");
      }
    } else if (given.name == "--month") {
      if (!ParseMonth(value, &options)) {
        return start.Usage("bad --month '" + value + "' (YYYY-MM, 1976-01 to 2037-12)");
      }
    }
  }
  return have_count ? 0 : start.Usage("--count is required");
}

}  // namespace

int RunSampleTool(int argc, const char* const* argv, std::FILE* out, std::FILE* err,
                  int out_error) {
  const std::vector<std::string> args(argv, argv + argc);
  // The lines are code page 949 bytes: they must not pass as console text.
  tool::ToolStart start(kTool, args, out, out_error, tool::Output::kBytes, err);
  if (const auto status = start.ended()) return *status;
  SampleOptions options;
  uint64_t count = 0;
  if (const int status = ReadOptions(start, options, count); status != 0) return status;
  StreamOutput& output = start.out();

  SampleGenerator gen = StartSample(options);
  for (uint64_t i = 0; i < count; ++i) {
    SampleLine line = NextSampleLine(gen);
    line.text += "\r\n";
    if (!output.Write(line.text)) break;
  }
  return output.Flush() ? 0 : start.CannotWriteOutput();
}

}  // namespace grouper::sample
