#include "record/form_version.h"

#include <cstring>

namespace grouper {

namespace {

constexpr FamilyInfo kFamilies[kFamilyCount] = {
    {Family::kBase, 258, 258, 290, 290, 0}, {Family::k089, 262, 262, 294, 294, 3},
    {Family::k090, 372, 348, 398, 402, 3},  {Family::k091, 380, 356, 398, 412, 3},
    {Family::k092, 534, 510, 550, 566, 3},
};

}  // namespace

const FamilyInfo& InfoOf(Family family) {
  return kFamilies[static_cast<int>(family)];
}

bool FramingAccepts(Family family, std::size_t length) {
  const FamilyInfo& info = InfoOf(family);
  if (IsFrom090(family)) {
    return length >= static_cast<std::size_t>(info.min_length) &&
           length <= static_cast<std::size_t>(info.code_column);
  }
  return length == static_cast<std::size_t>(info.expected_length);
}

}  // namespace grouper
