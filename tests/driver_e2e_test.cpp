// The program as a user runs it: files, arguments, prompts, console lines and
// exit status, with expectations written from the form's rules.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/cp949.h"
#include "support/program_runner.h"
#include "support/record_builder.h"

namespace grouper {
namespace {

using testing::BuildLine;
using testing::Cp949;
using testing::MakeTempDir;
using testing::ReadFile;
using testing::RunGrouper;
using testing::SetItem;
using testing::SplitCrLf;
using testing::Utf8;
using testing::ValidRecord;
using testing::WriteFile;

const std::string kWrongType = Cp949(u8"오류-잘못된 데이타 타입입니다.");

std::string ConsoleWrongType(int n) {
  return Cp949(u8"데이타(") + std::to_string(n) + Cp949(u8") .. 오류-잘못된 데이타 타입입니다. \n");
}
std::string ConsoleMessage(int n, const std::string& message) {
  return Cp949(u8"데이타(") + std::to_string(n) + ") .. " + message + "\n";
}

using DriverE2E = testing::ProgramTest;

TEST_F(DriverE2E, AnswersEveryLineWithItsOutputAndConsoleLine) {
  // A record whose systolic pressure is not a number, a one-byte-short 089
  // line, a blank line, a line of blanks, a 1000-byte 089 line, a 1500-byte
  // line (two reads) and a last line without a line end.
  std::string bad_pressure = BuildLine(ValidRecord("123"));
  SetItem(bad_pressure, "a_systolic_bp", "12 ");
  const std::string short_089 = BuildLine(ValidRecord("089")).substr(0, 261);
  const std::string long_089 = "089" + std::string(997, '9');
  const std::string very_long(1500, 'L');
  WriteFile(Path("in.txt"), bad_pressure + "\r\n" + short_089 + "\n\r\n     \n" + long_089 +
                                "\r\n" + very_long + "\r\nXYZ");

  const auto run = RunGrouper(dir_, {"in.txt", "out.txt"});
  EXPECT_EQ(run.exit_status, 0);
  const std::string pressure_message =
      Cp949(u8"오류-[A.일반적사항][9.수축기혈압] 001~999 사이 숫자를 입력하시오");
  const std::string expected_output =
      bad_pressure + std::string(32, ' ') + pressure_message + "\r\n" + short_089 +
      std::string(33, ' ') + kWrongType + "\r\n" + std::string(290, ' ') + kWrongType + "\r\n" +
      std::string(290, ' ') + kWrongType + "\r\n" + long_089.substr(0, 293) + " " + kWrongType +
      "\r\n" + very_long.substr(0, 289) + " " + kWrongType + "\r\n" +  // first read: 1023 bytes
      very_long.substr(0, 289) + " " + kWrongType + "\r\n" +           // second read: 477 bytes
      "XYZ" + std::string(287, ' ') + kWrongType + "\r\n";
  const std::string output = ReadFile(Path("out.txt"));
  EXPECT_EQ(output, expected_output) << Utf8(output);
  EXPECT_EQ(SplitCrLf(output)[4].size() + 2, 326u);
  EXPECT_EQ(run.console, "\n" + ConsoleMessage(1, pressure_message) + ConsoleWrongType(2) +
                             ConsoleWrongType(3) + ConsoleWrongType(4) + ConsoleWrongType(5) +
                             ConsoleWrongType(6) + ConsoleWrongType(7) + ConsoleWrongType(8))
      << Utf8(run.console);
}

TEST_F(DriverE2E, EmptyInputGivesEmptyOutputAndASingleLineFeed) {
  WriteFile(Path("in.txt"), "");
  const auto run = RunGrouper(dir_, {"in.txt", "out.txt"});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.console, "\n");
  EXPECT_EQ(ReadFile(Path("out.txt")), "");
}

TEST_F(DriverE2E, UsesDefaultFileNamesUnlessGivenExactlyTwo) {
  WriteFile(Path("grouper.in"), "a\n");
  WriteFile(Path("named.in"), "b\nb\n");
  for (const auto& args : {std::vector<std::string>{}, {"named.in"}, {"named.in", "x", "y"}}) {
    std::remove(Path("grouper.out").c_str());
    const auto run = RunGrouper(dir_, args);
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_EQ(SplitCrLf(ReadFile(Path("grouper.out"))).size(), 1u) << args.size() << " arguments";
  }
  const auto run = RunGrouper(dir_, {"named.in", "named.out"});
  EXPECT_EQ(SplitCrLf(ReadFile(Path("named.out"))).size(), 2u);
}

TEST_F(DriverE2E, AsksForBothNamesWhenTheInputCannotBeOpened) {
  WriteFile(Path("typed.in"), "a\n");
  const auto run = RunGrouper(dir_, {"missing.in", "unused.out"}, "typed.in\n  typed.out\n");
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.console, "\nINPUT FILENAME :  \nOUTPUT FILENAME :  \n" + ConsoleWrongType(1));
  EXPECT_EQ(SplitCrLf(ReadFile(Path("typed.out"))).size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(Path("unused.out")));
}

TEST_F(DriverE2E, ATypedInputThatCannotBeOpenedEndsTheRunWithStatus1) {
  const std::string long_name(3000, 'n');  // read whole, no fixed-size buffer
  auto run = RunGrouper(dir_, {}, long_name + "\n");
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.console, "\nINPUT FILENAME :  INPUT File Open Error - " + long_name + "\n");
  EXPECT_FALSE(std::filesystem::exists(Path("grouper.out")));
  // End of input at the prompt (no console) counts as an empty name.
  run = RunGrouper(dir_, {"missing.in", "out.txt"}, "");
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.console, "\nINPUT FILENAME :  INPUT File Open Error - \n");
  // A directory is no input file.
  run = RunGrouper(dir_, {".", "out.txt"}, "");
  EXPECT_EQ(run.exit_status, 1);
}

TEST_F(DriverE2E, AnOutputThatCannotBeOpenedEndsTheRunWithStatus1) {
  WriteFile(Path("in.txt"), "a\n");
  const auto run = RunGrouper(dir_, {"in.txt", "no/such/dir/out.txt"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.console, "OUTPUT File Open Error - no/such/dir/out.txt\n");
}

// POSIX files and devices; fault_e2e_test.cpp holds the Windows counterparts.
#ifndef _WIN32
TEST_F(DriverE2E, AResultThatCannotBeWrittenEndsTheRunWithStatus1) {
  WriteFile(Path("in.txt"), std::string(5000, 'a') + "\n");
  const auto run = RunGrouper(dir_, {"in.txt", "/dev/full"});
  EXPECT_EQ(run.exit_status, 1);
  const std::string tail = "OUTPUT File Write Error - /dev/full\n";
  ASSERT_GE(run.console.size(), tail.size());
  EXPECT_EQ(run.console.substr(run.console.size() - tail.size()), tail);
}

TEST_F(DriverE2E, AReadOnlyInputIsProcessed) {
  // Opening for update would fail on a file that only allows reading. As root
  // a file's mode does not stop writing, but a read-only kernel file does.
  std::string input = Path("in.txt");
  WriteFile(input, "abc\n");
  chmod(input.c_str(), 0444);
  if (geteuid() == 0) {
    input = "/sys/kernel/notes";
    if (access(input.c_str(), R_OK) != 0) GTEST_SKIP() << "no read-only file available";
  }
  const auto run = RunGrouper(dir_, {input, "out.txt"});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.console.substr(0, 2), "\n" + Cp949(u8"데").substr(0, 1));
  EXPECT_FALSE(ReadFile(Path("out.txt")).empty());
}

TEST_F(DriverE2E, RefusesToWriteTheResultOverItsInput) {
  const std::string content = BuildLine(ValidRecord("089")) + "\r\n";
  WriteFile(Path("in.txt"), content);
  ASSERT_EQ(symlink("in.txt", Path("link.txt").c_str()), 0);
  ASSERT_EQ(link(Path("in.txt").c_str(), Path("hard.txt").c_str()), 0);
  for (const char* output : {"in.txt", "./in.txt", "link.txt", "hard.txt"}) {
    const auto run = RunGrouper(dir_, {"in.txt", output});
    EXPECT_EQ(run.exit_status, 1) << output;
    EXPECT_EQ(run.console, std::string("OUTPUT File Open Error - ") + output + "\n");
    EXPECT_EQ(ReadFile(Path("in.txt")), content) << output;
  }
}
#endif

TEST_F(DriverE2E, LinesOfTheFamiliesFrom090LongerThanTheCodeColumnAreWrongDataType) {
  const std::string line_090 = BuildLine(ValidRecord("090")) + std::string(26, 'x');  // 398
  const std::string line_092 = BuildLine(ValidRecord("092")) + std::string(17, 'x');  // 551
  WriteFile(Path("in.txt"), line_090 + "Y\r\n" + line_092 + "\r\n");
  const auto run = RunGrouper(dir_, {"in.txt", "out.txt"});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(ReadFile(Path("out.txt")),
            line_090 + "Y" + std::string(3, ' ') + kWrongType + "\r\n" +  // 399 < 402
                line_092.substr(0, 551) + std::string(15, ' ') + kWrongType + "\r\n");
  EXPECT_EQ(run.console, "\n" + ConsoleWrongType(1) + ConsoleWrongType(2));
}

#ifndef _WIN32  // a shell pipeline; fault_e2e_test.cpp runs the same on Windows
TEST_F(DriverE2E, TheResultIsCompleteWhenTheConsoleGoesAway) {
  std::string input;
  for (int i = 0; i < 200000; ++i) input += "x\n";
  WriteFile(Path("in.txt"), input);
  // The console is a pipe whose reader stops after one byte.
  WriteFile(Path("run.sh"),
            "cd \"$1\" && \"$2\" in.txt out.txt | head -c 1 >/dev/null\n"
            "exit ${PIPESTATUS[0]}\n");
  const int status =
      std::system(("bash '" + Path("run.sh") + "' '" + dir_ + "' '" GROUPER_BINARY "'").c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(SplitCrLf(ReadFile(Path("out.txt"))).size(), 200000u);
}
#endif

TEST_F(DriverE2E, DatesAreJudgedInKoreanTime) {
  // The test programs pin Korean time (UTC+9) in the form that each C runtime
  // reads, and the program inherits it. Local midnight of 1 January 1970 lies
  // before the epoch there, so that day is no date and the next one is; a
  // runtime that fell back to UTC would accept both.
  std::string valid = BuildLine(ValidRecord("089"));
  valid = valid.substr(0, valid.find_last_not_of(' ') + 1);
  std::string first_day = valid, second_day = valid;
  SetItem(first_day, "a_admission_date", "19700101");
  SetItem(second_day, "a_admission_date", "19700102");
  WriteFile(Path("in.txt"), valid + "\r\n" + first_day + "\r\n" + second_day + "\r\n");
  const auto run = RunGrouper(dir_, {"in.txt", "out.txt"});
  EXPECT_EQ(run.exit_status, 0);
  const auto lines = SplitCrLf(ReadFile(Path("out.txt")));
  ASSERT_EQ(lines.size(), 3u);
  ASSERT_EQ(lines[0].size(), 297u) << Utf8(lines[0]);  // a group code at column 294
  EXPECT_EQ(lines[1], first_day + std::string(32, ' ') + Cp949(u8"오류-[A.일반적사항][3.입원일]"))
      << Utf8(lines[1]);
  EXPECT_EQ(lines[2], second_day + std::string(294 - second_day.size(), ' ') + lines[0].substr(294))
      << Utf8(lines[2]);
}

}  // namespace
}  // namespace grouper
