// The batch run: chooses and opens the input and output files, answers every
// input line with one output line and one console line, and closes both files.
//
// Files come from exactly two arguments, or else are "grouper.in" and
// "grouper.out". When the input cannot be opened, both names are asked on the
// console. The input is only ever read; an output file that is the input file
// itself (under any name) is refused before anything is truncated.
//
// Exit status: 0 when the end of the input was reached and the whole result
// file was written; 1 when a file could not be opened, the input could not be
// read or the result file could not be written completely.
#pragma once

namespace grouper {

int RunBatch(int argc, char** argv);

enum class StreamResult { kComplete, kReadError, kWriteError };

// The line loop on open files: answers every line of `input_fd` with one line
// written to `output_fd` and one console line written to `console_fd` (write
// errors on the console are ignored). Stops at the end of the input, or at the
// first failed write of the result; the result is flushed but not closed.
StreamResult ProcessStream(int input_fd, int output_fd, int console_fd);

}  // namespace grouper
