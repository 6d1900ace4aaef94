#include "month_products.h"

#include <atomic>
#include <cerrno>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "batch/byte_io.h"
#include "batch/ordered_runs.h"
#include "explain/explanation.h"
#include "explain/explanation_csv.h"
#include "line/group_line.h"
#include "line/input_warnings.h"
#include "platform/platform.h"
#include "report_input.h"
#include "report_tally.h"
#include "util/mutex.h"
#include "util/thread_annotations.h"

namespace grouper::month {

namespace {

constexpr std::size_t kBlock = 1 << 20;

// A product's bytes on their way to its file, a block at a time.
struct Output {
  explicit Output(platform::ReplacementFile& product) : file(&product) {}

  platform::ReplacementFile* file;
  std::string bytes;
  int error = 0;  // the system's reason of the write that failed

  // Writes what is buffered once it reaches a block, or everything when
  // `all`; false once a write has failed.
  bool Drain(bool all) {
    if (error != 0) return false;
    if (!all && bytes.size() < kBlock) return true;
    std::size_t done = 0;
    while (done < bytes.size()) {
      errno = 0;
      const long long n = platform::Write(file->fd(), bytes.data() + done, bytes.size() - done);
      if (n <= 0) {
        error = errno != 0 ? errno : EIO;
        bytes.erase(0, done);  // what is left, for another try
        return false;
      }
      done += static_cast<std::size_t>(n);
    }
    bytes.clear();
    return true;
  }
};

bool DiskFull(int error) {
  return error == ENOSPC
#ifdef EDQUOT
         || error == EDQUOT
#endif
      ;
}

}  // namespace

namespace {

// A run of consecutive lines in one worker's hands: their reads, one after
// another in one block, then what each product makes of them.
struct MonthRun {
  MonthRun(std::size_t max_lines, std::size_t read_bytes)
      : reads(new char[read_bytes]),
        read_capacity(read_bytes),
        lengths(max_lines),
        composed(new char[max_lines * kMaxComposedLine]),
        answered(max_lines),
        explained(max_lines) {}

  std::unique_ptr<char[]> reads;
  std::size_t read_capacity;
  std::vector<std::size_t> lengths;
  std::size_t count = 0;
  uint64_t lines_before = 0;         // lines of the input before this run
  uint64_t sequence = 0;             // the run's place among the runs read
  std::unique_ptr<char[]> composed;  // the result lines
  std::size_t composed_length = 0;
  std::string table;  // the rows, when the table is still made
  bool rows = false;
  std::vector<report::AnsweredLine> answered;  // for the report's tally
  // The explanation of a line that the tally may want (its first rejected
  // records and wrong-data-type lines), else empty.
  std::vector<std::optional<LineExplanation>> explained;
  LineBuffer line;  // the line being answered
  GroupingWork work;
  LineAnswer answer;
};

class MonthStream {
 public:
  MonthStream(int input_fd, std::size_t input_block, platform::ReplacementFile& result,
              platform::ReplacementFile& table, report::ReportFile& facts)
      : reader_(input_fd, input_block),
        warnings_(facts.warnings),
        out_(result),
        csv_(table),
        table_(table),
        facts_(facts) {
    out_.bytes.reserve(kBlock + kBlock / 2);
    csv_.bytes.reserve(kBlock + kBlock / 2);
    csv_.bytes = CsvHeader(CsvTable::kKorean);
  }

  // One worker: takes runs until the input ends or the result cannot be written.
  void Work(MonthRun& run) {
    while (Read(run)) {
      Answer(run);
      Write(run);
    }
  }

  // Once every worker has ended: how each product ended (WriteResultAndTable).
  std::array<PassResult, 2> Finish(uint64_t& lines) EXCLUDES(read_mutex_) {
    uint64_t runs;
    {
      MutexLock lock(read_mutex_);
      runs = runs_read_;
      lines = lines_read_;
    }
    turn_.Take(runs);
    std::array<PassResult, 2> ended = FinishProducts();
    turn_.Pass();
    return ended;
  }

 private:
  bool Read(MonthRun& run) EXCLUDES(read_mutex_) {
    MutexLock lock(read_mutex_);
    if (input_ended_ || stopped_.load(std::memory_order_relaxed)) return false;
    InputWarnings* const warnings = &warnings_;  // held: the lock is ours until the run is read
    run.count =
        ReadRun(reader_, run.reads.get(), run.read_capacity, run.lengths.size(), input_ended_,
                [&run, warnings](std::size_t i, const char* bytes, std::size_t read) {
                  warnings->Add(bytes, read);
                  run.lengths[i] = read;
                });
    if (run.count == 0) return false;
    run.lines_before = lines_read_;
    lines_read_ += run.count;
    run.sequence = runs_read_++;
    return true;
  }

  void Answer(MonthRun& run) {
    // Once the table has given way, neither it nor the report is made.
    run.rows = !table_dropped_.load(std::memory_order_relaxed);
    const bool details = want_details_.load(std::memory_order_relaxed);
    const bool reasons = want_reasons_.load(std::memory_order_relaxed);
    ExplainOptions options;  // grouper-explain's defaults: Korean, identifiers masked
    run.table.clear();
    const char* read = run.reads.get();
    char* out = run.composed.get();
    for (std::size_t i = 0; i < run.count; ++i) {
      const std::size_t length = run.lengths[i];
      const LineText taken = GroupLine(read, length, run.line, run.work, run.answer);
      read += length;
      out += ComposeOutputLine(taken.text, run.answer, out);
      if (!run.rows) continue;
      options.line_number = run.lines_before + i + 1;
      std::optional<LineExplanation>& explained = run.explained[i];
      AppendCsvRowOfAnswer(run.table, taken, length, run.answer, run.work, options, explained,
                           CsvTable::kKorean);
      run.answered[i] = report::AnsweredLineOf(run.answer, run.work);
      if (run.answer.outcome == Outcome::kMessage && !details) {
        explained.reset();
      } else if (run.answer.outcome == Outcome::kWrongDataType && reasons && !explained) {
        explained = ExplainAnswer(taken, length, run.answer, run.work);
      }
    }
    run.composed_length = static_cast<std::size_t>(out - run.composed.get());
  }

  void Write(const MonthRun& run) {
    turn_.Take(run.sequence);
    if (!stopped_.load(std::memory_order_relaxed)) {
      out_.bytes.append(run.composed.get(), run.composed_length);
      if (!DrainResult(false)) {
        stopped_.store(true, std::memory_order_relaxed);
      } else if (csv_.error == 0) {
        csv_.bytes += run.table;
        if (!csv_.Drain(false)) {
          GiveUpTable(csv_.error);
        } else {
          Tally(run);
        }
      }
    }
    turn_.Pass();
  }

  void Tally(const MonthRun& run) REQUIRES(turn_) {
    report::ReportTally& tally = *facts_.tally;
    for (std::size_t i = 0; i < run.count; ++i) {
      const report::AnsweredLine& line = run.answered[i];
      const bool wanted = report::WantsExplanation(tally, line.answer.outcome);
      report::TallyAnswered(tally, line, run.lines_before + i + 1,
                            wanted ? &*run.explained[i] : nullptr);
    }
    // A run answered from now on comes after this one: what the tally no
    // longer wants, no worker makes.
    if (!report::WantsExplanation(tally, Outcome::kMessage))
      want_details_.store(false, std::memory_order_relaxed);
    if (!report::WantsExplanation(tally, Outcome::kWrongDataType))
      want_reasons_.store(false, std::memory_order_relaxed);
  }

  // The table gives way: its file goes, and its space with it, so that the
  // result file is written as if it were the only one.
  void GiveUpTable(int error) REQUIRES(turn_) {
    if (csv_.error == 0) csv_.error = error;
    table_.Abandon();
    table_dropped_.store(true, std::memory_order_relaxed);
  }

  bool DrainResult(bool all) REQUIRES(turn_) {
    if (out_.Drain(all)) return true;
    if (!DiskFull(out_.error) || csv_.error != 0) return false;
    GiveUpTable(out_.error);
    out_.error = 0;
    return out_.Drain(all);
  }

  std::array<PassResult, 2> FinishProducts() REQUIRES(turn_) EXCLUDES(read_mutex_) {
    std::array<PassResult, 2> ended;
    int read_error;
    {
      MutexLock lock(read_mutex_);
      read_error = reader_.error();
    }
    if (out_.error == 0 && read_error != 0) {
      ended[0] = {read_error, true};
    } else if (out_.error != 0 || !DrainResult(true)) {
      ended[0] = {out_.error, false};
    }
    if (ended[0].error != 0) return ended;
    if (csv_.error == 0 && !csv_.Drain(true)) GiveUpTable(csv_.error);
    if (csv_.error != 0) {
      ended[1] = {csv_.error, false};
      return ended;
    }
    MutexLock lock(read_mutex_);
    report::FinishReportFile(reader_, facts_);
    return ended;
  }

  Mutex read_mutex_;
  report::ReportInput reader_ GUARDED_BY(read_mutex_);
  InputWarnings& warnings_ GUARDED_BY(read_mutex_);
  bool input_ended_ GUARDED_BY(read_mutex_) = false;
  uint64_t lines_read_ GUARDED_BY(read_mutex_) = 0;
  uint64_t runs_read_ GUARDED_BY(read_mutex_) = 0;

  // Only the run whose turn it is touches the products and the tally.
  WriteTurn turn_;
  Output out_ GUARDED_BY(turn_);
  Output csv_ GUARDED_BY(turn_);
  platform::ReplacementFile& table_ GUARDED_BY(turn_);
  report::ReportFile& facts_ GUARDED_BY(turn_);

  std::atomic<bool> stopped_{false};        // the result could not be written
  std::atomic<bool> table_dropped_{false};  // the table gave way
  std::atomic<bool> want_details_{true};    // the tally still wants rejected records' details
  std::atomic<bool> want_reasons_{true};    // and wrong-data-type lines' reasons
};

}  // namespace

std::array<PassResult, 2> WriteResultAndTable(int input_fd, platform::ReplacementFile& result,
                                              platform::ReplacementFile& table, uint64_t& lines,
                                              report::ReportFile& facts, const RunShape& shape) {
  const std::size_t run_lines = shape.run_lines > 0 ? shape.run_lines : 1;
  const std::size_t read_bytes =
      shape.run_bytes > kLineBufferSize ? shape.run_bytes : kLineBufferSize;
  auto stream = std::make_unique<MonthStream>(input_fd, shape.input_block, result, table, facts);
  std::vector<std::unique_ptr<MonthRun>> runs;
  for (int i = 0; i < WorkerCount(shape.workers); ++i)
    runs.push_back(std::make_unique<MonthRun>(run_lines, read_bytes));
  OnWorkers(static_cast<int>(runs.size()), [&stream, &runs](int i) { stream->Work(*runs[i]); });
  return stream->Finish(lines);
}

PassResult WriteReportPage(report::ReportFile& facts, std::string_view input, std::time_t generated,
                           int output_fd) {
  report::SetGenerated(facts, generated);
  const std::string page = report::ReportFilePage(facts, input);
  ByteWriter writer(output_fd);
  writer.Write(page.data(), page.size());
  if (writer.failed() || !writer.Flush()) return {writer.error(), false};
  return {};
}

}  // namespace grouper::month
