#include "support/validation_case.h"

#include <gtest/gtest.h>

#include <string>

#include "support/cp949.h"
#include "support/record_builder.h"
#include "validate/record_validator.h"

namespace grouper::testing {

void ExpectVerdict(const ValidationCase& c) {
  AssessmentRecord record = ValidRecord(c.code);
  c.change(record);
  SetCurrentRecord(&record);
  char error_text[1024] = {};
  const int result = RecordValidator(error_text);
  SetCurrentRecord(nullptr);
  SCOPED_TRACE(std::string(c.code) + ": " + c.what);
  const bool passes = c.message == nullptr || c.message[0] == u8'\0';
  const std::string want = passes ? std::string() : Cp949(c.message);
  EXPECT_EQ(result, passes ? 1 : -1);
  EXPECT_TRUE(error_text == want) << "got  " << Utf8(error_text) << "\nwant " << Utf8(want);
}

void ExpectOutcomes(std::initializer_list<ValidationCase> cases) {
  for (const ValidationCase& c : cases) ExpectVerdict(c);
}

}  // namespace grouper::testing
