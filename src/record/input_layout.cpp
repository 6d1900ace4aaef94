#include "record/input_layout.h"

#include <cstddef>

#include "record/input_layout_table.h"

namespace grouper {

std::span<const LayoutItem> InputLayout() {
  return kInputLayout;
}

const LayoutItem* FindLayoutItem(std::string_view field_name) {
  for (const LayoutItem& item : kInputLayout) {
    if (field_name == item.field_name) return &item;
  }
  return nullptr;
}

}  // namespace grouper
