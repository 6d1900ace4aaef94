// UTF-8 and UTF-16 for the Windows sources of the platform layer, converted as
// platform_windows.cpp converts every name (bytes that are not UTF-8 become
// U+FFFD). Windows only.
#pragma once

#ifdef _WIN32

#include <string>
#include <string_view>

namespace grouper::platform {

std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

}  // namespace grouper::platform

#endif  // _WIN32
