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
// report that would overwrite the input. --help prints the usage, --version
// the library's version.
#include <grouper/grouper.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "batch/byte_io.h"
#include "line/group_line.h"
#include "explain/input_warnings.h"
#include "grouper/grouper.h"
#include "platform/platform.h"
#include "report_page.h"
#include "report_tally.h"
#include "sha256.h"
#include "text/cp949.h"

namespace {

constexpr const char* kUsage =
    "usage: grouper-report INPUT REPORT.html\n"
    "       grouper-report --help | --version\n";

int Usage(const char* problem) {
  std::fprintf(stderr, "grouper-report: %s\n%s", problem, kUsage);
  return 2;
}

// A file that could not be opened, read or written, with the system's reason
// where there is one (0: none).
int Failed(const char* what, const std::string& name, int error) {
  const std::string shown = grouper::platform::NameForConsole(name);
  if (error != 0) {
    std::fprintf(stderr, "grouper-report: %s %s: %s\n", what, shown.c_str(), std::strerror(error));
  } else {
    std::fprintf(stderr, "grouper-report: %s %s\n", what, shown.c_str());
  }
  return 1;
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

// The input's file name for the heading: UTF-8 as most systems (and the
// platform layer on Windows) name files, otherwise read as code page 949 (a
// Korean name on a system that gives bytes).
std::string ShownName(const std::string& path) {
  const std::string name(grouper::platform::FileNamePart(path));
  return IsUtf8(name) ? name : grouper::cp949::ToUtf8(name);
}

// Writes the page; the system's reason (errno) when it cannot, else 0.
int WritePage(const std::string& path, const std::string& page) {
  const int fd = grouper::platform::OpenOutput(path.c_str());
  if (fd < 0) return errno;
  int error = 0;
  for (std::size_t done = 0; done < page.size() && error == 0;) {
    const long long n = grouper::platform::Write(fd, page.data() + done, page.size() - done);
    if (n < 0) error = errno;
    done += n < 0 ? 0 : static_cast<std::size_t>(n);
  }
  if (!grouper::platform::Close(fd) && error == 0) error = errno != 0 ? errno : EIO;
  // No half page that looks whole; but a device such as /dev/full stays.
  if (error != 0) grouper::platform::RemoveRegularFile(path.c_str());
  return error;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args = grouper::platform::Arguments(argc, argv);
  if (args.size() == 2 && (args[1] == "--help" || args[1] == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (args.size() == 2 && args[1] == "--version") {
    std::printf("grouper-report %s\n", grouper_version());
    return 0;
  }
  if (args.size() != 3) return Usage("an input file and a report file are needed");
  const std::string& input = args[1];
  const std::string& report = args[2];
  for (const std::string& arg : {input, report}) {
    if (arg.empty() || (arg[0] == '-' && arg.size() > 1)) {
      return Usage(("unknown option " + arg).c_str());
    }
  }

  const int fd = grouper::platform::OpenInput(input.c_str());
  if (fd < 0) return Failed("cannot open", input, errno);
  if (grouper::platform::IsSameFile(fd, report.c_str())) {
    grouper::platform::Close(fd);
    return Usage("the report would overwrite the input");
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
  }
  const bool failed = reader.failed();
  grouper::platform::Close(fd);
  if (failed) return Failed("cannot read", input, 0);

  warnings.Finish();
  filing.sha256 = sha256.HexDigest();
  filing.generated = grouper::report::Iso8601Local(std::time(nullptr));
  filing.version = grouper_version();
  for (const char* name : warnings.Names()) filing.warnings.emplace_back(name);
  const std::string page = grouper::report::RenderPage(*tally, {ShownName(input), filing});
  if (const int error = WritePage(report, page); error != 0) {
    return Failed("cannot write", report, error);
  }
  const grouper::report::OutcomeCounts& t = tally->totals;
  std::printf("grouper-report: %llu lines, %llu grouped, %llu rejected, %llu wrong data type: %s\n",
              static_cast<unsigned long long>(t.lines), static_cast<unsigned long long>(t.grouped),
              static_cast<unsigned long long>(t.rejected),
              static_cast<unsigned long long>(t.wrong_type),
              grouper::platform::NameForConsole(report).c_str());
  return 0;
}
