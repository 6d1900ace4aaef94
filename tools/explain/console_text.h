// UTF-8 text for a person, written so that Hangul shows wherever it goes. On
// Windows a console shows text in its own code page unless it is handed UTF-16:
// text for a console is written with WriteConsoleW, and text for a file or a
// pipe stays UTF-8 bytes. Elsewhere the bytes are written as they are.
#pragma once

#include <cstdio>
#include <string_view>

namespace grouper::console {

// Writes `utf8` to `stream` (stdout or stderr); false when it could not be
// written.
bool WriteText(std::FILE* stream, std::string_view utf8);

}  // namespace grouper::console
