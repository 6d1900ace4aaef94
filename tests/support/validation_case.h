// Validation cases for tests: a record that passes every rule for its form
// version, one change, and the message the validator must give (or none).
#pragma once

#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "record/assessment_record.h"

namespace grouper::testing {

// Sets a text field of the record, NUL-padded.
template <std::size_t N>
void SetText(char (&field)[N], const char* value) {
  std::memset(field, 0, N);
  std::memcpy(field, value, strnlen(value, N - 1));
}

struct ValidationCase {
  const char* what;
  std::string_view code;  // form-version code of the record, "123" for the base layout
  void (*change)(AssessmentRecord&);
  const char8_t* message;  // nullptr or empty: the record passes
};

// Runs the whole validator on ValidRecord(code) after the change and checks
// its verdict and message.
void ExpectVerdict(const ValidationCase& c);
void ExpectOutcomes(std::initializer_list<ValidationCase> cases);

inline constexpr const char* kEveryCode[] = {"123", "089", "010", "090", "011",
                                             "091", "012", "092", "013"};
inline constexpr const char* kEarly[] = {"123", "089", "010"};
inline constexpr const char* k090[] = {"090", "011"};
inline constexpr const char* kFrom090[] = {"090", "011", "091", "012", "092", "013"};
inline constexpr const char* kFrom091[] = {"091", "012", "092", "013"};

}  // namespace grouper::testing
