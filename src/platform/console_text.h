// UTF-8 text for a person, written so that Hangul shows wherever it goes. On
// Windows a console shows text in its own code page unless it is handed UTF-16:
// text for a console is written with WriteConsoleW, and text for a file or a
// pipe stays UTF-8 bytes. Elsewhere the bytes are written as they are.
//
// File names in these messages are UTF-8 too: the platform layer holds names as
// UTF-8 on Windows, and on other systems a name is whatever bytes it was given
// (often code page 949 on a Korean system), so any byte of it that is not
// UTF-8 is shown as \xNN rather than mixed raw into UTF-8 text.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "text/language.h"

namespace grouper::console {

// Writes `utf8` to `stream` (stdout or stderr); false when it could not be
// written.
bool WriteText(std::FILE* stream, std::string_view utf8);

// `name` (a path as the platform layer holds it) as UTF-8 text for a message.
std::string NameText(std::string_view name);

// The words of `error`: the system's for an errno value (as the system words
// it, whatever the language), the platform layer's for its own reasons
// (platform.h: kFileInUse ...), in English or Korean.
std::string Reason(int error);
std::string Reason(int error, Language language);

// "PROGRAM: WHAT NAME: REASON" on standard error, `error` being an errno
// value or one of the platform layer's reasons; returns 1, the exit status of
// a file that could not be used.
int FileFailed(std::string_view program, std::string_view what, std::string_view name, int error);

}  // namespace grouper::console
