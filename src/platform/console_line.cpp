#include "platform/console_line.h"

namespace grouper::platform {

bool ReadByteLine(std::FILE* stream, std::string& line) {
  line.clear();
  int c = std::getc(stream);
  if (c == EOF) return false;
  for (; c != EOF && c != '\n'; c = std::getc(stream)) line.push_back(static_cast<char>(c));
  return true;
}

std::string_view TypedName(std::string_view line) {
  constexpr std::string_view kBlanks = " \t\r";
  const std::size_t first = line.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  line = line.substr(first, line.find_last_not_of(kBlanks) - first + 1);
  if (line.size() >= 2 && line.front() == '"' && line.back() == '"') {
    line = line.substr(1, line.size() - 2);
  }
  return line;
}

}  // namespace grouper::platform
