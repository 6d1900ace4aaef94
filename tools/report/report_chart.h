// Bar charts as inline SVG for the report page: no script, no font or image
// from outside, scaled by its viewBox to the width of the page or the paper.
//
// Bars stand in groups (the codes of one group letter; a histogram is one
// group), in the order given, each with its label below and its count above.
// Every bar's <rect> carries the caller's data attributes and data-count, so
// that a test reads the chart's numbers from the rendered page. A count of
// zero still gets its (flat) bar.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace grouper::report {

struct Bar {
  std::string label;       // below the bar, UTF-8
  std::string attributes;  // ready markup, e.g. data-group-code="A11"
  uint64_t count = 0;
  int group = 0;  // index into the chart's groups
};

struct BarGroup {
  std::string label;  // below the group's bars, UTF-8; may be empty
  std::string color;  // fill of its bars, e.g. #2b4c7e
};

struct BarChart {
  std::string title;  // the chart's accessible name, UTF-8
  std::vector<BarGroup> groups;
  std::vector<Bar> bars;
  int bar_width = 40;
};

void AppendBarChart(std::string& out, const BarChart& chart);

}  // namespace grouper::report
