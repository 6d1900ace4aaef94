// The operating-system services of the batch, behind one small interface: a
// POSIX implementation (platform_posix.cpp) and a Windows one
// (platform_windows.cpp), of which each build compiles the one for its
// target. Nothing else in the program calls the operating system.
//
// Files are C runtime descriptors. Every file and the console are read and
// written as bytes: no line-end translation, no code page conversion, so a
// result line that the driver ends with CR LF reaches the disk as exactly
// that on every platform. Interrupted calls are retried inside; a failure is
// reported once, as a return value, never as a signal or an exception.
#pragma once

#include <cstddef>
#include <cstdio>

namespace grouper::platform {

inline constexpr int kStandardOutput = 1;

// Call first in main. Standard streams that the caller left closed are opened
// on the null device, so that no file opened later takes a standard stream's
// place (console lines would land in the result file). The console is
// switched to bytes. A console reader that goes away (a closed pipe) makes
// console writes fail instead of ending the process.
void PrepareProcess();

// Writes `stream` as bytes (a tool's standard output that carries CR LF
// lines); nothing to do where the C library never translates.
void WriteAsBytes(std::FILE* stream);

// Opens an existing file for reading only; -1 when it cannot be opened or is
// a directory.
int OpenInput(const char* name);

// True when `name` exists and is the very file open as `fd`, whatever path or
// link leads to it: the same device and inode on POSIX, the same volume serial
// number and file index on Windows.
bool IsSameFile(int fd, const char* name);

// Opens `name` for writing, created or truncated; -1 on failure.
int OpenOutput(const char* name);

// Bytes read (at most `size`), 0 at the end of the input, -1 on an error.
long long Read(int fd, char* buffer, std::size_t size);
// Bytes written (at least 1), or -1 on an error.
long long Write(int fd, const char* bytes, std::size_t size);
// False when closing reports an error (data that never reached the file).
bool Close(int fd);

// True when `fd` is an interactive console or terminal (not a file, a pipe or
// the null device).
bool IsTerminal(int fd);

// The processors this process may run on (its affinity, which a user or a
// container may have narrowed); at least 1.
int UsableProcessors();

}  // namespace grouper::platform
