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

template <class Sink>
using Stage = bool (*)(AssessmentRecord&, Family, Sink&);
template <class Sink>
constexpr Stage<Sink> kStages[] = {
    ValidateSectionA<Sink>, ValidateSectionsBC<Sink>, ValidateSectionsDE<Sink>,
    ValidateSectionF<Sink>, ValidateSectionG<Sink>,   ValidateSectionH<Sink>,
    ValidateSectionI<Sink>, ValidateSectionsJK<Sink>,
};

template <class Sink>
void RunStages(AssessmentRecord& record, Sink& sink) {
  const Family family = FamilyOf(record.form_version);
  // The base layout carries no version code; its first bytes belong to A.0.
  if (family != Family::kBase &&
      (std::strlen(record.form_version) != 3 || IsNumericText(record.form_version, 0) != 1) &&
      sink.Report(nullptr, kVersionMessage)) {
    return;
  }
  for (Stage<Sink> stage : kStages<Sink>) {
    if (stage(record, family, sink)) return;
  }
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

int RecordValidator(char* error_text) {
  AssessmentRecord* record = CurrentRecord();
  if (record == nullptr) return -1;
  const char* message = ValidateRecord(*record);
  if (message == nullptr) return 1;
  std::memcpy(error_text, message, std::strlen(message) + 1);
  return -1;
}

}  // namespace grouper
