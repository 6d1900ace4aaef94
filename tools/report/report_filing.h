// The parts of the monthly report that make it fit to be filed: which file it
// was made from (name, size, SHA-256), the period and the institutions of its
// assessments, when and by which version it was made, a banner when the input
// looks like the wrong file, and the reason of each wrong-data-type line.
//
// Markup that tests read: the element with the id "filing" carries
// data-file-name, data-file-size, data-file-sha256 (lowercase hex),
// data-period-start and data-period-end (YYYYMMDD, empty when no record was
// grouped), data-generated (ISO 8601 with the offset, "2026-03-31T09:00:00+09:00"),
// data-version and data-warnings (space-separated: utf8, cr-line-ends, empty;
// empty for a normal file); each institution row data-institution-code and
// data-count; each wrong-data-type reason row data-wrong-type-line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "report_tally.h"

namespace grouper::report {

struct FilingInfo {
  uint64_t file_size = 0;
  std::string sha256;                 // lowercase hex
  std::string generated;              // ISO 8601 with the offset
  std::string generated_shown;        // the same moment as a clerk reads it (util/local_time.h)
  std::string version;                // the library's version
  std::vector<std::string> warnings;  // "utf8", "cr-line-ends", "empty"
};

// The banner of the warnings (nothing when there are none) and the filing
// section, for the page's head; `input_name` as shown (UTF-8).
void AppendFiling(std::string& out, const ReportTally& tally, const FilingInfo& info,
                  const std::string& input_name);

// The table of the wrong-data-type lines kept, with their reasons.
void AppendWrongTypeReasons(std::string& out, const ReportTally& tally);

}  // namespace grouper::report
