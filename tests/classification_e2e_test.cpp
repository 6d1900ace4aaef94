// The program run on a file with one valid record of each layout, each
// changed to reach another patient group: every output line carries its group
// code at its family's code column, and the console shows one completion line
// per record after the initial line feed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "record/assessment_record.h"
#include "support/cp949.h"
#include "support/program_runner.h"
#include "support/record_builder.h"

namespace grouper {
namespace {

using testing::BuildLine;
using testing::Cp949;
using testing::MakeTempDir;
using testing::ReadFile;
using testing::RunGrouper;
using testing::SplitCrLf;
using testing::Trimmed;
using testing::Utf8;
using testing::ValidRecord;
using testing::WriteFile;

void ScoredAdl(AssessmentRecord& r, char answer) {
  r.d_adl_eating = r.d_adl_changing_position = r.d_adl_transferring = r.d_adl_toilet_use = answer;
}

struct Expected {
  std::string line;  // as written to the input, without its line end
  int code_column;
  const char* code;
};

std::vector<Expected> RecordsOfEveryLayout() {
  std::vector<Expected> records;

  // Base layout, no criterion at ADL score 12: group G, middle band.
  AssessmentRecord base = ValidRecord("123");
  ScoredAdl(base, '2');
  records.push_back({BuildLine(base), 290, "A72"});

  // 089: tracheostomy care at ADL score 4: group B, lowest band.
  AssessmentRecord early = ValidRecord("089");
  early.k_tracheostomy_care = '1';
  early.k_treatments_none = '0';
  records.push_back({BuildLine(early), 294, "A23"});

  // 090: nebuliser therapy: group C.
  AssessmentRecord r090 = ValidRecord("090");
  r090.k_nebulizer = '1';
  r090.k_treatments_none = '0';
  records.push_back({BuildLine(r090), 398, "A31"});

  // 091: a personal ventilator at ADL score 12: group A.
  AssessmentRecord r091 = ValidRecord("091");
  ScoredAdl(r091, '2');
  r091.k_ventilator_091 = r091.k_ventilator_personal_091 = '1';
  r091.k_treatments_none_091 = '0';
  records.push_back({BuildLine(r091), 398, "A11"});

  // 092: two days of rehabilitation at ADL score 12: group F.
  AssessmentRecord r092 = ValidRecord("092");
  ScoredAdl(r092, '2');
  r092.k_rehab_days = 2;
  records.push_back({BuildLine(r092), 550, "A61"});
  return records;
}

using ClassificationE2E = testing::ProgramTest;

TEST_F(ClassificationE2E, EveryLayoutGetsItsGroupCodeAtItsColumn) {
  const std::vector<Expected> records = RecordsOfEveryLayout();
  std::string input;
  for (const Expected& e : records) input += e.line + "\r\n";
  WriteFile(Path("in.txt"), input);

  const testing::ProgramRun run = RunGrouper(dir_, {"in.txt", "out.txt"});
  EXPECT_EQ(run.exit_status, 0);

  const std::vector<std::string> out = SplitCrLf(ReadFile(Path("out.txt")));
  ASSERT_EQ(out.size(), records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    const Expected& e = records[i];
    const std::string trimmed = Trimmed(e.line);
    ASSERT_LT(trimmed.size(), static_cast<std::size_t>(e.code_column)) << "line " << i + 1;
    const std::string expected =
        trimmed + std::string(static_cast<std::size_t>(e.code_column) - trimmed.size(), ' ') +
        e.code;
    EXPECT_EQ(out[i].substr(static_cast<std::size_t>(e.code_column)), e.code)
        << "line " << i + 1 << ": " << Utf8(out[i].substr(trimmed.size()));
    EXPECT_EQ(out[i], expected) << "line " << i + 1;
  }
  // Every output line, the last included, ends in CR LF.
  EXPECT_EQ(ReadFile(Path("out.txt")).size(), [&] {
    std::size_t total = 0;
    for (const Expected& e : records) total += static_cast<std::size_t>(e.code_column) + 3 + 2;
    return total;
  }());

  const std::string console =
      "\n" + Cp949(u8"데이타(1) .. 완료 (A72)") + "\n" + Cp949(u8"데이타(2) .. 완료 (A23)") + "\n" +
      Cp949(u8"데이타(3) .. 완료 (A31)") + "\n" + Cp949(u8"데이타(4) .. 완료 (A11)") + "\n" +
      Cp949(u8"데이타(5) .. 완료 (A61)") + "\n";
  EXPECT_EQ(run.console, console) << Utf8(run.console);
}

}  // namespace
}  // namespace grouper
