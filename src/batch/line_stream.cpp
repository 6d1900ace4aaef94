#include "batch/line_stream.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "batch/ordered_runs.h"
#include "line/group_line.h"
#include "line/input_warnings.h"
#include "platform/platform.h"
#include "util/mutex.h"
#include "util/thread_annotations.h"

namespace grouper {

ConsoleWriter::ConsoleWriter(int fd)
    : writer_(fd, 1 << 16), line_by_line_(platform::IsTerminal(fd)) {}

namespace {

// A run of consecutive input lines in one worker's hands: their reads, one
// after another in one block, then their answers composed into another.
struct Run {
  struct Line {
    std::size_t read_length;
    std::size_t output_length;
    std::size_t console_length;
    bool console_first;  // the console line is printed before the result line
  };

  Run(std::size_t max_lines, std::size_t read_bytes)
      : reads(new char[read_bytes]),
        read_capacity(read_bytes),
        composed(new char[max_lines * 2 * kMaxComposedLine]),
        lines(max_lines) {}

  std::unique_ptr<char[]> reads;
  std::size_t read_capacity;
  std::unique_ptr<char[]> composed;  // each line's result bytes, then its console bytes
  std::vector<Line> lines;
  std::size_t count = 0;
  uint64_t lines_before = 0;  // lines of the input before this run
  uint64_t sequence = 0;      // the run's place among the runs read
  LineBuffer line;            // the line being answered
  GroupingWork work;
  LineAnswer answer;
};

class Stream {
 public:
  Stream(int input_fd, int output_fd, ConsoleWriter& console, InputWarnings* warnings)
      : reader_(input_fd), warnings_(warnings), output_(output_fd), console_(console) {}

  // One worker: takes runs until the input ends or the result cannot be written.
  void Work(Run& run) {
    while (Read(run)) {
      Answer(run);
      Write(run);
    }
  }

  // Once every worker has ended: flushes the result and the console. `error`
  // is the reason of a failed read or write, else 0.
  StreamResult Finish(int& error) EXCLUDES(read_mutex_) {
    uint64_t runs;
    int read_error;
    {
      MutexLock lock(read_mutex_);
      runs = runs_read_;
      read_error = reader_.failed() ? reader_.error() : 0;
    }
    // Every run read has been written, so the turn after the last is free.
    turn_.Take(runs);
    const bool written = output_.Flush();
    if (written) console_.Flush();
    error = written ? read_error : output_.error();
    turn_.Pass();
    if (!written) return StreamResult::kWriteError;
    return read_error != 0 ? StreamResult::kReadError : StreamResult::kComplete;
  }

 private:
  bool Read(Run& run) EXCLUDES(read_mutex_) {
    MutexLock lock(read_mutex_);
    if (input_ended_ || stopped_.load(std::memory_order_relaxed)) return false;
    InputWarnings* const warnings = warnings_;  // held: the lock is ours until the run is read
    run.count = ReadRun(reader_, run.reads.get(), run.read_capacity, run.lines.size(), input_ended_,
                        [&run, warnings](std::size_t i, const char* bytes, std::size_t read) {
                          if (warnings != nullptr) warnings->Add(bytes, read);
                          run.lines[i].read_length = read;
                        });
    if (run.count == 0) return false;
    run.lines_before = lines_read_;
    lines_read_ += run.count;
    run.sequence = runs_read_++;
    return true;
  }

  static void Answer(Run& run) {
    const char* read = run.reads.get();
    char* out = run.composed.get();
    for (std::size_t i = 0; i < run.count; ++i) {
      Run::Line& line = run.lines[i];
      const LineText text = GroupLine(read, line.read_length, run.line, run.work, run.answer);
      read += line.read_length;
      line.console_first = ConsoleFirst(run.answer);
      line.output_length = ComposeOutputLine(text.text, run.answer, out);
      out += line.output_length;
      line.console_length = ComposeConsoleLine(run.lines_before + i + 1, run.answer, out);
      out += line.console_length;
    }
  }

  void Write(const Run& run) {
    turn_.Take(run.sequence);
    if (!stopped_.load(std::memory_order_relaxed)) {
      const char* bytes = run.composed.get();
      for (std::size_t i = 0; i < run.count; ++i) {
        const Run::Line& line = run.lines[i];
        const char* console_bytes = bytes + line.output_length;
        if (line.console_first) console_.Print(console_bytes, line.console_length);
        output_.Write(bytes, line.output_length);
        if (!line.console_first) console_.Print(console_bytes, line.console_length);
        bytes = console_bytes + line.console_length;
        if (output_.failed()) {
          stopped_.store(true, std::memory_order_relaxed);
          break;
        }
      }
    }
    turn_.Pass();
  }

  Mutex read_mutex_;
  LineReader reader_ GUARDED_BY(read_mutex_);
  InputWarnings* const warnings_ PT_GUARDED_BY(read_mutex_);
  bool input_ended_ GUARDED_BY(read_mutex_) = false;
  uint64_t lines_read_ GUARDED_BY(read_mutex_) = 0;
  uint64_t runs_read_ GUARDED_BY(read_mutex_) = 0;

  // Only the run whose turn it is touches the result and the console.
  WriteTurn turn_;
  ByteWriter output_ GUARDED_BY(turn_);
  ConsoleWriter& console_ GUARDED_BY(turn_);

  std::atomic<bool> stopped_{false};  // the result could not be written
};

}  // namespace

StreamResult ProcessStream(int input_fd, int output_fd, ConsoleWriter& console,
                           const StreamOptions& options) {
  const std::size_t run_lines = options.run_lines > 0 ? options.run_lines : 1;
  const std::size_t read_bytes =
      options.run_bytes > kLineBufferSize ? options.run_bytes : kLineBufferSize;
  Stream stream(input_fd, output_fd, console, options.warnings);
  std::vector<std::unique_ptr<Run>> runs;
  for (int i = 0; i < WorkerCount(options.workers); ++i)
    runs.push_back(std::make_unique<Run>(run_lines, read_bytes));
  OnWorkers(static_cast<int>(runs.size()), [&stream, &runs](int i) { stream.Work(*runs[i]); });
  int error = 0;
  const StreamResult result = stream.Finish(error);
  if (options.error != nullptr) *options.error = error;
  return result;
}

StreamResult ProcessStream(int input_fd, int output_fd, int console_fd,
                           const StreamOptions& options) {
  ConsoleWriter console(console_fd);
  return ProcessStream(input_fd, output_fd, console, options);
}

}  // namespace grouper
