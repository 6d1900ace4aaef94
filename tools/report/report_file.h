// A month's file read whole into its report: every line tallied as the batch
// answers it, the wrong-file signs, and the filing details (size, SHA-256,
// the time the page is made, the library's version). grouper-report and
// grouper-month both make their page from this, so that the two pages of the
// same file are the same bytes but for the time each names.
#pragma once

#include <ctime>
#include <memory>
#include <string>
#include <string_view>

#include "line/input_warnings.h"
#include "report_filing.h"
#include "report_input.h"
#include "report_tally.h"
#include "util/local_time.h"

namespace grouper::report {

struct ReportFile {
  std::unique_ptr<ReportTally> tally = std::make_unique<ReportTally>();
  InputWarnings warnings;
  FilingInfo filing;
};

// Reads `fd` (open for reading; the caller closes it) to its end into
// `report`, made at `generated`. Returns 0, or the system's reason (errno)
// when a read failed.
int ReadReportFile(int fd, std::time_t generated, ReportFile& report);

// The steps of ReadReportFile after the last read, for a caller that reads
// the file itself (each read into `report.warnings` and TallyAnswer): the
// file's size and SHA-256 from `reader`, which read it all without failing,
// and the warnings' and the library's names for the filing.
void FinishReportFile(ReportInput& reader, ReportFile& report);
// The time the page names: `generated` in the local time zone, or a local
// time and offset that the caller knows otherwise (util/local_time.h).
void SetGenerated(ReportFile& report, std::time_t generated);
void SetGenerated(ReportFile& report, const LocalTime& generated);

// The page of a file read, which shows the last component of `path`, the
// input's name (strict UTF-8: a byte of it that is not is shown as \xNN).
std::string ReportFilePage(const ReportFile& report, std::string_view path);

}  // namespace grouper::report
