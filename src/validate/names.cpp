#include "validate/names.h"

namespace grouper {

std::size_t NameLength(const char (&name)[13]) {
  std::size_t length = 0;
  for (std::size_t i = 0; i < 12 && name[i] != '\0'; ++i) length += name[i] != ' ';
  return length;
}

std::string NameWithoutBlanks(const char (&name)[13]) {
  std::string text;
  for (std::size_t i = 0; i < 12 && name[i] != '\0'; ++i) {
    if (name[i] != ' ') text += name[i];
  }
  return text;
}

}  // namespace grouper
