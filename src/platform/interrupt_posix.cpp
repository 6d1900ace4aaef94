#ifndef _WIN32

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

#include "platform/interrupt.h"

namespace grouper::platform {

namespace {

constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};

// A handler may not allocate: the paths live in fixed slots, and a slot's
// flag says when its path is whole (written before the flag is set).
struct Slot {
  std::atomic<bool> named{false};
  char path[4096];
};
Slot slots[8];
static_assert(std::atomic<bool>::is_always_lock_free, "a handler reads the flags");

bool installed = false;  // the main thread's alone, as are the two below
int deferrals = 0;
sigset_t mask_before_deferral;

sigset_t InterruptSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int s : kInterrupts) sigaddset(&set, s);
  return set;
}

void OnInterrupt(int signal_number) {
  for (Slot& slot : slots) {
    if (slot.named.load()) ::unlink(slot.path);
  }
  struct sigaction action = {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  ::sigaction(signal_number, &action, nullptr);
  // Blocked while this handler runs, the signal comes again as it returns, and
  // ends the process as it would have.
  ::raise(signal_number);
}

void Install() {
  if (installed) return;
  installed = true;
  for (int s : kInterrupts) {
    struct sigaction before;
    if (::sigaction(s, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    action.sa_mask = InterruptSet();  // one handler at a time
    ::sigaction(s, &action, nullptr);
  }
}

}  // namespace

int RemoveIfInterrupted(const std::string& path, int) {
  if (path.size() >= sizeof slots[0].path) return -1;
  Install();
  for (int i = 0; i < static_cast<int>(std::size(slots)); ++i) {
    if (slots[i].named.load()) continue;
    std::memcpy(slots[i].path, path.c_str(), path.size() + 1);
    slots[i].named.store(true);
    return i;
  }
  return -1;
}

void ClosedFile(int) {}

void Forget(int slot) {
  if (slot >= 0 && slot < static_cast<int>(std::size(slots))) slots[slot].named.store(false);
}

InterruptsDeferred::InterruptsDeferred() {
  if (deferrals++ > 0) return;
  const sigset_t set = InterruptSet();
  pthread_sigmask(SIG_BLOCK, &set, &mask_before_deferral);
}

InterruptsDeferred::~InterruptsDeferred() {
  if (--deferrals > 0) return;
  pthread_sigmask(SIG_SETMASK, &mask_before_deferral, nullptr);
}

void EndAbruptly() {
  ::kill(::getpid(), SIGKILL);
  ::_exit(128 + SIGKILL);
}

}  // namespace grouper::platform

#endif  // !_WIN32
