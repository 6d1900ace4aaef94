#ifndef _WIN32

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "platform/interrupt.h"
#include "platform/platform.h"
#include "platform/replace_file.h"
#include "platform/temporary_name.h"

namespace grouper::platform {

namespace {

int Reason() {
  return errno != 0 ? errno : EIO;
}

std::string FolderPart(const std::string& path) {
  return path.substr(0, path.size() - FileNamePart(path).size());
}

const char* FolderName(const std::string& folder) {
  return folder.empty() ? "." : folder.c_str();
}

bool Alive(unsigned long pid) {
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}  // namespace

unsigned long CurrentProcessId() {
  return static_cast<unsigned long>(::getpid());
}

ReplacementFile::~ReplacementFile() {
  Abandon();
}

int ReplacementFile::Create(const std::string& target, LinkTarget links) {
  Abandon();
  target_ = target;
  struct stat st;
  if (links == LinkTarget::kReplaceLinkedFile && ::lstat(target.c_str(), &st) == 0 &&
      S_ISLNK(st.st_mode)) {
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(target.c_str(), nullptr),
                                                     &std::free);
    if (real) target_ = real.get();  // a dangling link is replaced itself
  }
  // A file made but not yet named for removal would outlive an interrupt.
  InterruptsDeferred deferred;
  for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
    temporary_ = TemporaryPathBeside(target_, ".tmp");
    fd_ = CreateNewFile(temporary_);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) return Reason();
  // The lock tells RemoveDeadTemporaries that the file's writer lives.
  ::flock(fd_, LOCK_EX | LOCK_NB);
  pending_ = true;
  slot_ = RemoveIfInterrupted(temporary_, fd_);
  return 0;
}

int ReplacementFile::Finish() {
  struct stat st;
  if (::stat(target_.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
    mode_t mode = st.st_mode & 07777;
    // Another owner is for a privileged process to give; without it the file
    // stays the writer's, and never set-user or set-group on its behalf.
    if (::fchown(fd_, st.st_uid, st.st_gid) != 0) mode &= ~static_cast<mode_t>(S_ISUID | S_ISGID);
    if (::fchmod(fd_, mode) != 0) return Reason();
  }
  while (::fsync(fd_) != 0) {
    if (errno != EINTR) return Reason();
  }
  return 0;
}

int ReplacementFile::Commit() {
  if (!pending_) return EINVAL;
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) return Reason();
  pending_ = false;
  Forget(slot_);
  slot_ = -1;
  // The rename is done; a folder that cannot be flushed (some network file
  // systems) takes it as it takes any rename.
  SyncFolder(FolderPart(target_));
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  return closed ? 0 : Reason();
}

void ReplacementFile::Abandon() {
  if (pending_) ::unlink(temporary_.c_str());
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  pending_ = false;
  Forget(slot_);
  slot_ = -1;
}

int CreateNewFile(const std::string& path) {
  // With O_EXCL a link of that name is refused, a dangling one too.
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
}

int CheckReplaceable(const std::string& target) {
  struct stat st;
  if (::lstat(target.c_str(), &st) != 0) return errno == ENOENT ? 0 : Reason();
  return S_ISDIR(st.st_mode) ? EISDIR : 0;
}

int RenameFile(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : Reason();
}

int LinkFile(const std::string& target, const std::string& keep) {
  return ::link(target.c_str(), keep.c_str()) == 0 ? 0 : Reason();
}

int RemoveFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0 ? 0 : Reason();
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

int SyncFolder(const std::string& folder) {
  const int fd = ::open(FolderName(folder), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return Reason();
  const int error = ::fsync(fd) == 0 ? 0 : Reason();
  ::close(fd);
  return error;
}

void RemoveDeadTemporaries(const std::string& folder,
                           std::initializer_list<std::string_view> names) {
  struct Closer {
    void operator()(DIR* dir) const { ::closedir(dir); }
  };
  std::unique_ptr<DIR, Closer> dir(::opendir(FolderName(folder)));
  if (!dir) return;
  const std::string prefix =
      folder.empty() || folder.back() == '/' ? folder : folder + kPathSeparator;
  while (const dirent* entry = ::readdir(dir.get())) {
    for (const std::string_view name : names) {
      unsigned long pid = 0;
      if (!IsTemporaryOf(entry->d_name, name, pid)) continue;
      if (pid != CurrentProcessId() && Alive(pid)) break;
      // A process of that number may be another's (another container), or
      // this one may have the number of a dead one: the file is dead only if
      // nobody holds its lock either (this process's own files included).
      const std::string path = prefix + entry->d_name;
      const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
      if (fd < 0) break;
      if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(path.c_str());
      ::close(fd);
      break;
    }
  }
}

FolderLock::~FolderLock() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

int FolderLock::Acquire(const std::string& folder, std::string_view lock_name) {
  int fd = ::open(FolderName(folder), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return Reason();
  int error = 0;
  while ((error = ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : errno) == EINTR) {
  }
  if (error != 0) ::close(fd);
  if (error == EWOULDBLOCK) return kFolderInUse;
  if (error != 0) {
    // A file system that cannot lock a folder: a lock file in it.
    const std::string path =
        (folder.empty() ? "" : folder + kPathSeparator) + "." + std::string(lock_name) + ".lock";
    fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return Reason();
    while ((error = ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : errno) == EINTR) {
    }
    if (error != 0) {
      ::close(fd);
      return error == EWOULDBLOCK ? kFolderInUse : error;
    }
  }
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  handle_ = fd;
  return 0;
}

}  // namespace grouper::platform

#endif  // !_WIN32
