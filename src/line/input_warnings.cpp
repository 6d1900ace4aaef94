#include "line/input_warnings.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "text/u8_text.h"

namespace grouper {

namespace {

// A Hangul syllable (U+AC00..U+D7A3) in UTF-8 at `p`, with `n` bytes left.
bool Utf8Syllable(const unsigned char* p, std::size_t n) {
  if (n < 3 || (p[1] & 0xC0) != 0x80 || (p[2] & 0xC0) != 0x80) return false;
  const unsigned code = (p[0] & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
  return (p[0] & 0xF0) == 0xE0 && code >= 0xAC00 && code <= 0xD7A3;
}

// How many bytes at `p` (of `n`) are ASCII before the first that is not:
// eight at a time, the first high bit found in a word giving its byte.
std::size_t AsciiPrefix(const unsigned char* p, std::size_t n) {
  std::size_t i = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (uint64_t word; i + sizeof word <= n; i += sizeof word) {
      std::memcpy(&word, p + i, sizeof word);
      if (const uint64_t high = word & 0x8080808080808080u; high != 0) {
        return i + static_cast<std::size_t>(std::countr_zero(high)) / 8;
      }
    }
  }
  while (i < n && p[i] < 0x80) ++i;
  return i;
}

// Whether the bytes are well-formed UTF-8 holding at least one Hangul syllable.
// The batch hands every read of its input here, so the usual read, ASCII up to
// a code page 949 name, is passed over in words and then given up at once.
bool Utf8WithHangul(const unsigned char* p, std::size_t n) {
  bool hangul = false;
  for (std::size_t i = AsciiPrefix(p, n); i < n;) {
    const unsigned char b = p[i];
    if (b < 0x80) {
      ++i;
      continue;
    }
    const std::size_t extra = b >= 0xC2 && b <= 0xDF   ? 1
                              : b >= 0xE0 && b <= 0xEF ? 2
                              : b >= 0xF0 && b <= 0xF4 ? 3
                                                       : 0;
    if (extra == 0 || i + extra >= n) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      if ((p[i + k] & 0xC0) != 0x80) return false;
    }
    hangul = hangul || Utf8Syllable(p + i, n - i);
    i += extra + 1;
  }
  return hangul;
}

}  // namespace

void InputWarnings::Add(const char* read, std::size_t length) {
  if (length == 0) return;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(read);
  if (!any_bytes_ && length >= 3 && std::memcmp(read, "\xEF\xBB\xBF", 3) == 0) utf8_ = true;
  any_bytes_ = true;
  if (!cr_line_ends_) FindLoneCr(read, length);
  if (!utf8_) utf8_ = Utf8WithHangul(p, length);
}

void InputWarnings::FindLoneCr(const char* read, std::size_t length) {
  std::size_t from = 0;
  if (pending_cr_) {
    // The CR run that ended the last read goes on, or ends here.
    while (from < length && read[from] == '\r') ++from;
    if (from == length) return;
    pending_cr_ = false;
    if (read[from] != '\n') {
      cr_line_ends_ = true;
      return;
    }
  }
  // The tail of the read is its line end (CRs then LF), or a CR run that the
  // next read may end in LF; only the bytes before it are searched, so the
  // usual read, one line in CR LF, costs one memchr that finds nothing.
  std::size_t to = length;
  const bool ends_in_lf = read[to - 1] == '\n';
  if (ends_in_lf) --to;
  const std::size_t before_crs = to;
  while (to > from && read[to - 1] == '\r') --to;
  if (!ends_in_lf && to < before_crs) pending_cr_ = true;
  // Within the searched bytes a CR run always ends before `to`, at a byte
  // that is no CR: the run is a line end only when that byte is LF.
  for (const char* cr = static_cast<const char*>(std::memchr(read + from, '\r', to - from));
       cr != nullptr;) {
    const char* after = cr + 1;
    while (*after == '\r') ++after;
    if (*after != '\n') {
      cr_line_ends_ = true;
      pending_cr_ = false;
      return;
    }
    cr = static_cast<const char*>(
        std::memchr(after, '\r', static_cast<std::size_t>(read + to - after)));
  }
}

void InputWarnings::Finish() {
  // CRs that end the file end its last line, which the batch trims of them as
  // it trims a line end: the file is read as the same lines as with CR LF.
  finished_ = true;
  pending_cr_ = false;
}

std::vector<const char*> InputWarnings::Names() const {
  std::vector<const char*> names;
  if (utf8_) names.push_back("utf8");
  if (cr_line_ends_) names.push_back("cr-line-ends");
  if (empty()) names.push_back("empty");
  return names;
}

std::vector<const char*> InputWarnings::NewNames() {
  std::vector<const char*> fresh;
  for (const char* name : Names()) {
    bool known = false;
    for (const char* old : reported_) known = known || std::string_view(old) == name;
    if (!known) fresh.push_back(name);
  }
  reported_.insert(reported_.end(), fresh.begin(), fresh.end());
  return fresh;
}

std::string InputWarnings::Sentence(const char* name, Language language) {
  const std::string_view n = name;
  const bool english = language == Language::kEnglish;
  const char8_t* text = nullptr;
  if (n == "utf8") {
    text = english ? u8"the file looks like UTF-8 text, not code page 949 (CP949): save it "
                     u8"again as CP949 (ANSI on a Korean Windows); its faults are not to be "
                     u8"trusted"
                   : u8"파일이 CP949가 아닌 UTF-8로 저장된 것으로 보입니다. CP949(한국어 "
                     u8"Windows의 ANSI)로 다시 저장하십시오. 오류 내용을 믿을 수 없습니다.";
  } else if (n == "cr-line-ends") {
    text = english ? u8"the lines end in CR alone: the file is read as a few long lines, which "
                     u8"are wrong data types; save it again with CR LF line ends"
                   : u8"줄 끝이 CR만으로 되어 있어, 파일이 긴 줄 몇 개로 읽혀 잘못된 데이타 "
                     u8"타입이 됩니다. 줄 끝을 CR LF로 하여 다시 저장하십시오.";
  } else if (n == "empty") {
    text = english ? u8"the file is empty" : u8"파일이 비어 있습니다.";
  }
  return text != nullptr ? U8(text) : "";
}

}  // namespace grouper
