// SHA-256 (FIPS 180-4) of a stream of bytes, so that the report names the
// exact file it was made from: a filed report can be matched with its data
// file by its fingerprint. Standard library only; where the processor has
// SHA instructions (x86's, asked of the processor at run time), the blocks
// are hashed with them, several times faster, with the same digest.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>

#include "util/mutex.h"

namespace grouper::report {

class Sha256 {
 public:
  // `processor_instructions` false: the portable code even where the
  // processor has SHA instructions (for the tests, which compare the two).
  explicit Sha256(bool processor_instructions = true);
  // Takes the next `length` bytes of the message.
  void Add(const void* bytes, std::size_t length);
  // The digest of every byte added, as 64 lowercase hexadecimal digits. The
  // hash takes no further bytes after this call.
  std::string HexDigest();

 private:
  // Hashes `count` blocks of 64 bytes.
  void Blocks(const unsigned char* blocks, std::size_t count);

  std::array<uint32_t, 8> state_;
  unsigned char buffer_[64];
  std::size_t buffered_ = 0;
  uint64_t total_bytes_ = 0;
  void (*blocks_)(uint32_t* state, const unsigned char* blocks, std::size_t count);
};

// The same digest, computed on a thread of its own while the caller goes on:
// the caller hands over the blocks of the message in order, as it reads them,
// and each is hashed while the caller works on it and reads the next, so that
// hashing a large file costs the report little time where a second core is
// free and the file is read once. The blocks are the caller's: nothing is
// copied. One caller thread.
class BackgroundSha256 {
 public:
  BackgroundSha256();
  // Waits for the block handed over last to be hashed.
  ~BackgroundSha256();
  BackgroundSha256(const BackgroundSha256&) = delete;
  BackgroundSha256& operator=(const BackgroundSha256&) = delete;

  // Hashes the `length` bytes at `block` after every block handed over
  // before. Waits first until the block handed over before is hashed, so
  // that the caller may change or free that one once this call returns;
  // `block` itself must stay unchanged until the next call of Hash or
  // HexDigest returns (or the hash is destroyed).
  void Hash(const char* block, std::size_t length);
  // Waits for every block to be hashed; the digest as Sha256's. Once.
  std::string HexDigest();

 private:
  void Stop();
  void Run();

  Mutex mutex_;
  CondVar changed_;
  // The block handed over, while has_work_ says that it waits to be hashed
  // or is being hashed (outside the lock); the caller hands over no other
  // until has_work_ is false again.
  const char* block_ GUARDED_BY(mutex_) = nullptr;
  std::size_t length_ GUARDED_BY(mutex_) = 0;
  bool has_work_ GUARDED_BY(mutex_) = false;
  bool stopping_ GUARDED_BY(mutex_) = false;

  Sha256 hash_;  // the hashing thread's, until it has been joined
  std::thread thread_;
};

}  // namespace grouper::report
