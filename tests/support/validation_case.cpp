#include "support/validation_case.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "record/input_layout.h"
#include "record/record_parser.h"
#include "support/cp949.h"
#include "support/line_answer.h"
#include "support/record_builder.h"
#include "validate/record_validator.h"

namespace grouper::testing {

namespace {

std::string_view Unpadded(const char* text, std::size_t width) {
  std::string_view s(text, strnlen(text, width));
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// Whether `line`, written from `record`, reads back as it: every item that the
// family carries holds the same value (texts without their blank padding). A
// number wider than its item or a NUL answer cannot be written in a line.
bool ReadsBack(const AssessmentRecord& record, const std::string& line) {
  AssessmentRecord back{};
  const std::size_t length = Trimmed(line).size();
  const Family family = FamilyOf(std::string_view(line).substr(0, 3));
  if (!FramingAccepts(family, length) || ParseRecord(line.c_str(), family, back) != nullptr) {
    return false;
  }
  const auto* a = reinterpret_cast<const char*>(&record);
  const auto* b = reinterpret_cast<const char*>(&back);
  for (const LayoutItem& item : InputLayout()) {
    if (item.StartIn(family) < 0) continue;
    const char* x = a + item.offset;
    const char* y = b + item.offset;
    const auto width = static_cast<std::size_t>(item.width);
    const bool same = item.kind == ItemKind::kText   ? Unpadded(x, width) == Unpadded(y, width)
                      : item.kind == ItemKind::kChar ? *x == *y
                                                     : std::memcmp(x, y, 4) == 0;
    if (!same) return false;
  }
  return true;
}

}  // namespace

void ExpectVerdict(const ValidationCase& c) {
  AssessmentRecord record = ValidRecord(c.code);
  c.change(record);
  SCOPED_TRACE(std::string(c.code) + ": " + c.what);
  const bool passes = c.message == nullptr || c.message[0] == u8'\0';
  const std::string want = passes ? std::string() : Cp949(c.message);
  const std::string line = BuildLine(record);
  std::string got;
  if (ReadsBack(record, line)) {
    // The program's own road: the line taken, parsed, validated, classified.
    const Answered a = AnswerOf(line);
    EXPECT_EQ(a.answer.outcome, passes ? Outcome::kGroupCode : Outcome::kMessage);
    if (a.answer.outcome != Outcome::kGroupCode) got = a.answer.message;
  } else {
    // A value that no line can hold (a number past its item's width, a NUL
    // answer): the validator that the road calls, on the record itself.
    const char* message = ValidateRecord(record, FamilyOfField(record.form_version));
    if (message != nullptr) got = message;
  }
  EXPECT_TRUE(got == want) << "got  " << Utf8(got) << "\nwant " << Utf8(want);
}

void ExpectOutcomes(std::initializer_list<ValidationCase> cases) {
  for (const ValidationCase& c : cases) ExpectVerdict(c);
}

}  // namespace grouper::testing
