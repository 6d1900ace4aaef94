#include "record/input_layout.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstddef>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "record/assessment_record.h"
#include "text/cp949.h"
#include "text/u8_text.h"

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
    EXPECT_EQ(tested, item.parse_message.text != nullptr) << item.field_name;
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

// The sections of the form in order, each by its letter and its name as the
// messages word it; the signature block is section 'S', "작성".
struct LayoutSection {
  char letter;
  std::string name;  // UTF-8
};
const LayoutSection kLayoutSections[] = {
    {'A', U8(u8"일반적사항")},
    {'B', U8(u8"인지기능")},
    {'C', U8(u8"인지기능")},
    {'D', U8(u8"신체기능")},
    {'E', U8(u8"배설기능")},
    {'F', U8(u8"질병진단")},
    {'G', U8(u8"건강상태")},
    {'H', U8(u8"구강 및 영양상태")},
    {'I', U8(u8"피부상태")},
    {'J', U8(u8"투약")},
    {'K', U8(u8"특수처치 및 전문재활치료")},
    {'S', U8(u8"작성")},
};

// The section of an item row, by the first letter of its code.
const LayoutSection* SectionOf(const LayoutItem& item) {
  if (item.item_code == nullptr) return nullptr;
  for (const LayoutSection& section : kLayoutSections) {
    if (section.letter == item.item_code[0]) return &section;
  }
  return nullptr;
}

TEST(InputLayout, EveryItemHasACodeOfItsSectionAndAName) {
  // "G.2.b.1": a section letter, then the form's numbering in dotted parts.
  const std::regex dotted(R"([A-K](\.([0-9]{1,2}|[a-z]{1,2}))+)");
  for (const LayoutItem& item : InputLayout()) {
    const std::string field = item.field_name;
    ASSERT_TRUE(item.item_code != nullptr && item.item_name != nullptr) << field;
    const std::string code = item.item_code;
    EXPECT_NE(item.item_name[0], '\0') << field;
    // The form does not number its signature block.
    EXPECT_TRUE(field.starts_with("s_") ? code == "S" : std::regex_match(code, dotted)) << code;
    // The field's prefix, and A for the general items before section A.
    const char letter = field[1] == '_'
                            ? static_cast<char>(std::toupper(static_cast<unsigned char>(field[0])))
                            : 'A';
    EXPECT_EQ(code[0], letter) << field << " " << code;
    const LayoutSection* section = SectionOf(item);
    ASSERT_NE(section, nullptr) << field;
    EXPECT_EQ(section->letter, letter) << field;
    // An item no message names carries its own section's name, not another's.
    for (const LayoutSection& other : kLayoutSections) {
      EXPECT_FALSE(std::string_view(item.item_name) == other.name && &other != section) << field;
    }
  }
}

// Within one family, fields share a code only where the form asks one item in
// several parts. A two-digit suffix of a field stands as NN.
TEST(InputLayout, NoFamilyGivesTwoItemsOneCode) {
  const std::map<std::string, std::string> parts_of_one_item = {
      {"A.9", "a_systolic_bp a_diastolic_bp"},             // the two pressures
      {"C.6", "c_kmmse_done c_kmmse_score c_kmmse_date"},  // performed, score, date
      {"E.3.g",
       "e_indwelling_catheter e_indwelling_catheter_date e_catheter_date_NN "
       "e_catheter_date_count"},                        // the catheter and its dates
      {"E.4", "e_voiding_diary e_voiding_diary_days"},  // kept, for how many days
      {"F.1.a", "f_diabetes f_glucose_check_done f_fasting_glucose f_postprandial_glucose"},
      {"F.1", "f_hba1c_done f_hba1c f_hba1c_date"},                // performed, value, date
      {"H.2", "h_weight_measured h_weight h_weight_date"},         // measured, value, date
      {"I.1.a", "i_pressure_ulcer_stage1 i_stasis_ulcer_stage1"},  // pressure and stasis
      {"I.1.b", "i_pressure_ulcer_stage2 i_stasis_ulcer_stage2"},  // ulcers counted
      {"I.1.c", "i_pressure_ulcer_stage3 i_stasis_ulcer_stage3"},  // stage by stage
      {"I.1.d", "i_pressure_ulcer_stage4 i_stasis_ulcer_stage4"},
      {"I.2", "i_new_pressure_ulcer i_new_pressure_ulcer_date"},  // the ulcer and its date
      {"I.4.b", "i_open_lesions i_open_lesions_foot i_open_lesions_other"},  // and its sites
      {"I.5.d", "i_ulcer_dressing i_ulcer_dressing_foot i_ulcer_dressing_other"},
      {"I.5.e", "i_other_dressing i_other_dressing_foot i_other_dressing_other"},
      {"K.1.a", "k_iv_medication k_iv_medication_days"},  // given, for how many days
      {"S", "s_doctor_name s_nurse_name"},                // the unnumbered signatures
  };
  const std::regex two_digit_suffix("_[0-9]{2}$");
  std::set<std::string> shared;
  for (Family family : kFamilies) {
    std::map<std::string, std::vector<std::string>> fields_of_code;
    for (const LayoutItem& item : InputLayout()) {
      if (item.StartIn(family) >= 0) fields_of_code[item.item_code].push_back(item.field_name);
    }
    for (const auto& [code, fields] : fields_of_code) {
      if (fields.size() < 2) continue;
      shared.insert(code);
      const auto listed = parts_of_one_item.find(code);
      for (std::string field : fields) {
        if (std::regex_search(field, two_digit_suffix)) field.replace(field.size() - 2, 2, "NN");
        EXPECT_TRUE(listed != parts_of_one_item.end() &&
                    (" " + listed->second + " ").find(" " + field + " ") != std::string::npos)
            << code << " " << field << " in family " << static_cast<int>(family);
      }
    }
  }
  // A listed item that no family asks in parts is a stale exception.
  for (const auto& [code, fields] : parts_of_one_item) EXPECT_TRUE(shared.contains(code)) << code;
}

// The parser's message for an item names the item's section, code and name:
// "오류-[G.건강상태][2.b.1.시각 통증 등급] ...", the code's parts spread over the
// bracketed groups ("[7.치매 척도 검사][b-1.CDR 점수]") and the name last.
TEST(InputLayout, ParseMessagesNameTheirItemAsTheRowDoes) {
  const std::regex message(std::string(U8(u8R"(오류-\[([A-Z])\. ?([^\]]*)\]((\[[^\]]*\])+).*)")));
  const std::regex code_part(R"(([0-9]{1,2}|[a-z]{1,2})[-. ] *)");
  const auto without_blanks = [](std::string text) {
    std::erase(text, ' ');
    return text;
  };
  int checked = 0;
  for (const LayoutItem& item : InputLayout()) {
    if (item.parse_message.text == nullptr) continue;
    ++checked;
    const std::string text(Utf8Twin(item.parse_message.text));
    std::smatch m;
    ASSERT_TRUE(std::regex_match(text, m, message)) << item.field_name;
    const LayoutSection* section = SectionOf(item);
    EXPECT_EQ(without_blanks(m[2]), without_blanks(std::string(section->name))) << item.field_name;
    std::string code = m[1];
    std::string name;
    const std::string groups = m[3];
    for (std::size_t open = 0; open < groups.size();) {
      const std::size_t close = groups.find(']', open);
      name = groups.substr(open + 1, close - open - 1);
      for (std::smatch part;
           std::regex_search(name, part, code_part, std::regex_constants::match_continuous);) {
        code += "." + part[1].str();
        name = part.suffix();
      }
      open = close + 1;
    }
    EXPECT_EQ(code, item.item_code) << item.field_name;
    EXPECT_EQ(name, item.item_name) << item.field_name;
  }
  EXPECT_GT(checked, 0);
}

TEST(InputLayout, FindsAnItemByItsFieldOffset) {
  for (const LayoutItem& item : InputLayout()) {
    EXPECT_EQ(FindLayoutItemAt(item.offset), &item) << item.field_name;
  }
  const LayoutItem* pain = FindLayoutItemAt(offsetof(AssessmentRecord, g_pain_visual_scale));
  ASSERT_NE(pain, nullptr);
  EXPECT_STREQ(pain->item_code, "G.2.b.1");
  // UTF-8, whatever the compiler's character set.
  EXPECT_EQ(std::string_view(pain->item_name), U8(u8"시각 통증 등급"));
  EXPECT_EQ(std::string_view(SectionOf(*pain)->name), U8(u8"건강상태"));
  EXPECT_EQ(FindLayoutItemAt(offsetof(AssessmentRecord, form_version)), nullptr);
  EXPECT_EQ(FindLayoutItemAt(offsetof(AssessmentRecord, patient_name) + 1), nullptr);
}

}  // namespace
}  // namespace grouper
