// The names of a record (the patient's, the doctor's and the nurse's) as the
// rules count them: without their blanks, wherever they stand. A name item is
// 12 bytes of code page 949 text; a blank inside it ("홍 길동") is no part of
// the name, and neither is the padding after it.
#pragma once

#include <cstddef>
#include <string>

namespace grouper {

// The bytes of the NUL-terminated `name` (at most 12 of them before the
// terminator of a 13-byte field) that are not blanks.
std::size_t NameLength(const char (&name)[13]);

// The name without its blanks.
std::string NameWithoutBlanks(const char (&name)[13]);

}  // namespace grouper
