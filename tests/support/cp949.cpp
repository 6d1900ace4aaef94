#include "support/cp949.h"

#include <stdexcept>
#include <vector>

#ifdef _WIN32
#include "platform/windows_api.h"
#else
#include <iconv.h>
#endif

namespace grouper::testing {

namespace {

#ifdef _WIN32

// Windows converts through UTF-16 with its own code page tables (949 is the
// Korean one), which owe nothing to the program's literals either.
constexpr unsigned kUtf8 = CP_UTF8;
constexpr unsigned kCp949 = 949;

std::string Convert(unsigned to, unsigned from, std::string_view in) {
  if (in.empty()) return {};
  const int size = static_cast<int>(in.size());
  const int wide_size =
      MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, in.data(), size, nullptr, 0);
  if (wide_size <= 0) throw std::runtime_error("not convertible");
  std::vector<wchar_t> wide(static_cast<std::size_t>(wide_size));
  MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, in.data(), size, wide.data(), wide_size);
  BOOL lossy = FALSE;
  BOOL* lossy_flag = to == CP_UTF8 ? nullptr : &lossy;  // UTF-8 takes no such flag
  const int out_size =
      WideCharToMultiByte(to, 0, wide.data(), wide_size, nullptr, 0, nullptr, lossy_flag);
  if (out_size <= 0 || lossy) throw std::runtime_error("not convertible");
  std::string out(static_cast<std::size_t>(out_size), '\0');
  WideCharToMultiByte(to, 0, wide.data(), wide_size, out.data(), out_size, nullptr, nullptr);
  return out;
}

#else

constexpr const char* kUtf8 = "UTF-8";
constexpr const char* kCp949 = "CP949";

std::string Convert(const char* to, const char* from, std::string_view in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  std::vector<char> out(in.size() * 4 + 16);
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  char* dst = out.data();
  size_t dst_left = out.size();
  const size_t rc = iconv(cd, &src, &src_left, &dst, &dst_left);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) throw std::runtime_error("iconv failed");
  return std::string(out.data(), out.size() - dst_left);
}

#endif

}  // namespace

std::string Cp949(std::u8string_view utf8) {
  return Convert(kCp949, kUtf8,
                 std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

std::string Utf8(std::string_view cp949) {
  return Convert(kUtf8, kCp949, cp949);
}

}  // namespace grouper::testing
