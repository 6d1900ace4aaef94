// Runs the built grouper (or another program of the build) as a user would,
// for end-to-end tests: in a chosen working directory, with chosen arguments,
// standard input and console, capturing the console bytes and the exit
// status. One implementation starts processes the POSIX way, the other the
// Windows way; both hand the program its standard streams as bytes.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
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
// Everything written to `f` (a temporary file a test handed to the code as
// its stream), read from its first byte; closes `f`.
std::string ReadAll(std::FILE* f);
void WriteFile(const std::string& path, const std::string& bytes);

// Runs the program in `directory` with `arguments` (not including the program
// name). `stdin_bytes` is fed to standard input, which is then closed.
ProgramRun RunGrouper(const std::string& directory, const std::vector<std::string>& arguments,
                      const std::string& stdin_bytes = "");

// Full control of the standard streams, for runs in a hostile environment.
enum class Console {
  kCapture,      // a pipe read to its end
  kFile,         // a file (for consoles of millions of lines)
  kClosed,       // no standard output at all
  kReadOneLine,  // a pipe whose reader stops after the first line feed
};

struct Launch {
  std::vector<std::string> args = {};
  std::string stdin_bytes = {};
  bool close_stdin = false;  // no standard input at all
  Console console = Console::kCapture;
  std::string console_path = {};  // Console::kFile
  bool unprivileged = false;      // POSIX: run as the user "nobody" when started as root
  std::string program = {};       // the program to run; grouper when empty
};

struct Outcome {
  int status = -1;  // exit status; -1 when killed by a signal
  int signal = 0;
  std::string console;
};

Outcome Start(const std::string& directory, const Launch& launch);

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
