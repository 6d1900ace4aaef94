// The check engine on its own: each shape at its bounds, gates, rules, and the
// order in which rows are tried.
#include "validate/row.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

#include "record/assessment_record.h"
#include "support/run_rows.h"
#include "validate/field_text.h"

namespace grouper {
namespace {

using testing::RunRows;

using R = AssessmentRecord;

constexpr char kFail[] = "fail";
constexpr char kFailAlt[] = "fail alt";

template <std::size_t N>
void SetText(char (&field)[N], const char* value) {
  std::memset(field, 0, N);
  std::memcpy(field, value, strnlen(value, N - 1));
}

// Runs one row on a record; true when it holds.
bool Holds(const Row& check, R& record) {
  const Row rows[] = {check};
  return RunRows(rows, record) == nullptr;
}

TEST(RowEngine, CharRangeComparesSignedBytes) {
  const Row row = CharRange(&R::b_coma, '1', '3', kFail);
  struct {
    char value;
    bool holds;
  } cases[] = {
      {'1', true},     {'3', true},     {'0', false},    {'4', false},
      {' ', false},    {'\0', false},   {'A', false},    {'\x80', false},
      {'\xb0', false}, {'\xff', false}, {'\x7f', false},
  };
  for (const auto& c : cases) {
    R record{};
    record.b_coma = c.value;
    EXPECT_EQ(Holds(row, record), c.holds) << "byte " << (static_cast<int>(c.value) & 0xff);
  }
}

TEST(RowEngine, CharSetAcceptsOnlyItsCharacters) {
  const Row row = CharSet(&R::d_adl_dressing, "012348", kFail);
  for (char value : {'0', '1', '2', '3', '4', '8'}) {
    R record{};
    record.d_adl_dressing = value;
    EXPECT_TRUE(Holds(row, record)) << value;
  }
  // NUL matches the terminator of the set if one is not careful.
  for (char value : {'5', '7', '9', ' ', '\0', '\x80'}) {
    R record{};
    record.d_adl_dressing = value;
    EXPECT_FALSE(Holds(row, record)) << static_cast<int>(value);
  }
}

TEST(RowEngine, BlankIsTheSpaceOnly) {
  const Row row = Blank(&R::b_delirium, kFail);
  R record{};
  record.b_delirium = ' ';
  EXPECT_TRUE(Holds(row, record));
  for (char value : {'\0', '0', '\t'}) {
    record.b_delirium = value;
    EXPECT_FALSE(Holds(row, record)) << static_cast<int>(value);
  }
}

TEST(RowEngine, IntegerShapesAtTheirBounds) {
  const Row range = IntRange(&R::a_systolic_bp, 1, 999, kFail);
  const Row zero = IntZero(&R::a_systolic_bp, kFail);
  struct {
    int32_t value;
    bool in_range;
    bool is_zero;
  } cases[] = {
      {1, true, false},          {999, true, false}, {0, false, true},
      {1000, false, false},      {-1, false, false}, {INT32_MIN, false, false},
      {INT32_MAX, false, false},
  };
  for (const auto& c : cases) {
    R record{};
    record.a_systolic_bp = c.value;
    EXPECT_EQ(Holds(range, record), c.in_range) << c.value;
    EXPECT_EQ(Holds(zero, record), c.is_zero) << c.value;
  }
}

// Values as the parser stores them: the nearest float of digits / 10.
TEST(RowEngine, DecimalShapesCompareTenthsAsEntered) {
  const Row range = DecimalRange(&R::f_hba1c, 1, 999, kFail);
  const Row zero = DecimalZero(&R::f_hba1c, kFail);
  struct {
    int digits;
    bool in_range;
    bool is_zero;
  } cases[] = {
      {1, true, false},     {999, true, false}, {0, false, true},
      {1000, false, false}, {365, true, false}, {9999, false, false},
  };
  for (const auto& c : cases) {
    R record{};
    record.f_hba1c = static_cast<float>(c.digits / 10.0);
    EXPECT_EQ(Holds(range, record), c.in_range) << c.digits;
    EXPECT_EQ(Holds(zero, record), c.is_zero) << c.digits;
  }
  R record{};
  record.f_hba1c = -0.1f;
  EXPECT_FALSE(Holds(range, record));
  EXPECT_FALSE(Holds(zero, record));
}

// Tenths rounds as lround does: every value the parser can store, halves on
// both sides of zero, and values beyond its own rounding (large, infinite, NaN).
TEST(RowEngine, TenthsRoundAsLround) {
  std::vector<float> values = {0.05f,  -0.05f, 0.15f,     -0.15f, 2.5f / 10, -2.5f / 10,
                               0.049f, 1e8f,   -1e8f,     1e9f,   -1e9f,     3e9f,
                               1e30f,  -1e30f, 1e-30f,    -0.0f,  HUGE_VALF, -HUGE_VALF,
                               NAN,    0.45f,  0.4999999f};
  for (int digits = 0; digits <= 9999; ++digits) {
    values.push_back(static_cast<float>(digits / 10.0));
    values.push_back(static_cast<float>(-digits / 10.0));
  }
  for (float v : values) {
    EXPECT_EQ(Tenths(v), std::lround(static_cast<double>(v) * 10.0)) << v;
  }
}

TEST(RowEngine, DateAndAbsentDate) {
  const Row date = Date(&R::c_kmmse_date, kFail);
  const Row absent = AbsentDate(&R::c_kmmse_date, kFail);
  struct {
    const char* text;
    bool is_date;
    bool is_absent;
  } cases[] = {
      {"20150301", true, false}, {"00000000", false, true}, {"        ", false, false},
      {"", false, false},        {"0000000", false, false}, {"20151301", false, false},
  };
  for (const auto& c : cases) {
    R record{};
    SetText(record.c_kmmse_date, c.text);
    EXPECT_EQ(Holds(date, record), c.is_date) << "'" << c.text << "'";
    EXPECT_EQ(Holds(absent, record), c.is_absent) << "'" << c.text << "'";
  }
}

constexpr CharField kFlags[] = {&R::c_delusions, &R::c_hallucinations, &R::c_agitation};

TEST(RowEngine, NoneOfAboveAgreesWithItsList) {
  const Row rows[] = {NoneOfAbove(&R::c_wandering, kFlags, kFail, kFailAlt)};
  struct {
    const char* flags;  // delusions, hallucinations, agitation
    char none;
    const char* message;
  } cases[] = {
      {"000", '1', nullptr},
      {"000", '0', kFailAlt},
      {"001", '0', nullptr},
      {"100", '1', kFail},
      {"111", '1', kFail},
      {"111", '0', nullptr},
      // Only the character '1' counts as set.
      {"202", '1', nullptr},
      {"  0", '1', nullptr},
      {"202", '0', kFailAlt},
  };
  for (const auto& c : cases) {
    R record{};
    record.c_delusions = c.flags[0];
    record.c_hallucinations = c.flags[1];
    record.c_agitation = c.flags[2];
    record.c_wandering = c.none;
    EXPECT_EQ(RunRows(rows, record), c.message) << c.flags << " none " << c.none;
  }
}

TEST(RowEngine, AnySetAndAllExactlyZero) {
  const Row any = AnySet(kFlags, kFail);
  const Row all_zero = AllExactlyZero(kFlags, kFail);
  struct {
    const char* flags;
    bool any_set;
    bool all_zero;
  } cases[] = {
      {"000", false, true},  {"010", true, false},  {"001", true, false},
      {"0 0", false, false}, {"020", false, false},
  };
  for (const auto& c : cases) {
    R record{};
    record.c_delusions = c.flags[0];
    record.c_hallucinations = c.flags[1];
    record.c_agitation = c.flags[2];
    EXPECT_EQ(Holds(any, record), c.any_set) << c.flags;
    EXPECT_EQ(Holds(all_zero, record), c.all_zero) << c.flags;
  }
}

constexpr Gate kComa = {[](const R& r) { return r.b_coma == '1'; }, kFields<FIELD(b_coma)>};
constexpr GateRef ComaGate = &kComa;

const char* PassesUnlessMarked(const R& r) {
  return r.b_delirium == 'M' ? "marked" : nullptr;
}
const char* AlwaysFails(const R&) {
  return kFailAlt;
}

TEST(RowEngine, GatesRulesAndOrder) {
  const Row rows[] = {
      Blank(&R::c_expression, "gated", ComaGate),
      Rule(PassesUnlessMarked, {}, {}),
      CharRange(&R::c_short_term_memory, '0', '2', "first"),
      CharRange(&R::c_cognitive_skills, '0', '3', "second"),
      Rule(AlwaysFails, {}, {}, ComaGate),
  };
  R record{};
  record.b_coma = '0';
  record.c_expression = '1';
  record.c_short_term_memory = '0';
  record.c_cognitive_skills = '0';
  // A gate that does not hold skips its row; a rule reads the record.
  EXPECT_EQ(RunRows(rows, record), nullptr);
  record.b_delirium = 'M';
  EXPECT_STREQ(RunRows(rows, record), "marked");
  record.b_delirium = '\0';

  // The first failing row wins.
  record.c_short_term_memory = '9';
  record.c_cognitive_skills = '9';
  EXPECT_STREQ(RunRows(rows, record), "first");
  record.c_short_term_memory = '0';
  EXPECT_STREQ(RunRows(rows, record), "second");

  // With the gate open, its rows are checked.
  record.c_cognitive_skills = '0';
  record.b_coma = '1';
  EXPECT_STREQ(RunRows(rows, record), "gated");
  record.c_expression = ' ';
  EXPECT_EQ(RunRows(rows, record), kFailAlt);

  EXPECT_EQ(RunRows({}, record), nullptr);
}

}  // namespace
}  // namespace grouper
