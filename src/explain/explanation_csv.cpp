#include "explain/explanation_csv.h"

#include "explain/explanation_parts.h"
#include "text/cp949.h"

namespace grouper {

namespace {

using namespace explain_parts;

void Cell(std::string& row, std::string_view utf8) {
  if (!row.empty()) row += ',';
  row += '"';
  if (!utf8.empty() && (utf8[0] == '=' || utf8[0] == '+' || utf8[0] == '-' || utf8[0] == '@')) {
    row += '\'';
  }
  for (std::size_t at = 0;;) {
    const std::size_t quote = utf8.find('"', at);
    row.append(utf8.substr(at, quote == std::string_view::npos ? quote : quote + 1 - at));
    if (quote == std::string_view::npos) break;
    row += '"';
    at = quote + 1;
  }
  row += '"';
}

}  // namespace

std::string CsvHeader() {
  return "\xEF\xBB\xBF"
         "line,layout,form_version,result,group_code,message,fault_count,faults,"
         "patient_name,resident_number,doctor_name,nurse_name,fault_items\r\n";
}

namespace {

// The row of a line from what it shows: the answer, the faults of a rejected
// line, and the identifiers of a parsed record (none when `ids` is null).
std::string TableRow(const LineAnswer& a, const std::vector<ExplainedFault>& faults_of_line,
                     const Identifiers* ids_of_line, const ExplainOptions& options) {
  std::string row;
  row.reserve(256);
  Cell(row, options.line_number ? std::to_string(*options.line_number) : "");
  Cell(row, LayoutName(a.family));
  // A base-layout line's first bytes are its institution code's, no version.
  Cell(row,
       a.family == Family::kBase ? FormLabel(a, Language::kKorean) : Printable(a.form_version));
  Cell(row, OutcomeName(a.outcome));
  Cell(row, a.outcome == Outcome::kGroupCode ? Printable(a.group_code) : "");
  Cell(row, a.message != nullptr ? Utf8Twin(a.message) : "");
  Cell(row, std::to_string(faults_of_line.size()));
  std::string faults;
  for (const ExplainedFault& f : faults_of_line) {
    if (!faults.empty()) faults += '\n';
    faults += Utf8Twin(f.message);
  }
  Cell(row, faults);
  const ShownIdentifiers ids =
      ids_of_line != nullptr ? Show(*ids_of_line, options.show_identifiers) : ShownIdentifiers{};
  const bool signed_form = ids_of_line != nullptr && IsFrom090(a.family);
  Cell(row, Printable(ids.patient_name));
  Cell(row, Printable(ids.resident_number));
  Cell(row, signed_form ? Printable(ids.doctor_name) : "");
  Cell(row, signed_form ? Printable(ids.nurse_name) : "");
  // Each fault's item on the form, beside its message: its field, or every
  // field its rule read (joined by "; ", since an item's name may hold a comma).
  std::string items;
  for (const ExplainedFault& f : faults_of_line) {
    if (&f != &faults_of_line.front()) items += '\n';
    if (!f.field.empty()) {
      items += ShownName(f.item_code, f.label, f.field);
      continue;
    }
    for (const Evidence& read : f.fields) {
      if (&read != &f.fields.front()) items += "; ";
      items += ShownName(read);
    }
  }
  Cell(row, items);
  return row + "\r\n";
}

}  // namespace

std::string CsvRow(const LineExplanation& e, const ExplainOptions& options) {
  return TableRow(e.answer, e.faults, e.parsed ? &e.identifiers : nullptr, options);
}

std::string CsvRowOfAnswer(const LineText& taken, std::size_t length, const LineAnswer& answer,
                           const GroupingWork& work, const ExplainOptions& options,
                           std::optional<LineExplanation>& explained) {
  explained.reset();
  switch (answer.outcome) {
    case Outcome::kWrongDataType:
      return TableRow(answer, {}, nullptr, options);
    case Outcome::kGroupCode: {
      const Identifiers ids = IdentifiersOf(work.record, answer.family, true);
      return TableRow(answer, {}, &ids, options);
    }
    case Outcome::kMessage:
      break;
  }
  explained = ExplainAnswer(taken, length, answer, work);
  return CsvRow(*explained, options);
}

}  // namespace grouper
