// Must not compile in the clang build: it reads a guarded member without its
// mutex. CTest compiles it and expects the thread-safety analysis to report
// that read, which proves that the annotations reach the compiler and that the
// analysis is on.
#include "util/mutex.h"
#include "util/thread_annotations.h"

namespace {

struct Counter {
  grouper::Mutex mutex;
  int count GUARDED_BY(mutex) = 0;

  int Locked() {
    grouper::MutexLock lock(mutex);
    return count;
  }
  int Unlocked() { return count; }  // the violation
};

}  // namespace

int main() {
  Counter counter;
  return counter.Locked() + counter.Unlocked();
}
