#include "report_page.h"

#include "explain/explanation.h"
#include "report_chart.h"
#include "text/cp949.h"
#include "text/u8_text.h"
#include "validate/record_validator.h"

namespace grouper::report {

namespace {

// The codes a page always shows, with a count of zero too.
constexpr const char* kGroupCodes[] = {"A11", "A12", "A21", "A22", "A23", "A31", "A32", "A33",
                                       "A41", "A51", "A61", "A62", "A71", "A72", "A73"};
constexpr const char* kGroupColors[] = {"#8e3b46", "#c0392b", "#d9822b", "#b7950b",
                                        "#2f7d4f", "#2b6cb0", "#6b46c1"};
constexpr const char* kOtherColor = "#7a8594";

constexpr const char kStyle[] = R"(
@page { size: A4; margin: 15mm }
* { box-sizing: border-box }
body { font-family: "Malgun Gothic", "Apple SD Gothic Neo", "NanumGothic", "Noto Sans CJK KR",
  "Noto Sans KR", sans-serif; color: #1d232b; margin: 0 auto; max-width: 1060px; padding: 24px;
  font-size: 14px; line-height: 1.45 }
h1 { font-size: 24px; margin: 0 0 4px }
h2 { font-size: 18px; margin: 28px 0 10px; padding-bottom: 4px; border-bottom: 2px solid #2b4c7e }
h3 { font-size: 14px; margin: 0 0 6px }
.sub, .note, h3 span { color: #4a5563 }
.note { font-size: 13px; margin: 6px 0 }
.tiles { display: grid; grid-template-columns: repeat(4, 1fr); gap: 12px }
.tile { border: 1px solid #cfd6e0; border-left: 6px solid #2b4c7e; border-radius: 4px;
  padding: 8px 12px }
.tile .label { display: block; color: #4a5563; font-size: 13px }
.tile .value { display: block; font-size: 26px; font-weight: bold }
.tile .share { display: block; color: #4a5563; font-size: 12px }
.tile.grouped { border-left-color: #2f7d4f }
.tile.rejected { border-left-color: #c0392b }
.tile.wrong { border-left-color: #b7791f }
table { border-collapse: collapse; width: 100%; margin: 10px 0; font-size: 13px }
th, td { border: 1px solid #cfd6e0; padding: 3px 8px; text-align: left; vertical-align: top }
th { background: #eef2f7 }
.num { text-align: right; white-space: nowrap; font-variant-numeric: tabular-nums }
tfoot td { font-weight: bold }
td.lines { font-size: 12px }
td.section { white-space: nowrap }
#messages td:nth-child(3) { width: 36% }
a { color: #2b4c7e }
figure { margin: 0 }
figcaption { color: #4a5563; font-size: 13px; margin-top: 4px }
svg { display: block; width: 100%; height: auto }
svg text { font-size: 12px; text-anchor: middle; fill: #1d232b }
svg text.group { font-size: 13px; font-weight: bold }
svg text.count { font-size: 11px }
svg .band { fill: #f3f5f8 }
svg .axis { stroke: #7a8594; stroke-width: 1 }
article.record { border: 1px solid #cfd6e0; border-radius: 4px; padding: 6px 10px; margin: 8px 0 }
article.record table { margin: 0; table-layout: fixed }
article.record th:nth-child(1) { width: 3em }
article.record th:nth-child(2) { width: 14% }
article.record th:nth-child(3) { width: 20% }
article.record th:nth-child(4) { width: 16% }
article.record td { overflow-wrap: anywhere }
article.record p.opens { margin: 3px 0 0; color: #4a5563; font-size: 13px }
article.record th:nth-child(5) { width: 12% }
article.record td.value, td.value, td.num { white-space: nowrap; overflow-wrap: normal }
.banner { border: 2px solid #c0392b; background: #fdecea; border-radius: 4px; padding: 8px 12px;
  margin: 12px 0 }
.banner ul { margin: 4px 0 0 }
table.filing { width: auto }
table.filing th { width: 11em }
:target { outline: 3px solid #f0b429 }
@media print {
  body { max-width: none; padding: 0; font-size: 11px }
  h2 { break-after: avoid }
  tr, figure, article.record, .tiles { break-inside: avoid }
  thead { display: table-header-group }
  a { color: inherit; text-decoration: none }
  * { -webkit-print-color-adjust: exact; print-color-adjust: exact }
}
)";

// 1234567 as "1,234,567".
std::string Thousands(uint64_t n) {
  const std::string digits = std::to_string(n);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

// The share of `part` in `whole` as "12.3%", rounded, without the C
// library's locale-dependent number formatting.
std::string Percent(uint64_t part, uint64_t whole) {
  if (whole == 0) return "-";
  const uint64_t tenths = (part * 1000 + whole / 2) / whole;
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + "%";
}

void Cell(std::string& out, std::string_view utf8) {
  out += "<td>";
  AppendEscaped(out, utf8);
  out += "</td>";
}

// A value of a record: a date or a number is kept on one line.
void ValueCell(std::string& out, std::string_view utf8) {
  const bool number = !utf8.empty() && utf8.find_first_not_of("0123456789.-") == std::string::npos;
  out += number ? "<td class=\"value\">" : "<td>";
  AppendEscaped(out, utf8);
  out += "</td>";
}

void NumberCell(std::string& out, uint64_t n) {
  out += "<td class=\"num\">" + Thousands(n) + "</td>";
}

void Tile(std::string& out, const char* kind, const std::string& label, uint64_t n,
          uint64_t lines) {
  out += "<div class=\"tile " + std::string(kind) + "\"><span class=\"label\">" + label +
         "</span><span class=\"value\">" + Thousands(n) + "</span>";
  if (lines > 0) out += "<span class=\"share\">" + Percent(n, lines) + "</span>";
  out += "</div>\n";
}

std::string CountAttributes(const OutcomeCounts& c) {
  return " data-lines=\"" + std::to_string(c.lines) + "\" data-grouped=\"" +
         std::to_string(c.grouped) + "\" data-rejected=\"" + std::to_string(c.rejected) +
         "\" data-wrong-type=\"" + std::to_string(c.wrong_type) + "\"";
}

void CountCells(std::string& out, const OutcomeCounts& c) {
  NumberCell(out, c.lines);
  NumberCell(out, c.grouped);
  NumberCell(out, c.rejected);
  NumberCell(out, c.wrong_type);
}

// Line numbers, the detailed ones as links to their records, then how many
// more there were.
void AppendLineList(std::string& out, const LineList& list, const ReportTally& tally) {
  const bool all_detailed = tally.details.size() < kDetailedRecords;
  const uint64_t last_detailed = tally.details.empty() ? 0 : tally.details.back().line;
  bool first = true;
  for (const uint64_t line : list.first) {
    if (!first) out += ", ";
    first = false;
    const std::string n = std::to_string(line);
    if (&list != &tally.wrong_type_lines && (all_detailed || line <= last_detailed)) {
      out += "<a href=\"#line-" + n + "\">" + n + "</a>";
    } else {
      out += n;
    }
  }
  if (list.total > list.first.size()) {
    out += U8(u8" 외 ") + Thousands(list.total - list.first.size()) + U8(u8"건");
  }
}

void AppendSummary(std::string& out, const ReportTally& t) {
  const OutcomeCounts& c = t.totals;
  out += "<section id=\"summary\" data-total-lines=\"" + std::to_string(c.lines) +
         "\" data-grouped=\"" + std::to_string(c.grouped) + "\" data-rejected=\"" +
         std::to_string(c.rejected) + "\" data-wrong-type=\"" + std::to_string(c.wrong_type) +
         "\">\n<h2>" + U8(u8"요약") + "</h2>\n<div class=\"tiles\">\n";
  Tile(out, "lines", U8(u8"전체 줄"), c.lines, 0);
  Tile(out, "grouped", U8(OutcomeLabel(Outcome::kGroupCode)), c.grouped, c.lines);
  Tile(out, "rejected", U8(OutcomeLabel(Outcome::kMessage)), c.rejected, c.lines);
  Tile(out, "wrong", U8(OutcomeLabel(Outcome::kWrongDataType)), c.wrong_type, c.lines);
  out += "</div>\n<table class=\"versions\">\n<thead><tr><th>";
  out += U8(u8"서식 버전</th><th class=\"num\">전체 줄</th>");
  for (const Outcome o : {Outcome::kGroupCode, Outcome::kMessage, Outcome::kWrongDataType}) {
    out += std::string("<th class=\"num\">") + U8(OutcomeLabel(o)) + "</th>";
  }
  out += "</tr></thead>\n<tbody>\n";
  for (std::size_t row = 0; row < kVersionRows; ++row) {
    const OutcomeCounts& v = t.by_version[row];
    if (v.lines == 0) continue;
    const bool base = row == kBaseRow;
    out += "<tr data-form-version=\"" +
           std::string(base ? "base" : std::string(kVersionCodes[row])) + "\"" +
           CountAttributes(v) + "><td>" +
           (base ? U8(u8"기본 서식 (버전 코드 없음)") : std::string(kVersionCodes[row])) + "</td>";
    CountCells(out, v);
    out += "</tr>\n";
  }
  out += "</tbody>\n<tfoot><tr><td>";
  out += U8(u8"합계");
  out += "</td>";
  CountCells(out, c);
  out += "</tr></tfoot>\n</table>\n";
  if (c.wrong_type > 0) {
    out += "<p class=\"note\">";
    out += U8(OutcomeLabel(Outcome::kWrongDataType));
    out += U8(u8"(서식 버전에 맞지 않는 줄 길이)인 줄: ");
    AppendLineList(out, t.wrong_type_lines, t);
    out += "</p>\n";
    AppendWrongTypeReasons(out, t);
  }
  out += "</section>\n";
}

void AppendGroupChart(std::string& out, const ReportTally& t) {
  BarChart chart;
  chart.title = U8(u8"환자군 코드별 건수");
  for (int g = 0; g < 7; ++g) {
    chart.groups.push_back({std::string{'A', static_cast<char>('1' + g), 'x'}, kGroupColors[g]});
  }
  chart.groups.push_back({U8(u8"기타"), kOtherColor});
  const int other_group = 7;

  auto bar = [&](const std::string& code, uint64_t count, int group) {
    const std::string label = code.empty() ? U8(u8"코드 없음") : code;
    chart.bars.push_back({label, "data-group-code=\"" + Escaped(code) + "\"", count, group});
  };
  for (const char* code : kGroupCodes) {
    const auto found = t.by_code.find(code);
    bar(code, found == t.by_code.end() ? 0 : found->second, code[1] - '1');
  }
  // Any other code (none is expected) and the empty code, after the rest.
  for (const auto& [code, count] : t.by_code) {
    bool listed = code.empty();
    for (const char* fixed : kGroupCodes) listed = listed || code == fixed;
    if (!listed) bar(code, count, other_group);
  }
  if (const auto empty = t.by_code.find(""); empty != t.by_code.end()) {
    bar("", empty->second, other_group);
  }

  out += "<section id=\"groups\">\n<h2>";
  out += U8(u8"환자군 분포");
  out += "</h2>\n<figure>\n";
  AppendBarChart(out, chart);
  out += "<figcaption>";
  out += std::string(U8(OutcomeLabel(Outcome::kGroupCode))) + " " + Thousands(t.totals.grouped) +
         U8(u8"건의 환자군 코드별 건수 (코드 순, 환자군 A1x–A7x별로 묶음");
  out += t.by_code.count("") > 0 ? U8(u8"; 코드 없음: 유효한 기록이나 코드를 정할 수 없는 경우)")
                                 : ")";
  out += "</figcaption>\n</figure>\n</section>\n";
}

void AppendAdlChart(std::string& out, const ReportTally& t) {
  BarChart chart;
  chart.title = U8(u8"ADL 점수별 건수");
  chart.bar_width = 36;
  chart.groups.push_back({"", "#2b6cb0"});
  for (int score = 0; score <= kMaxAdlScore; ++score) {
    chart.bars.push_back({std::to_string(score), "data-adl-score=\"" + std::to_string(score) + "\"",
                          t.adl[static_cast<std::size_t>(score)], 0});
  }
  out += "<section id=\"adl\">\n<h2>";
  out += U8(u8"ADL 점수 분포");
  out += "</h2>\n<figure>\n";
  AppendBarChart(out, chart);
  out += "<figcaption>";
  out += U8(OutcomeLabel(Outcome::kGroupCode));
  out += U8(u8" 기록의 ADL 점수(0–20)별 건수");
  if (t.adl_outside > 0) {
    out += U8(u8"; 범위 밖 점수 ") + Thousands(t.adl_outside) + U8(u8"건은 빠짐");
  }
  out += "</figcaption>\n</figure>\n</section>\n";
}

void AppendMessages(std::string& out, const ReportTally& t) {
  out += "<section id=\"messages\">\n<h2>";
  out += U8(u8"오류 메시지별 현황");
  out += "</h2>\n";
  if (t.by_message.empty()) {
    out += "<p class=\"note\">";
    out += U8(OutcomeLabel(Outcome::kMessage));
    out += U8(u8"이 없습니다.");
    out += "</p>\n</section>\n";
    return;
  }
  out += "<p class=\"note\">" + Thousands(t.by_message.size()) +
         U8(u8"가지 메시지, 많은 순. 줄 번호는 메시지마다 처음 ") + std::to_string(kLinesPerList) +
         U8(u8"개까지 싣고, 번호를 누르면 그 기록의 상세로 갑니다.") + "</p>\n";
  out += "<table>\n<thead><tr><th class=\"num\">#</th><th>";
  out += U8(u8"영역</th><th>메시지</th><th class=\"num\">건수</th><th>줄 번호</th>");
  out += "</tr></thead>\n<tbody>\n";
  int rank = 0;
  for (const MessageTally* m : MessagesByCount(t)) {
    const MessageNames names = NamesOf(FindFormMessage(m->message));
    out += "<tr data-message-count=\"" + std::to_string(m->lines.total) + "\"><td class=\"num\">" +
           std::to_string(++rank) + "</td>";
    out += "<td class=\"section\">";
    AppendEscaped(out, names.section);
    out += "</td>";
    Cell(out, Utf8Twin(m->message));
    NumberCell(out, m->lines.total);
    out += "<td class=\"lines\">";
    AppendLineList(out, m->lines, t);
    out += "</td></tr>\n";
  }
  out += "</tbody>\n</table>\n</section>\n";
}

void AppendDetails(std::string& out, const ReportTally& t) {
  const uint64_t rejected = t.totals.rejected;
  if (rejected == 0) return;
  out += "<section id=\"details\" data-details-shown=\"" + std::to_string(t.details.size()) +
         "\" data-details-total=\"" + std::to_string(rejected) + "\">\n<h2>";
  out += U8(OutcomeLabel(Outcome::kMessage));
  out += U8(u8" 상세");
  out += "</h2>\n<p class=\"note\">";
  if (t.details.size() < rejected) {
    out += std::string(U8(OutcomeLabel(Outcome::kMessage))) + " " + Thousands(rejected) +
           U8(u8"건 중 처음 ") + Thousands(t.details.size()) +
           U8(u8"건의 상세를 싣습니다 (건수는 모든 줄을 셉니다). ");
  } else {
    out += std::string(U8(OutcomeLabel(Outcome::kMessage))) + " " + Thousands(rejected) +
           U8(u8"건의 상세입니다. ");
  }
  out +=
      U8(u8"기록마다 모든 오류를 서식 순서로 싣고, 첫 오류가 결과 파일의 메시지입니다. "
         u8"성명과 주민등록번호는 가려서 싣습니다.");
  out += "</p>\n";
  for (const RejectedDetail& d : t.details) {
    const std::string n = std::to_string(d.line);
    out += "<article class=\"record\" id=\"line-" + n + "\" data-line=\"" + n + "\">\n<h3>";
    out += U8(u8"줄 ") + Thousands(d.line) + " <span>" + Escaped(d.form);
    if (!d.patient_name.empty()) out += U8(u8" · 환자 ") + Escaped(d.patient_name);
    if (!d.resident_number.empty()) out += U8(u8" · 주민등록번호 ") + Escaped(d.resident_number);
    out += U8(u8" · 오류 ") + std::to_string(d.faults.size()) + U8(u8"건");
    out += "</span></h3>\n<table>\n<thead><tr><th class=\"num\">#</th><th>";
    out += U8(u8"영역</th><th>항목</th><th>읽은 항목</th><th>값</th><th>메시지</th>");
    out += "</tr></thead>\n<tbody>\n";
    int i = 0;
    for (const DetailFault& f : d.faults) {
      out += "<tr><td class=\"num\">" + std::to_string(++i) + "</td>";
      Cell(out, f.section);
      Cell(out, f.item);
      Cell(out, f.field);
      ValueCell(out, f.value);
      out += "<td>";
      AppendEscaped(out, f.message);
      if (!f.opens.empty()) {
        out += "<p class=\"opens\">";
        AppendEscaped(out, f.opens);
        out += "</p>";
      }
      out += "</td></tr>\n";
    }
    out += "</tbody>\n</table>\n</article>\n";
  }
  out += "</section>\n";
}

}  // namespace

void AppendEscaped(std::string& out, std::string_view utf8) {
  for (const char c : utf8) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') ||
            c == 0x7F) {
          out += "\xEF\xBF\xBD";  // U+FFFD
        } else {
          out += c;
        }
    }
  }
}

std::string Escaped(std::string_view utf8) {
  std::string out;
  AppendEscaped(out, utf8);
  return out;
}

std::string RenderPage(const ReportTally& tally, const PageInfo& info) {
  std::string out;
  out.reserve(64 * 1024 + tally.details.size() * 1024);
  out += "<!DOCTYPE html>\n<html lang=\"ko\">\n<head>\n<meta charset=\"utf-8\">\n";
  out += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
  out += U8(u8"환자군 분류 보고서 - ") + Escaped(info.input_name);
  out += "</title>\n<style>";
  out += kStyle;
  out += "</style>\n</head>\n<body>\n<header>\n<h1>";
  out += U8(u8"장기요양 환자군 분류 보고서");
  out += "</h1>\n<p class=\"sub\">";
  out += U8(u8"입력 파일 ") + std::string("<b>") + Escaped(info.input_name) + "</b> · " +
         U8(u8"전체 ") + Thousands(tally.totals.lines) + U8(u8"줄");
  out += "</p>\n";
  AppendFiling(out, tally, info.filing, info.input_name);
  out += "</header>\n";
  AppendSummary(out, tally);
  AppendGroupChart(out, tally);
  AppendAdlChart(out, tally);
  AppendMessages(out, tally);
  AppendDetails(out, tally);
  out += "</body>\n</html>\n";
  return out;
}

}  // namespace grouper::report
