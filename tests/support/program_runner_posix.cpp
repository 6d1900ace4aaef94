// Starting the program with fork and exec: every standard stream is set up in
// the child exactly as the launch asks, including closed ones.
#ifndef _WIN32

#include <fcntl.h>
#include <grp.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "support/program_runner.h"

namespace grouper::testing {

Outcome Start(const std::string& directory, const Launch& launch) {
  std::vector<std::string> args{launch.program.empty() ? GROUPER_BINARY : launch.program};
  args.insert(args.end(), launch.args.begin(), launch.args.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  const int stdin_fd = memfd_create("stdin", MFD_CLOEXEC);
  EXPECT_GE(stdin_fd, 0);
  EXPECT_EQ(write(stdin_fd, launch.stdin_bytes.data(), launch.stdin_bytes.size()),
            static_cast<ssize_t>(launch.stdin_bytes.size()));
  lseek(stdin_fd, 0, SEEK_SET);
  int pipe_fds[2] = {-1, -1};
  const bool piped = launch.console == Console::kCapture || launch.console == Console::kReadOneLine;
  if (piped) {
    EXPECT_EQ(pipe2(pipe_fds, O_CLOEXEC), 0);
  }
  int file_fd = -1;
  if (launch.console == Console::kFile) {
    file_fd = open(launch.console_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    EXPECT_GE(file_fd, 0);
  }
  const bool drop = launch.unprivileged && geteuid() == 0;

  const pid_t pid = fork();
  if (pid == 0) {
    // Only async-signal-safe calls from here on. dup2 clears close-on-exec.
    if (chdir(directory.c_str()) != 0) _exit(126);
    if (launch.close_stdin) {
      close(0);
    } else if (dup2(stdin_fd, 0) < 0) {
      _exit(126);
    }
    if (piped && dup2(pipe_fds[1], 1) < 0) _exit(126);
    if (file_fd >= 0 && dup2(file_fd, 1) < 0) _exit(126);
    if (launch.console == Console::kClosed) close(1);
    if (drop && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)) {
      _exit(125);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }
  Outcome outcome;
  EXPECT_GT(pid, 0);
  close(stdin_fd);
  if (file_fd >= 0) close(file_fd);
  if (piped) {
    close(pipe_fds[1]);
    char block[1 << 16];
    for (;;) {
      const ssize_t n = read(pipe_fds[0], block, sizeof block);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      outcome.console.append(block, static_cast<std::size_t>(n));
      if (launch.console == Console::kReadOneLine &&
          outcome.console.find('\n') != std::string::npos) {
        break;
      }
    }
    close(pipe_fds[0]);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) outcome.status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) outcome.signal = WTERMSIG(status);
  EXPECT_NE(outcome.status, 125) << "could not drop privileges";
  EXPECT_NE(outcome.status, 127) << "could not start " << args[0];
  return outcome;
}

}  // namespace grouper::testing

#endif  // !_WIN32
