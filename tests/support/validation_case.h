// Validation cases for tests: a record that passes every rule for its form
// version, one change, and the message that the program must answer its line
// with (or none: the line gets a group code).
#pragma once

#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "record/assessment_record.h"
#include "support/record_builder.h"

namespace grouper::testing {

struct ValidationCase {
  const char* what;
  std::string_view code;  // form-version code of the record, "123" for the base layout
  void (*change)(AssessmentRecord&);
  const char8_t* message;  // nullptr or empty: the record passes
};

// Writes ValidRecord(code), after the change, as an input line, answers it
// through the program's line path and checks the answer: the message, or a
// group code when the case expects none.
void ExpectVerdict(const ValidationCase& c);
void ExpectOutcomes(std::initializer_list<ValidationCase> cases);

inline constexpr const char* kEveryCode[] = {"123", "089", "010", "090", "011",
                                             "091", "012", "092", "013"};
inline constexpr const char* kEarly[] = {"123", "089", "010"};
inline constexpr const char* k090[] = {"090", "011"};
inline constexpr const char* kFrom090[] = {"090", "011", "091", "012", "092", "013"};
inline constexpr const char* kFrom091[] = {"091", "012", "092", "013"};

}  // namespace grouper::testing
