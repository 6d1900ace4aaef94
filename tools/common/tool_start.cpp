#include "tool_start.h"

#include <grouper/grouper.h>

#include "platform/console_text.h"

namespace grouper::tool {

Process StartProcess(int argc, char** argv) {
  Process process;
  process.closed = platform::PrepareProcess();  // before anything touches a stream
  process.args = platform::Arguments(argc, argv);
  return process;
}

int Usage(const Program& program, std::string_view problem, std::FILE* err) {
  console::WriteText(err, std::string(program.name) + ": " + console::NameText(problem) + "\n" +
                              std::string(program.usage));
  return 2;
}

ToolStart::ToolStart(const Program& program, std::span<const std::string> args, std::FILE* out,
                     int out_error, Output output, std::FILE* err)
    : program_(program),
      err_(err),
      out_(out, out_error, output == Output::kText ? console::WriteText : nullptr),
      command_(options::Parse(program.options, args.subspan(args.empty() ? 0 : 1))) {
  if (!command_.error.empty()) {
    ended_ = Usage(command_.error);
  } else if (options::Has(command_, "--help")) {
    ended_ = Finish(options::HelpText(program.usage, program.options));
  } else if (options::Has(command_, "--version")) {
    ended_ = Finish(std::string(program.name) + " " + grouper_version() + "\n");
  }
}

int ToolStart::Usage(std::string_view problem) const {
  return tool::Usage(program_, problem, err_);
}

int ToolStart::Finish(std::string_view text) {
  return out_.Write(text) && out_.Flush() ? 0 : CannotWriteOutput();
}

int ToolStart::CannotWriteOutput() const {
  return CannotWrite(program_.name, "standard output", out_.error(), err_);
}

}  // namespace grouper::tool
