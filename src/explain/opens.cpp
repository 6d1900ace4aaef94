#include "explain/opens.h"

#include <algorithm>
#include <cstddef>
#include <span>

#include "explain/evidence.h"
#include "record/input_layout.h"
#include "text/u8_text.h"
#include "validate/record_validator.h"
#include "validate/row_plan.h"

namespace grouper {

namespace {

// A row of the validator with what the search asks of it, made once: the
// explanation asks for every fault of every rejected line.
struct IndexedRow {
  const Row* row;
  const RowList* list;
  std::vector<FieldRef> reads;  // RowReads: its own field first
};

struct RowIndex {
  std::vector<RowList> lists;  // ValidationLists, kept for the rows' list pointers
  std::vector<IndexedRow> rows;
};

const RowIndex& Index() {
  static const RowIndex index = [] {
    RowIndex made;
    made.lists = ValidationLists();
    for (const RowList& list : made.lists) {
      for (const Row& row : list.rows) made.rows.push_back({&row, &list, RowReads(row)});
    }
    return made;
  }();
  return index;
}

bool Reads(GateRef gate, FieldRef field) {
  return gate != nullptr &&
         std::find(gate->reads.begin(), gate->reads.end(), field) != gate->reads.end();
}

bool GateReads(const IndexedRow& r, FieldRef field) {
  return Reads(r.row->when, field) || Reads(r.list->gate, field);
}

bool Holds(GateRef gate, const AssessmentRecord& record) {
  return gate == nullptr || gate->holds(record);
}

bool GatesHold(const IndexedRow& r, const AssessmentRecord& record) {
  return Holds(r.row->when, record) && Holds(r.list->gate, record);
}

bool Runs(const RowList& list, Family family) {
  return list.families == nullptr || list.families(family);
}

// The one-byte values of `field` that mend the fault of `fault_row`: those
// with which that row holds, every other answer as written; every value when
// none does (the row then depends on more than this field).
std::vector<char> MendedValues(AssessmentRecord& record, FieldRef field, const Row& fault_row) {
  char& byte = reinterpret_cast<char*>(&record)[field.offset];
  const char written = byte;
  std::vector<char> mended, every;
  for (int v = 0; v < 256; ++v) {
    byte = static_cast<char>(v);
    every.push_back(byte);
    if (EvaluateRow(fault_row, record) == nullptr) mended.push_back(byte);
  }
  byte = written;
  return mended.empty() ? every : mended;
}

// Whether some value of the one-byte `field` opens every gate of the row.
bool SomeValueOpens(const IndexedRow& r, AssessmentRecord& record, FieldRef field,
                    const std::vector<char>& values) {
  char& byte = reinterpret_cast<char*>(&record)[field.offset];
  const char written = byte;
  bool opens = false;
  for (const char v : values) {
    byte = v;
    if (GatesHold(r, record)) {
      opens = true;
      break;
    }
  }
  byte = written;
  return opens;
}

// Whether some value of the one-byte `field` makes the row apply and fail.
bool SomeValueBreaks(const IndexedRow& r, AssessmentRecord& record, FieldRef field,
                     const std::vector<char>& values) {
  char& byte = reinterpret_cast<char*>(&record)[field.offset];
  const char written = byte;
  bool breaks = false;
  for (const char v : values) {
    byte = v;
    if (GatesHold(r, record) && EvaluateRow(*r.row, record) != nullptr) {
      breaks = true;
      break;
    }
  }
  byte = written;
  return breaks;
}

// Whether the row's gates that do not read `field` hold as written.
bool OtherGatesHold(const IndexedRow& r, const AssessmentRecord& record, FieldRef field) {
  return (Reads(r.row->when, field) || Holds(r.row->when, record)) &&
         (Reads(r.list->gate, field) || Holds(r.list->gate, record));
}

std::string ShownItem(const OpenedItem& item) {
  return ShownName(item.item_code, item.label, item.field);
}

const RowList& ListOf(const Row& row) {
  for (const RowList& list : Index().lists) {
    if (&row >= list.rows.data() && &row < list.rows.data() + list.rows.size()) return list;
  }
  static const RowList none{};
  return none;
}

// A field to mend: its width on the line (0 when no layout item fills it)
// and, once asked for, its mended values.
struct Mend {
  FieldRef field;
  int width = 0;
  bool valued = false;
  std::vector<char> values;
};

const std::vector<char>& ValuesOf(Mend& mend, AssessmentRecord& trial, const Row& fault_row) {
  if (!mend.valued) {
    mend.values = MendedValues(trial, mend.field, fault_row);
    mend.valued = true;
  }
  return mend.values;
}

// Whether mending `mend.field` may bring the row `r` into the check (see
// opens.h).
bool MendOpens(const IndexedRow& r, AssessmentRecord& trial, Mend& mend, const Row* fault_row) {
  const FieldRef field = mend.field;
  // Every way a mend opens a row needs the row to read the field (its gates'
  // fields among them): most rows are passed over here.
  if (mend.width == 0 || r.reads.front() == field ||  // the field's own item
      std::find(r.reads.begin(), r.reads.end(), field) == r.reads.end()) {
    return false;
  }
  if (fault_row == nullptr) {
    // Nothing was checked: each rule that reads the number waits for it.
    return OtherGatesHold(r, trial, field);
  }
  if (GateReads(r, field) && !GatesHold(r, trial)) {
    // A gate over a wider answer than one byte: any mend may open it.
    return mend.width != 1 || SomeValueOpens(r, trial, field, ValuesOf(mend, trial, *fault_row));
  }
  // A rule checked already, which holds now and reads the answer.
  if (mend.width != 1 || !GatesHold(r, trial) || EvaluateRow(*r.row, trial) != nullptr) {
    return false;
  }
  return SomeValueBreaks(r, trial, field, ValuesOf(mend, trial, *fault_row));
}

std::vector<OpenedItem> ItemsOpened(const AssessmentRecord& record, Family family,
                                    std::span<const FieldRef> fields, const Row* fault_row) {
  std::vector<OpenedItem> items;
  AssessmentRecord trial = record;
  std::vector<Mend> mends;
  for (const FieldRef field : fields) {
    const LayoutItem* layout = FindLayoutItemAt(field.offset);
    mends.push_back({field, layout != nullptr ? layout->width : 0, false, {}});
  }
  for (const IndexedRow& r : Index().rows) {
    if (!Runs(*r.list, family) || r.reads.empty()) continue;
    const bool opens = std::any_of(mends.begin(), mends.end(), [&](Mend& mend) {
      return MendOpens(r, trial, mend, fault_row);
    });
    if (!opens) continue;
    const char* name = FieldNameAtOffset(r.reads.front().offset);
    if (name == nullptr) continue;
    const ItemWords words = ItemWordsOf(name);
    OpenedItem item{name, words.code, words.name};
    const std::string shown = ShownItem(item);
    const bool named = std::any_of(items.begin(), items.end(), [&](const OpenedItem& other) {
      return ShownItem(other) == shown;
    });
    if (!named) items.push_back(std::move(item));
  }
  return items;
}

}  // namespace

std::vector<const Row*> RowsGatedOn(FieldRef field, Family family) {
  std::vector<const Row*> rows;
  for (const IndexedRow& r : Index().rows) {
    if (Runs(*r.list, family) && GateReads(r, field)) rows.push_back(r.row);
  }
  return rows;
}

std::vector<OpenedItem> ItemsOpenedByMend(const AssessmentRecord& record, Family family,
                                          FieldRef field, const Row* fault_row) {
  return ItemsOpened(record, family, std::span<const FieldRef>(&field, 1), fault_row);
}

std::vector<OpenedItem> ItemsOpenedByFault(const AssessmentRecord& record, Family family,
                                           const Row& fault_row) {
  std::vector<FieldRef> fields;
  const std::vector<FieldRef> reads = RowReads(fault_row);
  const bool one_field = fault_row.char_field != nullptr || fault_row.int_field != nullptr ||
                         fault_row.decimal_field != nullptr || fault_row.date_field != nullptr;
  if (one_field) {
    fields.push_back(reads.front());
  } else {
    // A rule over several answers names no value of its own: any of them
    // may be the one to mend, but not the answers of its gates, which chose
    // to check it.
    for (const FieldRef field : reads) {
      if (!Reads(fault_row.when, field) && !Reads(ListOf(fault_row).gate, field)) {
        fields.push_back(field);
      }
    }
  }
  return ItemsOpened(record, family, fields, &fault_row);
}

std::string OpenedItemsText(const ExplainedFault& fault) {
  std::string text;
  for (const OpenedItem& item : fault.opens) {
    if (!text.empty()) text += "; ";
    text += ShownItem(item);
  }
  return text;
}

std::string OpensText(const ExplainedFault& fault, Language language) {
  if (fault.opens.empty()) return "";
  return (language == Language::kEnglish
              ? std::string("mending this value also brings into the check: ")
              : U8(u8"이 값을 고치면 다음 항목도 검사됩니다: ")) +
         OpenedItemsText(fault);
}

}  // namespace grouper
