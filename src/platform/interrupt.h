// What a program does when a person or the system ends it early: Ctrl+C,
// SIGTERM and SIGHUP on POSIX (a terminal that closes sends SIGHUP); Ctrl+C,
// Ctrl+Break and closing the console window on Windows. The files named
// here (ReplacementFile's temporary files) are removed, and the program then
// ends as it would have without them: on POSIX by the same signal, with its
// default action, so that the caller sees the usual status; on Windows with
// the status of a program ended by Ctrl+C (STATUS_CONTROL_C_EXIT).
//
// A signal that the process was started with ignored (nohup) stays ignored.
// The handlers are installed when the first file is named. The removal is
// done with the few calls that a signal handler may make, on paths fixed
// when they were named.
#pragma once

#include <string>

namespace grouper::platform {

// Names `path`, a file that this process has created and holds open as `fd`,
// to be removed if the process is interrupted. The slot to give the calls
// below, or -1 when no more can be named (the file is then simply not
// removed).
int RemoveIfInterrupted(const std::string& path, int fd);

// The file of `slot` has been closed (Windows removes it by name from then on).
void ClosedFile(int slot);

// The file of `slot` is no longer to be removed (renamed or removed).
void Forget(int slot);

// While one lives, an interrupt waits: steps that must be done together
// (renaming a set of files) are never cut in two. The interrupt comes when the
// last one goes. Nested ones are fine. Made for the thread that does the
// program's steps: on POSIX a signal is held back in that thread only, so
// the steps that must not be cut are done while no other thread runs.
class InterruptsDeferred {
 public:
  InterruptsDeferred();
  ~InterruptsDeferred();
  InterruptsDeferred(const InterruptsDeferred&) = delete;
  InterruptsDeferred& operator=(const InterruptsDeferred&) = delete;
};

// Ends the process at once, as kill -9 or the task manager would: no
// handler, no clean-up. For tests that need a run cut at a given point.
[[noreturn]] void EndAbruptly();

}  // namespace grouper::platform
