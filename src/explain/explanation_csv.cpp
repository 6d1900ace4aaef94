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
         "patient_name,resident_number,doctor_name,nurse_name\r\n";
}

std::string CsvRow(const LineExplanation& e, const ExplainOptions& options) {
  const LineAnswer& a = e.answer;
  std::string row;
  Cell(row, options.line_number ? std::to_string(*options.line_number) : "");
  Cell(row, LayoutName(a.family));
  Cell(row, Printable(a.form_version));
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
  return row + "\r\n";
}

}  // namespace grouper
