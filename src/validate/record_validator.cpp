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

using Stage = const char* (*)(AssessmentRecord&, Family);
constexpr Stage kStages[] = {
    ValidateSectionA, ValidateSectionsBC, ValidateSectionsDE, ValidateSectionF,
    ValidateSectionG, ValidateSectionH,   ValidateSectionI,   ValidateSectionsJK,
};

}  // namespace

const char* ValidateRecord(AssessmentRecord& record) {
  const Family family = FamilyOf(record.form_version);
  // The base layout carries no version code; its first bytes belong to A.0.
  if (family != Family::kBase &&
      (std::strlen(record.form_version) != 3 || IsNumericText(record.form_version, 0) != 1)) {
    return kVersionMessage;
  }
  for (Stage stage : kStages) {
    if (const char* message = stage(record, family)) return message;
  }
  return nullptr;
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
