#include "driver/batch_run.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "driver/byte_io.h"
#include "driver/line_processor.h"
#include "platform/platform.h"

namespace grouper {

namespace {

constexpr char kDefaultInput[] = "grouper.in";
constexpr char kDefaultOutput[] = "grouper.out";

class Console {
 public:
  explicit Console(int fd = platform::kStandardOutput)
      : writer_(fd, 1 << 16), line_by_line_(platform::IsTerminal(fd)) {}

  void Print(const char* bytes, std::size_t length) {
    writer_.Write(bytes, length);
    if (line_by_line_) writer_.Flush();
  }
  void Print(const std::string& text) { Print(text.data(), text.size()); }
  // A console that went away (a closed pipe) is not the run's concern: the
  // result file is the product, so a failed console write is ignored.
  void Flush() { writer_.Flush(); }

 private:
  ByteWriter writer_;
  bool line_by_line_;
};

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

int Fail(Console& console, const char* what, const std::string& name) {
  console.Print(std::string(what) + name + "\n");
  console.Flush();
  return 1;
}

StreamResult ProcessStream(int input_fd, int output_fd, Console& console) {
  LineReader reader(input_fd);
  ByteWriter output(output_fd);
  auto processor = std::make_unique<LineProcessor>();
  LineProcessor& p = *processor;
  ResetLineProcessor(p);

  std::size_t previous_read = 0;
  for (;;) {
    std::memset(p.line, 0, previous_read);  // the rest of the buffer is still zero
    const std::size_t read = reader.ReadLine(p.line);
    if (read == 0) break;
    previous_read = read;
    ProcessLine(p, read);
    if (p.console_first) console.Print(p.console_line, p.console_length);
    output.Write(p.output_line, p.output_length);
    if (!p.console_first) console.Print(p.console_line, p.console_length);
    if (output.failed()) break;
  }
  if (!output.Flush()) return StreamResult::kWriteError;
  console.Flush();
  return reader.failed() ? StreamResult::kReadError : StreamResult::kComplete;
}

}  // namespace

StreamResult ProcessStream(int input_fd, int output_fd, int console_fd) {
  Console console(console_fd);
  return ProcessStream(input_fd, output_fd, console);
}

int RunBatch(int argc, char** argv) {
  platform::PrepareProcess();
  Console console;

  std::string input_name = argc == 3 ? argv[1] : kDefaultInput;
  std::string output_name = argc == 3 ? argv[2] : kDefaultOutput;

  int input_fd = platform::OpenInput(input_name.c_str());
  if (input_fd < 0) {
    console.Print(std::string("\nINPUT FILENAME :  "));
    console.Flush();
    input_name = ReadWord();
    input_fd = platform::OpenInput(input_name.c_str());
    if (input_fd < 0) return Fail(console, "INPUT File Open Error - ", input_name);
    console.Print(std::string("\nOUTPUT FILENAME :  "));
    console.Flush();
    output_name = ReadWord();
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
