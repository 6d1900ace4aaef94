#include "explain/evidence.h"

#include <cstddef>
#include <cstring>

#include "classify/criteria_reads.h"
#include "explain/explanation.h"
#include "record/input_layout.h"
#include "text/cp949.h"
#include "validate/record_validator.h"

namespace grouper {

namespace {

// The scores and set results, by name.
struct ScoreName {
  const char* name;
  int ClassificationState::*member;
};
constexpr ScoreName kScores[] = {
    {"adl_score", &ClassificationState::adl_score},
    {"ulcer_total", &ClassificationState::ulcer_total},
    {"skin_care_count", &ClassificationState::skin_care_count},
    {"tube_feeding_intake", &ClassificationState::tube_feeding_intake},
    {"iv_nutrition_intake", &ClassificationState::iv_nutrition_intake},
    {"group_a_count", &ClassificationState::group_a_count},
    {"set_a_met", &ClassificationState::set_a_met},
    {"set_b_met", &ClassificationState::set_b_met},
    {"set_c_met", &ClassificationState::set_c_met},
};

// The name of a score of the classification, or nullptr.
const char* NameOfScore(int ClassificationState::*member) {
  for (const ScoreName& score : kScores) {
    if (score.member == member) return score.name;
  }
  return nullptr;
}

Evidence NamedEvidence(std::string_view name, const char* text, Family family,
                       const ClassificationState& state) {
  for (const ScoreName& score : kScores) {
    if (name != score.name) continue;
    Evidence e;
    e.name = name;
    e.score = true;
    e.value = std::to_string(state.*score.member);
    return e;
  }
  return FieldEvidence(name, text, family);
}

}  // namespace

const char* LayoutName(Family family) {
  switch (family) {
    case Family::kBase:
      break;
    case Family::k089:
      return "089/010";
    case Family::k090:
      return "090/011";
    case Family::k091:
      return "091/012";
    case Family::k092:
      return "092/013";
  }
  return "base";
}

const char* FieldNameAtOffset(std::size_t offset) {
  if (offset == kFormVersionField.offset) return "form_version";
  const LayoutItem* item = FindLayoutItemAt(offset);
  return item != nullptr ? item->field_name : nullptr;
}

std::string ShownValue(const Evidence& e, bool whole) {
  if (whole || e.keep < 0) return e.value;
  // The blanks that pad the item are no part of the name, as for the
  // record's identifiers.
  return MaskIdentifier(e.value.substr(0, e.value.find_last_not_of(' ') + 1), e.keep);
}

std::string ShownName(const char* item_code, const char* label, std::string_view name) {
  if (label == nullptr) return std::string(name);
  return item_code == nullptr ? label : std::string(item_code) + " " + label;
}

std::string ShownName(const Evidence& e) {
  return ShownName(e.item_code, e.label, e.name);
}

Evidence FieldEvidence(std::string_view name, const char* text, Family family) {
  Evidence e;
  e.name = name;
  e.keep = IdentifierKeep(name);
  if (name == "form_version") {
    e.start = 0;
    e.width = 3;
    e.label = ItemWordsOf(name).name;
  } else if (const LayoutItem* item = FindLayoutItem(name)) {
    e.start = item->StartIn(family);
    e.width = item->width;
    e.item_code = item->item_code;
    e.label = item->item_name;
  }
  if (e.start >= 0) {
    // The text is zero beyond its end, to the end of the longest layout.
    const char* bytes = text + e.start;
    e.value.assign(bytes, strnlen(bytes, static_cast<std::size_t>(e.width)));
  } else {
    e.width = 0;
  }
  return e;
}

std::vector<Evidence> FaultEvidence(const Row& row, const char* text, Family family) {
  std::vector<Evidence> fields;
  for (const FieldRef field : RowReads(row)) {
    const char* name = FieldNameAtOffset(field.offset);
    if (name == nullptr) continue;
    Evidence e = FieldEvidence(name, text, family);
    // A gate or rule written for several layouts may name a field that the
    // line's own layout does not carry.
    if (e.start >= 0) fields.push_back(std::move(e));
  }
  return fields;
}

std::vector<std::string> CriterionReadNames(std::string_view code, Family family) {
  std::vector<std::string> names;
  for (const criteria::Read& read : CriterionReads(code, family)) {
    const char* name = read.kind == criteria::Read::Kind::kScore ? NameOfScore(read.score)
                                                                 : FieldNameAtOffset(read.field);
    if (name != nullptr) names.emplace_back(name);
  }
  return names;
}

std::vector<Evidence> CriterionEvidence(std::string_view code, const char* text, Family family,
                                        const ClassificationState& state) {
  std::vector<Evidence> tested;
  for (const std::string& name : CriterionReadNames(code, family)) {
    tested.push_back(NamedEvidence(name, text, family, state));
  }
  return tested;
}

}  // namespace grouper
