// What every fuzz target shares: how a target reports a broken promise, the
// set-up of the process (the Korean time zone), and the fixed texts of the
// batch's answers written out as code page 949 bytes, so that the targets'
// model does not share the program's own conversion.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "answer_check.h"

namespace grouper::fuzzing {

// Stops the run with a crash that the fuzzer records, naming the promise.
[[noreturn]] inline void Broken(const char* what) {
  std::fprintf(stderr, "broken invariant: %s\n", what);
  __builtin_trap();
}

// Pins the zone in which dates are checked, before the first date is.
inline void SetUpProcess() {
  setenv("TZ", "Asia/Seoul", 1);
  tzset();
}

// "오류-잘못된 데이타 타입입니다.", "오류-", "데이타(", ") .. 완료 (", ") .. ".
inline const AnswerTexts kTexts{
    "\xbf\xc0\xb7\xf9-\xc0\xdf\xb8\xf8\xb5\xc8 \xb5\xa5\xc0\xcc\xc5\xb8 "
    "\xc5\xb8\xc0\xd4\xc0\xd4\xb4\xcf\xb4\xd9.",
    "\xbf\xc0\xb7\xf9-", "\xb5\xa5\xc0\xcc\xc5\xb8(", ") .. \xbf\xcf\xb7\xe1 (", ") .. "};

}  // namespace grouper::fuzzing
