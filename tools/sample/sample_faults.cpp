// Faults: a faulty record is its clean self with exactly one deliberate
// fault. Most faults break one validation row: a row that applies to the
// record is picked among those whose breaking makes the kind drawn, given an
// answer it refuses, and kept only when the batch then rejects the line with
// that row's message (a change may also trip an earlier row, or not survive
// the line's columns; then another row is tried). A non-digit and a wrong
// length break the line itself, before any row is read.
#include <iterator>
#include <string>
#include <vector>

#include "record/field_ref.h"
#include "record/input_layout.h"
#include "record_writer.h"
#include "sample_draft.h"

namespace grouper::sample {

namespace {

// How to break an irregular rule. Its row lists the fields it reads but not
// the answers that break it, so these few are written by hand; each breaks
// the rule row of the record that reads `field`.
struct RuleBreaker {
  FaultKind kind;
  FieldRef field;
  void (*apply)(Random&, Draft&);
};

const RuleBreaker kRuleBreakers[] = {
    {FaultKind::kDateOrder, FIELD(a_admission_date),
     [](Random& g, Draft& d) {
       SetDate(d.r.a_admission_date, d.assessment_day + Uniform(g, 1, 60));
     }},
    {FaultKind::kBadIdentity, FIELD(institution_code),
     [](Random& g, Draft& d) {
       // A letter after the first three bytes keeps the base layout's version.
       d.r.institution_code[Uniform(g, 3, 7)] = Pick(g, {'X', 'O', ' '});
     }},
    {FaultKind::kBadIdentity, FIELD(patient_name),
     [](Random&, Draft& d) { SetText(d.r.patient_name, ""); }},
    {FaultKind::kBadIdentity, FIELD(resident_number),
     [](Random& g, Draft& d) {
       d.r.resident_number[Uniform(g, 0, 12)] = Pick(g, {'-', 'A', ' '});
     }},
    {FaultKind::kBadIdentity, FIELD(s_doctor_name),
     [](Random&, Draft& d) { SetText(d.r.s_doctor_name, "            "); }},
    {FaultKind::kBadIdentity, FIELD(s_nurse_name),
     [](Random&, Draft& d) { SetText(d.r.s_nurse_name, ""); }},
    {FaultKind::kBrokenGate, FIELD(f_postprandial_glucose),
     [](Random&, Draft& d) { d.r.f_fasting_glucose = d.r.f_postprandial_glucose = 0; }},
    {FaultKind::kBrokenGate, FIELD(g_pain_visual_scale),
     [](Random& g, Draft& d) {
       // A frequency without a grade, or a grade without a frequency.
       const bool graded = d.r.g_pain_visual_scale > 0 || d.r.g_pain_numeric_scale > 0 ||
                           d.r.g_pain_faces_scale > 0;
       PainFrequency(d) = graded ? '0' : Pick(g, {'1', '2'});
     }},
};

// One way to make a fault: a row, and for an irregular rule its breaker.
struct Candidate {
  const Row* row;
  const RuleBreaker* breaker;
};

bool Reads(const Row& row, FieldRef field) {
  for (const FieldRef read : row.reads) {
    if (read == field) return true;
  }
  return false;
}

std::vector<Candidate> CandidatesOf(FaultKind kind, const Draft& d) {
  std::vector<Candidate> candidates;
  for (const Row* row : RowsThatApply(d.r, d.family)) {
    if (row->shape != Shape::kRule) {
      if (FaultKindOfRow(*row) == kind) candidates.push_back({row, nullptr});
      continue;
    }
    for (const RuleBreaker& breaker : kRuleBreakers) {
      if (breaker.kind == kind && Reads(*row, breaker.field)) candidates.push_back({row, &breaker});
    }
  }
  return candidates;
}

std::string RowName(const Row& row) {
  return std::string(row.section != nullptr ? row.section : "") + " " +
         (row.item != nullptr ? row.item : "");
}

// Faults on the line itself, after the record is written.
std::string NonDigitFault(Random& g, Family family, std::string& line) {
  // Sized by the layout, which may grow: a fixed array would be overrun.
  std::vector<const LayoutItem*> tested;
  for (const LayoutItem& item : InputLayout()) {
    if (item.parse_message.text != nullptr && item.StartIn(family) >= 0) tested.push_back(&item);
  }
  const LayoutItem& item = *tested[Uniform(g, 0, static_cast<int>(tested.size()) - 1)];
  const int column = item.StartIn(family) + Uniform(g, 0, item.width - 1);
  // No blank: at the end of an early-family line it would be trimmed away.
  line[static_cast<std::size_t>(column)] = Pick(g, {'O', 'l', 'x', '-', '+', '.', '*'});
  return item.field_name;
}

std::string WrongLengthFault(Random& g, Family family, std::string& line) {
  const FamilyInfo& info = InfoOf(family);
  if (IsEarly(family)) {
    // One byte more or less somewhere in the middle of the line.
    const std::size_t at = static_cast<std::size_t>(Uniform(g, 20, info.expected_length - 20));
    if (Chance(g, 50)) {
      line.erase(at, 1);
      return "one byte short";
    }
    line.insert(at, 1, line[at] == ' ' ? '0' : line[at]);
    return "one byte long";
  }
  line.resize(static_cast<std::size_t>(Uniform(g, info.min_length - 40, info.min_length - 1)));
  return "cut before the last numeric item";
}

}  // namespace

const char* FaultKindName(FaultKind kind) {
  switch (kind) {
    case FaultKind::kNone:
      return "none";
    case FaultKind::kNonDigit:
      return "non-digit";
    case FaultKind::kOutOfRange:
      return "out of range";
    case FaultKind::kBrokenGate:
      return "broken gate";
    case FaultKind::kMissingDate:
      return "missing date";
    case FaultKind::kNeedlessDate:
      return "needless date";
    case FaultKind::kDateOrder:
      return "date order";
    case FaultKind::kWrongNoneOfAbove:
      return "wrong none-applies";
    case FaultKind::kWrongLength:
      return "wrong length";
    case FaultKind::kBadIdentity:
      return "bad identity";
  }
  return "?";
}

void DrawFaultyLine(Random& g, Draft& d, SampleLine& out) {
  out.fault = static_cast<FaultKind>(Uniform(g, 1, kFaultKindCount));
  if (out.fault != FaultKind::kNonDigit && out.fault != FaultKind::kWrongLength) {
    std::vector<Candidate> candidates = CandidatesOf(out.fault, d);
    // No row of the kind applies to this record (say, no absent date is
    // required): an answer out of range always fits.
    if (candidates.empty()) out.fault = FaultKind::kOutOfRange;
    if (candidates.empty()) candidates = CandidatesOf(out.fault, d);
    while (!candidates.empty()) {
      const auto at = candidates.begin() + Uniform(g, 0, static_cast<int>(candidates.size()) - 1);
      const Candidate candidate = *at;
      candidates.erase(at);
      Draft broken = d;
      if (candidate.breaker != nullptr) {
        candidate.breaker->apply(g, broken);
      } else if (!BreakRow(g, *candidate.row, broken)) {
        continue;
      }
      std::string line = ComposeRecordLine(broken.r);
      if (!RejectedByRow(line, *candidate.row)) continue;
      d = broken;
      out.text = std::move(line);
      out.row = candidate.row;
      out.fault_detail = RowName(*candidate.row);
      return;
    }
    // No row of the kind could be broken alone: the line is cut instead.
    out.fault = FaultKind::kWrongLength;
  }
  out.text = ComposeRecordLine(d.r);
  out.fault_detail = out.fault == FaultKind::kNonDigit ? NonDigitFault(g, d.family, out.text)
                                                       : WrongLengthFault(g, d.family, out.text);
}

}  // namespace grouper::sample
