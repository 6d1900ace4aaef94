// What the generator asks of the validation rows: which rows apply to a
// record, how to make a failing row hold, and how to make one row fail. The
// rows are the one description of the form's checks; the generator reads
// their shape, bounds, gates and lists and restates none of them, so a row
// added to a section is kept by every valid record without an edit here.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "line/group_line.h"
#include "record/input_layout.h"
#include "sample_draft.h"
#include "validate/record_validator.h"
#include "validate/row_plan.h"

namespace grouper::sample {

namespace {

const std::vector<RowList>& Lists() {
  static const std::vector<RowList> lists = ValidationLists();
  return lists;
}

const RowList& ListOf(const Row& row) {
  for (const RowList& list : Lists()) {
    if (&row >= list.rows.data() && &row < list.rows.data() + list.rows.size()) return list;
  }
  static const RowList none{};
  return none;
}

bool ListRuns(const RowList& list, const AssessmentRecord& r, Family family) {
  return (list.families == nullptr || list.families(family)) &&
         (list.gate == nullptr || list.gate->holds(r));
}

char& ByteAt(AssessmentRecord& r, FieldRef field) {
  return reinterpret_cast<char*>(&r)[field.offset];
}

// An irregular rule says only when it fails, not how to mend it; a gated one
// can be stepped around by closing its gate: each one-byte answer that the
// gate reads goes from '1' to '0'. False when that does not close it.
bool CloseGate(GateRef gate, AssessmentRecord& r) {
  if (gate == nullptr) return false;
  AssessmentRecord trial = r;
  for (const FieldRef field : gate->reads) {
    const LayoutItem* item = FindLayoutItemAt(field.offset);
    if (item != nullptr && item->width == 1 && ByteAt(trial, field) == '1') {
      ByteAt(trial, field) = '0';
    }
  }
  if (gate->holds(trial)) return false;
  r = trial;
  return true;
}

// Makes a failing row hold with the nearest answer it allows; false when it
// cannot (an irregular rule whose gate stays open).
bool Satisfy(const Row& row, Draft& d) {
  AssessmentRecord& r = d.r;
  switch (row.shape) {
    case Shape::kCharRange:
      r.*row.char_field = static_cast<char>(row.lo);
      return true;
    case Shape::kCharSet:
      for (unsigned digit = 0; digit < 10; ++digit) {
        if ((row.digit_set >> digit) & 1u) {
          r.*row.char_field = Digit(static_cast<int>(digit));
          return true;
        }
      }
      return false;
    case Shape::kBlank:
      r.*row.char_field = ' ';
      return true;
    case Shape::kIntRange:
      r.*row.int_field = std::clamp(r.*row.int_field, row.lo, row.hi);
      return true;
    case Shape::kIntZero:
      r.*row.int_field = 0;
      return true;
    case Shape::kDecimalRange:
      r.*row.decimal_field = Tenths(static_cast<int>(
          std::clamp(grouper::Tenths(r.*row.decimal_field), long{row.lo}, long{row.hi})));
      return true;
    case Shape::kDecimalZero:
      r.*row.decimal_field = 0.0f;
      return true;
    case Shape::kDate:
      SetDate(r.*row.date_field, d.assessment_day);
      return true;
    case Shape::kAbsentDate:
      SetText(r.*row.date_field, kAbsentDate);
      return true;
    case Shape::kNoneOfAbove:
      r.*row.char_field = AnyFlagSet(r, row.list) ? '0' : '1';
      return true;
    case Shape::kAnySet:
      if (row.list.empty()) return false;
      r.*row.list.front() = '1';
      return true;
    case Shape::kAllExactlyZero:
      for (const CharField flag : row.list) r.*flag = '0';
      return true;
    case Shape::kRule:
      return CloseGate(row.when, r);
  }
  return false;
}

// The width of a record member's item in the layout; 0 when no item carries it.
template <class T>
int WidthOf(T AssessmentRecord::*member) {
  static const AssessmentRecord probe{};
  const auto offset = static_cast<std::size_t>(reinterpret_cast<const char*>(&(probe.*member)) -
                                               reinterpret_cast<const char*>(&probe));
  const LayoutItem* item = FindLayoutItemAt(offset);
  return item == nullptr ? 0 : item->width;
}

// A number outside lo..hi that `width` digits can carry: above hi when there
// is room, else below lo; -1 when there is neither.
int OutsideRange(Random& g, int lo, int hi, int width) {
  int largest = 1;
  for (int i = 0; i < width && largest < 100000000; ++i) largest *= 10;
  --largest;
  if (hi < largest) return Uniform(g, hi + 1, std::min(largest, hi + 30));
  if (lo > 0) return Uniform(g, 0, lo - 1);
  return -1;
}

// A one-byte answer that the row's range or set refuses.
char RefusedByte(Random& g, const Row& row) {
  char refused[11];
  int n = 0;
  for (const char c : {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', ' '}) {
    const bool allowed = row.shape == Shape::kCharRange
                             ? c >= row.lo && c <= row.hi
                             : c >= '0' && ((row.digit_set >> (c - '0')) & 1u) != 0;
    if (!allowed) refused[n++] = c;
  }
  return n == 0 ? 'x' : refused[Uniform(g, 0, n - 1)];
}

}  // namespace

bool SatisfyRows(Draft& d) {
  // Each pass mends every row that still fails, in form order; a mended
  // answer may open or close the gate of a later row, hence a few passes.
  for (int pass = 0; pass < 8; ++pass) {
    // The batch's validation is the quicker test of whether anything fails.
    if (ValidateRecord(d.r, d.family) == nullptr) return true;
    for (const Fault& fault : CollectFaults(d.r, d.family)) {
      const Row& row = *fault.check;
      if (!ListRuns(ListOf(row), d.r, d.family) || EvaluateRow(row, d.r) == nullptr) continue;
      Satisfy(row, d);
    }
  }
  return ValidateRecord(d.r, d.family) == nullptr;
}

std::vector<const Row*> RowsThatApply(const AssessmentRecord& r, Family family) {
  std::vector<const Row*> rows;
  for (const RowList& list : Lists()) {
    if (!ListRuns(list, r, family)) continue;
    for (const Row& row : list.rows) {
      if (row.when == nullptr || row.when->holds(r)) rows.push_back(&row);
    }
  }
  return rows;
}

FaultKind FaultKindOfRow(const Row& row) {
  switch (row.shape) {
    case Shape::kCharRange:
    case Shape::kCharSet:
    case Shape::kIntRange:
    case Shape::kDecimalRange:
      return FaultKind::kOutOfRange;
    case Shape::kBlank:
    case Shape::kIntZero:
    case Shape::kDecimalZero:
    case Shape::kAnySet:
    case Shape::kAllExactlyZero:
      return FaultKind::kBrokenGate;
    case Shape::kDate:
      return FaultKind::kMissingDate;
    case Shape::kAbsentDate:
      return FaultKind::kNeedlessDate;
    case Shape::kNoneOfAbove:
      return FaultKind::kWrongNoneOfAbove;
    case Shape::kRule:
      break;
  }
  return FaultKind::kNone;
}

bool BreakRow(Random& g, const Row& row, Draft& d) {
  AssessmentRecord& r = d.r;
  switch (row.shape) {
    case Shape::kCharRange:
    case Shape::kCharSet:
      r.*row.char_field = RefusedByte(g, row);
      return true;
    case Shape::kBlank:
      r.*row.char_field = Digit(Uniform(g, 0, 9));
      return true;
    case Shape::kIntRange: {
      const int value = OutsideRange(g, row.lo, row.hi, WidthOf(row.int_field));
      if (value < 0) return false;
      r.*row.int_field = value;
      return true;
    }
    case Shape::kIntZero:
      r.*row.int_field = Uniform(g, 1, 9);
      return true;
    case Shape::kDecimalRange: {
      // A decimal item's digits are its tenths.
      const int tenths = OutsideRange(g, row.lo, row.hi, WidthOf(row.decimal_field));
      if (tenths < 0) return false;
      r.*row.decimal_field = Tenths(tenths);
      return true;
    }
    case Shape::kDecimalZero:
      r.*row.decimal_field = Tenths(Uniform(g, 1, 99));
      return true;
    case Shape::kDate:
      SetText(r.*row.date_field, Pick(g, {"00000000", "20151301", "20150132", "2015-3-1"}));
      return true;
    case Shape::kAbsentDate:
      SetDate(r.*row.date_field, d.assessment_day - Uniform(g, 0, 30));
      return true;
    case Shape::kNoneOfAbove:
      r.*row.char_field = AnyFlagSet(r, row.list) ? '1' : '0';
      return true;
    case Shape::kAnySet:
      for (const CharField flag : row.list) r.*flag = '0';
      return true;
    case Shape::kAllExactlyZero:
      if (row.list.empty()) return false;
      r.*row.list[static_cast<std::size_t>(Uniform(g, 0, static_cast<int>(row.list.size()) - 1))] =
          '1';
      return true;
    case Shape::kRule:
      break;
  }
  return false;
}

bool RejectedByRow(const std::string& line, const Row& row) {
  auto buffer = std::make_unique<LineBuffer>();
  auto work = std::make_unique<GroupingWork>();
  LineAnswer answer;
  GroupLine(line.data(), line.size(), *buffer, *work, answer);
  if (answer.outcome != Outcome::kMessage) return false;
  if (answer.message == row.message || answer.message == row.message_alt) return true;
  for (const FormMessage& message : row.rule_messages) {
    if (answer.message == message.text) return true;
  }
  return false;
}

}  // namespace grouper::sample
