#include "platform/long_path.h"

namespace grouper::platform {

namespace {

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

// "C:\..." with a letter of the Latin alphabet for the drive.
bool IsDrivePath(std::wstring_view full) {
  if (full.size() < 3 || full[1] != L':' || full[2] != L'\\') return false;
  const wchar_t drive = full[0];
  return (drive >= L'A' && drive <= L'Z') || (drive >= L'a' && drive <= L'z');
}

// "\\server\..." (a device path is told apart before).
bool IsUncPath(std::wstring_view full) {
  return full.size() > 2 && full[0] == L'\\' && full[1] == L'\\' && !IsSeparator(full[2]);
}

}  // namespace

bool IsDevicePath(std::wstring_view name) {
  if (name.size() < 4) return false;
  // Only with backslashes: "/??/" is an ordinary rooted path.
  if (name.substr(0, 4) == L"\\??\\") return true;
  return IsSeparator(name[0]) && IsSeparator(name[1]) && (name[2] == L'.' || name[2] == L'?') &&
         IsSeparator(name[3]);
}

std::wstring SystemPathName(std::wstring_view name, std::wstring_view full) {
  // A long name that resolves to a short path (many "..") is not known to be
  // taken in the plain form: the system may measure either.
  const bool fits = name.size() <= kLongestPlainPath && full.size() <= kLongestPlainPath;
  if (fits || IsDevicePath(name) || IsDevicePath(full)) return std::wstring(name);
  if (IsDrivePath(full)) return std::wstring(L"\\\\?\\").append(full);
  if (IsUncPath(full)) return std::wstring(L"\\\\?\\UNC\\").append(full.substr(2));
  return std::wstring(name);
}

}  // namespace grouper::platform
