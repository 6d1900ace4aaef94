// SHA-256 against the known vectors of FIPS 180-4 and of the NIST examples,
// whole and fed in pieces that cross the 64-byte blocks, and on its own thread
// in blocks handed over in turn (three million bytes: hashlib gave the digest).
#include "sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace grouper::report {
namespace {

TEST(Sha256, GivesTheKnownDigests) {
  const std::string million_a(1000000, 'a');
  const struct {
    std::string message;
    const char* digest;
  } cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlm"
       "nopqrsmnopqrstnopqrstu",
       "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
      {million_a, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
      {million_a + million_a + million_a,
       "2a152c894398719c0570f83fac34ac03a0f6e8e474b995c2403aa5434f7b9dd4"},
  };
  for (const auto& c : cases) {
    for (const std::size_t piece : {std::size_t{1}, std::size_t{63}, std::size_t{1000}}) {
      // The processor's SHA instructions, where it has them, and the portable code.
      for (const bool processor : {true, false}) {
        Sha256 hash(processor);
        for (std::size_t at = 0; at < c.message.size(); at += piece) {
          hash.Add(c.message.data() + at, std::min(piece, c.message.size() - at));
        }
        EXPECT_EQ(hash.HexDigest(), c.digest) << c.message.size() << " bytes in pieces of " << piece
                                              << ", instructions " << processor;
      }
    }
    // On the second thread, in blocks handed over in turn (one block being
    // hashed while the next is handed over), as the report's reader does.
    for (const std::size_t block : {std::size_t{1}, std::size_t{63}, std::size_t{1} << 20}) {
      if (c.message.size() / block > 100000) continue;
      BackgroundSha256 background;
      for (std::size_t at = 0; at < c.message.size(); at += block) {
        background.Hash(c.message.data() + at, std::min(block, c.message.size() - at));
      }
      EXPECT_EQ(background.HexDigest(), c.digest)
          << c.message.size() << " bytes in blocks of " << block << " in background";
    }
  }
}

}  // namespace
}  // namespace grouper::report
