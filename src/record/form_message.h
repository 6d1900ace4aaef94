// A message of the form: its constant code page 949 text, and the section and
// the item that it names, kept beside it so that no code has to read them out
// of the text again. FORM_MSG writes a message from its three parts,
//
//   FORM_MSG(u8"G.건강상태", u8"[1.a.열][1.체온]", u8" 0~99.9 사이 숫자를 입력하시오")
//
// is the text "오류-[G.건강상태][1.a.열][1.체온] 0~99.9 사이 숫자를 입력하시오"
// (joined while compiling, converted to code page 949 by the _cp949 literal),
// with its section "G.건강상태" and its item "[1.a.열][1.체온]" (the item's
// bracketed groups as the message writes them; "" when it names none) as
// UTF-8.
#pragma once

#include <cstddef>

#include "text/cp949.h"

namespace grouper {

// The bytes of a u8 literal as static text of char, since a u8 literal is an
// array of char8_t: UTF-8 whatever the compiler's execution character set.
template <std::size_t N>
struct Utf8Chars {
  char text[N];
};
template <cp949::Utf8Literal S>
consteval Utf8Chars<sizeof S.text> CopyUtf8() {
  Utf8Chars<sizeof S.text> out{};
  for (std::size_t i = 0; i < sizeof S.text; ++i) out.text[i] = static_cast<char>(S.text[i]);
  return out;
}
template <cp949::Utf8Literal S>
inline constexpr Utf8Chars<sizeof S.text> kUtf8 = CopyUtf8<S>();

struct FormMessage {
  const char* text = nullptr;     // code page 949, a constant of the program
  const char* section = nullptr;  // UTF-8, "G.건강상태"; nullptr for a text of no form section
  const char* item = nullptr;     // UTF-8, "[1.a.열][1.체온]", "" when none

  constexpr FormMessage() = default;
  // A text without a section (tests' own texts, no message).
  constexpr FormMessage(const char* text) : text(text) {}
  constexpr FormMessage(const char* text, const char* section, const char* item)
      : text(text), section(section), item(item) {}
};

#define FORM_MSG(section, item, rest)                               \
  ::grouper::FormMessage(u8"오류-[" section "]" item rest ""_cp949, \
                         ::grouper::kUtf8<section>.text, ::grouper::kUtf8<item>.text)

}  // namespace grouper
