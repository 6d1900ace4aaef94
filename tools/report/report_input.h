// The report's input, read once: block by block, each block handed to the
// SHA-256 on its own thread as soon as it is read, and cut into reads exactly
// as the batch cuts them (NextReadLength of line/reads.h, as LineReader does),
// so that the page's line numbers are the result file's and its fingerprint
// is the file's own, while the hash costs the tally no second pass.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "sha256.h"

namespace grouper::report {

class ReportInput {
 public:
  // Reads from `fd`, open for reading, which the caller keeps open and closes;
  // `block_size` bytes at a time (at least 1).
  explicit ReportInput(int fd, std::size_t block_size = 1 << 20);

  // Reads the next read of the input into `destination` (at least
  // kLineBufferSize bytes; nothing past the bytes read is touched), as
  // LineReader::ReadLine does. Returns the number of bytes read, 0 at the end
  // of the input or once a read has failed.
  std::size_t ReadLine(char* destination);
  // The bytes read from the file and not yet cut into reads.
  std::size_t buffered() const { return end_ - begin_; }
  // The system's reason (errno) when a read of the file failed, else 0.
  int error() const { return error_; }
  // The bytes read from the file so far.
  uint64_t size() const { return size_; }
  // The SHA-256 of every byte read, as 64 lowercase hexadecimal digits; after
  // the last read. Once.
  std::string Sha256HexDigest() { return hash_.HexDigest(); }

 private:
  bool Fill();

  int fd_;
  std::size_t block_size_;
  // Two blocks: one is cut into reads while the hash may still be reading
  // the other, which was handed to it before.
  std::unique_ptr<char[]> blocks_[2];
  const char* block_ = nullptr;  // the block being cut
  int next_ = 0;                 // the block that the next read of the file fills
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
  int error_ = 0;
  uint64_t size_ = 0;
  BackgroundSha256 hash_;  // last: it has finished with the blocks before they go
};

}  // namespace grouper::report
