#include "explain/explanation_csv.h"

#include <charconv>

#include "explain/explanation_parts.h"
#include "text/cp949.h"

namespace grouper {

namespace {

using namespace explain_parts;

// A cell: quoted, with a quote inside doubled, after a comma unless it opens
// the row (`first`).
void Cell(std::string& row, std::string_view utf8, bool first = false) {
  if (!first) row += ',';
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

// A cell of record text (code page 949), shown as Printable shows it: plain
// ASCII as it is, and other text converted straight into the row; only text
// that needs more (a control byte to escape, a quote to double, a formula's
// first character) takes Printable's and Cell's way.
void RecordCell(std::string& row, std::string_view bytes) {
  bool plain = true;
  for (const char c : bytes) plain = plain && c >= 0x20 && c < 0x7F;
  if (plain) return Cell(row, bytes);
  const std::size_t before = row.size();
  row += ",\"";
  const std::size_t start = row.size();
  cp949::AppendUtf8(row, bytes);
  bool simple = row.size() > start && row[start] != '=' && row[start] != '+' && row[start] != '-' &&
                row[start] != '@';
  for (std::size_t i = start; simple && i < row.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(row[i]);
    simple = b >= 0x20 && b != 0x7F && b != '"';
  }
  if (simple) {
    row += '"';
    return;
  }
  row.resize(before);
  Cell(row, Printable(bytes));
}

}  // namespace

std::string CsvHeader(CsvTable table) {
  std::string header = "\xEF\xBB\xBF";
  for (const CsvColumn& column : kCsvColumns) {
    const char* name =
        table == CsvTable::kKorean ? reinterpret_cast<const char*>(column.korean) : column.english;
    if (name == nullptr) continue;  // a column of the other table only
    if (header.size() > 3) header += ',';
    header += name;
  }
  return header + "\r\n";
}

namespace {

constexpr std::string_view kBlankShown = "(\xEB\xB9\x88\xEC\xB9\xB8)";  // "(빈칸)"

// A fault's value for the Korean table (UTF-8, printable): an identifier
// without its padding and masked unless `whole`, a blank answer as
// "(빈칸)" so that it shows; a rule over several fields gives each field's
// value, joined by "; " as the items are.
std::string ShownFaultValue(const ExplainedFault& f, bool whole) {
  auto shown = [](const std::string& cp949_text) {
    if (cp949_text.find_first_not_of(' ') == std::string::npos) return std::string(kBlankShown);
    return Printable(cp949_text);
  };
  if (f.value) {
    const int keep = IdentifierKeep(f.field);
    if (whole || keep < 0) return shown(*f.value);
    return shown(MaskIdentifier(f.value->substr(0, f.value->find_last_not_of(' ') + 1), keep));
  }
  std::string values;
  if (!f.field.empty()) return values;
  for (const Evidence& read : f.fields) {
    if (&read != &f.fields.front()) values += "; ";
    values += shown(ShownValue(read, whole));
  }
  return values;
}

// The row of a line from what it shows: the answer, the faults of a rejected
// line, the identifiers of a parsed record (none when `ids` is null) and, in
// the Korean table, a wrong-data-type line's reason from its explanation.
void AppendTableRow(std::string& row, const LineAnswer& a,
                    const std::vector<ExplainedFault>& faults_of_line,
                    const Identifiers* ids_of_line, const ExplainOptions& options, CsvTable table,
                    const LineExplanation* explained) {
  const bool korean = table == CsvTable::kKorean;
  char number[24];
  const std::size_t digits =
      options.line_number
          ? static_cast<std::size_t>(
                std::to_chars(number, number + sizeof number, *options.line_number).ptr - number)
          : 0;
  Cell(row, std::string_view(number, digits), true);
  // A base-layout line's first bytes are its institution code's, no version.
  const bool base = a.family == Family::kBase;
  if (korean && base) {
    Cell(row, FormLabel(a, Language::kKorean));
  } else {
    Cell(row, LayoutName(a.family));
  }
  if (base) {
    Cell(row, FormLabel(a, Language::kKorean));
  } else {
    RecordCell(row, a.form_version);
  }
  Cell(row,
       korean ? reinterpret_cast<const char*>(OutcomeLabel(a.outcome)) : OutcomeName(a.outcome));
  RecordCell(row, a.outcome == Outcome::kGroupCode ? std::string_view(a.group_code) : "");
  Cell(row, a.message != nullptr ? Utf8Twin(a.message) : "");
  const std::size_t count_digits = static_cast<std::size_t>(
      std::to_chars(number, number + sizeof number, faults_of_line.size()).ptr - number);
  Cell(row, std::string_view(number, count_digits));
  std::string faults;
  for (const ExplainedFault& f : faults_of_line) {
    if (!faults.empty()) faults += '\n';
    faults += Utf8Twin(f.message);
  }
  // A clerk is told why a line is no record: its length against its form's.
  if (korean && a.outcome == Outcome::kWrongDataType && explained != nullptr)
    faults = WrongDataTypeReason(*explained, Language::kKorean);
  Cell(row, faults);
  const ShownIdentifiers ids =
      ids_of_line != nullptr ? Show(*ids_of_line, options.show_identifiers) : ShownIdentifiers{};
  const bool signed_form = ids_of_line != nullptr && IsFrom090(a.family);
  RecordCell(row, ids.patient_name);
  RecordCell(row, ids.resident_number);
  RecordCell(row, signed_form ? std::string_view(ids.doctor_name) : std::string_view());
  RecordCell(row, signed_form ? std::string_view(ids.nurse_name) : std::string_view());
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
  if (korean) {
    // The value of each fault's item, one line per fault as the items are.
    std::string values;
    for (const ExplainedFault& f : faults_of_line) {
      if (&f != &faults_of_line.front()) values += '\n';
      values += ShownFaultValue(f, options.show_identifiers);
    }
    Cell(row, values);
    // The Korean table's further columns (kCsvColumns) go here, in their order.
  }
  row += "\r\n";
}

void AppendRow(std::string& row, const LineExplanation& e, const ExplainOptions& options,
               CsvTable table) {
  AppendTableRow(row, e.answer, e.faults, e.parsed ? &e.identifiers : nullptr, options, table, &e);
}

}  // namespace

std::string CsvRow(const LineExplanation& e, const ExplainOptions& options, CsvTable table) {
  std::string row;
  row.reserve(256);
  AppendRow(row, e, options, table);
  return row;
}

void AppendCsvRowOfAnswer(std::string& table, const LineText& taken, std::size_t length,
                          const LineAnswer& answer, const GroupingWork& work,
                          const ExplainOptions& options, std::optional<LineExplanation>& explained,
                          CsvTable columns) {
  explained.reset();
  switch (answer.outcome) {
    case Outcome::kWrongDataType:
      // Only the Korean table says why, from the explanation.
      if (columns == CsvTable::kKorean) break;
      return AppendTableRow(table, answer, {}, nullptr, options, columns, nullptr);
    case Outcome::kGroupCode: {
      const Identifiers ids = IdentifiersOf(work.record, answer.family, true);
      return AppendTableRow(table, answer, {}, &ids, options, columns, nullptr);
    }
    case Outcome::kMessage:
      break;
  }
  explained = ExplainAnswer(taken, length, answer, work);
  AppendRow(table, *explained, options, columns);
}

std::string CsvRowOfAnswer(const LineText& taken, std::size_t length, const LineAnswer& answer,
                           const GroupingWork& work, const ExplainOptions& options,
                           std::optional<LineExplanation>& explained, CsvTable columns) {
  std::string row;
  row.reserve(256);
  AppendCsvRowOfAnswer(row, taken, length, answer, work, options, explained, columns);
  return row;
}

}  // namespace grouper
