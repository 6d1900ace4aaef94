// The command line of the helper programs (grouper-explain, grouper-report,
// grouper-sample and any later one): one small parser that they share, so
// that every program takes its options the same way on every platform and
// says the same thing about a bad one.
//
// What it promises. Options are long ("--lines") and are matched whole, never
// abbreviated; an option may have one other spelling (its alias, "-h" for
// "--help"). An option that takes a value takes it as "--lines=3" or as the
// next argument ("--lines 3"), whatever that argument is; a flag takes none.
// "--" ends the options (every later argument is an operand), and "-" alone is
// an operand. Every problem is one of four, worded alike in every program:
//   unknown option '--x'      a name that the program's table does not hold
//   --x needs a value         an option with a value that is the last argument
//   --x takes no value        "--json=1"
//   an empty argument         "" where an option or an operand belongs
// The parser reads the table and the arguments only: what a value means, and
// how many operands a program takes, is for the program to judge.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace grouper::options {

struct Option {
  std::string_view name;        // "--lines"
  std::string_view value;       // the value's name in the help ("LIST"); empty for a flag
  std::string_view help;        // what it does, for --help; '\n' starts another line
  std::string_view alias = {};  // another spelling of a flag ("-h"), or empty
};

// One option as given: the table's name (also when its alias was given) and
// its value ("" for a flag).
struct Given {
  std::string_view name;
  std::string_view value;
};

// Which of the four problems a command line has, so that a program can word
// it in its own language; `error` words it as above.
enum class Problem { kNone, kUnknownOption, kNeedsValue, kTakesNoValue, kEmptyArgument };

struct CommandLine {
  std::vector<Given> options;              // in the order given
  std::vector<std::string_view> operands;  // in the order given
  std::string error;                       // the first problem; empty when there is none
  Problem problem = Problem::kNone;        // the same problem
  std::string subject;                     // the option it concerns ('--x' as given)
};

// Reads `args` (the arguments after the program's name) by `table`. The
// result's views point into `table` and `args`, which must outlive it. On a
// problem, `error` says which (see above) and the rest is what was read
// before it.
CommandLine Parse(std::span<const Option> table, std::span<const std::string> args);

// True when `line` holds the option named `name` (the table's name).
bool Has(const CommandLine& line, std::string_view name);

// The options of `table` for a --help text, one or more lines each in the
// table's order: two blanks, the name (with its alias and its value's name),
// and its help aligned in a column; every line ends in '\n'.
std::string Describe(std::span<const Option> table);

// A program's whole --help text: its usage lines, then `heading` and the
// options of `table` as Describe gives them.
std::string HelpText(std::string_view usage, std::span<const Option> table,
                     std::string_view heading = "options:");

}  // namespace grouper::options
