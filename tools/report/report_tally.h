// The counts behind the monthly report: one pass over an assessment file,
// every line answered by the batch's own GroupLine, kept as counts only.
//
// What it promises. Every line is counted exactly once: as grouped (with its
// group code and its ADL score), as rejected (under the text of the batch's
// message) or as a wrong data type, in the totals and in the row of its form
// version. Memory does not grow with the file: the line numbers kept per
// message and for wrong-data-type lines are capped (kLinesPerList), and only
// the first kDetailedRecords rejected records keep their details: every fault
// from ExplainLine, so the first is always the batch's message. Everything a
// detail holds is UTF-8 and the identifiers in it are masked (a name keeps its
// first character, the resident number its first six); a record's bytes never
// leave this unit unmasked.
//
// For filing, it keeps the period of the assessments (the earliest and the
// latest assessment date of the grouped records), the institution codes of the
// records (the first kInstitutions codes, the rest counted together) and the
// reason of the first kLinesPerList wrong-data-type lines.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "explain/explanation.h"
#include "line/group_line.h"
#include "record/form_version.h"

namespace grouper::report {

inline constexpr std::size_t kLinesPerList = 50;
inline constexpr std::size_t kDetailedRecords = 1000;
inline constexpr int kMaxAdlScore = 20;
inline constexpr std::size_t kInstitutions = 20;

// The rows of the form-version table: the eight codes in the order of their
// families (kVersionCodes), then the base layout (any other first three bytes).
inline constexpr std::size_t kVersionRows = kVersionCodes.size() + 1;
inline constexpr std::size_t kBaseRow = kVersionCodes.size();

struct OutcomeCounts {
  uint64_t lines = 0;
  uint64_t grouped = 0;
  uint64_t rejected = 0;
  uint64_t wrong_type = 0;
};

// Line numbers in input order, the first kLinesPerList of them, and how many
// there were in all.
struct LineList {
  std::vector<uint64_t> first;
  uint64_t total = 0;
  void Add(uint64_t line);
};

struct MessageTally {
  const char* message = nullptr;  // code page 949 constant; Utf8Twin gives its text
  LineList lines;
};

struct DetailFault {
  // UTF-8; value masked for identifiers, a blank answer as "(빈칸)"
  // (explain/blank_answer.h). `field` names the fault's field, or the fields
  // its rule read, by their item codes and names on the form.
  std::string section, item, field, value, message;
  // The items that mending the value may bring into the check, as the
  // explanation says it (OpensText); "" when none.
  std::string opens;
};

struct RejectedDetail {
  uint64_t line = 0;
  std::string form;          // UTF-8: "서식 012", or "기본 서식" for a base-layout line
  std::string patient_name;  // masked, UTF-8
  std::string resident_number;
  std::vector<DetailFault> faults;
};

struct ReportTally {
  OutcomeCounts totals;
  std::array<OutcomeCounts, kVersionRows> by_version;
  // Grouped lines by code; "" stands for a valid record whose code could not
  // be formed.
  std::map<std::string, uint64_t> by_code;
  std::array<uint64_t, kMaxAdlScore + 1> adl{};
  uint64_t adl_outside = 0;  // grouped records with a score beyond 0..20
  // Keyed by the message's bytes, so that equal texts count as one message.
  std::map<std::string_view, MessageTally> by_message;
  LineList wrong_type_lines;
  std::vector<std::string> wrong_type_reasons;  // Korean, UTF-8, of wrong_type_lines.first
  std::string period_start, period_end;         // YYYYMMDD, "" when no record was grouped
  int32_t first_day = 0, last_day = 0;          // their day numbers
  // Records (grouped or rejected) by institution code, as written (UTF-8).
  std::map<std::string, uint64_t> institutions;
  uint64_t other_institutions = 0;      // records of the codes beyond the first kInstitutions
  std::vector<RejectedDetail> details;  // the first kDetailedRecords rejected
};

// The row of the form-version table for a line's first three bytes.
std::size_t VersionRow(const LineAnswer& answer);

// Counts one read of the input (the `read_length` bytes at `read`), numbered
// `line_number` from 1, answered by the batch's line path with `work`. The
// read's bytes are not changed.
void TallyLine(ReportTally& tally, const char* read, std::size_t read_length, uint64_t line_number,
               GroupingWork& work);

// Whether TallyAnswer wants the explanation of a line of `outcome`: for the
// details of the first rejected records and the reasons of the first
// wrong-data-type lines.
bool WantsExplanation(const ReportTally& tally, Outcome outcome);

// Counts one line that GroupLine answered (`answer`, `work`), as TallyLine
// does; `explained` is its explanation (ExplainAnswer) when WantsExplanation,
// else may be null.
void TallyAnswer(ReportTally& tally, const LineAnswer& answer, const GroupingWork& work,
                 uint64_t line_number, const LineExplanation* explained);

// What TallyAnswer counts of one answered line, taken while its record is at
// hand, so that a line answered on one thread is counted later, in input
// order, on another.
struct AnsweredLine {
  LineAnswer answer;
  char institution_code[sizeof AssessmentRecord::institution_code];  // as the record holds it
  int32_t assessment_day;  // a grouped record's assessment date as a day number
  int adl_score;           // a grouped record's
};
AnsweredLine AnsweredLineOf(const LineAnswer& answer, const GroupingWork& work);

// Counts one answered line as TallyAnswer does.
void TallyAnswered(ReportTally& tally, const AnsweredLine& line, uint64_t line_number,
                   const LineExplanation* explained);

// Messages, most frequent first; ties in the order of their first line.
std::vector<const MessageTally*> MessagesByCount(const ReportTally& tally);

}  // namespace grouper::report
