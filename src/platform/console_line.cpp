#include "platform/console_line.h"

#include <algorithm>

namespace grouper::platform {

namespace {

constexpr std::string_view kBlanks = " \t\r\n\v\f";

}  // namespace

bool ReadByteLine(std::FILE* stream, std::string& line) {
  line.clear();
  int c = std::getc(stream);
  if (c == EOF) return false;
  for (; c != EOF && c != '\n'; c = std::getc(stream)) line.push_back(static_cast<char>(c));
  return true;
}

TypedName FirstName(std::string_view typed) {
  const std::size_t first = typed.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  typed.remove_prefix(first);
  if (typed.front() == '"') {
    if (const std::size_t close = typed.find('"', 1); close != std::string_view::npos) {
      return {.found = true,
              .quoted = true,
              .name = typed.substr(1, close - 1),
              .rest = typed.substr(close + 1)};
    }
  }
  const std::size_t end = std::min(typed.find_first_of(kBlanks), typed.size());
  return {.found = true, .name = typed.substr(0, end), .rest = typed.substr(end)};
}

std::string_view TrimBlanks(std::string_view typed) {
  const std::size_t first = typed.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return typed.substr(first, typed.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace grouper::platform
