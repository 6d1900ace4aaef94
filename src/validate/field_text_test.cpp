#include "validate/field_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace grouper {
namespace {

TEST(IsNumericText, AcceptsDigitsOnlyUnlessPointsAllowed) {
  struct Case {
    const char* text;
    int point_flag;
    int expected;
  } cases[] = {
      {"", 0, -1},    {"", 1, -1},    {"123", 0, 1},    {"0", 0, 1},      {"12.5", 0, -1},
      {"12.5", 1, 1}, {".", 1, 1},    {"1.2.3", 1, -1}, {"1.2.3", 0, -1}, {" 12", 0, -1},
      {"12 ", 0, -1}, {"-12", 0, -1}, {"+1", 0, -1},    {"1e5", 1, -1},   {"\xb0\xa1", 0, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsNumericText(c.text, c.point_flag), c.expected)
        << "'" << c.text << "' flag " << c.point_flag;
  }
}

TEST(RemoveChar, RemovesEveryOccurrenceInPlace) {
  struct Case {
    const char* before;
    const char* after;
  } cases[] = {
      {"    ", ""}, {"abc", "abc"}, {" a b  c ", "abc"}, {"", ""}, {"2015 0301", "20150301"},
  };
  for (const Case& c : cases) {
    char text[32] = {};
    std::snprintf(text, sizeof text, "%s", c.before);
    EXPECT_EQ(RemoveChar(' ', text), 1);
    EXPECT_STREQ(text, c.after) << "from '" << c.before << "'";
  }
}

// Every name of blanks and other bytes (some with their top bit set, as code
// page 949 bytes have, one of them a blank's bits and the top bit), ended early
// by a terminator or not: the same bytes as RemoveChar leaves, and their
// length.
TEST(RemoveBlanksFromName, LeavesWhatRemoveCharLeaves) {
  for (unsigned pattern = 0; pattern < (1u << 12); ++pattern) {
    for (int end = 0; end <= 12; ++end) {
      char name[13] = {};
      for (int i = 0; i < 12; ++i) name[i] = (pattern >> i) & 1 ? ' ' : "x\xb0\xa0`"[i % 4];
      if (end < 12) std::memset(name + end, 0, sizeof name - end);
      char expected[13];
      std::memcpy(expected, name, sizeof name);
      RemoveChar(' ', expected);
      const std::size_t length = RemoveBlanksFromName(name);
      ASSERT_EQ(std::memcmp(name, expected, sizeof name), 0) << pattern << " end " << end;
      ASSERT_EQ(length, std::strlen(expected)) << pattern << " end " << end;
    }
  }
}

TEST(EightDigits, EveryByteMustBeADigit) {
  EXPECT_TRUE(EightDigits("01234567"));
  EXPECT_TRUE(EightDigits("99999999"));
  for (int at = 0; at < 8; ++at) {
    for (int value : {0, 0x20, 0x2F, 0x3A, 0x3F, 0x80, 0xB0, 0xFA, 0xFF}) {
      char text[9] = "12345678";
      text[at] = static_cast<char>(value);
      EXPECT_FALSE(EightDigits(text)) << "byte " << at << " value " << value;
    }
  }
}

// The test programs pin the time zone to Asia/Seoul (UTC+9, no daylight
// saving since 1988), so local midnight is 15:00 UTC of the day before.
TEST(CheckDate, ReturnsLocalMidnightOfValidDates) {
  EXPECT_EQ(CheckDate("20150301"), 1425135600);  // 2015-02-28 15:00 UTC
  EXPECT_EQ(CheckDate("19700102"), 54000);       // the first local midnight after the epoch
  EXPECT_EQ(CheckDate("2015 0301"), CheckDate("20150301"));
  EXPECT_EQ(CheckDate("20150230"), CheckDate("20150302"));  // normalised into March
  EXPECT_EQ(CheckDate("20150231"), CheckDate("20150303"));
  EXPECT_EQ(CheckDate("20380119"), 2147439600);  // the last one below 2^31
}

#ifndef _WIN32
// Pacific/Apia left out 30 December 2011 (it moved west of the date line at
// that midnight). The answer for the skipped midnight must not depend on the
// dates converted before it, or two runs of one file, or two threads, could
// answer one record differently.
TEST(CheckDate, ASkippedMidnightGetsOneAnswerWhateverCameBefore) {
  setenv("TZ", "Pacific/Apia", 1);
  tzset();
  std::vector<int32_t> answers;
  for (const char* before : {"20150101", "20111229", "20111231", "19900615", "20380101"}) {
    ResetDateCache();
    CheckDate(before);
    answers.push_back(CheckDate("20111230"));
  }
  setenv("TZ", "Asia/Seoul", 1);
  tzset();
  ResetDateCache();
  for (const int32_t answer : answers) EXPECT_EQ(answer, answers[0]);
}
#endif

TEST(CheckDate, RejectsTextsThatAreNoDate) {
  for (const char* text : {"00000000", "20151301", "20150132", "20150100", "20150001", "        ",
                           "", "2015 301", "abcdefgh", "2015", "201503",
                           "19700101",  // its local midnight is before the epoch
                           "19000101",  // far before: no wrap-around into the valid range
                           "20380120",  // the time value no longer fits 31 bits
                           "20400101", "21060208", "99991231"}) {
    EXPECT_EQ(CheckDate(text), -1) << "'" << text << "'";
  }
}

// A record's date field takes a faster road to the same answers, the second
// time too (among the recent dates), also for bytes 0x3A to 0x3F, whose high
// nibble is that of a digit.
TEST(CheckDate, FieldsGiveTheAnswersOfTexts) {
  for (int pass = 0; pass < 2; ++pass) {
    for (const char* text :
         {"20150301", "19700102", "20380119", "20150230", "00000000", "2015:301", "2015/301",
          "20151301", "2015 301", "+2010301", "        ", "", "1", "9999999\xb9",
          "20150\x0b"
          "01",
          "2015030?", "20150;01", "201503>1", "=0150301"}) {
      DateText field = {};
      std::strncpy(field, text, sizeof field - 1);
      EXPECT_EQ(CheckDateField(field), CheckDate(text)) << "'" << text << "'";
    }
  }
}

// The field's digits are converted a word at a time: every year that the
// cache covers and some around it, with every month and day number from 00 to
// 32, must give the answer of the text. The second pass finds many of them
// among the recent dates, others in slots that a later date has taken.
TEST(CheckDate, FieldsConvertEveryDigitPatternAsTextsDo) {
  std::vector<int> years = {1869, 1899, 1900, 1901, 2099, 2100, 2199};
  for (int year = 1969; year <= 2039; ++year) years.push_back(year);
  for (int pass = 0; pass < 2; ++pass) {
    for (int year : years) {
      for (int month = 0; month <= 13; ++month) {
        for (int day = 0; day <= 32; ++day) {
          char text[16];
          std::snprintf(text, sizeof text, "%04d%02d%02d", year, month, day);
          DateText field = {};
          std::memcpy(field, text, 8);
          ASSERT_EQ(CheckDateField(field), CheckDate(text)) << "'" << text << "'";
        }
      }
    }
  }
}

TEST(CheckDate, ReadsNumbersAsFormattedInputDoes) {
  // A sign counts toward the width: "+201" is the year 201, long before 1970.
  EXPECT_EQ(CheckDate("+2010301"), -1);
  // "-1" as a month is read but out of range.
  EXPECT_EQ(CheckDate("2015-101"), -1);
  // White space other than blanks is skipped before each number.
  EXPECT_EQ(CheckDate("2015\t0301"), CheckDate("20150301"));
  // Characters after the day are ignored.
  EXPECT_EQ(CheckDate("20150301xyz"), CheckDate("20150301"));
  // A month of one digit followed by a letter: the day cannot be read.
  EXPECT_EQ(CheckDate("20153x01"), -1);
}

TEST(CheckDate, LaterDatesHaveLargerValues) {
  EXPECT_LT(CheckDate("20150301"), CheckDate("20150302"));
  EXPECT_EQ(CheckDate("20150302") - CheckDate("20150301"), 86400);
  EXPECT_LT(CheckDate("19991231"), CheckDate("20000101"));
}

}  // namespace
}  // namespace grouper
