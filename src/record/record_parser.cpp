#include "record/record_parser.h"

#include <cstdint>
#include <cstring>

#include "record/assessment_record.h"
#include "record/form_version.h"
#include "record/input_layout.h"
#include "validate/field_text.h"

namespace grouper {

namespace {

constexpr char kFramingMessage[] = "오류-[서식버전] 버전과 데이터길이가 일치하지 않습니다. ";

bool IsAtoiSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The C library's atoi rule on a short digit field: leading white space, an
// optional sign, digits up to the first non-digit; no digits give 0.
int32_t AtoiValue(const char* text) {
  while (IsAtoiSpace(*text)) ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  int32_t value = 0;
  while (*text >= '0' && *text <= '9') value = value * 10 + (*text++ - '0');
  return negative ? -value : value;
}

}  // namespace

int RecordParser(char* line, char* error_text) {
  AssessmentRecord* record = CurrentRecord();
  if (record == nullptr) return -1;
  std::memset(record, 0, sizeof *record);

  const std::size_t length = TrimLine(line);
  char version[4] = {};
  std::strncpy(version, line, 3);
  if (!FramingAccepts(version, length)) {
    std::memcpy(error_text, kFramingMessage, sizeof kFramingMessage);
    return -1;
  }
  std::memcpy(record->form_version, version, sizeof version);
  const Family family = FamilyOf(version);

  auto* base = reinterpret_cast<unsigned char*>(record);
  for (const LayoutItem& item : InputLayout()) {
    const int start = item.StartIn(family);
    if (start < 0) continue;
    const char* source = line + start;
    void* field = base + item.offset;
    switch (item.kind) {
      case ItemKind::kText:
        std::strncpy(static_cast<char*>(field), source, item.width);
        break;
      case ItemKind::kChar:
        *static_cast<char*>(field) = *source;
        break;
      case ItemKind::kIntUntested:
      case ItemKind::kInt:
      case ItemKind::kTenths:
      case ItemKind::kIntTenths: {
        char digits[8] = {};
        std::strncpy(digits, source, item.width);
        if (item.kind != ItemKind::kIntUntested && IsNumericText(digits, 0) != 1) {
          std::strcpy(error_text, item.parse_message);
          return -1;
        }
        const int32_t value = AtoiValue(digits);
        if (item.kind == ItemKind::kTenths) {
          const float tenths = static_cast<float>(static_cast<double>(value) / 10.0);
          std::memcpy(field, &tenths, sizeof tenths);
        } else {
          const int32_t stored = item.kind == ItemKind::kIntTenths ? value / 10 : value;
          std::memcpy(field, &stored, sizeof stored);
        }
        break;
      }
    }
  }
  return 1;
}

}  // namespace grouper
