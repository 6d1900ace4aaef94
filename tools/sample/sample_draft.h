// Internal to the sample generator: the record being drawn and the small
// drawing helpers that its pieces share. One record is drawn in four steps,
// one source each: its background (sample_background.cpp), its target
// criterion (sample_targets.cpp), the validation rows made to hold
// (sample_form_rules.cpp, asking the rows through sample_rows.cpp) and, for a
// share of the records, one row broken (sample_faults.cpp).
//
// Every helper draws from the record's own stream and nothing else, so a
// record's bytes depend only on the seed, its index and the order of the
// draws: changing that order changes the output of every seed.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "record/assessment_record.h"
#include "record/form_version.h"
#include "sample_generator.h"
#include "validate/row.h"

namespace grouper::sample {

using CharField = char AssessmentRecord::*;

inline constexpr char kAbsentDate[] = "00000000";

// ---------------------------------------------------------------------------
// Drawing helpers.

inline bool Chance(Random& g, int percent) {
  return Uniform(g, 0, 99) < percent;
}
inline char Flag(Random& g, int percent) {
  return Chance(g, percent) ? '1' : '0';
}
inline char Digit(int value) {
  return static_cast<char>('0' + value);
}
// An answer on a scale 0..max, mostly 0 as in a real ward.
inline char Level(Random& g, int max) {
  return Chance(g, 60) ? '0' : Digit(Uniform(g, 1, max));
}
inline float Tenths(int tenths) {
  return static_cast<float>(tenths / 10.0);
}
template <typename T>
const T& Pick(Random& g, std::initializer_list<T> choices) {
  return choices.begin()[Uniform(g, 0, static_cast<int>(choices.size()) - 1)];
}
// Days with an edge value now and then.
inline int DaysFrom(Random& g, int lo, int hi) {
  return Chance(g, 30) ? lo : Uniform(g, lo, hi);
}

template <std::size_t N>
void SetText(char (&field)[N], std::string_view text) {
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

// Days since 1970-01-01 and back, in the proleptic Gregorian calendar.
inline int DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}
inline void CivilFromDays(int z, int& y, int& m, int& d) {
  z += 719468;
  const int era = (z >= 0 ? z : z - 146096) / 146097;
  const int doe = z - era * 146097;
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp + (mp < 10 ? 3 : -9);
  y = yoe + era * 400 + (m <= 2);
}
inline void SetDate(DateText& field, int days) {
  int y, m, d;
  CivilFromDays(days, y, m, d);
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d", y, m, d);
  SetText(field, text);
}

// A site pattern for an item that is present: at least one of the two is '1'.
inline void DrawSites(Random& g, char& foot, char& other) {
  switch (Uniform(g, 0, 2)) {
    case 0:
      foot = '1', other = '0';
      break;
    case 1:
      foot = '0', other = '1';
      break;
    default:
      foot = '1', other = '1';
  }
}

// ---------------------------------------------------------------------------
// The record being drawn.

struct Draft {
  AssessmentRecord r;
  Family family;
  std::string_view code;  // the form-version code drawn, or "base"
  int assessment_day;
  bool wild;  // drawn freely rather than for a target criterion
  std::string_view target;
};

// Fields whose place in the form differs by family.
inline char& Ventilator(Draft& d) {
  return IsFrom091(d.family) ? d.r.k_ventilator_091 : d.r.k_ventilator;
}
inline char& CentralVenous(Draft& d) {
  return IsFrom091(d.family) ? d.r.k_central_venous_nutrition_091 : d.r.k_central_venous_nutrition;
}
inline char& PainFrequency(Draft& d) {
  return IsFrom091(d.family) ? d.r.g_pain_frequency_091 : d.r.g_pain_frequency_090;
}
inline char& CancerPainTreatment(Draft& d) {
  return IsFrom091(d.family) ? d.r.g_cancer_pain_treatment_091 : d.r.g_cancer_pain_treatment_090;
}
inline char& StomaPostSurgery(Draft& d) {
  return IsFrom091(d.family) ? d.r.g_stoma_care_post_surgery_091
                             : d.r.g_stoma_care_post_surgery_090;
}
inline char& StomaComplication(Draft& d) {
  return IsFrom091(d.family) ? d.r.g_stoma_care_complication_091
                             : d.r.g_stoma_care_complication_090;
}

// Pain of the families from 090: a frequency and at most one grade.
inline void SetPain(Draft& d, char frequency, int grade, int value) {
  d.r.g_pain_visual_scale = grade == 0 ? value : 0;
  d.r.g_pain_numeric_scale = grade == 1 ? value : 0;
  d.r.g_pain_faces_scale = grade == 2 ? value : 0;
  PainFrequency(d) = frequency;
}

// Sets exactly `count` of the four skin treatments that the classifier counts.
inline void SetSkinCare(Random& g, Draft& d, int count) {
  char* care[] = {&d.r.i_pressure_relief_device, &d.r.i_turning_repositioning,
                  &d.r.i_skin_nutrition_hydration, &d.r.i_ulcer_dressing};
  for (char* c : care) *c = '0';
  for (int set = 0; set < count;) {
    char* c = care[Uniform(g, 0, 3)];
    if (*c == '0') *c = '1', ++set;
  }
}

// ---------------------------------------------------------------------------
// The steps of a draw, in the order the generator takes them.

// sample_targets.cpp: the criterion a record is drawn for, and the ADL band
// that lets it decide the group.
std::string_view PickTarget(Random& g, Family family);
struct AdlBand {
  int lo, hi;
};
AdlBand TargetAdl(std::string_view target, Family family);

// sample_background.cpp: an ADL score biased to the band edges, then sections
// A to K. Outside a wild draw the background keeps away from every criterion
// of the classifier, so that the target decides the group.
int PickAdl(Random& g, int lo, int hi);
void DrawBackground(Random& g, Draft& d, const SampleGenerator& gen, uint64_t index, int adl);

// sample_targets.cpp: sets the items of the record's target criterion.
void ApplyTarget(Random& g, Draft& d);

// sample_form_rules.cpp: every validation row holds (every gated item
// follows its gate, every none-applies flag its list), and the few items that
// no row checks are kept as a ward would write them. Draws nothing. False when
// a row could not be made to hold (an irregular rule broken by the draw).
bool ApplyFormRules(Draft& d);

// sample_rows.cpp: the generator's questions to the validation rows.
// Mends every row that fails on the record (each with the nearest answer it
// allows; an irregular rule by closing its gate); true when all hold then.
bool SatisfyRows(Draft& d);
// Every row that applies to the record: its list runs in the family and its
// gates hold, in form order.
std::vector<const Row*> RowsThatApply(const AssessmentRecord& r, Family family);
// The kind of fault that breaking the row makes; kNone for an irregular rule,
// which says when it fails but not how to make it.
FaultKind FaultKindOfRow(const Row& row);
// Gives the record an answer that the row refuses; false when its shape or
// its item's width leaves none.
bool BreakRow(Random& g, const Row& row, Draft& d);
// True when the batch rejects the line with a message of the row.
bool RejectedByRow(const std::string& line, const Row& row);

// sample_faults.cpp: gives the clean record exactly one fault of a kind drawn
// from `g` and writes its line into `out` (text, fault and its detail).
void DrawFaultyLine(Random& g, Draft& d, SampleLine& out);

}  // namespace grouper::sample
