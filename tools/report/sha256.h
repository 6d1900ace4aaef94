// SHA-256 (FIPS 180-4) of a stream of bytes, so that the report names the
// exact file it was made from: a filed report can be matched with its data
// file by its fingerprint. Standard library only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

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

}  // namespace grouper::report
