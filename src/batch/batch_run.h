// The batch run: chooses and opens the input and output files, answers every
// input line with one output line and one console line, and closes both files.
//
// Files come from exactly two arguments, or else are "grouper.in" and
// "grouper.out". When the input cannot be opened, both names are asked on the
// console, a word each as the form reads them, or a quoted name with blanks
// (platform/console_line.h); the rest of a line answers the next prompt.
// Names are taken and shown as the platform layer does (on Windows the UTF-16
// command line and console input, the console's code pages). The input is
// only ever read; an output file that is the input file itself (under any
// name) is refused before anything is truncated.
//
// Standard error gets notes for the person, in Korean (UTF-8, as
// platform/console_text.h writes it): with two arguments, a named input that
// does not open and why; with one argument or more than two, which are
// ignored, what the batch does instead and where the installed guide
// describes the batch; after the run, the signs that the input is not the
// file expected (line/input_warnings.h). They change neither the result,
// the console lines nor the exit status.
//
// Exit status: 0 when the end of the input was reached and the whole result
// file was written; 1 when a file could not be opened, the input could not be
// read or the result file could not be written completely.
#pragma once

namespace grouper {

int RunBatch(int argc, char** argv);

}  // namespace grouper
