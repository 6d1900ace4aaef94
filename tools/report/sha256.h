// SHA-256 (FIPS 180-4) of a stream of bytes, so that the report names the
// exact file it was made from: a filed report can be matched with its data
// file by its fingerprint. Standard library only.
#pragma once

#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace grouper::report {

class Sha256 {
 public:
  Sha256();
  // Takes the next `length` bytes of the message.
  void Add(const void* bytes, std::size_t length);
  // The digest of every byte added, as 64 lowercase hexadecimal digits. The
  // hash takes no further bytes after this call.
  std::string HexDigest();

 private:
  void Block(const unsigned char* block);

  std::array<uint32_t, 8> state_;
  unsigned char buffer_[64];
  std::size_t buffered_ = 0;
  uint64_t total_bytes_ = 0;
};

// The same digest, computed on a thread of its own while the caller goes on:
// the bytes are gathered into blocks of a megabyte and hashed in the order
// they were added, one block at a time, so that hashing a large file costs
// the report little time where a second core is free. One caller thread.
class BackgroundSha256 {
 public:
  BackgroundSha256();
  ~BackgroundSha256();
  BackgroundSha256(const BackgroundSha256&) = delete;
  BackgroundSha256& operator=(const BackgroundSha256&) = delete;

  void Add(const void* bytes, std::size_t length);
  // Waits for every byte added to be hashed; the digest as Sha256's. Once.
  std::string HexDigest();

 private:
  void HandOver();  // gives the filled block to the hashing thread
  void Stop();
  void Run();

  static constexpr std::size_t kBlock = 1 << 20;
  std::vector<char> filling_;  // the caller's block

  std::mutex mutex_;
  std::condition_variable changed_;
  // Guarded by mutex_: the block handed over and whether it waits to be
  // hashed; the thread hashes it outside the lock while has_work_ holds, and
  // the caller does not touch it until has_work_ is false again.
  std::vector<char> handed_;
  bool has_work_ = false;
  bool stopping_ = false;

  Sha256 hash_;  // the hashing thread's, until it has been joined
  std::thread thread_;
};

}  // namespace grouper::report
