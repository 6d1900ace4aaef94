// The names of replace_file.h's temporary files, ".<name>.<pid>.<16 hex
// digits><suffix>", made and recognised alike by the POSIX and the Windows
// implementation. A name is recognised by its form alone: whether its writer
// lives is for the caller to find out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace grouper::platform {

// The name of a temporary file of the file `name` (its first 96 bytes, not
// cutting a UTF-8 character), written by the process `pid`.
std::string TemporaryFileName(std::string_view name, unsigned long pid, uint64_t random,
                              std::string_view suffix);

// True when `file` is a name that TemporaryFileName gives for `name` with the
// suffix ".tmp" or ".old"; `pid` is then its writer's process.
bool IsTemporaryOf(std::string_view file, std::string_view name, unsigned long& pid);

// Bits that differ from call to call and from process to process.
uint64_t FreshBits();

// This process's identifier (replace_file_posix.cpp, replace_file_windows.cpp).
unsigned long CurrentProcessId();

}  // namespace grouper::platform
