// The output of a command-line program on one of its standard streams, every
// write checked: the first write that fails is remembered with the system's
// reason (errno), nothing is written after it, and the program says so on
// standard error (CannotWrite) and exits with status 1 rather than finishing
// as if its output had reached its reader. The helper programs share it with
// their option parser (util/options.h).
#pragma once

#include <cstdio>
#include <string_view>

namespace grouper {

class StreamOutput {
 public:
  // How the bytes reach the stream: true when all of them did, false with
  // errno saying why when not. By default std::fwrite; a program that shows
  // text on a Windows console gives its own.
  using WriteFunction = bool (*)(std::FILE* stream, std::string_view bytes);

  // Writes to `stream`, open for writing. A nonzero `error` says that the
  // stream cannot be written at all (EBADF for a standard output that the
  // caller closed): every write then fails with it.
  explicit StreamOutput(std::FILE* stream, int error = 0, WriteFunction write = nullptr);

  // Writes `bytes`; false once any write or flush has failed (nothing more is
  // written then).
  bool Write(std::string_view bytes);
  // Hands what the stream buffers to the system; false once anything failed.
  bool Flush();
  // The system's reason for the first failure (an errno value), or 0.
  int error() const { return error_; }

 private:
  bool Failed();  // remembers errno (EIO when it says nothing)

  std::FILE* stream_;
  int error_;
  WriteFunction write_;
};

// Says "PROGRAM: cannot write WHAT: REASON" (REASON the system's text for
// `error`) on `err` (standard error unless a test gives another), and returns
// 1, the status of a failed output.
int CannotWrite(std::string_view program, std::string_view what, int error,
                std::FILE* err = stderr);

}  // namespace grouper
