#include "text/cp949.h"

#include <cstring>

namespace grouper::cp949 {

namespace {

// The syllable at position `rank` of the standard block (standard = true) or
// of the extension.
int SyllableAt(int rank, bool standard) {
  // Find the word whose block count passes `rank`, then the bit within it.
  int lo = 0;
  int hi = kWordCount;  // before[lo] (or its complement) <= rank < ... at hi
  auto count_before = [standard](int w) {
    return standard ? kRanks.before[w] : w * 64 - kRanks.before[w];
  };
  while (hi - lo > 1) {
    const int mid = (lo + hi) / 2;
    if (count_before(mid) <= rank) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  int left = rank - count_before(lo);
  for (int bit = 0; bit < 64; ++bit) {
    const int s = lo * 64 + bit;
    if (s >= kSyllableCount) break;
    if (InStandardBlock(s) != standard) continue;
    if (left-- == 0) return s;
  }
  return -1;
}

void AppendCodePoint(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

int DecodeSyllable(unsigned char lead, unsigned char trail) {
  if (lead >= 0xB0 && lead <= 0xC8 && trail >= 0xA1 && trail <= 0xFE) {
    return SyllableAt((lead - 0xB0) * 94 + (trail - 0xA1), true);
  }
  const int t = ExtensionTrailIndex(trail);
  if (t < 0) return -1;
  int rank = -1;
  if (lead >= 0x81 && lead <= 0xA0) {
    rank = (lead - 0x81) * kWideTrails + t;
  } else if (lead >= 0xA1 && lead <= 0xC6 && t < kNarrowTrails) {
    rank = kWideLeads * kWideTrails + (lead - 0xA1) * kNarrowTrails + t;
  }
  if (rank < 0 || rank >= kExtensionCount) return -1;
  return SyllableAt(rank, false);
}

void AppendUtf8(std::string& out, std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      continue;
    }
    if (i + 1 < text.size()) {
      const int s = DecodeSyllable(b, static_cast<unsigned char>(text[i + 1]));
      if (s >= 0) {
        AppendCodePoint(out, kFirstSyllable + static_cast<char32_t>(s));
        ++i;
        continue;
      }
    }
    AppendCodePoint(out, kReplacement);
  }
}

std::string ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 3 / 2);
  AppendUtf8(out, text);
  return out;
}

}  // namespace grouper::cp949

namespace grouper {

const char* Utf8Twin(const char* cp949_literal) {
  return cp949_literal + std::strlen(cp949_literal) + 1;
}

}  // namespace grouper
