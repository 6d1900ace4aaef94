// Names typed or pasted at the prompts.
#include "platform/console_line.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "platform/platform.h"
#endif

#include <string>
#include <vector>

namespace grouper::platform {
namespace {

// The names that the prompts take, one after the other, from typed text;
// a quoted name in <>.
std::vector<std::string> Names(std::string_view typed) {
  std::vector<std::string> names;
  for (TypedName n = FirstName(typed); n.found; n = FirstName(n.rest)) {
    names.push_back(n.quoted ? "<" + std::string(n.name) + ">" : std::string(n.name));
  }
  return names;
}

TEST(FirstName, ReadsWordsAsTheFormDoesAndQuotedNamesWhole) {
  const struct {
    std::string typed;
    std::vector<std::string> names;
  } cases[] = {
      {"in.txt", {"in.txt"}},
      {"in.txt out.txt", {"in.txt", "out.txt"}},
      {" \t in.txt\t\tout.txt \r", {"in.txt", "out.txt"}},  // tabs, CR LF's CR
      {"a\nb\vc\fd", {"a", "b", "c", "d"}},
      {"", {}},
      {" \t\r", {}},
      {"2026\xEB\x85\x84 12.txt", {"2026\xEB\x85\x84", "12.txt"}},  // bytes past 0x7F are no blanks
      {"\"C:\\My Docs\\in.txt\"\r", {"<C:\\My Docs\\in.txt>"}},
      {"\"a b.in\" \"c d.out\"", {"<a b.in>", "<c d.out>"}},
      {"  \" blanks stay \"x", {"< blanks stay >", "x"}},  // the name ends at its quote
      {"\"\"", {"<>"}},
      {"in\"side\" x", {"in\"side\"", "x"}},  // a quote inside a word is the word's
      {"\"unclosed name.txt", {"\"unclosed", "name.txt"}},
      {"\"", {"\""}},
  };
  for (const auto& c : cases) EXPECT_EQ(Names(c.typed), c.names) << c.typed;
}

TEST(TrimBlanks, DropsTheBlanksAroundAndKeepsThoseInside) {
  EXPECT_EQ(TrimBlanks(" \t2026 12 month.txt \r"), "2026 12 month.txt");
  EXPECT_EQ(TrimBlanks("x"), "x");
  EXPECT_EQ(TrimBlanks(" \t\r\n"), "");
}

#ifdef _WIN32
// The console's input, fed with the key presses of a pasted Hangul name and
// then of Ctrl+Z: the name comes as UTF-8 although the console's code page has
// no Hangul, and Ctrl+Z ends the input. The test's own console, or else a new
// one (Wine without a terminal makes one that cannot be used: then the test
// is skipped).
HANDLE ConsoleInput() {
  return CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, OPEN_EXISTING, 0, nullptr);
}

TEST(ReadConsoleLine, ReadsAConsoleAsWideCharacters) {
  DWORD mode = 0;
  HANDLE input = ConsoleInput();
  const bool own = input == INVALID_HANDLE_VALUE || !GetConsoleMode(input, &mode);
  if (own) {
    if (input != INVALID_HANDLE_VALUE) CloseHandle(input);
    FreeConsole();
    AllocConsole();
    input = ConsoleInput();
    if (input == INVALID_HANDLE_VALUE || !GetConsoleMode(input, &mode)) {
      GTEST_SKIP() << "no console that can be used";
    }
  }
  std::vector<INPUT_RECORD> keys;
  for (const wchar_t c :
       std::wstring(L"\"C:\\\uD64D\uAE38\uB3D9\\12\uC6D4 \uAE30\uB85D.txt\"\r\x1A\r")) {
    for (const BOOL down : {TRUE, FALSE}) {
      INPUT_RECORD key{};
      key.EventType = KEY_EVENT;
      key.Event.KeyEvent.bKeyDown = down;
      key.Event.KeyEvent.wRepeatCount = 1;
      key.Event.KeyEvent.wVirtualKeyCode = c == L'\r' ? VK_RETURN : 0;
      key.Event.KeyEvent.uChar.UnicodeChar = c;
      keys.push_back(key);
    }
  }
  DWORD written = 0;
  ASSERT_TRUE(WriteConsoleInputW(input, keys.data(), static_cast<DWORD>(keys.size()), &written));
  const UINT code_page = GetConsoleCP();
  SetConsoleCP(1252);
  const HANDLE saved = GetStdHandle(STD_INPUT_HANDLE);
  SetStdHandle(STD_INPUT_HANDLE, input);
  std::string first, second;
  const bool read_first = ReadConsoleLine(first);
  const bool read_second = ReadConsoleLine(second);
  SetStdHandle(STD_INPUT_HANDLE, saved);
  SetConsoleCP(code_page);
  CloseHandle(input);
  if (own) FreeConsole();
  EXPECT_TRUE(read_first);
  const std::u8string name = u8"C:\\홍길동\\12월 기록.txt";
  EXPECT_EQ(FirstName(first).name, std::string(name.begin(), name.end()));
  EXPECT_FALSE(read_second) << second;
}
#endif

}  // namespace
}  // namespace grouper::platform
