#ifdef _WIN32

#include "platform/windows_api.h"
// windows.h first: the runtime headers below are then read in its setting.
#include <fcntl.h>
#include <io.h>

#include <cerrno>

#include "platform/interrupt.h"
#include "platform/platform.h"
#include "platform/replace_file.h"
#include "platform/temporary_name.h"
#include "platform/windows_text.h"

namespace grouper::platform {

namespace {

constexpr DWORD kAnySharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool InUse(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Why `target` could not be replaced or removed (`error` from GetLastError).
// Windows says "access denied" both for a file that may not be changed and
// for one that another program holds open; asking for the right to delete
// it, as anybody may, tells the two apart.
int ReasonFor(DWORD error, const std::string& target) {
  if (InUse(error)) return kFileInUse;
  if (error != ERROR_ACCESS_DENIED) return ErrnoOfSystemError(error);
  const std::wstring wide = SystemName(target);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return EISDIR;
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
    return EACCES;
  const HANDLE probe = CreateFileW(wide.c_str(), DELETE, kAnySharing, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (probe != INVALID_HANDLE_VALUE) {
    CloseHandle(probe);
    return EACCES;
  }
  return InUse(GetLastError()) ? kFileInUse : EACCES;
}

// Whether the process `pid` still runs; a process that may not be asked is
// taken to run.
bool Alive(unsigned long pid) {
  const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) return GetLastError() != ERROR_INVALID_PARAMETER;
  const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return running;
}

std::string Joined(const std::string& folder, std::string_view name) {
  const bool ends = !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
  return folder.empty() || ends ? folder + std::string(name)
                                : folder + kPathSeparator + std::string(name);
}

}  // namespace

unsigned long CurrentProcessId() {
  return GetCurrentProcessId();
}

ReplacementFile::~ReplacementFile() {
  Abandon();
}

// A link is replaced itself on Windows: its symbolic links are rare, and
// following one needs rights that a clerk seldom has.
int ReplacementFile::Create(const std::string& target, LinkTarget) {
  Abandon();
  target_ = target;
  // A file made but not yet named for removal would outlive an interrupt.
  InterruptsDeferred deferred;
  for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
    temporary_ = TemporaryPathBeside(target_, ".tmp");
    fd_ = CreateNewFile(temporary_);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) return errno;
  pending_ = true;
  slot_ = RemoveIfInterrupted(temporary_, fd_);
  return 0;
}

// The file is closed here: nobody, this process included, may rename it
// while a handle without FILE_SHARE_DELETE is open.
int ReplacementFile::Finish() {
  if (fd_ < 0) return EBADF;
  int error = 0;
  if (!FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(fd_))))
    error = ErrnoOfSystemError(GetLastError());
  ClosedFile(slot_);
  if (_close(fd_) != 0 && error == 0) error = errno != 0 ? errno : EIO;
  fd_ = -1;
  return error;
}

int ReplacementFile::Commit() {
  if (!pending_ || fd_ >= 0) return EINVAL;
  const int error = RenameFile(temporary_, target_);
  if (error != 0) return error;
  pending_ = false;
  Forget(slot_);
  slot_ = -1;
  return 0;
}

void ReplacementFile::Abandon() {
  if (fd_ >= 0) {
    ClosedFile(slot_);
    _close(fd_);
  }
  fd_ = -1;
  if (pending_) DeleteFileW(SystemName(temporary_).c_str());
  pending_ = false;
  Forget(slot_);
  slot_ = -1;
}

int CreateNewFile(const std::string& path) {
  // CREATE_NEW fails on anything of that name, a link too. Without
  // FILE_SHARE_DELETE nobody deletes or renames the file while it is open;
  // DELETE access lets this process mark it to go (interrupt.h).
  const HANDLE file = CreateFileW(SystemName(path).c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ,
                                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    errno = ErrnoOfSystemError(GetLastError());
    return -1;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(file);
    DeleteFileW(SystemName(path).c_str());
    errno = EMFILE;
  }
  return fd;
}

int CheckReplaceable(const std::string& target) {
  const std::wstring wide = SystemName(target);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
               ? 0
               : ReasonFor(error, target);
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EISDIR;
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return EACCES;
  const HANDLE file =
      CreateFileW(wide.c_str(), DELETE, kAnySharing, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return ReasonFor(GetLastError(), target);
  CloseHandle(file);
  return 0;
}

int RenameFile(const std::string& from, const std::string& to) {
  if (MoveFileExW(SystemName(from).c_str(), SystemName(to).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return 0;
  return ReasonFor(GetLastError(), to);
}

int LinkFile(const std::string& target, const std::string& keep) {
  if (CreateHardLinkW(SystemName(keep).c_str(), SystemName(target).c_str(), nullptr)) return 0;
  return ErrnoOfSystemError(GetLastError());
}

int RemoveFile(const std::string& path) {
  if (DeleteFileW(SystemName(path).c_str())) return 0;
  return ReasonFor(GetLastError(), path);
}

bool Exists(const std::string& path) {
  return GetFileAttributesW(SystemName(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

int SyncFolder(const std::string&) {
  return 0;  // the renames write through (MOVEFILE_WRITE_THROUGH)
}

void RemoveDeadTemporaries(const std::string& folder,
                           std::initializer_list<std::string_view> names) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(SystemName(Joined(folder, "*")).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string file = Utf8FromWide(found.cFileName);
    for (const std::string_view name : names) {
      unsigned long pid = 0;
      if (!IsTemporaryOf(file, name, pid)) continue;
      // A live writer holds it open without FILE_SHARE_DELETE, and the
      // deletion fails; this process may have the number of a dead one
      // (Wine reuses them at once).
      if (pid == CurrentProcessId() || !Alive(pid))
        DeleteFileW(SystemName(Joined(folder, file)).c_str());
      break;
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

FolderLock::~FolderLock() {
  if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

int FolderLock::Acquire(const std::string& folder, std::string_view lock_name) {
  const std::wstring path = SystemName(Joined(folder, "." + std::string(lock_name) + ".lock"));
  // Shared with nobody, and gone when its handle closes, also when the
  // process is killed. A lock file of an owner that has just ended may still
  // be on its way out (access denied for a moment).
  for (int attempt = 0;; ++attempt) {
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
      handle_ = reinterpret_cast<intptr_t>(file);
      return 0;
    }
    const DWORD error = GetLastError();
    if (InUse(error)) return kFolderInUse;
    if (error != ERROR_ACCESS_DENIED || attempt == 10) return ErrnoOfSystemError(error);
    Sleep(50);
  }
}

}  // namespace grouper::platform

#endif  // _WIN32
