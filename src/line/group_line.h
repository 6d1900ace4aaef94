// The road of one input line, the same for every caller: the batch's workers,
// the C interface, the explanation, the report and the fuzzers all take a line
// through TakeLine and answer it through AnswerLine (or GroupLine, both at
// once), so that there is one rule for what a line is and one way to answer it.
//
// What a line is. A line is the bytes of one read of the input (the batch
// reads at most kMaxReadLength bytes, through a line feed). Its text ends at
// its first NUL byte; trailing blanks, CR and LF are trimmed; its form version
// is its first three bytes (fewer if shorter), and the version gives its
// family. A caller of the library may hand over more bytes than one read
// holds: such a line could never be a record and is a wrong-data-type line.
//
// Threads. Nothing here keeps state outside the caller's arguments: threads
// may answer lines at once, each with its own LineBuffer and GroupingWork.
#pragma once

#include <cstddef>
#include <cstdint>

#include "classify/classifier.h"
#include "line/line_output.h"
#include "line/reads.h"
#include "record/assessment_record.h"
#include "record/form_version.h"

namespace grouper {

// The text of one line, NUL-terminated and zero beyond it, as the parser
// requires. A LineBuffer is reused line after line: it remembers how far its
// last text reached, so that only those bytes are cleared again.
struct LineBuffer {
  alignas(64) char bytes[kLineBufferSize] = {};
  std::size_t used = 0;  // bytes from the start that may be nonzero
};

// A line as TakeLine frames it.
struct LineText {
  const char* text;      // the trimmed text (in the LineBuffer), NUL-terminated
  std::size_t length;    // the trimmed length (of the whole text when over_long)
  bool over_long;        // more bytes than one read: never a record
  bool framed;           // not over_long, and the length fits the family
  Family family;         // of the form version
  char form_version[4];  // the first three bytes of the text (fewer if shorter), NUL-terminated
};

// Takes the `length` bytes at `bytes` (which may be nullptr when `length` is
// 0) as one line: cuts the text at its first NUL, trims it, copies it into
// `buffer` (at most kMaxReadLength bytes of it) and frames it. Nothing is read
// past `length`; the caller's bytes are not changed. The returned text points
// into `buffer` and stays valid until the buffer's next line.
LineText TakeLine(const char* bytes, std::size_t length, LineBuffer& buffer);

enum class Outcome { kGroupCode, kMessage, kWrongDataType };

// The name of an outcome where a program writes it for a machine (the
// explanation's JSON and table): "group_code", "message", "wrong_data_type".
constexpr const char* OutcomeName(Outcome outcome) {
  switch (outcome) {
    case Outcome::kGroupCode:
      return "group_code";
    case Outcome::kMessage:
      return "message";
    case Outcome::kWrongDataType:
      break;
  }
  return "wrong_data_type";
}

// The name of an outcome where a program counts or lists lines for a clerk
// (UTF-8): "분류 완료", "오류 기록", "잘못된 데이타 타입". Every Korean
// tally, summary and explanation names the outcomes with these words.
constexpr const char8_t* OutcomeLabel(Outcome outcome) {
  switch (outcome) {
    case Outcome::kGroupCode:
      return u8"분류 완료";
    case Outcome::kMessage:
      return u8"오류 기록";
    case Outcome::kWrongDataType:
      break;
  }
  return u8"잘못된 데이타 타입";
}

struct LineAnswer {
  Outcome outcome;
  std::size_t length;    // the trimmed length of the line's text
  Family family;         // of the form version
  char form_version[4];  // the first three bytes of the text (fewer if shorter)
  char group_code[4];    // the code, or the empty text ("" also when no code could be formed)
  const char* message;   // a constant code page 949 text for kMessage and kWrongDataType
};

// The record and the classification of one line at a time.
struct GroupingWork {
  alignas(64) AssessmentRecord record;
  ClassificationState classification;
};

// Answers a taken line: the wrong-data-type answer for a line that is not
// framed, else the parser's or the validator's first message, else the group
// code. Fills `work` with the record and (for a code) its classification,
// which the explanation and the report read. Always sets every member of
// `answer`.
void AnswerLine(const LineText& line, GroupingWork& work, LineAnswer& answer);

// TakeLine and AnswerLine in one; returns the taken line.
inline LineText GroupLine(const char* bytes, std::size_t length, LineBuffer& buffer,
                          GroupingWork& work, LineAnswer& answer) {
  const LineText line = TakeLine(bytes, length, buffer);
  AnswerLine(line, work, answer);
  return line;
}

// The result-file line of an answer, from the trimmed text of its line, into
// `out` (at least kMaxComposedLine bytes); returns its length.
std::size_t ComposeOutputLine(const char* text, const LineAnswer& answer, char* out);
// The console line of an answer for input line `line_number` (the first is 1),
// likewise.
std::size_t ComposeConsoleLine(uint64_t line_number, const LineAnswer& answer, char* out);

// Whether the batch prints an answer's console line before its result line
// (a rejected line) or after it (a grouped one).
inline bool ConsoleFirst(const LineAnswer& answer) {
  return answer.outcome != Outcome::kGroupCode;
}

}  // namespace grouper
