// A moment as the place where a program runs tells it: the local date and time
// and the zone's offset from UTC, read once and then written two ways, for a
// machine (ISO 8601, "2026-12-09T20:31:27+09:00") and for a person
// ("2026-12-09 20:31 (UTC+09:00)"). A caller that knows the time and the
// offset some other way (a browser's clock) fills LocalTime itself and gets
// the same texts. Standard C library calls only.
#pragma once

#include <ctime>
#include <string>

namespace grouper {

struct LocalTime {
  int year = 1970, month = 1, day = 1;  // month 1-12
  int hour = 0, minute = 0, second = 0;
  int offset_minutes = 0;  // east of UTC: +540 in Korea
};

// `when` in the process's local time zone.
LocalTime LocalTimeOf(std::time_t when);

// "2026-12-09T20:31:27+09:00".
std::string Iso8601(const LocalTime& t);

// "2026-12-09 20:31 (UTC+09:00)": the minute, as a clerk reads a time.
std::string ClerkTime(const LocalTime& t);

}  // namespace grouper
