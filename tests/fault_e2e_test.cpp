// The program against faulty input and a hostile environment: malformed
// lines, huge lines and files, closed or vanishing standard streams, files it
// may only read, results it cannot write, and an output name that is the
// input. Whatever happens, every read of the input gets its output line, the
// input is never harmed, and the exit status says whether the result is whole.
//
// Expectations are written from the form's rules; `answer_check.h` (shared
// with the fuzz targets) models the shape of every answer where the exact
// message depends on the validation rules.
//
// The hostile environment differs by platform: the POSIX runs use an ordinary
// user, symbolic links, /proc and /dev/full; the Windows runs the read-only
// attribute, a byte-range lock, case-blind names and hard links.
#include <gtest/gtest.h>

#ifdef _WIN32
#include "platform/windows_api.h"
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "../fuzz/answer_check.h"
#include "support/cp949.h"
#include "support/program_runner.h"
#include "support/record_builder.h"

namespace grouper {
namespace {

using testing::BuildLine;
using testing::Cp949;
using testing::MakeTempDir;
using testing::ReadFile;
using testing::SetItem;
using testing::Utf8;
using testing::ValidRecord;
using testing::WriteFile;

// ---------------------------------------------------------------------------
// Expected answers.

const std::string kWrongType = Cp949(u8"오류-잘못된 데이타 타입입니다.");

// The wrong-data-type line of the base layout (reject column 290).
std::string WrongTypeLine(std::string_view text) {
  if (text.size() < 290)
    return std::string(text) + std::string(290 - text.size(), ' ') + kWrongType + "\r\n";
  return std::string(text.substr(0, 289)) + " " + kWrongType + "\r\n";
}
std::string MessageLine(std::string_view text, const std::string& message) {
  return std::string(text) + std::string(32, ' ') + message + "\r\n";
}
std::string ConsoleWrongType(int n) {
  return Cp949(u8"데이타(") + std::to_string(n) + Cp949(u8") .. 오류-잘못된 데이타 타입입니다. ") +
         "\n";
}
std::string ConsoleMessage(int n, const std::string& message) {
  return Cp949(u8"데이타(") + std::to_string(n) + ") .. " + message + "\n";
}

const fuzzing::AnswerTexts& Texts() {
  static const fuzzing::AnswerTexts texts{kWrongType, Cp949(u8"오류-"), Cp949(u8"데이타("),
                                          Cp949(u8") .. 완료 ("), ") .. "};
  return texts;
}

// Failure output that stays readable for any bytes.
std::string Readable(std::string_view bytes) {
  try {
    return Utf8(bytes);
  } catch (...) {
    std::string out;
    char hex[8];
    for (unsigned char c : bytes) {
      if (c >= 0x20 && c < 0x7f) {
        out += static_cast<char>(c);
      } else {
        std::snprintf(hex, sizeof hex, "\\x%02x", c);
        out += hex;
      }
    }
    return out;
  }
}

std::size_t CountLineFeeds(std::string_view bytes) {
  return static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
}

// ---------------------------------------------------------------------------
// Running the program with full control of its standard streams.

using testing::Console;
using testing::Outcome;
using testing::Start;

class FaultE2E : public testing::ProgramTest {
 protected:
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir_)) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  // Runs `in.txt` -> `out.txt` and checks every answer with the model.
  Outcome RunAndCheck(const std::string& input) {
    WriteFile(Path("in.txt"), input);
    Outcome run = Start(dir_, {.args = {"in.txt", "out.txt"}});
    EXPECT_EQ(run.status, 0) << "signal " << run.signal;
    const std::string output = ReadFile(Path("out.txt"));
    EXPECT_EQ(run.console.substr(0, 1), "\n");
    const char* fault =
        fuzzing::CheckRun(input, output, std::string_view(run.console).substr(1), Texts());
    EXPECT_EQ(fault, nullptr) << fault << "\noutput:\n" << Readable(output);
    return run;
  }
};

// A framed base-layout line that the parser rejects: its systolic pressure
// holds a blank.
std::string PressureLine() {
  std::string line = BuildLine(ValidRecord("123"));
  SetItem(line, "a_systolic_bp", "12 ");
  return line;
}
const std::string kPressureMessage =
    Cp949(u8"오류-[A.일반적사항][9.수축기혈압] 001~999 사이 숫자를 입력하시오");

// ---------------------------------------------------------------------------

TEST_F(FaultE2E, AnEmptyInputGivesAnEmptyResult) {
  WriteFile(Path("in.txt"), "");
  const Outcome run = Start(dir_, {.args = {"in.txt", "out.txt"}});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.console, "\n");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"in.txt", "out.txt"}));
  EXPECT_EQ(ReadFile(Path("out.txt")), "");
}

TEST_F(FaultE2E, EveryBlankLineIsAnsweredAsAWrongDataType) {
  // Blanks, CR and LF are trimmed; a tab is not, and stays in the line.
  const std::vector<std::string> lines = {"\n", "   \n", "\r\n", " \r \r\n", "\t\n", "\n", "  "};
  std::string input, expected_output, expected_console = "\n";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    input += lines[i];
    expected_output += WrongTypeLine(lines[i] == "\t\n" ? "\t" : "");
    expected_console += ConsoleWrongType(static_cast<int>(i + 1));
  }
  WriteFile(Path("in.txt"), input);
  const Outcome run = Start(dir_, {.args = {"in.txt", "out.txt"}});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(ReadFile(Path("out.txt")), expected_output);
  EXPECT_EQ(run.console, expected_console) << Readable(run.console);
}

TEST_F(FaultE2E, MixedLineEndsAndAMissingFinalLineEndAreAnsweredAlike) {
  const std::string pressure = PressureLine();
  const std::string input = pressure + "\r\n" + "abc\n" + pressure + "\n" + "\r\n" + pressure +
                            "   \r\n" + "a\rb\r\n" + pressure;  // no final line end
  WriteFile(Path("in.txt"), input);
  const Outcome run = Start(dir_, {.args = {"in.txt", "out.txt"}});
  EXPECT_EQ(run.status, 0);
  const std::string answer = MessageLine(pressure, kPressureMessage);
  const std::string output = ReadFile(Path("out.txt"));
  EXPECT_EQ(output, answer + WrongTypeLine("abc") + answer + WrongTypeLine("") + answer +
                        WrongTypeLine("a\rb") + answer)
      << Readable(output);
  EXPECT_EQ(run.console, "\n" + ConsoleMessage(1, kPressureMessage) + ConsoleWrongType(2) +
                             ConsoleMessage(3, kPressureMessage) + ConsoleWrongType(4) +
                             ConsoleMessage(5, kPressureMessage) + ConsoleWrongType(6) +
                             ConsoleMessage(7, kPressureMessage))
      << Readable(run.console);
}

TEST_F(FaultE2E, ALineEndsAtItsFirstNulByte) {
  const std::string pressure = PressureLine();
  using namespace std::string_literals;
  struct Case {
    std::string read;
    std::string answer;
  };
  const std::vector<Case> cases = {
      // The NUL cuts a full-length record to 100 bytes: a wrong data type.
      {pressure.substr(0, 100) + "\0"s + pressure.substr(101) + "\n",
       WrongTypeLine(pressure.substr(0, 100))},
      // NUL bytes after the record: the record is whole.
      {pressure + "\0\0\r\n"s, MessageLine(pressure, kPressureMessage)},
      // Blanks before the NUL are trimmed, the bytes after it ignored.
      {"abc  \0xyz\n"s, WrongTypeLine("abc")},
      {"\0"s + pressure + "\n", WrongTypeLine("")},
      // A NUL at the very end of the file, without a line end.
      {pressure + "\0"s, MessageLine(pressure, kPressureMessage)},
  };
  std::string input, expected;
  for (const Case& c : cases) {
    input += c.read;
    expected += c.answer;
  }
  WriteFile(Path("in.txt"), input);
  const Outcome run = Start(dir_, {.args = {"in.txt", "out.txt"}});
  EXPECT_EQ(run.status, 0);
  const std::string output = ReadFile(Path("out.txt"));
  EXPECT_EQ(output, expected) << Readable(output);
  EXPECT_EQ(run.console, "\n" + ConsoleWrongType(1) + ConsoleMessage(2, kPressureMessage) +
                             ConsoleWrongType(3) + ConsoleWrongType(4) +
                             ConsoleMessage(5, kPressureMessage))
      << Readable(run.console);
}

TEST_F(FaultE2E, BytesFrom0x80InNumbersAndAnswersAreRejectedByTheirItem) {
  struct Case {
    const char* version;
    const char* field;
    std::string raw;
    std::u8string_view message;
  };
  const std::vector<Case> cases = {
      // Numbers are tested as digits when parsed.
      {"123", "a_systolic_bp", "\xb0\xa1\x31",
       u8"오류-[A.일반적사항][9.수축기혈압] 001~999 사이 숫자를 입력하시오"},
      {"010", "k_rehab_days", "\xff",
       u8"오류-[K.특수처치 및 전문재활치료][2.전문재활치료 실시일수] 0~7 사이 숫자를 입력하시오"},
      {"091", "k_oxygen_saturation", "9\x80\x80\x39",
       u8"오류-[K. 특수처치 및 전문재활치료][1.e.1 산소포화도] 0000~9999 사이 숫자를 입력하세요"},
      // Answers are compared as signed bytes: 0x80 and above fail the lower bound.
      {"123", "b_coma", "\xb0", u8"오류-[B.인지기능][1.혼수상태] 0~1 사이값을 입력하시오"},
      {"092", "d_adl_dressing", "\xff",
       u8"오류-[D.신체기능][1.옷벗고 입기] 0,1,2,3,4,8 중에서 값을 입력하시오"},
      // Dates with such bytes are no dates.
      {"089", "a_admission_date", "2024\xb0\xa1\x30\x32", u8"오류-[A.일반적사항][3.입원일]"},
  };
  std::string input, expected_output, expected_console = "\n";
  for (std::size_t i = 0; i < cases.size(); ++i) {
    std::string line = BuildLine(ValidRecord(cases[i].version));
    SetItem(line, cases[i].field, cases[i].raw);
    const std::string message = Cp949(cases[i].message);
    input += line + "\r\n";
    // The message follows the trimmed line (a blank-padded nurse name ends it).
    expected_output += MessageLine(line.substr(0, line.find_last_not_of(' ') + 1), message);
    expected_console += ConsoleMessage(static_cast<int>(i + 1), message);
  }
  WriteFile(Path("in.txt"), input);
  const Outcome run = Start(dir_, {.args = {"in.txt", "out.txt"}});
  EXPECT_EQ(run.status, 0);
  const std::string output = ReadFile(Path("out.txt"));
  EXPECT_EQ(output, expected_output) << Readable(output);
  EXPECT_EQ(run.console, expected_console) << Readable(run.console);
}

TEST_F(FaultE2E, ATenMegabyteLineIsAnsweredReadByRead) {
  // 10 MiB and a line feed, read 1023 bytes at a time: 10250 full reads and a
  // last one of 11 bytes. Every read is a line of its own (the base layout,
  // since no read starts with a version code), cut at the reject column.
  std::string input;
  input.reserve(10 * 1024 * 1024 + 1);
  for (std::size_t i = 0; i < 10 * 1024 * 1024; ++i) input += static_cast<char>('a' + i % 26);
  input += '\n';
  const std::size_t reads = (input.size() + 1022) / 1023;
  ASSERT_EQ(reads, 10251u);
  RunAndCheck(input);
  const std::string output = ReadFile(Path("out.txt"));
  EXPECT_EQ(CountLineFeeds(output), reads);
  EXPECT_EQ(output.size(),
            (reads - 1) * (289 + 1 + kWrongType.size() + 2) + 290 + kWrongType.size() + 2);
  const std::string last_text = input.substr((reads - 1) * 1023, 10);  // 11 bytes less the LF
  EXPECT_EQ(output.substr(output.size() - (290 + kWrongType.size() + 2)), WrongTypeLine(last_text));
}

TEST_F(FaultE2E, AMillionShortLinesGetAMillionAnswers) {
  constexpr std::size_t kLines = 1'000'000;
  std::string input;
  for (std::size_t i = 0; i < kLines; ++i) input += (i % 2 == 0) ? "x\n" : "yz\r\n";
  WriteFile(Path("in.txt"), input);
  const std::string console_dir = MakeTempDir();
  const std::string console_path = console_dir + "/console";
  const Outcome run = Start(
      dir_,
      {.args = {"in.txt", "out.txt"}, .console = Console::kFile, .console_path = console_path});
  EXPECT_EQ(run.status, 0);
  const std::string console = ReadFile(console_path);
  std::filesystem::remove_all(console_dir);
  const std::string x = WrongTypeLine("x"), yz = WrongTypeLine("yz");
  ASSERT_EQ(x.size(), yz.size());
  // Compared answer by answer from the file: the result is 322 MB.
  std::FILE* result = std::fopen(Path("out.txt").c_str(), "rb");
  ASSERT_NE(result, nullptr);
  std::string answer(x.size(), '\0');
  std::size_t answered = 0;
  while (std::fread(answer.data(), 1, answer.size(), result) == answer.size()) {
    if (answer != (answered % 2 == 0 ? x : yz)) {
      ADD_FAILURE() << "answer " << answered + 1 << ": " << Readable(answer);
      break;
    }
    ++answered;
  }
  EXPECT_EQ(std::fgetc(result), EOF);
  std::fclose(result);
  EXPECT_EQ(answered, kLines);
  EXPECT_EQ(CountLineFeeds(console), kLines + 1);
  EXPECT_TRUE(console.ends_with(ConsoleWrongType(1'000'000)))
      << Readable(console.substr(console.size() - 80));
}

#ifndef _WIN32
TEST_F(FaultE2E, AnInputThatMayOnlyBeReadIsProcessed) {
  // The input is only ever read. Root may write to any file whatever its mode,
  // so the program runs as an ordinary user that can read the input but not
  // write it; the directory lets that user create the result.
  const std::string input = "abc\n" + PressureLine() + "\n";
  WriteFile(Path("in.txt"), input);
  ASSERT_EQ(chmod(Path("in.txt").c_str(), 0444), 0);
  ASSERT_EQ(chmod(dir_.c_str(), 0777), 0);
  const Outcome run = Start(dir_, {.args = {"in.txt", "out.txt"}, .unprivileged = true});
  EXPECT_EQ(run.status, 0) << Readable(run.console);
  EXPECT_EQ(ReadFile(Path("out.txt")),
            WrongTypeLine("abc") + MessageLine(PressureLine(), kPressureMessage));
  EXPECT_EQ(ReadFile(Path("in.txt")), input);
}
#else
TEST_F(FaultE2E, AnInputThatMayOnlyBeReadIsProcessed) {
  // The read-only attribute refuses every writer, administrators too.
  const std::string input = "abc\n" + PressureLine() + "\n";
  WriteFile(Path("in.txt"), input);
  ASSERT_TRUE(SetFileAttributesA(Path("in.txt").c_str(), FILE_ATTRIBUTE_READONLY));
  const Outcome run = Start(dir_, {.args = {"in.txt", "out.txt"}});
  EXPECT_EQ(run.status, 0) << Readable(run.console);
  EXPECT_EQ(ReadFile(Path("out.txt")),
            WrongTypeLine("abc") + MessageLine(PressureLine(), kPressureMessage));
  EXPECT_EQ(ReadFile(Path("in.txt")), input);
  SetFileAttributesA(Path("in.txt").c_str(), FILE_ATTRIBUTE_NORMAL);  // for the clean-up
}
#endif

TEST_F(FaultE2E, AMissingInputIsAskedForWithBothPrompts) {
  WriteFile(Path("typed.in"), "abc\n");
  // No arguments: "grouper.in" does not exist, so both names are typed.
  Outcome run = Start(dir_, {.stdin_bytes = "typed.in\ntyped.out\n"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.console, "\nINPUT FILENAME :  \nOUTPUT FILENAME :  \n" + ConsoleWrongType(1));
  EXPECT_EQ(ReadFile(Path("typed.out")), WrongTypeLine("abc"));
  EXPECT_EQ(Entries(), (std::vector<std::string>{"typed.in", "typed.out"}));

  // Typing the input's own name as the output is refused like an argument.
  run = Start(dir_, {.args = {"gone.in", "x.out"}, .stdin_bytes = "typed.in\ntyped.in"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.console,
            "\nINPUT FILENAME :  \nOUTPUT FILENAME :  OUTPUT File Open Error - typed.in\n");
  EXPECT_EQ(ReadFile(Path("typed.in")), "abc\n");
}

TEST_F(FaultE2E, AMissingInputWithNothingTypedEndsWithStatus1AndCreatesNothing) {
  for (const bool closed : {false, true}) {
    const Outcome run = Start(dir_, {.close_stdin = closed});
    EXPECT_EQ(run.status, 1) << (closed ? "closed" : "empty") << " standard input";
    EXPECT_EQ(run.console, "\nINPUT FILENAME :  INPUT File Open Error - \n");
    EXPECT_TRUE(Entries().empty());
  }
}

#ifndef _WIN32
TEST_F(FaultE2E, AnInputThatFailsToReadEndsWithStatus1) {
  // The process's own memory opens but cannot be read at offset 0: the run
  // must not pass the failure off as the end of a complete input.
  const Outcome run = Start(dir_, {.args = {"/proc/self/mem", "out.txt"}});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.console, "\nINPUT File Read Error - /proc/self/mem\n");
  EXPECT_EQ(ReadFile(Path("out.txt")), "");
}
#else
TEST_F(FaultE2E, AnInputThatFailsToReadEndsWithStatus1) {
  // Another program locks the whole input: it opens, but no byte can be read.
  // The run must not pass the failure off as the end of a complete input.
  WriteFile(Path("in.txt"), "abc\n");
  const HANDLE holder =
      CreateFileA(Path("in.txt").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  OVERLAPPED whole{};
  ASSERT_TRUE(LockFileEx(holder, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                         MAXDWORD, &whole));
  // Windows refuses reads of a locked range; Wine does not.
  const HANDLE reader =
      CreateFileA(Path("in.txt").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  char byte;
  DWORD got = 0;
  const bool enforced = !::ReadFile(reader, &byte, 1, &got, nullptr);
  CloseHandle(reader);
  if (!enforced) {
    UnlockFileEx(holder, 0, MAXDWORD, MAXDWORD, &whole);
    CloseHandle(holder);
    GTEST_SKIP() << "byte-range locks do not stop reads on this system";
  }
  const Outcome run = Start(dir_, {.args = {"in.txt", "out.txt"}});
  UnlockFileEx(holder, 0, MAXDWORD, MAXDWORD, &whole);
  CloseHandle(holder);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.console, "\nINPUT File Read Error - in.txt\n");
  EXPECT_EQ(ReadFile(Path("out.txt")), "");
}
#endif

TEST_F(FaultE2E, AnOutputInAMissingDirectoryEndsWithStatus1) {
  WriteFile(Path("in.txt"), "abc\n");
  const Outcome run = Start(dir_, {.args = {"in.txt", "none/out.txt"}});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.console, "OUTPUT File Open Error - none/out.txt\n");
  EXPECT_EQ(Entries(), std::vector<std::string>{"in.txt"});
}

#ifndef _WIN32  // Windows has no device that is always full
TEST_F(FaultE2E, AResultOnAFullDeviceEndsWithStatus1) {
  // Small results fail when written at the end, large ones in the middle of
  // the run; both must be reported.
  for (const std::size_t lines : {1u, 20000u}) {
    std::string input;
    for (std::size_t i = 0; i < lines; ++i) input += "abc\n";
    WriteFile(Path("in.txt"), input);
    const Outcome run = Start(dir_, {.args = {"in.txt", "/dev/full"}});
    EXPECT_EQ(run.status, 1) << lines << " lines";
    EXPECT_TRUE(run.console.starts_with("\n" + ConsoleWrongType(1)));
    EXPECT_TRUE(run.console.ends_with("OUTPUT File Write Error - /dev/full\n"))
        << Readable(run.console.substr(run.console.size() > 200 ? run.console.size() - 200 : 0));
  }
}
#endif

#ifndef _WIN32
TEST_F(FaultE2E, TheInputIsNeverTheOutputUnderAnyName) {
  const std::string content = PressureLine() + "\r\nabc\n";
  WriteFile(Path("in.txt"), content);
  ASSERT_EQ(mkdir(Path("sub").c_str(), 0755), 0);
  ASSERT_EQ(symlink("in.txt", Path("soft.txt").c_str()), 0);
  ASSERT_EQ(symlink("../in.txt", Path("sub/soft.txt").c_str()), 0);
  ASSERT_EQ(link(Path("in.txt").c_str(), Path("sub/hard.txt").c_str()), 0);
  const std::vector<std::string> outputs = {"in.txt",       "soft.txt",      "sub/soft.txt",
                                            "sub/hard.txt", "sub/../in.txt", Path("in.txt")};
  for (const std::string& output : outputs) {
    const Outcome run = Start(dir_, {.args = {"in.txt", output}});
    EXPECT_EQ(run.status, 1) << output;
    EXPECT_EQ(run.console, "OUTPUT File Open Error - " + output + "\n");
    EXPECT_EQ(ReadFile(Path("in.txt")), content) << output;
  }
  // The input named through the link is just as safe.
  const Outcome run = Start(dir_, {.args = {"soft.txt", "sub/hard.txt"}});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(ReadFile(Path("in.txt")), content);
}
#else
TEST_F(FaultE2E, TheInputIsNeverTheOutputUnderAnyName) {
  // Windows names are blind to case, take "\\" and "/" alike, and a hard link
  // is the same file under another name.
  const std::string content = PressureLine() + "\r\nabc\n";
  WriteFile(Path("in.txt"), content);
  ASSERT_TRUE(std::filesystem::create_directory(Path("sub")));
  ASSERT_TRUE(CreateHardLinkA(Path("sub/hard.txt").c_str(), Path("in.txt").c_str(), nullptr));
  const std::vector<std::string> outputs = {"in.txt",        "IN.TXT",        ".\\In.Txt",
                                            "sub\\hard.txt", "sub/../in.txt", Path("in.txt")};
  for (const std::string& output : outputs) {
    const Outcome run = Start(dir_, {.args = {"in.txt", output}});
    EXPECT_EQ(run.status, 1) << output;
    EXPECT_EQ(run.console, "OUTPUT File Open Error - " + output + "\n");
    EXPECT_EQ(ReadFile(Path("in.txt")), content) << output;
  }
  // The input named through the link is just as safe.
  const Outcome run = Start(dir_, {.args = {"sub/hard.txt", "in.txt"}});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(ReadFile(Path("in.txt")), content);
}
#endif

TEST_F(FaultE2E, TheResultIsWholeWhenTheConsoleReaderGoesAway) {
  // Enough lines that the console overflows the pipe long after its reader
  // has taken the first line and closed it.
  std::string input;
  for (int i = 0; i < 30000; ++i) input += (i % 3 == 0) ? PressureLine() + "\r\n" : "q\n";
  WriteFile(Path("in.txt"), input);
  const Outcome run =
      Start(dir_, {.args = {"in.txt", "out.txt"}, .console = Console::kReadOneLine});
  EXPECT_EQ(run.status, 0) << "signal " << run.signal;
  const std::string output = ReadFile(Path("out.txt"));
  EXPECT_EQ(CountLineFeeds(output), 30000u);
  const std::string first = MessageLine(PressureLine(), kPressureMessage),
                    other = WrongTypeLine("q");
  EXPECT_EQ(output.size(), 10000 * first.size() + 20000 * other.size());
  EXPECT_TRUE(output.ends_with(other + other));
}

TEST_F(FaultE2E, ClosedStandardStreamsNeverReachTheResult) {
  // Started with standard input and output closed, the program must not
  // take the result file for its console.
  const std::string input = "abc\n" + PressureLine() + "\n";
  WriteFile(Path("in.txt"), input);
  for (const bool close_stdin : {false, true}) {
    const Outcome run = Start(
        dir_,
        {.args = {"in.txt", "out.txt"}, .close_stdin = close_stdin, .console = Console::kClosed});
    EXPECT_EQ(run.status, 0) << "standard input closed: " << close_stdin;
    EXPECT_EQ(ReadFile(Path("out.txt")),
              WrongTypeLine("abc") + MessageLine(PressureLine(), kPressureMessage))
        << "standard input closed: " << close_stdin;
    EXPECT_EQ(ReadFile(Path("in.txt")), input);
  }
}

std::vector<std::string> FilesIn(const char* subdirectory) {
  std::vector<std::string> paths;
  const std::filesystem::path dir = std::filesystem::path(GROUPER_SOURCE_DIR) / subdirectory;
  if (!std::filesystem::exists(dir)) return paths;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    paths.push_back(entry.path().string());
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

TEST_F(FaultE2E, EveryFuzzSeedAndRegressionIsAnsweredInFull) {
  // The seeds of the line target are single lines: they run as one file, each
  // cut at its first line feed as the target cuts it, and ended by one.
  const std::vector<std::string> lines = FilesIn("fuzz/corpus/line_fuzzer");
  EXPECT_GE(lines.size(), 20u);
  std::string input;
  for (const std::string& path : lines) {
    const std::string seed = ReadFile(path);
    input += seed.substr(0, std::min(seed.find('\n'), fuzzing::kMaxRead)) + "\n";
  }
  RunAndCheck(input);
  // The seeds of the file target are whole files, and so are the inputs that
  // once broke the program (kept in fuzz/regressions).
  std::vector<std::string> files = FilesIn("fuzz/corpus/batch_fuzzer");
  EXPECT_GE(files.size(), 5u);
  for (const std::string& path : FilesIn("fuzz/regressions")) files.push_back(path);
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    RunAndCheck(ReadFile(path));
  }
}

TEST_F(FaultE2E, TheAnswerModelCatchesBrokenAnswers) {
  // The model that checks the runs above must itself be able to fail.
  const std::string input = PressureLine() + "\r\nabc\n" + BuildLine(ValidRecord("090")) + "\n";
  const Outcome run = RunAndCheck(input);
  const std::string output = ReadFile(Path("out.txt"));
  const std::string console = run.console.substr(1);
  ASSERT_EQ(fuzzing::CheckRun(input, output, console, Texts()), nullptr);

  const std::size_t first_end = output.find("\r\n") + 2;
  struct Broken {
    const char* what;
    std::string output;
    std::string console;
  };
  std::string no_cr = output;
  no_cr.erase(first_end - 2, 1);
  std::string extra_blank = output;
  extra_blank.insert(PressureLine().size(), " ");
  std::string renumbered = console;
  renumbered.replace(renumbered.find('2'), 1, "3");
  std::string cut_early = output;
  cut_early.replace(first_end + 3, 1, "");  // "abc" answered one column short
  const std::vector<Broken> broken = {
      {"line without CR", no_cr, console},
      {"lost line", output.substr(first_end), console},
      {"extra line", output + "\r\n", console},
      {"message one column late", extra_blank, console},
      {"rejection one column early", cut_early, console},
      {"wrong line number", output, renumbered},
      {"lost console line", output, console.substr(console.find('\n') + 1)},
      {"lines swapped", output.substr(first_end) + output.substr(0, first_end), console},
  };
  for (const Broken& b : broken) {
    EXPECT_NE(fuzzing::CheckRun(input, b.output, b.console, Texts()), nullptr) << b.what;
  }
}

}  // namespace
}  // namespace grouper
