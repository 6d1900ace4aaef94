// A reference to a field of AssessmentRecord, by its place in the record, for
// the rules and criteria that say which fields they read. The input layout
// gives a field's item (its columns in each family, its item code and name):
// FindLayoutItemAt(field.offset). FIELD(name) names one, checked by the
// compiler; kFields<...> is a fixed list of them.
#pragma once

#include <cstddef>

#include "record/assessment_record.h"

namespace grouper {

struct FieldRef {
  std::size_t offset;
  constexpr bool operator==(const FieldRef&) const = default;
};

#define FIELD(name)                             \
  ::grouper::FieldRef {                         \
    offsetof(::grouper::AssessmentRecord, name) \
  }

template <FieldRef... fields>
inline constexpr FieldRef kFields[] = {fields...};

// The form-version code, which no layout row fills: columns 0 to 2.
inline constexpr FieldRef kFormVersionField = FIELD(form_version);

}  // namespace grouper
