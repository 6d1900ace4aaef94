// The date rule in one time zone, against the C library's own local-time
// conversion written out below. The first date that a process checks fixes its
// first and last valid days, so each zone runs as a program of its own:
//   date_zones_test ZONE FIRST LAST [skips-a-midnight]
// with the zone's first and last valid date texts. In a zone whose calendar
// leaves out a local midnight ("skips-a-midnight"), the order of the dates is
// the calendar's, which the local midnights do not keep; there only validity
// is compared with them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <tuple>
#include <vector>

#include "validate/field_text.h"

namespace grouper {
namespace {

struct Zone {
  std::chrono::sys_days first, last;
  bool skips_a_midnight = false;
};
Zone zone;

int32_t DateOf(const std::string& text) {
  DateText field = {};
  std::strncpy(field, text.c_str(), sizeof field - 1);
  return CheckDateField(field);
}

std::string TextOf(std::chrono::sys_days day) {
  const std::chrono::year_month_day date{day};
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02u%02u", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
  return text;
}

// The rule as the C library states it: blanks removed, three numbers read by
// "%4d%2d%2d", the month 1 to 12 and the day 1 to 31, then the local midnight
// (daylight-saving flag 0) converted by mktime; a date when its time value lies
// from 0 to 2^31 - 1. Gives that value, or -1.
long long LocalMidnight(const std::string& text) {
  std::string work;
  for (char c : text) {
    if (c != ' ') work += c;
  }
  int year = 0, month = 0, day = 0;
  if (std::sscanf(work.c_str(), "%4d%2d%2d", &year, &month, &day) != 3) return -1;
  if (month < 1 || month > 12 || day < 1 || day > 31) return -1;
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_isdst = 0;
  const std::time_t value = std::mktime(&t);
  if (value == static_cast<std::time_t>(-1)) return -1;
  const long long seconds = static_cast<long long>(value);
  return seconds >= 0 && seconds <= 0x7fffffffLL ? seconds : -1;
}

// Every digit pattern of the years around 1970 to 2038 with the month and day
// numbers 00 to 32 (so every day, and days past a month's end), and dates at
// the edges with one byte made a blank, a sign, a tab, a letter or the end.
std::vector<std::string> DateTexts() {
  std::vector<std::string> texts;
  char text[16];
  for (int year = 1969; year <= 2039; ++year) {
    for (int month = 0; month <= 13; ++month) {
      for (int day = 0; day <= 32; ++day) {
        std::snprintf(text, sizeof text, "%04d%02d%02d", year, month, day);
        texts.push_back(text);
      }
    }
  }
  for (const char* date : {"19691231", "19700101", "19700102", "19700103", "20380118", "20380119",
                           "20380120", "20150231", "20000229", "20111230"}) {
    for (int at = 0; at < 8; ++at) {
      for (char c : {' ', '+', '-', '\t', 'x', '\0'}) {
        std::string changed = date;
        changed[at] = c;
        texts.push_back(changed.c_str());
      }
    }
  }
  return texts;
}

// Every day from December 1969 to February 2038: valid exactly from the zone's
// first to its last valid day, counted from 1 January 1970.
TEST(DateZones, ValidFromTheFirstToTheLastDayInCalendarOrder) {
  using namespace std::chrono;
  for (sys_days day = sys_days{1969y / 12 / 1}; day <= sys_days{2038y / 2 / 28}; day += days{1}) {
    const int32_t expected =
        day >= zone.first && day <= zone.last ? day.time_since_epoch().count() : -1;
    ASSERT_EQ(DateOf(TextOf(day)), expected) << TextOf(day);
  }
}

// The same texts are dates for both; two dates compare as their local
// midnights do (equal for two texts of one day) where every midnight exists.
// Where one does not, the two orders differ somewhere, or the zone is not the
// one named (the C library takes a zone it does not know for UTC).
TEST(DateZones, ValidityAndOrderAgreeWithLocalMidnights) {
  std::vector<std::tuple<long long, int32_t, std::string>> dates;
  for (const std::string& text : DateTexts()) {
    const long long midnight = LocalMidnight(text);
    const int32_t day = DateOf(text);
    ASSERT_EQ(day != -1, midnight != -1) << "'" << text << "'";
    if (day != -1) dates.emplace_back(midnight, day, text);
  }
  std::sort(dates.begin(), dates.end());
  std::string disagreement;
  for (std::size_t i = 1; i < dates.size() && disagreement.empty(); ++i) {
    const auto& [midnight_before, day_before, text_before] = dates[i - 1];
    const auto& [midnight, day, text] = dates[i];
    if (midnight == midnight_before ? day == day_before : day_before < day) continue;
    disagreement = "'" + text_before + "' and '" + text + "'";
  }
  EXPECT_EQ(!disagreement.empty(), zone.skips_a_midnight) << disagreement;
}

bool ReadDay(const char* text, std::chrono::sys_days& day) {
  int y = 0;
  unsigned m = 0, d = 0;
  if (std::sscanf(text, "%4d%2u%2u", &y, &m, &d) != 3) return false;
  const std::chrono::year_month_day date{std::chrono::year{y}, std::chrono::month{m},
                                         std::chrono::day{d}};
  day = date;
  return date.ok();
}

}  // namespace
}  // namespace grouper

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  grouper::Zone& zone = grouper::zone;
  if (argc < 4 || argc > 5 || !grouper::ReadDay(argv[2], zone.first) ||
      !grouper::ReadDay(argv[3], zone.last) ||
      (argc == 5 && std::strcmp(argv[4], "skips-a-midnight") != 0)) {
    std::fprintf(stderr, "usage: date_zones_test ZONE FIRST LAST [skips-a-midnight]\n");
    return 2;
  }
  zone.skips_a_midnight = argc == 5;
#ifdef _WIN32
  _putenv_s("TZ", argv[1]);
  _tzset();
#else
  setenv("TZ", argv[1], 1);
  tzset();
#endif
  return RUN_ALL_TESTS();
}
