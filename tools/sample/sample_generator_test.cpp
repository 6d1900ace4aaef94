#include "sample_generator.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "classify/classifier.h"
#include "record/form_version.h"
#include "record/input_layout.h"
#include "record/record_parser.h"
#include "support/cp949.h"
#include "support/line_answer.h"
#include "support/program_runner.h"
#include "validate/record_validator.h"

namespace grouper::sample {
namespace {

using grouper::testing::Cp949;
using grouper::testing::ReadAll;
using grouper::testing::Utf8;

// One line through the same steps as the batch run: framing, parser,
// validator and, for an accepted record, the classifier.
struct Outcome {
  bool accepted = false;
  std::string message;  // why it was rejected, as UTF-8
  std::string code;     // the group code of an accepted record
  AssessmentRecord parsed{};
  ClassificationState classification{};  // of an accepted record
};

Outcome Process(const std::string& text) {
  Outcome out;
  const grouper::testing::Answered a = grouper::testing::AnswerOf(text);
  switch (a.answer.outcome) {
    case grouper::Outcome::kWrongDataType:
      out.message = "wrong data type";
      return out;
    case grouper::Outcome::kMessage:
      out.message = a.MessageUtf8();
      break;
    case grouper::Outcome::kGroupCode:
      out.accepted = true;
      out.code = a.Code();
      out.classification = a.work->classification;
      break;
  }
  // The record as the parser reads it, before the validator takes the blanks
  // out of the names.
  if (ParseRecord(a.text.text, a.text.family, out.parsed) != nullptr) out.parsed = {};
  return out;
}

SampleOptions Options(uint64_t seed, uint32_t fault_share = 0,
                      std::vector<std::string> versions = {}) {
  SampleOptions options;
  options.seed = seed;
  options.fault_share = fault_share;
  options.versions = std::move(versions);
  return options;
}

std::string Describe(uint64_t seed, uint64_t index, const SampleLine& line) {
  return "seed " + std::to_string(seed) + " record " + std::to_string(index) + " (version " +
         line.text.substr(0, 3) + ", target " + (line.target.empty() ? "none" : line.target) +
         ", fault " + FaultKindName(line.fault) + " " + line.fault_detail + ")";
}

enum class Group { kEarly, k090, kFrom091 };
Group GroupOf(const std::string& line) {
  const Family f = FamilyOf(line.substr(0, 3));
  return IsEarly(f) ? Group::kEarly : Is090(f) ? Group::k090 : Group::kFrom091;
}

TEST(SampleGenerator, EveryRecordOfAValidRunPassesTheValidator) {
  for (uint64_t seed : {1ULL, 2ULL, 77ULL, 20240601ULL}) {
    SampleGenerator gen = StartSample(Options(seed));
    std::set<std::string> versions;
    int failures = 0;
    for (uint64_t i = 0; i < 2500; ++i) {
      const SampleLine line = NextSampleLine(gen);
      ASSERT_EQ(line.fault, FaultKind::kNone);
      versions.insert(line.text.substr(0, 3));
      const Outcome out = Process(line.text);
      if (!out.accepted && ++failures <= 10) {
        ADD_FAILURE() << Describe(seed, i, line) << " rejected: " << out.message;
      }
    }
    EXPECT_EQ(failures, 0) << "seed " << seed;
    // The eight codes and a few institution prefixes of the base layout.
    for (const char* code : {"089", "010", "090", "011", "091", "012", "092", "013"}) {
      EXPECT_TRUE(versions.count(code)) << "seed " << seed << " never drew " << code;
    }
    EXPECT_GT(versions.size(), 8u) << "seed " << seed << " drew no base-layout record";
  }
}

TEST(SampleGenerator, RestrictedVersionsAreTheOnlyOnesDrawn) {
  SampleGenerator gen = StartSample(Options(5, 0, {"base", "012"}));
  int base = 0, other = 0;
  for (int i = 0; i < 300; ++i) {
    const SampleLine line = NextSampleLine(gen);
    const Family f = FamilyOf(line.text.substr(0, 3));
    if (f == Family::kBase) {
      ++base;
      EXPECT_EQ(line.text.size(), 258u);
    } else {
      ++other;
      EXPECT_EQ(line.text.substr(0, 3), "012");
    }
    EXPECT_TRUE(Process(line.text).accepted) << Describe(5, i, line);
  }
  EXPECT_GT(base, 100);
  EXPECT_GT(other, 100);
}

// Every criterion code that a family group can record, and every group code
// its table can give.
const std::map<Group, std::vector<std::string>> kCriteria = {
    {Group::kEarly, {"1A", "1B", "1C", "1D", "2A", "2B", "2C", "2D", "2E", "2F", "2G",
                     "2H", "2I", "2J", "2K", "2L", "2M", "2N", "3A", "3B", "3C", "3D",
                     "3E", "3F", "3G", "3H", "3I", "4A", "5A", "6A", "7A"}},
    {Group::k090,
     {"1A", "1B", "1C", "2A", "2B", "2C", "2D", "2E", "2F", "2G", "2H", "2I", "2J", "3A", "3B",
      "3C", "3D", "3E", "3F", "3G", "3H", "3I", "3J", "3K", "3L", "6A", "6B", "6C", "7A"}},
    {Group::kFrom091,
     {"1A", "1B", "1C", "2A", "2B", "2C", "2D", "2E", "2F", "2G", "2H", "2I", "2J", "3A", "3B",
      "3C", "3D", "3E", "3F", "3G", "3H", "3I", "3J", "3K", "3L", "6A", "6B", "6C", "7A"}},
};
const std::map<Group, std::vector<std::string>> kGroupCodes = {
    {Group::kEarly,
     {"A11", "A12", "A21", "A22", "A23", "A31", "A32", "A33", "A41", "A51", "A61", "A62", "A71",
      "A72", "A73"}},
    {Group::k090, {"A11", "A21", "A31", "A61", "A71"}},
    {Group::kFrom091, {"A11", "A21", "A31", "A61", "A71"}},
};
const char* Name(Group g) {
  return g == Group::kEarly ? "early families" : g == Group::k090 ? "090/011" : "from 091";
}

TEST(SampleGenerator, PopulationReachesEveryCriterionAndGroupCodeOfEveryFamilyGroup) {
  std::map<Group, std::set<std::string>> criteria, codes;
  int missed = 0;
  for (uint64_t seed : {3ULL, 4ULL}) {
    SampleGenerator gen = StartSample(Options(seed));
    for (uint64_t i = 0; i < 3000; ++i) {
      const SampleLine line = NextSampleLine(gen);
      const Outcome out = Process(line.text);
      ASSERT_TRUE(out.accepted) << Describe(seed, i, line) << ": " << out.message;
      const Group group = GroupOf(line.text);
      codes[group].insert(out.code);
      std::string recorded;
      for (const auto& slot : out.classification.criteria) {
        if (slot[0] == '\0') continue;
        criteria[group].insert(slot);
        recorded += std::string(" ") + slot;
      }
      // A record drawn for a criterion records it and lands in its group:
      // the rest of the record stays clear of every criterion tested before.
      const bool target_met = line.target == "A11"
                                  ? out.code == "A11"
                                  : recorded.find(" " + line.target) != std::string::npos &&
                                        out.code[1] == line.target[0];
      if (!line.target.empty() && !target_met && ++missed <= 10) {
        ADD_FAILURE() << Describe(seed, i, line) << " recorded" << recorded << ", code "
                      << out.code;
      }
    }
  }
  for (const auto& [group, expected] : kCriteria) {
    for (const std::string& code : expected) {
      EXPECT_TRUE(criteria[group].count(code)) << Name(group) << " never recorded " << code;
    }
  }
  for (const auto& [group, expected] : kGroupCodes) {
    for (const std::string& code : expected) {
      EXPECT_TRUE(codes[group].count(code)) << Name(group) << " never got " << code;
    }
    EXPECT_EQ(codes[group].size(), expected.size())
        << Name(group) << " got a code outside its table";
  }
  EXPECT_EQ(missed, 0);
}

// The byte ranges of the items of a family that differ between two lines of
// equal length, as item names.
std::set<std::string> ChangedItems(const std::string& a, const std::string& b) {
  const Family family = FamilyOf(a.substr(0, 3));
  std::set<std::string> changed;
  if (family != Family::kBase && a.compare(0, 3, b, 0, 3) != 0) changed.insert("form_version");
  for (const LayoutItem& item : InputLayout()) {
    const int start = item.StartIn(family);
    if (start < 0) continue;
    if (a.compare(static_cast<std::size_t>(start), static_cast<std::size_t>(item.width), b,
                  static_cast<std::size_t>(start), static_cast<std::size_t>(item.width)) != 0) {
      changed.insert(item.field_name);
    }
  }
  return changed;
}

// A month's file: every assessment (A.6) in that month, every clean record
// grouped, every faulty one rejected, in any time zone the tests run in.
TEST(SampleGenerator, AMonthsFileHasItsAssessmentsInThatMonth) {
  const struct {
    const char* month;
    const char* first;
    const char* last;
  } cases[] = {{"2026-12", "20261201", "20261231"},
               {"2028-02", "20280201", "20280229"},
               {"1976-01", "19760101", "19760131"},
               {"2037-12", "20371201", "20371231"}};
  for (const auto& c : cases) {
    SampleOptions options = Options(3, kShareScale / 10);
    ASSERT_TRUE(ParseMonth(c.month, &options));
    SampleGenerator gen = StartSample(options);
    std::string first = "99999999", last = "00000000";
    int failures = 0;
    for (uint64_t i = 0; i < 1500; ++i) {
      const SampleLine line = NextSampleLine(gen);
      const Outcome out = Process(line.text);
      if (out.accepted != (line.fault == FaultKind::kNone) && ++failures <= 5) {
        ADD_FAILURE() << c.month << " " << Describe(3, i, line) << ": " << out.message;
      }
      if (!out.accepted) continue;
      const std::string date(out.parsed.a_assessment_date, 8);
      first = std::min(first, date);
      last = std::max(last, date);
    }
    EXPECT_EQ(first, c.first) << c.month;
    EXPECT_EQ(last, c.last) << c.month;
  }
}

TEST(SampleGenerator, EveryFaultyRecordIsRejectedAndEveryOtherAccepted) {
  std::map<FaultKind, int> kinds;
  std::set<std::string> details;
  int faulty = 0, total = 0;
  for (uint64_t seed : {11ULL, 12ULL, 13ULL}) {
    SampleGenerator with_faults = StartSample(Options(seed, kShareScale / 4));
    SampleGenerator clean = StartSample(Options(seed));
    int failures = 0;
    for (uint64_t i = 0; i < 2500; ++i, ++total) {
      const SampleLine line = NextSampleLine(with_faults);
      const SampleLine reference = NextSampleLine(clean);
      const Outcome out = Process(line.text);
      if (line.fault == FaultKind::kNone) {
        EXPECT_EQ(line.text, reference.text) << Describe(seed, i, line);
        if (!out.accepted && ++failures <= 10) {
          ADD_FAILURE() << Describe(seed, i, line) << " rejected: " << out.message;
        }
        continue;
      }
      ++faulty;
      ++kinds[line.fault];
      details.insert(line.fault_detail);
      if (out.accepted && ++failures <= 10) {
        ADD_FAILURE() << Describe(seed, i, line) << " accepted as " << out.code;
      }
      // Exactly one fault: the line is its clean self with one row broken,
      // the first that the validator finds, by a change to what that row
      // reads; or with one item made non-numeric, or a wrong length.
      if (line.fault == FaultKind::kWrongLength) {
        EXPECT_NE(line.text.size(), reference.text.size()) << Describe(seed, i, line);
        continue;
      }
      ASSERT_EQ(line.text.size(), reference.text.size()) << Describe(seed, i, line);
      const std::set<std::string> changed = ChangedItems(line.text, reference.text);
      EXPECT_GE(changed.size(), 1u) << Describe(seed, i, line);
      if (line.row == nullptr) {
        EXPECT_EQ(line.fault, FaultKind::kNonDigit) << Describe(seed, i, line);
        EXPECT_EQ(changed.size(), 1u) << Describe(seed, i, line);
        continue;
      }
      const grouper::testing::Answered answered = grouper::testing::AnswerOf(line.text);
      EXPECT_NE(MessageOfRow(*line.row, answered.answer.message).section, nullptr)
          << Describe(seed, i, line) << " rejected by another row: " << out.message;
      std::set<std::string> reads;
      for (const FieldRef field : RowReads(*line.row)) {
        const LayoutItem* item = FindLayoutItemAt(field.offset);
        reads.insert(item != nullptr ? item->field_name : "form_version");
      }
      for (const std::string& item : changed) {
        EXPECT_TRUE(reads.count(item)) << Describe(seed, i, line) << " changed " << item;
      }
    }
    EXPECT_EQ(failures, 0) << "seed " << seed;
  }
  // A quarter, within a few standard deviations.
  EXPECT_NEAR(static_cast<double>(faulty) / total, 0.25, 0.03);
  EXPECT_EQ(kinds.size(), static_cast<std::size_t>(kFaultKindCount));
  EXPECT_GT(details.size(), 60u);
}

// The output of the tool for the arguments, and its exit status.
struct ToolRun {
  int status;
  std::string out;
  std::string err;
};
ToolRun RunTool(std::vector<const char*> args) {
  args.insert(args.begin(), "grouper-sample");
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  const int status = RunSampleTool(static_cast<int>(args.size()), args.data(), out, err);
  return {status, ReadAll(out), ReadAll(err)};
}

TEST(SampleTool, SameSeedGivesTheSameBytesAndLinesEndInCrLf) {
  const ToolRun a = RunTool({"--count", "400", "--seed", "9", "--faults", "0.2"});
  const ToolRun b = RunTool({"--seed=9", "--faults=0.2", "--count=400"});
  const ToolRun c = RunTool({"--count", "400", "--seed", "10", "--faults", "0.2"});
  ASSERT_EQ(a.status, 0) << a.err;
  EXPECT_EQ(a.out, b.out);
  EXPECT_NE(a.out, c.out);

  int lines = 0;
  for (std::size_t begin = 0; begin < a.out.size(); ++lines) {
    const std::size_t lf = a.out.find('\n', begin);
    ASSERT_NE(lf, std::string::npos);
    ASSERT_GT(lf, begin);
    EXPECT_EQ(a.out[lf - 1], '\r') << "line " << lines;
    EXPECT_EQ(a.out.find('\r', begin), lf - 1) << "line " << lines;
    begin = lf + 1;
  }
  EXPECT_EQ(lines, 400);
}

uint64_t Fnv1a(const std::string& bytes) {
  uint64_t hash = 0xcbf29ce484222325ULL;
  for (unsigned char c : bytes) hash = (hash ^ c) * 0x100000001b3ULL;
  return hash;
}

// A seed promises the same bytes on every machine and from every compiler,
// and files drawn earlier are relied on (the bundled sample, benchmark
// inputs). The hashes are of files written by a GCC build of the generator
// since its faults break the validation rows; a compiler that evaluates a call's arguments in
// another order, a lost code-page conversion or a reordered draw changes them.
TEST(SampleTool, ASeedGivesTheBytesItAlwaysGave) {
  struct Case {
    std::vector<const char*> args;
    std::size_t bytes;
    uint64_t fnv1a;
  };
  const Case cases[] = {
      {{"--count", "3000", "--seed", "1"}, 1128124, 0x30e2333797f3a233ULL},
      {{"--count", "3000", "--seed", "2", "--versions", "base,012", "--faults", "0.2"},
       959507,
       0x206e4342c89b677bULL},
      {{"--count", "3000", "--seed", "5", "--versions", "089,092,013", "--faults", "1"},
       1318945,
       0x6678f3200ff8bcaaULL},
  };
  for (const Case& c : cases) {
    const ToolRun run = RunTool(c.args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.size(), c.bytes) << c.args[3];
    EXPECT_EQ(Fnv1a(run.out), c.fnv1a) << c.args[3];
  }
}

TEST(SampleTool, NamesAreSyntheticCodePage949) {
  SampleGenerator gen = StartSample(Options(21));
  const std::string prefix = Cp949(u8"가상");
  for (int i = 0; i < 200; ++i) {
    const SampleLine line = NextSampleLine(gen);
    const Family family = FamilyOf(line.text.substr(0, 3));
    const std::size_t name =
        static_cast<std::size_t>(FindLayoutItem("patient_name")->StartIn(family));
    EXPECT_EQ(line.text.substr(name, prefix.size()), prefix) << Utf8(line.text);
    // A resident number with birth month 00 belongs to nobody.
    const std::size_t resident =
        static_cast<std::size_t>(FindLayoutItem("resident_number")->StartIn(family));
    EXPECT_EQ(line.text.substr(resident + 2, 5), "00000");
    if (IsFrom090(family)) {
      const std::size_t doctor =
          static_cast<std::size_t>(FindLayoutItem("s_doctor_name")->StartIn(family));
      EXPECT_EQ(line.text.substr(doctor, prefix.size()), prefix);
    }
  }
}

std::string DifferingFields(const AssessmentRecord& a, const AssessmentRecord& b) {
  std::string names;
  const auto* pa = reinterpret_cast<const unsigned char*>(&a);
  const auto* pb = reinterpret_cast<const unsigned char*>(&b);
  for (std::size_t at = 0; at < sizeof a; ++at) {
    if (pa[at] == pb[at]) continue;
    const char* name = "(padding)";
    for (const LayoutItem& item : InputLayout()) {
      if (at >= item.offset && at < item.offset + static_cast<std::size_t>(item.width) + 1) {
        name = item.field_name;
      }
    }
    names += std::string(" ") + name;
  }
  return names;
}

// The line pads text items with blanks, which the parser keeps.
AssessmentRecord WithoutTrailingBlanks(AssessmentRecord r) {
  auto* base = reinterpret_cast<char*>(&r);
  for (const LayoutItem& item : InputLayout()) {
    if (item.kind != ItemKind::kText) continue;
    char* text = base + item.offset;
    for (std::size_t n = std::strlen(text); n > 0 && text[n - 1] == ' '; --n) text[n - 1] = '\0';
  }
  return r;
}

TEST(SampleTool, TheCleanRecordIsWhatTheParserReadsFromItsLine) {
  // Every carried field set, none that the layout does not carry, and every
  // value surviving its columns (tenths, the CDR score in tenths).
  SampleGenerator gen = StartSample(Options(31));
  for (uint64_t i = 0; i < 500; ++i) {
    const AssessmentRecord drawn = WithoutTrailingBlanks(SampleRecord(gen, i));
    const SampleLine line = NextSampleLine(gen);
    const Outcome out = Process(line.text);
    ASSERT_TRUE(out.accepted) << Describe(31, i, line);
    const AssessmentRecord parsed = WithoutTrailingBlanks(out.parsed);
    EXPECT_EQ(std::memcmp(&drawn, &parsed, sizeof drawn), 0)
        << Describe(31, i, line) << DifferingFields(drawn, parsed);
  }
}

TEST(SampleTool, BadArgumentsGiveTheUsageAndStatus2) {
  const std::vector<std::vector<const char*>> cases = {
      {},
      {"--seed", "3"},
      {"--count"},
      {"--count", "-1"},
      {"--count", "1e3"},
      {"--count", "5", "--faults", "1.01"},
      {"--count", "5", "--faults", "-0.1"},
      {"--count", "5", "--faults", "abc"},
      {"--count", "5", "--versions", "089,"},
      {"--count", "5", "--versions", "089,123"},
      {"--count", "5", "--seed", "x"},
      {"--count", "5", "extra"},
      {"--bogus"},
      {"--count", "5", "--month", "2026-13"},
      {"--count", "5", "--month", "abc"},
      {"--count", "5", "--month", "2026-1"},
      {"--count", "5", "--month", "1975-12"},  // admissions before the form's first date
      {"--count", "5", "--month", "2038-01"},  // past the form's last date
  };
  for (const auto& args : cases) {
    std::string joined;
    for (const char* a : args) joined += std::string(a) + " ";
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.status, 2) << joined;
    EXPECT_TRUE(run.out.empty()) << joined;
    EXPECT_NE(run.err.find("usage: grouper-sample --count N"), std::string::npos) << joined;
  }
  const ToolRun zero = RunTool({"--count", "0"});
  EXPECT_EQ(zero.status, 0);
  EXPECT_TRUE(zero.out.empty());
}

TEST(SampleTool, AnOutputThatCannotBeWrittenIsSaidWithItsReason) {
  const std::string said =
      std::string("grouper-sample: cannot write standard output: ") + std::strerror(EBADF) + "\n";
  for (const std::vector<const char*>& args :
       {std::vector<const char*>{"grouper-sample", "--count", "3000"},
        std::vector<const char*>{"grouper-sample", "--help"}}) {
    for (const bool closed : {false, true}) {
      // A stream open for reading only refuses every write, as a closed
      // standard output (given as EBADF) does.
      std::FILE* out = closed ? std::tmpfile() : std::fopen(GROUPER_SAMPLE_BINARY, "rb");
      std::FILE* err = std::tmpfile();
      const int status =
          RunSampleTool(static_cast<int>(args.size()), args.data(), out, err, closed ? EBADF : 0);
      EXPECT_EQ(status, 1) << args[1] << (closed ? " closed" : " read-only");
      EXPECT_EQ(ReadAll(err), said) << args[1] << (closed ? " closed" : " read-only");
      if (closed) {
        EXPECT_EQ(ReadAll(out), "");
      } else {
        std::fclose(out);
      }
    }
  }
}

TEST(SampleTool, SharesAreReadExactly) {
  struct Case {
    const char* text;
    bool ok;
    uint32_t share;
  };
  const Case cases[] = {
      {"0", true, 0},
      {"1", true, kShareScale},
      {"1.0", true, kShareScale},
      {"0.1", true, 100000000},
      {".25", true, 250000000},
      {"0.000000001", true, 1},
      {"", false, 0},
      {".", false, 0},
      {"1.5", false, 0},
      {"2", false, 0},
      {"-0.1", false, 0},
      {"0.1x", false, 0},
      {"1.0000000001", false, 0},
  };
  for (const Case& c : cases) {
    uint32_t share = 12345;
    EXPECT_EQ(ParseShare(c.text, &share), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(share, c.share) << c.text;
    }
  }
}

TEST(SampleTool, TheProgramWritesWhatTheLibraryDraws) {
  // Byte for byte, CR LF included: a standard output that translated line
  // ends (Windows' text mode) would fail here.
  const std::string dir = grouper::testing::MakeTempDir();
  const auto run =
      grouper::testing::Start(dir, {.args = {"--count", "120", "--seed", "4", "--faults", "0.1"},
                                    .program = GROUPER_SAMPLE_BINARY});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.console, RunTool({"--count", "120", "--seed", "4", "--faults", "0.1"}).out);

  const auto usage =
      grouper::testing::Start(dir, {.args = {"--count"}, .program = GROUPER_SAMPLE_BINARY});
  EXPECT_EQ(usage.status, 2);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace grouper::sample
