// The test programs' entry point: dates are checked in the users' time zone,
// whatever the machine's own zone is.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "validate/field_text.h"

int main(int argc, char** argv) {
  setenv("TZ", "Asia/Seoul", 1);
  tzset();
  grouper::ResetDateCache();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
