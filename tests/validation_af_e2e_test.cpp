// The program run on a file of records that break rules of sections A to F,
// mixed with records that pass: a rejected record's output line is the trimmed
// line, 32 blanks and the message, and its console line names the message; an
// accepted record carries no message and its code stands at its family's code
// column.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
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
using testing::SetText;
using testing::SplitCrLf;
using testing::Trimmed;
using testing::Utf8;
using testing::ValidRecord;
using testing::WriteFile;

struct Line {
  std::string code;
  std::string text;
  std::u8string_view message;  // empty: accepted
};

Line Changed(std::string_view code, void (*change)(AssessmentRecord&), std::u8string_view message) {
  AssessmentRecord record = ValidRecord(code);
  change(record);
  return {std::string(code), BuildLine(record), message};
}

std::vector<Line> MixedLines() {
  std::vector<Line> lines;
  lines.push_back(Changed(
      "090", [](AssessmentRecord& r) { r.a_assessment_type = '4'; },
      u8"오류-[A.일반적사항][5.평가구분]1~3 사이값을 입력하시오"));
  lines.push_back(Changed(
      "123", [](AssessmentRecord&) {}, u8""));
  lines.push_back(Changed(
      "089", [](AssessmentRecord& r) { SetText(r.patient_name, "            "); },
      u8"오류-[A.일반적사항][1.환자성명]"));
  // The early layouts carry no A.10 to A.14: a re-assessment needs only A.7
  // and A.8 blank.
  lines.push_back(Changed(
      "010",
      [](AssessmentRecord& r) {
        r.a_assessment_type = '2';
        r.a_residence_before_admission = ' ';
        r.a_education_level = ' ';
      },
      u8""));
  lines.push_back(Changed(
      "091",
      [](AssessmentRecord& r) {
        r.a_social_refused = '1';
        r.a_social_utility_cutoff = '0';
      },
      u8"오류-[A.일반적사항][14.사회환경 선별조사][b. 식사준비, 간병 등의 도움을 줄 수 있는 "
      u8"사람이 없음] space를 입력하시오"));
  lines.push_back(Changed(
      "011", [](AssessmentRecord& r) { r.b_coma = ' '; },
      u8"오류-[B.인지기능][1.혼수상태] 0~1 사이값을 입력하시오"));
  lines.push_back(Changed(
      "092", [](AssessmentRecord& r) { r.c_gds_score = 2; },
      u8"오류-[C.신체기능][7.치매척도검사][d.1 GDS 검사] 미실시 경우 점수 0을 입력하시오."));
  lines.push_back(Changed(
      "013", [](AssessmentRecord& r) { r.d_adl_leaving_room = '5'; },
      u8"오류-[D. 신체기능][9.방밖으로 나오기] 0,1,2,3,4,8 중에서 값을 입력하시오"));
  lines.push_back(Changed(
      "090",
      [](AssessmentRecord& r) {
        r.e_indwelling_catheter = '1';
        r.e_toileting_none = '0';
      },
      u8"오류-[E.배설기능][3.g.유치도뇨관 삽입일자]"));
  // 012 carries the catheter date but is not checked on it.
  lines.push_back(Changed(
      "012",
      [](AssessmentRecord& r) {
        r.e_indwelling_catheter = '1';
        r.e_toileting_none = '0';
      },
      u8""));
  lines.push_back(Changed(
      "091", [](AssessmentRecord& r) { r.e_voiding_diary_days = 3; },
      u8"오류-[E.배설기능][4.배뇨일지 작성 일수] 배뇨일지 작성 여부를 체크하지 않았을 경우 "
      u8"0을 입력하시오"));
  lines.push_back(Changed(
      "010",
      [](AssessmentRecord& r) {
        SetText(r.a_admission_date, "20150101");
        SetText(r.a_care_start_date, "20150101");
        SetText(r.a_assessment_date, "20150228");
        SetText(r.h_weight_date, "20150228");
        r.f_aids = '1';
        r.f_diseases_none_089 = '0';
      },
      u8"오류-[F.질병진단][1.v.후천선면역결핍증] 작성일자가 2015.3 1일 이전 이므로 0 숫자를 "
      u8"입력하시오"));
  lines.push_back(Changed(
      "123", [](AssessmentRecord& r) { r.f_aids = '0'; },
      u8"오류-[F.질병진단][1.v.해당사항 없음] 해당사항 없음이 1이어야 합니다."));
  lines.push_back(Changed(
      "092", [](AssessmentRecord& r) { r.f_malnutrition_none = '2'; },
      u8"오류-[F.질병진단][1.h.해당사항 없음] 0~1 사이 숫자를 입력하시오"));

  // Raw digits as the form gives them: HbA1c "000" is 0.0, below 0.1.
  Line hba1c = Changed(
      "089",
      [](AssessmentRecord& r) {
        r.f_diabetes = '1';
        r.f_glucose_check_done = '0';
        r.f_hba1c_done = '1';
        SetText(r.f_hba1c_date, "20240110");
        r.f_diseases_none_089 = '0';
      },
      u8"오류-[F.질병진단][1.HbAlc] 0.1~99.9 사이 숫자를 입력하시오");
  SetItem(hba1c.text, "f_hba1c", "000");
  lines.push_back(hba1c);
  hba1c.message = u8"";
  SetItem(hba1c.text, "f_hba1c", "001");
  lines.push_back(hba1c);

  // The CDR score "99" is 9.9 on the form and is kept as 9, which passes.
  Line cdr = Changed(
      "091", [](AssessmentRecord&) {}, u8"");
  SetItem(cdr.text, "c_cdr_done", "1");
  SetItem(cdr.text, "c_cdr_score", "99");
  SetItem(cdr.text, "c_cdr_date", "20240110");
  lines.push_back(cdr);
  return lines;
}

using ValidationAfE2E = testing::ProgramTest;

TEST_F(ValidationAfE2E, RejectedRecordsCarryTheirMessageAndAcceptedOnesTheirCode) {
  const std::vector<Line> lines = MixedLines();
  std::string input;
  for (const Line& l : lines) input += l.text + "\r\n";
  WriteFile(Path("in.txt"), input);
  const auto run = RunGrouper(dir_, {"in.txt", "out.txt"});
  EXPECT_EQ(run.exit_status, 0);

  const std::string result = ReadFile(Path("out.txt"));
  ASSERT_GE(result.size(), 2u);
  EXPECT_EQ(result.substr(result.size() - 2), "\r\n");
  const std::vector<std::string> output = SplitCrLf(result);
  ASSERT_EQ(output.size(), lines.size());

  ASSERT_FALSE(run.console.empty());
  EXPECT_EQ(run.console[0], '\n');
  std::vector<std::string> console;
  for (std::size_t start = 1; start < run.console.size();) {
    const std::size_t end = run.console.find('\n', start);
    if (end == std::string::npos) {
      console.push_back(run.console.substr(start));
      break;
    }
    console.push_back(run.console.substr(start, end - start + 1));
    start = end + 1;
  }
  ASSERT_EQ(console.size(), lines.size());

  const std::string error_mark = Cp949(u8"오류-");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Line& l = lines[i];
    const std::string number = std::to_string(i + 1);
    const std::string trimmed = Trimmed(l.text);
    SCOPED_TRACE("line " + number + " (" + l.code + ")");
    if (!l.message.empty()) {
      const std::string message = Cp949(l.message);
      EXPECT_EQ(Utf8(output[i]), Utf8(trimmed + std::string(32, ' ') + message));
      EXPECT_EQ(Utf8(console[i]), Utf8(Cp949(u8"데이타(") + number + ") .. " + message + "\n"));
      continue;
    }
    const std::size_t column = InfoOf(FamilyOf(l.code)).code_column;
    EXPECT_EQ(output[i].find(error_mark), std::string::npos) << Utf8(output[i]);
    EXPECT_EQ(console[i].find(error_mark), std::string::npos) << Utf8(console[i]);
    ASSERT_GE(output[i].size(), column);
    EXPECT_EQ(output[i].substr(0, trimmed.size()), trimmed);
    EXPECT_EQ(output[i].substr(trimmed.size(), column - trimmed.size()),
              std::string(column - trimmed.size(), ' '));
    const std::string code = output[i].substr(column);
    EXPECT_TRUE(code.empty() || code.size() == 3) << "code '" << code << "'";
    EXPECT_EQ(Utf8(console[i]),
              Utf8(Cp949(u8"데이타(") + number + ") .. " + Cp949(u8"완료 (") + code + ")\n"));
  }
}

}  // namespace
}  // namespace grouper
