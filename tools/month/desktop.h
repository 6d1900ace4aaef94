// The few services of a person's desktop that grouper-month, the program a
// clerk starts rather than a script, needs: where the person's documents go,
// showing a page in the default browser, the system's dialog for picking a
// file, and whether the program has a console window of its own, which closes
// with it. A POSIX implementation (desktop_posix.cpp) and a Windows one
// (desktop_windows.cpp), kept with the month's program rather than in the
// platform layer (src/platform) so that the library and the batch, which need
// none of this, neither hold it nor link what it imports.
//
// Names are given and taken as the platform layer holds them (platform.h):
// UTF-8 on Windows, bytes elsewhere. None of these calls ends the process or
// waits for anything but the person.
#pragma once

#include <string>

namespace grouper::platform {

// The folder of the person's documents, without a trailing separator: on
// Windows the known folder Documents; elsewhere $HOME/Documents when it is a
// folder, else $HOME. Empty when there is none to be had.
std::string DocumentsFolder();

// Hands `file` to the default browser: ShellExecuteW on Windows; elsewhere
// xdg-open, when it is on the PATH, which is waited for. False when no browser
// could be asked (no xdg-open) or it said that it failed; nothing is printed.
bool OpenInBrowser(const std::string& file);

// True when the console window that the program writes to is its own and goes
// when it ends (Windows, started from Explorer: a double click or a file
// dropped on it) and the keyboard is that console's, so that a person can be
// asked to press a key before it goes. False elsewhere, and whenever the
// standard input is not that console (a script, a test).
bool OwnsConsoleWindow();

// Waits until a key is pressed on the console (OwnsConsoleWindow), or its
// input ends.
void WaitForKey();

enum class FileChoice { kChosen, kCancelled, kNoDialog };

// The words of the file dialog (UTF-8): its title and the names of its two
// filters, text files (*.txt, *.in) and all files.
struct FileDialogTexts {
  std::string title;
  std::string text_files;
  std::string all_files;
};

// Asks the person for an existing file with the system's dialog (Windows:
// GetOpenFileNameW). kChosen with `name` set, kCancelled when the person
// closed the dialog, kNoDialog where there is none (other systems) or it
// could not be shown.
FileChoice ChooseFileToOpen(const FileDialogTexts& texts, std::string& name);

}  // namespace grouper::platform
