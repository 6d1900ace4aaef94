#include "batch/batch_run.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "batch/file_errors.h"
#include "batch/line_stream.h"
#include "line/input_warnings.h"
#include "platform/console_line.h"
#include "platform/console_text.h"
#include "platform/platform.h"
#include "text/u8_text.h"

namespace grouper {

namespace {

constexpr char kDefaultInput[] = "grouper.in";
constexpr char kDefaultOutput[] = "grouper.out";

constexpr char kProgram[] = "grouper: ";

// The names typed at the two prompts. The form reads each as a word, so what
// follows a name on its line answers the next prompt: the line is kept
// between the prompts.
class TypedNames {
 public:
  // The next name, read on as far as a line that holds one; not found at the
  // end of input (the empty name). Its views last until the next call.
  platform::TypedName Next() {
    for (;;) {
      const platform::TypedName next = platform::FirstName(rest_);
      if (next.found) {
        rest_ = next.rest;
        return next;
      }
      if (!platform::ReadConsoleLine(line_)) return {};
      rest_ = line_;
    }
  }

  // The line of the last name, without its outer blanks.
  std::string_view Line() const { return platform::TrimBlanks(line_); }

  // Takes the rest of that line as part of the last name.
  void UseLine() { rest_ = {}; }

 private:
  std::string line_;
  std::string_view rest_;
};

// The input's name at its prompt: the first word, or a quoted name; where a
// word names no file that opens but its whole line does, the line (a path with
// blanks pasted without quotes). Sets `fd` to the open input or -1.
std::string AskInput(TypedNames& typed, int& fd) {
  const platform::TypedName first = typed.Next();
  const std::string word(first.name);
  fd = platform::OpenInput(word.c_str());
  if (fd >= 0 || first.quoted || typed.Line() == word) return word;
  std::string line(typed.Line());
  fd = platform::OpenInput(line.c_str());
  if (fd < 0) return word;
  typed.UseLine();
  return line;
}

// Notes for the person on standard error, in Korean; the console lines and
// the result are not theirs to change, so a note that cannot be written is
// let go.
void Note(const std::string& text) {
  console::WriteText(stderr, kProgram + text + "\n");
}

// The installed guide's page on the batch: a full path, or on Windows a path
// in the installation folder (the install rules say which). The fuzz
// targets, which compile these sources without those rules, name the page
// within the guide.
#ifndef GROUPER_BATCH_GUIDE
#define GROUPER_BATCH_GUIDE "ko/month.html"
#endif

std::string GuidePage() {
  std::string page = GROUPER_BATCH_GUIDE;
  std::replace(page.begin(), page.end(), '/', platform::kPathSeparator);
#ifdef _WIN32
  if (page.size() < 2 || page[1] != ':') page = U8(u8"grouper를 설치한 폴더의 ") + page;
#endif
  return page;
}

// The end of a note on an input that did not open: why not, and that both
// names are asked at the prompts next.
std::string InsteadOfUnopened(const std::string& what, int error) {
  return what + " (" + std::strerror(error) + U8(u8"). 입력 파일과 결과 파일의 이름을 묻습니다.");
}

// One argument or more than two are ignored, as the batch always did; the
// person who typed them is told which, what the batch does instead (it reads
// grouper.in if that `opened`, or else says why not, `error`, and asks) and
// where the batch is described.
void NoteIgnoredArguments(const std::vector<std::string>& args, bool opened, int error) {
  std::string ignored;
  for (std::size_t i = 1; i < args.size(); ++i) {
    ignored += (i > 1 ? " \"" : "\"") + console::NameText(args[i]) + "\"";
  }
  Note(U8(u8"인수는 입력 파일과 결과 파일의 두 개여야 합니다. 다음 인수를 무시합니다: ") + ignored);
  const std::string instead =
      opened
          ? U8(u8"대신 현재 폴더의 ") + kDefaultInput + U8(u8"을 읽어 ") + kDefaultOutput +
                U8(u8"에 씁니다.")
          : InsteadOfUnopened(
                U8(u8"대신 읽을 현재 폴더의 ") + kDefaultInput + U8(u8"을 열 수 없습니다"), error);
  Note(instead + U8(u8" 도움말: ") + GuidePage());
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
int Fail(ConsoleWriter& console, FileError error, const std::string& name) {
  console.Print(std::string(FileErrorText(error)) + platform::NameForConsole(name) + "\n");
  console.Flush();
  return 1;
}

}  // namespace

int RunBatch(int argc, char** argv) {
  platform::PrepareProcess();
  ConsoleWriter console(platform::kStandardOutput);

  const std::vector<std::string> args = platform::Arguments(argc, argv);
  const bool named = args.size() == 3;
  std::string input_name = named ? args[1] : kDefaultInput;
  std::string output_name = named ? args[2] : kDefaultOutput;

  int input_fd = platform::OpenInput(input_name.c_str());
  const int input_error = input_fd < 0 ? errno : 0;
  if (args.size() > 1 && !named) NoteIgnoredArguments(args, input_fd >= 0, input_error);
  if (named && input_fd < 0) {
    Note(InsteadOfUnopened(
        U8(u8"입력 파일을 열 수 없습니다: \"") + console::NameText(input_name) + "\"",
        input_error));
  }
  if (input_fd < 0) {
    TypedNames typed;
    console.Print(std::string("\nINPUT FILENAME :  "));
    console.Flush();
    input_name = AskInput(typed, input_fd);
    if (input_fd < 0) return Fail(console, FileError::kInputOpen, input_name);
    console.Print(std::string("\nOUTPUT FILENAME :  "));
    console.Flush();
    output_name = typed.Next().name;
  }
  const int output_fd = OpenOutput(output_name, input_fd);
  if (output_fd < 0) {
    platform::Close(input_fd);
    return Fail(console, FileError::kOutputOpen, output_name);
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
  if (!written) return Fail(console, FileError::kOutputWrite, output_name);
  if (result == StreamResult::kReadError) return Fail(console, FileError::kInputRead, input_name);
  console.Flush();
  return 0;
}

}  // namespace grouper
