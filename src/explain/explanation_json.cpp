// The explanation as one JSON object (see the README's table of keys).
#include <cstring>

#include "explain/explanation.h"
#include "explain/explanation_parts.h"
#include "text/cp949.h"

namespace grouper {

namespace {

using namespace explain_parts;

void JsonColumns(std::string& out, int start, int width) {
  if (start < 0) {
    out += "null";
  } else {
    out += '[' + std::to_string(start) + ',' + std::to_string(width) + ']';
  }
}

// "item_code" and "label": a field's words on the form, null where it has none.
void JsonItemWords(std::string& out, const char* item_code, const char* label) {
  JsonKey(out, "item_code");
  JsonStringOrNull(out, item_code != nullptr, item_code ? item_code : "", true);
  JsonKey(out, "label");
  JsonStringOrNull(out, label != nullptr, label ? label : "", true);
}

// [{"name","item_code","label","columns","value"}...]: a field's value as
// written, a score's number.
void JsonEvidence(std::string& out, const std::vector<Evidence>& list, bool whole) {
  out += '[';
  for (const Evidence& e : list) {
    if (out.back() != '[') out += ',';
    out += '{';
    JsonKey(out, "name");
    JsonString(out, e.name, true);
    JsonItemWords(out, e.item_code, e.label);
    JsonKey(out, "columns");
    JsonColumns(out, e.start, e.width);
    JsonKey(out, "value");
    if (e.score) {
      out += e.value;
    } else {
      JsonStringOrNull(out, e.start >= 0, ShownValue(e, whole));
    }
    out += '}';
  }
  out += ']';
}

// [{"item","name","field"}...]: the items that mending the value may bring
// into the check.
void JsonOpens(std::string& out, const std::vector<OpenedItem>& opens) {
  out += '[';
  for (const OpenedItem& o : opens) {
    if (out.back() != '[') out += ',';
    out += '{';
    JsonKey(out, "item");
    JsonStringOrNull(out, o.item_code != nullptr, o.item_code ? o.item_code : "", true);
    JsonKey(out, "name");
    JsonStringOrNull(out, o.label != nullptr, o.label ? o.label : "", true);
    JsonKey(out, "field");
    JsonString(out, o.field, true);
    out += '}';
  }
  out += ']';
}

void JsonFaults(std::string& out, const LineExplanation& e, bool whole) {
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
    JsonItemWords(out, f.item_code, f.label);
    JsonKey(out, "columns");
    JsonColumns(out, f.field.empty() ? -1 : f.start, f.width);
    JsonKey(out, "value");
    JsonStringOrNull(out, f.value.has_value(), f.value.value_or(""));
    JsonKey(out, "fields");
    JsonEvidence(out, f.fields, whole);
    JsonKey(out, "message");
    JsonString(out, Utf8Twin(f.message), true);
    // Last, so that every earlier key keeps its place.
    JsonKey(out, "opens");
    JsonOpens(out, f.opens);
    out += '}';
  }
  out += ']';
}

void JsonIdentifiers(std::string& out, const LineExplanation& e, bool whole) {
  if (!e.parsed) {
    out += "null";
    return;
  }
  const ShownIdentifiers ids = Show(e.identifiers, whole);
  out += '{';
  JsonKey(out, "patient_name");
  JsonString(out, ids.patient_name);
  JsonKey(out, "resident_number");
  JsonString(out, ids.resident_number);
  // The early layouts carry no signatures.
  const bool signed_form = IsFrom090(e.answer.family);
  JsonKey(out, "doctor_name");
  JsonStringOrNull(out, signed_form, ids.doctor_name);
  JsonKey(out, "nurse_name");
  JsonStringOrNull(out, signed_form, ids.nurse_name);
  out += '}';
}

}  // namespace

std::string ExplanationJson(const LineExplanation& e, const ExplainOptions& options) {
  const LineAnswer& a = e.answer;
  const bool whole = options.show_identifiers;
  std::string out = "{";
  JsonKey(out, "line");
  out += options.line_number ? std::to_string(*options.line_number) : "null";
  JsonKey(out, "form_version");
  JsonString(out, a.form_version);
  JsonKey(out, "layout");
  JsonString(out, LayoutName(a.family), true);
  JsonKey(out, "length");
  out += std::to_string(a.length);
  JsonKey(out, "result");
  out += '"';
  out += OutcomeName(a.outcome);
  out += '"';
  JsonKey(out, "group_code");
  JsonStringOrNull(out, a.outcome == Outcome::kGroupCode, a.group_code);
  JsonKey(out, "message");
  JsonStringOrNull(out, a.message != nullptr, a.message ? Utf8Twin(a.message) : "", true);
  JsonKey(out, "reason");
  JsonStringOrNull(out, a.outcome == Outcome::kWrongDataType, e.wrong_data_type_reason, true);
  JsonKey(out, "faults");
  JsonFaults(out, e, whole);
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
  for (int set = 0; e.classified && set <= kSetCount; ++set) {
    if (!SetRan(set, a.family)) continue;
    const char key[2] = {kSetLetters[set], '\0'};
    JsonKey(out, key);
    const std::string code = MatchedCode(s, set);
    JsonStringOrNull(out, !code.empty(), code, true);
  }
  out += '}';
  JsonKey(out, "decided_by");
  out += '{';
  for (const DecidingCriterion& d : e.decided_by) {
    const char key[2] = {d.set, '\0'};
    JsonKey(out, key);
    JsonEvidence(out, d.tested, whole);
  }
  out += '}';
  JsonKey(out, "group_letter");
  JsonStringOrNull(out, e.classified, std::string_view(s.group_letter, strnlen(s.group_letter, 1)),
                   true);
  JsonKey(out, "identifiers");
  JsonIdentifiers(out, e, whole);
  out += '}';
  return out;
}

}  // namespace grouper
