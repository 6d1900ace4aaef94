#include "validate/field_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "validate/names.h"

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
// by a terminator or not: counted and shown without blanks, as RemoveChar
// leaves it.
TEST(NameWithoutBlanks, IsWhatRemoveCharLeaves) {
  for (unsigned pattern = 0; pattern < (1u << 12); ++pattern) {
    for (int end = 0; end <= 12; ++end) {
      char name[13] = {};
      for (int i = 0; i < 12; ++i) name[i] = (pattern >> i) & 1 ? ' ' : "x\xb0\xa0`"[i % 4];
      if (end < 12) std::memset(name + end, 0, sizeof name - end);
      char expected[13];
      std::memcpy(expected, name, sizeof name);
      RemoveChar(' ', expected);
      ASSERT_EQ(NameWithoutBlanks(name), expected) << pattern << " end " << end;
      ASSERT_EQ(NameLength(name), std::strlen(expected)) << pattern << " end " << end;
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

// A date field holding `text` (at most eight bytes) and its terminator.
int32_t DateOf(const char* text) {
  DateText field = {};
  std::strncpy(field, text, sizeof field - 1);
  return CheckDateField(field);
}

// The test programs pin the time zone to Asia/Seoul (UTC+9), where 1 January
// 1970 has its local midnight before the epoch. The day numbers count from
// 1 January 1970; other zones are tried by the date_zones tests.
TEST(CheckDateField, GivesTheDayNumberOfValidDates) {
  struct Case {
    const char* text;
    int32_t day;
  } cases[] = {
      {"20150301", 16495}, {"19700102", 1},     {"20380119", 24855},  // the first and the last
      {"201503 1", 16495}, {"20150230", 16496}, {"20150231", 16497},  // normalised into March
      {"20160230", 16861},  // 2016 is a leap year: 1 March
  };
  for (const Case& c : cases) EXPECT_EQ(DateOf(c.text), c.day) << "'" << c.text << "'";
}

TEST(CheckDateField, RejectsTextsThatAreNoDate) {
  for (const char* text : {"00000000", "20151301", "20150132", "20150100", "20150001", "        ",
                           "", "2015 301", "abcdefgh", "2015", "201503",
                           "19700101",  // its local midnight is before the epoch
                           "19000101",  // far before: no wrap-around into the valid range
                           "20380120",  // the time value no longer fits 31 bits
                           "20400101", "21060208", "99991231"}) {
    EXPECT_EQ(DateOf(text), -1) << "'" << text << "'";
  }
}

// Fields that are not eight digits take the long road, also those with bytes
// 0x3A to 0x3F, whose high nibble is that of a digit.
TEST(CheckDateField, FieldsOfOtherBytesTakeTheLongRoad) {
  for (const char* text : {"2015:301", "2015/301", "+2010301", "1", "9999999\xb9",
                           "20150\x0b"
                           "01",
                           "2015030?", "20150;01", "201503>1", "=0150301"}) {
    EXPECT_EQ(DateOf(text), -1) << "'" << text << "'";
  }
}

// The inline conversion of eight digits and the long road agree on every year
// that dates may name and some around it, with every month and day number from
// 00 to 32.
TEST(CheckDateField, EveryDigitPatternGetsTheLongRoadsAnswer) {
  std::vector<int> years = {1869, 1899, 1900, 1901, 2099, 2100, 2199};
  for (int year = 1969; year <= 2039; ++year) years.push_back(year);
  for (int year : years) {
    for (int month = 0; month <= 13; ++month) {
      for (int day = 0; day <= 32; ++day) {
        DateText field = {};
        std::snprintf(field, sizeof field, "%04d%02d%02d", year, month, day);
        ASSERT_EQ(CheckDateField(field), date_detail::CheckOtherDateField(field))
            << "'" << field << "'";
      }
    }
  }
}

TEST(CheckDateField, ReadsNumbersAsFormattedInputDoes) {
  // A sign counts toward the width: "+201" is the year 201, long before 1970.
  EXPECT_EQ(DateOf("+2010301"), -1);
  // "-1" as a month is read but out of range.
  EXPECT_EQ(DateOf("2015-101"), -1);
  // White space other than blanks is skipped before each number.
  EXPECT_EQ(DateOf("2015\t031"), DateOf("20150301"));
  // Characters after the day are ignored.
  EXPECT_EQ(DateOf("2015031x"), DateOf("20150301"));
  // A month of one digit followed by a letter: the day cannot be read.
  EXPECT_EQ(DateOf("20153x01"), -1);
}

TEST(CheckDateField, LaterDatesHaveLargerValues) {
  EXPECT_EQ(DateOf("20150302") - DateOf("20150301"), 1);
  EXPECT_LT(DateOf("19991231"), DateOf("20000101"));
  EXPECT_LT(DateOf("20000228"), DateOf("20000229"));
  EXPECT_LT(DateOf("20000229"), DateOf("20000301"));
}

}  // namespace
}  // namespace grouper

namespace grouper {
namespace {

// Every valid day of the range written back as the date text it came from.
TEST(DateTextOfDay, WritesTheDateOfEveryDayNumber) {
  int checked = 0;
  for (int year = 1970; year <= 2038; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= 28; ++day) {
        DateText text;
        std::snprintf(text, sizeof text, "%04d%02d%02d", year, month, day);
        const int32_t number = CheckDateField(text);
        if (number < 0) continue;
        char back[9];
        DateTextOfDay(number, back);
        ASSERT_STREQ(back, text);
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 68 * 12 * 28);  // 1970 to 2037 at least
  char back[9];
  DateTextOfDay(CheckDateField("20150231"), back);  // past the month's end
  EXPECT_STREQ(back, "20150303");
}

}  // namespace
}  // namespace grouper
