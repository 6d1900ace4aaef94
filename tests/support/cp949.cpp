#include "support/cp949.h"

#include <iconv.h>

#include <stdexcept>
#include <vector>

namespace grouper::testing {

namespace {

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

}  // namespace

std::string Cp949(std::u8string_view utf8) {
  return Convert("CP949", "UTF-8",
                 std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

std::string Utf8(std::string_view cp949) {
  return Convert("UTF-8", "CP949", cp949);
}

}  // namespace grouper::testing
