// The test programs' entry point: dates are checked in the users' time zone,
// whatever the machine's own zone is. Each C runtime is told the zone in the
// form it reads (Windows' runtime takes only the POSIX form "KST-9"); the
// programs that the end-to-end tests start inherit it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

int main(int argc, char** argv) {
#ifdef _WIN32
  _putenv_s("TZ", "KST-9");
  _tzset();
#else
  setenv("TZ", "Asia/Seoul", 1);
  tzset();
#endif
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
