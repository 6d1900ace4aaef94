#ifndef _WIN32

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <memory>

#include "desktop.h"

extern char** environ;

namespace grouper::platform {

namespace {

bool IsFolder(const std::string& name) {
  struct stat st;
  return ::stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string DocumentsFolder() {
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return {};
  std::string folder = home;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  const std::string documents = (folder == "/" ? "" : folder) + "/Documents";
  return IsFolder(documents) ? documents : folder;
}

bool OpenInBrowser(const std::string& file) {
  // An absolute name: the browser that xdg-open starts may have another
  // working folder, and a name that begins with '-' is then no option.
  std::unique_ptr<char, decltype(&std::free)> absolute(::realpath(file.c_str(), nullptr),
                                                       &std::free);
  if (!absolute) return false;
  char program[] = "xdg-open";
  char* argv[] = {program, absolute.get(), nullptr};
  // The browser gets the signals as a program started from a shell has them
  // (PrepareProcess ignores SIGPIPE in this one).
  posix_spawnattr_t attributes;
  if (posix_spawnattr_init(&attributes) != 0) return false;
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  pid_t child = 0;
  const int spawned = posix_spawnp(&child, program, nullptr, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  if (spawned != 0) return false;  // no xdg-open on the PATH
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool OwnsConsoleWindow() {
  return false;  // a terminal's window belongs to its shell
}

void WaitForKey() {}

FileChoice ChooseFileToOpen(const FileDialogTexts&, std::string&) {
  return FileChoice::kNoDialog;
}

}  // namespace grouper::platform

#endif  // !_WIN32
