// The drawing of a file: the generator's own random numbers, the stream of
// each record, and the order of the steps that draw one record (see
// sample_draft.h for the steps).
#include "sample_generator.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "record/form_version.h"
#include "record_writer.h"
#include "sample_draft.h"

namespace grouper::sample {

namespace {

constexpr auto kAllVersions = [] {
  std::array<std::string_view, 1 + kVersionCodes.size()> all = {"base"};
  std::copy(kVersionCodes.begin(), kVersionCodes.end(), all.begin() + 1);
  return all;
}();

constexpr int kMaxDraws = 16;

Family FamilyOfCode(std::string_view code) {
  return code == "base" ? Family::kBase : FamilyOf(code);
}

Random RecordStream(const SampleGenerator& gen, uint64_t index) {
  Random g{gen.options.seed * 0x9e3779b97f4a7c15ULL ^ (index + 1) * 0xd1b54a32d192ed03ULL};
  NextRandom(g);
  return g;
}

struct DrawnRecord {
  Draft draft;
  bool faulty;
  Random g;  // the record's stream, after its clean content
};

DrawnRecord Draw(const SampleGenerator& gen, uint64_t index) {
  Random g = RecordStream(gen, index);
  // The fault decision comes first and is always drawn, so that a record's
  // clean content does not depend on the fault share.
  const bool faulty = NextRandom(g) % kShareScale < gen.options.fault_share;

  const std::vector<std::string>& versions = gen.options.versions;
  const std::string_view code =
      versions.empty()
          ? kAllVersions[Uniform(g, 0, static_cast<int>(std::size(kAllVersions)) - 1)]
          : std::string_view(versions[Uniform(g, 0, static_cast<int>(versions.size()) - 1)]);
  DrawnRecord out{Draft{}, faulty, {}};
  Draft& d = out.draft;
  std::memset(&d.r, 0, sizeof d.r);
  d.code = code;
  d.family = FamilyOfCode(code);
  // A draw whose rows cannot all be made to hold (an irregular rule that the
  // draw broke) is drawn again from the same stream.
  for (int attempt = 0; attempt < kMaxDraws; ++attempt) {
    std::memset(&d.r, 0, sizeof d.r);
    d.target = {};
    d.wild = Chance(g, 20);
    if (!d.wild) d.target = PickTarget(g, d.family);
    const AdlBand band = d.wild ? AdlBand{4, 20} : TargetAdl(d.target, d.family);
    const int adl = PickAdl(g, band.lo, band.hi);

    DrawBackground(g, d, gen, index, adl);
    if (!d.wild) ApplyTarget(g, d);
    if (ApplyFormRules(d)) break;
  }
  out.g = g;
  return out;
}

}  // namespace

uint64_t NextRandom(Random& random) {
  uint64_t z = (random.state += 0x9e3779b97f4a7c15ULL);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

int Uniform(Random& random, int lo, int hi) {
  const uint64_t span = static_cast<uint64_t>(hi - lo) + 1;
  return lo + static_cast<int>(NextRandom(random) % span);
}

bool VersionsValid(const std::vector<std::string>& versions) {
  for (const std::string& v : versions) {
    if (std::find(std::begin(kAllVersions), std::end(kAllVersions), v) == std::end(kAllVersions)) {
      return false;
    }
  }
  return true;
}

SampleGenerator StartSample(const SampleOptions& options) {
  SampleGenerator gen;
  gen.options = options;
  Random g{options.seed ^ 0x5851f42d4c957f2dULL};
  // Drawn also when a month is given, so that the institutions stay the seed's.
  gen.period_start_day = Uniform(g, DaysFromCivil(2013, 1, 1), DaysFromCivil(2030, 10, 1));
  if (options.month_year != 0) {
    const int next_year = options.month_year + (options.month == 12 ? 1 : 0);
    const int next_month = options.month == 12 ? 1 : options.month + 1;
    gen.period_start_day = DaysFromCivil(options.month_year, options.month, 1);
    gen.period_days = DaysFromCivil(next_year, next_month, 1) - gen.period_start_day;
  }
  for (auto& code : gen.institution_codes) {
    // A first digit from 1 on: no base-layout line may start with a version
    // code. The digits after it are drawn first, in a statement of their own,
    // so that no compiler's order of evaluating arguments changes the bytes.
    const int rest = Uniform(g, 0, 9999999);
    const int first = Uniform(g, 1, 9);
    std::snprintf(code, sizeof code, "%d%07d", first, rest);
  }
  return gen;
}

AssessmentRecord SampleRecord(const SampleGenerator& generator, uint64_t index) {
  return Draw(generator, index).draft.r;
}

SampleLine NextSampleLine(SampleGenerator& generator) {
  DrawnRecord drawn = Draw(generator, generator.next_index++);
  Draft& d = drawn.draft;
  SampleLine out;
  out.target = std::string(d.target);
  if (!drawn.faulty) {
    out.text = ComposeRecordLine(d.r);
    return out;
  }

  DrawFaultyLine(drawn.g, d, out);
  return out;
}

}  // namespace grouper::sample
