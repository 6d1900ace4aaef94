// The three products of a month's file, each made by the code that makes it
// in the program of its own: the result file by the batch's line stream, the
// explanation table by grouper-explain's rows, the report page by
// grouper-report's tally and page. So each product is, byte for byte, what
// that program writes for the same file (the page but for the time it names).
//
// Each pass reads the input from where it stands to its end (the caller
// rewinds it between passes) and writes one output; none prints anything.
#pragma once

#include <cstdint>
#include <ctime>
#include <memory>
#include <string_view>

#include "report_file.h"

namespace grouper::month {

// How a pass ended: `error` 0 when it was done, else the system's reason
// (errno), `in_input` saying whether reading the input or writing the output
// failed.
struct PassResult {
  int error = 0;
  bool in_input = false;
};

// The result file, as `grouper INPUT OUTPUT` writes it; the batch's console
// lines go nowhere.
PassResult WriteResultFile(int input_fd, int output_fd);

// The explanation table, as `grouper-explain --csv INPUT` writes it; `lines`
// counts the lines explained.
PassResult WriteExplanationTable(int input_fd, int output_fd, uint64_t& lines);

// The report page, as `grouper-report INPUT PAGE` writes it for an input of
// the path `input` (the page shows its file name), made at `generated`;
// `facts` holds what the pass learnt of the file besides the page (its tally
// and wrong-file signs).
PassResult WriteReportPage(int input_fd, std::string_view input, std::time_t generated,
                           int output_fd, report::ReportFile& facts);

}  // namespace grouper::month
