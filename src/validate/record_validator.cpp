#include "validate/record_validator.h"

#include <algorithm>
#include <span>

#include "record/assessment_record.h"
#include "record/form_version.h"
#include "record/input_layout.h"
#include "text/cp949.h"
#include "validate/row_plan.h"
#include "validate/sections.h"

namespace grouper {

namespace {

using R = AssessmentRecord;

// What IsNumericText accepts in a text of length 3, in one pass.
bool ThreeDigits(const char (&v)[4]) {
  return v[0] >= '0' && v[0] <= '9' && v[1] >= '0' && v[1] <= '9' && v[2] >= '0' && v[2] <= '9' &&
         v[3] == '\0';
}

// The form-version code: three digits. The base layout carries no code; its
// first bytes belong to A.0.
constexpr FormMessage kVersionCodeDigits[] = {
    FORM_MSG(u8"서식버전", u8"", u8" 3자리 숫자를 입력하시오")};
const char* VersionCode(const R& r) {
  if (ThreeDigits(r.form_version)) return nullptr;
  return kVersionCodeDigits[0].text;
}
bool HasVersionCode(Family family) {
  return family != Family::kBase;
}
constexpr Row kVersionCode[] = {
    Rule(VersionCode, kFields<FIELD(form_version)>, kVersionCodeDigits)};

// The stages of the validator, as a type: the one list that runs them (in
// ValidateRecord and CollectFaults) and describes them (in ValidationLists),
// so the two cannot differ. Each returns true when the sink has ended the
// validation. The stages are called directly, one after the other, rather
// than through a table: a call through a pointer costs a loop and a load per
// stage.
template <class... Stages>
struct Validator {
  template <class Sink>
  static void Run(const AssessmentRecord& record, Family family, Sink& sink) {
    (void)(Stages::Run(record, family, sink) || ...);
  }
  static std::vector<RowList> Lists() {
    std::vector<RowList> lists;
    const auto append = [&lists](std::span<const RowList> more) {
      lists.insert(lists.end(), more.begin(), more.end());
    };
    (append(Stages::Lists()), ...);
    return lists;
  }
};

// The form-version code first, then the parts of the form in form order.
using VersionStage = Section<Rows<kVersionCode, HasVersionCode>>;
using Stages =
    Validator<VersionStage, StageA, StageBC, StageDE, StageF, StageG, StageH, StageI, StageJK>;

// A record field named by its member, as a FieldRef.
template <class T>
FieldRef FieldOfMember(T AssessmentRecord::*member) {
  static const AssessmentRecord probe{};
  return FieldRef{static_cast<std::size_t>(reinterpret_cast<const char*>(&(probe.*member)) -
                                           reinterpret_cast<const char*>(&probe))};
}

void Add(std::vector<FieldRef>& reads, FieldRef field) {
  if (std::find(reads.begin(), reads.end(), field) == reads.end()) reads.push_back(field);
}
void AddGate(std::vector<FieldRef>& reads, GateRef gate) {
  if (gate == nullptr) return;
  for (const FieldRef field : gate->reads) Add(reads, field);
}

}  // namespace

const char* ValidateRecord(const AssessmentRecord& record, Family family) {
  FirstFault first;
  Stages::Run(record, family, first);
  return first.message;
}

std::vector<Fault> CollectFaults(const AssessmentRecord& record, Family family) {
  FaultList list;
  Stages::Run(record, family, list);
  return std::move(list.faults);
}

std::vector<RowList> ValidationLists() {
  return Stages::Lists();
}

FormMessage MessageOfRow(const Row& row, const char* text) {
  if (text == row.message || text == row.message_alt) return {text, row.section, row.item};
  for (const FormMessage& message : row.rule_messages) {
    if (message.text == text) return message;
  }
  return FormMessage(text);
}

FormMessage FindFormMessage(const char* text) {
  for (const RowList& list : ValidationLists()) {
    for (const Row& row : list.rows) {
      const FormMessage found = MessageOfRow(row, text);
      if (found.section != nullptr) return found;
    }
  }
  for (const LayoutItem& item : InputLayout()) {
    if (item.parse_message.text == text) return item.parse_message;
  }
  return FormMessage(text);
}

std::vector<FieldRef> RowReads(const Row& row) {
  std::vector<FieldRef> reads;
  if (row.char_field != nullptr) Add(reads, FieldOfMember(row.char_field));
  if (row.int_field != nullptr) Add(reads, FieldOfMember(row.int_field));
  if (row.decimal_field != nullptr) Add(reads, FieldOfMember(row.decimal_field));
  if (row.date_field != nullptr) Add(reads, FieldOfMember(row.date_field));
  for (const CharField flag : row.list) Add(reads, FieldOfMember(flag));
  for (const FieldRef field : row.reads) Add(reads, field);
  AddGate(reads, row.when);
  for (const RowList& list : ValidationLists()) {
    if (&row >= list.rows.data() && &row < list.rows.data() + list.rows.size()) {
      AddGate(reads, list.gate);
      break;
    }
  }
  return reads;
}

}  // namespace grouper
