// The evidence of a fault is exactly what its rule reads. For every row of the
// validator, in every family it runs in, on generated and mutated records:
//   - sufficient: a byte changed outside the columns of the fields the row
//     lists (and outside the version code) never changes the row's own
//     outcome (its message, or none);
//   - necessary: each listed field changes that outcome on some record: two
//     records that differ in that field alone (the row's other fields drawn
//     at random among the values the rules tell apart) get different outcomes.
// Lines that no longer parse, or whose trimmed length or family a change
// alters, are counted and skipped. Prints the figures; exits 1 on the first
// row whose list is wrong.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "line/group_line.h"
#include "record/input_layout.h"
#include "record/record_parser.h"
#include "sample_generator.h"
#include "validate/record_validator.h"

namespace grouper {
namespace {

constexpr int kRecordsPerVersion = 240;
constexpr int kMutationsPerRecord = 60;
constexpr int kMinimumMutations = 20;
constexpr int kWitnessAttempts = 4000;

// The bytes a change writes: answers, blanks, signs, a letter, a lead byte.
constexpr char kAlphabet[] = {'0', '1', '2', '3', '4', '5', '6',   '7',
                              '8', '9', ' ', '-', '+', 'A', '\xB0'};

struct Column {
  int start;
  int width;
};

// The columns of a field in a family's layout; width 0 when not carried.
Column ColumnsOf(FieldRef field, Family family) {
  if (field.offset == offsetof(AssessmentRecord, form_version)) return {0, 3};
  for (const LayoutItem& item : InputLayout()) {
    if (item.offset == field.offset) {
      const int start = item.StartIn(family);
      return start < 0 ? Column{0, 0} : Column{start, item.width};
    }
  }
  return {0, 0};
}

const char* FieldName(FieldRef field) {
  if (field.offset == offsetof(AssessmentRecord, form_version)) return "form_version";
  for (const LayoutItem& item : InputLayout()) {
    if (item.offset == field.offset) return item.field_name;
  }
  return "?";
}

// Every row's outcome on a line: its message, or nullptr where it held or did
// not apply. False when the line does not parse as a line of `family` and
// `length`.
bool Outcomes(const std::string& line, Family family, std::size_t length,
              std::map<const Check*, const char*>& outcomes) {
  static LineBuffer buffer;
  static AssessmentRecord record;
  const LineText taken = TakeLine(line.data(), line.size(), buffer);
  if (!taken.framed || taken.family != family || taken.length != length) return false;
  if (ParseRecord(taken.text, taken.family, record) != nullptr) return false;
  outcomes.clear();
  for (const Fault& fault : CollectFaults(record, family)) outcomes[fault.check] = fault.message;
  return true;
}

const char* OutcomeOf(const std::map<const Check*, const char*>& outcomes, const Check* row) {
  const auto found = outcomes.find(row);
  return found == outcomes.end() ? nullptr : found->second;
}

struct RowFigures {
  std::string where;  // for messages: the list and the row's place in it
  int records = 0;    // records of the families the row runs in
  long mutations = 0;
  int fewest_mutations = 1 << 30;  // outside its fields, on one record
  std::set<std::size_t> needed;    // offsets of listed fields shown to matter
};

bool Overlaps(Column place, const std::vector<Column>& columns) {
  for (const Column& c : columns) {
    if (place.start < c.start + c.width && c.start < place.start + place.width) return true;
  }
  return false;
}

// An item's bytes written with a value the rules tell apart, `width` bytes.
std::string ItemText(const LayoutItem& item, uint64_t draw) {
  static constexpr const char* kNumbers[] = {"0",  "1",  "2",  "3",   "4",   "7",   "8",    "10",
                                             "11", "18", "99", "100", "365", "999", "1000", "9999"};
  static constexpr const char* kTexts[] = {"20150301", "20150230", "20150231",     "00000000",
                                           "2015 301", "19691231", "20991231",     "        ",
                                           "A B",      "12345678", "1234567890123"};
  std::string text;
  switch (item.kind) {
    case ItemKind::kChar:
      return std::string(1, kAlphabet[draw % sizeof kAlphabet]);
    case ItemKind::kText:
      text = kTexts[draw % std::size(kTexts)];
      break;
    default:
      text = kNumbers[draw % std::size(kNumbers)];
      // Numbers are written right-aligned with leading zeros.
      if (text.size() < static_cast<std::size_t>(item.width)) {
        text.insert(0, item.width - text.size(), '0');
      }
      break;
  }
  text.resize(item.width, ' ');
  return text;
}

// A value for `field` of the kind its item holds, drawn from the answers
// that rules tell apart: digits, blanks and other bytes for answers, bounds
// and their neighbours for numbers, valid, invalid and absent dates.
void SetValue(AssessmentRecord& record, FieldRef field, uint64_t draw) {
  char* at = reinterpret_cast<char*>(&record) + field.offset;
  if (field.offset == offsetof(AssessmentRecord, form_version)) {
    // The two codes of a family share its layout; some rules tell them apart.
    static constexpr const char* kCodes[] = {"089", "010", "090", "011",
                                             "091", "012", "092", "013"};
    const char* code = kCodes[draw % std::size(kCodes)];
    if (FamilyOf(code) == FamilyOfField(record.form_version)) std::memcpy(at, code, 4);
    return;
  }
  const LayoutItem* item = nullptr;
  for (const LayoutItem& i : InputLayout()) {
    if (i.offset == field.offset) item = &i;
  }
  if (item == nullptr) return;
  static constexpr char kAnswers[] = {'0', '1', '2', '3', '4', '5', '8', '9', ' ', 'A', '\0'};
  static constexpr int32_t kNumbers[] = {-1, 0, 1, 2, 3, 4, 7, 8, 10, 11, 18, 99, 100, 999, 1000};
  static constexpr float kTenths[] = {-0.1f, 0.0f,  0.1f,   35.0f,  38.5f,
                                      90.0f, 99.9f, 100.0f, 999.9f, 1000.0f};
  static constexpr const char* kTexts[] = {"20150301", "20150230", "20150231", "00000000",
                                           "2015 301", "19691231", "20991231", "",
                                           "   ",      "A B",      "12345678", "1234567890123"};
  switch (item->kind) {
    case ItemKind::kChar:
      *at = kAnswers[draw % sizeof kAnswers];
      break;
    case ItemKind::kInt:
    case ItemKind::kIntUntested:
    case ItemKind::kIntTenths: {
      const int32_t v = kNumbers[draw % std::size(kNumbers)];
      std::memcpy(at, &v, sizeof v);
      break;
    }
    case ItemKind::kTenths: {
      const float v = kTenths[draw % std::size(kTenths)];
      std::memcpy(at, &v, sizeof v);
      break;
    }
    case ItemKind::kText: {
      const char* text = kTexts[draw % std::size(kTexts)];
      const std::size_t n = std::min<std::size_t>(std::strlen(text), item->width);
      std::memset(at, 0, item->width + 1);
      std::memcpy(at, text, n);
      break;
    }
  }
}

// The outcome of `row` on a copy of `record` (the validator may change it).
const char* OutcomeOn(AssessmentRecord record, Family family, const Check* row) {
  for (const Fault& fault : CollectFaults(record, family)) {
    if (fault.check == row) return fault.message;
  }
  return nullptr;
}

int Run() {
  const char* kVersions[] = {"base", "089", "010", "090", "011", "091", "012", "092", "013"};
  const std::vector<RowList> lists = ValidationLists();
  std::map<const Check*, RowFigures> figures;
  long skipped = 0;
  long tried = 0;
  int failures = 0;

  for (const char* version : kVersions) {
    sample::SampleOptions options;
    options.seed = 24;
    options.versions = {version};
    options.fault_share = sample::kShareScale / 4;
    sample::SampleGenerator generator = sample::StartSample(options);

    // The lines of this family that parse, with their rows' outcomes.
    std::vector<std::string> lines;
    Family family = Family::kBase;
    while (lines.size() < kRecordsPerVersion) {
      std::string line = sample::NextSampleLine(generator).text;
      LineBuffer buffer;
      const LineText taken = TakeLine(line.data(), line.size(), buffer);
      std::map<const Check*, const char*> outcomes;
      family = taken.family;
      if (Outcomes(line, family, taken.length, outcomes)) lines.push_back(line);
    }

    // The rows of the family, with the columns of what each lists.
    std::vector<std::pair<const Check*, std::vector<Column>>> rows;
    for (std::size_t l = 0; l < lists.size(); ++l) {
      const RowList& list = lists[l];
      if (list.families != nullptr && !list.families(family)) continue;
      for (std::size_t r = 0; r < list.rows.size(); ++r) {
        const Check* row = &list.rows[r];
        std::vector<Column> columns;
        for (const FieldRef field : RowReads(*row)) columns.push_back(ColumnsOf(field, family));
        rows.emplace_back(row, columns);
        figures[row].where = "list " + std::to_string(l) + " row " + std::to_string(r);
      }
    }

    uint64_t random = 0x9E3779B97F4A7C15u;
    auto next = [&random](uint64_t bound) {
      random ^= random << 13;
      random ^= random >> 7;
      random ^= random << 17;
      return random % bound;
    };
    const int first_column = family == Family::kBase ? 0 : 3;
    for (const std::string& line : lines) {
      LineBuffer buffer;
      const std::size_t length = TakeLine(line.data(), line.size(), buffer).length;
      std::map<const Check*, const char*> before, after;
      Outcomes(line, family, length, before);
      std::map<const Check*, int> counted;
      for (int m = 0; m < kMutationsPerRecord; ++m) {
        // One byte, or a whole item written with a value the rules tell
        // apart (a zero count, a bound, another date).
        std::string changed = line;
        Column place{first_column + static_cast<int>(next(length - first_column)), 1};
        if (next(2) == 0) {
          changed[place.start] = kAlphabet[next(sizeof kAlphabet)];
        } else {
          const LayoutItem& item = InputLayout()[next(InputLayout().size())];
          place = {item.StartIn(family), item.width};
          if (place.start < first_column || place.start + place.width > static_cast<int>(length)) {
            continue;
          }
          const std::string value = ItemText(item, next(1u << 20));
          changed.replace(place.start, place.width, value);
        }
        if (changed == line) continue;
        ++tried;
        if (!Outcomes(changed, family, length, after)) {
          ++skipped;
          continue;
        }
        for (const auto& [row, columns] : rows) {
          if (Overlaps(place, columns)) continue;
          ++counted[row];
          if (OutcomeOf(before, row) == OutcomeOf(after, row)) continue;
          if (++failures <= 10) {
            std::printf(
                "row %s (version %s): columns %d to %d changed its outcome but are no "
                "columns of what it lists\n",
                figures[row].where.c_str(), version, place.start, place.start + place.width - 1);
          }
        }
      }
      for (const auto& [row, columns] : rows) {
        RowFigures& f = figures[row];
        ++f.records;
        f.mutations += counted[row];
        if (counted[row] < f.fewest_mutations) f.fewest_mutations = counted[row];
      }
    }

    // Each listed field matters on some record: two records that differ in
    // that field alone, the other listed fields drawn at random, get
    // different outcomes of the row.
    std::vector<AssessmentRecord> records;
    for (const std::string& line : lines) {
      LineBuffer buffer;
      const LineText taken = TakeLine(line.data(), line.size(), buffer);
      records.emplace_back();
      ParseRecord(taken.text, family, records.back());
    }
    for (const auto& [row, columns] : rows) {
      const std::vector<FieldRef> reads = RowReads(*row);
      RowFigures& f = figures[row];
      for (std::size_t k = 0; k < reads.size(); ++k) {
        if (f.needed.count(reads[k].offset) != 0 || columns[k].width == 0) continue;
        for (int attempt = 0; attempt < kWitnessAttempts; ++attempt) {
          AssessmentRecord base = records[next(records.size())];
          for (std::size_t o = 0; o < reads.size(); ++o) {
            if (o != k && next(2) == 0) SetValue(base, reads[o], next(1u << 20));
          }
          AssessmentRecord changed = base;
          SetValue(changed, reads[k], next(1u << 20));
          if (OutcomeOn(base, family, row) != OutcomeOn(changed, family, row)) {
            f.needed.insert(reads[k].offset);
            break;
          }
        }
      }
    }
  }

  // Every row was tried on enough records and mutations, and every field it
  // lists mattered somewhere. The form-version code is implied by the family
  // that the same three bytes choose: no line of a family with a code breaks
  // it, so its field cannot be shown to matter.
  int rows_checked = 0;
  long fewest = 1 << 30;
  for (const RowList& list : lists) {
    for (const Check& row : list.rows) {
      const RowFigures& f = figures[&row];
      ++rows_checked;
      if (f.records < kRecordsPerVersion) {
        std::printf("row %s: tried on %d records\n", f.where.c_str(), f.records);
        ++failures;
      }
      if (f.fewest_mutations < kMinimumMutations) {
        std::printf("row %s: only %d mutations outside its fields on one record\n", f.where.c_str(),
                    f.fewest_mutations);
        ++failures;
      }
      fewest = f.fewest_mutations < fewest ? f.fewest_mutations : fewest;
      if (&list == &lists.front()) continue;
      for (const FieldRef field : RowReads(row)) {
        if (f.needed.count(field.offset) != 0) continue;
        std::printf("row %s: listed field %s never changed its outcome\n", f.where.c_str(),
                    FieldName(field));
        ++failures;
      }
    }
  }
  std::printf(
      "validation rows: %d; records per version code (and the base layout): %d; mutations tried: "
      "%ld (%ld skipped: "
      "no longer parsed, or changed the length or family); fewest mutations outside a "
      "row's fields on one record: %ld\n",
      rows_checked, kRecordsPerVersion, tried, skipped, fewest);
  std::printf("%s\n", failures == 0 ? "evidence complete" : "EVIDENCE INCOMPLETE");
  return failures == 0 ? 0 : 1;
}

}  // namespace
}  // namespace grouper

int main() {
  setenv("TZ", "Asia/Seoul", 1);
  return grouper::Run();
}
