// Runs the built grouper as a user would, for end-to-end tests: in a fresh
// working directory, with chosen arguments and standard input, capturing the
// console bytes and the exit status.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace grouper::testing {

struct ProgramRun {
  int exit_status = -1;  // -1 when the program did not exit normally
  std::string console;   // everything written to standard output
};

// A fresh empty directory under the system's temporary directory.
std::string MakeTempDir();

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

// Runs the program in `directory` with `arguments` (not including the program
// name). `stdin_bytes` is fed to standard input, which is then closed.
ProgramRun RunGrouper(const std::string& directory, const std::vector<std::string>& arguments,
                      const std::string& stdin_bytes = "");

// Lines of a result file, each without its CR LF (a final unterminated piece
// is returned as it is).
std::vector<std::string> SplitCrLf(const std::string& bytes);

// A test that runs the program in a fresh directory of its own, removed after
// the test.
class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  std::string dir_;
};

}  // namespace grouper::testing
