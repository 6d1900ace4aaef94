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
                           int output_fd, report::ReportFile& facts) {
  if (const int error = report::ReadReportFile(input_fd, generated, facts); error != 0) {
    return {error, true};
  }
  const std::string page = report::ReportFilePage(facts, input);
  ByteWriter writer(output_fd);
  errno = 0;
  writer.Write(page.data(), page.size());
  if (writer.failed() || !writer.Flush()) return {Reason(), false};
  return {};
}

}  // namespace grouper::month
