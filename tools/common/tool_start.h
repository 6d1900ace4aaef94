// The start that every helper program's main() shares: the process prepared,
// its arguments read by its option table, --help and --version answered, a
// bad command line refused, and its standard output opened as a checked
// stream. One place, so that the programs cannot drift apart in what they say
// and which status they end with.
//
// What it promises, for every program alike:
//   a bad command line (util/options.h's four problems, or one the program
//     finds in a value) says "PROGRAM: PROBLEM" and the usage lines on
//     standard error and ends with status 2; a name in the problem is shown
//     as console::NameText shows names (bytes that are not UTF-8 as \xNN);
//   --help (or -h) writes the usage and the options, --version
//     "PROGRAM VERSION" (the library's version), on standard output, with
//     status 0; a problem comes before either, and --help before --version;
//   output that cannot be written (a full or closed standard output) says
//     "PROGRAM: cannot write standard output: REASON" and ends with status 1.
//
// Language. A program whose table holds "--lang" takes "ko" or "en" there
// (the last one given counts; another value is a problem, said after --help
// and --version are answered), Korean by default. A program that also gives
// its usage and options in Korean (Program::korean) says all of the above in
// Korean unless "--lang en" was given before the problem; the system's reason
// stays as the system words it.
#pragma once

#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "text/language.h"
#include "util/options.h"
#include "util/stream_output.h"

namespace grouper::tool {

// A program's usage lines and its table with Korean help: the same options
// under the same names, in the same order.
struct KoreanHelp {
  std::string_view usage;
  std::span<const options::Option> options;
};

// What a program says about itself.
struct Program {
  std::string_view name;                     // "grouper-explain"
  std::string_view usage;                    // its usage lines, each ending in '\n'
  std::span<const options::Option> options;  // its table, --help and --version among them
  const KoreanHelp* korean = nullptr;        // where it speaks Korean to a clerk
};

// The process as main() gets it: prepared first (platform::PrepareProcess)
// and its arguments, the program's name first, as the platform layer gives
// them (UTF-8 on Windows).
struct Process {
  platform::ClosedStreams closed;
  std::vector<std::string> args;
};
Process StartProcess(int argc, char** argv);

// What the standard output carries: text for a person (written as
// console::WriteText writes it, so that Hangul shows on a Windows console),
// or bytes that must arrive as they are (records in code page 949).
enum class Output { kText, kBytes };

// Says `problem` and the usage (Korean when `korean`) on `err`; returns 2, the
// status of a bad command line.
int Usage(const Program& program, std::string_view problem, std::FILE* err = stderr,
          bool korean = false);

class ToolStart {
 public:
  // Reads `args` (the program's name first; they must outlive this) by the
  // program's table, and answers a problem, --help or --version at once.
  // `out` is the standard output (or a test's file); a nonzero `out_error`
  // says that it cannot be written at all (EBADF for a closed one).
  ToolStart(const Program& program, std::span<const std::string> args, std::FILE* out,
            int out_error, Output output, std::FILE* err = stderr);

  // The exit status when the start has ended the run (a problem, --help or
  // --version); nothing when the program goes on.
  std::optional<int> ended() const { return ended_; }
  const options::CommandLine& command() const { return command_; }
  // The language that --lang chose (Korean without it).
  Language language() const { return language_; }
  // True when the program's messages are to be said in Korean: it has
  // Korean texts and --lang did not ask for English.
  bool korean() const { return program_.korean != nullptr && language_ == Language::kKorean; }
  StreamOutput& out() { return out_; }

  // A problem that the program finds in the command line (worded in its
  // language, korean()): Usage on `err`.
  int Usage(std::string_view problem) const;
  // Writes `text` to the output and flushes it: 0, or 1 after saying that the
  // output could not be written.
  int Finish(std::string_view text);
  // The output has failed: says so and returns 1.
  int CannotWriteOutput() const;

 private:
  Program program_;
  std::FILE* err_;
  StreamOutput out_;
  options::CommandLine command_;
  std::optional<int> ended_;
  Language language_ = Language::kKorean;
};

}  // namespace grouper::tool
