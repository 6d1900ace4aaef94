#ifndef _WIN32

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sched.h>
#endif

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "platform/console_line.h"
#include "platform/platform.h"
#include "platform/wasm_runtime.h"

namespace grouper::platform {

ClosedStreams PrepareProcess() {
  bool closed[3] = {};
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (::fcntl(fd, F_GETFD) == -1) {
      closed[fd] = true;
      const int null_fd = ::open("/dev/null", O_RDWR);
      if (null_fd >= 0 && null_fd != fd) ::close(null_fd);  // only the lowest free one is kept
    }
  }
  std::signal(SIGPIPE, SIG_IGN);
  return {closed[0], closed[1], closed[2]};
}

void WriteAsBytes(std::FILE*) {}

std::vector<std::string> Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

std::string NameFromConsole(std::string_view typed) {
  return std::string(typed);
}

bool ReadConsoleLine(std::string& line) {
  return ReadByteLine(stdin, line);
}

std::string NameForConsole(std::string_view name) {
  return std::string(name);
}

std::string_view FileNamePart(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

int OpenInput(const char* name) {
  const int fd = ::open(name, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st;
  const bool known = ::fstat(fd, &st) == 0;
  if (!known || S_ISDIR(st.st_mode)) {
    const int error = known ? EISDIR : errno;
    ::close(fd);
    errno = error;
    return -1;
  }
  return fd;
}

int OpenRegularInput(const char* name) {
  // Without O_NONBLOCK a FIFO would hold the open until a writer came.
  const int fd = ::open(name, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return -1;
  struct stat st;
  int error = ::fstat(fd, &st) != 0  ? errno
              : S_ISDIR(st.st_mode)  ? EISDIR
              : !S_ISREG(st.st_mode) ? kNotRegularFile
                                     : 0;
  if (error == 0) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) error = errno;
  }
  if (error != 0) {
    ::close(fd);
    errno = error;
    return -1;
  }
  return fd;
}

bool IsSameFile(int fd, const char* name) {
  struct stat open_st, named_st;
  return ::fstat(fd, &open_st) == 0 && ::stat(name, &named_st) == 0 &&
         open_st.st_dev == named_st.st_dev && open_st.st_ino == named_st.st_ino;
}

int OpenOutput(const char* name) {
  return ::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}

bool IsDeviceOrPipe(const char* name) {
  struct stat st;
  return ::stat(name, &st) == 0 && (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) ||
                                    S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode));
}

void RemoveRegularFile(const char* name) {
  struct stat st;
  if (::stat(name, &st) == 0 && S_ISREG(st.st_mode)) ::unlink(name);
}

bool MakeDirectory(const char* name) {
  if (::mkdir(name, 0777) == 0) return true;
  if (errno != EEXIST) return false;
  struct stat st;
  if (::stat(name, &st) == 0 && S_ISDIR(st.st_mode)) return true;
  errno = EEXIST;
  return false;
}

bool RenameOver(const char* from, const char* to) {
  return ::rename(from, to) == 0;
}

long long Read(int fd, char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(fd, buffer, size);
    if (n < 0 && errno == EINTR) continue;
    return n < 0 ? -1 : n;
  }
}

long long Write(int fd, const char* bytes, std::size_t size) {
  for (;;) {
    const ssize_t n = ::write(fd, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    return n <= 0 ? -1 : n;
  }
}

bool Close(int fd) {
  return ::close(fd) == 0;
}

bool IsTerminal(int fd) {
  return ::isatty(fd) == 1;
}

int UsableProcessors() {
  if constexpr (!kThreads) return 1;  // no second thread to run on
#ifdef __linux__
  cpu_set_t set;
  if (::sched_getaffinity(0, sizeof set, &set) == 0) {
    const int count = CPU_COUNT(&set);
    if (count > 0) return count;
  }
#endif
  const long online = ::sysconf(_SC_NPROCESSORS_ONLN);
  return online > 0 ? static_cast<int>(online) : 1;
}

}  // namespace grouper::platform

#endif  // !_WIN32
