#include "platform/interrupt.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "support/program_runner.h"

namespace grouper::platform {
namespace {

// In a child process: a named file, a signal raised while interrupts wait,
// then the wait's end. The signal must come only then, remove the file and
// end the child as it would have; a signal ignored from the start stays so.
TEST(InterruptTest, AnInterruptWaitsForTheStepsThenRemovesTheFilesAndEndsAsItWould) {
  const std::string dir = testing::MakeTempDir();
  struct Case {
    int signal_number;
    bool ignored;  // as nohup starts a program
  };
  for (const Case& c :
       {Case{SIGINT, false}, Case{SIGTERM, false}, Case{SIGHUP, false}, Case{SIGHUP, true}}) {
    const std::string file = dir + "/file." + std::to_string(c.signal_number);
    const std::string reached = file + ".reached";
    const pid_t child = ::fork();
    if (child == 0) {
      if (c.ignored) ::signal(c.signal_number, SIG_IGN);
      const int fd = OpenOutput(file.c_str());
      RemoveIfInterrupted(file, fd);
      {
        InterruptsDeferred deferred;
        ::raise(c.signal_number);
        Close(OpenOutput(reached.c_str()));  // still running
      }
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    const std::string what = std::to_string(c.signal_number) + (c.ignored ? " ignored" : "");
    EXPECT_TRUE(std::filesystem::exists(reached)) << what;
    EXPECT_EQ(std::filesystem::exists(file), c.ignored) << what;
    if (c.ignored) {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << what;
    } else {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal_number) << what;
    }
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace grouper::platform
#endif
