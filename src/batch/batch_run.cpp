#include "batch/batch_run.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "batch/line_stream.h"
#include "explain/input_warnings.h"
#include "platform/console_line.h"
#include "platform/console_text.h"
#include "platform/platform.h"

namespace grouper {

namespace {

constexpr char kDefaultInput[] = "grouper.in";
constexpr char kDefaultOutput[] = "grouper.out";

constexpr char kProgram[] = "grouper: ";

// A file name typed at a prompt: the next line that holds one, as
// TypedName reads it; the empty name at the end of input.
std::string ReadName() {
  std::string line;
  while (platform::ReadConsoleLine(line)) {
    const std::string_view name = platform::TypedName(line);
    if (!name.empty()) return std::string(name);
  }
  return {};
}

// Notes for the person on standard error, in Korean; the console lines and
// the result are not theirs to change, so a note that cannot be written is
// let go.
void Note(const std::string& text) {
  console::WriteText(stderr, kProgram + text + "\n");
}

std::string Text(const char8_t* utf8) {
  return reinterpret_cast<const char*>(utf8);
}

// One argument or more than two are ignored, as the batch always did; the
// person who typed them is told which files are used instead.
void NoteIgnoredArguments(const std::vector<std::string>& args) {
  if (args.size() == 1 || args.size() == 3) return;
  std::string ignored;
  for (std::size_t i = 1; i < args.size(); ++i) {
    ignored += (i > 1 ? " \"" : "\"") + console::NameText(args[i]) + "\"";
  }
  Note(Text(u8"인수는 입력 파일과 결과 파일의 두 개여야 합니다. 다음 인수를 무시합니다: ") +
       ignored);
  Note(Text(u8"대신 현재 폴더의 ") + kDefaultInput + Text(u8"을 읽어 ") + kDefaultOutput +
       Text(u8"에 씁니다. 도움말: grouper-month --help"));
}

// The signs that the input is not the file the batch expects, in the words
// of the tools (grouper-explain, grouper-report).
void NoteWarnings(const InputWarnings& warnings) {
  for (const char* name : warnings.Names()) {
    Note(InputWarnings::Sentence(name, Language::kKorean) + " [" + name + "]");
  }
}

// Opens the result file, created or truncated, unless it is the input file
// itself under this or another name (a link, another path): truncating it
// would destroy the input.
int OpenOutput(const std::string& name, int input_fd) {
  if (platform::IsSameFile(input_fd, name.c_str())) return -1;
  return platform::OpenOutput(name.c_str());
}

// The name is shown as the console shows names (the typed or given bytes on
// POSIX; on Windows in the console's code page).
int Fail(ConsoleWriter& console, const char* what, const std::string& name) {
  console.Print(std::string(what) + platform::NameForConsole(name) + "\n");
  console.Flush();
  return 1;
}

}  // namespace

int RunBatch(int argc, char** argv) {
  platform::PrepareProcess();
  ConsoleWriter console(platform::kStandardOutput);

  const std::vector<std::string> args = platform::Arguments(argc, argv);
  std::string input_name = args.size() == 3 ? args[1] : kDefaultInput;
  std::string output_name = args.size() == 3 ? args[2] : kDefaultOutput;
  NoteIgnoredArguments(args);

  int input_fd = platform::OpenInput(input_name.c_str());
  if (input_fd < 0) {
    console.Print(std::string("\nINPUT FILENAME :  "));
    console.Flush();
    input_name = ReadName();
    input_fd = platform::OpenInput(input_name.c_str());
    if (input_fd < 0) return Fail(console, "INPUT File Open Error - ", input_name);
    console.Print(std::string("\nOUTPUT FILENAME :  "));
    console.Flush();
    output_name = ReadName();
  }
  const int output_fd = OpenOutput(output_name, input_fd);
  if (output_fd < 0) {
    platform::Close(input_fd);
    return Fail(console, "OUTPUT File Open Error - ", output_name);
  }
  console.Print("\n", 1);

  InputWarnings warnings;
  const StreamResult result =
      ProcessStream(input_fd, output_fd, console, StreamOptions{.warnings = &warnings});
  if (result == StreamResult::kComplete) warnings.Finish();
  NoteWarnings(warnings);
  const bool closed = platform::Close(output_fd);
  const bool written = result != StreamResult::kWriteError && closed;
  platform::Close(input_fd);
  if (!written) return Fail(console, "OUTPUT File Write Error - ", output_name);
  if (result == StreamResult::kReadError)
    return Fail(console, "INPUT File Read Error - ", input_name);
  console.Flush();
  return 0;
}

}  // namespace grouper
