#include "explain/explanation.h"

#include <cstring>
#include <memory>
#include <string_view>
#include <utility>

#include "classify/criteria_reads.h"
#include "explain/explanation_parts.h"
#include "explain/opens.h"
#include "record/input_layout.h"
#include "record/record_parser.h"
#include "text/cp949.h"
#include "validate/names.h"
#include "validate/record_validator.h"
#include "validate/row.h"

namespace grouper {

namespace {

std::string TenthsText(float value) {
  const long tenths = Tenths(value);
  const long whole = tenths / 10;
  const long part = tenths % 10 < 0 ? -(tenths % 10) : tenths % 10;
  std::string text = tenths < 0 && whole == 0 ? "-" : "";
  text += std::to_string(whole);
  text += '.';
  text += std::to_string(part);
  return text;
}

// The field that a failing row reads, and its value as text.
void DescribeRow(const Row& row, const AssessmentRecord& r, ExplainedFault& fault) {
  if (row.shape == Shape::kRule || row.shape == Shape::kAnySet ||
      row.shape == Shape::kAllExactlyZero) {
    return;  // several items, or an irregular rule
  }
  if (row.char_field != nullptr) {
    fault.value = std::string(1, r.*row.char_field);
  } else if (row.int_field != nullptr) {
    fault.value = std::to_string(r.*row.int_field);
  } else if (row.decimal_field != nullptr) {
    fault.value = TenthsText(r.*row.decimal_field);
  } else if (row.date_field != nullptr) {
    const char* date = r.*row.date_field;
    fault.value = std::string(date, strnlen(date, sizeof(DateText) - 1));
  } else {
    return;
  }
  // The row lists the field it tests first.
  if (const char* name = FieldNameAtOffset(RowReads(row).front().offset)) fault.field = name;
}

// The form's words for the fault's own field.
void NameField(ExplainedFault& fault) {
  const ItemWords words = ItemWordsOf(fault.field);
  fault.item_code = words.code;
  fault.label = words.name;
}

// A fault with the section and item its message names, as the row or the
// layout item that gave it keeps them.
ExplainedFault FaultOf(const FormMessage& message) {
  ExplainedFault fault;
  fault.message = message.text;
  if (message.section != nullptr) {
    MessageNames names = NamesOf(message);
    fault.section = std::move(names.section);
    fault.item = std::move(names.item);
  }
  return fault;
}

}  // namespace

MessageNames NamesOf(const FormMessage& message) {
  MessageNames names;
  if (message.section == nullptr) return names;
  names.section = message.section;
  // The item's bracketed groups, joined: "[7.치매 척도 검사][b-1.CDR 점수]"
  // is "7.치매 척도 검사 / b-1.CDR 점수".
  for (std::string_view item = message.item; !item.empty();) {
    const std::size_t end = item.find(']');
    if (item.front() != '[' || end == std::string_view::npos) break;
    if (!names.item.empty()) names.item += " / ";
    names.item += item.substr(1, end - 1);
    item.remove_prefix(end + 1);
  }
  return names;
}

LineExplanation ExplainLine(const char* line, std::size_t length) {
  LineBuffer buffer;
  GroupingWork work;  // the parser clears the record before anything reads it
  LineAnswer answer;
  const LineText taken = GroupLine(line, length, buffer, work, answer);
  return ExplainAnswer(taken, length, answer, work);
}

LineExplanation ExplainAnswer(const LineText& taken, std::size_t length, const LineAnswer& answer,
                              const GroupingWork& grouped) {
  LineExplanation e;
  e.answer = answer;
  if (e.answer.outcome == Outcome::kWrongDataType) {
    e.over_long = taken.over_long;
    e.read_length = length;
    e.wrong_data_type_reason = WrongDataTypeReason(e, Language::kEnglish);
    return e;
  }

  bool parse_faults_none = true;
  if (e.answer.outcome == Outcome::kMessage) {
    // Again from the line, collecting every fault, into a record of its own:
    // the caller's stays as the answer left it.
    auto work = std::make_unique<GroupingWork>(grouped);
    const std::vector<ParseFault> parse_faults =
        CollectParseFaults(taken.text, e.answer.family, work->record);
    for (const ParseFault& pf : parse_faults) {
      ExplainedFault fault = FaultOf(pf.item->parse_message);
      fault.field = pf.item->field_name;
      NameField(fault);
      Evidence written = FieldEvidence(fault.field, taken.text, e.answer.family);
      fault.value = written.value;
      fault.start = written.start;
      fault.width = written.width;
      fault.fields.push_back(std::move(written));
      fault.opens =
          ItemsOpenedByMend(work->record, e.answer.family, FieldRef{pf.item->offset}, nullptr);
      e.faults.push_back(std::move(fault));
    }
    parse_faults_none = parse_faults.empty();
    if (parse_faults_none) {
      for (const Fault& f : CollectFaults(work->record, e.answer.family)) {
        ExplainedFault fault = FaultOf(MessageOfRow(*f.check, f.message));
        DescribeRow(*f.check, work->record, fault);
        fault.fields = FaultEvidence(*f.check, taken.text, e.answer.family);
        fault.opens = ItemsOpenedByFault(work->record, e.answer.family, *f.check);
        if (!fault.field.empty()) {
          NameField(fault);
          const Evidence place = FieldEvidence(fault.field, taken.text, e.answer.family);
          fault.start = place.start;
          fault.width = place.width;
        }
        e.faults.push_back(std::move(fault));
      }
    }
    e.identifiers = explain_parts::IdentifiersOf(work->record, e.answer.family, parse_faults_none);
  } else {
    e.classified = true;
    e.classification = grouped.classification;
    for (int set = 0; set < kSetCount; ++set) {
      const std::string code = explain_parts::MatchedCode(e.classification, set);
      if (code.empty()) continue;
      e.decided_by.push_back(
          {explain_parts::kSetLetters[set], code,
           CriterionEvidence(code, taken.text, e.answer.family, e.classification)});
    }
    e.identifiers = explain_parts::IdentifiersOf(grouped.record, e.answer.family, true);
  }
  e.parsed = true;
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

namespace explain_parts {

Identifiers IdentifiersOf(const AssessmentRecord& r, Family family, bool validated) {
  // The padding of the fixed-width items is no part of a name, and would
  // lengthen its mask. Once the record parses, the names are shown as the
  // rules count them, without any blank (the signatures from 090, where the
  // form has them).
  auto unpadded = [](const char* text) {
    std::string s(text);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  };
  const bool signatures = validated && IsFrom090(family);
  return {validated ? NameWithoutBlanks(r.patient_name) : unpadded(r.patient_name),
          unpadded(r.resident_number),
          signatures ? NameWithoutBlanks(r.s_doctor_name) : unpadded(r.s_doctor_name),
          signatures ? NameWithoutBlanks(r.s_nurse_name) : unpadded(r.s_nurse_name)};
}

bool SetRan(int set, Family family) {
  return FamilyRunsSet(family, kSetLetters[set]);
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

// JSON text of code page 949 bytes (or of UTF-8, when `utf8`).
void JsonString(std::string& out, std::string_view bytes, bool utf8) {
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

void JsonStringOrNull(std::string& out, bool present, std::string_view bytes, bool utf8) {
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

ShownIdentifiers Show(const Identifiers& ids, bool whole) {
  if (whole) return {ids.patient_name, ids.resident_number, ids.doctor_name, ids.nurse_name};
  constexpr int kPatient = IdentifierKeep("patient_name");
  constexpr int kResidentNumber = IdentifierKeep("resident_number");
  constexpr int kDoctor = IdentifierKeep("s_doctor_name");
  constexpr int kNurse = IdentifierKeep("s_nurse_name");
  return {MaskIdentifier(ids.patient_name, kPatient),
          MaskIdentifier(ids.resident_number, kResidentNumber),
          MaskIdentifier(ids.doctor_name, kDoctor), MaskIdentifier(ids.nurse_name, kNurse)};
}

std::string Printable(std::string_view bytes) {
  // Most record text is plain ASCII, which is its own UTF-8 and printable.
  bool plain = true;
  for (const char c : bytes) plain = plain && c >= 0x20 && c < 0x7F;
  if (plain) return std::string(bytes);
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

}  // namespace explain_parts

}  // namespace grouper
