// The monthly report as one self-contained HTML page, from a ReportTally.
//
// What it promises. The page is UTF-8 and stands alone: its style and its
// charts (inline SVG) are in the page, it holds no script, and every link in
// it points to a fragment of the page itself, so that it opens from disk on a
// computer without a network and prints on A4. All text that comes from a
// record or a message is HTML-escaped (& < > " ' and control bytes). Labels are
// Korean, as the users read them.
//
// Markup that tests read: the summary element carries data-total-lines,
// data-grouped, data-rejected and data-wrong-type; each row of the
// form-version table data-form-version ("base" for the base layout) and the
// same four counts; each group code's bar data-group-code ("" for a valid
// record whose code could not be formed) and data-count; each ADL bar
// data-adl-score and data-count; each message row data-message-count; the
// details section data-details-shown and data-details-total; each detailed
// record the id "line-N" that the message list links to; and the filing
// section's attributes (report_filing.h).
#pragma once

#include <string>
#include <string_view>

#include "report_filing.h"
#include "report_tally.h"

namespace grouper::report {

struct PageInfo {
  std::string input_name;  // UTF-8, as shown in the heading
  FilingInfo filing;       // the file, the run and the warnings (see report_filing.h)
};

std::string RenderPage(const ReportTally& tally, const PageInfo& info);

// Appends `utf8` with & < > " ' as character references and every control
// byte but tab and line end as U+FFFD.
void AppendEscaped(std::string& out, std::string_view utf8);
// The same, as a string of its own.
std::string Escaped(std::string_view utf8);

}  // namespace grouper::report
