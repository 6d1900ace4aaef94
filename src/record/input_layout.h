// The fixed-width input layout of every family, as data: one row per item of
// the form, in line order, with its record field, kind, width and start column
// in each family (-1 where the family's layout does not carry the item).
//
// The version code in columns 0 to 2 is not an item row: the parser copies it
// into `form_version` for every line. In the lines of the eight version codes
// the items start at column 3; in the base layout they start at column 0.
// Every family's items cover its line without gaps up to its expected length.
//
// Each row also names its item as a clerk finds it on the paper form: the item
// code (section letter first, then the form's numbering: "G.2.b.1") and the
// item's Korean name as the form's validation messages word it. Every item
// belongs to one section of the form, given by the code's letter; the general
// items before section A (institution, patient name, resident number) are A.0
// to A.2, and the signature block, which the form does not number, is "S".
// The names of items are UTF-8 text, for the outputs for people.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "record/assessment_record.h"
#include "record/form_message.h"
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
  FormMessage parse_message;  // for tested numeric items: the message on failure
  // For one-byte items, the record field, so that rules written against fields
  // can find the field's offset at compile time.
  char AssessmentRecord::*char_member = nullptr;
  // The item code on the form, ASCII ("A.0", "K.1.e.1", "S"). The form
  // renumbered some items between versions, so two fields that no family
  // carries together may share a code; within one family a code is shared only
  // by the parts of one item (a flag and its value, the two blood pressures).
  const char* item_code = nullptr;
  // The item's name as the messages word it, UTF-8 ("시각 통증 등급"); for an
  // item that no message names, the name of its section.
  const char* item_name = nullptr;

  int StartIn(Family f) const { return start[static_cast<int>(f)]; }
};

// Every item row in line order; a static table.
std::span<const LayoutItem> InputLayout();

// The row of a record field by its name, or nullptr.
const LayoutItem* FindLayoutItem(std::string_view field_name);

// The row whose record field starts at `offset` in AssessmentRecord (as
// offsetof gives it), or nullptr: `form_version` and the fields the parser
// does not fill have no row, and an offset inside a field finds nothing.
const LayoutItem* FindLayoutItemAt(std::size_t offset);

// The form's words for a record field, as its layout row gives them: its item
// code (ASCII, "G.2.b.1") and its name (UTF-8, "시각 통증 등급"). The version
// code in columns 0 to 2, which has no row and no item code, is named "서식
// 버전" with no code. Both nullptr for a name that is no field of the layout.
struct ItemWords {
  const char* code = nullptr;
  const char* name = nullptr;
};
ItemWords ItemWordsOf(std::string_view field_name);

}  // namespace grouper
