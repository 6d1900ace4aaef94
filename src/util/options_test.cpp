// The shared command line: both spellings of a value, "--" and "-", and the
// four problems with their words, on one table of a flag, an aliased flag and
// an option with a value. (Each program's --help is checked against its manual
// page by tests/tools/check_command_lines.py.)
#include "util/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace grouper::options {
namespace {

constexpr Option kTable[] = {
    {"--json", "", "one JSON object per line"},
    {"--lines", "LIST", "only the lines of LIST\nfor example 3,10-12"},
    {"--help", "", "this help", "-h"},
};

// The line read as text: "name=value" per option, "<operand>" per operand,
// then "!error".
std::string Read(std::vector<std::string> args) {
  const CommandLine line = Parse(kTable, args);
  std::string text;
  for (const Given& given : line.options) {
    text += std::string(given.name) + "=" + std::string(given.value) + " ";
  }
  for (const std::string_view operand : line.operands) text += "<" + std::string(operand) + "> ";
  if (!line.error.empty()) text += "!" + line.error;
  return text;
}

TEST(Options, ValuesOperandsAndProblemsReadAlikeEverywhere) {
  const struct {
    std::vector<std::string> args;
    std::string read;
  } cases[] = {
      {{}, ""},
      {{"--lines", "3", "in"}, "--lines=3 <in> "},
      {{"--lines=3", "in"}, "--lines=3 <in> "},
      {{"--lines=", "in"}, "--lines= <in> "},
      {{"--lines", "--json"}, "--lines=--json "},  // the next argument is the value
      {{"-h", "--json", "in", "--lines", "1"}, "--help= --json= --lines=1 <in> "},
      {{"-", "--", "--json", ""}, "<-> <--json> !an empty argument"},
      {{"--lin", "3"}, "!unknown option '--lin'"},  // never abbreviated
      {{"in", "--jsonx"}, "<in> !unknown option '--jsonx'"},
      {{"-x"}, "!unknown option '-x'"},
      {{"--bogus=1"}, "!unknown option '--bogus'"},
      {{"--json", "--lines"}, "--json= !--lines needs a value"},
      {{"--json=1"}, "!--json takes no value"},
      {{"-h=1"}, "!unknown option '-h=1'"},
      {{""}, "!an empty argument"},
      {{"--json", "", "in"}, "--json= !an empty argument"},
  };
  for (const auto& c : cases) {
    std::string joined;
    for (const std::string& arg : c.args) joined += "[" + arg + "]";
    EXPECT_EQ(Read(c.args), c.read) << joined;
  }
  EXPECT_TRUE(Has(Parse(kTable, std::vector<std::string>{"-h"}), "--help"));
  EXPECT_FALSE(Has(Parse(kTable, std::vector<std::string>{"--json"}), "--help"));
}

}  // namespace
}  // namespace grouper::options
