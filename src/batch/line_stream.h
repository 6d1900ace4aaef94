// The batch's line loop on open files: every input line answered with one
// result line and one console line, in input order, on one core or two.
//
// With two workers, each takes the next run of lines from the input in turn,
// answers it on its own, and writes its result and console lines when every
// earlier run has been written. Reading and writing thus happen in the order
// of the input, exactly as one worker does them, so the result file, the
// console and the point where a failed write stops the run are the same bytes
// whatever the number of workers or the length of a run.
#pragma once

#include <cstddef>
#include <string>

#include "batch/byte_io.h"

namespace grouper {

class InputWarnings;

enum class StreamResult { kComplete, kReadError, kWriteError };

inline constexpr int kNoConsole = -1;

// The console: its bytes are flushed line by line on a terminal, in large
// blocks otherwise. A console that went away (a closed pipe) is not the run's
// concern: the result file is the product, so a failed console write is
// ignored.
//
// A program that shows its own progress gives kNoConsole: no descriptor, so
// the first block fails to be written and every line is dropped, at the cost
// of a failed check per line.
class ConsoleWriter {
 public:
  explicit ConsoleWriter(int fd);
  void Print(const char* bytes, std::size_t length) {
    writer_.Write(bytes, length);
    if (line_by_line_) writer_.Flush();
  }
  void Print(const std::string& text) { Print(text.data(), text.size()); }
  void Flush() { writer_.Flush(); }

 private:
  ByteWriter writer_;
  bool line_by_line_;
};

struct StreamOptions {
  int workers = 0;  // 0: two where the process may run on two processors or more, else one
  // A worker takes up to run_lines lines from the input at a time, as many as
  // fit in run_bytes (at least one read, whatever run_bytes says).
  std::size_t run_lines = 1024;
  std::size_t run_bytes = 512 * 1024;
  // When given, takes every read of the input, in order, to look for the
  // signs of a wrong file; its Finish is left to the caller.
  InputWarnings* warnings = nullptr;
  // When given, receives the system's reason (errno) of the failed read or
  // write that stopped the run (ENOSPC for a full disk), else 0.
  int* error = nullptr;
};

// Answers every line of `input_fd`, writing result lines to `output_fd` and
// console lines to `console`. Stops at the end of the input, at a failed read,
// or at the first failed write of the result; the result is flushed but not
// closed.
StreamResult ProcessStream(int input_fd, int output_fd, ConsoleWriter& console,
                           const StreamOptions& options = {});
StreamResult ProcessStream(int input_fd, int output_fd, int console_fd,
                           const StreamOptions& options = {});

}  // namespace grouper
