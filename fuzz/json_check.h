// A strict check of JSON text, for the explanation's fuzz target and tests:
// whether a text is exactly one JSON object (RFC 8259: no comments, no
// trailing commas, no bare control bytes in strings, only the standard escapes,
// no duplicate keys in an object, nothing before or after the object), and
// whether bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF, no truncated sequence).
//
// Written from the JSON and UTF-8 grammars alone, sharing nothing with the
// program's own writer, so that it can catch that writer out. Header only and
// standard library only, so that a unit test can use it too.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace grouper::json_check {

inline bool ValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    unsigned char low = 0x80, high = 0xBF;  // bounds of the second byte
    if (b < 0x80) {
      ++i;
      continue;
    } else if (b >= 0xC2 && b <= 0xDF) {
      extra = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      extra = 2;
      if (b == 0xE0) low = 0xA0;   // overlong below U+0800
      if (b == 0xED) high = 0x9F;  // the surrogates U+D800..U+DFFF
    } else if (b >= 0xF0 && b <= 0xF4) {
      extra = 3;
      if (b == 0xF0) low = 0x90;   // overlong below U+10000
      if (b == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
      return false;  // a continuation byte, C0, C1 or F5..FF as a lead
    }
    if (i + extra >= text.size()) return false;  // cut short
    for (std::size_t k = 1; k <= extra; ++k) {
      const unsigned char c = static_cast<unsigned char>(text[i + k]);
      const unsigned char lo = k == 1 ? low : 0x80;
      const unsigned char hi = k == 1 ? high : 0xBF;
      if (c < lo || c > hi) return false;
    }
    i += extra + 1;
  }
  return true;
}

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  // One object and nothing else; `top_keys`, when given, receives the keys of
  // that object in order.
  bool OneObject(std::vector<std::string>* top_keys) {
    top_keys_ = top_keys;
    if (Peek() != '{') return Fail("the text does not start with '{'");
    if (!Object(0)) return false;
    if (pos_ != text_.size()) return Fail("bytes after the object");
    return true;
  }

  const std::string& error() const { return error_; }
  std::size_t position() const { return pos_; }

 private:
  static constexpr int kMaxDepth = 64;

  bool Fail(const char* what) {
    if (error_.empty()) error_ = what;
    return false;
  }
  char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
  bool AtEnd() const { return pos_ >= text_.size(); }
  void SkipSpace() {
    while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r')) {
      ++pos_;
    }
  }
  bool Literal(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return Fail("unknown literal");
    pos_ += word.size();
    return true;
  }

  bool Value(int depth) {
    if (depth > kMaxDepth) return Fail("nested too deep");
    SkipSpace();
    if (AtEnd()) return Fail("a value is missing");
    bool ok = false;
    switch (Peek()) {
      case '{':
        ok = Object(depth);
        break;
      case '[':
        ok = Array(depth);
        break;
      case '"':
        ok = String(nullptr);
        break;
      case 't':
        ok = Literal("true");
        break;
      case 'f':
        ok = Literal("false");
        break;
      case 'n':
        ok = Literal("null");
        break;
      default:
        ok = Number();
    }
    if (ok) SkipSpace();
    return ok;
  }

  bool Object(int depth) {
    ++pos_;  // '{'
    std::set<std::string> keys;
    SkipSpace();
    if (Peek() == '}') {
      ++pos_;
      return true;
    }
    for (;;) {
      SkipSpace();
      if (Peek() != '"') return Fail("a key is not a string");
      std::string key;
      if (!String(&key)) return false;
      if (!keys.insert(key).second) return Fail("a key appears twice");
      if (depth == 0 && top_keys_ != nullptr) top_keys_->push_back(key);
      SkipSpace();
      if (Peek() != ':') return Fail("':' missing after a key");
      ++pos_;
      if (!Value(depth + 1)) return false;
      if (Peek() == ',') {
        ++pos_;
        continue;
      }
      if (Peek() == '}') {
        ++pos_;
        return true;
      }
      return Fail("',' or '}' missing in an object");
    }
  }

  bool Array(int depth) {
    ++pos_;  // '['
    SkipSpace();
    if (Peek() == ']') {
      ++pos_;
      return true;
    }
    for (;;) {
      if (!Value(depth + 1)) return false;
      if (Peek() == ',') {
        ++pos_;
        continue;
      }
      if (Peek() == ']') {
        ++pos_;
        return true;
      }
      return Fail("',' or ']' missing in an array");
    }
  }

  int Hex4() {
    if (pos_ + 4 > text_.size()) return -1;
    int value = 0;
    for (int k = 0; k < 4; ++k) {
      const char c = text_[pos_ + k];
      const int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
      if (digit < 0) return -1;
      value = value * 16 + digit;
    }
    pos_ += 4;
    return value;
  }

  // A string; its raw bytes (escapes kept as written) into `raw` when given,
  // which is enough to tell keys apart in the program's output.
  bool String(std::string* raw) {
    ++pos_;  // '"'
    const std::size_t start = pos_;
    for (;;) {
      if (AtEnd()) return Fail("a string is not closed");
      const unsigned char c = static_cast<unsigned char>(text_[pos_]);
      if (c == '"') break;
      if (c < 0x20) return Fail("a control byte inside a string");
      if (c != '\\') {
        ++pos_;
        continue;
      }
      ++pos_;
      const char e = Peek();
      if (e == '"' || e == '\\' || e == '/' || e == 'b' || e == 'f' || e == 'n' || e == 'r' ||
          e == 't') {
        ++pos_;
        continue;
      }
      if (e != 'u') return Fail("an unknown escape");
      ++pos_;
      const int unit = Hex4();
      if (unit < 0) return Fail("\\u without four hexadecimal digits");
      if (unit >= 0xDC00 && unit <= 0xDFFF) return Fail("a lone low surrogate");
      if (unit >= 0xD800 && unit <= 0xDBFF) {
        if (text_.substr(pos_, 2) != "\\u") return Fail("a lone high surrogate");
        pos_ += 2;
        const int low = Hex4();
        if (low < 0xDC00 || low > 0xDFFF) return Fail("a lone high surrogate");
      }
    }
    if (raw != nullptr) raw->assign(text_.substr(start, pos_ - start));
    ++pos_;  // '"'
    return true;
  }

  bool Digits() {
    const std::size_t start = pos_;
    while (!AtEnd() && Peek() >= '0' && Peek() <= '9') ++pos_;
    return pos_ > start;
  }

  bool Number() {
    if (Peek() == '-') ++pos_;
    if (Peek() == '0') {
      ++pos_;
    } else if (!(Peek() >= '1' && Peek() <= '9') || !Digits()) {
      return Fail("not a value");
    }
    if (Peek() == '.') {
      ++pos_;
      if (!Digits()) return Fail("no digits after a decimal point");
    }
    if (Peek() == 'e' || Peek() == 'E') {
      ++pos_;
      if (Peek() == '+' || Peek() == '-') ++pos_;
      if (!Digits()) return Fail("no digits in an exponent");
    }
    return true;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::string error_;
  std::vector<std::string>* top_keys_ = nullptr;
};

// True when `text` is valid UTF-8 and exactly one JSON object; otherwise
// `error` (when given) says what is wrong.
inline bool IsOneObject(std::string_view text, std::vector<std::string>* top_keys = nullptr,
                        std::string* error = nullptr) {
  if (!ValidUtf8(text)) {
    if (error != nullptr) *error = "not valid UTF-8";
    return false;
  }
  Parser parser(text);
  if (parser.OneObject(top_keys)) return true;
  if (error != nullptr) *error = parser.error() + " at byte " + std::to_string(parser.position());
  return false;
}

}  // namespace grouper::json_check
