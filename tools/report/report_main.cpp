// grouper-report INPUT REPORT.html
//
// A month at a glance: runs the batch's own line processing over an
// assessment file, split and numbered as the batch run splits it, writes no
// result file, and writes one self-contained HTML page (see report_page.h):
// the totals, the group codes, the ADL scores, the rejected records by message
// and every fault of the first rejected records.
//
// The SHA-256 of the input, which the page names, is computed on a second
// thread from the same reads (report_input.h).
//
// The page replaces an old one whole (platform/replace_file.h): a run that
// fails or is interrupted leaves the old page as it was and no temporary
// file, and a run removes what runs killed outright left of the same page. A
// page named by a link replaces the file that the link leads to. A device or
// a pipe (/dev/stdout) is written directly.
//
// Exit status: 0; 1 when the input cannot be opened or read, the page cannot
// be written or the summary line cannot be written to standard output (a
// closed one included), each said on standard error with the system's reason;
// 2 for bad arguments (with a usage line), among them a report that would
// overwrite the input. --help prints the usage and the options, --version the
// library's version. The options are read as util/options.h reads them.
#include <grouper/grouper.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/console_text.h"
#include "platform/platform.h"
#include "platform/replace_file.h"
#include "report_file.h"
#include "tool_start.h"
#include "util/options.h"
#include "util/stream_output.h"

namespace {

constexpr char kProgram[] = "grouper-report";
constexpr char kUsage[] =
    "usage: grouper-report INPUT REPORT.html\n"
    "       grouper-report --help | --version\n";
constexpr grouper::options::Option kOptions[] = {
    {"--help", "", "this help, on standard output", "-h"},
    {"--version", "", "the program's name and the library's version"},
};
constexpr grouper::tool::Program kTool = {kProgram, kUsage, kOptions};

// Writes all of `bytes` to `fd`: 0, or the system's reason (errno).
int WriteAll(int fd, const std::string& bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    errno = 0;
    const long long n = grouper::platform::Write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) return errno != 0 ? errno : EIO;
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

// Writes the page; the system's reason (errno) when it cannot, else 0.
int WritePage(const std::string& path, const std::string& page) {
  if (grouper::platform::IsDeviceOrPipe(path.c_str())) {
    const int fd = grouper::platform::OpenOutput(path.c_str());
    if (fd < 0) return errno;
    const int error = WriteAll(fd, page);
    if (!grouper::platform::Close(fd) && error == 0) return errno != 0 ? errno : EIO;
    return error;
  }
  grouper::platform::ReplacementFile file;
  int error = file.Create(path, grouper::platform::LinkTarget::kReplaceLinkedFile);
  if (error != 0) return error;
  // What an earlier run killed outright left of this page.
  const std::string_view name = grouper::platform::FileNamePart(file.target());
  grouper::platform::RemoveDeadTemporaries(
      file.target().substr(0, file.target().size() - name.size()), {name});
  error = WriteAll(file.fd(), page);
  if (error == 0) error = file.Finish();
  if (error == 0) error = file.Commit();
  return error;
}

}  // namespace

int main(int argc, char** argv) {
  const grouper::tool::Process process = grouper::tool::StartProcess(argc, argv);
  grouper::tool::ToolStart start(kTool, process.args, stdout, process.closed.output ? EBADF : 0,
                                 grouper::tool::Output::kText);
  if (const auto status = start.ended()) return *status;
  const grouper::options::CommandLine& line = start.command();
  if (line.operands.size() != 2) return start.Usage("an input file and a report file are needed");
  const std::string input(line.operands[0]);
  const std::string report(line.operands[1]);

  const int fd = grouper::platform::OpenInput(input.c_str());
  if (fd < 0) return grouper::console::FileFailed(kProgram, "cannot open", input, errno);
  if (grouper::platform::IsSameFile(fd, report.c_str())) {
    grouper::platform::Close(fd);
    return start.Usage("the report would overwrite the input");
  }
  grouper::report::ReportFile month;
  const int read_error = grouper::report::ReadReportFile(fd, std::time(nullptr), month);
  grouper::platform::Close(fd);
  if (read_error != 0)
    return grouper::console::FileFailed(kProgram, "cannot read", input, read_error);
  const std::string page = grouper::report::ReportFilePage(month, input);
  if (const int error = WritePage(report, page); error != 0) {
    return grouper::console::FileFailed(kProgram, "cannot write", report, error);
  }
  const grouper::report::OutcomeCounts& t = month.tally->totals;
  char summary[160];
  std::snprintf(
      summary, sizeof summary,
      "%s: %llu lines, %llu grouped, %llu rejected, %llu wrong data type: ", kProgram,
      static_cast<unsigned long long>(t.lines), static_cast<unsigned long long>(t.grouped),
      static_cast<unsigned long long>(t.rejected), static_cast<unsigned long long>(t.wrong_type));
  return start.Finish(summary + grouper::console::NameText(report) + "\n");
}
