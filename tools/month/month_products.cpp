#include "month_products.h"

#include <grouper/grouper.h>

#include <cerrno>
#include <string>

#include "batch/byte_io.h"
#include "batch/line_stream.h"
#include "explain/explanation.h"
#include "explain/explanation_csv.h"
#include "line/group_line.h"
#include "platform/platform.h"
#include "report_input.h"
#include "report_page.h"
#include "text/utf8.h"

namespace grouper::month {

namespace {

int Reason() {
  return errno != 0 ? errno : EIO;
}

}  // namespace

PassResult WriteResultFile(int input_fd, int output_fd) {
  switch (ProcessStream(input_fd, output_fd, kNoConsole)) {
    case StreamResult::kComplete:
      return {};
    case StreamResult::kReadError:
      return {EIO, true};  // the workers' reads leave no errno to trust here
    case StreamResult::kWriteError:
      break;
  }
  return {EIO, false};
}

PassResult WriteExplanationTable(int input_fd, int output_fd, uint64_t& lines) {
  LineReader reader(input_fd);
  ByteWriter writer(output_fd);
  // The system's reason of a failed write is errno right after it.
  auto write = [&writer](const std::string& bytes) {
    errno = 0;
    writer.Write(bytes.data(), bytes.size());
    return !writer.failed();
  };
  ExplainOptions options;  // grouper-explain's defaults: Korean, identifiers masked
  if (!write(CsvHeader())) return {Reason(), false};
  char line[kLineBufferSize];
  lines = 0;
  for (;;) {
    errno = 0;
    const std::size_t read = reader.ReadLine(line);
    if (read == 0) {
      if (reader.failed()) return {Reason(), true};
      break;
    }
    options.line_number = ++lines;
    if (!write(CsvRow(ExplainLine(line, read), options))) return {Reason(), false};
  }
  errno = 0;
  if (!writer.Flush()) return {Reason(), false};
  return {};
}

PassResult WriteReportPage(int input_fd, std::string_view input, std::time_t generated,
                           int output_fd, ReportFacts& facts) {
  auto work = std::make_unique<GroupingWork>();
  char read_bytes[kLineBufferSize] = {};
  uint64_t number = 0;
  report::FilingInfo filing;
  {
    report::ReportInput reader(input_fd);
    for (;;) {
      const std::size_t read = reader.ReadLine(read_bytes);
      if (read == 0) break;
      facts.warnings.Add(read_bytes, read);
      report::TallyLine(*facts.tally, read_bytes, read, ++number, *work);
    }
    if (reader.error() != 0) return {reader.error(), true};
    filing.file_size = reader.size();
    filing.sha256 = reader.Sha256HexDigest();
  }
  facts.warnings.Finish();
  filing.generated = report::Iso8601Local(generated);
  filing.version = grouper_version();
  for (const char* name : facts.warnings.Names()) filing.warnings.emplace_back(name);
  // The page is strict UTF-8: a byte of the name that is not is shown as \xNN.
  const std::string page =
      report::RenderPage(*facts.tally, {utf8::Escaped(platform::FileNamePart(input)), filing});
  ByteWriter writer(output_fd);
  errno = 0;
  writer.Write(page.data(), page.size());
  if (writer.failed() || !writer.Flush()) return {Reason(), false};
  return {};
}

}  // namespace grouper::month
