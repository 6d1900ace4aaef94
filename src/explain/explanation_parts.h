// The pieces that the explanation's JSON, text and table share: escaping of
// record bytes for each, the criterion code that decided a set, and the
// identifiers as shown (masked unless asked for). Internal to src/explain/.
#pragma once

#include <string>
#include <string_view>

#include "classify/criteria_plan.h"
#include "explain/explanation.h"

namespace grouper::explain_parts {

// The sets' letters and G, from the classification's plans.
inline constexpr const char* kSetLetters = kGroupLetters.data();

// Whether the record's family runs set `set` (0 for A), as its plan says (D
// and E run in the early families only); G stands for the group that no set
// claims.
bool SetRan(int set, Family family);

// The code that decided set `set` (0 for A), or "".
std::string MatchedCode(const ClassificationState& s, int set);

// Printable UTF-8 of code page 949 bytes for a terminal: control bytes as \xNN.
std::string Printable(std::string_view bytes);

// Appends a JSON string of code page 949 bytes (or of UTF-8, when `utf8`).
void JsonString(std::string& out, std::string_view bytes, bool utf8 = false);
void JsonStringOrNull(std::string& out, bool present, std::string_view bytes, bool utf8 = false);
// Appends `"key":`, after a comma unless the object has just opened.
void JsonKey(std::string& out, const char* key);

// The identifiers of a parsed record as the explanation shows them: without
// the items' padding, and once the record is `validated` (it parsed), the
// names as the rules count them.
Identifiers IdentifiersOf(const AssessmentRecord& r, Family family, bool validated);

struct ShownIdentifiers {
  std::string patient_name, resident_number, doctor_name, nurse_name;
};
ShownIdentifiers Show(const Identifiers& ids, bool whole);

}  // namespace grouper::explain_parts
