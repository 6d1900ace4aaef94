#include "platform/long_path.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace grouper::platform {
namespace {

// Five nested folders of 60 characters: any path holding them is past the
// plain form's limit.
std::wstring Deep(wchar_t separator) {
  std::wstring deep;
  for (wchar_t letter = L'a'; letter < L'f'; ++letter) deep.append(1, separator).append(60, letter);
  return deep;
}

TEST(LongPath, OnlyAFullPathPastTheLimitTakesTheExtendedForm) {
  const std::wstring deep = Deep(L'\\');
  const std::wstring base = L"C:\\work" + deep;  // the current directory of the relative cases
  // A full path of exactly the longest plain length, and one unit more.
  const std::wstring fits = L"C:\\" + std::wstring(kLongestPlainPath - 3, L'x');
  const std::wstring over = fits + L"y";
  struct Case {
    std::wstring name, full, given;
  };
  const std::vector<Case> cases = {
      {L"C:\\data\\in.txt", L"C:\\data\\in.txt", L"C:\\data\\in.txt"},
      {L"in.txt", L"C:\\data\\in.txt", L"in.txt"},  // short: the name as typed
      {fits, fits, fits},
      {over, over, L"\\\\?\\" + over},
      {L"C:\\work" + deep + L"\\in.txt", base + L"\\in.txt", L"\\\\?\\" + base + L"\\in.txt"},
      // The prefix goes before the full path, never before the name: slashes,
      // "." and ".." would be read literally, a relative name not at all.
      {L"C:/work" + Deep(L'/') + L"/./x/../in.txt", base + L"\\in.txt",
       L"\\\\?\\" + base + L"\\in.txt"},
      {L"in.txt", base + L"\\in.txt", L"\\\\?\\" + base + L"\\in.txt"},
      // A long name whose full path is short is not trusted to the plain form.
      {L"C:\\data" + deep + L"\\..\\..\\..\\..\\..\\in.txt", L"C:\\data\\in.txt",
       L"\\\\?\\C:\\data\\in.txt"},
      {L"\\\\server\\share" + deep, L"\\\\server\\share" + deep,
       L"\\\\?\\UNC\\server\\share" + deep},
      {L"//server/share" + Deep(L'/'), L"\\\\server\\share" + deep,
       L"\\\\?\\UNC\\server\\share" + deep},
      // Device paths go as written, whatever their length.
      {L"\\\\?\\C:\\work" + deep, L"\\\\?\\C:\\work" + deep, L"\\\\?\\C:\\work" + deep},
      {L"\\\\?\\UNC\\server\\share" + deep, L"", L"\\\\?\\UNC\\server\\share" + deep},
      {L"\\\\.\\pipe" + deep, L"\\\\.\\pipe" + deep, L"\\\\.\\pipe" + deep},
      {L"//?/C:/work" + Deep(L'/'), L"\\\\?\\C:\\work" + deep, L"//?/C:/work" + Deep(L'/')},
      {L"\\??\\C:\\work" + deep, L"\\??\\C:\\work" + deep, L"\\??\\C:\\work" + deep},
      {L"NUL", L"\\\\.\\NUL", L"NUL"},
      // No full path to be had, or none of a known form: the name as it is.
      {L"in" + deep, L"", L"in" + deep},
      {L"in" + deep, L"in" + deep, L"in" + deep},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SystemPathName(c.name, c.full), c.given) << std::string(c.name.begin(), c.name.end());
  }
}

TEST(LongPath, DevicePathsAreToldFromOtherRootedOnes) {
  for (const std::wstring device : {L"\\\\?\\C:\\x", L"\\\\.\\COM1", L"//./COM1", L"\\??\\C:\\x"})
    EXPECT_TRUE(IsDevicePath(device)) << std::string(device.begin(), device.end());
  for (const std::wstring other : {L"\\\\server\\share", L"C:\\x", L"\\x\\y", L"/?\?/x", L"\\\\?",
                                   L"\\\\.x\\y", L"", L"..\\x"})
    EXPECT_FALSE(IsDevicePath(other)) << std::string(other.begin(), other.end());
}

}  // namespace
}  // namespace grouper::platform
