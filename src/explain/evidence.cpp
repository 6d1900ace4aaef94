#include "explain/evidence.h"

#include <cstddef>
#include <cstring>

#include "explain/explanation.h"
#include "record/input_layout.h"
#include "text/cp949.h"
#include "validate/record_validator.h"

namespace grouper {

namespace {

// Named parts of the criteria, as criteria.h names its predicates; a name
// ending in "/089" is read in family 089/010 only.
struct NamedReads {
  const char* name;
  const char* reads;
};
constexpr NamedReads kNamedReads[] = {
    {"@coma", "b_coma d_adl_eating d_adl_changing_position d_adl_transferring d_adl_toilet_use"},
    {"@neurological_shared",
     "f_cerebral_palsy f_spinal_cord_injury f_paraplegia f_hemiplegia f_parkinsons f_myasthenia "
     "f_primary_muscle_disorder f_multiple_sclerosis f_huntingtons f_hereditary_ataxia "
     "f_spinal_muscular_atrophy f_systemic_atrophy f_progressive_supranuclear_palsy "
     "f_atypical_virus_infection f_subacute_necrotising_encephalopathy"},
    {"@neurological_early", "@neurological_shared f_quadriplegia f_aids/089"},
    {"@neurological_090", "@neurological_shared f_quadriplegia f_aids"},
    {"@set_a_early", "@coma g_internal_bleeding k_central_venous_nutrition k_ventilator"},
    {"@set_a_090", "k_ventilator @coma k_central_venous_nutrition"},
    {"@set_a_091", "k_ventilator_091 @coma k_central_venous_nutrition_091"},
    {"@stage34_ulcer",
     "i_pressure_ulcer_stage3 i_stasis_ulcer_stage3 i_pressure_ulcer_stage4 i_stasis_ulcer_stage4"},
    {"@stage2_ulcer", "i_pressure_ulcer_stage2 i_stasis_ulcer_stage2"},
    {"@fever_complication", "g_dehydration g_vomiting h_weight_loss"},
    {"@pain_grades", "g_pain_visual_scale g_pain_numeric_scale g_pain_faces_scale"},
    {"@stoma_care", "k_urinary_stoma_care k_bowel_stoma_care k_feeding_stoma_care"},
    {"@toileting", "e_scheduled_toileting e_bladder_retraining e_intermittent_catheter"},
    {"@behaviour",
     "c_delusions c_hallucinations c_agitation c_disinhibition c_care_resistance "
     "c_wandering"},
    {"@treated_behaviour", "f_dementia @behaviour j_behaviour_drug_treatment"},
};

// What each criterion of the classifier reads, by family group and code, as
// the criteria lists of src/classify/set_*.cpp test it. A set whose stop row
// tests the ADL score lists the score with the criteria after the stop.
enum class Group { kEarly, k090, kFrom091, kFrom090 };
struct CriterionReadsRow {
  Group group;
  const char* code;
  const char* reads;
};
constexpr CriterionReadsRow kCriterionReads[] = {
    {Group::kEarly, "1A", "adl_score @coma"},
    {Group::kEarly, "1B", "adl_score g_internal_bleeding"},
    {Group::kEarly, "1C", "adl_score k_central_venous_nutrition"},
    {Group::kEarly, "1D", "adl_score k_ventilator"},
    {Group::k090, "1A", "adl_score k_ventilator"},
    {Group::k090, "1B", "adl_score @coma"},
    {Group::k090, "1C", "adl_score k_central_venous_nutrition"},
    {Group::kFrom091, "1A", "adl_score k_ventilator_091"},
    {Group::kFrom091, "1B", "adl_score @coma"},
    {Group::kFrom091, "1C", "adl_score k_central_venous_nutrition_091"},

    {Group::kEarly, "2A", "adl_score @neurological_early"},
    {Group::kEarly, "2B", "adl_score f_multiple_sclerosis f_quadriplegia"},
    {Group::kEarly, "2C", "@stage2_ulcer skin_care_count"},
    {Group::kEarly, "2D", "@stage34_ulcer skin_care_count"},
    {Group::kEarly, "2E", "g_fever @fever_complication tube_feeding_intake"},
    {Group::kEarly, "2F", "i_burns"},
    {Group::kEarly, "2G", "g_pain_severe"},
    {Group::kEarly, "2H", "tube_feeding_intake iv_nutrition_intake"},
    {Group::kEarly, "2I", "k_suctioning"},
    {Group::kEarly, "2J", "k_tracheostomy_care"},
    {Group::kEarly, "2K", "f_diabetes i_foot_infection i_open_lesions_foot i_other_dressing_foot"},
    {Group::kEarly, "2L", "k_transfusion"},
    {Group::kEarly, "2M", "k_oxygen_therapy"},
    {Group::kEarly, "2N", "adl_score @set_a_early"},
    {Group::k090, "2A", "adl_score @neurological_090"},
    {Group::k090, "2B", "@stage34_ulcer skin_care_count"},
    {Group::k090, "2C", "g_fever g_fever_workup @fever_complication"},
    {Group::k090, "2D", "i_burns"},
    {Group::k090, "2E", "g_pain_frequency_090 @pain_grades"},
    {Group::k090, "2F", "tube_feeding_intake"},
    {Group::k090, "2G", "k_tracheostomy_care"},
    {Group::k090, "2H", "adl_score f_diabetes i_foot_infection i_other_dressing_foot"},
    {Group::k090, "2I", "k_oxygen_therapy"},
    {Group::k090, "2J", "adl_score @set_a_090"},
    {Group::kFrom091, "2A", "adl_score @neurological_090"},
    {Group::kFrom091, "2B", "@stage34_ulcer skin_care_count"},
    {Group::kFrom091, "2C", "g_fever g_fever_workup g_fever_days @fever_complication"},
    {Group::kFrom091, "2D", "i_burns i_skin_treatment_g"},
    {Group::kFrom091, "2E", "g_pain_frequency_091 @pain_grades g_pain_treatment_091"},
    {Group::kFrom091, "2F", "tube_feeding_intake h_tube_feeding_days"},
    {Group::kFrom091, "2G", "k_tracheostomy_care"},
    {Group::kFrom091, "2H", "adl_score f_diabetes i_foot_infection i_other_dressing_foot"},
    {Group::kFrom091, "2I", "k_oxygen_therapy k_oxygen_saturation k_oxygen_days"},
    {Group::kFrom091, "2J", "adl_score @set_a_091"},

    {Group::kEarly, "3A", "adl_score @neurological_early"},
    {Group::kEarly, "3B", "@stage2_ulcer skin_care_count"},
    {Group::kEarly, "3C", "f_diabetes j_injection_count"},
    {Group::kEarly, "3D", "g_pain_mild g_pain_moderate"},
    {Group::kEarly, "3E", "k_iv_medication"},
    {Group::kEarly, "3G",
     "i_open_lesions_foot i_other_dressing_foot i_open_lesions_other i_other_dressing_other "
     "i_surgical_wound i_surgical_wound_care"},
    {Group::kEarly, "3H", "@stoma_care"},
    {Group::kEarly, "3F", "k_nebulizer"},
    {Group::kEarly, "3I", "@toileting"},
    {Group::kFrom090, "3A", "adl_score @neurological_090"},
    {Group::kFrom090, "3B", "@stage2_ulcer skin_care_count"},
    {Group::kFrom090, "3C", "f_diabetes f_glucose_check_done j_injection_count"},
    {Group::k090, "3D", "g_pain_frequency_090 @pain_grades"},
    {Group::k090, "3E", "g_pain_frequency_090 g_cancer_pain_treatment_090"},
    {Group::k090, "3F", "k_iv_medication"},
    {Group::kFrom091, "3D", "g_pain_frequency_091 @pain_grades g_pain_treatment_091"},
    {Group::kFrom091, "3E", "g_pain_frequency_091 g_cancer_pain_treatment_091"},
    {Group::kFrom091, "3F", "k_iv_medication k_iv_medication_days"},
    {Group::kFrom090, "3G", "k_nebulizer"},
    {Group::kFrom090, "3H",
     "i_surgical_wound i_surgical_wound_care i_open_lesions i_other_dressing"},
    {Group::k090, "3I", "g_stoma_care_post_surgery_090 @stoma_care"},
    {Group::k090, "3J", "g_stoma_care_complication_090 @stoma_care"},
    {Group::k090, "3K", "@toileting e_voiding_diary"},
    {Group::kFrom091, "3I", "g_stoma_care_post_surgery_091 @stoma_care"},
    {Group::kFrom091, "3J", "g_stoma_care_complication_091 @stoma_care"},
    {Group::kFrom091, "3K", "@toileting e_voiding_diary e_voiding_diary_days"},
    {Group::kFrom090, "3L", "@treated_behaviour"},

    {Group::kEarly, "4A", "@behaviour"},
    {Group::kEarly, "5A", "c_kmmse_done c_kmmse_score"},
    {Group::kEarly, "6A", "adl_score k_rehab_days"},
    {Group::kFrom090, "6A",
     "f_dementia c_depression c_anxiety c_aberrant_motor c_sleep_behaviour j_dementia_drug"},
    {Group::kFrom090, "6B", "set_a_met set_b_met set_c_met @stoma_care"},
    {Group::kFrom090, "6C", "adl_score k_rehab_days"},
};

bool InGroup(Group group, Family family) {
  switch (group) {
    case Group::kEarly:
      return IsEarly(family);
    case Group::k090:
      return Is090(family);
    case Group::kFrom091:
      return IsFrom090(family) && !Is090(family);
    case Group::kFrom090:
      return IsFrom090(family);
  }
  return false;
}

// The scores and set results, by name.
struct ScoreName {
  const char* name;
  int ClassificationState::*member;
};
constexpr ScoreName kScores[] = {
    {"adl_score", &ClassificationState::adl_score},
    {"ulcer_total", &ClassificationState::ulcer_total},
    {"skin_care_count", &ClassificationState::skin_care_count},
    {"tube_feeding_intake", &ClassificationState::tube_feeding_intake},
    {"iv_nutrition_intake", &ClassificationState::iv_nutrition_intake},
    {"group_a_count", &ClassificationState::group_a_count},
    {"set_a_met", &ClassificationState::set_a_met},
    {"set_b_met", &ClassificationState::set_b_met},
    {"set_c_met", &ClassificationState::set_c_met},
};

// Appends the names of a space-separated list to `names`, its named parts
// expanded and the names of another family than `family` left out.
void ExpandReads(std::string_view reads, Family family, std::vector<std::string>& names) {
  while (!reads.empty()) {
    const std::size_t space = reads.find(' ');
    std::string_view name = reads.substr(0, space);
    reads.remove_prefix(space == std::string_view::npos ? reads.size() : space + 1);
    if (name.empty()) continue;
    if (name.front() == '@') {
      for (const NamedReads& named : kNamedReads) {
        if (name == named.name) ExpandReads(named.reads, family, names);
      }
      continue;
    }
    if (const std::size_t slash = name.find('/'); slash != std::string_view::npos) {
      if (name.substr(slash + 1) != "089" || family != Family::k089) continue;
      name = name.substr(0, slash);
    }
    names.emplace_back(name);
  }
}

Evidence NamedEvidence(std::string_view name, const char* text, Family family,
                       const ClassificationState& state) {
  for (const ScoreName& score : kScores) {
    if (name != score.name) continue;
    Evidence e;
    e.name = name;
    e.score = true;
    e.value = std::to_string(state.*score.member);
    return e;
  }
  return FieldEvidence(name, text, family);
}

}  // namespace

const char* LayoutName(Family family) {
  switch (family) {
    case Family::kBase:
      break;
    case Family::k089:
      return "089/010";
    case Family::k090:
      return "090/011";
    case Family::k091:
      return "091/012";
    case Family::k092:
      return "092/013";
  }
  return "base";
}

const char* FieldNameAtOffset(std::size_t offset) {
  for (const LayoutItem& item : InputLayout()) {
    if (item.offset == offset) return item.field_name;
  }
  return nullptr;
}

int IdentifierKeep(std::string_view field) {
  if (field == "resident_number") return 6;
  if (field == "patient_name" || field == "s_doctor_name" || field == "s_nurse_name") return 1;
  return -1;
}

std::string ShownValue(const Evidence& e, bool whole) {
  if (whole || e.keep < 0) return e.value;
  // The blanks that pad the item are no part of the name, as for the
  // record's identifiers.
  return MaskIdentifier(e.value.substr(0, e.value.find_last_not_of(' ') + 1), e.keep);
}

bool IsScoreName(std::string_view name) {
  for (const ScoreName& score : kScores) {
    if (name == score.name) return true;
  }
  return false;
}

Evidence FieldEvidence(std::string_view name, const char* text, Family family) {
  Evidence e;
  e.name = name;
  e.keep = IdentifierKeep(name);
  if (name == "form_version") {
    e.start = 0;
    e.width = 3;
  } else if (const LayoutItem* item = FindLayoutItem(name)) {
    e.start = item->StartIn(family);
    e.width = item->width;
  }
  if (e.start >= 0) {
    // The text is zero beyond its end, to the end of the longest layout.
    const char* bytes = text + e.start;
    e.value.assign(bytes, strnlen(bytes, static_cast<std::size_t>(e.width)));
  } else {
    e.width = 0;
  }
  return e;
}

std::vector<Evidence> FaultEvidence(const Check& row, const char* text, Family family) {
  std::vector<Evidence> fields;
  for (const FieldRef field : RowReads(row)) {
    const char* name = field.offset == offsetof(AssessmentRecord, form_version)
                           ? "form_version"
                           : FieldNameAtOffset(field.offset);
    if (name == nullptr) continue;
    Evidence e = FieldEvidence(name, text, family);
    // A gate or rule written for several layouts may name a field that the
    // line's own layout does not carry.
    if (e.start >= 0) fields.push_back(std::move(e));
  }
  return fields;
}

std::vector<std::string> CriterionReads(std::string_view code, Family family) {
  std::vector<std::string> names;
  for (const CriterionReadsRow& row : kCriterionReads) {
    if (code == row.code && InGroup(row.group, family)) ExpandReads(row.reads, family, names);
  }
  return names;
}

std::vector<Evidence> CriterionEvidence(std::string_view code, const char* text, Family family,
                                        const ClassificationState& state) {
  std::vector<Evidence> tested;
  for (const std::string& name : CriterionReads(code, family)) {
    tested.push_back(NamedEvidence(name, text, family, state));
  }
  return tested;
}

}  // namespace grouper
