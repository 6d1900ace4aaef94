#include "classify/classifier.h"

#include <cstring>

#include "record/assessment_record.h"

namespace grouper {

// Placeholder until the criteria sets are written: no code is formed.
int classify_record(char* output) {
  AssessmentRecord* record = CurrentRecord();
  if (record == nullptr) return -1;
  std::memcpy(output, record->group_code, std::strlen(record->group_code) + 1);
  return 0;
}

}  // namespace grouper
