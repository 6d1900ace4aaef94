#include "explain/explanation.h"

#include <cstring>
#include <string_view>
#include <utility>

#include "record/input_layout.h"
#include "record/record_parser.h"
#include "text/cp949.h"
#include "validate/check.h"
#include "validate/record_validator.h"

namespace grouper {

namespace {

// The section and the item that a message names in its first two bracketed
// groups ("오류-[E.배설기능][3.g.유치도뇨관 삽입] ..."); further groups
// belong to the item ("[7.치매 척도 검사][b-1.CDR 점수]" gives
// "7.치매 척도 검사 / b-1.CDR 점수").
void BracketedNames(std::string_view message, std::string& section, std::string& item) {
  std::size_t pos = message.find('[');
  bool first = true;
  while (pos != std::string_view::npos && pos < message.size()) {
    const std::size_t end = message.find(']', pos);
    if (end == std::string_view::npos) break;
    const std::string_view name = message.substr(pos + 1, end - pos - 1);
    if (first) {
      section = name;
      first = false;
    } else {
      if (!item.empty()) item += " / ";
      item += name;
    }
    if (end + 1 >= message.size() || message[end + 1] != '[') break;
    pos = end + 1;
  }
}

// The layout row of the record field at `offset`, for its name.
const LayoutItem* ItemAtOffset(std::size_t offset) {
  for (const LayoutItem& item : InputLayout()) {
    if (item.offset == offset) return &item;
  }
  return nullptr;
}

template <class T>
std::size_t OffsetOf(T AssessmentRecord::*field) {
  static const AssessmentRecord probe{};
  return static_cast<std::size_t>(reinterpret_cast<const char*>(&(probe.*field)) -
                                  reinterpret_cast<const char*>(&probe));
}

std::string TenthsText(float value) {
  const long tenths = Tenths(value);
  const long whole = tenths / 10;
  const long part = tenths % 10 < 0 ? -(tenths % 10) : tenths % 10;
  std::string text = (tenths < 0 && whole == 0 ? "-" : "") + std::to_string(whole);
  return text + "." + std::to_string(part);
}

// The field that a failing row reads, and its value as text.
void DescribeRow(const Check& row, const AssessmentRecord& r, ExplainedFault& fault) {
  std::size_t offset = 0;
  if (row.shape == Shape::kRule || row.shape == Shape::kAnySet ||
      row.shape == Shape::kAllExactlyZero) {
    return;  // several items, or an irregular rule
  }
  if (row.char_field != nullptr) {
    offset = OffsetOf(row.char_field);
    fault.value = std::string(1, r.*row.char_field);
  } else if (row.int_field != nullptr) {
    offset = OffsetOf(row.int_field);
    fault.value = std::to_string(r.*row.int_field);
  } else if (row.decimal_field != nullptr) {
    offset = OffsetOf(row.decimal_field);
    fault.value = TenthsText(r.*row.decimal_field);
  } else if (row.date_field != nullptr) {
    offset = OffsetOf(row.date_field);
    const char* date = r.*row.date_field;
    fault.value = std::string(date, strnlen(date, sizeof(DateText) - 1));
  } else {
    return;
  }
  if (const LayoutItem* item = ItemAtOffset(offset)) fault.field = item->field_name;
}

ExplainedFault FaultOf(const char* message) {
  ExplainedFault fault;
  fault.message = message;
  MessageNames names = NamesOfMessage(message);
  fault.section = std::move(names.section);
  fault.item = std::move(names.item);
  return fault;
}

std::string FamilyName(const LineAnswer& a) {
  switch (a.family) {
    case Family::kBase:
      return "base layout";
    case Family::k089:
      return "089/010";
    case Family::k090:
      return "090/011";
    case Family::k091:
      return "091/012";
    case Family::k092:
      return "092/013";
  }
  return "";
}

// Printable UTF-8 for a terminal: control bytes as \xNN.
std::string Printable(std::string_view bytes) {
  std::string out;
  for (const char c : cp949::ToUtf8(bytes)) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) {
      static constexpr char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[b >> 4];
      out += kHex[b & 15];
    } else {
      out += c;
    }
  }
  return out;
}

std::string WrongDataTypeReason(const LineAnswer& a, bool over_long, std::size_t length) {
  const FamilyInfo& info = InfoOf(a.family);
  std::string reason;
  if (over_long) {
    return "the line has " + std::to_string(length) + " bytes, more than the " +
           std::to_string(kMaxReadLength) + " of one read: it cannot be a record";
  }
  if (a.family == Family::kBase) {
    // The first bytes of a base-layout line may be anything: escaped, so that
    // the reason is printable text in either output.
    reason = "\"" + Printable(a.form_version) +
             "\" is none of the eight form versions, so the line is read as the base layout, "
             "which takes exactly " +
             std::to_string(info.expected_length) + " bytes";
  } else if (IsEarly(a.family)) {
    reason = "form version " + std::string(a.form_version) + " (" + FamilyName(a) +
             ") takes exactly " + std::to_string(info.expected_length) + " bytes";
  } else {
    reason = "form version " + std::string(a.form_version) + " (" + FamilyName(a) + ") takes " +
             std::to_string(info.min_length) + " to " + std::to_string(info.code_column) + " bytes";
  }
  return reason + "; the trimmed line has " + std::to_string(a.length);
}

}  // namespace

MessageNames NamesOfMessage(const char* message) {
  MessageNames names;
  BracketedNames(Utf8Twin(message), names.section, names.item);
  return names;
}

LineExplanation ExplainLine(const char* line, std::size_t length) {
  LineExplanation e;
  LineBuffer buffer;
  GroupingWork work;  // the parser clears the record before anything reads it
  const LineText taken = GroupLine(line, length, buffer, work, e.answer);
  if (e.answer.outcome == Outcome::kWrongDataType) {
    e.wrong_data_type_reason = WrongDataTypeReason(e.answer, taken.over_long, length);
    return e;
  }

  if (e.answer.outcome == Outcome::kMessage) {
    // Again from the line, collecting every fault.
    const std::vector<ParseFault> parse_faults =
        CollectParseFaults(taken.text, taken.length, work.record);
    for (const ParseFault& pf : parse_faults) {
      ExplainedFault fault = FaultOf(pf.message);
      if (pf.item != nullptr) {
        fault.field = pf.item->field_name;
        const int start = pf.item->StartIn(e.answer.family);
        const char* bytes = taken.text + start;
        fault.value = std::string(bytes, strnlen(bytes, static_cast<std::size_t>(pf.item->width)));
      }
      e.faults.push_back(std::move(fault));
    }
    if (parse_faults.empty()) {
      for (const Fault& f : CollectFaults(work.record)) {
        ExplainedFault fault = FaultOf(f.message);
        if (f.check != nullptr) DescribeRow(*f.check, work.record, fault);
        e.faults.push_back(std::move(fault));
      }
    }
  } else {
    e.classified = true;
    e.classification = work.classification;
  }

  const AssessmentRecord& r = work.record;
  e.parsed = true;
  // The validator has taken the blanks out of the names, unless a parse fault
  // kept it from running: the padding of the fixed-width items is no part of
  // a name, and would lengthen its mask.
  auto unpadded = [](const char* text) {
    std::string s(text);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  };
  e.identifiers = {unpadded(r.patient_name), unpadded(r.resident_number), unpadded(r.s_doctor_name),
                   unpadded(r.s_nurse_name)};
  return e;
}

std::string MaskIdentifier(const std::string& text, int keep) {
  std::string masked;
  int characters = 0;
  for (std::size_t i = 0; i < text.size(); ++characters) {
    // A byte of 0x81 or more leads a two-byte character.
    const std::size_t width =
        static_cast<unsigned char>(text[i]) >= 0x81 && i + 1 < text.size() ? 2 : 1;
    if (characters < keep) {
      masked.append(text, i, width);
    } else {
      masked += '*';
    }
    i += width;
  }
  return masked;
}

namespace {

constexpr const char* kSetLetters = "ABCDEFG";

// The sets that the classification ran: D and E in the early families only;
// G stands for the group that no set claims.
bool SetRan(int set, Family family) {
  return !((set == 3 || set == 4) && !IsEarly(family));
}

// The code that decided set `set` (0 for A), or "". A set's codes are "1A",
// "1B", ... for A, "2A", ... for B; the classifier's own slot table says how
// many each set owns.
std::string MatchedCode(const ClassificationState& s, int set) {
  char code[3] = {static_cast<char>('1' + set), 'A', '\0'};
  for (int slot = CriterionSlot(code); slot >= 0; ++code[1], slot = CriterionSlot(code)) {
    if (s.criteria[slot][0] != '\0') return std::string(s.criteria[slot], 2);
  }
  return "";
}

const char* ResultName(Outcome outcome) {
  switch (outcome) {
    case Outcome::kGroupCode:
      return "group_code";
    case Outcome::kMessage:
      return "message";
    case Outcome::kWrongDataType:
      break;
  }
  return "wrong_data_type";
}

// JSON text of code page 949 bytes (or of UTF-8, when `utf8`).
void JsonString(std::string& out, std::string_view bytes, bool utf8 = false) {
  const std::string text = utf8 ? std::string(bytes) : cp949::ToUtf8(bytes);
  out += '"';
  for (const char c : text) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (b < 0x20 || b == 0x7F) {
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[b >> 4];
      out += kHex[b & 15];
    } else {
      out += c;
    }
  }
  out += '"';
}

void JsonStringOrNull(std::string& out, bool present, std::string_view bytes, bool utf8 = false) {
  if (present) {
    JsonString(out, bytes, utf8);
  } else {
    out += "null";
  }
}

void JsonKey(std::string& out, const char* key) {
  if (out.back() != '{') out += ',';
  out += '"';
  out += key;
  out += "\":";
}

struct ShownIdentifiers {
  std::string patient_name, resident_number, doctor_name, nurse_name;
};

ShownIdentifiers Show(const Identifiers& ids, bool whole) {
  if (whole) return {ids.patient_name, ids.resident_number, ids.doctor_name, ids.nurse_name};
  return {MaskIdentifier(ids.patient_name, 1), MaskIdentifier(ids.resident_number, 6),
          MaskIdentifier(ids.doctor_name, 1), MaskIdentifier(ids.nurse_name, 1)};
}

}  // namespace

std::string ExplanationJson(const LineExplanation& e, const ExplainOptions& options) {
  const LineAnswer& a = e.answer;
  std::string out = "{";
  JsonKey(out, "line");
  out += options.line_number ? std::to_string(*options.line_number) : "null";
  JsonKey(out, "form_version");
  JsonString(out, a.form_version);
  JsonKey(out, "length");
  out += std::to_string(a.length);
  JsonKey(out, "result");
  out += '"';
  out += ResultName(a.outcome);
  out += '"';
  JsonKey(out, "group_code");
  JsonStringOrNull(out, a.outcome == Outcome::kGroupCode, a.group_code);
  JsonKey(out, "message");
  JsonStringOrNull(out, a.message != nullptr, a.message ? Utf8Twin(a.message) : "", true);
  JsonKey(out, "reason");
  JsonStringOrNull(out, a.outcome == Outcome::kWrongDataType, e.wrong_data_type_reason, true);
  JsonKey(out, "faults");
  out += '[';
  for (const ExplainedFault& f : e.faults) {
    if (out.back() != '[') out += ',';
    out += '{';
    JsonKey(out, "section");
    JsonString(out, f.section, true);
    JsonKey(out, "item");
    JsonString(out, f.item, true);
    JsonKey(out, "field");
    JsonStringOrNull(out, !f.field.empty(), f.field, true);
    JsonKey(out, "value");
    JsonStringOrNull(out, f.value.has_value(), f.value.value_or(""));
    JsonKey(out, "message");
    JsonString(out, Utf8Twin(f.message), true);
    out += '}';
  }
  out += ']';
  const ClassificationState& s = e.classification;
  JsonKey(out, "scores");
  if (e.classified) {
    out += "{\"adl_score\":" + std::to_string(s.adl_score) +
           ",\"ulcer_total\":" + std::to_string(s.ulcer_total) +
           ",\"skin_care_count\":" + std::to_string(s.skin_care_count) +
           ",\"tube_feeding_intake\":" + std::to_string(s.tube_feeding_intake) +
           ",\"iv_nutrition_intake\":" + std::to_string(s.iv_nutrition_intake) +
           ",\"group_a_count\":" + std::to_string(s.group_a_count) + "}";
  } else {
    out += "null";
  }
  JsonKey(out, "criteria");
  out += '{';
  for (int set = 0; e.classified && set < 7; ++set) {
    if (!SetRan(set, a.family)) continue;
    const char key[2] = {kSetLetters[set], '\0'};
    JsonKey(out, key);
    const std::string code = MatchedCode(s, set);
    JsonStringOrNull(out, !code.empty(), code, true);
  }
  out += '}';
  JsonKey(out, "group_letter");
  JsonStringOrNull(out, e.classified, std::string_view(s.group_letter, strnlen(s.group_letter, 1)),
                   true);
  JsonKey(out, "identifiers");
  if (e.parsed) {
    const ShownIdentifiers ids = Show(e.identifiers, options.show_identifiers);
    out += '{';
    JsonKey(out, "patient_name");
    JsonString(out, ids.patient_name);
    JsonKey(out, "resident_number");
    JsonString(out, ids.resident_number);
    // The early layouts carry no signatures.
    const bool signed_form = IsFrom090(a.family);
    JsonKey(out, "doctor_name");
    JsonStringOrNull(out, signed_form, ids.doctor_name);
    JsonKey(out, "nurse_name");
    JsonStringOrNull(out, signed_form, ids.nurse_name);
    out += '}';
  } else {
    out += "null";
  }
  out += '}';
  return out;
}

std::string ExplanationText(const LineExplanation& e, const ExplainOptions& options) {
  const LineAnswer& a = e.answer;
  std::string out = "line " + (options.line_number ? std::to_string(*options.line_number) : "-") +
                    ": form " + Printable(a.form_version) + " (" + FamilyName(a) + "), " +
                    std::to_string(a.length) + " bytes: ";
  switch (a.outcome) {
    case Outcome::kGroupCode:
      out +=
          "group code " + (a.group_code[0] != '\0' ? std::string(a.group_code) : "(none)") + "\n";
      break;
    case Outcome::kMessage:
      out += "rejected\n  " + std::string(Utf8Twin(a.message)) + "\n";
      break;
    case Outcome::kWrongDataType:
      out += "wrong data type\n  " + std::string(Utf8Twin(a.message)) +
             "\n  why: " + e.wrong_data_type_reason + "\n";
      return out;
  }
  if (!e.faults.empty()) {
    out += "  " + std::to_string(e.faults.size()) + (e.faults.size() == 1 ? " fault" : " faults") +
           ", in form order:\n";
    int n = 0;
    for (const ExplainedFault& f : e.faults) {
      out += "    " + std::to_string(++n) + ". [" + f.section + "]";
      if (!f.item.empty()) out += " " + f.item;
      if (!f.field.empty()) {
        out += " (" + f.field;
        if (f.value) out += " = \"" + Printable(*f.value) + "\"";
        out += ")";
      }
      out += ": " + std::string(Utf8Twin(f.message)) + "\n";
    }
  }
  if (e.classified) {
    const ClassificationState& s = e.classification;
    out += "  scores: ADL " + std::to_string(s.adl_score) + ", ulcer total " +
           std::to_string(s.ulcer_total) + ", skin care " + std::to_string(s.skin_care_count) +
           ", tube feeding intake " + std::to_string(s.tube_feeding_intake) +
           ", IV nutrition intake " + std::to_string(s.iv_nutrition_intake) +
           ", group A conditions " + std::to_string(s.group_a_count) + "\n  criteria:";
    for (int set = 0; set < 6; ++set) {
      if (!SetRan(set, a.family)) continue;
      const std::string code = MatchedCode(s, set);
      out += std::string(" ") + kSetLetters[set] + " " + (code.empty() ? "-" : code);
    }
    out += "\n  group " + std::string(s.group_letter, strnlen(s.group_letter, 1)) +
           " (the first set met, G when none is) gives code " +
           (a.group_code[0] != '\0' ? std::string(a.group_code) : std::string("(none)")) + "\n";
  }
  if (e.parsed) {
    const ShownIdentifiers ids = Show(e.identifiers, options.show_identifiers);
    out += "  patient " + Printable(ids.patient_name) + ", resident number " +
           Printable(ids.resident_number);
    if (IsFrom090(a.family)) {
      out += ", doctor " + Printable(ids.doctor_name) + ", nurse " + Printable(ids.nurse_name);
    }
    out += "\n";
  }
  return out;
}

}  // namespace grouper
