// The evidence behind an answer: where in the line each record field that a
// rule or a criterion read is written, and what is written there.
//
// A record field is shown as the bytes at its columns in the line's layout
// (start and width, counted in bytes from 0 as the layout table counts them),
// not as the record holds them after the parser and the rules: that is what a
// clerk finds when opening the line. A score of the classifier (the ADL
// score, the count of skin treatments...) has no columns and is shown as its
// number.
//
// Names. A clerk finds an item on the paper form by its code and its name, so
// a field carries both from its layout row ("G.2.b.1", "시각 통증 등급"), in
// every language of the text; a score is no item of the form and keeps its
// own name. A named group of the criteria is never evidence itself: its
// fields are listed, each with its own code and name.
//
// What is read. A row of the validator lists what it reads itself (its field,
// its flags, an irregular rule's fields, the fields of its gates), and so does
// a row of the classifier's criteria (its fields and scores, with those of
// the stop rows before it).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "classify/classifier.h"
#include "record/assessment_record.h"
#include "record/form_version.h"
#include "validate/row.h"

namespace grouper {

// One record field or score that a rule or a criterion read.
struct Evidence {
  std::string name;  // the record field ("a_admission_date") or score ("adl_score")
  // The field's item code (ASCII, "A.3") and name (UTF-8, "입원일") on the
  // form, from its layout row; the version code has a name and no code, a
  // score neither.
  const char* item_code = nullptr;
  const char* label = nullptr;
  int start = -1;      // the field's first column in the line; -1 for a score or no place
  int width = 0;       // the field's width in bytes
  std::string value;   // a field's bytes as written (code page 949); a score's number
  bool score = false;  // a number of the classifier, not bytes of the line
  int keep = -1;       // for an identifier: the characters kept when masked; else -1
};

// "089/010", "090/011", "091/012", "092/013" or "base": the layout a line of
// the family is read by.
const char* LayoutName(Family family);

// The field `name` of a line of `family`: its columns and the bytes of
// `text` (the trimmed, NUL-terminated line, zero beyond its end) written
// there. "form_version" is the first three bytes. A name that the family's
// layout does not carry gets no columns and an empty value.
Evidence FieldEvidence(std::string_view name, const char* text, Family family);

// The fields that a failing validator row read, as the row lists them (its
// field, its flags, an irregular rule's fields, its gates' fields), those
// that the line's layout carries.
std::vector<Evidence> FaultEvidence(const Row& row, const char* text, Family family);

// What the criterion `code` ("1A".."6C") of a record of `family` tested: the
// fields with their bytes in `text` and the scores from `state`. Empty for a
// code that the family's sets do not hold.
std::vector<Evidence> CriterionEvidence(std::string_view code, const char* text, Family family,
                                        const ClassificationState& state);

// The names of the fields and scores that criterion `code` of `family` read,
// as its rows list them (see classify/criteria_reads.h).
std::vector<std::string> CriterionReadNames(std::string_view code, Family family);

// The layout's name of the record field at `offset`, or nullptr.
const char* FieldNameAtOffset(std::size_t offset);

// For a record field that names a person, the characters its masked form
// keeps: a name its first, the resident number the six digits of the date of
// birth; -1 for any other field. Every masked identifier takes its width here.
constexpr int IdentifierKeep(std::string_view field) {
  if (field == "resident_number") return 6;
  if (field == "patient_name" || field == "s_doctor_name" || field == "s_nurse_name") return 1;
  return -1;
}

// The value of a piece of evidence as shown (code page 949 bytes; a score's
// digits): an identifier without its padding blanks and masked, unless
// `whole`.
std::string ShownValue(const Evidence& e, bool whole);

// A field or a score as the text for people names it (UTF-8): a field by its
// item code and name ("G.2.b.1 시각 통증 등급"), the version code by its name
// ("서식 버전"), a score, which is no item of the form, by its own name
// ("adl_score").
std::string ShownName(const char* item_code, const char* label, std::string_view name);
std::string ShownName(const Evidence& e);

}  // namespace grouper
