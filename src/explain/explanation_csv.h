// The explanation as a table for spreadsheets: one row per line, RFC 4180.
//
// The table is UTF-8 and opens with a byte-order mark, so that a spreadsheet
// program reads its Hangul as such; rows end in CR LF; every cell is quoted
// and a quote inside it doubled. The columns: line, layout, form_version (a
// version code, or "기본 서식" for a line of the base layout), result,
// group_code, message, fault_count, faults (every fault's message, joined by
// line feeds), the identifiers, masked unless asked for, and fault_items (each
// fault's item code and name on the form, one line per fault: its field, or
// the fields its rule read joined by "; "; empty for a fault of the framing). Bytes
// of the record are converted as in the text for people (control bytes as
// \xNN), so a cell holds no line end but the line feeds between faults; a
// cell that a spreadsheet would take for a formula (beginning with = + - @)
// gets a leading apostrophe.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "explain/explanation.h"

namespace grouper {

// The byte-order mark and the header row, with its CR LF.
std::string CsvHeader();

// The row of one explained line, with its CR LF.
std::string CsvRow(const LineExplanation& e, const ExplainOptions& options);

// The same row of a line that GroupLine took (`taken`, from `length` bytes)
// and answered (`answer`, `work`), made from no more than it shows: a grouped
// or wrong-data-type line's from its answer and record alone. A rejected
// line's row shows its faults, so its explanation is made (ExplainAnswer) and
// left in `explained` for a caller that shows more of it; otherwise
// `explained` is left empty.
std::string CsvRowOfAnswer(const LineText& taken, std::size_t length, const LineAnswer& answer,
                           const GroupingWork& work, const ExplainOptions& options,
                           std::optional<LineExplanation>& explained);
// The same row, appended to `table`.
void AppendCsvRowOfAnswer(std::string& table, const LineText& taken, std::size_t length,
                          const LineAnswer& answer, const GroupingWork& work,
                          const ExplainOptions& options, std::optional<LineExplanation>& explained);

}  // namespace grouper
