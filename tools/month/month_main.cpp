// grouper-month [--no-open] [--lang en] FILE
//
// A clerk's month in one gesture: for the month's assessment file
// "<dir>/<stem>.<ext>" it makes the folder "<dir>/<stem>_grouper" and writes
// there the result file "<stem>.out" (the batch's bytes), the explanation
// table "<stem>.csv" (grouper-explain --csv-ko) and the report page "<stem>.html"
// (grouper-report), then opens the page in the default browser unless
// --no-open is given (a page that cannot be opened is said on standard
// error). Where that folder cannot be made or written, the folder "grouper"
// in the person's documents takes its place, and the program says so. The
// input, which must be a file on a disk (not a pipe or a device), is only
// ever read, and nothing is written outside the folder: the three products
// replace the old three together or not at all, one run at a time per folder,
// and a run that fails or is interrupted leaves the old ones (month_files.h).
//
// On the console it shows a line per product as it is made (the result file
// and the table are made together, in one reading of the input), and at the end a
// summary in Korean: the lines, how many were grouped, rejected or a wrong
// data type, the signs of a wrong file, and the folder. Started without a
// file on Windows, it asks for one with the system's dialog (a closed dialog
// ends it quietly); elsewhere a file must be named. When the console window
// is its own (started from Explorer, by a double click or a file dropped on
// it), it waits for a key before the window closes.
//
// Exit status: 0 when the three products are written; 1 when the input
// cannot be opened or read or is not a file on a disk, when another run is
// writing in the folder, or when a product cannot be written or replaced,
// each said on standard error in one line with the system's reason
// (month_messages.h); 2 for a bad command line (with a usage line), among them
// an input that is one of the products. The help, the usage and these
// failures are Korean, or English with --lang en. Interrupted (Ctrl+C,
// SIGTERM, SIGHUP), it ends as the signal ends a program. --help prints the
// usage and the options, --version the library's version. The options are
// read as util/options.h reads them.
//
// Test hook: GROUPER_MONTH_TEST_STOP_AFTER_RENAME=N (1 or 2) in the
// environment makes the program end abruptly, as kill -9 would, right after
// the N-th of the three renames, so that a test can check the next run's
// recovery without timing; N = 0 sends the program SIGTERM when every product
// is written and none renamed.
#include <grouper/grouper.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "desktop.h"
#include "line/input_warnings.h"
#include "month_files.h"
#include "month_messages.h"
#include "month_products.h"
#include "platform/console_text.h"
#include "platform/platform.h"
#include "platform/replace_file.h"
#include "text/u8_text.h"
#include "tool_start.h"
#include "util/options.h"
#include "util/stream_output.h"

namespace {

using grouper::Language;
using grouper::U8;
using grouper::month::kExplanation;
using grouper::month::kProducts;
using grouper::month::kReport;
using grouper::month::kResult;
using grouper::month::Message;

constexpr char kProgram[] = "grouper-month";
constexpr char kUsage[] =
    "usage: grouper-month [--no-open] [--lang en] FILE\n"
    "       grouper-month --help | --version\n";
constexpr grouper::options::Option kOptions[] = {
    {"--no-open", "", "do not open the report page in the browser"},
    {"--lang", "LANG", "the language of the help and the errors: ko (the default) or en"},
    {"--help", "", "this help, on standard output", "-h"},
    {"--version", "", "the program's name and the library's version"},
};
// The same, for the clerk. Literals as u8 keep the bytes UTF-8 whatever the
// compiler; the views below read them as char.
constexpr char8_t kKoreanUsage[] =
    u8"사용법: grouper-month [--no-open] [--lang en] 파일\n"
    u8"        grouper-month --help | --version\n";
constexpr char8_t kNoOpenHelp[] = u8"보고서를 브라우저로 열지 않습니다";
constexpr char8_t kLangHelp[] = u8"도움말과 오류 메시지의 언어: ko (기본) 또는 en";
constexpr char8_t kHelpHelp[] = u8"이 도움말을 표준 출력에 씁니다";
constexpr char8_t kVersionHelp[] = u8"프로그램 이름과 라이브러리 버전을 씁니다";
std::string_view Text(const char8_t* text) {
  return std::string_view(reinterpret_cast<const char*>(text));
}
const grouper::options::Option kKoreanOptions[] = {
    {"--no-open", "", Text(kNoOpenHelp)},
    {"--lang", "LANG", Text(kLangHelp)},
    {"--help", "", Text(kHelpHelp), "-h"},
    {"--version", "", Text(kVersionHelp)},
};
const grouper::tool::KoreanHelp kKoreanHelp = {Text(kKoreanUsage), kKoreanOptions};
const grouper::tool::Program kTool = {kProgram, kUsage, kOptions, &kKoreanHelp};

// What each product is, for the clerk.
constexpr std::array<const char8_t*, kProducts> kProductNames = {u8"결과 파일", u8"설명표",
                                                                 u8"보고서"};

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

// A failure, said once (month_messages.h), with lines of advice after it;
// returns 1, the status of a file that could not be used.
int Failed(Language language, Message what, std::string_view name, int error,
           const std::vector<Message>& advice = {}) {
  std::string said = grouper::month::FailureLine(kProgram, what, name, error, language);
  for (const Message m : advice) said += grouper::month::Words(m, language) + "\n";
  grouper::console::WriteText(stderr, said);
  return 1;
}

// The products' folder, held by this run, and their temporary files.
struct Destination {
  std::string folder;
  std::array<std::string, kProducts> paths;
  grouper::platform::FolderLock lock;
  std::array<grouper::platform::ReplacementFile, kProducts> files;
  bool recovered = false;  // an earlier run's set was completed
};

enum class Ready { kReady, kInputIsAProduct, kCannotWrite, kBusy, kNotRecovered };

// Makes `folder`, takes it for this run, completes an interrupted run's set
// and removes dead runs' temporary files there, and opens the temporary files
// of its products, unless one of the products is the input itself (under any
// name). On kCannotWrite `error` says why, on kNotRecovered `failure`.
Ready Prepare(const std::string& folder, const std::string& stem, int input_fd, Destination& d,
              int& error, grouper::month::SetFailure& failure) {
  d.folder = folder;
  d.paths = grouper::month::ProductPaths(folder, stem);
  if (!grouper::platform::MakeDirectory(folder.c_str())) {
    error = errno;
    return Ready::kCannotWrite;
  }
  if (const int locked = d.lock.Acquire(folder, grouper::month::kLockName); locked != 0) {
    error = locked;
    return locked == grouper::platform::kFolderInUse ? Ready::kBusy : Ready::kCannotWrite;
  }
  switch (grouper::month::CompleteInterruptedSet(folder, failure)) {
    case grouper::month::Recovery::kNothingToDo:
      break;
    case grouper::month::Recovery::kCompleted:
      d.recovered = true;
      break;
    case grouper::month::Recovery::kFailed:
      return Ready::kNotRecovered;
  }
  grouper::platform::RemoveDeadTemporaries(
      folder, {grouper::platform::FileNamePart(d.paths[kResult]),
               grouper::platform::FileNamePart(d.paths[kExplanation]),
               grouper::platform::FileNamePart(d.paths[kReport]), grouper::month::kJournalName});
  for (const std::string& path : d.paths) {
    if (grouper::platform::IsSameFile(input_fd, path.c_str())) return Ready::kInputIsAProduct;
  }
  for (int p = 0; p < kProducts; ++p) {
    if (const int created = d.files[p].Create(d.paths[p]); created != 0) {
      error = created;
      return Ready::kCannotWrite;
    }
  }
  return Ready::kReady;
}

// What the clerk is told of a file that could not be replaced, in this run's
// set or (`earlier`) in the set that an interrupted run left half done.
int CannotReplace(Language language, const grouper::month::SetFailure& failure, bool earlier) {
  const bool held = failure.error == grouper::platform::kFileInUse;
  const Message what = earlier ? Message::kCannotFinishEarlierSet : Message::kCannotReplace;
  std::vector<Message> advice;
  if (held) advice.push_back(Message::kCloseTheOtherProgram);
  // This run's set is put back, or as much of it as could be.
  if (!earlier) {
    advice.push_back(failure.restored ? Message::kNothingReplaced : Message::kNotEveryOldFileBack);
  }
  return Failed(language, what, failure.path, failure.error, advice);
}

// The test hook's rename count (the header's comment), -1 without it.
int StopAfterRename() {
  const char* value = std::getenv("GROUPER_MONTH_TEST_STOP_AFTER_RENAME");
  if (value == nullptr) return -1;
  const std::string_view n(value);
  return n == "0" ? 0 : n == "1" ? 1 : n == "2" ? 2 : -1;
}

int Month(const grouper::tool::ToolStart& start, const std::string& input, bool open_page) {
  const Language language = start.korean() ? Language::kKorean : Language::kEnglish;
  const int fd = grouper::platform::OpenRegularInput(input.c_str());
  if (fd < 0) {
    const int error = errno;
    if (error == grouper::platform::kNotRegularFile) {
      return Failed(language, Message::kCannotOpenInput, input, error, {Message::kNameAFileOnDisk});
    }
    return Failed(language, Message::kCannotOpenInput, input, error);
  }
  struct Closer {
    int fd;
    ~Closer() { grouper::platform::Close(fd); }
  } closer{fd};
  Say(std::string(kProgram) + ": " + Shown(input) + "\n");

  const std::string stem = grouper::month::Stem(input);
  const std::string beside = grouper::month::FolderBeside(input);
  auto d = std::make_unique<Destination>();
  int error = 0;
  grouper::month::SetFailure failure;
  Ready ready = Prepare(beside, stem, fd, *d, error, failure);
  if (ready == Ready::kCannotWrite) {
    const std::string documents = grouper::platform::DocumentsFolder();
    if (documents.empty()) return Failed(language, Message::kCannotMakeFolder, beside, error);
    Say(U8(u8"폴더 ") + Shown(beside) + U8(u8"에 쓸 수 없습니다 (") +
        grouper::console::Reason(error, Language::kKorean) + U8(u8"). 대신 문서 폴더에 씁니다.\n"));
    const int beside_error = error;
    d = std::make_unique<Destination>();
    ready = Prepare(documents + grouper::platform::kPathSeparator + "grouper", stem, fd, *d, error,
                    failure);
    if (ready == Ready::kCannotWrite) {
      grouper::console::WriteText(
          stderr, grouper::month::FailureLine(kProgram, Message::kCannotMakeFolder, beside,
                                              beside_error, language));
      return Failed(language, Message::kCannotUseDocuments, d->folder, error);
    }
  }
  switch (ready) {
    case Ready::kReady:
    case Ready::kCannotWrite:
      break;
    case Ready::kInputIsAProduct:
      return start.Usage(grouper::month::Words(Message::kInputIsAProduct, language) + Shown(input));
    case Ready::kBusy:
      return Failed(language, Message::kFolderBusy, d->folder, error, {Message::kRunAgainLater});
    case Ready::kNotRecovered:
      return CannotReplace(language, failure, true);
  }
  if (d->recovered) {
    Say(U8(u8"지난 실행이 중단되어 끝내지 못한 파일 교체를 마쳤습니다: ") + Shown(d->folder) +
        "\n");
  }

  // One pass over the input makes the result file and the table and gathers
  // the report's facts; the page is made from them. The clerk sees a line per
  // product, and a failure under the product that it stopped.
  auto begin = [&d](int p) {
    Say("[" + std::to_string(p + 1) + "/3] " + U8(kProductNames[p]) + " " +
        Shown(grouper::platform::FileNamePart(d->paths[p])) + " ... ");
  };
  begin(kResult);
  grouper::report::ReportFile facts;
  uint64_t lines = 0;
  const std::array<grouper::month::PassResult, 2> made = grouper::month::WriteResultAndTable(
      fd, d->files[kResult], d->files[kExplanation], lines, facts);
  for (int p = 0; p < kProducts; ++p) {
    if (p > 0) begin(p);
    const grouper::month::PassResult result =
        p < kReport
            ? made[p]
            : grouper::month::WriteReportPage(facts, input, std::time(nullptr), d->files[p].fd());
    const int finished = result.error != 0 ? 0 : d->files[p].Finish();
    if (result.error != 0 || finished != 0) {
      Say("\n");
      if (result.in_input) {
        return Failed(language, Message::kCannotReadInput, input, result.error);
      }
      return Failed(language, Message::kCannotWrite, d->paths[p],
                    result.error != 0 ? result.error : finished);
    }
    Say(p == kExplanation ? Count(lines) + U8(u8"줄\n") : std::string(U8(u8"완료\n")));
  }
  const int stop = StopAfterRename();
  // Hook 0: a SIGTERM when every product is written and none renamed yet, the
  // last moment at which an interrupt must leave the old set whole.
  if (stop == 0) std::raise(SIGTERM);
  failure = grouper::month::ReplaceSet(d->folder, d->files, stop > 0 ? stop : 0);
  if (failure.error != 0) return CannotReplace(language, failure, false);

  const grouper::report::OutcomeCounts& t = facts.tally->totals;
  using grouper::Outcome, grouper::OutcomeLabel;
  std::string summary =
      U8(u8"\n전체 ") + Count(t.lines) + U8(u8"줄: ") + U8(OutcomeLabel(Outcome::kGroupCode)) +
      " " + Count(t.grouped) + U8(u8"건, ") + U8(OutcomeLabel(Outcome::kMessage)) + " " +
      Count(t.rejected) + U8(u8"건, ") + U8(OutcomeLabel(Outcome::kWrongDataType)) + " " +
      Count(t.wrong_type) + U8(u8"건\n");
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
  if (open_page && !grouper::platform::OpenInBrowser(d->paths[kReport])) {
    grouper::console::WriteText(stderr,
                                std::string(kProgram) + ": " +
                                    grouper::month::Words(Message::kCannotOpenPage, language) +
                                    Shown(d->paths[kReport]) + "\n");
  }
  return 0;
}

// The exit status; `cancelled` set when the person closed the file dialog, so
// that the program ends without a word.
int Run(const grouper::tool::Process& process, bool& cancelled) {
  grouper::tool::ToolStart start(kTool, process.args, stdout, process.closed.output ? EBADF : 0,
                                 grouper::tool::Output::kText);
  if (const auto status = start.ended()) return *status;
  const grouper::options::CommandLine& line = start.command();
  const Language language = start.korean() ? Language::kKorean : Language::kEnglish;
  if (line.operands.size() > 1) {
    return start.Usage(grouper::month::Words(Message::kOneFileOnly, language));
  }
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
        return start.Usage(grouper::month::Words(Message::kNoInputFile, language));
    }
  }
  return Month(start, input, !grouper::options::Has(line, "--no-open"));
}

}  // namespace

int main(int argc, char** argv) {
  bool cancelled = false;
  const int status = Run(grouper::tool::StartProcess(argc, argv), cancelled);
  // A window that closes with the program would take its last words with it.
  if (!cancelled && grouper::platform::OwnsConsoleWindow()) {
    Say(U8(u8"\n계속하려면 아무 키나 누르십시오..."));
    grouper::platform::WaitForKey();
    Say("\n");
  }
  return status;
}
