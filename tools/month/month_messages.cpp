#include "month_messages.h"

#include <array>

#include "platform/console_text.h"
#include "platform/platform.h"
#include "text/u8_text.h"

namespace grouper::month {

namespace {

struct Both {
  const char8_t* korean;
  const char* english;
};

// In the order of Message.
constexpr std::array<Both, static_cast<std::size_t>(Message::kCount)> kWords = {{
    {u8"입력 파일을 지정하십시오", "no input file"},
    {u8"입력 파일은 하나만 지정하십시오", "one file only"},
    {u8"입력 파일이 이 프로그램이 쓸 파일 중 하나입니다: ",
     "the input is one of the files that it would write: "},
    {u8"입력 파일을 열 수 없습니다", "cannot open"},
    {u8"입력 파일을 읽을 수 없습니다", "cannot read"},
    {u8"결과를 쓸 폴더를 만들 수 없습니다", "cannot write in"},
    {u8"문서 폴더에도 쓸 수 없습니다", "cannot write in"},
    {u8"파일을 쓸 수 없습니다", "cannot write"},
    {u8"이 파일을 바꿀 수 없습니다", "cannot replace"},
    {u8"지난 실행이 중단되어 끝내지 못한 파일 교체를 마칠 수 없습니다",
     "cannot finish the replacement that an interrupted run left undone:"},
    {u8"다른 grouper-month가 이미 이 폴더에 쓰고 있습니다", "another run is writing in"},
    {u8"저장된 파일을 지정하십시오.", "Name a file saved on a disk."},
    {u8"그 실행이 끝난 뒤 다시 실행하십시오.", "Run again when that run has ended."},
    {u8"그 프로그램을 닫고 다시 실행하십시오.", "Close that program and run again."},
    {u8"바꾼 파일은 없습니다. 기존 파일이 그대로 있습니다.",
     "No file was replaced: the old files are as they were."},
    {u8"기존 파일을 모두 되돌리지는 못했습니다.", "Not every old file could be put back."},
    {u8"보고서를 브라우저로 열 수 없습니다. 직접 여십시오: ",
     "cannot open the report page in the browser; open it yourself: "},
}};

}  // namespace

std::string Words(Message message, Language language) {
  const Both& both = kWords[static_cast<std::size_t>(message)];
  return language == Language::kEnglish ? std::string(both.english) : U8(both.korean);
}

std::string FailureLine(std::string_view program, Message what, std::string_view name, int error,
                        Language language) {
  const bool busy = error == platform::kFolderInUse;
  const std::string said = Words(busy ? Message::kFolderBusy : what, language);
  const std::string shown = console::NameText(name);
  std::string line = std::string(program) + ": " + said;
  if (language == Language::kEnglish) {
    line += " " + shown;
  } else {
    line += ": " + shown;
  }
  if (!busy) line += ": " + console::Reason(error, language);
  return line + "\n";
}

}  // namespace grouper::month
