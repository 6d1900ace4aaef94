#include "record/assessment_record.h"

namespace grouper {

namespace {
// Each thread has its own current record.
thread_local AssessmentRecord* current_record = nullptr;
}  // namespace

int SetCurrentRecord(AssessmentRecord* record) {
  current_record = record;
  return 1;
}

AssessmentRecord* CurrentRecord() {
  return current_record;
}

}  // namespace grouper
