#include "platform/replace_file.h"

#include <atomic>
#include <chrono>
#include <cstdio>

#include "platform/platform.h"
#include "platform/temporary_name.h"

namespace grouper::platform {

namespace {

// A long name is shortened so that the temporary name stays within the 255
// bytes (or UTF-16 units) that a file name may have.
constexpr std::size_t kNameInTemporary = 96;

std::string_view Shortened(std::string_view name) {
  if (name.size() <= kNameInTemporary) return name;
  std::size_t end = kNameInTemporary;
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
  return name.substr(0, end);
}

bool IsHex(std::string_view digits) {
  for (const char c : digits) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

}  // namespace

std::string TemporaryFileName(std::string_view name, unsigned long pid, uint64_t random,
                              std::string_view suffix) {
  char numbers[48];
  std::snprintf(numbers, sizeof numbers, ".%lu.%016llx", pid,
                static_cast<unsigned long long>(random));
  return "." + std::string(Shortened(name)) + numbers + std::string(suffix);
}

bool IsTemporaryOf(std::string_view file, std::string_view name, unsigned long& pid) {
  const std::string_view shortened = Shortened(name);
  if (file.size() < shortened.size() + 2 || file[0] != '.' ||
      file.substr(1, shortened.size()) != shortened || file[shortened.size() + 1] != '.')
    return false;
  std::string_view rest = file.substr(shortened.size() + 2);  // "<pid>.<hex><suffix>"
  if (rest.size() < 4 ||
      (rest.substr(rest.size() - 4) != ".tmp" && rest.substr(rest.size() - 4) != ".old"))
    return false;
  rest.remove_suffix(4);
  const std::size_t dot = rest.find('.');
  if (dot == 0 || dot == std::string_view::npos || dot > 10 || rest.size() - dot - 1 != 16 ||
      !IsHex(rest.substr(dot + 1)))
    return false;
  unsigned long long number = 0;
  for (const char c : rest.substr(0, dot)) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + static_cast<unsigned>(c - '0');
  }
  pid = static_cast<unsigned long>(number);
  return true;
}

uint64_t FreshBits() {
  // splitmix64 over the clock, the process and a count: two names made at
  // once differ, and a clash would only cost another try (CreateNewFile).
  static std::atomic<uint64_t> count{0};
  uint64_t z =
      static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()) ^
      (static_cast<uint64_t>(CurrentProcessId()) << 32) ^ (++count * 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

std::string TemporaryPathBeside(const std::string& path, std::string_view suffix) {
  const std::string_view name = FileNamePart(path);
  return path.substr(0, path.size() - name.size()) +
         TemporaryFileName(name, CurrentProcessId(), FreshBits(), suffix);
}

}  // namespace grouper::platform
