#include "platform/wasm_runtime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace grouper::platform {
namespace {

// The WebAssembly build's Korean time against the C library's own conversion
// in the Asia/Seoul zone, at local midnight (daylight-saving flag 0, as dates
// are converted) of every day from 1950 to 2040, and at a few times of day.
#ifndef _WIN32
TEST(KoreanTimeValue, AgreesWithTheCLibraryInSeoul) {
  const char* old = std::getenv("TZ");
  const std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
  setenv("TZ", "Asia/Seoul", 1);
  tzset();
  std::tm probe{};
  probe.tm_year = 70;
  probe.tm_mday = 1;
  if (std::mktime(&probe) != -32400) GTEST_SKIP() << "no Asia/Seoul zone (tzdata)";
  int differences = 0;
  for (int days = -7305; days <= 25567 && differences < 5; ++days) {
    for (const int hour : {0, 13}) {
      std::tm t{};
      t.tm_year = 50;
      t.tm_mday = 1 + days + 7305;  // from 1 January 1950, normalised as mktime does
      t.tm_hour = hour;
      t.tm_isdst = 0;
      std::tm copy = t;
      const long long expected = static_cast<long long>(std::mktime(&copy));
      // A local time that the zone skips (00:00 of 10 August 1961, when the
      // clocks went from 8:30 to 9:00 ahead of UTC) has no value there; before
      // 1970 no date is valid either way.
      if (expected == -1 && days < 0) continue;
      const long long got = KoreanTimeValue(t);
      if (got != expected) {
        ++differences;
        ADD_FAILURE() << "day " << days << " hour " << hour << ": " << got << " for " << expected;
      }
    }
  }
  if (saved) {
    setenv("TZ", saved->c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}
#endif

// The edges that decide the first and the last valid date in Korea.
TEST(KoreanTimeValue, EdgesOfTheDates) {
  struct Case {
    int year, month, day;
    long long seconds;
  } const cases[] = {
      {1970, 1, 1, -32400},      {1970, 1, 2, 54000},      {2038, 1, 19, 2147439600},
      {2038, 1, 20, 2147526000}, {2106, 2, 7, 4294911600}, {1960, 1, 1, -315649800},  // +8:30 then
  };
  for (const Case& c : cases) {
    std::tm t{};
    t.tm_year = c.year - 1900;
    t.tm_mon = c.month - 1;
    t.tm_mday = c.day;
    EXPECT_EQ(KoreanTimeValue(t), c.seconds) << c.year << "-" << c.month << "-" << c.day;
  }
}

}  // namespace
}  // namespace grouper::platform
