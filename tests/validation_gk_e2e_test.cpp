// The program run on files of records of every form version: valid records get
// their group code, and records that break a rule of sections G to K or of the
// signature block get that rule's message on their output and console lines.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "record/assessment_record.h"
#include "record/form_version.h"
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
using testing::SetItem;
using testing::SplitCrLf;
using testing::Trimmed;
using testing::Utf8;
using testing::ValidRecord;
using testing::WriteFile;

using ValidationGkE2E = testing::ProgramTest;

// A record that meets no criteria set and has the ADL score 4 falls into the
// lowest band of group G in the early families ("A73"); the families from 090
// give group G one code whatever the score ("A71").
TEST_F(ValidationGkE2E, ValidRecordsOfEveryFormVersionGetTheirCode) {
  struct Line {
    const char* code;
    std::string text;
    const char* group_code;
  };
  std::vector<Line> lines;
  for (const char* code : {"123", "089", "010", "090", "011", "091", "012", "092", "013"}) {
    lines.push_back({code, BuildLine(ValidRecord(code)), IsEarly(FamilyOf(code)) ? "A73" : "A71"});
  }
  // Names with inner blanks are accepted.
  AssessmentRecord inner_blanks = ValidRecord("091");
  std::snprintf(inner_blanks.s_doctor_name, sizeof inner_blanks.s_doctor_name, "%s",
                Cp949(u8"가 상 의사").c_str());
  std::snprintf(inner_blanks.s_nurse_name, sizeof inner_blanks.s_nurse_name, "%s",
                Cp949(u8" 가상 간호").c_str());
  lines.push_back({"091", BuildLine(inner_blanks), "A71"});

  std::string input;
  for (const Line& l : lines) input += l.text + "\r\n";
  WriteFile(Path("in.txt"), input);
  const auto run = RunGrouper(dir_, {"in.txt", "out.txt"});
  EXPECT_EQ(run.exit_status, 0);

  const std::vector<std::string> output = SplitCrLf(ReadFile(Path("out.txt")));
  ASSERT_EQ(output.size(), lines.size());
  std::string expected_console = "\n";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Line& l = lines[i];
    const std::string trimmed = Trimmed(l.text);
    const std::size_t column = InfoOf(FamilyOf(l.code)).code_column;
    ASSERT_GE(output[i].size(), trimmed.size()) << l.code;
    EXPECT_EQ(output[i].substr(0, trimmed.size()), trimmed) << l.code;
    EXPECT_EQ(output[i].substr(trimmed.size(), column - trimmed.size()),
              std::string(column - trimmed.size(), ' '))
        << l.code;
    EXPECT_EQ(output[i].substr(column), l.group_code) << l.code << ": " << Utf8(output[i]);
    expected_console +=
        Cp949(u8"데이타(") + std::to_string(i + 1) + Cp949(u8") .. 완료 (") + l.group_code + ")\n";
  }
  EXPECT_EQ(run.console, expected_console) << Utf8(run.console);
}

// Every broken line is answered with the message of its first broken rule,
// after the trimmed line and 32 blanks.
TEST_F(ValidationGkE2E, BrokenRecordsGetTheMessageOfTheirFirstBrokenRule) {
  struct Line {
    std::string text;
    std::size_t trimmed_length;  // 0: not asserted
    const char8_t* message;
  };
  std::vector<Line> lines;
  auto add = [&](std::string text, const char8_t* message, std::size_t trimmed_length = 0) {
    lines.push_back({std::move(text), trimmed_length, message});
  };

  {
    std::string line = BuildLine(ValidRecord("089"));
    SetItem(line, "g_fever", "2");
    add(line, u8"오류-[G.건강상태][1.a.열] 0~1 사이 숫자를 입력하시오");
  }
  {
    AssessmentRecord r = ValidRecord("090");
    r.g_pain_visual_scale = 3;
    add(BuildLine(r),
        u8"오류-[G.건강상태][2.a.통증 발생 빈도] 통증 발생 빈도가 1 또는 2이어야 합니다.");
  }
  {
    std::string line = BuildLine(ValidRecord("091"));
    SetItem(line, "g_fever_days", "05");
    add(line,
        u8"오류-[G.건강상태][1.a.열][3.발열일수] 열을 체크하지 않았을 경우 0을 입력하십시오 ");
  }
  {
    AssessmentRecord r = ValidRecord("013");
    r.g_dehydration = '1';
    add(BuildLine(r), u8"오류-[G.건강상태][1.f.해당사항 없음] 해당사항 없음이 0이어야 합니다.");
  }
  {
    std::string line = BuildLine(ValidRecord("123"));
    SetItem(line, "h_weight", "0000");
    add(line, u8"오류-[H.구강 및 영양상태][2.체중] 0.1~999.9 사이 숫자를 입력하시오");
  }
  {
    std::string line = BuildLine(ValidRecord("011"));
    SetItem(line, "h_height", "9999");  // 999.9 passes
    SetItem(line, "h_height_date", "20241301");
    add(line, u8"오류-[H.구강및영양상태][2.3.키][b-2.측정일]");
  }
  {
    AssessmentRecord r = ValidRecord("092");
    r.h_parenteral_nutrition = '1';
    r.h_calorie_intake = '2';
    r.h_fluid_intake = '2';
    r.h_tube_feeding_days = 5;
    add(BuildLine(r),
        u8"오류-[H.구강및영양상태][3.b.2.경관영양 실시일수 ] 경관영양을 체크하지 않았을 경우 "
        u8"0을 입력하시오");
  }
  {
    AssessmentRecord r = ValidRecord("010");
    r.i_open_lesions = '1';
    r.i_skin_problems_none = '0';
    add(BuildLine(r),
        u8"오류-[I.피부상태][4.b.개방성 피부병변]이 있을 경우 부위값중 적어도 하나는 1이어야 "
        u8"합니다.");
  }
  {
    AssessmentRecord r = ValidRecord("012");
    r.i_skin_treatment_g = '1';
    add(BuildLine(r), u8"오류-[I.피부상태][5.h.해당사항 없음] 해당사항 없음이 0이어야 합니다.");
  }
  {
    AssessmentRecord r = ValidRecord("011");
    r.k_ventilator = '1';
    r.k_treatments_none = '0';
    add(BuildLine(r),
        u8"오류-[K.특수처치 및 전문재활치료][1.인공호흡기]가 있을 경우 부위값중 적어도 하나는 "
        u8"1이어야 합니다.");
  }
  {
    std::string line = BuildLine(ValidRecord("012"));
    SetItem(line, "k_iv_medication_days", "03");
    add(line,
        u8"오류-[K.특수처치 및 전문재활치료][1.a.정맥주사에 의한 투약 일수] 정맥주사에 의한 "
        u8"투약을 체크하지 않았을 경우 0을 입력하시오");
  }
  {
    std::string line = BuildLine(ValidRecord("091"));
    SetItem(line, "k_oxygen_saturation", "0950");
    add(line,
        u8"오류-[K.특수처치 및 전문재활치료][1.e.산소요법][1.산소포화도] 산소요법을 체크하지 "
        u8"않았을 경우 0을 입력하시오.");
  }
  {
    AssessmentRecord r = ValidRecord("092");
    r.k_treatments_none_091 = '0';
    add(BuildLine(r),
        u8"오류-[K.특수처치 및 전문재활치료][1.k.해당사항 없음] 해당사항 없음이 1이어야 "
        u8"합니다.");
  }
  {
    std::string line = BuildLine(ValidRecord("089"));
    SetItem(line, "k_rehab_days", "8");
    add(line,
        u8"오류-[K.특수처치 및 전문재활치료][2.전문재활치료 실시일수] 0~7 사이 숫자를 "
        u8"입력하시오");
  }
  {
    // A blank nurse's name is trimmed away with the line's trailing blanks;
    // the doctor's name fills its twelve bytes.
    std::string line = BuildLine(ValidRecord("090"));
    SetItem(line, "s_doctor_name", Cp949(u8"가상의사선생"));
    SetItem(line, "s_nurse_name", "");
    add(line, u8"오류-[작성][서명] 간호사 성명을 입력하시오", 360);
  }
  {
    std::string line = BuildLine(ValidRecord("011"));
    SetItem(line, "s_doctor_name", "");
    SetItem(line, "s_nurse_name", "");
    add(line, u8"오류-[작성][서명] 의사 성명을 입력하시오", 348);
  }
  {
    std::string line = BuildLine(ValidRecord("092"));
    SetItem(line, "s_doctor_name", "");
    add(line, u8"오류-[작성][서명] 의사 성명을 입력하시오");
  }

  std::string input;
  for (const Line& l : lines) input += l.text + "\r\n";
  WriteFile(Path("in.txt"), input);
  const auto run = RunGrouper(dir_, {"in.txt", "out.txt"});
  EXPECT_EQ(run.exit_status, 0);

  const std::vector<std::string> output = SplitCrLf(ReadFile(Path("out.txt")));
  ASSERT_EQ(output.size(), lines.size());
  std::string expected_console = "\n";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Line& l = lines[i];
    const std::string message = Cp949(l.message);
    const std::string trimmed = Trimmed(l.text);
    if (l.trimmed_length != 0) {
      ASSERT_EQ(trimmed.size(), l.trimmed_length) << "line " << i + 1;
    }
    const std::string expected = trimmed + std::string(32, ' ') + message;
    EXPECT_TRUE(output[i] == expected)
        << "line " << i + 1 << "\n  got:  " << Utf8(output[i].substr(trimmed.size()))
        << "\n  want: " << Utf8(expected.substr(trimmed.size()));
    expected_console += Cp949(u8"데이타(") + std::to_string(i + 1) + ") .. " + message + "\n";
  }
  EXPECT_EQ(run.console, expected_console) << Utf8(run.console);
}

}  // namespace
}  // namespace grouper
