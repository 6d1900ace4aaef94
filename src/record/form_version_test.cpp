#include "record/form_version.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>

namespace grouper {
namespace {

TEST(FormVersion, EightCodesFormFourFamiliesAndAnythingElseIsTheBaseLayout) {
  const struct {
    const char* text;
    Family family;
  } cases[] = {
      {"089", Family::k089},  {"010", Family::k089},   {"090", Family::k090},
      {"011", Family::k090},  {"091", Family::k091},   {"012", Family::k091},
      {"092", Family::k092},  {"013", Family::k092},   {"123", Family::kBase},
      {"ABC", Family::kBase}, {"999", Family::kBase},  {"09", Family::kBase},
      {"", Family::kBase},    {"0890", Family::kBase}, {"014", Family::kBase},
      {"009", Family::kBase},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FamilyOf(c.text), c.family) << "'" << c.text << "'";
  }
}

// Every three bytes of digits and their neighbours, as text and as a record's
// field: only the eight codes name a family, and both forms agree.
TEST(FormVersion, OnlyTheEightCodesNameAFamilyWhateverTheBytes) {
  const char bytes[] = {'0', '1', '2', '3', '8', '9', '/', ':', 'A', '\0', '\x80', '\xb0'};
  const char* const codes[] = {"089", "010", "090", "011", "091", "012", "092", "013"};
  // The core's list, which the tools ask, is the same codes in the same order.
  ASSERT_TRUE(
      std::equal(kVersionCodes.begin(), kVersionCodes.end(), std::begin(codes), std::end(codes)));
  for (char a : bytes) {
    for (char b : bytes) {
      for (char c : bytes) {
        const char field[4] = {a, b, c, '\0'};
        const std::string text(field, strnlen(field, 3));
        bool is_code = false;
        for (const char* code : codes) is_code = is_code || text == code;
        EXPECT_EQ(FamilyOf(text) != Family::kBase, is_code) << "'" << text << "'";
        EXPECT_EQ(FamilyOfField(field), FamilyOf(text)) << "'" << text << "'";
      }
    }
  }
  const char longer[4] = {'0', '8', '9', '0'};  // no terminator: no code
  EXPECT_EQ(FamilyOfField(longer), Family::kBase);
  EXPECT_FALSE(IsCode(longer, "089"));
  EXPECT_TRUE(IsCode("089", "089"));
  const char shorter[4] = {'0', '8', '\0', '\0'};
  EXPECT_FALSE(IsCode(shorter, "089"));
  EXPECT_FALSE(IsCode("090", "091"));
}

TEST(FormVersion, FamilyTable) {
  const struct {
    Family family;
    int expected, code, reject, start;
  } rows[] = {
      {Family::kBase, 258, 290, 290, 0}, {Family::k089, 262, 294, 294, 3},
      {Family::k090, 372, 398, 402, 3},  {Family::k091, 380, 398, 412, 3},
      {Family::k092, 534, 550, 566, 3},
  };
  for (const auto& r : rows) {
    const FamilyInfo& info = InfoOf(r.family);
    EXPECT_EQ(info.expected_length, r.expected);
    EXPECT_EQ(info.code_column, r.code);
    EXPECT_EQ(info.reject_column, r.reject);
    EXPECT_EQ(info.items_start, r.start);
  }
}

TEST(Framing, AcceptsOnlyTheLengthsOfTheFamily) {
  const struct {
    const char* version;
    std::size_t length;
    bool accepts;
  } cases[] = {
      {"089", 262, true}, {"089", 258, false}, {"089", 261, false}, {"010", 263, false},
      {"123", 258, true}, {"ABC", 258, true},  {"999", 257, false}, {"123", 259, false},
      {"1", 1, false},    {"", 0, false},      {"090", 347, false}, {"090", 348, true},
      {"011", 372, true}, {"090", 398, true},  {"090", 399, false}, {"091", 355, false},
      {"091", 356, true}, {"012", 398, true},  {"012", 399, false}, {"092", 509, false},
      {"092", 510, true}, {"013", 550, true},  {"013", 551, false}, {"013", 1023, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FramingAccepts(FamilyOf(c.version), c.length), c.accepts)
        << c.version << " " << c.length;
  }
}

}  // namespace
}  // namespace grouper
