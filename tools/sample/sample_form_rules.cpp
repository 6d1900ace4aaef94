// The rules of the form applied to a drawn record: the validation rows are
// made to hold (sample_rows.cpp asks them; nothing here restates a gate, a
// bound or a none-applies list). Runs after the background and the target,
// which may answer any item, and draws nothing.
#include "record/field_groups.h"
#include "sample_draft.h"

namespace grouper::sample {

bool ApplyFormRules(Draft& d) {
  AssessmentRecord& r = d.r;
  // Realistic values that no row can say: a form version checks the catheter
  // dates and the voiding-diary days of some codes only, so for the others no
  // row ties them to their answer. The background drew them for a catheter and
  // a diary; without one a ward leaves them absent, as the checked codes must.
  if (r.e_indwelling_catheter != '1') {
    if (d.family == Family::k090 || d.family == Family::k091) {
      SetText(r.e_indwelling_catheter_date, kAbsentDate);
    }
    if (d.family == Family::k092) {
      for (DateField slot : field_groups::kCatheterDates) SetText(r.*slot, kAbsentDate);
      r.e_catheter_date_count = 0;
    }
  }
  if (IsFrom091(d.family) && r.e_voiding_diary != '1') r.e_voiding_diary_days = 0;
  return SatisfyRows(d);
}

}  // namespace grouper::sample
