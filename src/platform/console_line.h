// A file name typed at a console prompt: the line as it was typed or pasted.
// A person types a name with blanks in it ("2026년 12월.txt"), or pastes one
// in double quotes (what Explorer's "Copy as path" and dropping a file on the
// console give); blanks around it, and the CR of a CR LF line end, are not
// part of it. The reading itself is the platform layer's (ReadConsoleLine);
// ReadByteLine is its portable part for input that is no console.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace grouper::platform {

// Reads the bytes of `stream` up to a line feed, which is dropped; false at
// the end of input when no byte was read.
bool ReadByteLine(std::FILE* stream, std::string& line);

// The name in a typed line: the line without its outer blanks (space, tab,
// CR) and then without one pair of double quotes around it; blanks inside
// stay. Empty when the line holds no name.
std::string_view TypedName(std::string_view line);

}  // namespace grouper::platform
