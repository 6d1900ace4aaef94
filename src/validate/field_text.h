// Small text routines shared by the record parser and the validator.
//
// Texts are NUL-terminated byte strings in code page 949; a character is one
// byte. None of these routines depends on the locale.
//   RemoveChar    removes every occurrence of one byte, in place; returns 1.
//   EightDigits   true when eight bytes are all digits.
//   IsNumericText 1 when the text is one or more digits (with a point flag other
//                 than 0, digits with at most one '.'), else -1.
//   CheckDate     the time value of local midnight of a YYYYMMDD text, or -1
//                 when the text is no valid date. Blanks in the text are
//                 ignored; the absent date "00000000" is not a valid date. A
//                 date is valid only when its time value lies from 0 to
//                 2^31 - 1 in the process's local time zone.
#pragma once

#include <atomic>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "record/assessment_record.h"

namespace grouper {

int RemoveChar(char character, char* text);
// RemoveChar(' ', name) for a name field of 13 bytes (12 and the terminator),
// returning the length of the name that remains. The usual name, whose blanks
// all trail it, is handled a word at a time.
std::size_t RemoveBlanksFromName(char (&name)[13]);
// True when the eight bytes from `text` are all digits.
inline bool EightDigits(const char* text) {
  uint64_t bytes;
  std::memcpy(&bytes, text, sizeof bytes);
  // Each byte lies in 0x30..0x3F, and adding 6 keeps it there; no byte
  // carries into the next once the first holds.
  return (bytes & 0xF0F0F0F0F0F0F0F0u) == 0x3030303030303030u &&
         ((bytes + 0x0606060606060606u) & 0xF0F0F0F0F0F0F0F0u) == 0x3030303030303030u;
}
int IsNumericText(const char* text, int point_flag);
int32_t CheckDate(const char* text);
// The same for a record's date field (faster: its nine bytes are known).
[[gnu::always_inline]] inline int32_t CheckDateField(const DateText& text);

// CheckDate converts each date once per process and keeps the result (threads
// share it safely), so the time zone in force when a date is first converted
// decides it: set the zone (TZ) before the first date is checked, or call
// ResetDateCache after changing it, while no other thread checks dates.
//
// Forgets the dates that CheckDate has converted.
void ResetDateCache();

namespace date_detail {

// In front of the date cache, the dates last seen, keyed by their digits as
// they stand in the field: a date that recurs is answered without decoding it,
// inline in the rows that check it. The key holds the eight digits as nibbles
// (interleaved, so distinct digit texts have distinct keys) and sits beside
// the cache's stored value (0: none, kInvalid, or the time value plus 1) in
// one atomic word, so that threads share the entries as they share the cache:
// a reader sees a key with its own value or a miss. A slot that another date
// has taken is a miss, decoded the long way.
//
// A lookup tests only that the eight bytes are 0x30 to 0x3F: only digit texts
// are kept, so a key that matches has digits for nibbles. A miss tests the
// bytes for digits before it decodes them.
inline constexpr int kRecentBits = 12;
inline constexpr uint32_t kInvalid = 0xFFFFFFFFu;
extern std::atomic<uint64_t> recent_dates[1u << kRecentBits];

inline std::atomic<uint64_t>& RecentSlot(uint32_t key) {
  return recent_dates[(key * 0x9E3779B1u) >> (32 - kRecentBits)];
}

// The long ways, out of line: a date not among the recent ones (kept there
// once converted, when its bytes are digits), a field of other than eight
// digits, a big-endian machine.
int32_t DecodeAndKeep(const DateText& text, uint32_t key);
int32_t CheckOtherDateField(const DateText& text);
int32_t ConvertDateField(const DateText& text);

}  // namespace date_detail

[[gnu::always_inline]] inline int32_t CheckDateField(const DateText& text) {
  // All nine bytes of a date field may be read at once: the eight bytes are
  // tested together.
  uint64_t bytes;
  std::memcpy(&bytes, text, sizeof bytes);
  if ((bytes & 0xF0F0F0F0F0F0F0F0u) != 0x3030303030303030u || text[8] != '\0') {
    return date_detail::CheckOtherDateField(text);
  }
  if constexpr (std::endian::native != std::endian::little) {
    return date_detail::ConvertDateField(text);
  }
  const uint64_t nibbles = bytes - 0x3030303030303030u;
  const uint32_t key = static_cast<uint32_t>(nibbles | (nibbles >> 28));
  const uint64_t entry = date_detail::RecentSlot(key).load(std::memory_order_relaxed);
  const uint32_t stored = static_cast<uint32_t>(entry);
  if (entry >> 32 != key || stored == 0) return date_detail::DecodeAndKeep(text, key);
  return stored == date_detail::kInvalid ? -1 : static_cast<int32_t>(stored - 1);
}

}  // namespace grouper
