#include "driver/batch_run.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "driver/byte_io.h"
#include "driver/line_processor.h"

namespace grouper {

namespace {

constexpr char kDefaultInput[] = "grouper.in";
constexpr char kDefaultOutput[] = "grouper.out";

class Console {
 public:
  explicit Console(int fd = STDOUT_FILENO) : writer_(fd, 1 << 16), line_by_line_(isatty(fd) == 1) {}

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

// A readable regular file (or device, pipe); a directory counts as not opened.
int OpenInput(const std::string& name) {
  const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Opens the result file, created or truncated, unless it is the input file
// itself under this or another name (a link, another path): truncating it
// would destroy the input.
int OpenOutput(const std::string& name, int input_fd) {
  struct stat in_st, out_st;
  if (::fstat(input_fd, &in_st) == 0 && ::stat(name.c_str(), &out_st) == 0 &&
      in_st.st_dev == out_st.st_dev && in_st.st_ino == out_st.st_ino) {
    return -1;
  }
  return ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}

// A standard stream that the caller closed would otherwise be taken by the
// next file opened, and the console lines would land in the result file.
void KeepStandardStreamsOpen() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (::fcntl(fd, F_GETFD) == -1) {
      const int null_fd = ::open("/dev/null", O_RDWR);
      if (null_fd >= 0 && null_fd != fd) ::close(null_fd);  // only the lowest free one is kept
    }
  }
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
  KeepStandardStreamsOpen();
  std::signal(SIGPIPE, SIG_IGN);
  Console console;

  std::string input_name = argc == 3 ? argv[1] : kDefaultInput;
  std::string output_name = argc == 3 ? argv[2] : kDefaultOutput;

  int input_fd = OpenInput(input_name);
  if (input_fd < 0) {
    console.Print(std::string("\nINPUT FILENAME :  "));
    console.Flush();
    input_name = ReadWord();
    input_fd = OpenInput(input_name);
    if (input_fd < 0) return Fail(console, "INPUT File Open Error - ", input_name);
    console.Print(std::string("\nOUTPUT FILENAME :  "));
    console.Flush();
    output_name = ReadWord();
  }
  const int output_fd = OpenOutput(output_name, input_fd);
  if (output_fd < 0) {
    ::close(input_fd);
    return Fail(console, "OUTPUT File Open Error - ", output_name);
  }
  console.Print("\n", 1);

  const StreamResult result = ProcessStream(input_fd, output_fd, console);
  const bool closed = ::close(output_fd) == 0;
  const bool written = result != StreamResult::kWriteError && closed;
  ::close(input_fd);
  if (!written) return Fail(console, "OUTPUT File Write Error - ", output_name);
  if (result == StreamResult::kReadError)
    return Fail(console, "INPUT File Read Error - ", input_name);
  console.Flush();
  return 0;
}

}  // namespace grouper
