// A word-at-a-time test that each byte of a set lies within its own bounds.
//
// A window is a few whole words of a structure, from a given byte offset. Some
// of its bytes are tested, each against bounds lo..hi with 0 <= lo <= hi <=
// 0x7F; a byte of 0x80 or more lies within no bounds, as a signed character
// below the digits would not. The other bytes of the window are read but do
// not count. The bounds are constants that the compiler folds into the test,
// so one word of up to eight tested bytes costs a handful of instructions.
//
// A byte may have two pairs of bounds, as a set of digits with a gap has (0 to
// 4 and 8): it lies within them when it lies within either pair. A window
// whose bytes have one pair each costs one test per word, a window with a
// second pair two.
//
// Most bounds of the form are aligned blocks (0 to 1, 0 to 3, the blank): a
// block of 2^k values whose low k bits run through every value while the
// others stay fixed. When every tested byte of a word has such bounds, "every
// byte holds" needs no carries at all: each byte's fixed bits are compared
// with those of its lower bound. Most other bounds (0 to 2, 0 to 5) start on a
// multiple of a power of two above their span, so a byte's distance from the
// lower bound is its XOR with it, and only the upper bound needs an addition.
//
// WindowHolds answers only "every tested byte holds"; which byte fails, if
// any, is for the caller to find by testing the bytes one by one.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

namespace grouper {

struct ByteWindow {
  static constexpr int kMaxWords = 8;

  std::size_t start = 0;  // offset of the window's first byte in the structure
  int words = 0;
  bool second_bounds = false;  // some byte has a second pair of bounds
  // Per tested byte of each word: 0x7F - hi, lo, and the byte's top bit; and
  // the same of the second pair (the first pair again for a byte without one).
  uint64_t above_high[kMaxWords] = {};
  uint64_t low[kMaxWords] = {};
  uint64_t tested[kMaxWords] = {};
  uint64_t above_high_2[kMaxWords] = {};
  uint64_t low_2[kMaxWords] = {};
  // Per word, whether some tested byte lacks one pair of bounds that form an
  // aligned block, and whether some tested byte's lower bound is no multiple
  // of a power of two above its span (or it has a second pair); per tested
  // byte the block's fixed bits and 0x7F less the span.
  bool needs_carries[kMaxWords] = {};
  bool needs_subtraction[kMaxWords] = {};
  uint64_t fixed[kMaxWords] = {};
  uint64_t above_span[kMaxWords] = {};

  // The fewest tested bytes for which the window costs less than testing
  // them one by one: two per word tested without carries, three per word
  // tested with them.
  constexpr std::size_t BytesWorthTesting() const {
    std::size_t n = 0;
    for (int w = 0; w < words; ++w) {
      if (tested[w] != 0) n += needs_carries[w] ? 3 : 2;
    }
    return n;
  }

  // Adds the byte at `offset` of the structure, which lies in the window.
  constexpr void Bound(std::size_t offset, unsigned lo, unsigned hi) {
    Bound(offset, lo, hi, lo, hi);
  }
  // The same with a second pair of bounds.
  constexpr void Bound(std::size_t offset, unsigned lo, unsigned hi, unsigned lo_2, unsigned hi_2) {
    const std::size_t at = offset - start;
    const std::size_t word = at / 8;
    const std::size_t lane = std::endian::native == std::endian::little ? at % 8 : 7 - at % 8;
    above_high[word] |= uint64_t{0x7Fu - hi} << (8 * lane);
    low[word] |= uint64_t{lo} << (8 * lane);
    tested[word] |= uint64_t{0x80} << (8 * lane);
    above_high_2[word] |= uint64_t{0x7Fu - hi_2} << (8 * lane);
    low_2[word] |= uint64_t{lo_2} << (8 * lane);
    second_bounds = second_bounds || lo_2 != lo || hi_2 != hi;
    const unsigned span = hi - lo;  // an aligned block: span is 2^k - 1 and lo a multiple of 2^k
    needs_carries[word] = needs_carries[word] || lo_2 != lo || hi_2 != hi ||
                          (span & (span + 1)) != 0 || (lo & span) != 0;
    unsigned reach = 1;  // the smallest power of two above the span
    while (reach <= span) reach <<= 1;
    needs_subtraction[word] =
        needs_subtraction[word] || lo_2 != lo || hi_2 != hi || (lo & (reach - 1)) != 0;
    fixed[word] |= uint64_t{~span & 0xFFu} << (8 * lane);
    above_span[word] |= uint64_t{0x7Fu - span} << (8 * lane);
  }
};

// The top bit of each tested byte of word `w` that lies outside its bounds.
// With the top bit of every byte cleared, neither the addition nor the
// subtraction carries from one byte into the next: a byte whose top bit the
// addition sets lies above its upper bound, one whose top bit the subtraction
// clears lies below its lower bound, and a byte whose own top bit was set lies
// outside any bounds.
[[gnu::always_inline]] inline uint64_t OutsideBits(const ByteWindow& window, const void* object,
                                                   int w) {
  constexpr uint64_t kTopBits = 0x8080808080808080u;
  uint64_t word;
  std::memcpy(&word, static_cast<const unsigned char*>(object) + window.start + 8 * w, sizeof word);
  const uint64_t low7 = word & ~kTopBits;
  uint64_t outside = word | (low7 + window.above_high[w]) | ~((low7 | kTopBits) - window.low[w]);
  if (window.second_bounds) {
    outside &= word | (low7 + window.above_high_2[w]) | ~((low7 | kTopBits) - window.low_2[w]);
  }
  return outside & window.tested[w];
}

// The outside bits of word W, or, with `kWithin`, the top bits of its tested
// bytes that lie within their bounds; 0 for a word beyond the window or
// without a tested byte, which is not read.
template <bool kWithin, int W>
[[gnu::always_inline]] inline uint64_t WordBits(const ByteWindow& window, const void* object) {
  if (W >= window.words || window.tested[W] == 0) return 0;
  if (!window.needs_carries[W]) {
    // A byte with a fixed bit unlike its block's lies outside it. Without
    // `kWithin` the differing bits stand for the outside bits (nonzero exactly
    // when there are some); with it, each byte without such a bit is found as
    // a zero byte, the addition carrying from no byte into the next.
    constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu;
    uint64_t word;
    std::memcpy(&word, static_cast<const unsigned char*>(object) + window.start + 8 * W,
                sizeof word);
    const uint64_t differing = (word ^ window.low[W]) & window.fixed[W];
    if (!kWithin) return differing;
    return ~(((differing & kLow7) + kLow7) | differing) & window.tested[W];
  }
  if (!window.needs_subtraction[W]) {
    // Each byte's distance from its lower bound is its XOR with it; the
    // distance lies above the span when its own top bit is set or the
    // addition sets it, which carries from no byte into the next.
    constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu;
    uint64_t word;
    std::memcpy(&word, static_cast<const unsigned char*>(object) + window.start + 8 * W,
                sizeof word);
    const uint64_t distance = word ^ window.low[W];
    const uint64_t outside =
        (distance | ((distance & kLow7) + window.above_span[W])) & window.tested[W];
    return kWithin ? ~outside & window.tested[W] : outside;
  }
  const uint64_t outside = OutsideBits(window, object, W);
  return kWithin ? ~outside & window.tested[W] : outside;
}

// Every word written out, so that the bounds become immediates and the words
// without a tested byte drop out.
template <bool kWithin, int... W>
[[gnu::always_inline]] inline uint64_t EveryWord(const ByteWindow& window, const void* object,
                                                 std::integer_sequence<int, W...>) {
  return (WordBits<kWithin, W>(window, object) | ...);
}

// True when every tested byte lies within its bounds.
[[gnu::always_inline]] inline bool WindowHolds(const ByteWindow& window, const void* object) {
  return EveryWord<false>(window, object,
                          std::make_integer_sequence<int, ByteWindow::kMaxWords>{}) == 0;
}

// True when at least one tested byte lies within its bounds.
[[gnu::always_inline]] inline bool AnyByteWithin(const ByteWindow& window, const void* object) {
  return EveryWord<true>(window, object,
                         std::make_integer_sequence<int, ByteWindow::kMaxWords>{}) != 0;
}

}  // namespace grouper
