// The shapes of check that recur throughout the form, as rows that one small
// engine interprets. A validation section is a list of rows in form order:
// each row names its field, its shape, its bounds, the condition under which
// it applies and its message. The first row that applies and fails ends the
// validation of the record with that row's message.
//
// Irregular rules (the date order, the pain rule, the blank removal from the
// names) are small functions that a Rule row calls; they return their message
// when they fail and nullptr when they hold.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>

#include "record/assessment_record.h"

namespace grouper {

using CharField = char AssessmentRecord::*;
using IntField = int32_t AssessmentRecord::*;
using DecimalField = float AssessmentRecord::*;
using DateField = DateText AssessmentRecord::*;

// The condition under which a row applies; nullptr means always.
using Gate = bool (*)(const AssessmentRecord&);
// An irregular rule: its message when it fails, nullptr when it holds.
using RuleFunction = const char* (*)(AssessmentRecord&);

enum class Shape {
  kCharRange,       // the character lies between two digit characters (signed bytes)
  kCharSet,         // the character is one of a set of digits
  kBlank,           // the character is the space
  kIntRange,        // lo <= value <= hi
  kIntZero,         // value == 0
  kDecimalRange,    // lo <= value <= hi, compared in tenths as entered
  kDecimalZero,     // value == 0.0
  kDate,            // CheckDate accepts the text
  kAbsentDate,      // the text is exactly "00000000"
  kNoneOfAbove,     // a none-applies flag agrees with its list of flags
  kAnySet,          // at least one flag of the list is '1'
  kAllExactlyZero,  // every flag of the list is '0'
  kRule,            // an irregular rule
};

struct Check {
  Shape shape = Shape::kRule;
  Gate when = nullptr;
  CharField char_field = nullptr;
  IntField int_field = nullptr;
  DecimalField decimal_field = nullptr;
  DateField date_field = nullptr;
  int lo = 0;
  int hi = 0;
  const char* set = nullptr;
  std::span<const CharField> list = {};
  RuleFunction rule = nullptr;
  const char* message = nullptr;      // for kNoneOfAbove: when the flag must be '0'
  const char* message_alt = nullptr;  // for kNoneOfAbove: when the flag must be '1'
};

// Runs the rows in order; returns the message of the first failing row that
// applies, or nullptr when every row holds.
const char* RunChecks(std::span<const Check> checks, AssessmentRecord& record);

// Runs several lists of rows one after the other, as RunChecks does.
const char* RunChecks(std::initializer_list<std::span<const Check>> lists,
                      AssessmentRecord& record);

// True when at least one flag of the list is the character '1'.
bool AnyFlagSet(const AssessmentRecord& record, std::span<const CharField> flags);

// Row builders. Character bounds are digit characters ('0'..'9'); decimal
// bounds are in tenths (999 for 99.9).
constexpr Check CharRange(CharField f, char lo, char hi, const char* message, Gate when = nullptr) {
  return {.shape = Shape::kCharRange,
          .when = when,
          .char_field = f,
          .lo = lo,
          .hi = hi,
          .message = message};
}
constexpr Check CharSet(CharField f, const char* set, const char* message, Gate when = nullptr) {
  return {.shape = Shape::kCharSet, .when = when, .char_field = f, .set = set, .message = message};
}
constexpr Check Blank(CharField f, const char* message, Gate when = nullptr) {
  return {.shape = Shape::kBlank, .when = when, .char_field = f, .message = message};
}
constexpr Check IntRange(IntField f, int lo, int hi, const char* message, Gate when = nullptr) {
  return {.shape = Shape::kIntRange,
          .when = when,
          .int_field = f,
          .lo = lo,
          .hi = hi,
          .message = message};
}
constexpr Check IntZero(IntField f, const char* message, Gate when = nullptr) {
  return {.shape = Shape::kIntZero, .when = when, .int_field = f, .message = message};
}
constexpr Check DecimalRange(DecimalField f, int lo_tenths, int hi_tenths, const char* message,
                             Gate when = nullptr) {
  return {.shape = Shape::kDecimalRange,
          .when = when,
          .decimal_field = f,
          .lo = lo_tenths,
          .hi = hi_tenths,
          .message = message};
}
constexpr Check DecimalZero(DecimalField f, const char* message, Gate when = nullptr) {
  return {.shape = Shape::kDecimalZero, .when = when, .decimal_field = f, .message = message};
}
constexpr Check Date(DateField f, const char* message, Gate when = nullptr) {
  return {.shape = Shape::kDate, .when = when, .date_field = f, .message = message};
}
constexpr Check AbsentDate(DateField f, const char* message, Gate when = nullptr) {
  return {.shape = Shape::kAbsentDate, .when = when, .date_field = f, .message = message};
}
// The none-applies flag must be '0' when a flag of the list is '1' (else
// `must_be_0`) and '1' when none is (else `must_be_1`). Its own range is a
// separate row before this one.
constexpr Check NoneOfAbove(CharField none, std::span<const CharField> list, const char* must_be_0,
                            const char* must_be_1, Gate when = nullptr) {
  return {.shape = Shape::kNoneOfAbove,
          .when = when,
          .char_field = none,
          .list = list,
          .message = must_be_0,
          .message_alt = must_be_1};
}
constexpr Check AnySet(std::span<const CharField> list, const char* message, Gate when = nullptr) {
  return {.shape = Shape::kAnySet, .when = when, .list = list, .message = message};
}
constexpr Check AllExactlyZero(std::span<const CharField> list, const char* message,
                               Gate when = nullptr) {
  return {.shape = Shape::kAllExactlyZero, .when = when, .list = list, .message = message};
}
constexpr Check Rule(RuleFunction rule, Gate when = nullptr) {
  return {.shape = Shape::kRule, .when = when, .rule = rule};
}

}  // namespace grouper
