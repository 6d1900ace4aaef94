// The program's answer to one line, for tests: the line taken and answered by
// the same path as the batch's workers and the library, with the record and
// the classification that the answer came from.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "line/group_line.h"

namespace grouper::testing {

struct Answered {
  LineAnswer answer{};
  LineText text{};
  std::unique_ptr<LineBuffer> buffer = std::make_unique<LineBuffer>();
  std::unique_ptr<GroupingWork> work = std::make_unique<GroupingWork>();

  // The message of a rejected line as UTF-8, "" for a grouped line.
  std::string MessageUtf8() const;
  // The group code of a grouped line, "" otherwise.
  std::string Code() const;
  // The result-file line and the console line, as the batch writes them for
  // input line `line_number`.
  std::string OutputLine() const;
  std::string ConsoleLine(uint64_t line_number) const;
};

// Answers `line` (one read's bytes, with or without its line end).
Answered AnswerOf(std::string_view line);

}  // namespace grouper::testing
