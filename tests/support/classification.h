// Helpers for the classifier's tests: records with a chosen ADL score, one
// classification of a record as the batch's line path makes it, and the
// criteria table as readable text.
//
// The slot of every code is written out here on its own, so that a code
// recorded in a wrong slot shows up in the text as "!slot:code".
#pragma once

#include <cstring>
#include <iterator>
#include <string>

#include "classify/classifier.h"
#include "record/assessment_record.h"

namespace grouper::testing {

// Sets the four scored ADL items so that they give `score` (4..20); the
// other ADL items stay as they are.
inline void SetAdl(AssessmentRecord& r, int score) {
  int rest = score - 4;
  for (char* item :
       {&r.d_adl_eating, &r.d_adl_changing_position, &r.d_adl_transferring, &r.d_adl_toilet_use}) {
    const int extra = rest > 4 ? 4 : rest;
    *item = static_cast<char>('0' + extra);
    rest -= extra;
  }
}

struct Classified {
  std::string code;
  ClassificationState state{};
};

// Classifies a validated record, as the line path does after the validator,
// by the family of its version code.
inline Classified Classify(const AssessmentRecord& record) {
  Classified c;
  std::memset(&c.state, 0x5a, sizeof c.state);  // the classifier must clear it
  ClassifyRecord(record, FamilyOfField(record.form_version), c.state);
  c.code = std::string(c.state.group_code, strnlen(c.state.group_code, sizeof c.state.group_code));
  return c;
}

// The codes of the form's sets in slot order, then group G's.
inline constexpr const char* kSlotCodes[] = {"1A", "1B", "1C", "1D", "2A", "2B", "2C", "2D", "2E",
                                             "2F", "2G", "2H", "2I", "2J", "2K", "2L", "2M", "2N",
                                             "3A", "3B", "3C", "3D", "3E", "3F", "3G", "3H", "3I",
                                             "3J", "3K", "3L", "4A", "5A", "6A", "6B", "6C", "7A"};
static_assert(std::size(kSlotCodes) == kCriteriaSlots,
              "the classifier's table holds another number of codes than the form");

// The recorded codes in slot order, separated by blanks ("1D 2N 7A").
inline std::string RecordedCodes(const ClassificationState& s) {
  std::string text;
  for (int slot = 0; slot < kCriteriaSlots; ++slot) {
    const char* entry = s.criteria[slot];
    if (entry[0] == '\0' && entry[1] == '\0' && entry[2] == '\0') continue;
    if (!text.empty()) text += ' ';
    if (std::strncmp(entry, kSlotCodes[slot], 3) != 0) {
      text += "!" + std::to_string(slot) + ":" + std::string(entry, strnlen(entry, 3));
    } else {
      text += entry;
    }
  }
  return text;
}

}  // namespace grouper::testing
