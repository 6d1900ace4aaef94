#include "record/assessment_record.h"

namespace grouper {

namespace {
AssessmentRecord* current_record = nullptr;
}  // namespace

int SetCurrentRecord(AssessmentRecord* record) {
  current_record = record;
  return 1;
}

AssessmentRecord* CurrentRecord() {
  return current_record;
}

}  // namespace grouper
