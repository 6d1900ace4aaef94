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

namespace {

constexpr char kUsage[] =
    "usage: grouper-sample --count N [--seed S] [--versions V,V,...] [--faults P] > FILE\n"
    "       grouper-sample --help | --version\n"
    "\n"
    "Writes N synthetic assessment records, one per line in code page 949 with CR LF\n"
    "line ends, valid for their form version unless given a fault.\n"
    "\n"
    "  --count N       number of records (required)\n"
    "  --seed S        seed of the drawing (default 1); the same seed gives the same bytes\n"
    "  --versions L    comma-separated form versions to draw from: 089 010 090 011 091\n"
    "                  012 092 013 and base (the layout without version code); default all\n"
    "  --faults P      share of records (0 to 1) that get exactly one deliberate fault\n"
    "                  (default 0)\n";

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

int UsageError(std::FILE* err, const std::string& problem) {
  std::fprintf(err, "grouper-sample: %s\n%s", problem.c_str(), kUsage);
  return 2;
}

}  // namespace

int RunSampleTool(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  SampleOptions options;
  uint64_t count = 0;
  bool have_count = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, out);
      return 0;
    }
    if (arg == "--version") {
      std::fprintf(out, "grouper-sample %s\n", grouper_version());
      return 0;
    }
    std::string_view name = arg;
    std::string_view value;
    bool have_value = false;
    if (const std::size_t eq = arg.find('=');
        arg.starts_with("--") && eq != std::string_view::npos) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
      have_value = true;
    }
    if (name != "--count" && name != "--seed" && name != "--versions" && name != "--faults") {
      return UsageError(err, "unknown argument '" + std::string(arg) + "'");
    }
    if (!have_value) {
      if (i + 1 >= argc) return UsageError(err, std::string(name) + " needs a value");
      value = argv[++i];
    }
    if (name == "--count") {
      if (!ParseCount(value, &count))
        return UsageError(err, "bad --count '" + std::string(value) + "'");
      have_count = true;
    } else if (name == "--seed") {
      if (!ParseCount(value, &options.seed)) {
        return UsageError(err, "bad --seed '" + std::string(value) + "'");
      }
    } else if (name == "--versions") {
      if (!ParseVersions(value, &options.versions)) {
        return UsageError(err, "bad --versions '" + std::string(value) + "'");
      }
    } else if (!ParseShare(value, &options.fault_share)) {
      return UsageError(err, "bad --faults '" + std::string(value) + "' (a share from 0 to 1)");
    }
  }
  if (!have_count) return UsageError(err, "--count is required");

  SampleGenerator gen = StartSample(options);
  for (uint64_t i = 0; i < count; ++i) {
    SampleLine line = NextSampleLine(gen);
    line.text += "\r\n";
    if (std::fwrite(line.text.data(), 1, line.text.size(), out) != line.text.size()) break;
  }
  if (std::fflush(out) != 0 || std::ferror(out)) {
    std::fprintf(err, "grouper-sample: cannot write the output\n");
    return 1;
  }
  return 0;
}

}  // namespace grouper::sample
