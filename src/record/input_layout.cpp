#include "record/input_layout.h"

#include <cstddef>

#include "record/input_layout_table.h"

namespace grouper {

std::span<const LayoutItem> InputLayout() {
  return kInputLayout;
}

const LayoutItem* FindLayoutItem(std::string_view field_name) {
  // The first byte rules out most names before they are measured and compared.
  const char first = field_name.empty() ? '\0' : field_name[0];
  for (const LayoutItem& item : kInputLayout) {
    if (item.field_name[0] == first && field_name == item.field_name) return &item;
  }
  return nullptr;
}

const LayoutItem* FindLayoutItemAt(std::size_t offset) {
  for (const LayoutItem& item : kInputLayout) {
    if (item.offset == offset) return &item;
  }
  return nullptr;
}

ItemWords ItemWordsOf(std::string_view field_name) {
  if (field_name == "form_version") return {nullptr, kUtf8<u8"서식 버전">.text};
  const LayoutItem* item = FindLayoutItem(field_name);
  if (item == nullptr) return {};
  return {item->item_code, item->item_name};
}

}  // namespace grouper
