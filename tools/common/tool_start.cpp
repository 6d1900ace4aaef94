#include "tool_start.h"

#include <grouper/grouper.h>

#include <cstring>

#include "platform/console_text.h"
#include "text/u8_text.h"

namespace grouper::tool {

namespace {

// The parser's problem in Korean.
std::string KoreanProblem(const options::CommandLine& line) {
  switch (line.problem) {
    case options::Problem::kUnknownOption:
      return U8(u8"알 수 없는 옵션 '") + line.subject + "'";
    case options::Problem::kNeedsValue:
      return line.subject + U8(u8" 뒤에 값이 있어야 합니다");
    case options::Problem::kTakesNoValue:
      return line.subject + U8(u8"에는 값을 붙일 수 없습니다");
    case options::Problem::kEmptyArgument:
      return U8(u8"빈 인수가 있습니다");
    case options::Problem::kNone:
      break;
  }
  return line.error;
}

bool HasOption(std::span<const options::Option> table, std::string_view name) {
  for (const options::Option& option : table) {
    if (option.name == name) return true;
  }
  return false;
}

}  // namespace

Process StartProcess(int argc, char** argv) {
  Process process;
  process.closed = platform::PrepareProcess();  // before anything touches a stream
  process.args = platform::Arguments(argc, argv);
  return process;
}

int Usage(const Program& program, std::string_view problem, std::FILE* err, bool korean) {
  const std::string_view usage =
      korean && program.korean != nullptr ? program.korean->usage : program.usage;
  console::WriteText(err, std::string(program.name) + ": " + console::NameText(problem) + "\n" +
                              std::string(usage));
  return 2;
}

ToolStart::ToolStart(const Program& program, std::span<const std::string> args, std::FILE* out,
                     int out_error, Output output, std::FILE* err)
    : program_(program),
      err_(err),
      out_(out, out_error, output == Output::kText ? console::WriteText : nullptr),
      command_(options::Parse(program.options, args.subspan(args.empty() ? 0 : 1))) {
  bool bad_language = false;
  if (HasOption(program.options, "--lang")) {
    for (const options::Given& given : command_.options) {
      if (given.name != "--lang") continue;
      if (given.value == "en" || given.value == "ko") {
        language_ = given.value == "en" ? Language::kEnglish : Language::kKorean;
      } else {
        bad_language = true;
      }
    }
  }
  if (!command_.error.empty()) {
    ended_ = Usage(korean() ? KoreanProblem(command_) : command_.error);
  } else if (options::Has(command_, "--help")) {
    ended_ = Finish(
        korean() ? options::HelpText(program.korean->usage, program.korean->options, U8(u8"옵션:"))
                 : options::HelpText(program.usage, program.options));
  } else if (options::Has(command_, "--version")) {
    ended_ = Finish(std::string(program.name) + " " + grouper_version() + "\n");
  } else if (bad_language) {
    ended_ = Usage(korean() ? U8(u8"--lang에는 ko 또는 en을 주십시오") : "--lang takes ko or en");
  }
}

int ToolStart::Usage(std::string_view problem) const {
  return tool::Usage(program_, problem, err_, korean());
}

int ToolStart::Finish(std::string_view text) {
  return out_.Write(text) && out_.Flush() ? 0 : CannotWriteOutput();
}

int ToolStart::CannotWriteOutput() const {
  if (!korean()) return CannotWrite(program_.name, "standard output", out_.error(), err_);
  console::WriteText(err_, std::string(program_.name) + ": " +
                               U8(u8"표준 출력에 쓸 수 없습니다: ") + std::strerror(out_.error()) +
                               "\n");
  return 1;
}

}  // namespace grouper::tool
