#include "util/local_time.h"

#include <gtest/gtest.h>

#include <ctime>

namespace grouper {
namespace {

TEST(LocalTime, IsWrittenForAMachineAndForAClerk) {
  struct Case {
    LocalTime t;
    const char* iso;
    const char* clerk;
  };
  const Case cases[] = {
      {{2026, 12, 9, 20, 31, 27, 540}, "2026-12-09T20:31:27+09:00", "2026-12-09 20:31 (UTC+09:00)"},
      {{2027, 1, 1, 0, 0, 59, 0}, "2027-01-01T00:00:59+00:00", "2027-01-01 00:00 (UTC+00:00)"},
      {{2026, 3, 31, 9, 5, 0, -210}, "2026-03-31T09:05:00-03:30", "2026-03-31 09:05 (UTC-03:30)"},
      {{2026, 6, 1, 23, 59, 1, 345}, "2026-06-01T23:59:01+05:45", "2026-06-01 23:59 (UTC+05:45)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Iso8601(c.t), c.iso);
    EXPECT_EQ(ClerkTime(c.t), c.clerk);
  }
}

// Whatever the machine's zone: the local time less its offset is UTC's time of day.
TEST(LocalTime, LessItsOffsetIsUtc) {
  for (const std::time_t when : {std::time_t{86400 * 400 + 3723}, std::time_t{1796800287}}) {
    const LocalTime t = LocalTimeOf(when);
    const std::tm utc = *std::gmtime(&when);
    const int day = 24 * 60;
    EXPECT_EQ(((t.hour * 60 + t.minute - t.offset_minutes) % day + day) % day,
              utc.tm_hour * 60 + utc.tm_min)
        << when;
    EXPECT_EQ(t.second, utc.tm_sec);
  }
}

}  // namespace
}  // namespace grouper
