#ifdef _WIN32

#include "platform/windows_api.h"
// windows.h first: the headers below are read in its setting.
#include <commdlg.h>
#include <conio.h>
#include <knownfolders.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include "desktop.h"
#include "platform/windows_text.h"

namespace grouper::platform {

namespace {

// The shell's calls may hand work to COM objects; a thread that has not met
// COM yet joins the single-threaded apartment that they expect. Once is
// enough, and a thread that is in an apartment already stays in it.
void JoinApartment() {
  static const HRESULT joined =
      CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  (void)joined;
}

}  // namespace

std::string DocumentsFolder() {
  PWSTR path = nullptr;
  std::string folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &path))) {
    folder = Utf8FromWide(path);
  }
  CoTaskMemFree(path);
  return folder;
}

bool OpenInBrowser(const std::string& file) {
  JoinApartment();
  const std::wstring wide = WideFromUtf8(file);
  const HINSTANCE done =
      ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(done) > 32;  // its documented sign of success
}

// The window closes with the last process attached to the console; a console
// that cmd or another program opened has them too.
bool OwnsConsoleWindow() {
  DWORD processes[2];
  if (GetConsoleProcessList(processes, 2) != 1) return false;
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  return input != INVALID_HANDLE_VALUE && input != nullptr && GetConsoleMode(input, &mode) != 0;
}

void WaitForKey() {
  const wint_t key = _getwch();
  if (key == 0 || key == 0xE0) _getwch();  // a function or arrow key comes as two
}

FileChoice ChooseFileToOpen(const FileDialogTexts& texts, std::string& name) {
  JoinApartment();
  // Each filter is its name and its patterns, each ended by a NUL, and the
  // list by another.
  std::wstring filter = WideFromUtf8(texts.text_files);
  filter += std::wstring(L"\0*.txt;*.in\0", 12);
  filter += WideFromUtf8(texts.all_files);
  filter += std::wstring(L"\0*.*\0\0", 6);
  const std::wstring title = WideFromUtf8(texts.title);
  std::wstring chosen(32768, L'\0');  // the longest path that Windows takes
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetConsoleWindow();
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = chosen.data();
  dialog.nMaxFile = static_cast<DWORD>(chosen.size());
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                 OFN_NOCHANGEDIR | OFN_LONGNAMES;
  if (GetOpenFileNameW(&dialog)) {
    name = Utf8FromWide(chosen.c_str());
    return FileChoice::kChosen;
  }
  return CommDlgExtendedError() == 0 ? FileChoice::kCancelled : FileChoice::kNoDialog;
}

}  // namespace grouper::platform

#endif  // _WIN32
