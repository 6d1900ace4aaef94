// What the batch tells a person beyond its console lines, and how it reads
// names at its prompts (a word each, as the form reads them, or a quoted name
// with blanks): on standard error the signs of a wrong file, the arguments it
// ignores and a named input that does not open, while the result, the
// console lines and the exit status stay as the form has them.
#include <gtest/gtest.h>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "line/input_warnings.h"
#include "support/cp949.h"
#include "support/program_runner.h"
#include "text/u8_text.h"

namespace grouper {
namespace {

using testing::Cp949;
using testing::ReadFile;
using testing::Utf8;
using testing::WriteFile;

const std::string kAnswerOfAbc =
    "abc" + std::string(287, ' ') + Cp949(u8"오류-잘못된 데이타 타입입니다.") + "\r\n";

std::string ConsoleWrongType(int n) {
  return Cp949(u8"데이타(") + std::to_string(n) + Cp949(u8") .. 오류-잘못된 데이타 타입입니다. \n");
}

// The test's own standard error pointed at a file while the program runs: both
// runners hand the program the test's standard error.
class ErrorsToFile {
 public:
#ifdef _WIN32
  explicit ErrorsToFile(const std::string& path) : saved_(GetStdHandle(STD_ERROR_HANDLE)) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    file_ = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    SetStdHandle(STD_ERROR_HANDLE, file_);
  }
  ~ErrorsToFile() {
    SetStdHandle(STD_ERROR_HANDLE, saved_);
    CloseHandle(file_);
  }

 private:
  HANDLE saved_;
  HANDLE file_;
#else
  explicit ErrorsToFile(const std::string& path) : saved_(dup(2)) {
    std::fflush(stderr);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(fd, 2);
    close(fd);
  }
  ~ErrorsToFile() {
    std::fflush(stderr);
    dup2(saved_, 2);
    close(saved_);
  }

 private:
  int saved_;
#endif
};

struct Heard {
  int status;
  std::string console;
  std::string errors;
};

class BatchNotesE2E : public testing::ProgramTest {
 protected:
  Heard Grouper(const std::vector<std::string>& args, const std::string& typed = "") {
    const std::string errors = dir_ + "-stderr.txt";
    testing::Outcome outcome;
    {
      ErrorsToFile redirect(errors);
      outcome = testing::Start(dir_, {.args = args, .stdin_bytes = typed});
    }
    Heard run{outcome.status, outcome.console, ReadFile(errors)};
    std::remove(errors.c_str());
#ifdef _WIN32
    // A text stream: the program's lines end in CR LF there.
    for (std::size_t at; (at = run.errors.find("\r\n")) != std::string::npos;)
      run.errors.erase(at, 1);
#endif
    return run;
  }
};

// A name as a Korean system types it, in code page 949; on a Windows whose
// ANSI code page (in which a piped name is read) is another, `ascii`.
std::string Typed(const char8_t* hangul, [[maybe_unused]] const char* ascii) {
#ifdef _WIN32
  if (GetACP() != 949) return ascii;
#endif
  return Cp949(hangul);
}

// Why a named input did not open, before the prompts ask for both names.
std::string Unopened(const std::string& name) {
  return U8(u8"grouper: 입력 파일을 열 수 없습니다: \"") + name + "\" (" + std::strerror(ENOENT) +
         U8(u8"). 입력 파일과 결과 파일의 이름을 묻습니다.\n");
}

TEST_F(BatchNotesE2E, APromptTakesAWordOrAQuotedNameAndLeavesTheRestForTheNext) {
  const std::string input = Typed(u8"2026년 12월 기록.txt", "December 2026.txt");
  const std::string output = Typed(u8"결과 파일.out", "result file.out");
  WriteFile(Path("plain.in"), "abc\r\n");
  WriteFile(Path(input), "abc\r\n");
  const std::string prompts = "\nINPUT FILENAME :  \nOUTPUT FILENAME :  \n" + ConsoleWrongType(1);
  const std::string no_such = "no such " + input;
  const struct {
    std::string typed;
    std::string result;  // the file written, or the name that did not open
    bool named = true;   // run with a named input that does not open
  } cases[] = {
      {"plain.in o6.out\n", "o6.out"},
      {"plain.in\n\t o6.out \r\n", "o6.out"},
      // Blank lines are passed over; quoted names keep their blanks.
      {"\r\n \t\r\n  \"" + input + "\" \r\n\t\"" + output + "\"  \r\n", output},
      {"\"" + input + "\" \"" + output + "\"\r\n", output},  // two files dropped at once
      // A path with blanks pasted without quotes at the input prompt; at the
      // output prompt such a name ends at its first blank.
      {"  " + input + " \r\n\"" + output + "\"\n", output},
      {"plain.in " + output + "\n", output.substr(0, output.find(' '))},
      // Names that do not open are shown as they were read.
      {"\"" + no_such + "\" o.out\n", "!" + no_such},
      {no_such + "\n", "!no"},
      {"\"plain.in\n", "!\"plain.in"},  // an unclosed quote is part of the word
      {"\n  \n\r\n", "!", false},       // the end of input is the empty name
  };
  for (const auto& c : cases) {
    const bool fails = c.result.starts_with('!');
    const Heard run = Grouper(
        c.named ? std::vector<std::string>{"missing.in", "unused.out"} : std::vector<std::string>{},
        c.typed);
    EXPECT_EQ(run.status, fails ? 1 : 0) << Utf8(c.typed);
    EXPECT_EQ(run.errors, c.named ? Unopened("missing.in") : "") << Utf8(c.typed);
    if (fails) {
      EXPECT_EQ(run.console,
                "\nINPUT FILENAME :  INPUT File Open Error - " + c.result.substr(1) + "\n")
          << Utf8(c.typed);
      continue;
    }
    EXPECT_EQ(run.console, prompts) << Utf8(c.typed);
    EXPECT_EQ(ReadFile(Path(c.result)), kAnswerOfAbc) << Utf8(c.typed);
    std::remove(Path(c.result).c_str());
  }
  EXPECT_FALSE(std::filesystem::exists(Path("unused.out")));
}

TEST_F(BatchNotesE2E, AWrongFileIsNamedOnStandardErrorAndAnsweredAsAlways) {
  const std::string hangul_utf8 = "091 " + U8(u8"가상 환자");
  const struct {
    const char* what;
    std::string bytes;
    std::string console;
    std::vector<const char*> signs;
  } cases[] = {
      {"code page 949", "091 " + Cp949(u8"가상 환자") + "\r\n", ConsoleWrongType(1), {}},
      {"UTF-8",
       hangul_utf8 + "\r\n" + hangul_utf8 + "\r\n",
       ConsoleWrongType(1) + ConsoleWrongType(2),
       {"utf8"}},
      {"CR line ends", "abc\rdef\r", ConsoleWrongType(1), {"cr-line-ends"}},
      {"UTF-8 with CR line ends",
       "\xEF\xBB\xBF"
       "abc\rdef\r",
       ConsoleWrongType(1),
       {"utf8", "cr-line-ends"}},
      {"empty", "", "", {"empty"}},
  };
  for (const auto& c : cases) {
    WriteFile(Path("in.txt"), c.bytes);
    const Heard run = Grouper({"in.txt", "out.txt"});
    EXPECT_EQ(run.status, 0) << c.what;
    EXPECT_EQ(run.console, "\n" + c.console) << c.what;
    std::string errors;
    for (const char* sign : c.signs) {
      errors +=
          "grouper: " + InputWarnings::Sentence(sign, Language::kKorean) + " [" + sign + "]\n";
    }
    EXPECT_EQ(run.errors, errors) << c.what;
  }
}

// CRs before a line's LF, or at the end of the file, are trimmed with the line
// end: the sample so saved gets the answers of the sample in CR LF, and no sign.
TEST_F(BatchNotesE2E, CrsBeforeTheLineEndAreNoSignAndChangeNoAnswer) {
  const std::string sample = ReadFile(std::string(GROUPER_SOURCE_DIR) + "/examples/sample.in");
  ASSERT_GT(sample.size(), 2u);
  ASSERT_EQ(sample.substr(sample.size() - 2), "\r\n");
  WriteFile(Path("crlf.in"), sample);
  const Heard expected = Grouper({"crlf.in", "crlf.out"});
  ASSERT_EQ(expected.errors, "");
  std::string cr_cr_lf;
  for (const char c : sample) cr_cr_lf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {{"CR CR LF", cr_cr_lf},
               {"a last line ending in CR", sample.substr(0, sample.size() - 1)}};
  for (const auto& c : cases) {
    WriteFile(Path("in.txt"), c.bytes);
    const Heard run = Grouper({"in.txt", "out.txt"});
    EXPECT_EQ(run.errors, "") << c.what;
    EXPECT_EQ(run.console, expected.console) << c.what;
    EXPECT_TRUE(ReadFile(Path("out.txt")) == ReadFile(Path("crlf.out"))) << c.what;
  }
}

// Where the note on ignored arguments sends the person: the guide's page on
// the batch where the install rules put it (on Windows in the installation
// folder).
std::string GuidePage() {
  std::string page = GROUPER_BATCH_GUIDE;
#ifdef _WIN32
  std::replace(page.begin(), page.end(), '/', '\\');
  page = U8(u8"grouper를 설치한 폴더의 ") + page;
#endif
  return page;
}

TEST_F(BatchNotesE2E, IgnoredArgumentsAreNamedWithWhatTheBatchDoesInstead) {
  const std::string reads =
      U8(u8"grouper: 대신 현재 폴더의 grouper.in을 읽어 grouper.out에 씁니다. 도움말: ") +
      GuidePage() + "\n";
  const std::string asks =
      U8(u8"grouper: 대신 읽을 현재 폴더의 grouper.in을 열 수 없습니다 (") + std::strerror(ENOENT) +
      U8(u8"). 입력 파일과 결과 파일의 이름을 묻습니다. 도움말: ") + GuidePage() + "\n";
  const std::string ignoring =
      U8(u8"grouper: 인수는 입력 파일과 결과 파일의 두 개여야 합니다. 다음 인수를 무시합니다: ");
  const struct {
    std::vector<std::string> args;
    bool default_input;
    std::string errors;
  } cases[] = {
      {{}, true, ""},
      {{"grouper.in", "named.out"}, true, ""},
      {{"month.in"}, true, ignoring + "\"month.in\"\n" + reads},
      {{"--help", "a b.in", "x"}, true, ignoring + "\"--help\" \"a b.in\" \"x\"\n" + reads},
      {{"month.in"}, false, ignoring + "\"month.in\"\n" + asks},
#ifndef _WIN32
      // A name that is not UTF-8 (code page 949 bytes) is shown escaped.
      {{Cp949(u8"가.in")}, true, ignoring + "\"\\xB0\\xA1.in\"\n" + reads},
#endif
  };
  for (const auto& c : cases) {
    std::remove(Path("grouper.out").c_str());
    std::remove(Path("grouper.in").c_str());
    if (c.default_input) WriteFile(Path("grouper.in"), "abc\r\n");
    // Without grouper.in the names are typed at the prompts.
    if (!c.default_input) WriteFile(Path("typed.in"), "abc\r\n");
    const Heard run = Grouper(c.args, c.default_input ? "" : "typed.in grouper.out\n");
    EXPECT_EQ(run.status, 0) << c.args.size();
    EXPECT_EQ(run.console,
              (c.default_input ? "\n" : "\nINPUT FILENAME :  \nOUTPUT FILENAME :  \n") +
                  ConsoleWrongType(1))
        << c.args.size();
    EXPECT_EQ(run.errors, c.errors) << c.args.size();
    EXPECT_EQ(ReadFile(Path(c.args.size() == 2 ? "named.out" : "grouper.out")), kAnswerOfAbc);
  }
}

}  // namespace
}  // namespace grouper
