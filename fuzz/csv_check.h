// A strict check of one row of an RFC 4180 table, for the explanation's fuzz
// target: every field quoted, a quote inside a field doubled, fields separated
// by commas, the row ended by CR LF and nothing after it, a given number of
// fields, and well-formed UTF-8 throughout. Written from the grammar alone,
// sharing nothing with the program's own writer. Header only.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "json_check.h"

namespace grouper::csv_check {

// True when `row` is exactly one quoted row of `fields` fields; `cells` gets
// the fields' text, unquoted.
inline bool IsOneQuotedRow(std::string_view row, std::size_t fields,
                           std::vector<std::string>* cells = nullptr) {
  if (!json_check::ValidUtf8(row)) return false;
  std::vector<std::string> found;
  std::size_t i = 0;
  for (;;) {
    if (i >= row.size() || row[i] != '"') return false;
    std::string cell;
    for (++i;; ++i) {
      if (i >= row.size()) return false;
      if (row[i] == '"') {
        if (i + 1 < row.size() && row[i + 1] == '"') {
          cell += '"';
          ++i;
          continue;
        }
        ++i;
        break;
      }
      cell += row[i];
    }
    found.push_back(std::move(cell));
    if (i < row.size() && row[i] == ',') {
      ++i;
      continue;
    }
    if (row.substr(i) != "\r\n") return false;
    break;
  }
  if (found.size() != fields) return false;
  if (cells != nullptr) *cells = std::move(found);
  return true;
}

}  // namespace grouper::csv_check
