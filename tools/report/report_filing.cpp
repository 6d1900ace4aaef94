#include "report_filing.h"

#include "line/input_warnings.h"
#include "report_page.h"
#include "text/u8_text.h"

namespace grouper::report {

namespace {

// "20260301" as "2026-03-01" for people; other text as it is.
std::string ShownDate(const std::string& date) {
  if (date.size() != 8) return date;
  return date.substr(0, 4) + "-" + date.substr(4, 2) + "-" + date.substr(6, 2);
}

// A row of the filing table; a value that is one date, number or code is kept
// on one line.
void Row(std::string& out, const std::string& label, const std::string& value_html,
         bool one_line = true) {
  out += "<tr><th>" + label + "</th><td" + (one_line ? " class=\"value\"" : "") + ">" + value_html +
         "</td></tr>\n";
}

}  // namespace

void AppendFiling(std::string& out, const ReportTally& tally, const FilingInfo& info,
                  const std::string& input_name) {
  std::string warnings;
  for (const std::string& w : info.warnings) warnings += (warnings.empty() ? "" : " ") + w;
  if (!info.warnings.empty()) {
    out += "<div class=\"banner\" role=\"alert\"><b>";
    out += U8(u8"입력 파일을 확인하십시오.");
    out += "</b><ul>\n";
    for (const std::string& w : info.warnings) {
      out += "<li>" + Escaped(InputWarnings::Sentence(w.c_str(), Language::kKorean)) + "</li>\n";
    }
    out += "</ul></div>\n";
  }
  out += "<section id=\"filing\" data-file-name=\"" + Escaped(input_name) + "\" data-file-size=\"" +
         std::to_string(info.file_size) + "\" data-file-sha256=\"" + Escaped(info.sha256) +
         "\" data-period-start=\"" + tally.period_start + "\" data-period-end=\"" +
         tally.period_end + "\" data-generated=\"" + Escaped(info.generated) +
         "\" data-version=\"" + Escaped(info.version) + "\" data-warnings=\"" + Escaped(warnings) +
         "\">\n<table class=\"filing\">\n";
  Row(out, U8(u8"입력 파일"), Escaped(input_name));
  Row(out, U8(u8"파일 크기"), std::to_string(info.file_size) + U8(u8" 바이트"));
  Row(out, "SHA-256", "<code>" + Escaped(info.sha256) + "</code>");
  Row(out, U8(u8"평가 기간 (작성일)"),
      tally.period_start.empty()
          ? U8(OutcomeLabel(Outcome::kGroupCode)) + U8(u8" 기록 없음")
          : Escaped(ShownDate(tally.period_start)) + " ~ " + Escaped(ShownDate(tally.period_end)));
  std::string institutions;
  for (const auto& [code, count] : tally.institutions) {
    institutions += "<span data-institution-code=\"" + Escaped(code) + "\" data-count=\"" +
                    std::to_string(count) + "\">" + Escaped(code) + " (" + std::to_string(count) +
                    U8(u8"건)") + "</span> ";
  }
  if (tally.other_institutions > 0) {
    institutions += U8(u8"그 밖의 기관 ") + std::to_string(tally.other_institutions) + U8(u8"건");
  }
  Row(out, U8(u8"요양기관기호"), institutions.empty() ? "-" : institutions, false);
  Row(out, U8(u8"작성 일시"), Escaped(info.generated_shown));
  Row(out, U8(u8"프로그램 버전"), Escaped(info.version));
  out += "</table>\n</section>\n";
}

void AppendWrongTypeReasons(std::string& out, const ReportTally& tally) {
  if (tally.wrong_type_reasons.empty()) return;
  out += "<table class=\"reasons\">\n<thead><tr><th class=\"num\">";
  out += U8(u8"줄</th><th>") + U8(OutcomeLabel(Outcome::kWrongDataType)) + U8(u8"인 이유</th>");
  out += "</tr></thead>\n<tbody>\n";
  for (std::size_t i = 0; i < tally.wrong_type_reasons.size(); ++i) {
    const std::string n = std::to_string(tally.wrong_type_lines.first[i]);
    out += "<tr data-wrong-type-line=\"" + n + "\"><td class=\"num\">" + n + "</td><td>" +
           Escaped(tally.wrong_type_reasons[i]) + "</td></tr>\n";
  }
  out += "</tbody>\n</table>\n";
}

}  // namespace grouper::report
