// How the rows of validate/row.h are evaluated. EvaluateRow answers one
// row; RunCompiledRows walks constant lists of rows as straight-line code,
// with a plan made while the program is compiled: consecutive one-byte rows
// with the same gate, and the flags of a row over a list, are tested a word at
// a time (validate/byte_window.h), and only a window that fails is walked row
// by row. Both report the same faults in the same order.
//
// The plan reads the byte offsets of the fields from the input layout, so
// this header is for the sections that run their rows (and their tests); code
// that only names rows or faults includes validate/row.h.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <span>
#include <utility>

#include "record/assessment_record.h"
#include "record/input_layout_table.h"
#include "validate/byte_window.h"
#include "validate/field_text.h"
#include "validate/row.h"

namespace grouper {

// True when at least one flag of the list is the character '1'.
[[gnu::always_inline]] inline bool AnyFlagSet(const AssessmentRecord& record,
                                              std::span<const CharField> flags) {
  for (CharField f : flags) {
    if (record.*f == '1') return true;
  }
  return false;
}

// The absent date "00000000" exactly, its terminator included.
[[gnu::always_inline]] inline bool IsAbsentDate(const DateText& date) {
  uint64_t digits;
  std::memcpy(&digits, date, sizeof digits);
  return digits == 0x3030303030303030u && date[8] == '\0';
}

// One row: its message when it applies and fails, else nullptr.
[[gnu::always_inline]] inline const char* EvaluateRow(const Row& c, const AssessmentRecord& r) {
  if (c.when != nullptr && !c.when->holds(r)) return nullptr;
  bool holds = true;
  switch (c.shape) {
    case Shape::kCharRange: {
      // Bytes compare as signed values, so 0x80 and above fail the lower bound.
      const signed char v = static_cast<signed char>(r.*c.char_field);
      holds = v >= c.lo && v <= c.hi;
      break;
    }
    case Shape::kCharSet: {
      const char v = r.*c.char_field;
      holds = v >= '0' && v <= '9' && ((c.digit_set >> (v - '0')) & 1u) != 0;
      break;
    }
    case Shape::kBlank:
      holds = r.*c.char_field == ' ';
      break;
    case Shape::kIntRange:
      holds = r.*c.int_field >= c.lo && r.*c.int_field <= c.hi;
      break;
    case Shape::kIntZero:
      holds = r.*c.int_field == 0;
      break;
    case Shape::kDecimalRange: {
      const long v = Tenths(r.*c.decimal_field);
      holds = v >= c.lo && v <= c.hi;
      break;
    }
    case Shape::kDecimalZero:
      holds = r.*c.decimal_field == 0.0f;
      break;
    case Shape::kDate:
      holds = CheckDateField(r.*c.date_field) != -1;
      break;
    case Shape::kAbsentDate:
      holds = IsAbsentDate(r.*c.date_field);
      break;
    case Shape::kAnySet:
      holds = AnyFlagSet(r, c.list);
      break;
    case Shape::kAllExactlyZero:
      for (CharField f : c.list) holds = holds && r.*f == '0';
      break;
    case Shape::kNoneOfAbove: {
      const bool any = AnyFlagSet(r, c.list);
      const char none = r.*c.char_field;
      if (any && none != '0') return c.message;
      if (!any && none != '1') return c.message_alt;
      return nullptr;
    }
    case Shape::kRule:
      return c.rule(r);
  }
  return holds ? nullptr : c.message;
}

namespace check_detail {

template <class Sink>
[[gnu::always_inline]] inline bool ReportIfFails(const Row& row, const AssessmentRecord& record,
                                                 Sink& sink) {
  const char* message = EvaluateRow(row, record);
  return message != nullptr && sink.Report(&row, message);
}

// The record offset of a one-byte field, from the input layout; -1 when the
// layout carries no such item.
constexpr long ByteOffsetOf(CharField field) {
  for (const LayoutItem& item : kInputLayout) {
    if (item.char_member != nullptr && item.char_member == field) {
      return static_cast<long>(item.offset);
    }
  }
  return -1;
}

// The bounds of a row that tests one byte, as a byte window takes them: one
// or two pairs of seven-bit bounds (a blank is the range ' ' to ' ', a set of
// digits its runs of consecutive digits, when there are at most two).
struct RowBytes {
  long offset = -1;
  unsigned lo = 0, hi = 0, lo_2 = 0, hi_2 = 0;
};

// The bounds of the row's byte, or false when a window cannot test the row.
constexpr bool ByteBounds(const Row& row, RowBytes& bytes) {
  if (row.shape == Shape::kCharRange) {
    if (row.lo < 0 || row.lo > row.hi || row.hi > 0x7F) return false;
    bytes.lo = bytes.lo_2 = static_cast<unsigned>(row.lo);
    bytes.hi = bytes.hi_2 = static_cast<unsigned>(row.hi);
  } else if (row.shape == Shape::kBlank) {
    bytes.lo = bytes.hi = bytes.lo_2 = bytes.hi_2 = ' ';
  } else if (row.shape == Shape::kCharSet) {
    int runs = 0;
    for (unsigned d = 0; d < 10; ++d) {
      if (((row.digit_set >> d) & 1u) == 0) continue;
      if (d > 0 && ((row.digit_set >> (d - 1)) & 1u) != 0) {
        (runs == 1 ? bytes.hi : bytes.hi_2) = '0' + d;
        continue;
      }
      if (++runs > 2) return false;
      (runs == 1 ? bytes.lo : bytes.lo_2) = '0' + d;
      (runs == 1 ? bytes.hi : bytes.hi_2) = '0' + d;
    }
    if (runs == 0) return false;
    if (runs == 1) {
      bytes.lo_2 = bytes.lo;
      bytes.hi_2 = bytes.hi;
    }
  } else {
    return false;
  }
  bytes.offset = ByteOffsetOf(row.char_field);
  return bytes.offset >= 0;
}

// A window over the bytes from `first` to `last`, kept inside the record;
// false when they lie too far apart for one window.
constexpr bool WindowOver(long first, long last, ByteWindow& window) {
  if (last - first >= 8 * ByteWindow::kMaxWords) return false;
  const long words = (last - first) / 8 + 1;
  const long room = static_cast<long>(sizeof(AssessmentRecord)) - 8 * words;
  window.start = static_cast<std::size_t>(first < room ? first : room);
  window.words = static_cast<int>(words);
  return true;
}

// How the rows of a list are walked. Consecutive one-byte rows with the same
// gate form a run, tested with one window; a row over a list of flags
// (none-applies, any set, all zero) tests its flags with one window.
struct RowPlan {
  std::size_t run_length = 1;  // 0: tested with the run before it
  ByteWindow window = {};      // for a run of more than one row
  ByteWindow flags = {};       // for a row over a list of flags, when words > 0
};

// The flags of a row over a list, bounded by the value the row looks for:
// '0' for all zero, '1' for the others.
constexpr void PlanFlags(const Row& row, ByteWindow& flags) {
  if (row.shape != Shape::kNoneOfAbove && row.shape != Shape::kAnySet &&
      row.shape != Shape::kAllExactlyZero) {
    return;
  }
  long first = -1, last = -1;
  for (CharField f : row.list) {
    const long offset = ByteOffsetOf(f);
    if (offset < 0) return;
    first = first < 0 || offset < first ? offset : first;
    last = offset > last ? offset : last;
  }
  ByteWindow window;
  if (first < 0 || !WindowOver(first, last, window)) return;
  const unsigned value = row.shape == Shape::kAllExactlyZero ? '0' : '1';
  for (CharField f : row.list)
    window.Bound(static_cast<std::size_t>(ByteOffsetOf(f)), value, value);
  // A window is worth testing only when its words hold a few bytes each.
  if (row.list.size() >= window.BytesWorthTesting()) {
    flags = window;
  }
}

template <std::size_t N>
constexpr std::array<RowPlan, N> PlanRows(const Row (&rows)[N]) {
  std::array<RowPlan, N> plans{};
  for (std::size_t i = 0; i < N; ++i) PlanFlags(rows[i], plans[i].flags);
  std::size_t i = 0;
  while (i < N) {
    // The longest run from row i whose bytes differ and fit one window.
    long first = 0, last = 0;
    RowBytes bytes;
    std::size_t end = i;
    ByteWindow window;
    while (end < N && ByteBounds(rows[end], bytes) && rows[end].when == rows[i].when) {
      const long offset = bytes.offset;
      const long new_first = end == i || offset < first ? offset : first;
      const long new_last = end == i || offset > last ? offset : last;
      bool repeated = false;
      for (std::size_t k = i; k < end; ++k) {
        RowBytes other;
        ByteBounds(rows[k], other);
        repeated = repeated || other.offset == offset;
      }
      if (repeated || !WindowOver(new_first, new_last, window)) break;
      first = new_first;
      last = new_last;
      ++end;
    }
    const std::size_t length = end - i;
    if (length < 2) {
      ++i;
      continue;
    }
    WindowOver(first, last, window);
    for (std::size_t k = i; k < end; ++k) {
      ByteBounds(rows[k], bytes);
      window.Bound(static_cast<std::size_t>(bytes.offset), bytes.lo, bytes.hi, bytes.lo_2,
                   bytes.hi_2);
    }
    if (length < window.BytesWorthTesting()) {
      ++i;
      continue;
    }
    plans[i].run_length = length;
    plans[i].window = window;
    for (std::size_t k = i + 1; k < end; ++k) plans[k].run_length = 0;
    i = end;
  }
  return plans;
}

template <const auto& rows>
inline constexpr auto kRowPlans = PlanRows(rows);

template <const auto& rows, std::size_t First, class Sink, std::size_t... K>
[[gnu::always_inline]] inline bool ReportEachRow(const AssessmentRecord& record, Sink& sink,
                                                 std::index_sequence<K...>) {
  return (ReportIfFails(rows[First + K], record, sink) || ...);
}

// A row over a list of flags, its flags tested with their window: the same
// answers as EvaluateRow.
template <class Sink>
[[gnu::always_inline]] inline bool ReportFlagsRow(const Row& row, const ByteWindow& flags,
                                                  const AssessmentRecord& record, Sink& sink) {
  if (row.when != nullptr && !row.when->holds(record)) return false;
  const char* message = nullptr;
  if (row.shape == Shape::kAllExactlyZero) {
    if (!WindowHolds(flags, &record)) message = row.message;
  } else {
    const bool any = AnyByteWithin(flags, &record);
    if (row.shape == Shape::kAnySet) {
      if (!any) message = row.message;
    } else {
      const char none = record.*row.char_field;
      if (any && none != '0') message = row.message;
      if (!any && none != '1') message = row.message_alt;
    }
  }
  return message != nullptr && sink.Report(&row, message);
}

// Row I of the list: on its own, as the first of a run, or nothing when the
// run before it has taken it. A run whose window holds reports nothing; else
// its rows are walked one by one, so the first failing row is the same.
template <const auto& rows, std::size_t I, class Sink>
[[gnu::always_inline]] inline bool ReportRowOrRun(const AssessmentRecord& record, Sink& sink) {
  // The plan is read in place: a copy of its windows would be built on the
  // stack at every call.
  constexpr std::size_t run_length = kRowPlans<rows>[I].run_length;
  if constexpr (run_length == 0) {
    return false;
  } else if constexpr (run_length == 1) {
    if constexpr (kRowPlans<rows>[I].flags.words > 0) {
      return ReportFlagsRow(rows[I], kRowPlans<rows>[I].flags, record, sink);
    } else {
      return ReportIfFails(rows[I], record, sink);
    }
  } else {
    constexpr GateRef gate = rows[I].when;
    if constexpr (gate != nullptr) {
      constexpr auto holds = gate->holds;
      if (!holds(record)) return false;
    }
    if (WindowHolds(kRowPlans<rows>[I].window, &record)) return false;
    return ReportEachRow<rows, I>(record, sink, std::make_index_sequence<run_length>{});
  }
}

template <const auto& rows, class Sink, std::size_t... I>
[[gnu::always_inline]] inline bool RunRows(const AssessmentRecord& record, Sink& sink,
                                           std::index_sequence<I...>) {
  return (ReportRowOrRun<rows, I>(record, sink) || ...);
}

}  // namespace check_detail

// EvaluateRow over each row of the given constant tables in order, compiled:
// every row becomes straight-line code with its field, bounds and gate known,
// which the validator needs for the throughput of large files. Every row that applies
// and fails is reported to the sink; returns true when the sink ended the
// validation.
template <const auto&... lists, class Sink>
bool RunCompiledRows(const AssessmentRecord& record, Sink& sink) {
  return (
      check_detail::RunRows<lists>(record, sink, std::make_index_sequence<std::size(lists)>{}) ||
      ...);
}

// The one-byte field `field` as a FieldRef; a field that the layout does not
// carry stops the compilation.
consteval FieldRef FieldOf(CharField field) {
  const long offset = check_detail::ByteOffsetOf(field);
  if (offset < 0) throw "a rule reads a one-byte field that no item of the layout fills";
  return FieldRef{static_cast<std::size_t>(offset)};
}

// The gate "the one-byte answer `field` is one of `answers`" (or, for
// AnswerIsNot, none of them), which most gates of the form are, and "both
// answers at once". A source names each gate it uses as a constant of its own
// (`constexpr Gate kX = AnswerIs<...>();`): the plan compares gates by their
// address while compiling, which a sanitizer build allows only for such
// objects, not for template instances.
template <CharField field, char... answers>
consteval Gate AnswerIs() {
  return {[](const AssessmentRecord& r) { return ((r.*field == answers) || ...); },
          kFields<FieldOf(field)>};
}
template <CharField field, char... answers>
consteval Gate AnswerIsNot() {
  return {[](const AssessmentRecord& r) { return ((r.*field != answers) && ...); },
          kFields<FieldOf(field)>};
}
template <CharField first, char a, CharField second, char b>
consteval Gate BothAnswers() {
  return {[](const AssessmentRecord& r) { return r.*first == a && r.*second == b; },
          kFields<FieldOf(first), FieldOf(second)>};
}

// A list of rows of a section, as a type: the constant rows, the family
// group it runs in and the gate of the whole list (nullptr: always).
template <const auto& rows, FamilyGroup families = nullptr, GateRef gate = nullptr>
struct Rows {
  static constexpr RowList kList = {rows, families, gate};

  template <class Sink>
  [[gnu::always_inline]] static bool Run(const AssessmentRecord& record, Family family,
                                         Sink& sink) {
    // Not `if constexpr`: a sanitizer build does not take the address of a
    // function as a constant; the optimizer removes the test all the same.
    if (families != nullptr && !families(family)) return false;
    if constexpr (gate != nullptr) {
      constexpr auto holds = gate->holds;
      if (!holds(record)) return false;
    }
    return RunCompiledRows<rows>(record, sink);
  }
};

// A section: its lists in form order. The same type runs them (compiled, for
// the batch and the explanation) and describes them (for the evidence of a
// fault and its tests), so the two cannot differ.
template <class... RowLists>
struct Section {
  static constexpr RowList kLists[] = {RowLists::kList...};

  template <class Sink>
  [[gnu::always_inline]] static bool Run(const AssessmentRecord& record, Family family,
                                         Sink& sink) {
    return (RowLists::Run(record, family, sink) || ...);
  }
  static constexpr std::span<const RowList> Lists() { return kLists; }
};

}  // namespace grouper
