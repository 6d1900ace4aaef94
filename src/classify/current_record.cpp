// The classifier's operations in their forms without arguments: they work on
// the current record and keep the values of the classification in the calling
// thread's ClassificationState, where LastClassification() finds them.
#include <cstring>

#include "classify/classifier.h"
#include "classify/criteria_sets.h"
#include "classify/scores.h"
#include "record/assessment_record.h"

namespace grouper {

namespace {

thread_local ClassificationState last_classification{};

// Runs `operation` on the current record and this thread's classification;
// -1 when no record is current.
template <auto operation>
int OnCurrentRecord() {
  const AssessmentRecord* record = CurrentRecord();
  if (record == nullptr) return -1;
  return operation(*record, last_classification);
}

}  // namespace

const ClassificationState& LastClassification() {
  return last_classification;
}

int classify_record(char* output) {
  AssessmentRecord* record = CurrentRecord();
  if (record == nullptr) return -1;
  ClassifyRecord(*record, last_classification);
  const std::size_t length = strnlen(record->group_code, 3);
  std::memcpy(output, record->group_code, length);
  output[length] = '\0';
  return 0;
}

int compute_adl_score() {
  return OnCurrentRecord<[](const AssessmentRecord& r, ClassificationState&) {
    return compute_adl_score(r);
  }>();
}
int sum_ulcer_counts() {
  return OnCurrentRecord<[](const AssessmentRecord& r, ClassificationState&) {
    return sum_ulcer_counts(r);
  }>();
}
int count_skin_care() {
  return OnCurrentRecord<[](const AssessmentRecord& r, ClassificationState& s) {
    return count_skin_care(r, s);
  }>();
}
int tube_feeding_intake_flag() {
  return OnCurrentRecord<[](const AssessmentRecord& r, ClassificationState&) {
    return tube_feeding_intake_flag(r);
  }>();
}
int iv_nutrition_intake_flag() {
  return OnCurrentRecord<[](const AssessmentRecord& r, ClassificationState&) {
    return iv_nutrition_intake_flag(r);
  }>();
}

using Evaluation = int (*)(const AssessmentRecord&, ClassificationState&);

int evaluate_set_a_early() {
  return OnCurrentRecord<static_cast<Evaluation>(evaluate_set_a_early)>();
}
int evaluate_set_a_090() {
  return OnCurrentRecord<static_cast<Evaluation>(evaluate_set_a_090)>();
}
int evaluate_set_a_091() {
  return OnCurrentRecord<static_cast<Evaluation>(evaluate_set_a_091)>();
}
int evaluate_set_b_early() {
  return OnCurrentRecord<static_cast<Evaluation>(evaluate_set_b_early)>();
}
int evaluate_set_b_090() {
  return OnCurrentRecord<static_cast<Evaluation>(evaluate_set_b_090)>();
}
int evaluate_set_b_091() {
  return OnCurrentRecord<static_cast<Evaluation>(evaluate_set_b_091)>();
}
int evaluate_set_c_early() {
  return OnCurrentRecord<static_cast<Evaluation>(evaluate_set_c_early)>();
}
int evaluate_set_c_090() {
  return OnCurrentRecord<static_cast<Evaluation>(evaluate_set_c_090)>();
}
int evaluate_set_c_091() {
  return OnCurrentRecord<static_cast<Evaluation>(evaluate_set_c_091)>();
}
int evaluate_set_d() {
  return OnCurrentRecord<static_cast<Evaluation>(evaluate_set_d)>();
}
int evaluate_set_e() {
  return OnCurrentRecord<static_cast<Evaluation>(evaluate_set_e)>();
}
int evaluate_set_f() {
  return OnCurrentRecord<static_cast<Evaluation>(evaluate_set_f)>();
}

int select_group_letter() {
  return select_group_letter(last_classification);
}
int count_group_a_conditions() {
  return OnCurrentRecord<static_cast<int (*)(const AssessmentRecord&, const ClassificationState&)>(
      count_group_a_conditions)>();
}
int build_group_code_early(char* destination) {
  return build_group_code_early(last_classification, destination);
}
int build_group_code_newer(char* destination) {
  return build_group_code_newer(last_classification, destination);
}

}  // namespace grouper
