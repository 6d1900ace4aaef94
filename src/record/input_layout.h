// The fixed-width input layout of every family, as data: one row per item of
// the form, in line order, with its record field, kind, width and start column
// in each family (-1 where the family's layout does not carry the item).
//
// The version code in columns 0 to 2 is not an item row: the parser copies it
// into `form_version` for every line. In the lines of the eight version codes
// the items start at column 3; in the base layout they start at column 0.
// Every family's items cover its line without gaps up to its expected length.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "record/assessment_record.h"
#include "record/form_version.h"

namespace grouper {

enum class ItemKind {
  kText,         // bytes copied into a text field of width + 1 bytes
  kChar,         // one byte copied unchanged
  kInt,          // digits tested at parse time, converted to int32_t
  kIntUntested,  // converted to int32_t by the C library's atoi rule, never rejected
  kTenths,       // digits tested, converted and divided by 10 into a float
  kIntTenths,    // digits tested, converted, divided by 10 and truncated
};

struct LayoutItem {
  const char* field_name;
  ItemKind kind;
  int width;
  std::size_t offset;         // of the field in AssessmentRecord
  int start[kFamilyCount];    // start column per family, -1 when not carried
  const char* parse_message;  // for tested numeric items: the message on failure
  // For one-byte items, the record field, so that rules written against fields
  // can find the field's offset at compile time.
  char AssessmentRecord::*char_member = nullptr;

  int StartIn(Family f) const { return start[static_cast<int>(f)]; }
};

// Every item row in line order; a static table.
std::span<const LayoutItem> InputLayout();

// The row of a record field by its name, or nullptr.
const LayoutItem* FindLayoutItem(std::string_view field_name);

}  // namespace grouper
