#include "line/line_output.h"

#include <gtest/gtest.h>

#include <string>

#include "record/form_version.h"
#include "support/cp949.h"

namespace grouper {
namespace {

using testing::Cp949;

std::string Code(const std::string& line, Family f, const char* code) {
  char out[kMaxComposedLine];
  return std::string(out,
                     ComposeCodeLine(line.data(), line.size(), InfoOf(f).code_column, code, out));
}
std::string Message(const std::string& line, const std::string& message) {
  char out[kMaxComposedLine];
  return std::string(out, ComposeMessageLine(line.data(), line.size(), message.c_str(), out));
}
std::string WrongType(const std::string& line, Family f) {
  char out[kMaxComposedLine];
  return std::string(out,
                     ComposeWrongTypeLine(line.data(), line.size(), InfoOf(f).reject_column, out));
}

const std::string kWrongType = Cp949(u8"오류-잘못된 데이타 타입입니다.");

// The message bytes themselves, independent of any converter: 오류- is
// B F C0 B7 F9 2D in code page 949.
TEST(LineOutput, MessagesAreCodePage949Bytes) {
  EXPECT_EQ(std::string(kWrongDataTypeMessage, 5), "\xbf\xc0\xb7\xf9-");
  EXPECT_EQ(std::string(kWrongDataTypeMessage), kWrongType);
  EXPECT_EQ(kWrongType.size(), 30u);
}

TEST(LineOutput, GroupCodeStandsAtTheFamilysCodeColumn) {
  const struct {
    Family family;
    std::size_t length;
    std::size_t total;
  } cases[] = {
      {Family::kBase, 258, 295}, {Family::k089, 262, 299}, {Family::k090, 372, 403},
      {Family::k090, 360, 403},  {Family::k090, 348, 403}, {Family::k091, 380, 403},
      {Family::k092, 534, 555},  {Family::k090, 398, 403},
  };
  for (const auto& c : cases) {
    const std::string line(c.length, 'x');
    const std::string out = Code(line, c.family, "A11");
    const std::size_t column = static_cast<std::size_t>(InfoOf(c.family).code_column);
    ASSERT_EQ(out.size(), c.total) << c.length;
    EXPECT_EQ(out.substr(0, c.length), line);
    EXPECT_EQ(out.substr(c.length, column - c.length), std::string(column - c.length, ' '));
    EXPECT_EQ(out.substr(column), "A11\r\n");
  }
  // An empty code leaves the line padded to the code column.
  EXPECT_EQ(Code(std::string(258, 'x'), Family::kBase, ""),
            std::string(258, 'x') + std::string(32, ' ') + "\r\n");
}

TEST(LineOutput, MessageFollowsTheLineAfter32Blanks) {
  const std::string message = Cp949(u8"오류-[작성][서명] 간호사 성명을 입력하시오");
  for (std::size_t length : {258u, 262u, 348u, 372u, 534u}) {
    const std::string line(length, 'y');
    EXPECT_EQ(Message(line, message), line + std::string(32, ' ') + message + "\r\n");
  }
}

TEST(LineOutput, WrongDataTypeStandsAtTheRejectColumn) {
  // Family 089/010, one byte short: the line, blanks 261..293, the message at 294.
  const std::string short_line = "089" + std::string(258, '1');
  const std::string out = WrongType(short_line, Family::k089);
  EXPECT_EQ(out, short_line + std::string(33, ' ') + kWrongType + "\r\n");
  EXPECT_EQ(out.size(), 326u);
  // 300 bytes: the first 293 bytes, one blank, the message from 294.
  const std::string long_line = "089" + std::string(297, '2');
  EXPECT_EQ(WrongType(long_line, Family::k089),
            long_line.substr(0, 293) + " " + kWrongType + "\r\n");
  // 1000 bytes: 326 bytes in all.
  EXPECT_EQ(WrongType("089" + std::string(997, '3'), Family::k089).size(), 326u);
  // A blank line: blanks up to the base layout's column 290.
  EXPECT_EQ(WrongType("", Family::kBase), std::string(290, ' ') + kWrongType + "\r\n");
  // Family 090/011 rejects at 402, 091/012 at 412, 092/013 at 566.
  EXPECT_EQ(WrongType("090" + std::string(344, '4'), Family::k090).find(kWrongType), 402u);
  EXPECT_EQ(WrongType("090" + std::string(600, '4'), Family::k090).find(kWrongType), 402u);
  EXPECT_EQ(WrongType("091" + std::string(100, '5'), Family::k091).find(kWrongType), 412u);
  EXPECT_EQ(WrongType("092" + std::string(1020, '6'), Family::k092).find(kWrongType), 566u);
  // Exactly at the reject column: R - 1 bytes and a blank.
  EXPECT_EQ(WrongType(std::string(290, '7'), Family::kBase),
            std::string(289, '7') + " " + kWrongType + "\r\n");
}

TEST(LineOutput, ConsoleLines) {
  char out[kMaxComposedLine];
  EXPECT_EQ(std::string(out, ComposeConsoleCode(1, "A73", out)),
            Cp949(u8"데이타(1) .. 완료 (A73)\n"));
  EXPECT_EQ(std::string(out, ComposeConsoleCode(12345, "", out)),
            Cp949(u8"데이타(12345) .. 완료 ()\n"));
  const std::string message = Cp949(u8"오류-[A.일반적사항][3.입원일]");
  EXPECT_EQ(std::string(out, ComposeConsoleMessage(7, message.c_str(), out)),
            Cp949(u8"데이타(7) .. 오류-[A.일반적사항][3.입원일]\n"));
  EXPECT_EQ(std::string(out, ComposeConsoleWrongType(3000000000LL, out)),
            Cp949(u8"데이타(3000000000) .. 오류-잘못된 데이타 타입입니다. \n"));
  // Every count of digits, odd and even, and the edges between them.
  for (const uint64_t n :
       {0ull, 9ull, 10ull, 99ull, 100ull, 101ull, 999999ull, 1000000ull, 18446744073709551615ull}) {
    EXPECT_EQ(std::string(out, ComposeConsoleCode(n, "A11", out)),
              Cp949(u8"데이타(") + std::to_string(n) + Cp949(u8") .. 완료 (A11)\n"));
    EXPECT_EQ(std::string(out, ComposeConsoleMessage(n, "m", out)),
              Cp949(u8"데이타(") + std::to_string(n) + ") .. m\n");
  }
}

}  // namespace
}  // namespace grouper
