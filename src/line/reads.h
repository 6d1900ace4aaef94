// How the input is cut into reads: the batch reads its input as the C
// library's fgets does with a 1024-byte buffer, at most 1023 bytes at a time,
// up to and including a line feed. A longer physical line goes on in the next
// read and counts as a line of its own. The batch's reader and the C
// interface (grouper_next_read) both cut by NextReadLength, so that a caller
// of the library numbers its lines as the batch numbers them.
#pragma once

#include <cstddef>
#include <cstring>

namespace grouper {

inline constexpr std::size_t kLineBufferSize = 1024;  // one read: at most 1023 bytes + NUL
inline constexpr std::size_t kMaxReadLength = kLineBufferSize - 1;

// How many of the `length` bytes at `bytes` (which may be nullptr when
// `length` is 0) belong to a read that already holds `held` bytes (less than
// kMaxReadLength): up to and including the first line feed, but no more than
// the read has room for. The read is whole once the bytes taken end in a line
// feed or it holds kMaxReadLength bytes; otherwise it goes on in the bytes
// that follow `length`, if any. Returns 0 only when `length` is 0.
inline std::size_t NextReadLength(const char* bytes, std::size_t length, std::size_t held = 0) {
  const std::size_t room = kMaxReadLength - held;
  const std::size_t window = length < room ? length : room;
  if (window == 0) return 0;
  const void* newline = std::memchr(bytes, '\n', window);
  return newline != nullptr
             ? static_cast<std::size_t>(static_cast<const char*>(newline) - bytes) + 1
             : window;
}

}  // namespace grouper
