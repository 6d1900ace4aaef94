#ifdef _WIN32

// The C runtime's descriptor functions (io.h) exist under these names in every
// Windows C runtime, and the Win32 calls are plain kernel32 ones, so this file
// builds with any Windows compiler.
#include "platform/windows_api.h"
// windows.h first: the runtime headers below are then read in its setting.
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <shellapi.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#include <climits>
#include <cstdint>

#include "platform/console_line.h"
#include "platform/long_path.h"
#include "platform/platform.h"
#include "platform/windows_text.h"

namespace grouper::platform {

namespace {

// A single call moves at most this many bytes (the runtime counts in int).
constexpr std::size_t kMaxTransfer = INT_MAX / 2;

HANDLE HandleOf(int fd) {
  return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

// A standard stream without a usable handle: never given one, or closed by the
// starting process. The runtime reports it as -1 or -2 (no console).
bool Missing(int fd) {
  const intptr_t h = _get_osfhandle(fd);
  return h == -1 || h == -2 || h == 0;
}

// Text of `code_page` as UTF-16 (bytes that are not of the code page become
// U+FFFD).
std::wstring Wide(std::string_view text, UINT code_page) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(code_page, 0, text.data(), size, nullptr, 0);
  std::wstring wide(n > 0 ? static_cast<std::size_t>(n) : 0, L'\0');
  if (n > 0) MultiByteToWideChar(code_page, 0, text.data(), size, wide.data(), n);
  return wide;
}

// UTF-16 as text of `code_page` (a character that it lacks becomes its default
// character, '?').
std::string Narrow(std::wstring_view wide, UINT code_page) {
  if (wide.empty() || wide.size() > INT_MAX) return {};
  const int size = static_cast<int>(wide.size());
  const int n = WideCharToMultiByte(code_page, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string text(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
  if (n > 0) WideCharToMultiByte(code_page, 0, wide.data(), size, text.data(), n, nullptr, nullptr);
  return text;
}

// The full path of `path` by the system's rules (made absolute against the
// current directory, slashes turned to backslashes, "." and ".." resolved);
// empty when the system cannot give it.
std::wstring FullPath(const std::wstring& path) {
  std::wstring full(MAX_PATH, L'\0');
  // Too small a buffer gives the size needed; a second try is short only if
  // another thread changed the current directory in between.
  for (int attempt = 0; attempt < 2; ++attempt) {
    const DWORD n =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0) return {};
    if (n < full.size()) {
      full.resize(n);
      return full;
    }
    full.resize(n);
  }
  return {};
}

// A name as the wide calls take it: UTF-16, and in the extended-length form
// when its full path is too long for the plain one (long_path.h). A name that
// fits is given as it is, so that it names what it always named.
std::wstring WideName(const char* name) {
  const std::wstring wide = Wide(name, CP_UTF8);
  if (wide.empty() || IsDevicePath(wide)) return wide;
  return SystemPathName(wide, FullPath(wide));
}

// The errno value of a system error code, for the calls that report one
// (the runtime's own calls set errno themselves).
int ErrnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
      return EEXIST;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    default:
      return EIO;
  }
}

}  // namespace

std::wstring SystemName(const std::string& name) {
  return WideName(name.c_str());
}

int ErrnoOfSystemError(unsigned long error) {
  return ErrnoOf(error);
}

std::wstring WideFromUtf8(std::string_view utf8) {
  return Wide(utf8, CP_UTF8);
}

std::string Utf8FromWide(std::wstring_view wide) {
  return Narrow(wide, CP_UTF8);
}

ClosedStreams PrepareProcess() {
  bool closed[3] = {};
  for (int fd = 0; fd <= 2; ++fd) {
    if (!Missing(fd)) continue;
    closed[fd] = true;
    int null_fd = -1;
    if (_sopen_s(&null_fd, "NUL", _O_RDWR | _O_BINARY, _SH_DENYNO, 0) != 0) continue;
    if (null_fd != fd) {
      _dup2(null_fd, fd);
      _close(null_fd);
    }
  }
  // The console carries code page 949 bytes and LF line ends of its own; text
  // mode would widen every LF to CR LF.
  _setmode(kStandardOutput, _O_BINARY);
  return {closed[0], closed[1], closed[2]};
}

void WriteAsBytes(std::FILE* stream) {
  _setmode(_fileno(stream), _O_BINARY);
}

std::vector<std::string> Arguments(int argc, char** argv) {
  std::vector<std::string> arguments;
  int count = 0;
  if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count); wide != nullptr) {
    for (int i = 0; i < count; ++i) arguments.push_back(Narrow(wide[i], CP_UTF8));
    LocalFree(wide);
    return arguments;
  }
  for (int i = 0; i < argc; ++i) arguments.push_back(Narrow(Wide(argv[i], CP_ACP), CP_UTF8));
  return arguments;
}

// GetConsoleCP and GetConsoleOutputCP give 0 without a console, which the
// conversions read as the ANSI code page.
std::string NameFromConsole(std::string_view typed) {
  return Narrow(Wide(typed, GetConsoleCP()), CP_UTF8);
}

bool ReadConsoleLine(std::string& line) {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (input == INVALID_HANDLE_VALUE || input == nullptr || !GetConsoleMode(input, &mode)) {
    if (!ReadByteLine(stdin, line)) return false;
    line = NameFromConsole(line);
    return true;
  }
  // A line as the console edits it (echoed, ended by Enter), whatever mode
  // the starting program left.
  constexpr DWORD kLineMode = ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT | ENABLE_PROCESSED_INPUT;
  if ((mode & kLineMode) != kLineMode) SetConsoleMode(input, mode | kLineMode);
  std::wstring wide;
  wchar_t block[256];
  DWORD n = 0;
  while (ReadConsoleW(input, block, 256, &n, nullptr) && n > 0) {
    wide.append(block, n);
    if (wide.back() == L'\n') break;
  }
  if ((mode & kLineMode) != kLineMode) SetConsoleMode(input, mode);
  if (wide.empty() || wide.front() == L'\x1A') return false;
  if (wide.back() == L'\n') wide.pop_back();
  line = Narrow(wide, CP_UTF8);
  return true;
}

std::string NameForConsole(std::string_view name) {
  return Narrow(Wide(name, CP_UTF8), GetConsoleOutputCP());
}

std::string_view FileNamePart(std::string_view path) {
  const std::size_t separator = path.find_last_of("/\\:");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

int OpenInput(const char* name) {
  int fd = -1;
  const errno_t error =
      _wsopen_s(&fd, WideName(name).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT, _SH_DENYNO, 0);
  if (error != 0) {
    errno = error;
    return -1;
  }
  struct _stat64 st;
  const bool known = _fstat64(fd, &st) == 0;
  if (!known || (st.st_mode & _S_IFMT) == _S_IFDIR) {
    const int reason = known ? EISDIR : errno;
    _close(fd);
    errno = reason;
    return -1;
  }
  return fd;
}

int OpenRegularInput(const char* name) {
  const int fd = OpenInput(name);
  // A console, a printer or a pipe: not a file on a disk.
  if (fd >= 0 && GetFileType(HandleOf(fd)) != FILE_TYPE_DISK) {
    _close(fd);
    errno = kNotRegularFile;
    return -1;
  }
  return fd;
}

bool IsSameFile(int fd, const char* name) {
  BY_HANDLE_FILE_INFORMATION open_info, named_info;
  if (!GetFileInformationByHandle(HandleOf(fd), &open_info)) return false;
  // No access rights are asked for: the file is only identified, and a file
  // that another program holds open is identified all the same. Backup
  // semantics let a directory be opened too (it is then simply another file).
  const HANDLE named =
      CreateFileW(WideName(name).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (named == INVALID_HANDLE_VALUE) return false;
  const bool known = GetFileInformationByHandle(named, &named_info) != 0;
  CloseHandle(named);
  return known && open_info.dwVolumeSerialNumber == named_info.dwVolumeSerialNumber &&
         open_info.nFileIndexHigh == named_info.nFileIndexHigh &&
         open_info.nFileIndexLow == named_info.nFileIndexLow;
}

int OpenOutput(const char* name) {
  int fd = -1;
  const errno_t error = _wsopen_s(&fd, WideName(name).c_str(),
                                  _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
                                  _SH_DENYNO, _S_IREAD | _S_IWRITE);
  if (error != 0) {
    errno = error;
    return -1;
  }
  return fd;
}

bool IsDeviceOrPipe(const char* name) {
  const HANDLE file =
      CreateFileW(WideName(name).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const DWORD type = GetFileType(file);
  CloseHandle(file);
  return type != FILE_TYPE_DISK && type != FILE_TYPE_UNKNOWN;
}

// The attributes come from the system and not from the runtime's _wstat64,
// which in some runtimes refuses a name with '?' in it, and so every name in
// the extended-length form.
void RemoveRegularFile(const char* name) {
  const std::wstring wide = WideName(name);
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data) != 0 &&
      (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0)
    DeleteFileW(wide.c_str());
}

bool MakeDirectory(const char* name) {
  const std::wstring wide = WideName(name);
  if (CreateDirectoryW(wide.c_str(), nullptr)) return true;
  const DWORD error = GetLastError();
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (error == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return true;
  errno = ErrnoOf(error);
  return false;
}

bool RenameOver(const char* from, const char* to) {
  if (MoveFileExW(WideName(from).c_str(), WideName(to).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  errno = ErrnoOf(GetLastError());
  return false;
}

// The runtime treats a negative descriptor as a programming error and may end
// the process; the interface promises a failure instead.
long long Read(int fd, char* buffer, std::size_t size) {
  if (fd < 0) return -1;
  if (size > kMaxTransfer) size = kMaxTransfer;
  const int n = _read(fd, buffer, static_cast<unsigned>(size));
  return n < 0 ? -1 : n;
}

long long Write(int fd, const char* bytes, std::size_t size) {
  if (fd < 0) return -1;
  if (size > kMaxTransfer) size = kMaxTransfer;
  const int n = _write(fd, bytes, static_cast<unsigned>(size));
  return n <= 0 ? -1 : n;
}

bool Close(int fd) {
  return fd >= 0 && _close(fd) == 0;
}

bool IsTerminal(int fd) {
  // The runtime's _isatty also says yes for the null device and printers; only
  // a console has a console mode.
  if (fd < 0) return false;
  DWORD mode;
  const HANDLE h = HandleOf(fd);
  return h != INVALID_HANDLE_VALUE && GetConsoleMode(h, &mode) != 0;
}

int UsableProcessors() {
  DWORD_PTR process_mask = 0;
  DWORD_PTR system_mask = 0;
  if (GetProcessAffinityMask(GetCurrentProcess(), &process_mask, &system_mask) &&
      process_mask != 0) {
    int count = 0;
    for (; process_mask != 0; process_mask &= process_mask - 1) ++count;
    return count;
  }
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors > 0 ? static_cast<int>(info.dwNumberOfProcessors) : 1;
}

}  // namespace grouper::platform

#endif  // _WIN32
