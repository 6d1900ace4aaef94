// grouper-sample: writes synthetic assessment files (see sample_generator.h).
#include <cstdio>

#include "platform/platform.h"
#include "sample_generator.h"

int main(int argc, char** argv) {
  grouper::platform::WriteAsBytes(stdout);  // the lines end in CR LF already
  static char buffer[1 << 20];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  return grouper::sample::RunSampleTool(argc, argv, stdout, stderr);
}
