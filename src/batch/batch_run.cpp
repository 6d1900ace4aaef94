#include "batch/batch_run.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "batch/line_stream.h"
#include "platform/platform.h"

namespace grouper {

namespace {

constexpr char kDefaultInput[] = "grouper.in";
constexpr char kDefaultOutput[] = "grouper.out";

// One whitespace-delimited word typed on the console, of any length; the empty
// word at end of input.
std::string ReadWord() {
  std::string word;
  int c;
  do {
    c = std::fgetc(stdin);
  } while (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r');
  while (c != EOF && c != ' ' && c != '\t' && c != '\n' && c != '\v' && c != '\f' && c != '\r') {
    word.push_back(static_cast<char>(c));
    c = std::fgetc(stdin);
  }
  return word;
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

  int input_fd = platform::OpenInput(input_name.c_str());
  if (input_fd < 0) {
    console.Print(std::string("\nINPUT FILENAME :  "));
    console.Flush();
    input_name = platform::NameFromConsole(ReadWord());
    input_fd = platform::OpenInput(input_name.c_str());
    if (input_fd < 0) return Fail(console, "INPUT File Open Error - ", input_name);
    console.Print(std::string("\nOUTPUT FILENAME :  "));
    console.Flush();
    output_name = platform::NameFromConsole(ReadWord());
  }
  const int output_fd = OpenOutput(output_name, input_fd);
  if (output_fd < 0) {
    platform::Close(input_fd);
    return Fail(console, "OUTPUT File Open Error - ", output_name);
  }
  console.Print("\n", 1);

  const StreamResult result = ProcessStream(input_fd, output_fd, console);
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
