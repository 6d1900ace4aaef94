// Test expectations are written as UTF-8 (u8"...") and converted here with the
// C library's iconv (on Windows, the system's code page 949 tables),
// independently of how the program's own literals were compiled, so that a
// test proves the bytes the program writes.
#pragma once

#include <string>
#include <string_view>

namespace grouper::testing {

// UTF-8 text -> code page 949 bytes.
std::string Cp949(std::u8string_view utf8);
// Code page 949 bytes -> UTF-8 text (for readable failure output).
std::string Utf8(std::string_view cp949);

}  // namespace grouper::testing
