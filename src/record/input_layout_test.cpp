#include "record/input_layout.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "record/assessment_record.h"

namespace grouper {
namespace {

constexpr Family kFamilies[] = {Family::kBase, Family::k089, Family::k090, Family::k091,
                                Family::k092};

// A typing mistake in a start column shows up as a gap or an overlap.
TEST(InputLayout, EachFamilyCoversItsLineWithoutGapsOrOverlaps) {
  for (Family family : kFamilies) {
    const FamilyInfo& info = InfoOf(family);
    std::vector<int> owners(static_cast<std::size_t>(info.expected_length), 0);
    int next = info.items_start;
    for (const LayoutItem& item : InputLayout()) {
      const int start = item.StartIn(family);
      if (start < 0) continue;
      // Table order is line order.
      EXPECT_EQ(start, next) << item.field_name << " in family " << static_cast<int>(family);
      next = start + item.width;
      for (int c = start; c < start + item.width && c < info.expected_length; ++c) {
        ++owners[static_cast<std::size_t>(c)];
      }
    }
    EXPECT_EQ(next, info.expected_length) << "family " << static_cast<int>(family);
    for (int c = info.items_start; c < info.expected_length; ++c) {
      EXPECT_EQ(owners[static_cast<std::size_t>(c)], 1)
          << "column " << c << " of family " << static_cast<int>(family);
    }
  }
}

TEST(InputLayout, ExpectedLengthsOfTheFamilies) {
  EXPECT_EQ(InfoOf(Family::kBase).expected_length, 258);
  EXPECT_EQ(InfoOf(Family::k089).expected_length, 262);
  EXPECT_EQ(InfoOf(Family::k090).expected_length, 372);
  EXPECT_EQ(InfoOf(Family::k091).expected_length, 380);
  EXPECT_EQ(InfoOf(Family::k092).expected_length, 534);
}

TEST(InputLayout, FieldWidthsFitTheirRecordFields) {
  for (const LayoutItem& item : InputLayout()) {
    const LayoutItem* found = FindLayoutItem(item.field_name);
    ASSERT_EQ(found, &item) << item.field_name << " appears twice";
    EXPECT_LT(item.offset, sizeof(AssessmentRecord));
    const bool tested = item.kind == ItemKind::kInt || item.kind == ItemKind::kTenths ||
                        item.kind == ItemKind::kIntTenths;
    EXPECT_EQ(tested, item.parse_message != nullptr) << item.field_name;
  }
  EXPECT_EQ(FindLayoutItem("no_such_field"), nullptr);
}

// The column map of family 089/010, item by item.
TEST(InputLayout, ColumnsOfFamily089) {
  const struct {
    const char* field;
    int column;
  } expected[] = {
      {"institution_code", 3},
      {"patient_name", 11},
      {"resident_number", 23},
      {"a_admission_date", 36},
      {"a_care_start_date", 44},
      {"a_assessment_type", 52},
      {"a_assessment_date", 53},
      {"a_residence_before_admission", 61},
      {"a_education_level", 62},
      {"a_systolic_bp", 63},
      {"a_diastolic_bp", 66},
      {"b_coma", 69},
      {"b_delirium", 70},
      {"c_short_term_memory", 71},
      {"c_kmmse_done", 89},
      {"c_kmmse_score", 90},
      {"c_kmmse_date", 92},
      {"d_adl_dressing", 100},
      {"d_bedridden", 110},
      {"d_rehab_potential_improve", 111},
      {"d_rehab_potential_change", 113},
      {"e_bowel_control", 114},
      {"e_indwelling_catheter", 122},
      {"e_toileting_none", 123},
      {"f_diabetes", 124},
      {"f_glucose_check_done", 125},
      {"f_fasting_glucose", 126},
      {"f_postprandial_glucose", 129},
      {"f_hba1c_done", 132},
      {"f_hba1c", 133},
      {"f_hba1c_date", 136},
      {"f_hypertension", 144},
      {"f_aids", 164},
      {"f_diseases_none_089", 165},
      {"f_kwashiorkor", 166},
      {"f_malnutrition_none", 173},
      {"g_fever", 174},
      {"g_dehydration", 175},
      {"g_vomiting", 176},
      {"g_internal_bleeding", 177},
      {"g_conditions_none", 178},
      {"g_pain_mild", 179},
      {"g_pain_severe", 181},
      {"g_fall_30_days", 182},
      {"g_end_stage_disease", 184},
      {"h_swallowing", 185},
      {"h_weight_measured", 186},
      {"h_weight", 187},
      {"h_weight_date", 191},
      {"h_weight_loss", 199},
      {"h_parenteral_nutrition", 200},
      {"h_fluid_intake", 203},
      {"i_pressure_ulcer_stage1", 204},
      {"i_stasis_ulcer_stage4", 218},
      {"i_new_pressure_ulcer", 220},
      {"i_new_pressure_ulcer_date", 221},
      {"i_pressure_ulcer_history", 229},
      {"i_open_lesions", 231},
      {"i_open_lesions_foot", 232},
      {"i_open_lesions_other", 233},
      {"i_surgical_wound", 234},
      {"i_skin_treatment_g", 247},
      {"j_injection_count", 248},
      {"k_iv_medication", 249},
      {"k_urinary_stoma_care", 250},
      {"k_oxygen_therapy", 253},
      {"k_nebulizer", 254},
      {"k_tracheostomy_care", 256},
      {"k_transfusion", 257},
      {"k_ventilator", 258},
      {"k_central_venous_nutrition", 259},
      {"k_treatments_none", 260},
      {"k_rehab_days", 261},
  };
  for (const auto& e : expected) {
    const LayoutItem* item = FindLayoutItem(e.field);
    ASSERT_NE(item, nullptr) << e.field;
    EXPECT_EQ(item->StartIn(Family::k089), e.column) << e.field;
  }
}

TEST(InputLayout, FamilySpecificItems) {
  // The base layout is family 089/010 three columns to the left, except that
  // it has no F.1.w item.
  for (const LayoutItem& item : InputLayout()) {
    const int base = item.StartIn(Family::kBase);
    const int f089 = item.StartIn(Family::k089);
    if (std::string(item.field_name) == "f_diseases_none_089") {
      EXPECT_EQ(base, -1);
      EXPECT_EQ(f089, 165);
    } else if (base >= 0) {
      EXPECT_EQ(f089, base + (base < 162 ? 3 : 4)) << item.field_name;
    } else {
      EXPECT_EQ(f089, -1) << item.field_name;
    }
  }
  // The twenty catheter date slots and their count exist only in 092/013.
  EXPECT_EQ(FindLayoutItem("e_catheter_date_01")->StartIn(Family::k092), 163);
  EXPECT_EQ(FindLayoutItem("e_catheter_date_20")->StartIn(Family::k092), 315);
  EXPECT_EQ(FindLayoutItem("e_catheter_date_count")->StartIn(Family::k092), 323);
  EXPECT_EQ(FindLayoutItem("e_indwelling_catheter_date")->StartIn(Family::k092), -1);
  EXPECT_EQ(FindLayoutItem("e_indwelling_catheter_date")->StartIn(Family::k091), 163);
  // Signature names end the lines of the families from 090.
  EXPECT_EQ(FindLayoutItem("s_nurse_name")->StartIn(Family::k090), 360);
  EXPECT_EQ(FindLayoutItem("s_nurse_name")->StartIn(Family::k091), 368);
  EXPECT_EQ(FindLayoutItem("s_nurse_name")->StartIn(Family::k092), 522);
  EXPECT_EQ(FindLayoutItem("k_rehab_days")->StartIn(Family::k090), 347);
  EXPECT_EQ(FindLayoutItem("k_rehab_days")->StartIn(Family::k091), 355);
  EXPECT_EQ(FindLayoutItem("k_rehab_days")->StartIn(Family::k092), 509);
}

}  // namespace
}  // namespace grouper
