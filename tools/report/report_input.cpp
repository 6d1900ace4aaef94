#include "report_input.h"

#include <cerrno>
#include <cstring>

#include "line/reads.h"
#include "platform/platform.h"

namespace grouper::report {

ReportInput::ReportInput(int fd, std::size_t block_size)
    : fd_(fd),
      block_size_(block_size),
      blocks_{std::make_unique<char[]>(block_size), std::make_unique<char[]>(block_size)} {}

bool ReportInput::Fill() {
  if (eof_ || error_ != 0) return false;
  // The block filled now was handed to the hash two blocks ago, and handing
  // over the last one waited for it to be hashed.
  char* block = blocks_[next_].get();
  const long long n = platform::Read(fd_, block, block_size_);
  if (n <= 0) {
    if (n < 0) error_ = errno != 0 ? errno : EIO;
    eof_ = true;
    return false;
  }
  hash_.Hash(block, static_cast<std::size_t>(n));
  size_ += static_cast<uint64_t>(n);
  block_ = block;
  next_ = 1 - next_;
  begin_ = 0;
  end_ = static_cast<std::size_t>(n);
  return true;
}

std::size_t ReportInput::ReadLine(char* destination) {
  std::size_t count = 0;
  while (count < kMaxReadLength) {
    if (begin_ == end_ && !Fill()) break;
    const char* start = block_ + begin_;
    const std::size_t take = NextReadLength(start, end_ - begin_, count);
    std::memcpy(destination + count, start, take);
    count += take;
    begin_ += take;
    if (start[take - 1] == '\n') break;
  }
  return error_ != 0 ? 0 : count;
}

}  // namespace grouper::report
