// grouper-explain --csv's rows, made on both processors where there are two:
// the lines are taken in runs and answered as the batch answers them
// (batch/ordered_runs.h), and each run's rows are written when every earlier
// run's have been, so the table is the same bytes as one worker makes,
// whatever the number of workers or the length of a run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "explain/explanation.h"
#include "explain/explanation_csv.h"
#include "line/input_warnings.h"
#include "util/stream_output.h"

namespace grouper::explain_tool {

struct TableShape {
  int workers = 0;  // 0: as many as the batch takes (WorkerCount)
  std::size_t run_lines = 1024;
  std::size_t run_bytes = 512 * 1024;
};

struct TableEnd {
  bool written = true;  // false once a write to `out` failed
  int read_error = 0;   // the system's reason of a failed read of the input
};

// Writes to `out` the row (in the language of `table`) of each line of
// `input_fd` whose number `picked` picks, numbered from 1 as the batch splits
// the lines, with `options`' identifiers. Every read goes to `warnings`; each
// sign of a wrong file that shows at a line goes to `warn` (which says it, false when
// it could not) before that line's row is written. Stops at the end of the
// input, a failed read or the first failed write; `out` is not flushed.
TableEnd WriteTableRows(int input_fd, StreamOutput& out, const ExplainOptions& options,
                        CsvTable table, const std::function<bool(uint64_t)>& picked,
                        InputWarnings& warnings, const std::function<void(const char*)>& warn,
                        const TableShape& shape = {});

}  // namespace grouper::explain_tool
