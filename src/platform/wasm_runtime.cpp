#include "platform/wasm_runtime.h"

#include <cstdint>
#include <cstdio>

#ifdef __EMSCRIPTEN__
#include <fcntl.h>
#include <unistd.h>
#endif

namespace grouper::platform {

namespace {

// Days from 1 January 1970 to the given day of the proleptic Gregorian
// calendar; the month and the day may run past their ends, as mktime allows.
long long DaysFromCivil(long long year, long long month, long long day) {
  year += month / 12;
  month %= 12;
  if (month < 0) {
    month += 12;
    --year;
  }
  ++month;  // 1..12
  year -= month <= 2 ? 1 : 0;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const long long year_of_era = year - era * 400;
  const long long day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5;
  const long long day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468 + (day - 1);
}

// Korea's offset from UTC in seconds on the local day `days` after the epoch.
long long KoreanStandardOffset(long long days) {
  constexpr long long kFrom1954March21 = -5765;   // +8:30 from here
  constexpr long long kFrom1961August10 = -3066;  // +9 again from here
  if (days >= kFrom1954March21 && days < kFrom1961August10) return 8 * 3600 + 30 * 60;
  return 9 * 3600;
}

}  // namespace

long long KoreanTimeValue(const std::tm& t) {
  const long long days = DaysFromCivil(1900LL + t.tm_year, t.tm_mon, t.tm_mday);
  const long long local = days * 86400 + t.tm_hour * 3600LL + t.tm_min * 60LL + t.tm_sec;
  return local - KoreanStandardOffset(days) - (t.tm_isdst > 0 ? 3600 : 0);
}

#ifdef __EMSCRIPTEN__
int WithStandardStreams(const char* output, const char* error, const std::function<int()>& work) {
  const int out = ::open(output, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int err = ::open(error, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int saved_out = ::dup(STDOUT_FILENO);
  const int saved_err = ::dup(STDERR_FILENO);
  // The standard streams are put back however `work` ends, an exception too.
  struct Restore {
    int out, err, saved_out, saved_err;
    ~Restore() {
      std::fflush(stdout);
      std::fflush(stderr);
      if (saved_out >= 0) ::dup2(saved_out, STDOUT_FILENO);
      if (saved_err >= 0) ::dup2(saved_err, STDERR_FILENO);
      for (const int fd : {out, err, saved_out, saved_err}) {
        if (fd >= 0) ::close(fd);
      }
    }
  } restore{out, err, saved_out, saved_err};
  if (out < 0 || err < 0 || saved_out < 0 || saved_err < 0 || ::dup2(out, STDOUT_FILENO) < 0 ||
      ::dup2(err, STDERR_FILENO) < 0) {
    return -1;
  }
  return work();
}
#endif

}  // namespace grouper::platform
