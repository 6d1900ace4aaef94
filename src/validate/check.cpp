#include "validate/check.h"

#include <cmath>
#include <cstring>

#include "validate/field_text.h"

namespace grouper {

namespace {

// A measured value as entered, in tenths: the parser stores digits / 10 as a
// float, and rounding back recovers the digits exactly.
long Tenths(float value) {
  return std::lround(static_cast<double>(value) * 10.0);
}

bool Holds(const Check& c, AssessmentRecord& r) {
  switch (c.shape) {
    case Shape::kCharRange: {
      // Bytes compare as signed values, so 0x80 and above fail the lower bound.
      const signed char v = static_cast<signed char>(r.*c.char_field);
      return v >= c.lo && v <= c.hi;
    }
    case Shape::kCharSet: {
      const char v = r.*c.char_field;
      return v != '\0' && std::strchr(c.set, v) != nullptr;
    }
    case Shape::kBlank:
      return r.*c.char_field == ' ';
    case Shape::kIntRange:
      return r.*c.int_field >= c.lo && r.*c.int_field <= c.hi;
    case Shape::kIntZero:
      return r.*c.int_field == 0;
    case Shape::kDecimalRange: {
      const long v = Tenths(r.*c.decimal_field);
      return v >= c.lo && v <= c.hi;
    }
    case Shape::kDecimalZero:
      return r.*c.decimal_field == 0.0f;
    case Shape::kDate:
      return CheckDate(r.*c.date_field) != -1;
    case Shape::kAbsentDate:
      return std::strcmp(r.*c.date_field, "00000000") == 0;
    case Shape::kAnySet:
      return AnyFlagSet(r, c.list);
    case Shape::kAllExactlyZero:
      for (CharField f : c.list) {
        if (r.*f != '0') return false;
      }
      return true;
    case Shape::kNoneOfAbove:
    case Shape::kRule:
      break;
  }
  return true;
}

}  // namespace

bool AnyFlagSet(const AssessmentRecord& record, std::span<const CharField> flags) {
  for (CharField f : flags) {
    if (record.*f == '1') return true;
  }
  return false;
}

const char* RunChecks(std::span<const Check> checks, AssessmentRecord& record) {
  for (const Check& c : checks) {
    if (c.when != nullptr && !c.when(record)) continue;
    if (c.shape == Shape::kRule) {
      if (const char* message = c.rule(record)) return message;
      continue;
    }
    if (c.shape == Shape::kNoneOfAbove) {
      const bool any = AnyFlagSet(record, c.list);
      const char none = record.*c.char_field;
      if (any && none != '0') return c.message;
      if (!any && none != '1') return c.message_alt;
      continue;
    }
    if (!Holds(c, record)) return c.message;
  }
  return nullptr;
}

const char* RunChecks(std::initializer_list<std::span<const Check>> lists,
                      AssessmentRecord& record) {
  for (std::span<const Check> rows : lists) {
    if (const char* message = RunChecks(rows, record)) return message;
  }
  return nullptr;
}

}  // namespace grouper
