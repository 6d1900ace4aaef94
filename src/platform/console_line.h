// File names typed or pasted at the batch's console prompts. The form reads
// each name as a word (a run of non-blank characters, as scanf's "%s"), so
// `in.txt out.txt` on one line answers both prompts, and blank lines are
// passed over. One extension: a name that opens with a double quote ends at
// its closing quote and may hold blanks, as Explorer's "Copy as path" and
// dropping files on the console give names ("a b.in" "c d.out"). A quote
// that is never closed is part of its word, as the form reads it.
//
// The reading of lines is the platform layer's (ReadConsoleLine, which on a
// Windows console reads UTF-16); ReadByteLine is its portable part for input
// that is no console. The functions below only cut names out of the lines
// read: the batch keeps what is left of a line for the next prompt.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace grouper::platform {

// Reads the bytes of `stream` up to a line feed, which is dropped; false at
// the end of input when no byte was read.
bool ReadByteLine(std::FILE* stream, std::string& line);

// One name cut from typed text; its views point into that text.
struct TypedName {
  bool found = false;     // false when the text holds blanks only
  bool quoted = false;    // the name was in double quotes (which it lacks)
  std::string_view name;  // the word, or what stood between the quotes
  std::string_view rest;  // what follows it: the answer to the next prompt
};

// The first name of `typed`, after the blanks before it (space, tab, CR, LF,
// vertical tab, form feed: what "%s" skips).
TypedName FirstName(std::string_view typed);

// `typed` without the blanks around it: a pasted path with blanks and no
// quotes, taken whole where its first word names no file.
std::string_view TrimBlanks(std::string_view typed);

}  // namespace grouper::platform
