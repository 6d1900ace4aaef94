#include "record/record_parser.h"

#include <cstdint>
#include <cstring>
#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

#include "record/assessment_record.h"
#include "record/form_version.h"
#include "record/input_layout_table.h"

namespace grouper {

namespace {

bool IsAtoiSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The C library's atoi rule on the text of a short field (ending at its width
// or at a NUL): leading white space, an optional sign, digits up to the first
// non-digit; no digits give 0.
[[gnu::always_inline]] inline int32_t AtoiValue(const char* text, int width) {
  const char* end = text + width;
  while (text < end && IsAtoiSpace(*text)) ++text;
  bool negative = false;
  if (text < end && (*text == '+' || *text == '-')) negative = *text++ == '-';
  int32_t value = 0;
  while (text < end && *text >= '0' && *text <= '9') value = value * 10 + (*text++ - '0');
  return negative ? -value : value;
}

// The digits of a tested numeric item: one or more digits, up to its width or
// a NUL, and nothing else. Returns -1 when the text is not numeric.
[[gnu::always_inline]] inline int32_t DigitsValue(const char* text, int width) {
  int32_t value = 0;
  for (int i = 0; i < width; ++i) {
    const unsigned digit = static_cast<unsigned char>(text[i]) - unsigned{'0'};
    if (digit > 9) return text[i] == '\0' && i > 0 ? value : -1;
    value = value * 10 + static_cast<int32_t>(digit);
  }
  return value;
}

// A numeric item's value as its kind stores it.
[[gnu::always_inline]] inline void StoreNumber(ItemKind kind, unsigned char* field, int32_t value) {
  if (kind == ItemKind::kTenths) {
    const float tenths = static_cast<float>(static_cast<double>(value) / 10.0);
    std::memcpy(field, &tenths, sizeof tenths);
  } else {
    const int32_t stored = kind == ItemKind::kIntTenths ? value / 10 : value;
    std::memcpy(field, &stored, sizeof stored);
  }
}

// Whether one-byte item J follows item I both in family F's line and in the
// record: a run of such items is copied as one block by its first item.
template <Family F>
constexpr bool ContinuesRun(std::size_t i, std::size_t j) {
  const LayoutItem& a = kInputLayout[i];
  const LayoutItem& b = kInputLayout[j];
  const int f = static_cast<int>(F);
  return a.kind == ItemKind::kChar && b.kind == ItemKind::kChar && a.start[f] >= 0 &&
         b.start[f] == a.start[f] + 1 && b.offset == a.offset + 1;
}

// The length of the run that one-byte item I starts in family F; 0 when item
// I continues the run before it.
template <Family F>
constexpr std::size_t CharRunLength(std::size_t i) {
  if (i > 0 && ContinuesRun<F>(i - 1, i)) return 0;
  std::size_t n = 1;
  while (i + n < std::size(kInputLayout) && ContinuesRun<F>(i + n - 1, i + n)) ++n;
  return n;
}

// One item of the layout at its column in family F, copied or converted into
// its field: a few instructions, the item and the family being known while
// the program is compiled. The line is zero beyond its text, so a text item
// copied whole ends at the same NUL as a copy that stops there. A tested
// numeric item that is not all digits is reported to the sink and its field
// stays zero; returns false when the sink ends the parsing.
template <Family F, std::size_t I, class Sink>
[[gnu::always_inline]] inline bool ParseItem(const char* line, unsigned char* record, Sink& sink) {
  constexpr const LayoutItem& item = kInputLayout[I];
  constexpr int start = item.start[static_cast<int>(F)];
  if constexpr (start >= 0) {
    const char* source = line + start;
    unsigned char* field = record + item.offset;
    if constexpr (item.kind == ItemKind::kText) {
      std::memcpy(field, source, static_cast<std::size_t>(item.width));
    } else if constexpr (item.kind == ItemKind::kChar) {
      std::memcpy(field, source, CharRunLength<F>(I));
    } else if constexpr (item.kind == ItemKind::kIntUntested) {
      StoreNumber(ItemKind::kInt, field, AtoiValue(source, item.width));
    } else {
      const int32_t value = DigitsValue(source, item.width);
      if (value < 0) return !sink.Report(item, item.parse_message.text);
      StoreNumber(item.kind, field, value);
    }
  }
  return true;
}

// Every item of family F in line order; stops where the sink ends the parsing.
template <Family F, class Sink, std::size_t... I>
void ParseFamily(const char* line, AssessmentRecord& record, Sink& sink,
                 std::index_sequence<I...>) {
  unsigned char* bytes = reinterpret_cast<unsigned char*>(&record);
  (void)(ParseItem<F, I>(line, bytes, sink) && ...);
}

template <class Sink>
void ParseItems(const char* line, Family family, AssessmentRecord& record, Sink& sink) {
  constexpr auto kItems = std::make_index_sequence<std::size(kInputLayout)>{};
  switch (family) {
    case Family::kBase:
      return ParseFamily<Family::kBase>(line, record, sink, kItems);
    case Family::k089:
      return ParseFamily<Family::k089>(line, record, sink, kItems);
    case Family::k090:
      return ParseFamily<Family::k090>(line, record, sink, kItems);
    case Family::k091:
      return ParseFamily<Family::k091>(line, record, sink, kItems);
    case Family::k092:
      return ParseFamily<Family::k092>(line, record, sink, kItems);
  }
}

struct FirstParseFault {
  const char* message = nullptr;
  [[gnu::always_inline]] bool Report(const LayoutItem&, const char* fault) {
    message = fault;
    return true;
  }
};

struct ParseFaultList {
  std::vector<ParseFault> faults;
  bool Report(const LayoutItem& item, const char* message) {
    faults.push_back({&item, message});
    return false;
  }
};

struct ZeroBlock {
  uint64_t low = 0, high = 0;
};

template <std::size_t... B>
[[gnu::always_inline]] inline void ZeroBlocks(unsigned char* bytes, std::index_sequence<B...>) {
  constexpr ZeroBlock kZero;
  (std::memcpy(bytes + B * sizeof kZero, &kZero, sizeof kZero), ...);
}

// Zeroes the record with 16-byte stores written out. A memset of this size
// becomes a string instruction, whose start-up costs more than the stores on
// every line (about 10 ns a record in the parse benchmark); a loop of stores
// would be turned back into the memset.
void ZeroRecord(AssessmentRecord& record) {
  constexpr std::size_t kBlocks = sizeof record / sizeof(ZeroBlock);
  unsigned char* bytes = reinterpret_cast<unsigned char*>(&record);
  ZeroBlocks(bytes, std::make_index_sequence<kBlocks>{});
  std::memset(bytes + kBlocks * sizeof(ZeroBlock), 0, sizeof record % sizeof(ZeroBlock));
}

// Parses a framed line of `family` (zero beyond its text).
template <class Sink>
void Parse(const char* line, Family family, AssessmentRecord& record, Sink& sink) {
  ZeroRecord(record);
  // The line is zero beyond its text, so its first three bytes are the code
  // with NUL padding however short the line.
  std::memcpy(record.form_version, line, 3);
  ParseItems(line, family, record, sink);
}

}  // namespace

const char* ParseRecord(const char* line, Family family, AssessmentRecord& record) {
  FirstParseFault first;
  Parse(line, family, record, first);
  return first.message;
}

std::vector<ParseFault> CollectParseFaults(const char* line, Family family,
                                           AssessmentRecord& record) {
  ParseFaultList list;
  Parse(line, family, record, list);
  return std::move(list.faults);
}

}  // namespace grouper
