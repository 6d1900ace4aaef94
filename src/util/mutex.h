// A mutex, its scoped lock and a condition variable, annotated for Clang's
// thread-safety analysis (util/thread_annotations.h) so that the clang build
// checks every use of the state they guard. They add nothing to the standard
// ones but the annotations.
#pragma once

#include <condition_variable>
#include <mutex>

#include "util/thread_annotations.h"

namespace grouper {

class CAPABILITY("mutex") Mutex {
 public:
  Mutex() = default;
  Mutex(const Mutex&) = delete;
  Mutex& operator=(const Mutex&) = delete;

  // Blocks until the calling thread holds the mutex; it must not hold it yet.
  void Lock() ACQUIRE() { mutex_.lock(); }
  // Lets go of the mutex, which the calling thread holds.
  void Unlock() RELEASE() { mutex_.unlock(); }

 private:
  friend class CondVar;
  std::mutex mutex_;
};

// Holds a mutex from its construction to the end of its scope.
class SCOPED_CAPABILITY MutexLock {
 public:
  explicit MutexLock(Mutex& mutex) ACQUIRE(mutex) : mutex_(mutex) { mutex_.Lock(); }
  ~MutexLock() RELEASE() { mutex_.Unlock(); }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;

 private:
  Mutex& mutex_;
};

class CondVar {
 public:
  // Requires `mutex` held by the calling thread; lets go of it while it waits
  // and holds it again when it returns, after a SignalAll or spuriously: the
  // caller waits in a loop until its condition holds.
  void Wait(Mutex& mutex) REQUIRES(mutex) {
    std::unique_lock<std::mutex> lock(mutex.mutex_, std::adopt_lock);
    condition_.wait(lock);
    lock.release();  // the caller keeps the mutex
  }
  // Wakes every waiting thread.
  void SignalAll() { condition_.notify_all(); }

 private:
  std::condition_variable condition_;
};

}  // namespace grouper
