// Why a line gets its answer: the answer exactly as the batch gives it, and
// behind it every fault of a rejected record, or the scores and the criteria
// that placed a valid record in its group.
//
// The explanation walks the program's own code: the batch's GroupLine takes
// the line and gives the answer; for a rejected record the parser and the validator run again
// with a sink that collects every fault instead of stopping at the first, so
// the first fault is always the batch's message; for a grouped record the
// classification state of that same run gives the scores and the criterion
// codes.
//
// Faults. When a numeric item of the line is not all digits, the record's
// numbers cannot be read: the faults are those items, in line order, and the
// record is not validated. Otherwise the faults are the validator's checks
// that apply and fail, in form order; a check applies when the answers it
// depends on, read as written, call for it (so a faulty gate answer such as an
// assessment type of '4' makes neither of the checks that it chooses between
// apply).
//
// Evidence (see evidence.h). Each fault carries the columns of its field and
// every field its rule read, as written in the line; a grouped record carries,
// for each criteria set that a criterion decided, what that criterion tested.
//
// Output. Text for people (Korean, or English on request) and one JSON object
// per line, both UTF-8: messages
// come from their UTF-8 twins, record bytes are converted from code page 949,
// and any byte that is no character of code page 949 becomes U+FFFD.
// JSON escapes quotes, backslashes and every control byte (\uXXXX). The
// identifiers (patient name, resident number, the signers' names) are masked
// unless asked for: a name keeps its first character, the resident number its
// first six digits, and every further character becomes '*'.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "classify/classifier.h"
#include "explain/evidence.h"
#include "line/group_line.h"
#include "record/form_message.h"
#include "text/language.h"

namespace grouper {

// An item of the form that mending a fault's value may bring into the check
// (see explain/opens.h).
struct OpenedItem {
  std::string field;                // the record field that the item's row tests
  const char* item_code = nullptr;  // its item code on the form (ASCII), when it has one
  const char* label = nullptr;      // its name on the form (UTF-8)
};

struct ExplainedFault {
  std::string section;  // the section as the message names it (UTF-8), e.g. "E.배설기능"
  std::string item;     // the item (UTF-8), "" when the message names none
  std::string field;    // the record field, "" when the rule reads several
  const char* item_code = nullptr;  // of `field` on the form (see Evidence), when it has one
  const char* label = nullptr;
  std::optional<std::string> value;  // the value found (code page 949 bytes), if one field
  const char* message;               // code page 949 constant; Utf8Twin gives UTF-8
  int start = -1;                    // the columns of `field` in the line, when it has one
  int width = 0;
  std::vector<Evidence> fields;   // every record field the rule read, as written
  std::vector<OpenedItem> opens;  // the items that mending the value may bring into the check
};

// A criteria set that one of its criteria decided, and what that criterion
// tested.
struct DecidingCriterion {
  char set;          // 'A' to 'F'
  std::string code;  // "1A" ...
  std::vector<Evidence> tested;
};

struct Identifiers {
  std::string patient_name;  // code page 949 bytes, as the record holds them
  std::string resident_number;
  std::string doctor_name;
  std::string nurse_name;
};

struct LineExplanation {
  LineAnswer answer;                   // outcome, trimmed length, family, version, code, message
  std::string wrong_data_type_reason;  // UTF-8, in English, for a wrong-data-type line
  bool over_long = false;              // a wrong data type for having more bytes than one read
  std::size_t read_length = 0;         // the bytes handed over
  std::vector<ExplainedFault> faults;  // for a rejected record; the first is the batch's
  bool classified = false;             // the classification below is set
  ClassificationState classification{};
  std::vector<DecidingCriterion> decided_by;  // for a grouped record, in set order
  bool parsed = false;                        // the identifiers below were read
  Identifiers identifiers;
};

// Explains one line as grouper_group_line takes it (see grouper.h): `length`
// bytes, its text ending at a NUL, more than 1023 bytes a wrong data type.
LineExplanation ExplainLine(const char* line, std::size_t length);
// The same explanation of a line that GroupLine has taken (`taken`, from
// `length` bytes) and answered (`answer`, `work`), without answering it
// again: for a caller that answers every line and explains some of them.
// `work` is not changed.
LineExplanation ExplainAnswer(const LineText& taken, std::size_t length, const LineAnswer& answer,
                              const GroupingWork& work);

struct ExplainOptions {
  bool show_identifiers = false;
  Language language = Language::kKorean;  // of the text for people
  std::optional<uint64_t> line_number;    // JSON "line": the number, or null
};

// One JSON object, without a line end.
std::string ExplanationJson(const LineExplanation& e, const ExplainOptions& options);
// Lines of text for people, each ending in a line feed, in the options'
// language.
std::string ExplanationText(const LineExplanation& e, const ExplainOptions& options);
// Why a wrong-data-type line is one, in `language` (UTF-8, printable).
std::string WrongDataTypeReason(const LineExplanation& e, Language language);
// How the text for people names a line's form (UTF-8, printable): "서식 012"
// ("form 012"); for a line of the base layout, whose first bytes are those of
// its institution code and no version, "기본 서식" ("base layout").
std::string FormLabel(const LineAnswer& a, Language language);
// The one-line legend of the criteria sets, in `language`, without a line end.
std::string CriteriaLegend(Language language);

// The section and the item that a message of the form names (UTF-8, as the
// row that gives it keeps them: "오류-[E.배설기능][3.f.인공루] ..." gives
// "E.배설기능" and "3.f.인공루"; further groups join the item with " / ").
// Either is "" when not named.
struct MessageNames {
  std::string section;
  std::string item;
};
MessageNames NamesOf(const FormMessage& message);

// The masked form of an identifier (code page 949 bytes): the first `keep`
// characters, then one '*' per further character.
std::string MaskIdentifier(const std::string& text, int keep);

}  // namespace grouper
