#include "validate/record_validator.h"

#include <cstring>

#include "record/assessment_record.h"
#include "record/form_version.h"
#include "text/cp949.h"
#include "validate/field_text.h"
#include "validate/sections.h"

namespace grouper {

namespace {

constexpr const char* kVersionMessage = u8"오류-[서식버전] 3자리 숫자를 입력하시오"_cp949;

// The stages in form order; each returns true when the sink has ended the
// validation. Called directly, one after the other, rather than through a
// table: a call through a pointer costs a loop and a load per stage.
template <class Sink>
bool RunSections(AssessmentRecord& record, Family family, Sink& sink) {
  return ValidateSectionA(record, family, sink) || ValidateSectionsBC(record, family, sink) ||
         ValidateSectionsDE(record, family, sink) || ValidateSectionF(record, family, sink) ||
         ValidateSectionG(record, family, sink) || ValidateSectionH(record, family, sink) ||
         ValidateSectionI(record, family, sink) || ValidateSectionsJK(record, family, sink);
}

// What IsNumericText accepts in a text of length 3, in one pass.
bool ThreeDigits(const char (&v)[4]) {
  return v[0] >= '0' && v[0] <= '9' && v[1] >= '0' && v[1] <= '9' && v[2] >= '0' && v[2] <= '9' &&
         v[3] == '\0';
}

template <class Sink>
void RunStages(AssessmentRecord& record, Sink& sink) {
  const Family family = FamilyOfField(record.form_version);
  // The base layout carries no version code; its first bytes belong to A.0.
  if (family != Family::kBase && !ThreeDigits(record.form_version) &&
      sink.Report(nullptr, kVersionMessage)) {
    return;
  }
  RunSections(record, family, sink);
}

}  // namespace

const char* ValidateRecord(AssessmentRecord& record) {
  FirstFault first;
  RunStages(record, first);
  return first.message;
}

std::vector<Fault> CollectFaults(AssessmentRecord& record) {
  FaultList list;
  RunStages(record, list);
  return std::move(list.faults);
}

}  // namespace grouper
