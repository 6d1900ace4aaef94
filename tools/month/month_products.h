// The three products of a month's file, made from one reading of it: each
// line is read once and answered once by the batch's own GroupLine, and that
// answer makes its line of the result file (as the batch writes it), its row
// of the explanation table (as grouper-explain --csv-ko writes it) and its count
// in the report (as grouper-report tallies it); the file's size, SHA-256 and
// signs of a wrong file come from the same reads. So each product is, byte
// for byte, what that program writes for the same file (the page but for the
// time it names). Nothing here prints anything.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string_view>

#include "platform/replace_file.h"
#include "report_file.h"

namespace grouper::month {

// How a product ended: `error` 0 when it was written, else the system's
// reason (errno), `in_input` saying whether reading the input or writing the
// product failed.
struct PassResult {
  int error = 0;
  bool in_input = false;
};

// Reads `input_fd` from where it stands to its end, once, writing the result
// file to `result` and the explanation table to `table` (each open and not
// yet finished), counting the lines in `lines` and gathering the report's
// facts (tally, signs, size, SHA-256; not the time) in `facts`. Returns how
// each of the two ended, as if each had been made on its own in turn: a read
// that fails is the result file's failure, since reading stops there; a
// product that cannot be written ends the work for the products after it.
// Where the disk fills, the table gives way to the result file: its
// temporary file is abandoned, and the result file, written whole if it fits
// alone, keeps being written, so the product reported is the one that would
// not fit after the ones before it. Both are flushed, neither finished.
//
// The lines are answered on both processors where there are two, in runs
// (batch/ordered_runs.h), and written in input order: the bytes are the same
// whatever `shape` says.
struct RunShape {
  int workers = 0;  // 0: as many as the batch takes (WorkerCount)
  std::size_t run_lines = 1024;
  std::size_t run_bytes = 512 * 1024;
  std::size_t input_block = 1 << 20;  // the input is read this many bytes at a time
};
std::array<PassResult, 2> WriteResultAndTable(int input_fd, platform::ReplacementFile& result,
                                              platform::ReplacementFile& table, uint64_t& lines,
                                              report::ReportFile& facts,
                                              const RunShape& shape = {});

// The report page, as `grouper-report INPUT PAGE` writes it for an input of
// the path `input` (the page shows its file name), from the facts of
// WriteResultAndTable, made at `generated`.
PassResult WriteReportPage(report::ReportFile& facts, std::string_view input, std::time_t generated,
                           int output_fd);

}  // namespace grouper::month
