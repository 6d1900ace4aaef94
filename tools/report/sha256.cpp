#include "sha256.h"

#include <cstring>

#include "platform/wasm_runtime.h"

#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#include <cpuid.h>
#include <immintrin.h>
#define GROUPER_SHA_INSTRUCTIONS 1
#endif

namespace grouper::report {

namespace {

constexpr uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr uint32_t Rotr(uint32_t x, int n) {
  return (x >> n) | (x << (32 - n));
}

// One round on the working variables named in their order for this round:
// instead of moving eight variables per round, the rounds name them in turn.
inline void Round(uint32_t a, uint32_t b, uint32_t c, uint32_t& d, uint32_t e, uint32_t f,
                  uint32_t g, uint32_t& h, uint32_t k_plus_w) {
  const uint32_t t1 = h + (Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25)) + (g ^ (e & (f ^ g))) + k_plus_w;
  const uint32_t t2 = (Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22)) + ((a & b) | (c & (a | b)));
  d += t1;
  h = t1 + t2;
}

void PortableBlock(uint32_t* state, const unsigned char* block) {
  uint32_t w[64];
  for (int i = 0; i < 16; ++i) {
    w[i] = static_cast<uint32_t>(block[4 * i]) << 24 |
           static_cast<uint32_t>(block[4 * i + 1]) << 16 |
           static_cast<uint32_t>(block[4 * i + 2]) << 8 | block[4 * i + 3];
  }
  for (int i = 16; i < 64; ++i) {
    const uint32_t s0 = Rotr(w[i - 15], 7) ^ Rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
    const uint32_t s1 = Rotr(w[i - 2], 17) ^ Rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
    w[i] = w[i - 16] + s0 + w[i - 7] + s1;
  }
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
  for (int i = 0; i < 64; i += 8) {
    Round(a, b, c, d, e, f, g, h, kRound[i] + w[i]);
    Round(h, a, b, c, d, e, f, g, kRound[i + 1] + w[i + 1]);
    Round(g, h, a, b, c, d, e, f, kRound[i + 2] + w[i + 2]);
    Round(f, g, h, a, b, c, d, e, kRound[i + 3] + w[i + 3]);
    Round(e, f, g, h, a, b, c, d, kRound[i + 4] + w[i + 4]);
    Round(d, e, f, g, h, a, b, c, kRound[i + 5] + w[i + 5]);
    Round(c, d, e, f, g, h, a, b, kRound[i + 6] + w[i + 6]);
    Round(b, c, d, e, f, g, h, a, kRound[i + 7] + w[i + 7]);
  }
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
  state[4] += e;
  state[5] += f;
  state[6] += g;
  state[7] += h;
}

void PortableBlocks(uint32_t* state, const unsigned char* blocks, std::size_t count) {
  for (; count > 0; --count, blocks += 64) PortableBlock(state, blocks);
}

#ifdef GROUPER_SHA_INSTRUCTIONS
// The same blocks with the processor's SHA instructions. Their state is the
// eight words in two halves, ABEF and CDGH; each four rounds take four words
// of the message schedule, which the instructions also extend.
__attribute__((target("sha,sse4.1,ssse3"))) void InstructionBlocks(uint32_t* state,
                                                                   const unsigned char* blocks,
                                                                   std::size_t count) {
  const __m128i big_endian = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
  __m128i dcba = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state));
  __m128i hgfe = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4));
  const __m128i cdab = _mm_shuffle_epi32(dcba, 0xB1);
  const __m128i efgh = _mm_shuffle_epi32(hgfe, 0x1B);
  __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
  __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);
  for (; count > 0; --count, blocks += 64) {
    const __m128i abef_before = abef;
    const __m128i cdgh_before = cdgh;
    __m128i w[16];
    for (int i = 0; i < 16; ++i) {
      if (i < 4) {
        w[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * i)),
                                big_endian);
      } else {
        const __m128i sigma0 = _mm_sha256msg1_epu32(w[i - 4], w[i - 3]);
        w[i] = _mm_sha256msg2_epu32(_mm_add_epi32(sigma0, _mm_alignr_epi8(w[i - 1], w[i - 2], 4)),
                                    w[i - 1]);
      }
      __m128i k_plus_w =
          _mm_add_epi32(w[i], _mm_loadu_si128(reinterpret_cast<const __m128i*>(kRound + 4 * i)));
      cdgh = _mm_sha256rnds2_epu32(cdgh, abef, k_plus_w);
      k_plus_w = _mm_shuffle_epi32(k_plus_w, 0x0E);
      abef = _mm_sha256rnds2_epu32(abef, cdgh, k_plus_w);
    }
    abef = _mm_add_epi32(abef, abef_before);
    cdgh = _mm_add_epi32(cdgh, cdgh_before);
  }
  const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
  const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
  dcba = _mm_blend_epi16(feba, dchg, 0xF0);
  hgfe = _mm_alignr_epi8(dchg, feba, 8);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state), dcba);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), hgfe);
}

// SHA in leaf 7's EBX (bit 29), SSSE3 and SSE4.1 in leaf 1's ECX (bits 9, 19).
bool HasShaInstructions() {
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (__get_cpuid_max(0, nullptr) < 7 || !__get_cpuid(1, &a, &b, &c, &d)) return false;
  const bool sse = (c >> 9 & 1) && (c >> 19 & 1);
  __cpuid_count(7, 0, a, b, c, d);
  return sse && (b >> 29 & 1);
}
#endif

auto ChosenBlocks(bool processor_instructions) {
#ifdef GROUPER_SHA_INSTRUCTIONS
  static const bool has = HasShaInstructions();
  if (processor_instructions && has) return &InstructionBlocks;
#else
  (void)processor_instructions;
#endif
  return &PortableBlocks;
}

}  // namespace

Sha256::Sha256(bool processor_instructions)
    : state_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
             0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19},
      blocks_(ChosenBlocks(processor_instructions)) {}

void Sha256::Blocks(const unsigned char* blocks, std::size_t count) {
  blocks_(state_.data(), blocks, count);
}

void Sha256::Add(const void* bytes, std::size_t length) {
  const unsigned char* p = static_cast<const unsigned char*>(bytes);
  total_bytes_ += length;
  if (buffered_ > 0) {
    const std::size_t take = length < 64 - buffered_ ? length : 64 - buffered_;
    std::memcpy(buffer_ + buffered_, p, take);
    buffered_ += take;
    p += take;
    length -= take;
    if (buffered_ < 64) return;
    Blocks(buffer_, 1);
    buffered_ = 0;
  }
  Blocks(p, length / 64);
  p += length / 64 * 64;
  length %= 64;
  std::memcpy(buffer_, p, length);
  buffered_ = length;
}

std::string Sha256::HexDigest() {
  const uint64_t bits = total_bytes_ * 8;
  // The padding: a one bit, zeros, and the length in bits, to a whole block.
  unsigned char pad[72] = {0x80};
  const std::size_t zeros = (buffered_ < 56 ? 56 : 120) - buffered_;
  for (int i = 0; i < 8; ++i) pad[zeros + i] = static_cast<unsigned char>(bits >> (56 - 8 * i));
  const uint64_t kept = total_bytes_;
  Add(pad, zeros + 8);
  total_bytes_ = kept;
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (const uint32_t word : state_) {
    for (int shift = 28; shift >= 0; shift -= 4) hex += kHex[(word >> shift) & 15];
  }
  return hex;
}

// Where the build has no threads (platform::kThreads), no thread is started
// and each block is hashed in line as it is handed over.
BackgroundSha256::BackgroundSha256() {
  if constexpr (platform::kThreads) thread_ = std::thread(&BackgroundSha256::Run, this);
}

BackgroundSha256::~BackgroundSha256() {
  Stop();
}

void BackgroundSha256::Hash(const char* block, std::size_t length) {
  if (!thread_.joinable()) {
    hash_.Add(block, length);
    return;
  }
  MutexLock lock(mutex_);
  while (has_work_) changed_.Wait(mutex_);
  block_ = block;
  length_ = length;
  has_work_ = true;
  changed_.SignalAll();
}

void BackgroundSha256::Stop() {
  if (!thread_.joinable()) return;
  {
    MutexLock lock(mutex_);
    stopping_ = true;
    changed_.SignalAll();
  }
  thread_.join();
}

std::string BackgroundSha256::HexDigest() {
  Stop();
  return hash_.HexDigest();
}

void BackgroundSha256::Run() {
  mutex_.Lock();
  for (;;) {
    while (!has_work_ && !stopping_) changed_.Wait(mutex_);
    if (!has_work_) break;  // stopping, and every block handed over is hashed
    const char* block = block_;
    const std::size_t length = length_;
    mutex_.Unlock();
    hash_.Add(block, length);
    mutex_.Lock();
    has_work_ = false;
    changed_.SignalAll();
  }
  mutex_.Unlock();
}

}  // namespace grouper::report
