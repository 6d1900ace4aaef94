#ifdef _WIN32

#include "platform/windows_api.h"
// windows.h first: the runtime header below is then read in its setting.
#include <io.h>

#include <string>

#include "platform/interrupt.h"
#include "platform/windows_text.h"

namespace grouper::platform {

namespace {

constexpr UINT kControlCExit = 0xC000013A;  // STATUS_CONTROL_C_EXIT

// The console's handler runs on a thread of its own. It takes the lock and
// keeps it: the process ends when the handler returns, and a deferral (which
// holds the lock) makes it wait.
struct Slot {
  bool named = false;
  std::wstring path;
  HANDLE handle = INVALID_HANDLE_VALUE;  // while the file is open
};

struct Interrupts {
  Interrupts() { InitializeCriticalSection(&lock); }
  CRITICAL_SECTION lock;
  Slot slots[8];
  bool installed = false;
};

Interrupts& State() {
  static Interrupts state;
  return state;
}

BOOL WINAPI OnControl(DWORD type) {
  if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT && type != CTRL_CLOSE_EVENT) return FALSE;
  Interrupts& state = State();
  EnterCriticalSection(&state.lock);
  for (Slot& slot : state.slots) {
    if (!slot.named) continue;
    // An open file is this process's own and others may not delete it: it is
    // marked to go when the process's handle closes, as the process ends.
    FILE_DISPOSITION_INFO dispose = {TRUE};
    if (slot.handle == INVALID_HANDLE_VALUE ||
        !SetFileInformationByHandle(slot.handle, FileDispositionInfo, &dispose, sizeof dispose))
      DeleteFileW(slot.path.c_str());
  }
  // As the system's own handler ends a program on Ctrl+C (which Wine's
  // does with status 0, as if the run had succeeded).
  ExitProcess(kControlCExit);
  return TRUE;
}

}  // namespace

int RemoveIfInterrupted(const std::string& path, int fd) {
  Interrupts& state = State();
  EnterCriticalSection(&state.lock);
  if (!state.installed) state.installed = SetConsoleCtrlHandler(OnControl, TRUE) != 0;
  int found = -1;
  for (int i = 0; i < static_cast<int>(std::size(state.slots)); ++i) {
    Slot& slot = state.slots[i];
    if (slot.named) continue;
    slot.named = true;
    slot.path = WideFromUtf8(path);
    slot.handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    found = i;
    break;
  }
  LeaveCriticalSection(&state.lock);
  return found;
}

void ClosedFile(int slot) {
  if (slot < 0 || slot >= 8) return;
  Interrupts& state = State();
  EnterCriticalSection(&state.lock);
  state.slots[slot].handle = INVALID_HANDLE_VALUE;
  LeaveCriticalSection(&state.lock);
}

void Forget(int slot) {
  if (slot < 0 || slot >= 8) return;
  Interrupts& state = State();
  EnterCriticalSection(&state.lock);
  state.slots[slot].named = false;
  state.slots[slot].handle = INVALID_HANDLE_VALUE;
  LeaveCriticalSection(&state.lock);
}

InterruptsDeferred::InterruptsDeferred() {
  EnterCriticalSection(&State().lock);
}

InterruptsDeferred::~InterruptsDeferred() {
  LeaveCriticalSection(&State().lock);
}

void EndAbruptly() {
  TerminateProcess(GetCurrentProcess(), 9);
  ExitProcess(9);
}

}  // namespace grouper::platform

#endif  // _WIN32
