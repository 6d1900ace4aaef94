#include "month_products.h"

#include <cerrno>
#include <memory>
#include <optional>
#include <string>

#include "batch/byte_io.h"
#include "explain/explanation.h"
#include "explain/explanation_csv.h"
#include "line/group_line.h"
#include "platform/platform.h"
#include "report_input.h"

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

std::array<PassResult, 2> WriteResultAndTable(int input_fd, platform::ReplacementFile& result,
                                              platform::ReplacementFile& table, uint64_t& lines,
                                              report::ReportFile& facts) {
  Output out(result);
  Output csv(table);
  out.bytes.reserve(kBlock + kMaxComposedLine);
  csv.bytes.reserve(kBlock + (1 << 16));
  // The table gives way: its file goes, and its space with it, so that the
  // result file is written as if it were the only one.
  auto give_up_table = [&](int error) {
    if (csv.error == 0) csv.error = error;
    table.Abandon();
  };
  auto drain_result = [&](bool all) {
    if (out.Drain(all)) return true;
    if (!DiskFull(out.error) || csv.error != 0) return false;
    give_up_table(out.error);
    out.error = 0;
    return out.Drain(all);
  };

  ExplainOptions options;  // grouper-explain's defaults: Korean, identifiers masked
  csv.bytes = CsvHeader();
  auto buffer = std::make_unique<LineBuffer>();
  auto work = std::make_unique<GroupingWork>();
  char read[kLineBufferSize];
  std::optional<LineExplanation> explained;
  lines = 0;
  report::ReportInput reader(input_fd);
  for (;;) {
    const std::size_t length = reader.ReadLine(read);
    if (length == 0) break;
    ++lines;
    LineAnswer answer;
    const LineText taken = GroupLine(read, length, *buffer, *work, answer);
    char composed[kMaxComposedLine];
    out.bytes.append(composed, ComposeOutputLine(taken.text, answer, composed));
    if (!drain_result(false)) break;
    if (csv.error != 0) continue;  // neither the table nor the report is made
    options.line_number = lines;
    csv.bytes += CsvRowOfAnswer(taken, length, answer, *work, options, explained);
    if (!csv.Drain(false)) {
      give_up_table(csv.error);
      continue;
    }
    facts.warnings.Add(read, length);
    const report::ReportTally& tally = *facts.tally;
    if (!explained && report::WantsExplanation(tally, answer.outcome)) {
      explained = ExplainAnswer(taken, length, answer, *work);
    }
    report::TallyAnswer(*facts.tally, answer, *work, lines, explained ? &*explained : nullptr);
  }
  std::array<PassResult, 2> ended;
  if (out.error == 0 && reader.error() != 0) {
    ended[0] = {reader.error(), true};
  } else if (out.error != 0 || !drain_result(true)) {
    ended[0] = {out.error, false};
  }
  if (ended[0].error != 0) return ended;
  if (csv.error == 0 && !csv.Drain(true)) give_up_table(csv.error);
  if (csv.error != 0) {
    ended[1] = {csv.error, false};
    return ended;
  }
  report::FinishReportFile(reader, facts);
  return ended;
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
