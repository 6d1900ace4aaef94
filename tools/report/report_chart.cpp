#include "report_chart.h"

#include <algorithm>

#include "report_page.h"

namespace grouper::report {

namespace {

constexpr int kPlotHeight = 200;
constexpr int kTop = 24;  // room for the count above the tallest bar
constexpr int kGap = 8;   // between bars of a group
constexpr int kGroupGap = 28;
constexpr int kMargin = 16;
constexpr int kLabelBand = 44;  // bar labels, then group labels

std::string Number(int64_t n) {
  return std::to_string(n);
}

}  // namespace

void AppendBarChart(std::string& out, const BarChart& chart) {
  uint64_t most = 1;
  for (const Bar& b : chart.bars) most = std::max(most, b.count);

  // Left edges of the bars and the span of each group.
  std::vector<int> x(chart.bars.size());
  std::vector<std::pair<int, int>> span(chart.groups.size(), {-1, -1});
  int cursor = kMargin;
  for (std::size_t i = 0; i < chart.bars.size(); ++i) {
    if (i > 0) cursor += chart.bars[i].group != chart.bars[i - 1].group ? kGroupGap : kGap;
    x[i] = cursor;
    auto& [first, last] = span[static_cast<std::size_t>(chart.bars[i].group)];
    if (first < 0) first = cursor;
    last = cursor + chart.bar_width;
    cursor += chart.bar_width;
  }
  const int width = cursor + kMargin;
  const int base = kTop + kPlotHeight;
  bool group_labels = false;
  for (const BarGroup& g : chart.groups) group_labels = group_labels || !g.label.empty();
  const int height = base + (group_labels ? kLabelBand : kLabelBand - 20);

  out += "<svg role=\"img\" viewBox=\"0 0 " + Number(width) + " " + Number(height) +
         "\" style=\"max-width:" + Number(width) + "px\" aria-label=\"";
  AppendEscaped(out, chart.title);
  out += "\">\n";
  for (std::size_t g = 0; g < chart.groups.size(); ++g) {
    const auto [first, last] = span[g];
    if (first < 0) continue;
    // A light band behind each group makes the grouping visible in print too.
    out += "<rect class=\"band\" x=\"" + Number(first - 6) + "\" y=\"" + Number(kTop - 4) +
           "\" width=\"" + Number(last - first + 12) + "\" height=\"" + Number(kPlotHeight + 4) +
           "\"/>\n";
    if (!chart.groups[g].label.empty()) {
      out += "<text class=\"group\" x=\"" + Number((first + last) / 2) + "\" y=\"" +
             Number(base + 38) + "\">";
      AppendEscaped(out, chart.groups[g].label);
      out += "</text>\n";
    }
  }
  out += "<line class=\"axis\" x1=\"" + Number(kMargin - 8) + "\" x2=\"" +
         Number(width - kMargin + 8) + "\" y1=\"" + Number(base) + "\" y2=\"" + Number(base) +
         "\"/>\n";
  for (std::size_t i = 0; i < chart.bars.size(); ++i) {
    const Bar& b = chart.bars[i];
    const int h = static_cast<int>((b.count * kPlotHeight + most / 2) / most);
    const int centre = x[i] + chart.bar_width / 2;
    out += "<rect class=\"bar\" " + b.attributes + " data-count=\"" + std::to_string(b.count) +
           "\" x=\"" + Number(x[i]) + "\" y=\"" + Number(base - h) + "\" width=\"" +
           Number(chart.bar_width) + "\" height=\"" + Number(h) + "\" fill=\"" +
           chart.groups[static_cast<std::size_t>(b.group)].color + "\"><title>";
    AppendEscaped(out, b.label);
    out += ": " + std::to_string(b.count) + "</title></rect>\n";
    out += "<text class=\"count\" x=\"" + Number(centre) + "\" y=\"" + Number(base - h - 5) +
           "\">" + std::to_string(b.count) + "</text>\n";
    out += "<text class=\"label\" x=\"" + Number(centre) + "\" y=\"" + Number(base + 16) + "\">";
    AppendEscaped(out, b.label);
    out += "</text>\n";
  }
  out += "</svg>\n";
}

}  // namespace grouper::report
