// Form versions, their families and the framing of an input line.
//
// The first three bytes of a trimmed line name the form version. The eight
// codes form four families whose two codes share layout, lengths and columns;
// any other text selects the base layout, whose line has no version prefix.
// Every rule that differs by family asks one of the family-group predicates
// below. The few rules that the form gives for single codes rather than whole
// families (section E's catheter date and voiding-diary days) ask IsCode for
// their codes; no rule compares version texts in another way.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace grouper {

enum class Family { kBase = 0, k089, k090, k091, k092 };
inline constexpr int kFamilyCount = 5;

struct FamilyInfo {
  Family family;
  int expected_length;  // full length of the family's layout
  int min_length;       // shortest accepted trimmed length
  int code_column;      // output column of the group code
  int reject_column;    // output column of the wrong-data-type message
  int items_start;      // column of the first item (after the version code)
};

// The eight version codes: the two codes of each family, the families in the
// order of Family (089/010, 090/011, 091/012, 092/013). Every list of the
// codes, in the core and in the tools, is this one.
inline constexpr std::array<std::string_view, 8> kVersionCodes = {"089", "010", "090", "011",
                                                                  "091", "012", "092", "013"};

// The family of the version code "0NN" by its number NN, as a table, which
// every line consults several times: a load costs less than a search.
inline constexpr auto kFamilyOfNumber = [] {
  std::array<Family, 100> families{};  // Family::kBase
  for (std::size_t i = 0; i < kVersionCodes.size(); ++i) {
    const std::string_view code = kVersionCodes[i];
    families[(code[1] - '0') * 10 + (code[2] - '0')] = static_cast<Family>(1 + i / 2);
  }
  return families;
}();

// The family of the code "0" followed by the two bytes `tens` and `units`;
// the base layout unless both are digits.
constexpr Family FamilyOfDigits(char tens, char units) {
  const unsigned t = static_cast<unsigned char>(tens) - unsigned{'0'};
  const unsigned u = static_cast<unsigned char>(units) - unsigned{'0'};
  return t > 9 || u > 9 ? Family::kBase : kFamilyOfNumber[t * 10 + u];
}

// The family of a form-version text (at most three bytes; shorter texts and
// unknown codes select the base layout).
constexpr Family FamilyOf(std::string_view v) {
  if (v.size() != 3 || v[0] != '0') return Family::kBase;
  return FamilyOfDigits(v[1], v[2]);
}

// The same for a record's NUL-terminated four-byte form-version field,
// without measuring it first (a NUL among the digits is no digit).
constexpr Family FamilyOfField(const char (&field)[4]) {
  return field[0] != '0' || field[3] != '\0' ? Family::kBase : FamilyOfDigits(field[1], field[2]);
}
// The lengths and columns of a family; a static row.
const FamilyInfo& InfoOf(Family family);

// True when a record's form-version field holds exactly `code` (three bytes):
// for a rule that names single codes, not a family group.
inline bool IsCode(const char (&field)[4], const char (&code)[4]) {
  // The four bytes at once: the code's fourth byte is its terminator.
  uint32_t field_bytes, code_bytes;
  std::memcpy(&field_bytes, field, sizeof field_bytes);
  std::memcpy(&code_bytes, code, sizeof code_bytes);
  return field_bytes == code_bytes;
}

// Family groups, by which every rule that differs by form version chooses:
// the early families (the base layout and 089/010), family 090/011, the
// families from 091 (091/012, 092/013), and the families from 090.
inline bool IsEarly(Family f) {
  return f == Family::kBase || f == Family::k089;
}
inline bool Is090(Family f) {
  return f == Family::k090;
}
inline bool IsFrom091(Family f) {
  return f == Family::k091 || f == Family::k092;
}
inline bool IsFrom090(Family f) {
  return !IsEarly(f);
}
// The early families and 090/011: the layouts before 091 regrouped items.
inline bool IsUpTo090(Family f) {
  return !IsFrom091(f);
}
// Single families, where one list of rows belongs to one layout.
inline bool IsBase(Family f) {
  return f == Family::kBase;
}
inline bool Is089(Family f) {
  return f == Family::k089;
}

// The framing check of a line, made once when the line is taken: true when
// the trimmed length fits the family (exactly its length for the early
// families; from its shortest length to its code column for the families from
// 090, whose blank signature names may be trimmed away).
bool FramingAccepts(Family family, std::size_t trimmed_length);

}  // namespace grouper
