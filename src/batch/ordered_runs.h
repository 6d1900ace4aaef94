// How a stream's lines are shared among workers while what they make leaves in
// input order: the batch's line loop (line_stream.h) and the month's products
// are cut the same way.
//
// A worker takes the next run of reads from the input under the reader's lock
// (ReadRun), answers its lines on its own, and writes what it made when every
// earlier run has been written (WriteTurn). Reading and writing thus happen
// in the order of the input, as one worker does them, so every byte written
// and the point where a failed write stops the work are the same whatever the
// number of workers or the length of a run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <system_error>
#include <thread>
#include <vector>

#include "line/group_line.h"
#include "platform/platform.h"
#include "util/mutex.h"
#include "util/thread_annotations.h"

namespace grouper {

// The right to write a stream's products. The runs hold it one after another,
// in the order in which they were read; a run holds it from Take to Pass.
class CAPABILITY("turn") WriteTurn {
 public:
  // Waits until every run read before run `sequence` has passed the turn on.
  void Take(uint64_t sequence) ACQUIRE() EXCLUDES(mutex_) {
    MutexLock lock(mutex_);
    while (runs_written_ != sequence) passed_.Wait(mutex_);
  }
  // Hands the turn to the next run.
  void Pass() RELEASE() EXCLUDES(mutex_) {
    {
      MutexLock lock(mutex_);
      ++runs_written_;
    }
    passed_.SignalAll();
  }

 private:
  Mutex mutex_;
  CondVar passed_;
  uint64_t runs_written_ GUARDED_BY(mutex_) = 0;
};

// Reads the next run from `reader` (a LineReader or a reader with its
// ReadLine and buffered): up to `max_lines` reads, one after another into
// `block` (room for `capacity` bytes, at least kLineBufferSize), as many as
// fit. A run ends where the bytes at hand do: a slowly written input (a pipe)
// gets each line answered as it comes, not when a run's worth has come. Each
// read goes to `take(index, bytes, length)` in order. Sets `ended` at the end
// of the input (or a failed read). Returns the number of reads.
template <class Reader, class Take>
std::size_t ReadRun(Reader& reader, char* block, std::size_t capacity, std::size_t max_lines,
                    bool& ended, Take&& take) {
  std::size_t count = 0;
  std::size_t used = 0;
  while (count < max_lines && capacity - used >= kLineBufferSize &&
         (count == 0 || reader.buffered() > 0)) {
    const std::size_t read = reader.ReadLine(block + used);
    if (read == 0) {
      ended = true;
      break;
    }
    take(count++, block + used, read);
    used += read;
  }
  return count;
}

// The number of workers: `asked` when positive, else two where the process
// may run on two processors or more, else one.
inline int WorkerCount(int asked) {
  if (asked > 0) return asked;
  return platform::UsableProcessors() >= 2 ? 2 : 1;
}

// Runs `work(i)` for each worker i below `workers`, worker 0 on this thread,
// and returns when all have ended. Where no thread is to be had, the workers
// already started do the work: each takes runs until none is left.
template <class Work>
void OnWorkers(int workers, Work&& work) {
  std::vector<std::thread> helpers;
  helpers.reserve(static_cast<std::size_t>(workers));  // no allocation once a thread runs
  for (int i = 1; i < workers; ++i) {
    try {
      helpers.emplace_back([&work, i] { work(i); });
    } catch (const std::system_error&) {
      break;
    }
  }
  work(0);
  for (std::thread& helper : helpers) helper.join();
}

}  // namespace grouper
