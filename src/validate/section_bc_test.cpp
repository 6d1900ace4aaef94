// Sections B and C through the whole validator: the coma gate in both forms,
// the not-performed rule of the K-MMSE and of the dementia scales, and the
// dementia scales' absence from the early families.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

#include "record/assessment_record.h"
#include "support/cp949.h"
#include "support/record_builder.h"
#include "support/validation_case.h"
#include "validate/record_validator.h"

namespace grouper {
namespace {

using namespace testing;  // the test support of this project, not GoogleTest
using Case = ValidationCase;

// A patient in a coma: nothing of B.2 to C.7 answered.
void MakeComa(AssessmentRecord& r) {
  r.b_coma = '1';
  r.b_delirium = ' ';
  SetEach(r, {field_groups::kCognition, field_groups::kBehaviours}, ' ');
  r.c_kmmse_done = ' ';
  r.c_cdr_done = ' ';
  r.c_gds_done = ' ';
}

void KmmseDone(AssessmentRecord& r) {
  r.c_kmmse_done = '1';
  r.c_kmmse_score = 25;
  SetText(r.c_kmmse_date, "20240110");
}
void CdrDone(AssessmentRecord& r) {
  r.c_cdr_done = '1';
  r.c_cdr_score = 0;
  SetText(r.c_cdr_date, "20240110");
}
void GdsDone(AssessmentRecord& r) {
  r.c_gds_done = '1';
  r.c_gds_score = 4;
  SetText(r.c_gds_date, "20240110");
}

TEST(SectionsBC, ComaStateAndAnsweredItems) {
  const Case cases[] = {
      {"blank coma state", "090", [](AssessmentRecord& r) { r.b_coma = ' '; },
       u8"오류-[B.인지기능][1.혼수상태] 0~1 사이값을 입력하시오"},
      {"coma state 2", "123", [](AssessmentRecord& r) { r.b_coma = '2'; },
       u8"오류-[B.인지기능][1.혼수상태] 0~1 사이값을 입력하시오"},
      {"awake, delirium 3", "089", [](AssessmentRecord& r) { r.b_delirium = '3'; },
       u8"오류-[B.인지기능][2.섬망] 0~2 사이값을 입력하시오"},
      {"awake, expression 2", "123", [](AssessmentRecord& r) { r.c_expression = '2'; },
       u8"오류-[C.인지기능][4.의사표현] 0~1 사이값을 입력하시오"},
      {"awake, every item at its top value", "090",
       [](AssessmentRecord& r) {
         r.b_delirium = '2';
         r.c_short_term_memory = '2';
         r.c_cognitive_skills = '3';
         r.c_making_understood = '3';
         r.c_expression = '1';
         SetEach(r, {field_groups::kBehaviours}, '3');
       },
       u8""},
      {"awake, the first failing item wins", "091",
       [](AssessmentRecord& r) {
         r.c_agitation = '9';
         r.c_wandering = '9';
       },
       u8"오류-[C.인지기능][5.c.초조/공격성] 0~3 사이값을 입력하시오"},
  };
  for (const Case& c : cases) ExpectVerdict(c);
}

TEST(SectionsBC, Kmmse) {
  const Case cases[] = {
      {"flag 2", "090", [](AssessmentRecord& r) { r.c_kmmse_done = '2'; },
       u8"오류-[C.인지기능][6.K-MMSE 실시여부] 0~1 사이값을 입력하시오"},
      {"not done, score 12 and a real date: the score first", "089",
       [](AssessmentRecord& r) {
         r.c_kmmse_score = 12;
         SetText(r.c_kmmse_date, "20240110");
       },
       u8"오류-[C.신체기능][6.K-MMSE] 미실시 경우 점수 0을 입력하시오."},
      {"not done, negative score", "091", [](AssessmentRecord& r) { r.c_kmmse_score = -1; },
       u8"오류-[C.신체기능][6.K-MMSE] 미실시 경우 점수 0을 입력하시오."},
      {"not done, a real date", "090",
       [](AssessmentRecord& r) { SetText(r.c_kmmse_date, "20240110"); },
       u8"오류-[C.신체기능][6.K-MMSE] 미실시 경우 검사일 \"00000000\"을 입력하시오."},
      {"not done, a blank date", "010",
       [](AssessmentRecord& r) { SetText(r.c_kmmse_date, "        "); },
       u8"오류-[C.신체기능][6.K-MMSE] 미실시 경우 검사일 \"00000000\"을 입력하시오."},
      {"done with score and date", "092", KmmseDone, u8""},
      {"done, score 99", "090",
       [](AssessmentRecord& r) {
         KmmseDone(r);
         r.c_kmmse_score = 99;
       },
       u8""},
      {"done, score 100", "123",
       [](AssessmentRecord& r) {
         KmmseDone(r);
         r.c_kmmse_score = 100;
       },
       u8"오류-[C.인지기능][6.K-MMSE 점수] 0~99 사이 숫자를 입력하시오"},
      {"done, score -1", "090",
       [](AssessmentRecord& r) {
         KmmseDone(r);
         r.c_kmmse_score = -1;
       },
       u8"오류-[C.인지기능][6.K-MMSE 점수] 0~99 사이 숫자를 입력하시오"},
      {"done, score 0", "089",
       [](AssessmentRecord& r) {
         KmmseDone(r);
         r.c_kmmse_score = 0;
       },
       u8""},
      {"done, absent date", "091",
       [](AssessmentRecord& r) {
         KmmseDone(r);
         SetText(r.c_kmmse_date, "00000000");
       },
       u8"오류-[C.인지기능][6.K-MMSE 검사일]"},
  };
  for (const Case& c : cases) ExpectVerdict(c);
}

TEST(SectionsBC, DementiaScales) {
  const Case cases[] = {
      {"CDR flag 2", "090", [](AssessmentRecord& r) { r.c_cdr_done = '2'; },
       u8"오류-[C.인지기능][7.치매 척도 검사][a.검사실시여부] 0~1 사이값을 입력하시오"},
      {"CDR not done, score 1", "091", [](AssessmentRecord& r) { r.c_cdr_score = 1; },
       u8"오류-[C.신체기능][7.치매척도검사][b.1 CDR 검사] 미실시 경우 점수 0을 입력하시오."},
      {"CDR not done, a real date", "013",
       [](AssessmentRecord& r) { SetText(r.c_cdr_date, "20240110"); },
       u8"오류-[C.신체기능][7.치매척도검사][b.2 CDR 검사일]  미실시 경우 검사일 "
       u8"\"00000000\"을 입력하시오."},
      {"CDR done, score 0", "090", CdrDone, u8""},
      {"CDR done, score 9 (9.x on the form)", "092",
       [](AssessmentRecord& r) {
         CdrDone(r);
         r.c_cdr_score = 9;
       },
       u8""},
      {"CDR done, score 10", "011",
       [](AssessmentRecord& r) {
         CdrDone(r);
         r.c_cdr_score = 10;
       },
       u8"오류-[C.인지기능][7.치매 척도 검사][b.1 점수] 0~99 사이 숫자를 입력하시오"},
      {"CDR done, score -1", "090",
       [](AssessmentRecord& r) {
         CdrDone(r);
         r.c_cdr_score = -1;
       },
       u8"오류-[C.인지기능][7.치매 척도 검사][b.1 점수] 0~99 사이 숫자를 입력하시오"},
      {"CDR done, absent date", "012",
       [](AssessmentRecord& r) {
         CdrDone(r);
         SetText(r.c_cdr_date, "00000000");
       },
       u8"오류-[C.인지기능][7.치매 척도 검사][b.2 검사일]"},
      {"GDS not done, score 3", "090", [](AssessmentRecord& r) { r.c_gds_score = 3; },
       u8"오류-[C.신체기능][7.치매척도검사][d.1 GDS 검사] 미실시 경우 점수 0을 입력하시오."},
      {"GDS not done, a real date", "092",
       [](AssessmentRecord& r) { SetText(r.c_gds_date, "20240110"); },
       u8"오류-[C.신체기능][7.치매척도검사][d.2 GDS 검사일]  미실시 경우 검사일 "
       u8"\"00000000\"을 입력하시오."},
      {"GDS done, score 9", "090",
       [](AssessmentRecord& r) {
         GdsDone(r);
         r.c_gds_score = 9;
       },
       u8""},
      {"GDS done, score 10", "091",
       [](AssessmentRecord& r) {
         GdsDone(r);
         r.c_gds_score = 10;
       },
       u8"오류-[C.인지기능][7.치매 척도 검사][d.1 점수] 0~9 사이 숫자를 입력하시오"},
      {"GDS done, absent date", "013",
       [](AssessmentRecord& r) {
         GdsDone(r);
         SetText(r.c_gds_date, "00000000");
       },
       u8"오류-[C.인지기능][7.치매 척도 검사][d.2 검사일]"},
      {"all three tests done", "092",
       [](AssessmentRecord& r) {
         KmmseDone(r);
         CdrDone(r);
         GdsDone(r);
       },
       u8""},
      {"C.6 is checked before C.7", "090",
       [](AssessmentRecord& r) {
         r.c_cdr_done = '2';
         r.c_kmmse_score = 5;
       },
       u8"오류-[C.신체기능][6.K-MMSE] 미실시 경우 점수 0을 입력하시오."},
      {"CDR is checked before GDS", "091",
       [](AssessmentRecord& r) {
         r.c_gds_done = '2';
         SetText(r.c_cdr_date, "20240110");
       },
       u8"오류-[C.신체기능][7.치매척도검사][b.2 CDR 검사일]  미실시 경우 검사일 "
       u8"\"00000000\"을 입력하시오."},
  };
  for (const Case& c : cases) ExpectVerdict(c);
}

TEST(SectionsBC, ComaLeavesEveryItemUnanswered) {
  const Case cases[] = {
      {"coma, all blank, zero and absent", "090", MakeComa, u8""},
      {"coma in an early family", "089", MakeComa, u8""},
      {"coma, delirium 0", "091",
       [](AssessmentRecord& r) {
         MakeComa(r);
         r.b_delirium = '0';
       },
       u8"오류-[B.인지기능][2.섬망] space를 입력하시오"},
      {"coma, wandering NUL", "092",
       [](AssessmentRecord& r) {
         MakeComa(r);
         r.c_wandering = '\0';
       },
       u8"오류-[C.인지기능][5.n.배회] space를 입력하시오"},
      {"coma, K-MMSE flag 0", "090",
       [](AssessmentRecord& r) {
         MakeComa(r);
         r.c_kmmse_done = '0';
       },
       u8"오류-[C.인지기능][6.K-MMSE 실시여부] space를 입력하시오"},
      {"coma, K-MMSE score 5", "010",
       [](AssessmentRecord& r) {
         MakeComa(r);
         r.c_kmmse_score = 5;
       },
       u8"오류-[C.신체기능][6.K-MMSE] 미실시 경우 점수 0을 입력하시오."},
      {"coma, K-MMSE date", "091",
       [](AssessmentRecord& r) {
         MakeComa(r);
         SetText(r.c_kmmse_date, "20240110");
       },
       u8"오류-[C.신체기능][6.K-MMSE] 미실시 경우 검사일 \"00000000\"을 입력하시오."},
      {"coma, CDR flag 0", "090",
       [](AssessmentRecord& r) {
         MakeComa(r);
         r.c_cdr_done = '0';
       },
       u8"오류-[C.인지기능][7.치매 척도 검사][a.검사실시여부] space를 입력하시오"},
      {"coma, CDR score 2", "012",
       [](AssessmentRecord& r) {
         MakeComa(r);
         r.c_cdr_score = 2;
       },
       u8"오류-[C.신체기능][7.치매척도검사][b.1 CDR 검사] 미실시 경우 점수 0을 입력하시오."},
      {"coma, CDR date", "092",
       [](AssessmentRecord& r) {
         MakeComa(r);
         SetText(r.c_cdr_date, "20240110");
       },
       u8"오류-[C.신체기능][7.치매척도검사][b.2 CDR 검사일]  미실시 경우 검사일 "
       u8"\"00000000\"을 입력하시오."},
      {"coma, GDS flag 1", "013",
       [](AssessmentRecord& r) {
         MakeComa(r);
         r.c_gds_done = '1';
       },
       u8"오류-[C.인지기능][7.치매 척도 검사][c.검사실시여부] space를 입력하시오"},
      {"coma, GDS score 1", "090",
       [](AssessmentRecord& r) {
         MakeComa(r);
         r.c_gds_score = 1;
       },
       u8"오류-[C.신체기능][7.치매척도검사][d.1 GDS 검사] 미실시 경우 점수 0을 입력하시오."},
      {"coma, GDS date", "091",
       [](AssessmentRecord& r) {
         MakeComa(r);
         SetText(r.c_gds_date, "        ");
       },
       u8"오류-[C.신체기능][7.치매척도검사][d.2 GDS 검사일]  미실시 경우 검사일 "
       u8"\"00000000\"을 입력하시오."},
  };
  for (const Case& c : cases) ExpectVerdict(c);
}

// The early layouts carry no dementia scales: whatever the record holds in
// those fields passes, awake or in a coma.
TEST(SectionsBC, EarlyFamiliesAreNotCheckedOnDementiaScales) {
  auto garbage = [](AssessmentRecord& r) {
    r.c_cdr_done = 'X';
    r.c_cdr_score = 77;
    SetText(r.c_cdr_date, "garbage!");
    r.c_gds_done = '\0';
    r.c_gds_score = -5;
    SetText(r.c_gds_date, "");
  };
  auto coma_garbage = [](AssessmentRecord& r) {
    MakeComa(r);
    r.c_cdr_done = '1';
    r.c_cdr_score = 3;
    SetText(r.c_cdr_date, "20240110");
  };
  for (std::string_view code : {"123", "089", "010"}) {
    ExpectVerdict({"awake, C.7 fields hold anything", code, garbage, u8""});
    ExpectVerdict({"coma, C.7 answered", code, coma_garbage, u8""});
  }
  ExpectVerdict({"awake, the same fields under 011", "011", garbage,
                 u8"오류-[C.인지기능][7.치매 척도 검사][a.검사실시여부] 0~1 사이값을 입력하시오"});
  ExpectVerdict({"coma, the same fields under 090", "090", coma_garbage,
                 u8"오류-[C.인지기능][7.치매 척도 검사][a.검사실시여부] space를 입력하시오"});
}

}  // namespace
}  // namespace grouper
