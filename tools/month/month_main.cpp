// grouper-month [--no-open] FILE
//
// A clerk's month in one gesture: for the month's assessment file
// "<dir>/<stem>.<ext>" it makes the folder "<dir>/<stem>_grouper" and writes
// there the result file "<stem>.out" (the batch's bytes), the explanation
// table "<stem>.csv" (grouper-explain --csv) and the report page "<stem>.html"
// (grouper-report), then opens the page in the default browser unless
// --no-open is given. Where that folder cannot be made or written, the folder
// "grouper" in the person's documents takes its place, and the program says
// so. The input is only ever read, and nothing is written outside the folder:
// each product goes to a temporary file there and is renamed over the old
// product once all three are whole (month_files.h).
//
// On the console it shows a line per product as it is made, and at the end a
// summary in Korean: the lines, how many were grouped, rejected or a wrong
// data type, the signs of a wrong file, and the folder. Started without a
// file on Windows, it asks for one with the system's dialog (a closed dialog
// ends it quietly); elsewhere a file must be named. When the console window
// is its own (started from Explorer, by a double click or a file dropped on
// it), it waits for a key before the window closes.
//
// Exit status: 0 when the three products are written; 1 when the input
// cannot be read or a product cannot be written, said on standard error with
// the system's reason; 2 for a bad command line (with a usage line), among
// them an input that is one of the products. --help prints the usage and the
// options, --version the library's version. The options are read as
// util/options.h reads them.
#include <grouper/grouper.h>

#include <array>
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

#include "explain/input_warnings.h"
#include "month_files.h"
#include "month_products.h"
#include "platform/console_text.h"
#include "platform/desktop.h"
#include "platform/platform.h"
#include "util/options.h"
#include "util/stream_output.h"

namespace {

using grouper::month::kExplanation;
using grouper::month::kProducts;
using grouper::month::kReport;
using grouper::month::kResult;
using grouper::month::PendingFile;

constexpr char kProgram[] = "grouper-month";
constexpr char kUsage[] =
    "usage: grouper-month [--no-open] FILE\n"
    "       grouper-month --help | --version\n";
constexpr grouper::options::Option kOptions[] = {
    {"--no-open", "", "do not open the report page in the browser"},
    {"--help", "", "this help, on standard output", "-h"},
    {"--version", "", "the program's name and the library's version"},
};

// What each product is, for the clerk.
constexpr std::array<const char8_t*, kProducts> kProductNames = {u8"결과 파일", u8"설명표",
                                                                 u8"보고서"};

// Korean texts are u8 literals, so that they stay UTF-8 whatever the
// compiler's execution character set.
std::string U8(const char8_t* text) {
  return reinterpret_cast<const char*>(text);
}

int Usage(const std::string& problem) {
  grouper::console::WriteText(
      stderr, std::string(kProgram) + ": " + grouper::console::NameText(problem) + "\n" + kUsage);
  return 2;
}

// Progress and the summary: for a person, so a console that went away is no
// reason to stop.
void Say(std::string_view text) {
  grouper::console::WriteText(stdout, text);
  std::fflush(stdout);
}

std::string Shown(std::string_view name) {
  return grouper::console::NameText(name);
}

// 3000 as "3,000".
std::string Count(uint64_t n) {
  std::string digits = std::to_string(n);
  for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return digits;
}

// A failure said twice: in Korean for the clerk, then as every tool says it.
int Failed(std::string_view korean, std::string_view what, std::string_view name, int error) {
  grouper::console::WriteText(stderr, std::string(kProgram) + ": " + std::string(korean) + "\n");
  return grouper::console::FileFailed(kProgram, what, name, error);
}

// The products' folder and their temporary files, made ready.
struct Destination {
  std::string folder;
  std::array<std::string, kProducts> paths;
  std::array<PendingFile, kProducts> files;
};

enum class Ready { kReady, kInputIsAProduct, kCannotWrite };

// Makes `folder` and opens the temporary files of its products there, unless
// one of the products is the input itself (under any name). On kCannotWrite,
// `error` says why.
Ready Prepare(const std::string& folder, const std::string& stem, int input_fd, Destination& d,
              int& error) {
  d.folder = folder;
  d.paths = grouper::month::ProductPaths(folder, stem);
  if (!grouper::platform::MakeDirectory(folder.c_str())) {
    error = errno;
    return Ready::kCannotWrite;
  }
  for (const std::string& path : d.paths) {
    if (grouper::platform::IsSameFile(input_fd, path.c_str())) return Ready::kInputIsAProduct;
  }
  for (int p = 0; p < kProducts; ++p) {
    if (!d.files[p].Open(d.paths[p])) {
      error = errno;
      return Ready::kCannotWrite;
    }
  }
  return Ready::kReady;
}

int Month(const std::string& input, bool open_page) {
  const int fd = grouper::platform::OpenInput(input.c_str());
  if (fd < 0) return Failed(U8(u8"입력 파일을 열 수 없습니다."), "cannot open", input, errno);
  struct Closer {
    int fd;
    ~Closer() { grouper::platform::Close(fd); }
  } closer{fd};
  Say(std::string(kProgram) + ": " + Shown(input) + "\n");

  const std::string stem = grouper::month::Stem(input);
  const std::string beside = grouper::month::FolderBeside(input);
  auto d = std::make_unique<Destination>();
  int error = 0;
  Ready ready = Prepare(beside, stem, fd, *d, error);
  if (ready == Ready::kCannotWrite) {
    const std::string documents = grouper::platform::DocumentsFolder();
    if (documents.empty()) {
      return Failed(U8(u8"결과를 쓸 폴더를 만들 수 없습니다."), "cannot write in", beside, error);
    }
    Say(U8(u8"폴더 ") + Shown(beside) + U8(u8"에 쓸 수 없습니다 (") + std::strerror(error) +
        U8(u8"). 대신 문서 폴더에 씁니다.\n"));
    const int beside_error = error;
    d = std::make_unique<Destination>();
    ready = Prepare(documents + grouper::platform::kPathSeparator + "grouper", stem, fd, *d, error);
    if (ready == Ready::kCannotWrite) {
      Failed(U8(u8"결과를 쓸 폴더를 만들 수 없습니다."), "cannot write in", beside, beside_error);
      return grouper::console::FileFailed(kProgram, "cannot write in", d->folder, error);
    }
  }
  if (ready == Ready::kInputIsAProduct) {
    return Usage("the input is one of the files that it would write: " + Shown(input));
  }

  // The three passes, each over the whole input.
  grouper::report::ReportFile facts;
  uint64_t lines = 0;
  for (int p = 0; p < kProducts; ++p) {
    Say("[" + std::to_string(p + 1) + "/3] " + U8(kProductNames[p]) + " " +
        Shown(grouper::platform::FileNamePart(d->paths[p])) + " ... ");
    if (p > 0 && !grouper::platform::Rewind(fd)) {
      Say("\n");
      return Failed(U8(u8"입력 파일을 다시 읽을 수 없습니다."), "cannot read", input, errno);
    }
    const int out = d->files[p].fd();
    const grouper::month::PassResult result =
        p == kResult ? grouper::month::WriteResultFile(fd, out)
        : p == kExplanation
            ? grouper::month::WriteExplanationTable(fd, out, lines)
            : grouper::month::WriteReportPage(fd, input, std::time(nullptr), out, facts);
    const int closed = d->files[p].Close();
    if (result.error != 0 || closed != 0) {
      Say("\n");
      if (result.in_input) {
        return Failed(U8(u8"입력 파일을 읽을 수 없습니다."), "cannot read", input, result.error);
      }
      return Failed(U8(u8"파일을 쓸 수 없습니다."), "cannot write", d->paths[p],
                    result.error != 0 ? result.error : closed);
    }
    Say(p == kExplanation ? Count(lines) + U8(u8"줄\n") : std::string(U8(u8"완료\n")));
  }
  for (int p = 0; p < kProducts; ++p) {
    if (const int replaced = d->files[p].Replace(); replaced != 0) {
      return Failed(U8(u8"파일을 쓸 수 없습니다."), "cannot write", d->paths[p], replaced);
    }
  }

  const grouper::report::OutcomeCounts& t = facts.tally->totals;
  std::string summary = U8(u8"\n전체 ") + Count(t.lines) + U8(u8"줄: 분류 완료 ") +
                        Count(t.grouped) + U8(u8"건, 오류 기록 ") + Count(t.rejected) +
                        U8(u8"건, 잘못된 데이타 타입 ") + Count(t.wrong_type) + U8(u8"건\n");
  for (const char* name : facts.warnings.Names()) {
    summary +=
        U8(u8"경고: ") + grouper::InputWarnings::Sentence(name, grouper::Language::kKorean) + "\n";
  }
  summary += U8(u8"폴더: ") + Shown(d->folder) + "\n";
  for (int p = 0; p < kProducts; ++p) {
    summary += "  " + Shown(grouper::platform::FileNamePart(d->paths[p])) + "  " +
               U8(kProductNames[p]) + "\n";
  }
  Say(summary);
  if (open_page) grouper::platform::OpenInBrowser(d->paths[kReport]);
  return 0;
}

// The exit status; `cancelled` set when the person closed the file dialog, so
// that the program ends without a word.
int Run(const std::vector<std::string>& args, grouper::platform::ClosedStreams closed,
        bool& cancelled) {
  grouper::StreamOutput out(stdout, closed.output ? EBADF : 0, grouper::console::WriteText);
  auto finish = [&out](std::string_view text) {
    return out.Write(text) && out.Flush()
               ? 0
               : grouper::CannotWrite(kProgram, "standard output", out.error());
  };
  const grouper::options::CommandLine line =
      grouper::options::Parse(kOptions, std::span(args).subspan(args.empty() ? 0 : 1));
  if (!line.error.empty()) return Usage(line.error);
  if (grouper::options::Has(line, "--help")) {
    return finish(grouper::options::HelpText(kUsage, kOptions));
  }
  if (grouper::options::Has(line, "--version")) {
    return finish(std::string(kProgram) + " " + grouper_version() + "\n");
  }
  if (line.operands.size() > 1) return Usage("one file only");
  std::string input;
  if (line.operands.size() == 1) {
    input = line.operands[0];
  } else {
    const grouper::platform::FileDialogTexts texts = {U8(u8"이번 달 평가 파일 고르기"),
                                                      U8(u8"텍스트 파일 (*.txt, *.in)"),
                                                      U8(u8"모든 파일 (*.*)")};
    switch (grouper::platform::ChooseFileToOpen(texts, input)) {
      case grouper::platform::FileChoice::kChosen:
        break;
      case grouper::platform::FileChoice::kCancelled:
        cancelled = true;
        return 0;
      case grouper::platform::FileChoice::kNoDialog:
        return Usage("no input file");
    }
  }
  return Month(input, !grouper::options::Has(line, "--no-open"));
}

}  // namespace

int main(int argc, char** argv) {
  const grouper::platform::ClosedStreams closed = grouper::platform::PrepareProcess();
  bool cancelled = false;
  const int status = Run(grouper::platform::Arguments(argc, argv), closed, cancelled);
  // A window that closes with the program would take its last words with it.
  if (!cancelled && grouper::platform::OwnsConsoleWindow()) {
    Say(U8(u8"\n계속하려면 아무 키나 누르십시오..."));
    grouper::platform::WaitForKey();
    Say("\n");
  }
  return status;
}
