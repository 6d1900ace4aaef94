// Buffered byte input and output on file descriptors (opened through the
// platform layer), without any line-end translation or locale.
//
// LineReader reads one line at a time as the C library's fgets does with a
// 1024-byte buffer: at most 1023 bytes, up to and including a line feed; a
// longer physical line is continued by the next read (line/reads.h cuts). ByteWriter collects
// bytes in a large block and writes it whole; after the first failed write it
// keeps failing and drops further bytes.
#pragma once

#include <cstddef>
#include <memory>

namespace grouper {

class LineReader {
 public:
  // Reads from `fd`, open for reading, which the caller keeps open and closes;
  // `block_size` bytes at a time (at least 1024).
  explicit LineReader(int fd, std::size_t block_size = 1 << 20);
  // Reads the next line into `destination` (at least 1024 bytes; nothing past
  // the bytes read is touched). Returns the number of bytes read, 0 at end of
  // input or on a read error.
  std::size_t ReadLine(char* destination);
  // True once a read of the file has failed (ReadLine then returns 0).
  bool failed() const { return failed_; }
  // The system's reason (errno) of the failed read, else 0.
  int error() const { return error_; }
  // Bytes read from the file and not yet taken: a next line that can be had
  // (at least in part) without waiting for the file.
  std::size_t buffered() const { return end_ - begin_; }

 private:
  bool Fill();

  int fd_;
  std::unique_ptr<char[]> block_;
  std::size_t block_size_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
  bool failed_ = false;
  int error_ = 0;
};

class ByteWriter {
 public:
  // Writes to `fd`, open for writing, which the caller keeps open and
  // closes; in blocks of `block_size` bytes. The destructor does not flush.
  explicit ByteWriter(int fd, std::size_t block_size = 1 << 20);
  // Appends `length` bytes, writing out the block when it is full; does
  // nothing once a write has failed.
  void Write(const char* bytes, std::size_t length);
  // Writes out what is buffered; false once any write has failed.
  bool Flush();
  // True once a write has failed: the bytes from there on are lost.
  bool failed() const { return failed_; }
  // The system's reason (errno) of the failed write (ENOSPC for a full
  // disk), else 0.
  int error() const { return error_; }

 private:
  bool WriteAll(const char* bytes, std::size_t length);

  int fd_;
  std::unique_ptr<char[]> block_;
  std::size_t block_size_;
  std::size_t used_ = 0;
  bool failed_ = false;
  int error_ = 0;
};

}  // namespace grouper
