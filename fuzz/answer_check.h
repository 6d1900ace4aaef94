// An independent model of how the batch run answers one line, for the fuzz
// targets and the fault tests: how a file is cut into reads, what the text of a
// read is, which lines pass the framing check, and what the output line and
// the console line of a read must look like.
//
// The model is written from the form's rules, not from the program's code, so
// that it can catch the program out. It knows the shape of every answer but
// not which validation rule a record breaks: a message line must carry some
// error message after 32 blanks, a code line one of the fifteen group codes at
// the family's code column. Message texts are passed in (`AnswerTexts`), so the
// same model serves a build whose literals are UTF-8 and one whose literals are
// code page 949.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace grouper::fuzzing {

// A line is read with a 1024-byte buffer: at most 1023 bytes, up to and
// including a line feed. A longer physical line is continued by the next read.
inline constexpr std::size_t kMaxRead = 1023;

inline std::vector<std::string_view> SplitReads(std::string_view input) {
  std::vector<std::string_view> reads;
  while (!input.empty()) {
    std::size_t n = std::min(input.size(), kMaxRead);
    const std::size_t newline = input.substr(0, n).find('\n');
    if (newline != std::string_view::npos) n = newline + 1;
    reads.push_back(input.substr(0, n));
    input.remove_prefix(n);
  }
  return reads;
}

// The text of a read ends at its first NUL; trailing blanks, CR and LF are
// not part of it (tabs and every other byte are).
inline std::string_view TrimmedText(std::string_view read) {
  std::string_view text = read.substr(0, std::min(read.find('\0'), read.size()));
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\n')) {
    text.remove_suffix(1);
  }
  return text;
}

struct FamilyColumns {
  std::size_t expected_length;
  std::size_t min_length;  // families from 090: shortest line; else = expected
  std::size_t code_column;
  std::size_t reject_column;
  bool from_090;
};

// The first three bytes name the family; anything else is the base layout.
inline FamilyColumns ColumnsOf(std::string_view text) {
  const std::string_view v = text.substr(0, std::min<std::size_t>(3, text.size()));
  if (v == "089" || v == "010") return {262, 262, 294, 294, false};
  if (v == "090" || v == "011") return {372, 348, 398, 402, true};
  if (v == "091" || v == "012") return {380, 356, 398, 412, true};
  if (v == "092" || v == "013") return {534, 510, 550, 566, true};
  return {258, 258, 290, 290, false};
}

// The framing check of the batch run: the early families need exactly their
// length; the families from 090 need at least their shortest length and must
// end before their code column (a longer line would have no place for a code).
inline bool FramingAccepts(std::string_view text) {
  const FamilyColumns f = ColumnsOf(text);
  if (!f.from_090) return text.size() == f.expected_length;
  return text.size() >= f.min_length && text.size() <= f.code_column;
}

// The fixed texts of the answers, in the encoding of the build under test.
struct AnswerTexts {
  std::string wrong_type;      // "오류-잘못된 데이타 타입입니다."
  std::string error_prefix;    // "오류-": every parser and validator message
  std::string console_prefix;  // "데이타("
  std::string console_done;    // ") .. 완료 ("
  std::string console_sep;     // ") .. "
};

inline bool IsGroupCode(std::string_view code) {
  static constexpr std::string_view kCodes[] = {"A11", "A12", "A21", "A22", "A23",
                                                "A31", "A32", "A33", "A41", "A51",
                                                "A61", "A62", "A71", "A72", "A73"};
  return std::find(std::begin(kCodes), std::end(kCodes), code) != std::end(kCodes);
}

enum class AnswerKind { kWrongType, kMessage, kCode };

struct AnswerVerdict {
  const char* fault = nullptr;  // nullptr: the answer is right
  AnswerKind kind = AnswerKind::kWrongType;
};

// Checks the output line (with its CR LF) and the console line (with its line
// feed) that the run gave read number `number` (1-based).
inline AnswerVerdict CheckAnswer(std::string_view read, int64_t number, std::string_view output,
                                 std::string_view console, const AnswerTexts& t) {
  AnswerVerdict v;
  const std::string_view text = TrimmedText(read);
  const FamilyColumns f = ColumnsOf(text);

  if (output.size() < 2 || output.substr(output.size() - 2) != "\r\n")
    return {"output line does not end in CR LF"};
  if (output.find('\n') != output.size() - 1) return {"output line holds another line feed"};
  if (console.empty() || console.back() != '\n') return {"console line does not end in LF"};
  if (console.find('\n') != console.size() - 1) return {"console line holds another line feed"};
  const std::string_view body = output.substr(0, output.size() - 2);
  std::string_view rest = console.substr(0, console.size() - 1);

  const std::string head = t.console_prefix + std::to_string(number);
  if (rest.substr(0, head.size()) != head) return {"console line does not start with its number"};
  rest.remove_prefix(head.size());

  if (!FramingAccepts(text)) {
    v.kind = AnswerKind::kWrongType;
    if (rest != t.console_sep + t.wrong_type + " ") return {"console of a wrong-type line"};
    std::string expected;
    if (text.size() < f.reject_column) {
      expected = std::string(text) + std::string(f.reject_column - text.size(), ' ');
    } else {
      expected = std::string(text.substr(0, f.reject_column - 1)) + " ";
    }
    expected += t.wrong_type;
    if (body != expected) return {"output of a wrong-type line"};
    return v;
  }

  if (rest.substr(0, t.console_done.size()) == t.console_done) {
    v.kind = AnswerKind::kCode;
    rest.remove_prefix(t.console_done.size());
    if (rest.empty() || rest.back() != ')') return {"console of a code line"};
    const std::string_view code = rest.substr(0, rest.size() - 1);
    if (!code.empty() && !IsGroupCode(code)) return {"not a group code"};
    const std::string expected =
        std::string(text) + std::string(f.code_column - text.size(), ' ') + std::string(code);
    if (body != expected) return {"output of a code line"};
    return v;
  }

  v.kind = AnswerKind::kMessage;
  if (rest.substr(0, t.console_sep.size()) != t.console_sep) return {"console of a message line"};
  rest.remove_prefix(t.console_sep.size());
  const std::string_view message = rest;
  if (message.substr(0, t.error_prefix.size()) != t.error_prefix) return {"not an error message"};
  if (message.size() >= 1024 || message.find('\0') != std::string_view::npos)
    return {"message longer than its buffer"};
  if (message.substr(0, t.wrong_type.size()) == t.wrong_type)
    return {"a framed line answered as wrong type"};
  const std::string expected = std::string(text) + std::string(32, ' ') + std::string(message);
  if (body != expected) return {"output of a message line"};
  return v;
}

// Checks a whole result: one output line and one console line per read, in
// order. `console` holds the progress lines only (no opening line feed).
inline const char* CheckRun(std::string_view input, std::string_view output,
                            std::string_view console, const AnswerTexts& t) {
  const std::vector<std::string_view> reads = SplitReads(input);
  for (std::size_t i = 0; i < reads.size(); ++i) {
    const std::size_t out_end = output.find('\n');
    const std::size_t con_end = console.find('\n');
    if (out_end == std::string_view::npos) return "fewer output lines than reads";
    if (con_end == std::string_view::npos) return "fewer console lines than reads";
    const AnswerVerdict v =
        CheckAnswer(reads[i], static_cast<int64_t>(i + 1), output.substr(0, out_end + 1),
                    console.substr(0, con_end + 1), t);
    if (v.fault != nullptr) return v.fault;
    output.remove_prefix(out_end + 1);
    console.remove_prefix(con_end + 1);
  }
  if (!output.empty()) return "more output than reads";
  if (!console.empty()) return "more console lines than reads";
  return nullptr;
}

}  // namespace grouper::fuzzing
