// Synthetic assessment files for tests, benchmarks and the bundled sample.
//
// The generator draws records of every form version that the validation rows
// accept: after the answers are drawn, every row that fails is mended with the
// nearest answer it allows (the rows are asked, not restated), so every answer
// lies in its range, every gated item is blank, zero or absent exactly when its
// gate says so, every none-applies flag agrees with its list, and the dates
// are valid and in order (a file holds about two
// months of assessments, its period drawn from the seed). Most records follow a
// clinical theme aimed at one criterion of the classifier (a ventilator, a
// stage-3 ulcer, a treated behavioural symptom, ...) with an ADL score drawn
// with a bias to the band edges, so that a few thousand records reach every
// patient group and every criterion code of every family group; the others are
// drawn freely within the rules. Only synthetic people appear: names are "가상"
// and a number, and resident numbers carry a birth month "00".
//
// A share of the records may be given exactly one deliberate fault, drawn
// from many kinds (a non-digit in a numeric item, an answer out of range, a
// broken gate, a missing or needless date, dates out of order, a wrong
// none-applies flag, a wrong line length, a broken identity field). Apart from
// the non-digit and the length, a fault breaks one validation row that applies
// to the record, and the batch rejects the line with that row's message.
//
// Output is deterministic for a seed on every platform and compiler: the
// generator uses its own small random number generator and integer arithmetic
// only, and draws each number in a statement of its own. Record i is drawn
// from its own stream, so its clean content does not depend on the fault
// share; a faulty record is its clean self with one fault applied. Lines are
// written in code page 949 (the Korean literals are converted while compiling).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "record/assessment_record.h"
#include "validate/row.h"

namespace grouper::sample {

// splitmix64: small, fast and the same everywhere.
struct Random {
  uint64_t state;
};
uint64_t NextRandom(Random& random);
// A number from lo to hi inclusive.
int Uniform(Random& random, int lo, int hi);

enum class FaultKind {
  kNone,
  kNonDigit,          // a non-digit byte in a numeric item
  kOutOfRange,        // an answer outside its range or set
  kBrokenGate,        // an item answered where it must be blank or zero, or the reverse
  kMissingDate,       // a required date absent or invalid
  kNeedlessDate,      // a real date where the absent date is required
  kDateOrder,         // admission after the care start or assessment date
  kWrongNoneOfAbove,  // a none-applies flag that disagrees with its list
  kWrongLength,       // a line of the wrong length for its form version
  kBadIdentity,       // institution code, resident number or a name broken
};
inline constexpr int kFaultKindCount = 9;  // the kinds other than kNone
const char* FaultKindName(FaultKind kind);

inline constexpr uint32_t kShareScale = 1000000000;  // shares are given in parts per billion

struct SampleOptions {
  uint64_t seed = 1;
  // Form-version codes to draw from ("089", ..., "013", and "base" for the base
  // layout); empty means all nine.
  std::vector<std::string> versions;
  uint32_t fault_share = 0;  // of kShareScale
  // The month of the assessments (1976-01 to 2037-12; year 0: none): every
  // assessment date falls in it, and the other dates before them, as they do
  // around the period drawn from the seed without it.
  int month_year = 0, month = 0;
};

struct SampleLine {
  std::string text;  // the input line, without line end
  FaultKind fault = FaultKind::kNone;
  std::string fault_detail;  // which item the fault broke; empty for a valid line
  // The validation row the fault broke (the batch rejects the line with its
  // message); nullptr for a valid line and for a fault of the line itself (a
  // non-digit, a wrong length).
  const Row* row = nullptr;
  std::string
      target;  // criterion code drawn for, or "A11" (three group-A conditions); "" when free
};

struct SampleGenerator {
  SampleOptions options;
  uint64_t next_index = 0;
  char institution_codes[4][9];  // a few institutions per file
  int period_start_day = 0;      // of the assessments, in days since 1970-01-01
  int period_days = 61;          // the days of that period
};

// True when every entry of `versions` is one of the eight codes or "base".
bool VersionsValid(const std::vector<std::string>& versions);

// A generator at record 0 of the stream that `options` (versions valid)
// choose; the same options always give the same lines, on every platform.
SampleGenerator StartSample(const SampleOptions& options);
// The next line of the stream, with what it was drawn for and its fault.
SampleLine NextSampleLine(SampleGenerator& generator);

// The clean record that NextSampleLine would draw as record `index`, before
// any fault (for tests and benchmarks that need records rather than lines).
AssessmentRecord SampleRecord(const SampleGenerator& generator, uint64_t index);

// Reads a share written as a decimal fraction from 0 to 1 ("0.1", ".25", "1",
// "0") into parts per billion; false when the text is no such number.
bool ParseShare(std::string_view text, uint32_t* share);

// Reads a month written "YYYY-MM", from 1976-01 to 2037-12 (the range in
// which every date that a record draws around its assessment is a valid date
// of the form), into `options`; false when the text is no such month.
bool ParseMonth(std::string_view text, SampleOptions* options);

// The command-line tool: grouper-sample --count N [--seed S]
// [--versions 089,090,...] [--faults P] [--month YYYY-MM], its options read as util/options.h
// reads them. Writes the lines, each ending in CR LF, to `out`; a nonzero
// `out_error` says that `out` cannot be written at all (EBADF for a standard
// output that the caller closed). Returns the exit status: 0 on success (also
// after --help, the usage and the options, or --version, the name and the
// library's version, on `out`), 2 after a usage message on `err` for bad
// arguments, 1 after a message on `err` with the system's reason when `out`
// could not be written.
int RunSampleTool(int argc, const char* const* argv, std::FILE* out, std::FILE* err,
                  int out_error = 0);

}  // namespace grouper::sample
