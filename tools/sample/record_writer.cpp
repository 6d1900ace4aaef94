#include "record_writer.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "record/form_version.h"
#include "record/input_layout.h"

namespace grouper {

namespace {

std::string Digits(long long value, int width) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%0*lld", width, value);
  return buffer;
}

}  // namespace

std::string ComposeRecordLine(const AssessmentRecord& record) {
  const Family family = FamilyOf(record.form_version);
  const FamilyInfo& info = InfoOf(family);
  std::string line(static_cast<std::size_t>(info.expected_length), ' ');
  if (family != Family::kBase) line.replace(0, 3, record.form_version, 3);
  const auto* base = reinterpret_cast<const unsigned char*>(&record);
  for (const LayoutItem& item : InputLayout()) {
    const int start = item.StartIn(family);
    if (start < 0) continue;
    const void* field = base + item.offset;
    std::string text;
    switch (item.kind) {
      case ItemKind::kText:
        text = static_cast<const char*>(field);
        break;
      case ItemKind::kChar: {
        const char c = *static_cast<const char*>(field);
        text = std::string(1, c == '\0' ? ' ' : c);
        break;
      }
      case ItemKind::kInt:
      case ItemKind::kIntUntested: {
        int32_t v;
        std::memcpy(&v, field, sizeof v);
        text = Digits(v, item.width);
        break;
      }
      case ItemKind::kIntTenths: {
        int32_t v;
        std::memcpy(&v, field, sizeof v);
        text = Digits(static_cast<long long>(v) * 10, item.width);
        break;
      }
      case ItemKind::kTenths: {
        float v;
        std::memcpy(&v, field, sizeof v);
        text = Digits(std::lround(static_cast<double>(v) * 10.0), item.width);
        break;
      }
    }
    text.resize(static_cast<std::size_t>(item.width), ' ');
    line.replace(static_cast<std::size_t>(start), text.size(), text);
  }
  return line;
}

}  // namespace grouper
