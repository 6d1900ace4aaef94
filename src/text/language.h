// The language of the text for people: Korean, the clerks' own, unless
// English is asked for. JSON keys and codes are English in either.
#pragma once

namespace grouper {

enum class Language { kKorean, kEnglish };

}  // namespace grouper
