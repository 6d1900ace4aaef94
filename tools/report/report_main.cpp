// grouper-report INPUT REPORT.html
//
// A month at a glance: runs the batch's own line processing over an
// assessment file, split and numbered as the batch run splits it, writes no
// result file, and writes one self-contained HTML page (see report_page.h):
// the totals, the group codes, the ADL scores, the rejected records by message
// and every fault of the first rejected records.
//
// Exit status: 0; 1 when the input cannot be opened or read or the page
// cannot be written; 2 for bad arguments (with a usage line), among them a
// report that would overwrite the input.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "driver/byte_io.h"
#include "driver/group_line.h"
#include "explain/input_warnings.h"
#include "grouper/grouper.h"
#include "platform/platform.h"
#include "report_page.h"
#include "report_tally.h"
#include "sha256.h"
#include "text/cp949.h"

namespace {

constexpr const char* kUsage = "usage: grouper-report INPUT REPORT.html\n";

int Usage(const char* problem) {
  std::fprintf(stderr, "grouper-report: %s\n%s", problem, kUsage);
  return 2;
}

// The input is opened for reading as bytes through the platform layer.
int OpenInput(const char* path) {
  return grouper::platform::OpenInput(path);
}

void CloseInput(int fd) {
  grouper::platform::Close(fd);
}

bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    const std::size_t n = b < 0x80         ? 1
                          : (b >> 5) == 6  ? 2
                          : (b >> 4) == 14 ? 3
                          : (b >> 3) == 30 ? 4
                                           : 0;
    if (n == 0 || i + n > text.size()) return false;
    for (std::size_t k = 1; k < n; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += n;
  }
  return true;
}

// The input's file name for the heading: UTF-8 as most systems name files,
// otherwise read as code page 949 (a Korean Windows name).
std::string ShownName(const char* path) {
  const std::string name = std::filesystem::path(path).filename().string();
  return IsUtf8(name) ? name : grouper::cp949::ToUtf8(name);
}

bool WritePage(const char* path, const std::string& page) {
  std::FILE* out = std::fopen(path, "wb");
  if (out == nullptr) return false;
  const bool written = std::fwrite(page.data(), 1, page.size(), out) == page.size();
  const bool closed = std::fclose(out) == 0;
  if (written && closed) return true;
  // No half page that looks whole; but a device such as /dev/full stays.
  std::error_code ignored;
  if (std::filesystem::is_regular_file(path, ignored)) std::filesystem::remove(path, ignored);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc != 3) return Usage("an input file and a report file are needed");
  const char* input = argv[1];
  const char* report = argv[2];
  for (const char* arg : {input, report}) {
    if (arg[0] == '\0' || (arg[0] == '-' && arg[1] != '\0')) {
      return Usage(("unknown option " + std::string(arg)).c_str());
    }
  }
  std::error_code same_error;
  if (std::filesystem::equivalent(input, report, same_error)) {
    return Usage("the report would overwrite the input");
  }

  const int fd = OpenInput(input);
  if (fd < 0) {
    std::fprintf(stderr, "grouper-report: cannot open %s\n", input);
    return 1;
  }
  grouper::LineReader reader(fd);
  auto tally = std::make_unique<grouper::report::ReportTally>();
  auto work = std::make_unique<grouper::GroupingWork>();
  char line[grouper::kLineBufferSize] = {};
  uint64_t number = 0;
  grouper::report::Sha256 sha256;
  grouper::InputWarnings warnings;
  grouper::report::FilingInfo filing;
  for (;;) {
    const std::size_t read = reader.ReadLine(line);
    if (read == 0) break;
    // The reads hold every byte of the file, in order.
    sha256.Add(line, read);
    filing.file_size += read;
    warnings.Add(line, read);
    grouper::report::TallyLine(*tally, line, read, ++number, *work);
    // GroupLine leaves the buffer zero beyond the trimmed text; the next read
    // must find it zero beyond its own bytes.
    std::fill(line, line + read, '\0');
  }
  const bool failed = reader.failed();
  CloseInput(fd);
  if (failed) {
    std::fprintf(stderr, "grouper-report: cannot read %s\n", input);
    return 1;
  }

  warnings.Finish();
  filing.sha256 = sha256.HexDigest();
  filing.generated = grouper::report::Iso8601Local(std::time(nullptr));
  filing.version = grouper_version();
  for (const char* name : warnings.Names()) filing.warnings.emplace_back(name);
  const std::string page = grouper::report::RenderPage(*tally, {ShownName(input), filing});
  if (!WritePage(report, page)) {
    std::fprintf(stderr, "grouper-report: cannot write %s\n", report);
    return 1;
  }
  const grouper::report::OutcomeCounts& t = tally->totals;
  std::printf("grouper-report: %llu lines, %llu grouped, %llu rejected, %llu wrong data type: %s\n",
              static_cast<unsigned long long>(t.lines), static_cast<unsigned long long>(t.grouped),
              static_cast<unsigned long long>(t.rejected),
              static_cast<unsigned long long>(t.wrong_type), report);
  return 0;
}
