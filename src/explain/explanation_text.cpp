// The explanation as text for people: Korean by default, English on request.
// Every label of both languages is in the table below, so that the two say the
// same things in the same order.
#include <cstring>

#include "explain/blank_answer.h"
#include "explain/explanation.h"
#include "explain/explanation_parts.h"
#include "explain/opens.h"
#include "text/cp949.h"
#include "text/u8_text.h"

namespace grouper {

namespace {

using namespace explain_parts;

struct Words {
  const char8_t* line;         // "line"
  const char8_t* form;         // "form"
  const char8_t* base_layout;  // the base layout's name
  const char8_t* bytes;        // after a number of bytes
  const char8_t* group_code;   // "group code"
  const char8_t* no_code;      // when no code could be formed
  const char8_t* rejected;     // "rejected"
  const char8_t* wrong_type;   // "wrong data type"
  const char8_t* why;          // "why"
  const char8_t* faults;       // "N faults, in form order:" after the count
  const char8_t* columns;      // "columns" before [start, width]
  const char8_t* read;         // the fields a rule read
  const char8_t* scores;       // the scores' labels, in the order of the state
  const char8_t *adl, *ulcer, *skin, *tube, *iv, *group_a;
  const char8_t* criteria;  // "criteria"
  const char8_t* decided;   // before the evidence of the deciding criteria
  const char8_t* group;     // "group"
  const char8_t* gives;     // "... gives code"
  const char8_t* legend;    // the criteria sets' legend
  const char8_t *patient, *resident, *doctor, *nurse;
};

constexpr Words kKorean = {
    u8"줄",
    u8"서식",
    u8"기본 서식",
    u8"바이트",
    u8"환자군 코드",
    u8"(코드 없음)",
    u8"오류",
    OutcomeLabel(Outcome::kWrongDataType),
    u8"이유",
    u8"건, 서식 순서대로:",
    u8"열",
    u8"읽은 항목",
    u8"점수",
    u8"ADL",
    u8"궤양 합계",
    u8"피부 처치",
    u8"경관영양 섭취",
    u8"정맥영양 섭취",
    u8"A군 조건",
    u8"기준",
    u8"판정 근거",
    u8"환자군",
    u8"→ 환자군 코드",
    u8"A 의료최고도 · B 의료고도 · C 의료중도 · D 문제행동 · E 인지장애 · F 의료경도 · "
    u8"G 신체기능저하; - 충족된 기준 없음",
    u8"환자",
    u8"주민등록번호",
    u8"의사",
    u8"간호사"};

constexpr Words kEnglish = {
    u8"line",
    u8"form",
    u8"base layout",
    u8"bytes",
    u8"group code",
    u8"(none)",
    u8"rejected",
    u8"wrong data type",
    u8"why",
    u8", in form order:",
    u8"columns",
    u8"read",
    u8"scores",
    u8"ADL",
    u8"ulcer total",
    u8"skin care",
    u8"tube feeding intake",
    u8"IV nutrition intake",
    u8"group A conditions",
    u8"criteria",
    u8"decided by",
    u8"group",
    u8"gives code",
    u8"A extensive medical · B high medical · C medium medical · D behavioural problems · "
    u8"E cognitive impairment · F low medical · G reduced physical function; - no criterion met",
    u8"patient",
    u8"resident number",
    u8"doctor",
    u8"nurse"};

const Words& WordsOf(Language language) {
  return language == Language::kEnglish ? kEnglish : kKorean;
}

// A value in quotes; a blank answer as its word, which a pair of quotes with
// blanks between would hide.
std::string QuotedValue(std::string_view bytes, bool english) {
  if (IsBlankAnswer(bytes))
    return BlankAnswerWord(english ? Language::kEnglish : Language::kKorean);
  return "\"" + Printable(bytes) + "\"";
}

// `code name [start, width] "value"` for a field, `name value` for a score.
std::string EvidenceText(const Evidence& e, bool whole, bool english) {
  if (e.score) return e.name + " " + e.value;
  if (e.start < 0) return ShownName(e);
  return ShownName(e) + " [" + std::to_string(e.start) + ", " + std::to_string(e.width) + "] " +
         QuotedValue(ShownValue(e, whole), english);
}

std::string EvidenceList(const std::vector<Evidence>& list, bool whole, bool english) {
  std::string out;
  for (const Evidence& e : list) out += (out.empty() ? "" : ", ") + EvidenceText(e, whole, english);
  return out;
}

void AppendFaults(std::string& out, const LineExplanation& e, const Words& w, bool whole,
                  bool english) {
  const std::size_t n = e.faults.size();
  if (n == 0) return;
  out += english ? "  " + std::to_string(n) + (n == 1 ? " fault" : " faults") + U8(w.faults) + "\n"
                 : U8(u8"  오류 ") + std::to_string(n) + U8(w.faults) + "\n";
  int i = 0;
  for (const ExplainedFault& f : e.faults) {
    out += "    " + std::to_string(++i) + ". [" + f.section + "]";
    if (!f.item.empty()) out += " " + f.item;
    if (!f.field.empty()) {
      out += " (" + ShownName(f.item_code, f.label, f.field);
      if (f.value) out += " = " + QuotedValue(*f.value, english);
      if (f.start >= 0) {
        out += ", " + U8(w.columns) + " [" + std::to_string(f.start) + ", " +
               std::to_string(f.width) + "]";
      }
      out += ")";
    }
    out += ": " + std::string(Utf8Twin(f.message)) + "\n";
    // A rule that read more than its one field lists what it read.
    const bool only_its_field = f.fields.size() == 1 && f.fields.front().name == f.field;
    if (!f.fields.empty() && !only_its_field) {
      out += "       " + U8(w.read) + ": " + EvidenceList(f.fields, whole, english) + "\n";
    }
    if (!f.opens.empty()) {
      out += "       " + OpensText(f, english ? Language::kEnglish : Language::kKorean) + "\n";
    }
  }
}

void AppendClassification(std::string& out, const LineExplanation& e, const Words& w, bool whole,
                          bool english) {
  const ClassificationState& s = e.classification;
  const LineAnswer& a = e.answer;
  out += "  " + U8(w.scores) + ": " + U8(w.adl) + " " + std::to_string(s.adl_score) + ", " +
         U8(w.ulcer) + " " + std::to_string(s.ulcer_total) + ", " + U8(w.skin) + " " +
         std::to_string(s.skin_care_count) + ", " + U8(w.tube) + " " +
         std::to_string(s.tube_feeding_intake) + ", " + U8(w.iv) + " " +
         std::to_string(s.iv_nutrition_intake) + ", " + U8(w.group_a) + " " +
         std::to_string(s.group_a_count) + "\n  " + U8(w.criteria) + ":";
  for (int set = 0; set < kSetCount; ++set) {
    if (!SetRan(set, a.family)) continue;
    const std::string code = MatchedCode(s, set);
    out += std::string(" ") + kSetLetters[set] + " " + (code.empty() ? "-" : code);
  }
  out += "\n  (" + U8(w.legend) + ")\n";
  if (!e.decided_by.empty()) {
    out += "  " + U8(w.decided) + ":\n";
    for (const DecidingCriterion& d : e.decided_by) {
      out += "    " + std::string(1, d.set) + " " + d.code + ": " +
             EvidenceList(d.tested, whole, english) + "\n";
    }
  }
  out += "  " + U8(w.group) + " " + std::string(s.group_letter, strnlen(s.group_letter, 1)) + " " +
         U8(w.gives) + " " + (a.group_code[0] != '\0' ? std::string(a.group_code) : U8(w.no_code)) +
         "\n";
}

}  // namespace

std::string FormLabel(const LineAnswer& a, Language language) {
  const Words& w = WordsOf(language);
  if (a.family == Family::kBase) return U8(w.base_layout);
  return U8(w.form) + " " + Printable(a.form_version);
}

std::string CriteriaLegend(Language language) {
  return U8(WordsOf(language).legend);
}

std::string WrongDataTypeReason(const LineExplanation& e, Language language) {
  const bool english = language == Language::kEnglish;
  const LineAnswer& a = e.answer;
  const FamilyInfo& info = InfoOf(a.family);
  const std::string read = std::to_string(e.read_length);
  const std::string one_read = std::to_string(kMaxReadLength);
  if (e.over_long) {
    return english ? "the line has " + read + " bytes, more than the " + one_read +
                         " of one read: it cannot be a record"
                   : U8(u8"줄이 ") + read + U8(u8"바이트로, 한 번에 읽는 ") + one_read +
                         U8(u8"바이트를 넘어 기록일 수 없습니다");
  }
  const std::string expected = std::to_string(info.expected_length);
  const std::string has = std::to_string(a.length);
  std::string reason;
  if (a.family == Family::kBase) {
    // The first bytes of a base-layout line may be anything: escaped, so that
    // the reason is printable text in either output.
    std::string version = "\"";
    version += Printable(a.form_version);
    version += '"';
    reason = english ? version +
                           " is none of the eight form versions, so the line is read as the base "
                           "layout, which takes exactly " +
                           expected + " bytes"
                     : version +
                           U8(u8"는 여덟 가지 서식 버전 중 어느 것도 아니어서 기본 서식으로 "
                              u8"읽으며, 기본 서식의 길이는 정확히 ") +
                           expected + U8(u8"바이트");
  } else {
    const std::string version = std::string(a.form_version) + " (" + LayoutName(a.family) + ")";
    const std::string range = IsEarly(a.family)
                                  ? expected
                                  : std::to_string(info.min_length) + (english ? " to " : "~") +
                                        std::to_string(info.code_column);
    reason = english ? "form version " + version + " takes " +
                           (IsEarly(a.family) ? "exactly " : "") + range + " bytes"
                     : U8(u8"서식 버전 ") + version + U8(u8"의 길이는 ") +
                           (IsEarly(a.family) ? U8(u8"정확히 ") : "") + range + U8(u8"바이트");
  }
  return english ? reason + "; the trimmed line has " + has
                 : reason + U8(u8"인데, 끝 공백을 뺀 줄의 길이는 ") + has + U8(u8"바이트");
}

std::string ExplanationText(const LineExplanation& e, const ExplainOptions& options) {
  const LineAnswer& a = e.answer;
  const Words& w = WordsOf(options.language);
  const bool english = options.language == Language::kEnglish;
  const bool whole = options.show_identifiers;
  // A version code with its layout's name; the base layout by its name alone.
  std::string out =
      U8(w.line) + " " + (options.line_number ? std::to_string(*options.line_number) : "-") + ": " +
      FormLabel(a, options.language) +
      (a.family == Family::kBase ? "" : std::string(" (") + LayoutName(a.family) + ")") + ", " +
      std::to_string(a.length) + (english ? " " : "") + U8(w.bytes) + ": ";
  switch (a.outcome) {
    case Outcome::kGroupCode:
      out += U8(w.group_code) + " " +
             (a.group_code[0] != '\0' ? std::string(a.group_code) : U8(w.no_code)) + "\n";
      break;
    case Outcome::kMessage:
      out += U8(w.rejected) + "\n  " + std::string(Utf8Twin(a.message)) + "\n";
      break;
    case Outcome::kWrongDataType:
      out += U8(w.wrong_type) + "\n  " + std::string(Utf8Twin(a.message)) + "\n  " + U8(w.why) +
             ": " + WrongDataTypeReason(e, options.language) + "\n";
      return out;
  }
  AppendFaults(out, e, w, whole, english);
  if (e.classified) AppendClassification(out, e, w, whole, english);
  if (e.parsed) {
    const ShownIdentifiers ids = Show(e.identifiers, whole);
    out += "  " + U8(w.patient) + " " + Printable(ids.patient_name) + ", " + U8(w.resident) + " " +
           Printable(ids.resident_number);
    if (IsFrom090(a.family)) {
      out += ", " + U8(w.doctor) + " " + Printable(ids.doctor_name) + ", " + U8(w.nurse) + " " +
             Printable(ids.nurse_name);
    }
    out += "\n";
  }
  return out;
}

}  // namespace grouper
