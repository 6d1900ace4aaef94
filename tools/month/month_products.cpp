#include "month_products.h"

#include <grouper/grouper.h>

#include <string>

#include "batch/byte_io.h"
#include "batch/line_stream.h"
#include "explain/explanation.h"
#include "explain/explanation_csv.h"
#include "line/group_line.h"
#include "platform/platform.h"

namespace grouper::month {

PassResult WriteResultFile(int input_fd, int output_fd) {
  int error = 0;
  switch (ProcessStream(input_fd, output_fd, kNoConsole, StreamOptions{.error = &error})) {
    case StreamResult::kComplete:
      return {};
    case StreamResult::kReadError:
      return {error, true};
    case StreamResult::kWriteError:
      break;
  }
  return {error, false};
}

PassResult WriteExplanationTable(int input_fd, int output_fd, uint64_t& lines) {
  LineReader reader(input_fd);
  ByteWriter writer(output_fd);
  auto write = [&writer](const std::string& bytes) {
    writer.Write(bytes.data(), bytes.size());
    return !writer.failed();
  };
  ExplainOptions options;  // grouper-explain's defaults: Korean, identifiers masked
  if (!write(CsvHeader())) return {writer.error(), false};
  char line[kLineBufferSize];
  lines = 0;
  for (;;) {
    const std::size_t read = reader.ReadLine(line);
    if (read == 0) {
      if (reader.failed()) return {reader.error(), true};
      break;
    }
    options.line_number = ++lines;
    if (!write(CsvRow(ExplainLine(line, read), options))) return {writer.error(), false};
  }
  if (!writer.Flush()) return {writer.error(), false};
  return {};
}

PassResult WriteReportPage(int input_fd, std::string_view input, std::time_t generated,
                           int output_fd, report::ReportFile& facts) {
  if (const int error = report::ReadReportFile(input_fd, generated, facts); error != 0) {
    return {error, true};
  }
  const std::string page = report::ReportFilePage(facts, input);
  ByteWriter writer(output_fd);
  writer.Write(page.data(), page.size());
  if (writer.failed() || !writer.Flush()) return {writer.error(), false};
  return {};
}

}  // namespace grouper::month
