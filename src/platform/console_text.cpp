#include "platform/console_text.h"

#include <cstring>

#include "platform/platform.h"
#include "text/u8_text.h"
#include "text/utf8.h"

#ifdef _WIN32
#include <windows.h>

#include <string>
#endif

namespace grouper::console {

#ifdef _WIN32
namespace {

// The console behind `stream`, or nullptr when it goes to a file or a pipe.
HANDLE ConsoleOf(std::FILE* stream) {
  const HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (handle == INVALID_HANDLE_VALUE || handle == nullptr || !GetConsoleMode(handle, &mode)) {
    return nullptr;
  }
  return handle;
}

}  // namespace
#endif

bool WriteText(std::FILE* stream, std::string_view utf8) {
#ifdef _WIN32
  if (const HANDLE console = ConsoleOf(stream); console != nullptr && !utf8.empty()) {
    std::fflush(stream);  // what went through the stream comes first
    const int size = static_cast<int>(utf8.size());
    const int wide_length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), wide_length);
    DWORD written = 0;
    return WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written,
                         nullptr) != 0;
  }
#endif
  return std::fwrite(utf8.data(), 1, utf8.size(), stream) == utf8.size();
}

std::string NameText(std::string_view name) {
  return utf8::Escaped(name);
}

std::string Reason(int error) {
  return Reason(error, Language::kEnglish);
}

std::string Reason(int error, Language language) {
  if (language == Language::kKorean) {
    switch (error) {
      case platform::kFileInUse:
        return U8(u8"다른 프로그램이 이 파일을 열고 있습니다");
      case platform::kNotRegularFile:
        return U8(u8"디스크의 파일이 아닙니다 (파이프, 장치 또는 소켓)");
      case platform::kFolderInUse:
        return U8(u8"다른 실행이 그 폴더에 쓰고 있습니다");
      default:
        break;
    }
  }
  switch (error) {
    case platform::kFileInUse:
      return "the file is open in another program";
    case platform::kNotRegularFile:
      return "not a regular file (a pipe, a device or a socket)";
    case platform::kFolderInUse:
      return "another run is writing there";
    default:
      return std::strerror(error);
  }
}

int FileFailed(std::string_view program, std::string_view what, std::string_view name, int error) {
  WriteText(stderr, std::string(program) + ": " + std::string(what) + " " + NameText(name) + ": " +
                        Reason(error) + "\n");
  return 1;
}

}  // namespace grouper::console
