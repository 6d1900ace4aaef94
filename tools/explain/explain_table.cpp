#include "explain_table.h"

#include <atomic>
#include <cerrno>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "batch/byte_io.h"
#include "batch/ordered_runs.h"
#include "line/group_line.h"
#include "util/mutex.h"
#include "util/thread_annotations.h"

namespace grouper::explain_tool {

namespace {

// A run of consecutive lines in one worker's hands: their reads, one after
// another in one block, then their rows.
struct TableRun {
  TableRun(std::size_t max_lines, std::size_t read_bytes)
      : reads(new char[read_bytes]),
        read_capacity(read_bytes),
        lengths(max_lines),
        row_ends(max_lines) {}

  std::unique_ptr<char[]> reads;
  std::size_t read_capacity;
  std::vector<std::size_t> lengths;
  std::size_t count = 0;
  uint64_t lines_before = 0;  // lines of the input before this run
  uint64_t sequence = 0;      // the run's place among the runs read
  std::string rows;
  std::vector<std::size_t> row_ends;  // where each line's row (if any) ends in `rows`
  // The signs of a wrong file that showed at a line of the run: its index, the sign.
  std::vector<std::pair<std::size_t, const char*>> signs;
  LineBuffer line;  // the line being answered
  GroupingWork work;
  LineAnswer answer;
  std::optional<LineExplanation> explained;
};

class TableStream {
 public:
  TableStream(int input_fd, StreamOutput& out, const ExplainOptions& options, CsvTable table,
              const std::function<bool(uint64_t)>& picked, InputWarnings& warnings,
              const std::function<void(const char*)>& warn)
      : options_(options),
        table_(table),
        picked_(picked),
        reader_(input_fd),
        warnings_(warnings),
        out_(out),
        warn_(warn) {}

  void Work(TableRun& run) {
    while (Read(run)) {
      Answer(run);
      Write(run);
    }
  }

  TableEnd End() EXCLUDES(read_mutex_) {
    MutexLock lock(read_mutex_);
    return {!stopped_.load(),
            reader_.failed() ? (reader_.error() != 0 ? reader_.error() : EIO) : 0};
  }

 private:
  bool Read(TableRun& run) EXCLUDES(read_mutex_) {
    MutexLock lock(read_mutex_);
    if (input_ended_ || stopped_.load(std::memory_order_relaxed)) return false;
    InputWarnings* const warnings = &warnings_;  // held: the lock is ours until the run is read
    run.signs.clear();
    run.count =
        ReadRun(reader_, run.reads.get(), run.read_capacity, run.lengths.size(), input_ended_,
                [&run, warnings](std::size_t i, const char* bytes, std::size_t read) {
                  warnings->Add(bytes, read);
                  for (const char* sign : warnings->NewNames()) run.signs.emplace_back(i, sign);
                  run.lengths[i] = read;
                });
    if (run.count == 0) return false;
    run.lines_before = lines_read_;
    lines_read_ += run.count;
    run.sequence = runs_read_++;
    return true;
  }

  void Answer(TableRun& run) {
    ExplainOptions options = options_;
    run.rows.clear();
    const char* read = run.reads.get();
    for (std::size_t i = 0; i < run.count; ++i) {
      const std::size_t length = run.lengths[i];
      const uint64_t number = run.lines_before + i + 1;
      if (picked_(number)) {
        options.line_number = number;
        // A row shows little of a grouped line: it is made from the answer.
        const LineText taken = GroupLine(read, length, run.line, run.work, run.answer);
        AppendCsvRowOfAnswer(run.rows, taken, length, run.answer, run.work, options, run.explained,
                             table_);
      }
      read += length;
      run.row_ends[i] = run.rows.size();
    }
  }

  void Write(const TableRun& run) {
    turn_.Take(run.sequence);
    if (!stopped_.load(std::memory_order_relaxed)) {
      std::size_t written = 0;
      // A sign is said after the rows of the lines before its own.
      for (const auto& [index, sign] : run.signs) {
        const std::size_t end = index > 0 ? run.row_ends[index - 1] : 0;
        if (!out_.Write(std::string_view(run.rows).substr(written, end - written))) break;
        written = end;
        warn_(sign);
      }
      if (out_.error() != 0 || !out_.Write(std::string_view(run.rows).substr(written)))
        stopped_.store(true, std::memory_order_relaxed);
    }
    turn_.Pass();
  }

  const ExplainOptions options_;
  const CsvTable table_;
  const std::function<bool(uint64_t)>& picked_;

  Mutex read_mutex_;
  LineReader reader_ GUARDED_BY(read_mutex_);
  InputWarnings& warnings_ GUARDED_BY(read_mutex_);
  bool input_ended_ GUARDED_BY(read_mutex_) = false;
  uint64_t lines_read_ GUARDED_BY(read_mutex_) = 0;
  uint64_t runs_read_ GUARDED_BY(read_mutex_) = 0;

  // Only the run whose turn it is writes, or says a sign.
  WriteTurn turn_;
  StreamOutput& out_ GUARDED_BY(turn_);
  const std::function<void(const char*)>& warn_;

  std::atomic<bool> stopped_{false};  // `out` could not be written
};

}  // namespace

TableEnd WriteTableRows(int input_fd, StreamOutput& out, const ExplainOptions& options,
                        CsvTable table, const std::function<bool(uint64_t)>& picked,
                        InputWarnings& warnings, const std::function<void(const char*)>& warn,
                        const TableShape& shape) {
  const std::size_t run_lines = shape.run_lines > 0 ? shape.run_lines : 1;
  const std::size_t read_bytes =
      shape.run_bytes > kLineBufferSize ? shape.run_bytes : kLineBufferSize;
  auto stream =
      std::make_unique<TableStream>(input_fd, out, options, table, picked, warnings, warn);
  std::vector<std::unique_ptr<TableRun>> runs;
  for (int i = 0; i < WorkerCount(shape.workers); ++i)
    runs.push_back(std::make_unique<TableRun>(run_lines, read_bytes));
  OnWorkers(static_cast<int>(runs.size()), [&stream, &runs](int i) { stream->Work(*runs[i]); });
  return stream->End();
}

}  // namespace grouper::explain_tool
