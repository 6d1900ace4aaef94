// grouper-sample: writes synthetic assessment files (see sample_generator.h).
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "sample_generator.h"
#include "tool_start.h"

int main(int argc, char** argv) {
  const grouper::tool::Process process = grouper::tool::StartProcess(argc, argv);
  std::vector<const char*> pointers;
  for (const std::string& arg : process.args) pointers.push_back(arg.c_str());
  grouper::platform::WriteAsBytes(stdout);  // the lines end in CR LF already
  static char buffer[1 << 20];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  return grouper::sample::RunSampleTool(static_cast<int>(pointers.size()), pointers.data(), stdout,
                                        stderr, process.closed.output ? EBADF : 0);
}
