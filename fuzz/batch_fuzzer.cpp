// Feeds arbitrary bytes as a whole input file through the program's line loop
// (ProcessStream on in-memory files, two workers taking three lines at a
// time, so that runs are handed over many times per input) and traps unless the run completes and
// its result holds one CR LF-terminated output line and one console line per
// read of the input, each the right answer to its read (see answer_check.h).
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>

#include "answer_check.h"
#include "batch/line_stream.h"
#include "fuzz_support.h"

namespace {

int input_fd = -1;
int output_fd = -1;
int console_fd = -1;

using grouper::fuzzing::Broken;
using grouper::fuzzing::kTexts;

int MemoryFile(const char* name) {
  const int fd = memfd_create(name, MFD_CLOEXEC);
  if (fd < 0) {
    std::perror("memfd_create");
    std::abort();
  }
  return fd;
}

void Empty(int fd) {
  if (ftruncate(fd, 0) != 0 || lseek(fd, 0, SEEK_SET) != 0) Broken("cannot reset a memory file");
}

void Fill(int fd, const uint8_t* data, std::size_t size) {
  Empty(fd);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = write(fd, data + done, size - done);
    if (n <= 0) Broken("cannot fill the input file");
    done += static_cast<std::size_t>(n);
  }
  if (lseek(fd, 0, SEEK_SET) != 0) Broken("cannot rewind the input file");
}

std::string Contents(int fd) {
  std::string bytes;
  char block[1 << 16];
  off_t offset = 0;
  for (;;) {
    const ssize_t n = pread(fd, block, sizeof block, offset);
    if (n < 0) Broken("cannot read back a memory file");
    if (n == 0) return bytes;
    bytes.append(block, static_cast<std::size_t>(n));
    offset += n;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  grouper::fuzzing::SetUpProcess();
  input_fd = MemoryFile("input");
  output_fd = MemoryFile("output");
  console_fd = MemoryFile("console");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Fill(input_fd, data, size);
  Empty(output_fd);
  Empty(console_fd);
  if (grouper::ProcessStream(input_fd, output_fd, console_fd, {.workers = 2, .run_lines = 3}) !=
      grouper::StreamResult::kComplete)
    Broken("run did not complete");
  const std::string output = Contents(output_fd);
  const std::string console = Contents(console_fd);
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  if (const char* fault = grouper::fuzzing::CheckRun(input, output, console, kTexts)) Broken(fault);
  return 0;
}
