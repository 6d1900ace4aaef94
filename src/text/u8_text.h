// Korean texts in the code are u8 literals, so that they stay UTF-8 whatever
// the compiler's execution character set. Since C++20 such a literal is an
// array of char8_t, which std::string does not take: U8 gives it as the
// std::string that the rest of the code writes, the bytes unchanged.
#pragma once

#include <string>

namespace grouper {

inline std::string U8(const char8_t* text) {
  return reinterpret_cast<const char*>(text);
}

}  // namespace grouper
