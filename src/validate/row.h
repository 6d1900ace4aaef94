// The vocabulary in which the rules of the form are written: rows, gates and
// faults. The shapes of check that recur throughout the form are rows that one
// small engine interprets. A validation section is a list of rows in form
// order: each row names its field, its shape, its bounds, the condition under
// which it applies and its message. Each row that applies and fails is
// reported to a sink: the batch's sink ends the validation at the first, with
// that row's message; an explanation's sink collects them all.
//
// Irregular rules (the date order, the pain rule, the blank removal from the
// names) are small functions that a Rule row calls; they return their message
// when they fail and nullptr when they hold.
//
// How the rows are evaluated, one by one or compiled into word-at-a-time
// tests, is validate/row_plan.h; only the sections that run their rows
// include it.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "record/assessment_record.h"
#include "record/field_ref.h"
#include "record/form_message.h"
#include "record/form_version.h"
#include "text/cp949.h"

namespace grouper {

// The condition under which a row (or a list of rows) applies, with the
// fields it reads: every answer it compares is part of the evidence of the
// rows it gates.
struct Gate {
  bool (*holds)(const AssessmentRecord&);
  std::span<const FieldRef> reads;
};
// A row's gate; nullptr means always.
using GateRef = const Gate*;

// An irregular rule: its message when it fails, nullptr when it holds. Its
// row lists the fields it reads.
using RuleFunction = const char* (*)(const AssessmentRecord&);

enum class Shape {
  kCharRange,       // the character lies between two digit characters (signed bytes)
  kCharSet,         // the character is one of a set of digits
  kBlank,           // the character is the space
  kIntRange,        // lo <= value <= hi
  kIntZero,         // value == 0
  kDecimalRange,    // lo <= value <= hi, compared in tenths as entered
  kDecimalZero,     // value == 0.0
  kDate,            // CheckDateField accepts the text
  kAbsentDate,      // the text is exactly "00000000"
  kNoneOfAbove,     // a none-applies flag agrees with its list of flags
  kAnySet,          // at least one flag of the list is '1'
  kAllExactlyZero,  // every flag of the list is '0'
  kRule,            // an irregular rule
};

struct Row {
  Shape shape = Shape::kRule;
  GateRef when = nullptr;
  CharField char_field = nullptr;
  IntField int_field = nullptr;
  DecimalField decimal_field = nullptr;
  DateField date_field = nullptr;
  int lo = 0;
  int hi = 0;
  unsigned digit_set = 0;  // kCharSet: bit d is set when the digit d belongs to the set
  std::span<const CharField> list = {};
  RuleFunction rule = nullptr;
  std::span<const FieldRef> reads = {};             // kRule: the fields the rule reads
  std::span<const FormMessage> rule_messages = {};  // kRule: the messages it may give
  // The section and item its messages name (UTF-8; see FormMessage).
  const char* section = nullptr;
  const char* item = nullptr;
  const char* message = nullptr;      // for kNoneOfAbove: when the flag must be '0'
  const char* message_alt = nullptr;  // for kNoneOfAbove: when the flag must be '1'
};

// Which families a list of rows runs in (IsEarly, IsFrom090...); nullptr
// means every family.
using FamilyGroup = bool (*)(Family);

// A list of rows as a section runs it: in the families of `families`, and
// only when `gate` holds (the coma state chooses between two forms of a
// section). A section is its lists in form order; a row's list tells, with
// the row, everything the row reads.
struct RowList {
  std::span<const Row> rows;
  FamilyGroup families = nullptr;
  GateRef gate = nullptr;
};

// A row with its message: the text, and the section and item it names.
constexpr Row WithMessage(Row row, FormMessage message) {
  row.section = message.section;
  row.item = message.item;
  row.message = message.text;
  return row;
}

// Row builders. Character bounds are digit characters ('0'..'9'); decimal
// bounds are in tenths (999 for 99.9).
constexpr Row CharRange(CharField f, char lo, char hi, FormMessage message,
                        GateRef when = nullptr) {
  return WithMessage(
      {.shape = Shape::kCharRange, .when = when, .char_field = f, .lo = lo, .hi = hi}, message);
}
// `digits` lists the accepted digit characters, for example "012348".
constexpr Row CharSet(CharField f, const char* digits, FormMessage message,
                      GateRef when = nullptr) {
  unsigned mask = 0;
  for (const char* p = digits; *p != '\0'; ++p) mask |= 1u << (*p - '0');
  return WithMessage({.shape = Shape::kCharSet, .when = when, .char_field = f, .digit_set = mask},
                     message);
}
constexpr Row Blank(CharField f, FormMessage message, GateRef when = nullptr) {
  return WithMessage({.shape = Shape::kBlank, .when = when, .char_field = f}, message);
}
constexpr Row IntRange(IntField f, int lo, int hi, FormMessage message, GateRef when = nullptr) {
  return WithMessage({.shape = Shape::kIntRange, .when = when, .int_field = f, .lo = lo, .hi = hi},
                     message);
}
constexpr Row IntZero(IntField f, FormMessage message, GateRef when = nullptr) {
  return WithMessage({.shape = Shape::kIntZero, .when = when, .int_field = f}, message);
}
constexpr Row DecimalRange(DecimalField f, int lo_tenths, int hi_tenths, FormMessage message,
                           GateRef when = nullptr) {
  return WithMessage({.shape = Shape::kDecimalRange,
                      .when = when,
                      .decimal_field = f,
                      .lo = lo_tenths,
                      .hi = hi_tenths},
                     message);
}
constexpr Row DecimalZero(DecimalField f, FormMessage message, GateRef when = nullptr) {
  return WithMessage({.shape = Shape::kDecimalZero, .when = when, .decimal_field = f}, message);
}
constexpr Row Date(DateField f, FormMessage message, GateRef when = nullptr) {
  return WithMessage({.shape = Shape::kDate, .when = when, .date_field = f}, message);
}
constexpr Row AbsentDate(DateField f, FormMessage message, GateRef when = nullptr) {
  return WithMessage({.shape = Shape::kAbsentDate, .when = when, .date_field = f}, message);
}
// The none-applies flag must be '0' when a flag of the list is '1' (else
// `must_be_0`) and '1' when none is (else `must_be_1`). Its own range is a
// separate row before this one.
constexpr Row NoneOfAbove(CharField none, std::span<const CharField> list, FormMessage must_be_0,
                          FormMessage must_be_1, GateRef when = nullptr) {
  return {.shape = Shape::kNoneOfAbove,
          .when = when,
          .char_field = none,
          .list = list,
          .section = must_be_0.section,
          .item = must_be_0.item,
          .message = must_be_0.text,
          .message_alt = must_be_1.text};
}
constexpr Row AnySet(std::span<const CharField> list, FormMessage message, GateRef when = nullptr) {
  return WithMessage({.shape = Shape::kAnySet, .when = when, .list = list}, message);
}
constexpr Row AllExactlyZero(std::span<const CharField> list, FormMessage message,
                             GateRef when = nullptr) {
  return WithMessage({.shape = Shape::kAllExactlyZero, .when = when, .list = list}, message);
}
// `messages` are the messages the rule may give (its section and item are
// those of the first).
constexpr Row Rule(RuleFunction rule, std::span<const FieldRef> reads,
                   std::span<const FormMessage> messages, GateRef when = nullptr) {
  return {.shape = Shape::kRule,
          .when = when,
          .rule = rule,
          .reads = reads,
          .rule_messages = messages,
          .section = messages.empty() ? nullptr : messages[0].section,
          .item = messages.empty() ? nullptr : messages[0].item};
}

// A measured value as entered, in tenths: the parser stores digits / 10 as a
// float, and rounding back (half away from zero, as lround) recovers the
// digits exactly. The values of a record are rounded without a call: below
// 2^52 the truncated value and the rest are exact, so the rest decides the
// rounding as lround would; other values (and NaN) are left to lround.
inline long Tenths(float value) {
  const double tenths = static_cast<double>(value) * 10.0;
  if (!(tenths > -1e9 && tenths < 1e9)) return std::lround(tenths);
  const long whole = static_cast<long>(tenths);
  const double rest = tenths - static_cast<double>(whole);
  return whole + (rest >= 0.5) - (rest <= -0.5);
}

// Where the validator reports each row that applies and fails. Report returns
// true to end the validation there. The batch needs the first fault only
// (FirstFault); an explanation of a record collects them all (FaultList).
struct FirstFault {
  const char* message = nullptr;
  [[gnu::always_inline]] bool Report(const Row*, const char* fault) {
    message = fault;
    return true;
  }
};

struct Fault {
  const Row* check;     // the failing row
  const char* message;  // its message (a constant text)
};

struct FaultList {
  std::vector<Fault> faults;
  bool Report(const Row* check, const char* message) {
    faults.push_back({check, message});
    return false;
  }
};

}  // namespace grouper
