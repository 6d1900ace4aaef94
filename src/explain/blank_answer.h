// A blank answer shown so that a person sees it. An item left blank is
// written as blanks (or nothing) in the line, and shown as it is, it would
// look like a missing value: an empty cell, a pair of quotes with nothing
// between. The texts for people (the explanation's text, the report's
// details, the Korean table) show such a value as a word instead; JSON and
// the English table keep the value as it is, for programs.
#pragma once

#include <string>
#include <string_view>

#include "text/language.h"
#include "text/u8_text.h"

namespace grouper {

// True when `value` is empty or blanks only.
inline bool IsBlankAnswer(std::string_view value) {
  return value.find_first_not_of(' ') == std::string_view::npos;
}

// The word for a blank answer (UTF-8): "(빈칸)", in English "(blank)".
inline std::string BlankAnswerWord(Language language = Language::kKorean) {
  return language == Language::kEnglish ? std::string("(blank)") : U8(u8"(빈칸)");
}

}  // namespace grouper
