#include "util/options.h"

#include <algorithm>

namespace grouper::options {

namespace {

const Option* Find(std::span<const Option> table, std::string_view name) {
  for (const Option& option : table) {
    if (option.name == name || (!option.alias.empty() && option.alias == name)) return &option;
  }
  return nullptr;
}

std::string Quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

// "-h, --help" or "--lines LIST".
std::string Spelling(const Option& option) {
  std::string text = option.alias.empty() ? "" : std::string(option.alias) + ", ";
  text += option.name;
  if (!option.value.empty()) text += " " + std::string(option.value);
  return text;
}

}  // namespace

CommandLine Parse(std::span<const Option> table, std::span<const std::string> args) {
  CommandLine line;
  bool options_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg.empty()) {
      line.error = "an empty argument";
      line.problem = Problem::kEmptyArgument;
      return line;
    }
    if (options_ended || arg == "-" || arg[0] != '-') {
      line.operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    // "--name=value" names its option before the '='; a short alias has none.
    const std::size_t equals = arg.starts_with("--") ? arg.find('=') : std::string_view::npos;
    const std::string_view name = arg.substr(0, equals);
    const Option* option = Find(table, name);
    if (option == nullptr) {
      line.error = "unknown option " + Quoted(name);
      line.problem = Problem::kUnknownOption;
      line.subject = name;
      return line;
    }
    Given given{option->name, {}};
    if (option->value.empty()) {
      if (equals != std::string_view::npos) {
        line.error = std::string(option->name) + " takes no value";
        line.problem = Problem::kTakesNoValue;
        line.subject = option->name;
        return line;
      }
    } else if (equals != std::string_view::npos) {
      given.value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      given.value = args[++i];
    } else {
      line.error = std::string(option->name) + " needs a value";
      line.problem = Problem::kNeedsValue;
      line.subject = option->name;
      return line;
    }
    line.options.push_back(given);
  }
  return line;
}

bool Has(const CommandLine& line, std::string_view name) {
  return std::any_of(line.options.begin(), line.options.end(),
                     [name](const Given& given) { return given.name == name; });
}

std::string Describe(std::span<const Option> table) {
  std::size_t column = 0;
  for (const Option& option : table) column = std::max(column, Spelling(option).size());
  column += 4;  // two blanks before the name, at least two after it
  std::string text;
  for (const Option& option : table) {
    std::string left = "  " + Spelling(option);
    std::string_view help = option.help;
    do {
      const std::size_t end = help.find('\n');
      left.resize(column, ' ');
      text += left + std::string(help.substr(0, end)) + "\n";
      left.clear();
      help = end == std::string_view::npos ? std::string_view() : help.substr(end + 1);
    } while (!help.empty());
  }
  return text;
}

std::string HelpText(std::string_view usage, std::span<const Option> table,
                     std::string_view heading) {
  return std::string(usage) + "\n" + std::string(heading) + "\n" + Describe(table);
}

}  // namespace grouper::options
