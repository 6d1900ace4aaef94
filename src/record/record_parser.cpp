#include "record/record_parser.h"

#include <bit>
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

// The framing test is no item of the layout; its fault carries this row.
constexpr LayoutItem kFramingItem{};
constexpr const char* kFramingMessage =
    u8"오류-[서식버전] 버전과 데이터길이가 일치하지 않습니다. "_cp949;

bool IsAtoiSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The C library's atoi rule on the text of a short field (ending at its width
// or at a NUL): leading white space, an optional sign, digits up to the first
// non-digit; no digits give 0.
template <int kWidth>
[[gnu::always_inline]] inline int32_t AtoiValue(const char* text) {
  const char* end = text + kWidth;
  while (text < end && IsAtoiSpace(*text)) ++text;
  bool negative = false;
  if (text < end && (*text == '+' || *text == '-')) negative = *text++ == '-';
  int32_t value = 0;
  while (text < end && *text >= '0' && *text <= '9') value = value * 10 + (*text++ - '0');
  return negative ? -value : value;
}

// The digits of a tested numeric item: one or more digits, up to its width or
// a NUL, and nothing else. Returns -1 when the text is not numeric.
template <int kWidth>
[[gnu::always_inline]] inline int32_t DigitsValue(const char* text) {
  int32_t value = 0;
  for (int i = 0; i < kWidth; ++i) {
    const unsigned digit = static_cast<unsigned char>(text[i]) - unsigned{'0'};
    if (digit > 9) return text[i] == '\0' && i > 0 ? value : -1;
    value = value * 10 + static_cast<int32_t>(digit);
  }
  return value;
}

// Runs of one-byte items that stand side by side both in family F's line and
// in the record are copied as one block: the run's first item copies the
// whole run and the others do nothing.
template <Family F>
constexpr bool ContinuesRun(std::size_t i, std::size_t j) {
  const LayoutItem& a = kInputLayout[i];
  const LayoutItem& b = kInputLayout[j];
  const int f = static_cast<int>(F);
  return a.kind == ItemKind::kChar && b.kind == ItemKind::kChar && a.start[f] >= 0 &&
         b.start[f] == a.start[f] + 1 && b.offset == a.offset + 1;
}

// The number of layout items in the run that item i starts, where `continues`
// says whether an item continues the one before it; 0 when item i belongs to
// the run before it (which handles it).
template <bool (*continues)(std::size_t, std::size_t)>
constexpr std::size_t RunLength(std::size_t i) {
  if (i > 0 && continues(i - 1, i)) return 0;
  std::size_t n = 1;
  while (i + n < std::size(kInputLayout) && continues(i + n - 1, i + n)) ++n;
  return n;
}

constexpr bool IsTestedNumber(ItemKind kind) {
  return kind == ItemKind::kInt || kind == ItemKind::kTenths || kind == ItemKind::kIntTenths;
}

// Runs of tested numeric items that stand side by side in family F's line have
// their digits tested together: the run's first item tests and converts the
// whole run, and the others do nothing.
template <Family F>
constexpr bool ContinuesNumbers(std::size_t i, std::size_t j) {
  const LayoutItem& a = kInputLayout[i];
  const LayoutItem& b = kInputLayout[j];
  const int f = static_cast<int>(F);
  return IsTestedNumber(a.kind) && IsTestedNumber(b.kind) && a.start[f] >= 0 &&
         b.start[f] == a.start[f] + a.width;
}

template <Family F>
constexpr std::size_t NumberRunWidth(std::size_t i, std::size_t n) {
  std::size_t width = 0;
  for (std::size_t k = i; k < i + n; ++k) width += static_cast<std::size_t>(kInputLayout[k].width);
  return width;
}

// The top bits of the bytes of `word` that are no digit, and perhaps others:
// zero exactly when every byte is a digit. Once every byte lies in 0x30..0x3F,
// adding 6 carries from no byte into the next.
[[gnu::always_inline]] inline uint64_t NonDigits(uint64_t word) {
  constexpr uint64_t kHigh = 0xF0F0F0F0F0F0F0F0u;
  constexpr uint64_t kDigitHigh = 0x3030303030303030u;
  return ((word & kHigh) ^ kDigitHigh) | (((word + 0x0606060606060606u) & kHigh) ^ kDigitHigh);
}

// True when the N bytes (4 or more) from `text` are all digits: a word at a
// time, the last word overlapping the one before it; fewer than eight bytes
// as two overlapping halves of one word.
template <std::size_t N>
[[gnu::always_inline]] inline bool AllDigits(const char* text) {
  static_assert(N >= 4);
  uint64_t bad = 0;
  if constexpr (N < 8) {
    uint32_t first, last;
    std::memcpy(&first, text, sizeof first);
    std::memcpy(&last, text + N - 4, sizeof last);
    bad = NonDigits(uint64_t{last} << 32 | first);
  } else {
    uint64_t word;
    for (std::size_t at = 0; at + 8 <= N; at += 8) {
      std::memcpy(&word, text + at, sizeof word);
      bad |= NonDigits(word);
    }
    if constexpr (N % 8 != 0) {
      std::memcpy(&word, text + N - 8, sizeof word);
      bad |= NonDigits(word);
    }
  }
  return bad == 0;
}

// The value of kWidth digits (1 to 4), converted together: each step adds the
// tens of a lane to the units of the lane beside it, so no digit waits for the
// one before it.
template <int kWidth>
[[gnu::always_inline]] inline int32_t DigitsOfWidth(const char* text) {
  static_assert(kWidth >= 1 && kWidth <= 4);
  uint32_t word = 0;
  std::memcpy(&word, text, kWidth == 3 ? 2 : kWidth);  // three digits: two and one
  if constexpr (std::endian::native != std::endian::little) {
    int32_t value = 0;
    for (int i = 0; i < kWidth; ++i) value = value * 10 + (text[i] - '0');
    return value;
  } else if constexpr (kWidth == 1) {
    return static_cast<int32_t>(word - '0');
  } else if constexpr (kWidth == 2) {
    const uint32_t d = word - 0x3030u;
    return static_cast<int32_t>((d & 0xFF) * 10 + (d >> 8));
  } else if constexpr (kWidth == 3) {
    const uint32_t d = word - 0x3030u;
    return static_cast<int32_t>((d & 0xFF) * 100 + (d >> 8) * 10) + (text[2] - '0');
  } else {
    const uint32_t d = word - 0x30303030u;
    const uint32_t pairs = d * 10 + (d >> 8);  // lanes 0 and 2: the first and last two digits
    return static_cast<int32_t>((pairs & 0xFF) * 100 + ((pairs >> 16) & 0xFF));
  }
}

// True when the kWidth bytes (2) of a short item are all digits.
template <int kWidth>
[[gnu::always_inline]] inline bool AllDigitsOfShortItem(const char* text) {
  static_assert(kWidth == 2, "a short item of other width wants its own load");
  uint16_t word;
  std::memcpy(&word, text, sizeof word);
  return (NonDigits(word) & 0xFFFFu) == 0;
}

// A tested numeric item's value as its kind stores it.
template <ItemKind kKind>
[[gnu::always_inline]] inline void StoreNumber(unsigned char* field, int32_t value) {
  if constexpr (kKind == ItemKind::kTenths) {
    const float tenths = static_cast<float>(static_cast<double>(value) / 10.0);
    std::memcpy(field, &tenths, sizeof tenths);
  } else {
    const int32_t stored = kKind == ItemKind::kIntTenths ? value / 10 : value;
    std::memcpy(field, &stored, sizeof stored);
  }
}

// One item of the layout, at its column in family F. With the row and the
// family known at compile time, each item becomes a few instructions. The line
// is zero beyond its text, so a text item copied whole ends at the same NUL as
// a copy that stops there. Reports a tested numeric item that is not all
// digits to the sink, and returns false when the sink ends the parsing; a
// tested numeric item is not all digits.
template <Family F, std::size_t I, class Sink>
[[gnu::always_inline]] inline bool ParseItem(const char* line, unsigned char* record, Sink& sink) {
  constexpr const LayoutItem& item = kInputLayout[I];
  constexpr int start = item.start[static_cast<int>(F)];
  if constexpr (start < 0) {
    return true;
  } else {
    const char* source = line + start;
    unsigned char* field = record + item.offset;
    if constexpr (item.kind == ItemKind::kText) {
      std::memcpy(field, source, static_cast<std::size_t>(item.width));
    } else if constexpr (item.kind == ItemKind::kChar) {
      constexpr std::size_t run = RunLength<ContinuesRun<F>>(I);
      if constexpr (run > 0) std::memcpy(field, source, run);
    } else if constexpr (item.kind == ItemKind::kIntUntested) {
      // The usual entry is all digits, which the atoi rule reads whole.
      const int32_t value = AllDigitsOfShortItem<item.width>(source)
                                ? DigitsOfWidth<item.width>(source)
                                : AtoiValue<item.width>(source);
      std::memcpy(field, &value, sizeof value);
    } else {
      const int32_t value = DigitsValue<item.width>(source);
      if (value < 0) return !sink.Report(item, item.parse_message);
      StoreNumber<item.kind>(field, value);
    }
    return true;
  }
}

// Whether items K to K + 3 of a run of Count numbers from item First hold two
// digits each, K being a multiple of four: their eight digits then make one
// word, converted at once.
template <std::size_t First, std::size_t Count>
constexpr bool FourPairsAt(std::size_t k) {
  if (std::endian::native != std::endian::little || k % 4 != 0 || k + 4 > Count) return false;
  for (std::size_t j = k; j < k + 4; ++j) {
    if (kInputLayout[First + j].width != 2) return false;
  }
  return true;
}

// The number in 16-bit lane `lane` of `pairs`, stored as item Item's kind.
template <std::size_t Item>
[[gnu::always_inline]] inline void StoreLane(unsigned char* record, uint64_t pairs, int lane) {
  StoreNumber<kInputLayout[Item].kind>(record + kInputLayout[Item].offset,
                                       static_cast<int32_t>((pairs >> (16 * lane)) & 0xFF));
}

// Item K of a run of Count numbers from item First whose bytes are all digits,
// converted: four items of two digits at once where they fill a word (after
// the first step each 16-bit lane holds the number of its two digits), and
// the others one by one.
template <Family F, std::size_t First, std::size_t Count, std::size_t K>
[[gnu::always_inline]] inline void ConvertNumber(const char* line, unsigned char* record) {
  constexpr const LayoutItem& item = kInputLayout[First + K];
  if constexpr (FourPairsAt<First, Count>(K)) {
    uint64_t word;
    std::memcpy(&word, line + item.start[static_cast<int>(F)], sizeof word);
    const uint64_t digits = word - 0x3030303030303030u;
    const uint64_t pairs = (digits * 10 + (digits >> 8)) & 0x00FF00FF00FF00FFu;
    StoreLane<First + K>(record, pairs, 0);
    StoreLane<First + K + 1>(record, pairs, 1);
    StoreLane<First + K + 2>(record, pairs, 2);
    StoreLane<First + K + 3>(record, pairs, 3);
  } else if constexpr (!FourPairsAt<First, Count>(K - K % 4)) {
    StoreNumber<item.kind>(record + item.offset,
                           DigitsOfWidth<item.width>(line + item.start[static_cast<int>(F)]));
  }
}

// A run of tested numeric items whose bytes are all digits, converted.
template <Family F, std::size_t First, std::size_t... K>
[[gnu::always_inline]] inline void ConvertNumbers(const char* line, unsigned char* record,
                                                  std::index_sequence<K...>) {
  (ConvertNumber<F, First, sizeof...(K), K>(line, record), ...);
}

template <Family F, std::size_t First, class Sink, std::size_t... K>
[[gnu::always_inline]] inline bool ParseEachItem(const char* line, unsigned char* record,
                                                 Sink& sink, std::index_sequence<K...>) {
  return (ParseItem<F, First + K>(line, record, sink) && ...);
}

inline constexpr std::size_t kMinRunWidth = 4;

// Item I, or the run of numbers that it starts: when every byte of the run is
// a digit, its items are converted together; else one by one, which finds the
// first that fails.
template <Family F, std::size_t I, class Sink>
[[gnu::always_inline]] inline bool ParseStep(const char* line, unsigned char* record, Sink& sink) {
  constexpr const LayoutItem& item = kInputLayout[I];
  constexpr int start = item.start[static_cast<int>(F)];
  if constexpr (start < 0 || !IsTestedNumber(item.kind)) {
    return ParseItem<F, I>(line, record, sink);
  } else {
    constexpr std::size_t run = RunLength<ContinuesNumbers<F>>(I);
    if constexpr (run == 0) {
      return true;
    } else if constexpr (NumberRunWidth<F>(I, run) < kMinRunWidth) {
      // Too short to gain from a word test: one by one.
      return ParseEachItem<F, I>(line, record, sink, std::make_index_sequence<run>{});
    } else {
      if (AllDigits<NumberRunWidth<F>(I, run)>(line + start)) {
        ConvertNumbers<F, I>(line, record, std::make_index_sequence<run>{});
        return true;
      }
      return ParseEachItem<F, I>(line, record, sink, std::make_index_sequence<run>{});
    }
  }
}

// Every item of family F in line order; stops at the first failing item.
template <Family F, class Sink, std::size_t... I>
void ParseFamily(const char* line, unsigned char* record, Sink& sink, std::index_sequence<I...>) {
  (void)(ParseStep<F, I>(line, record, sink) && ...);
}

template <Family F, class Sink>
void ParseFamily(const char* line, AssessmentRecord& record, Sink& sink) {
  ParseFamily<F>(line, reinterpret_cast<unsigned char*>(&record), sink,
                 std::make_index_sequence<std::size(kInputLayout)>{});
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

void ZeroRecord(AssessmentRecord& record) {
  constexpr std::size_t kBlocks = sizeof record / sizeof(ZeroBlock);
  unsigned char* bytes = reinterpret_cast<unsigned char*>(&record);
  ZeroBlocks(bytes, std::make_index_sequence<kBlocks>{});
  std::memset(bytes + kBlocks * sizeof(ZeroBlock), 0, sizeof record % sizeof(ZeroBlock));
}

// Parses a trimmed line of `length` bytes (zero beyond them).
template <class Sink>
void Parse(const char* line, std::size_t length, AssessmentRecord& record, Sink& sink) {
  // Zeroed in 16-byte blocks that the compiler writes out: a string
  // instruction would count every eight bytes as one more instruction.
  ZeroRecord(record);

  // The line is zero beyond its text, so its first three bytes are the code
  // with NUL padding however short the line.
  char version[4] = {};
  std::memcpy(version, line, 3);
  // The code as text: up to its first NUL, as a C string of it would be,
  // measured without a call.
  const std::string_view code(version, version[0] == '\0'   ? 0
                                       : version[1] == '\0' ? 1
                                       : version[2] == '\0' ? 2
                                                            : 3);
  const Family family = FamilyOf(code);
  if (!FramingAccepts(family, length)) {
    sink.Report(kFramingItem, kFramingMessage);
    return;
  }
  std::memcpy(record.form_version, version, sizeof version);

  switch (family) {
    case Family::kBase:
      return ParseFamily<Family::kBase>(line, record, sink);
    case Family::k089:
      return ParseFamily<Family::k089>(line, record, sink);
    case Family::k090:
      return ParseFamily<Family::k090>(line, record, sink);
    case Family::k091:
      return ParseFamily<Family::k091>(line, record, sink);
    case Family::k092:
      return ParseFamily<Family::k092>(line, record, sink);
  }
}

}  // namespace

const char* ParseRecord(const char* line, std::size_t length, AssessmentRecord& record) {
  FirstParseFault first;
  Parse(line, length, record, first);
  return first.message;
}

std::vector<ParseFault> CollectParseFaults(const char* line, std::size_t length,
                                           AssessmentRecord& record) {
  ParseFaultList list;
  Parse(line, length, record, list);
  for (ParseFault& fault : list.faults) {
    if (fault.item == &kFramingItem) fault.item = nullptr;
  }
  return std::move(list.faults);
}

}  // namespace grouper
