// Builds input lines for tests from named field values.
//
// ValidRecord(code) gives an AssessmentRecord for the form-version code (any
// text that is not one of the eight codes gives the base layout) whose values
// pass every validation rule: a first assessment of a patient who is not in a
// coma, fully independent, with no diagnosis, treatment or problem recorded,
// weight and height measured, and both signatures given. Tests change the
// fields they are about and call BuildLine, which writes every item of the
// family's layout at its columns; SetItem then overwrites the raw bytes of one
// item (for values that a field cannot hold, such as a letter in a number).
#pragma once

#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "record/assessment_record.h"
#include "record/field_groups.h"
#include "record/form_version.h"

namespace grouper::testing {

AssessmentRecord ValidRecord(std::string_view version_code);

// Sets a text field of a record, NUL-padded (cut to the field's size).
template <std::size_t N>
void SetText(char (&field)[N], const char* value) {
  std::memset(field, 0, N);
  std::memcpy(field, value, strnlen(value, N - 1));
}

// Sets every one-byte field of the named groups (record/field_groups.h) to
// `value`.
inline void SetEach(AssessmentRecord& r, std::initializer_list<std::span<const CharField>> groups,
                    char value) {
  for (const std::span<const CharField> group : groups) {
    for (const CharField field : group) r.*field = value;
  }
}

// A line without its trailing blanks, as the batch trims it before writing
// the line back.
inline std::string Trimmed(std::string line) {
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

std::string BuildLine(const AssessmentRecord& record);
// Overwrites the item of `field_name` with `text` (padded with blanks to the
// item's width; longer text is cut). The item must be carried by the family.
void SetItem(std::string& line, std::string_view field_name, std::string_view text);
// Start column of a field in the family of the line's record.
int ColumnOf(Family family, std::string_view field_name);

}  // namespace grouper::testing
