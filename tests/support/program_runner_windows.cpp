// Starting the program with CreateProcess: standard input is a pipe fed by a
// thread, the console a pipe, a file or nothing at all (no handle, as a
// program started without a console has).
#ifdef _WIN32

#include "platform/windows_api.h"
// windows.h first: the headers below are then read in its setting.
#include <filesystem>
#include <thread>

#include "support/program_runner.h"

namespace grouper::testing {

namespace {

// One argument quoted so that the C runtime's parser gives it back unchanged.
std::string Quote(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (const char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, '\\');
  return quoted + "\"";
}

// A pipe whose child end is inherited and whose own end is not, so that the
// child's exit alone ends the parent's reads.
void MakePipe(HANDLE* read_end, HANDLE* write_end, bool child_reads) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  EXPECT_TRUE(CreatePipe(read_end, write_end, &inherit, 1 << 16));
  SetHandleInformation(child_reads ? *write_end : *read_end, HANDLE_FLAG_INHERIT, 0);
}

}  // namespace

Outcome Start(const std::string& directory, const Launch& launch) {
  // The build names the program by an absolute path of the build machine;
  // resolved against the starting directory, it also holds under Wine.
  const std::string program =
      std::filesystem::absolute(launch.program.empty() ? GROUPER_BINARY : launch.program).string();
  std::string command_line = Quote(program);
  for (const std::string& arg : launch.args) command_line += " " + Quote(arg);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);

  HANDLE stdin_read = nullptr, stdin_write = nullptr;
  if (!launch.close_stdin) {
    MakePipe(&stdin_read, &stdin_write, true);
    startup.hStdInput = stdin_read;
  }
  HANDLE console_read = nullptr, console_write = nullptr;
  if (launch.console == Console::kCapture || launch.console == Console::kReadOneLine) {
    MakePipe(&console_read, &console_write, false);
    startup.hStdOutput = console_write;
  } else if (launch.console == Console::kFile) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    console_write = CreateFileA(launch.console_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(console_write, INVALID_HANDLE_VALUE);
    startup.hStdOutput = console_write;
  }

  PROCESS_INFORMATION process{};
  const bool started = CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, TRUE,
                                      0, nullptr, directory.c_str(), &startup, &process) != 0;
  EXPECT_TRUE(started) << "could not start " << program << " (error " << GetLastError() << ")";
  // The child holds its own copies now.
  if (stdin_read) CloseHandle(stdin_read);
  if (console_write) CloseHandle(console_write);

  std::thread feeder;
  if (stdin_write) {
    feeder = std::thread([&] {
      const std::string& bytes = launch.stdin_bytes;
      std::size_t done = 0;
      DWORD n = 0;
      while (done < bytes.size() &&
             ::WriteFile(stdin_write, bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                         &n, nullptr)) {
        done += n;
      }
      CloseHandle(stdin_write);
    });
  }
  Outcome outcome;
  if (console_read) {
    char block[1 << 16];
    DWORD n = 0;
    while (::ReadFile(console_read, block, sizeof block, &n, nullptr) && n > 0) {
      outcome.console.append(block, n);
      if (launch.console == Console::kReadOneLine &&
          outcome.console.find('\n') != std::string::npos) {
        break;
      }
    }
    CloseHandle(console_read);
  }
  if (started) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(process.hProcess, &code)) outcome.status = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  if (feeder.joinable()) feeder.join();
  return outcome;
}

}  // namespace grouper::testing

#endif  // _WIN32
