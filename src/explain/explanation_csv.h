// The explanation as a table for spreadsheets: one row per line, RFC 4180.
//
// The table is UTF-8 and opens with a byte-order mark, so that a spreadsheet
// program reads its Hangul as such; rows end in CR LF; every cell is quoted
// and a quote inside it doubled. The columns (kCsvColumns): line, layout,
// form_version (a version code, or "기본 서식" for a line of the base layout),
// result, group_code, message, fault_count, faults (every fault's message,
// joined by line feeds), the identifiers, masked unless asked for, and
// fault_items (each fault's item code and name on the form, one line per
// fault: its field, or the fields its rule read joined by "; "; empty for a
// fault of the framing). Bytes of the record are converted as in the text for
// people (control bytes as \xNN), so a cell holds no line end but the line
// feeds between faults; a cell that a spreadsheet would take for a formula
// (beginning with = + - @) gets a leading apostrophe.
//
// Two tables: the English one (grouper-explain --csv), whose headers and
// values programs read and which therefore never changes, and the Korean one
// for a clerk (grouper-month's, grouper-explain --csv-ko): the same columns in
// the same order, with Korean headers, the result as a clerk reads it
// (OutcomeLabel), a base-layout line's layout as "기본 서식", a
// wrong-data-type line's reason (its length and the lengths its form version
// takes) in the faults' column, and then the columns of the Korean table
// alone: each fault's value (a blank answer as "(빈칸)").
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "explain/explanation.h"

namespace grouper {

enum class CsvTable { kEnglish, kKorean };

// A column of the table: its header in the English table (nullptr: the Korean
// table's alone) and in the Korean one.
struct CsvColumn {
  const char* english;
  const char8_t* korean;
};

// The columns, in their order. A further column of the Korean table is one
// more entry here and one more cell at the end of the row.
inline constexpr CsvColumn kCsvColumns[] = {
    {"line", u8"줄"},
    {"layout", u8"배치"},
    {"form_version", u8"서식 버전"},
    {"result", u8"결과"},
    {"group_code", u8"환자군 코드"},
    {"message", u8"메시지"},
    {"fault_count", u8"오류 수"},
    {"faults", u8"오류 내용"},
    {"patient_name", u8"환자 성명"},
    {"resident_number", u8"주민등록번호"},
    {"doctor_name", u8"의사 성명"},
    {"nurse_name", u8"간호사 성명"},
    {"fault_items", u8"오류 항목"},
    {nullptr, u8"값"},
};

// The byte-order mark and the header row, with its CR LF.
std::string CsvHeader(CsvTable table = CsvTable::kEnglish);

// The row of one explained line, with its CR LF.
std::string CsvRow(const LineExplanation& e, const ExplainOptions& options,
                   CsvTable table = CsvTable::kEnglish);

// The same row of a line that GroupLine took (`taken`, from `length` bytes)
// and answered (`answer`, `work`), made from no more than it shows: a grouped
// line's from its answer and record alone, and in the English table a
// wrong-data-type line's too. A rejected line's row shows its faults, and a
// wrong-data-type line's Korean row its reason, so its explanation is made
// (ExplainAnswer) and left in `explained` for a caller that shows more of
// it; otherwise `explained` is left empty.
std::string CsvRowOfAnswer(const LineText& taken, std::size_t length, const LineAnswer& answer,
                           const GroupingWork& work, const ExplainOptions& options,
                           std::optional<LineExplanation>& explained,
                           CsvTable table = CsvTable::kEnglish);
// The same row, appended to `rows`.
void AppendCsvRowOfAnswer(std::string& rows, const LineText& taken, std::size_t length,
                          const LineAnswer& answer, const GroupingWork& work,
                          const ExplainOptions& options, std::optional<LineExplanation>& explained,
                          CsvTable table = CsvTable::kEnglish);

}  // namespace grouper
