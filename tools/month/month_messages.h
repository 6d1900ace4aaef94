// What grouper-month says to a person on standard error, in Korean (its
// default, for the clerk) or in English (--lang en): the problems of its
// command line and the failures of its files. Each failure is one line that
// names the file and gives the system's reason once, as the system words it
// (the platform layer's own reasons, a file held open by another program,
// in the message's language), and may be followed by a line of advice:
//   Korean   "grouper-month: 입력 파일을 열 수 없습니다: NAME: REASON"
//   English  "grouper-month: cannot open NAME: REASON"
// The progress lines and the summary on standard output stay Korean.
#pragma once

#include <string>
#include <string_view>

#include "text/language.h"

namespace grouper::month {

enum class Message {
  // Problems of the command line (followed by the usage).
  kNoInputFile,
  kOneFileOnly,
  kInputIsAProduct,  // then the name
  // What could not be done with a file: then its name and the reason.
  kCannotOpenInput,
  kCannotReadInput,
  kCannotMakeFolder,
  kCannotUseDocuments,
  kCannotWrite,
  kCannotReplace,
  kCannotFinishEarlierSet,
  kFolderBusy,  // then the folder; the sentence is its own reason
  // Advice, a line of its own.
  kNameAFileOnDisk,
  kRunAgainLater,
  kCloseTheOtherProgram,
  kNothingReplaced,
  kNotEveryOldFileBack,
  // Said once the products are made.
  kCannotOpenPage,  // then the page's path
  kCount
};

// The words of `message` (UTF-8).
std::string Words(Message message, Language language);

// The line "PROGRAM: WHAT: NAME: REASON" (Korean) or "PROGRAM: WHAT NAME:
// REASON" (English), ending in '\n'; `name` as console::NameText shows it,
// `error` an errno value or one of the platform layer's reasons. A folder
// that another run holds (platform::kFolderInUse) is said by kFolderBusy's
// own sentence.
std::string FailureLine(std::string_view program, Message what, std::string_view name, int error,
                        Language language);

}  // namespace grouper::month
