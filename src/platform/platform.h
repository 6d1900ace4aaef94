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
//
// File names are text of one encoding inside the programs: on POSIX the bytes
// that the system gives and takes, on Windows UTF-8, which the Windows
// implementation converts to and from UTF-16 at every call, so that a Hangul
// name works whatever the ANSI code page; a name whose full path is past the
// 260 characters of a plain Windows path reaches the system in the
// extended-length form (long_path.h). Names come in through Arguments and
// NameFromConsole and go out to people through NameForConsole.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace grouper::platform {

inline constexpr int kStandardOutput = 1;

// The separator that the system writes between the components of a path.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Reasons of the platform layer's own, given where an errno value would be
// and worded by console::Reason, for failures that no errno value names:
// a file that another program holds open, so that it cannot be replaced or
// removed (Windows' sharing rules);
inline constexpr int kFileInUse = 0x7001;
// an input that is a pipe, a FIFO, a device or a socket, not a file on a disk;
inline constexpr int kNotRegularFile = 0x7002;
// a folder in which another run of the same program is writing (FolderLock).
inline constexpr int kFolderInUse = 0x7003;

// Which standard streams the caller left closed.
struct ClosedStreams {
  bool input = false;
  bool output = false;
  bool error = false;
};

// Call first in main. Standard streams that the caller left closed are opened
// on the null device, so that no file opened later takes a standard stream's
// place (console lines would land in the result file). The console is
// switched to bytes. A console reader that goes away (a closed pipe) makes
// console writes fail instead of ending the process. Returns the streams that
// were closed: a program whose standard output is its product treats a
// closed one as an output that cannot be written.
ClosedStreams PrepareProcess();

// Writes `stream` as bytes (a tool's standard output that carries CR LF
// lines); nothing to do where the C library never translates.
void WriteAsBytes(std::FILE* stream);

// The program's command line, its name first, as names are given to the
// functions below: on Windows read from the UTF-16 command line (argc and argv
// are used only if that cannot be read), elsewhere argv as it is.
std::vector<std::string> Arguments(int argc, char** argv);

// A file name typed on the console: on Windows bytes of the console's input
// code page (the ANSI code page when there is no console), converted; elsewhere
// the bytes as they are.
std::string NameFromConsole(std::string_view typed);

// The next line of standard input, without its line feed, as names are held:
// on a Windows console the characters typed or pasted, read as UTF-16 so that
// a Hangul name comes whole whatever the console's code page; from a file or
// a pipe the bytes, converted as NameFromConsole converts them. False at the
// end of input when nothing was read (Ctrl+Z at the start of a line on a
// Windows console).
bool ReadConsoleLine(std::string& line);

// A file name as bytes to print on the console (or in a message on standard
// error): on Windows in the console's output code page (the ANSI code page
// when there is no console), a character that it lacks shown as '?'; elsewhere
// the bytes as they are. An ASCII name is always unchanged.
std::string NameForConsole(std::string_view name);

// The last component of a path: what follows its last separator ('/', and on
// Windows also '\\' and a drive's ':').
std::string_view FileNamePart(std::string_view path);

// Opens an existing file for reading only; -1 when it cannot be opened or is
// a directory, with errno saying why (EISDIR for a directory that the system
// opens; Windows refuses to, with EACCES).
int OpenInput(const char* name);

// Opens `name` for reading as OpenInput does, but only a regular file (also
// through a link): a pipe, a FIFO, a device or a socket gives -1 with errno
// kNotRegularFile, a folder EISDIR. A FIFO without a writer is refused at
// once, not waited for.
int OpenRegularInput(const char* name);

// True when `name` exists and is the very file open as `fd`, whatever path or
// link leads to it: the same device and inode on POSIX, the same volume serial
// number and file index on Windows.
bool IsSameFile(int fd, const char* name);

// Opens `name` for writing, created or truncated; -1 on failure, with errno
// saying why.
int OpenOutput(const char* name);

// True when `name` is, or leads to, a device, a FIFO or a socket (/dev/full,
// /dev/stdout, NUL, CON): something written in place, never replaced by
// another file.
bool IsDeviceOrPipe(const char* name);

// Removes `name` if it is a regular file (a half-written one); a device or
// anything else stays.
void RemoveRegularFile(const char* name);

// Makes the folder `name` (its parent must exist); true also when a folder of
// that name is there already, false with errno saying why when not (EEXIST for
// a file of that name).
bool MakeDirectory(const char* name);

// Renames the file `from` to `to`, replacing a file `to` that is there, in one
// step: a reader finds the old file or the new one, never a part of either.
// False with errno saying why when it cannot.
bool RenameOver(const char* from, const char* to);

// Bytes read (at most `size`), 0 at the end of the input, -1 on an error.
long long Read(int fd, char* buffer, std::size_t size);
// Bytes written (at least 1), or -1 on an error (errno says which).
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
