// The evidence of a fault or a group code is exactly what its rule reads. For
// every row of the validator and of the criteria sets as each family's plan
// runs them (the outcome of a criterion row is whether its condition holds),
// in every family it runs in, on generated records and records
// mutated from them:
//   - sufficient: a change of the line outside the columns of the fields the
//     row lists (and outside the version code) never changes the row's own
//     outcome (its message, or none). The line the change starts from is a
//     generated one, often with some of the row's own fields rewritten, so
//     that the row is seen failing as well as holding;
//   - necessary: each listed field changes that outcome on some record: two
//     records that differ in that field alone (the row's other fields drawn
//     at random among the values the rules tell apart) get different outcomes.
// A change writes one byte, or a whole item with a value the rules tell apart
// (a bound, a zero count, another date). Lines that no longer parse, or whose
// trimmed length or family a change alters, are counted and skipped. Prints
// the figures; exits 1 when a row's list is wrong.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "classify/criteria_reads.h"
#include "fields_of_read.h"
#include "line/group_line.h"
#include "record/input_layout.h"
#include "record/record_parser.h"
#include "sample_generator.h"
#include "validate/record_validator.h"
#include "validate/row_plan.h"

namespace grouper {
namespace {

constexpr int kRecordsPerVersion = 240;
constexpr int kMutationsPerRecord = 24;
constexpr int kMinimumMutations = 20;
constexpr int kWitnessAttempts = 4000;

// The bytes a change writes: answers, blanks, signs, a letter, a lead byte.
constexpr char kAlphabet[] = {'0', '1', '2', '3', '4', '5', '6',   '7',
                              '8', '9', ' ', '-', '+', 'A', '\xB0'};

struct Column {
  int start;
  int width;
};

const LayoutItem* ItemOf(FieldRef field) {
  return FindLayoutItemAt(field.offset);
}
bool IsVersionField(FieldRef field) {
  return field.offset == offsetof(AssessmentRecord, form_version);
}

// The columns of a field in a family's layout; width 0 when not carried.
Column ColumnsOf(FieldRef field, Family family) {
  if (IsVersionField(field)) return {0, 3};
  const LayoutItem* item = ItemOf(field);
  if (item == nullptr || item->StartIn(family) < 0) return {0, 0};
  return {item->StartIn(family), item->width};
}

const char* FieldName(FieldRef field) {
  if (IsVersionField(field)) return "form_version";
  const LayoutItem* item = ItemOf(field);
  return item != nullptr ? item->field_name : "?";
}

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

// A value for `field` in a record, of the kind its item holds, drawn from the
// answers that rules tell apart; the form-version code becomes the other code
// of its family.
void SetValue(AssessmentRecord& record, FieldRef field, uint64_t draw, bool scale_answers = false) {
  char* at = reinterpret_cast<char*>(&record) + field.offset;
  if (IsVersionField(field)) {
    static constexpr const char* kCodes[] = {"089", "010", "090", "011",
                                             "091", "012", "092", "013"};
    const char* code = kCodes[draw % std::size(kCodes)];
    if (FamilyOf(code) == FamilyOfField(record.form_version)) std::memcpy(at, code, 4);
    return;
  }
  const LayoutItem* item = ItemOf(field);
  if (item == nullptr) return;
  // Every answer the rules tell apart; for the criteria, the answers of the
  // form's scales, which make their conjunctions likelier.
  static constexpr char kAnswers[] = {'0', '1', '2', '3', '4', '8', '5', '9', ' ', 'A', '\0'};
  static constexpr int32_t kNumbers[] = {-1, 0, 1, 2, 3, 4, 7, 8, 10, 11, 18, 99, 100, 999, 1000};
  static constexpr float kTenths[] = {-0.1f, 0.0f,  0.1f,   35.0f,  38.5f,
                                      90.0f, 99.9f, 100.0f, 999.9f, 1000.0f};
  static constexpr const char* kTexts[] = {"20150301", "20150230", "20150231", "00000000",
                                           "2015 301", "19691231", "20991231", "",
                                           "   ",      "A B",      "12345678", "1234567890123"};
  switch (item->kind) {
    case ItemKind::kChar:
      *at = kAnswers[draw % (scale_answers ? 6 : sizeof kAnswers)];
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

// A row of the validator or of the criteria as it runs in one family: the
// fields it lists (a score as the fields it is computed from) and their
// columns there.
struct RowInFamily {
  const RowList* list = nullptr;  // a validator row's list (for its gate)
  const grouper::Row* row = nullptr;
  const criteria::Criterion* criterion = nullptr;
  Family family = Family::kBase;
  std::vector<FieldRef> reads;
  std::vector<Column> columns;
  // Which listed read each field stands for (a score stands for several
  // fields), and the names of the listed reads.
  std::vector<std::size_t> listed;
  std::vector<std::string> listed_names;
  std::string where;
  const void* key() const { return row != nullptr ? static_cast<const void*>(row) : criterion; }
};

// The row's own outcome on a record: a validator row's message, or nullptr
// where it holds or does not apply; whether a criterion's condition holds, on
// the record's scores and set results.
const char* OutcomeOn(const RowInFamily& r, const AssessmentRecord& record) {
  if (r.criterion != nullptr) {
    static ClassificationState state;
    ClassifyRecord(record, r.family, state);
    return r.criterion->holds(record, state) ? "holds" : nullptr;
  }
  if (r.list->gate != nullptr && !r.list->gate->holds(record)) return nullptr;
  return EvaluateRow(*r.row, record);
}

// Parses a line as the road takes it; false when it is no framed line of
// `family` and `length`, or does not parse.
bool ParseLine(const std::string& line, Family family, std::size_t length,
               AssessmentRecord& record) {
  static LineBuffer buffer;
  const LineText taken = TakeLine(line.data(), line.size(), buffer);
  if (!taken.framed || taken.family != family || taken.length != length) return false;
  return ParseRecord(taken.text, family, record) == nullptr;
}

struct Random {
  uint64_t state = 0x9E3779B97F4A7C15u;
  uint64_t operator()(uint64_t bound) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state % bound;
  }
};

struct Figures {
  // Each listed field of a row (by its offset) and whether it changed the
  // row's outcome in some family.
  std::map<std::pair<const void*, std::size_t>, bool> matters;
  std::map<const void*, std::string> where;
  std::map<std::pair<const void*, std::size_t>, std::string> names;
  long rows = 0;
  long tried = 0;
  long skipped = 0;
  long long fewest = 1LL << 40;  // mutations outside a row's fields, on one record
  int failures = 0;
};

void Fail(Figures& figures, const char* format, const std::string& where, const char* detail,
          int a = 0, int b = 0) {
  if (++figures.failures > 20) return;
  std::printf(format, where.c_str(), detail, a, b);
}

// The lines of a family: generated ones of each of its version codes.
std::vector<std::string> LinesOf(const std::vector<std::string>& versions) {
  std::vector<std::string> lines;
  for (const std::string& version : versions) {
    sample::SampleOptions options;
    options.seed = 24;
    options.versions = {version};
    options.fault_share = sample::kShareScale / 4;
    sample::SampleGenerator generator = sample::StartSample(options);
    for (int n = 0; n < kRecordsPerVersion;) {
      std::string line = sample::NextSampleLine(generator).text;
      LineBuffer buffer;
      const LineText taken = TakeLine(line.data(), line.size(), buffer);
      AssessmentRecord record;
      if (ParseLine(line, taken.family, taken.length, record)) {
        lines.push_back(line);
        ++n;
      }
    }
  }
  return lines;
}

// A change of `line` outside `columns`: one byte, or a whole item.
bool ChangeOutside(std::string& line, std::size_t length, Family family,
                   const std::vector<Column>& columns, Random& random) {
  const int first = family == Family::kBase ? 0 : 3;
  Column place{first + static_cast<int>(random(length - first)), 1};
  std::string value(1, kAlphabet[random(sizeof kAlphabet)]);
  if (random(2) == 0) {
    const LayoutItem& item = InputLayout()[random(InputLayout().size())];
    place = {item.StartIn(family), item.width};
    if (place.start < first || place.start + place.width > static_cast<int>(length)) return false;
    value = ItemText(item, random(1u << 20));
  }
  if (Overlaps(place, columns)) return false;
  line.replace(place.start, place.width, value);
  return true;
}

void CheckFamily(const std::vector<std::string>& versions, const std::vector<RowList>& lists,
                 std::set<const void*>& seen, Figures& figures) {
  const std::vector<std::string> lines = LinesOf(versions);
  LineBuffer buffer;
  const Family family = TakeLine(lines[0].data(), lines[0].size(), buffer).family;

  std::vector<RowInFamily> rows;
  for (std::size_t l = 0; l < lists.size(); ++l) {
    if (lists[l].families != nullptr && !lists[l].families(family)) continue;
    for (std::size_t r = 0; r < lists[l].rows.size(); ++r) {
      RowInFamily row;
      row.list = &lists[l];
      row.row = &lists[l].rows[r];
      row.family = family;
      row.reads = RowReads(lists[l].rows[r]);
      for (const FieldRef field : row.reads) {
        row.columns.push_back(ColumnsOf(field, family));
        row.listed.push_back(row.listed_names.size());
        row.listed_names.push_back(FieldName(field));
      }
      row.where =
          "list " + std::to_string(l) + " row " + std::to_string(r) + " (" + versions[0] + ")";
      rows.push_back(std::move(row));
      seen.insert(&lists[l].rows[r]);
    }
  }
  for (const CriteriaSet& set : CriteriaSetsOf(family)) {
    for (std::size_t r = 0; r < set.rows.size(); ++r) {
      RowInFamily row;
      row.criterion = &set.rows[r];
      row.family = family;
      for (const criteria::Read& read : ExpandReads(set.rows[r].reads, family)) {
        const std::vector<FieldRef> fields = testing::FieldsOfRead(read, family);
        row.listed_names.push_back(read.kind == criteria::Read::Kind::kField
                                       ? FieldName(fields.front())
                                       : "a score over " + std::to_string(fields.size()) +
                                             " fields from " + FieldName(fields.front()));
        for (const FieldRef field : fields) {
          if (std::find(row.reads.begin(), row.reads.end(), field) != row.reads.end()) continue;
          row.reads.push_back(field);
          row.columns.push_back(ColumnsOf(field, family));
          row.listed.push_back(row.listed_names.size() - 1);
        }
      }
      row.where = std::string("set ") + set.letter + " row " + std::to_string(r) + " (" +
                  (set.rows[r].code != nullptr ? set.rows[r].code : "stop") + ", " + versions[0] +
                  ")";
      rows.push_back(std::move(row));
      seen.insert(&set.rows[r]);
    }
  }

  Random random;
  AssessmentRecord base_record, changed_record;
  for (const RowInFamily& row : rows) {
    ++figures.rows;
    // Sufficient: nothing outside the listed columns changes the outcome.
    for (const std::string& line : lines) {
      const std::size_t length = TakeLine(line.data(), line.size(), buffer).length;
      long counted = 0;
      for (int m = 0; m < 4 * kMutationsPerRecord && counted < kMutationsPerRecord; ++m) {
        std::string base = line;
        for (std::size_t k = 0; k < row.reads.size(); ++k) {
          const Column c = row.columns[k];
          const LayoutItem* item = ItemOf(row.reads[k]);
          if (item == nullptr || c.width == 0 || c.start < 3 ||
              c.start + c.width > static_cast<int>(length) || random(3) != 0) {
            continue;
          }
          base.replace(c.start, c.width, ItemText(*item, random(1u << 20)));
        }
        if (!ParseLine(base, family, length, base_record)) continue;
        std::string changed = base;
        if (!ChangeOutside(changed, length, family, row.columns, random)) continue;
        ++figures.tried;
        if (!ParseLine(changed, family, length, changed_record)) {
          ++figures.skipped;
          continue;
        }
        ++counted;
        if (OutcomeOn(row, base_record) != OutcomeOn(row, changed_record)) {
          Fail(figures, "%s: a change outside what it lists changed its outcome%s\n", row.where,
               "");
        }
      }
      figures.fewest = std::min<long long>(figures.fewest, counted);
    }

    // Necessary: each listed read changes the outcome on some record. A
    // witness is two records that differ in one field of the read; they are
    // looked for on walks from one record to another, one listed field at a
    // time, where the outcome turns at a step.
    figures.where[row.key()] = row.where;
    std::vector<bool> found(row.listed_names.size(), false);
    std::vector<std::size_t> order;
    for (std::size_t k = 0; k < row.reads.size(); ++k) {
      // The form-version code is implied by the family that the same bytes
      // choose, so its row cannot fail; the code is read by the gates that
      // tell a family's two codes apart, where it matters.
      const bool version_row = row.list != nullptr && &row.list->rows[0] == &lists[0].rows[0];
      if (row.columns[k].width == 0 || (IsVersionField(row.reads[k]) && version_row)) {
        found[row.listed[k]] = true;
        continue;
      }
      figures.matters[{row.key(), row.listed[k]}];
      order.push_back(k);
    }
    const bool scale_answers = row.criterion != nullptr;
    const int attempts = row.criterion != nullptr ? 8 * kWitnessAttempts : kWitnessAttempts;
    for (int attempt = 0; attempt < attempts; ++attempt) {
      if (std::all_of(found.begin(), found.end(), [](bool f) { return f; })) break;
      const std::string& line = lines[random(lines.size())];
      const std::size_t length = TakeLine(line.data(), line.size(), buffer).length;
      if (!ParseLine(line, family, length, base_record)) continue;
      for (const std::size_t k : order) {
        if (random(2) == 0) SetValue(base_record, row.reads[k], random(1u << 20), scale_answers);
      }
      AssessmentRecord target = base_record;
      for (const std::size_t k : order) {
        if (random(2) == 0) SetValue(target, row.reads[k], random(1u << 20), scale_answers);
      }
      for (std::size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[random(i)]);
      const char* outcome = OutcomeOn(row, base_record);
      for (const std::size_t k : order) {
        const std::size_t at = row.reads[k].offset;
        const std::size_t size = at == kFormVersionField.offset ? 4
                                 : ItemOf(row.reads[k])->kind == ItemKind::kText
                                     ? ItemOf(row.reads[k])->width + 1
                                 : ItemOf(row.reads[k])->kind == ItemKind::kChar ? 1
                                                                                 : 4;
        if (std::memcmp(reinterpret_cast<const char*>(&base_record) + at,
                        reinterpret_cast<const char*>(&target) + at, size) == 0)
          continue;
        std::memcpy(reinterpret_cast<char*>(&base_record) + at,
                    reinterpret_cast<const char*>(&target) + at, size);
        const char* next_outcome = OutcomeOn(row, base_record);
        if (next_outcome != outcome) {
          found[row.listed[k]] = true;
          figures.matters[{row.key(), row.listed[k]}] = true;
        }
        outcome = next_outcome;
      }
    }
    for (std::size_t g = 0; g < found.size(); ++g) {
      if (found[g]) figures.matters[{row.key(), g}] = true;
      figures.names[{row.key(), g}] = row.listed_names[g];
    }
  }
}

int Run() {
  const std::vector<RowList> lists = ValidationLists();
  const std::vector<std::vector<std::string>> families = {
      {"base"}, {"089", "010"}, {"090", "011"}, {"091", "012"}, {"092", "013"}};
  Figures figures;
  std::set<const void*> seen;
  for (const std::vector<std::string>& versions : families) {
    CheckFamily(versions, lists, seen, figures);
  }
  for (const RowList& list : lists) {
    for (const Row& row : list.rows) {
      if (seen.count(&row) == 0) Fail(figures, "%s%s: a row that runs in no family\n", "", "");
    }
  }
  // Every row of every plan, whichever family group the plan is for.
  for (const CriteriaSet& set : criteria::ClassificationPlans::kEverySet) {
    for (const criteria::Criterion& row : set.rows) {
      if (seen.count(&row) == 0)
        Fail(figures, "%s%s: a criterion that runs in no family\n", "", "");
    }
  }
  for (const auto& [key, matters] : figures.matters) {
    if (!matters) {
      Fail(figures, "%s: listed read %s never changed its outcome\n", figures.where[key.first],
           figures.names[key].c_str());
    }
  }
  if (figures.fewest < kMinimumMutations) {
    Fail(figures, "%s%s: a row met only %d mutations outside its fields on one record\n", "", "",
         static_cast<int>(figures.fewest));
  }
  std::printf(
      "validation and criterion rows checked, family by family: %lld (%lld rows); records per "
      "version code (and the base layout): %d; mutations tried: %lld, of which %lld no longer "
      "parsed or changed the length or family; fewest mutations outside a row's fields on one "
      "record: %lld\n",
      static_cast<long long>(figures.rows), static_cast<long long>(seen.size()), kRecordsPerVersion,
      static_cast<long long>(figures.tried), static_cast<long long>(figures.skipped),
      figures.fewest);
  std::printf("%s\n", figures.failures == 0 ? "evidence complete" : "EVIDENCE INCOMPLETE");
  return figures.failures == 0 ? 0 : 1;
}

}  // namespace
}  // namespace grouper

int main() {
  return grouper::Run();
}
