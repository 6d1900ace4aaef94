#include "report_file.h"

#include <cstdint>

#include "grouper/grouper.h"
#include "line/group_line.h"
#include "platform/platform.h"
#include "report_input.h"
#include "report_page.h"
#include "text/utf8.h"
#include "util/local_time.h"

namespace grouper::report {

int ReadReportFile(int fd, std::time_t generated, ReportFile& report) {
  auto work = std::make_unique<GroupingWork>();
  char read_bytes[kLineBufferSize] = {};
  uint64_t number = 0;
  {
    // Each block of the file is hashed on a second thread while its lines
    // are tallied here.
    ReportInput reader(fd);
    for (;;) {
      const std::size_t read = reader.ReadLine(read_bytes);
      if (read == 0) break;
      report.warnings.Add(read_bytes, read);
      TallyLine(*report.tally, read_bytes, read, ++number, *work);
    }
    if (reader.error() != 0) return reader.error();
    FinishReportFile(reader, report);
  }
  SetGenerated(report, generated);
  return 0;
}

void FinishReportFile(ReportInput& reader, ReportFile& report) {
  report.filing.file_size = reader.size();
  report.filing.sha256 = reader.Sha256HexDigest();
  report.warnings.Finish();
  report.filing.version = grouper_version();
  for (const char* name : report.warnings.Names()) report.filing.warnings.emplace_back(name);
}

void SetGenerated(ReportFile& report, std::time_t generated) {
  SetGenerated(report, LocalTimeOf(generated));
}

void SetGenerated(ReportFile& report, const LocalTime& generated) {
  report.filing.generated = Iso8601(generated);
  report.filing.generated_shown = ClerkTime(generated);
}

std::string ReportFilePage(const ReportFile& report, std::string_view path) {
  return RenderPage(*report.tally, {utf8::Escaped(platform::FileNamePart(path)), report.filing});
}

}  // namespace grouper::report
