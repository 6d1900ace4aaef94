// File names beyond the 260-character limit of Windows. The wide calls
// (CreateFileW and the C runtime's calls built on it) take a full path of at
// most MAX_PATH - 1 UTF-16 units, unless the process is long-path aware (its
// manifest says so and the system has the setting on, which it is not by
// default) or the path is given in the extended-length form: "\\?\" before a
// full drive path, "\\?\UNC\" before a UNC path without its two leading
// backslashes. The system takes that form literally: no '/' is read as a
// separator, no "." or ".." is resolved and nothing is made absolute. So a
// name is first made full by the system's own rules (GetFullPathNameW, which
// also drops the trailing dots and blanks of a component and maps device names
// such as NUL), and only then given the prefix.
//
// The choice and the conversion are plain text, compiled on every platform so
// that they are tested everywhere; platform_windows.cpp gives them the full
// path.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace grouper::platform {

// The longest full path, in UTF-16 units without the terminating NUL, that
// the wide calls take in the plain form (MAX_PATH - 1).
inline constexpr std::size_t kLongestPlainPath = 259;

// True for a name that the system takes as a device path and that is passed on
// as it is written: the extended-length form ("\\?\"), the object manager's
// form ("\??\"), and a device path ("\\.\", also written with '/', and "//?/").
bool IsDevicePath(std::wstring_view name);

// The name to give the wide calls for `name`, whose full path is `full` (as
// GetFullPathNameW gives it: absolute, with backslashes, "." and ".."
// resolved; empty when it could not be had). Gives `name` itself when it is a
// device path, when both `name` and `full` fit the plain form
// (kLongestPlainPath), or when `full` is neither a drive path ("C:\...") nor a
// UNC path ("\\server\..."); otherwise the extended-length form of `full`. A
// name that works in the plain form therefore reaches the system unchanged.
std::wstring SystemPathName(std::wstring_view name, std::wstring_view full);

}  // namespace grouper::platform
