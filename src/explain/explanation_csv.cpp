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
  for (const char c : utf8) {
    if (c == '"') row += '"';
    row += c;
  }
  row += '"';
}

}  // namespace

std::string CsvHeader() {
  return "\xEF\xBB\xBF"
         "line,layout,form_version,result,group_code,message,fault_count,faults,"
         "patient_name,resident_number,doctor_name,nurse_name,fault_items\r\n";
}

std::string CsvRow(const LineExplanation& e, const ExplainOptions& options) {
  const LineAnswer& a = e.answer;
  std::string row;
  Cell(row, options.line_number ? std::to_string(*options.line_number) : "");
  Cell(row, LayoutName(a.family));
  // A base-layout line's first bytes are its institution code's, no version.
  Cell(row,
       a.family == Family::kBase ? FormLabel(a, Language::kKorean) : Printable(a.form_version));
  Cell(row, OutcomeName(a.outcome));
  Cell(row, a.outcome == Outcome::kGroupCode ? Printable(a.group_code) : "");
  Cell(row, a.message != nullptr ? Utf8Twin(a.message) : "");
  Cell(row, std::to_string(e.faults.size()));
  std::string faults;
  for (const ExplainedFault& f : e.faults) {
    if (!faults.empty()) faults += '\n';
    faults += Utf8Twin(f.message);
  }
  Cell(row, faults);
  const ShownIdentifiers ids =
      e.parsed ? Show(e.identifiers, options.show_identifiers) : ShownIdentifiers{};
  const bool signed_form = e.parsed && IsFrom090(a.family);
  Cell(row, Printable(ids.patient_name));
  Cell(row, Printable(ids.resident_number));
  Cell(row, signed_form ? Printable(ids.doctor_name) : "");
  Cell(row, signed_form ? Printable(ids.nurse_name) : "");
  // Each fault's item on the form, beside its message: its field, or every
  // field its rule read (joined by "; ", since an item's name may hold a comma).
  std::string items;
  for (const ExplainedFault& f : e.faults) {
    if (&f != &e.faults.front()) items += '\n';
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

}  // namespace grouper
