#include "util/local_time.h"

#include <cstdio>

namespace grouper {

namespace {

// "+09:00" or "-03:30".
std::string Offset(int offset_minutes) {
  const int minutes = (offset_minutes < 0 ? -offset_minutes : offset_minutes) % (24 * 60);
  char text[16];
  std::snprintf(text, sizeof text, "%c%02d:%02d", offset_minutes < 0 ? '-' : '+', minutes / 60,
                minutes % 60);
  return text;
}

}  // namespace

LocalTime LocalTimeOf(std::time_t when) {
  const std::tm local = *std::localtime(&when);
  const std::tm utc = *std::gmtime(&when);
  // The offset, from the two broken-down times: at most a day apart.
  int days = local.tm_yday - utc.tm_yday;
  if (local.tm_year != utc.tm_year) days = local.tm_year > utc.tm_year ? 1 : -1;
  const long offset =
      days * 86400L + (local.tm_hour - utc.tm_hour) * 3600L + (local.tm_min - utc.tm_min) * 60L;
  return {local.tm_year + 1900,
          local.tm_mon + 1,
          local.tm_mday,
          local.tm_hour,
          local.tm_min,
          local.tm_sec,
          static_cast<int>(offset / 60)};
}

std::string Iso8601(const LocalTime& t) {
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text + Offset(t.offset_minutes);
}

std::string ClerkTime(const LocalTime& t) {
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute);
  return std::string(text) + " (UTC" + Offset(t.offset_minutes) + ")";
}

}  // namespace grouper
