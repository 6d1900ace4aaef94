// UTF-8 and UTF-16 for the Windows sources of the platform layer, converted as
// platform_windows.cpp converts every name (bytes that are not UTF-8 become
// U+FFFD), and that file's rules for names and errors, which the other
// Windows sources share. Windows only.
#pragma once

#ifdef _WIN32

#include <string>
#include <string_view>

namespace grouper::platform {

std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

// A name as the wide calls take it: UTF-16, in the extended-length form when
// its full path is too long for the plain one (long_path.h).
std::wstring SystemName(const std::string& name);

// The errno value of a system error code (GetLastError).
int ErrnoOfSystemError(unsigned long error);

}  // namespace grouper::platform

#endif  // _WIN32
