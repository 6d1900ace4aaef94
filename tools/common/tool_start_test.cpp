#include "tool_start.h"

#include <grouper/grouper.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "support/program_runner.h"
#include "text/u8_text.h"

namespace grouper::tool {
namespace {

constexpr char kUsage[] = "usage: t [--lines LIST] FILE\n       t --help | --version\n";
constexpr options::Option kOptions[] = {
    {"--lines", "LIST", "the lines"},
    {"--help", "", "this help", "-h"},
    {"--version", "", "the version"},
};
constexpr Program kProgram = {"t", kUsage, kOptions};

using grouper::testing::ReadAll;

struct Said {
  std::optional<int> ended;
  std::string out, err;
};

// Starts with `args` (after the name) and, when the start does not end the
// run, says `problem` as the program would.
Said Start(std::vector<std::string> args, int out_error = 0, const char* problem = nullptr) {
  args.insert(args.begin(), "t");
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  Said said;
  {
    ToolStart start(kProgram, args, out, out_error, Output::kBytes, err);
    said.ended = start.ended();
    if (!said.ended && problem != nullptr) said.ended = start.Usage(problem);
  }
  said.out = ReadAll(out);
  said.err = ReadAll(err);
  return said;
}

TEST(ToolStart, AnswersProblemsHelpAndVersionWithTheirStatus) {
  const std::string help = options::HelpText(kUsage, kOptions);
  const std::string version = std::string("t ") + grouper_version() + "\n";
  const std::string closed =
      std::string("t: cannot write standard output: ") + std::strerror(EBADF) + "\n";
  struct Case {
    std::vector<std::string> args;
    int out_error;
    const char* problem;
    std::optional<int> ended;
    std::string out, err;
  };
  const Case cases[] = {
      {{"--help"}, 0, nullptr, 0, help, ""},
      {{"--version", "-h"}, 0, nullptr, 0, help, ""},  // help before version
      {{"--version", "f"}, 0, nullptr, 0, version, ""},
      {{"--help", "--bogus"},
       0,
       nullptr,
       2,
       "",
       "t: unknown option '--bogus'\n" + std::string(kUsage)},
      {{"--lines"}, 0, nullptr, 2, "", "t: --lines needs a value\n" + std::string(kUsage)},
      {{"--help"}, EBADF, nullptr, 1, "", closed},
      {{"--version"}, EBADF, nullptr, 1, "", closed},
      {{"--lines=3", "f"}, 0, nullptr, std::nullopt, "", ""},  // the program goes on
      // A problem naming bytes that are not UTF-8 shows them escaped.
      {{"f"}, 0, "bad '\xB1\xE8'", 2, "", "t: bad '\\xB1\\xE8'\n" + std::string(kUsage)},
  };
  for (const Case& c : cases) {
    const Said said = Start(c.args, c.out_error, c.problem);
    const std::string what = c.args[0] + (c.out_error != 0 ? " closed" : "");
    EXPECT_EQ(said.ended, c.ended) << what;
    EXPECT_EQ(said.out, c.out) << what;
    EXPECT_EQ(said.err, c.err) << what;
  }
}

// A program with Korean words: Korean unless --lang en came before the
// problem; a program without them keeps English but reads --lang alike.
TEST(ToolStart, SpeaksTheLanguageThatLangChose) {
  constexpr options::Option table[] = {
      {"--lang", "LANG", "the language"}, {"--help", "", "this help", "-h"}, {"--version", "", ""}};
  const KoreanHelp korean = {"k-usage\n", table};
  const Program program = {"t", "usage\n", table, &korean};
  const Program english_only = {"t", "usage\n", table};
  struct Case {
    const Program* program;
    std::vector<std::string> args;
    std::optional<int> ended;
    std::string err;
    Language language;
  };
  const Case cases[] = {
      {&program,
       {"--bogus"},
       2,
       U8(u8"t: 알 수 없는 옵션 '--bogus'\nk-usage\n"),
       Language::kKorean},
      {&program,
       {"--lang", "en", "--bogus"},
       2,
       "t: unknown option '--bogus'\nusage\n",
       Language::kEnglish},
      {&program,
       {"--lang"},
       2,
       U8(u8"t: --lang 뒤에 값이 있어야 합니다\nk-usage\n"),
       Language::kKorean},
      {&program,
       {"--lang=en", "--lang", "x", "f"},
       2,
       "t: --lang takes ko or en\nusage\n",
       Language::kEnglish},
      {&program, {"--lang=x", "-h"}, 0, "", Language::kKorean},  // help before a bad value
      {&program, {"--lang=en", "--lang=ko", "f"}, std::nullopt, "", Language::kKorean},
      {&english_only, {"--bogus"}, 2, "t: unknown option '--bogus'\nusage\n", Language::kKorean},
      {&english_only, {"--lang", "en", "f"}, std::nullopt, "", Language::kEnglish},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), "t");
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    ToolStart start(*c.program, args, out, 0, Output::kBytes, err);
    const std::string what = args[1];
    EXPECT_EQ(start.ended(), c.ended) << what;
    EXPECT_EQ(ReadAll(err), c.err) << what;
    EXPECT_EQ(start.language(), c.language) << what;
    if (c.ended == 0) {
      EXPECT_EQ(ReadAll(out).rfind(U8(u8"k-usage\n\n옵션:\n"), 0), 0u) << what;
    }
  }
}

TEST(ToolStart, TheProgramReadsWhatTheStartRead) {
  const std::vector<std::string> args = {"t", "--lines", "3,4", "a file"};
  std::FILE* out = std::tmpfile();
  ToolStart start(kProgram, args, out, 0, Output::kBytes);
  ASSERT_FALSE(start.ended());
  ASSERT_EQ(start.command().options.size(), 1u);
  EXPECT_EQ(start.command().options[0].value, "3,4");
  ASSERT_EQ(start.command().operands.size(), 1u);
  EXPECT_EQ(start.command().operands[0], "a file");
  EXPECT_EQ(start.Finish("\xB1\xE8\r\n"), 0);
  EXPECT_EQ(ReadAll(out), "\xB1\xE8\r\n");  // bytes pass as they are
}

}  // namespace
}  // namespace grouper::tool
