#include "batch/byte_io.h"

#include <cerrno>
#include <cstring>

#include "line/reads.h"
#include "platform/platform.h"

namespace grouper {

LineReader::LineReader(int fd, std::size_t block_size)
    : fd_(fd), block_(new char[block_size]), block_size_(block_size) {}

bool LineReader::Fill() {
  if (eof_ || failed_) return false;
  errno = 0;
  const long long n = platform::Read(fd_, block_.get(), block_size_);
  if (n > 0) {
    begin_ = 0;
    end_ = static_cast<std::size_t>(n);
    return true;
  }
  if (n < 0) {
    failed_ = true;
    error_ = errno != 0 ? errno : EIO;
  }
  eof_ = true;
  return false;
}

std::size_t LineReader::ReadLine(char* destination) {
  std::size_t count = 0;
  while (count < kMaxReadLength) {
    if (begin_ == end_ && !Fill()) break;
    const char* start = block_.get() + begin_;
    const std::size_t take = NextReadLength(start, end_ - begin_, count);
    std::memcpy(destination + count, start, take);
    count += take;
    begin_ += take;
    if (start[take - 1] == '\n') break;
  }
  return failed_ ? 0 : count;
}

ByteWriter::ByteWriter(int fd, std::size_t block_size)
    : fd_(fd), block_(new char[block_size]), block_size_(block_size) {}

bool ByteWriter::WriteAll(const char* bytes, std::size_t length) {
  while (!failed_ && length > 0) {
    errno = 0;
    const long long n = platform::Write(fd_, bytes, length);
    if (n <= 0) {
      failed_ = true;
      error_ = errno != 0 ? errno : EIO;
      break;
    }
    bytes += n;
    length -= static_cast<std::size_t>(n);
  }
  return !failed_;
}

void ByteWriter::Write(const char* bytes, std::size_t length) {
  if (failed_) return;
  if (length > block_size_ - used_ && !Flush()) return;
  if (length > block_size_) {
    WriteAll(bytes, length);  // larger than the whole block: no copy
    return;
  }
  std::memcpy(block_.get() + used_, bytes, length);
  used_ += length;
}

bool ByteWriter::Flush() {
  WriteAll(block_.get(), used_);
  used_ = 0;
  return !failed_;
}

}  // namespace grouper
