#include "report_tally.h"

#include <algorithm>
#include <cstring>

#include "explain/blank_answer.h"
#include "explain/explanation.h"
#include "explain/opens.h"
#include "text/cp949.h"
#include "validate/field_text.h"

namespace grouper::report {

namespace {

RejectedDetail DetailOf(const LineExplanation& e, uint64_t line_number) {
  RejectedDetail d;
  d.line = line_number;
  d.form = FormLabel(e.answer, Language::kKorean);
  if (e.parsed) {
    constexpr int kPatient = IdentifierKeep("patient_name");
    constexpr int kResidentNumber = IdentifierKeep("resident_number");
    d.patient_name = cp949::ToUtf8(MaskIdentifier(e.identifiers.patient_name, kPatient));
    d.resident_number =
        cp949::ToUtf8(MaskIdentifier(e.identifiers.resident_number, kResidentNumber));
  }
  d.faults.reserve(e.faults.size());
  for (const ExplainedFault& f : e.faults) {
    DetailFault fault{
        f.section, f.item, "", "", Utf8Twin(f.message), OpensText(f, Language::kKorean)};
    if (!f.field.empty()) fault.field = ShownName(f.item_code, f.label, f.field);
    if (f.value) {
      const int keep = IdentifierKeep(f.field);
      fault.value = IsBlankAnswer(*f.value)
                        ? BlankAnswerWord()
                        : cp949::ToUtf8(keep < 0 ? *f.value : MaskIdentifier(*f.value, keep));
    } else if (f.field.empty()) {
      // A rule over several fields (the order of the dates, a list of flags)
      // shows what it read, as written; an item's name may hold a comma.
      for (const Evidence& read : f.fields) {
        fault.field += (fault.field.empty() ? "" : "; ") + ShownName(read);
        const std::string shown = ShownValue(read, false);
        fault.value +=
            (fault.value.empty() ? "" : "; ") +
            (read.start >= 0 && IsBlankAnswer(shown) ? BlankAnswerWord() : cp949::ToUtf8(shown));
      }
    }
    d.faults.push_back(std::move(fault));
  }
  return d;
}

void CountInstitution(ReportTally& tally,
                      const char (&institution_code)[sizeof AssessmentRecord::institution_code]) {
  const std::string code = cp949::ToUtf8(
      std::string_view(institution_code, strnlen(institution_code, sizeof institution_code - 1)));
  const auto found = tally.institutions.find(code);
  if (found != tally.institutions.end()) {
    ++found->second;
  } else if (tally.institutions.size() < kInstitutions) {
    tally.institutions.emplace(code, 1);
  } else {
    ++tally.other_institutions;
  }
}

void Count(OutcomeCounts& counts, Outcome outcome) {
  ++counts.lines;
  switch (outcome) {
    case Outcome::kGroupCode:
      ++counts.grouped;
      break;
    case Outcome::kMessage:
      ++counts.rejected;
      break;
    case Outcome::kWrongDataType:
      ++counts.wrong_type;
      break;
  }
}

}  // namespace

void LineList::Add(uint64_t line) {
  if (first.size() < kLinesPerList) first.push_back(line);
  ++total;
}

std::size_t VersionRow(const LineAnswer& answer) {
  if (answer.family == Family::kBase) return kBaseRow;
  const std::string_view version(answer.form_version, strnlen(answer.form_version, 3));
  for (std::size_t row = 0; row < kVersionCodes.size(); ++row) {
    if (kVersionCodes[row] == version) return row;
  }
  return kBaseRow;
}

bool WantsExplanation(const ReportTally& tally, Outcome outcome) {
  switch (outcome) {
    case Outcome::kGroupCode:
      break;
    case Outcome::kMessage:
      return tally.details.size() < kDetailedRecords;
    case Outcome::kWrongDataType:
      return tally.wrong_type_reasons.size() < kLinesPerList;
  }
  return false;
}

void TallyLine(ReportTally& tally, const char* read, std::size_t read_length, uint64_t line_number,
               GroupingWork& work) {
  LineBuffer buffer;
  LineAnswer answer{};
  const LineText taken = GroupLine(read, read_length, buffer, work, answer);
  if (WantsExplanation(tally, answer.outcome)) {
    const LineExplanation e = ExplainAnswer(taken, read_length, answer, work);
    TallyAnswer(tally, answer, work, line_number, &e);
  } else {
    TallyAnswer(tally, answer, work, line_number, nullptr);
  }
}

void TallyAnswer(ReportTally& tally, const LineAnswer& answer, const GroupingWork& work,
                 uint64_t line_number, const LineExplanation* explained) {
  TallyAnswered(tally, AnsweredLineOf(answer, work), line_number, explained);
}

AnsweredLine AnsweredLineOf(const LineAnswer& answer, const GroupingWork& work) {
  AnsweredLine line;
  line.answer = answer;
  std::memcpy(line.institution_code, work.record.institution_code, sizeof line.institution_code);
  line.assessment_day = 0;
  line.adl_score = 0;
  if (answer.outcome == Outcome::kGroupCode) {
    // A grouped record's assessment date is a valid date; its blanks and
    // signs are read as the rules read them, and its order is the
    // calendar's, not the text's.
    line.assessment_day = CheckDateField(work.record.a_assessment_date);
    line.adl_score = work.classification.adl_score;
  }
  return line;
}

void TallyAnswered(ReportTally& tally, const AnsweredLine& line, uint64_t line_number,
                   const LineExplanation* explained) {
  const LineAnswer& answer = line.answer;
  Count(tally.totals, answer.outcome);
  Count(tally.by_version[VersionRow(answer)], answer.outcome);
  switch (answer.outcome) {
    case Outcome::kGroupCode: {
      ++tally.by_code[std::string(answer.group_code, strnlen(answer.group_code, 3))];
      CountInstitution(tally, line.institution_code);
      const int32_t day = line.assessment_day;
      char text[9];
      if (tally.period_start.empty() || day < tally.first_day) {
        tally.first_day = day;
        DateTextOfDay(day, text);
        tally.period_start = text;
      }
      if (tally.period_end.empty() || day > tally.last_day) {
        tally.last_day = day;
        DateTextOfDay(day, text);
        tally.period_end = text;
      }
      const int adl = line.adl_score;
      if (adl >= 0 && adl <= kMaxAdlScore) {
        ++tally.adl[static_cast<std::size_t>(adl)];
      } else {
        ++tally.adl_outside;
      }
      break;
    }
    case Outcome::kMessage: {
      CountInstitution(tally, line.institution_code);
      MessageTally& m = tally.by_message[answer.message];
      if (m.message == nullptr) m.message = answer.message;
      m.lines.Add(line_number);
      if (tally.details.size() < kDetailedRecords)
        tally.details.push_back(DetailOf(*explained, line_number));
      break;
    }
    case Outcome::kWrongDataType:
      if (tally.wrong_type_reasons.size() < kLinesPerList) {
        tally.wrong_type_reasons.push_back(WrongDataTypeReason(*explained, Language::kKorean));
      }
      tally.wrong_type_lines.Add(line_number);
      break;
  }
}

std::vector<const MessageTally*> MessagesByCount(const ReportTally& tally) {
  std::vector<const MessageTally*> sorted;
  sorted.reserve(tally.by_message.size());
  for (const auto& [text, m] : tally.by_message) sorted.push_back(&m);
  std::sort(sorted.begin(), sorted.end(), [](const MessageTally* a, const MessageTally* b) {
    if (a->lines.total != b->lines.total) return a->lines.total > b->lines.total;
    return a->lines.first.front() < b->lines.first.front();
  });
  return sorted;
}

}  // namespace grouper::report
