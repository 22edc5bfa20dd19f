#include "geometry/lens_rows_csv.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace korvel {
namespace {

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  // Spreadsheets put quotes around a field now and then.
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
  return text;
}

// The line without its comment and without blanks at either end.
std::string_view content(std::string_view line) { return trimmed(line.substr(0, line.find('#'))); }

std::vector<std::string_view> fields(std::string_view line) {
  std::vector<std::string_view> out;
  for (std::size_t start = 0;;) {
    const std::size_t comma = line.find(',', start);
    out.push_back(trimmed(line.substr(start, comma - start)));
    if (comma == std::string_view::npos) return out;
    start = comma + 1;
  }
}

// The whole field as a finite number, "." as the decimal point.
std::optional<double> number(std::string_view field) {
  if (!field.empty() && field.front() == '+') field.remove_prefix(1);
  double value = 0.0;
  const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (field.empty() || ec != std::errc() || end != field.data() + field.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::optional<std::size_t> column(const std::vector<std::string_view>& header, std::string_view name) {
  const auto at = std::find(header.begin(), header.end(), name);
  if (at == header.end()) return std::nullopt;
  return static_cast<std::size_t>(at - header.begin());
}

}  // namespace

LensRowsRead readLensRowsCsv(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // a spreadsheet's byte-order mark
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view line = content(text.substr(start, end - start));
    if (!line.empty()) lines.push_back(line);
    start = end + 1;
  }
  if (lines.empty()) return {{}, "no header: the first line must name the columns magnification and travel_mm"};
  const std::vector<std::string_view> header = fields(lines.front());
  const auto magnification = column(header, kMagnificationColumn);
  const auto travel = column(header, kTravelColumn);
  for (const auto& [found, name] : {std::pair{magnification, kMagnificationColumn}, std::pair{travel, kTravelColumn}})
    if (!found) return {{}, "the header has no column " + std::string(name)};

  LensRowsRead read;
  for (std::size_t r = 1; r < lines.size(); ++r) {
    const std::vector<std::string_view> row = fields(lines[r]);
    const auto value = [&](std::size_t at, std::string_view name) -> std::optional<double> {
      const std::string_view field = at < row.size() ? row[at] : std::string_view{};
      const auto parsed = number(field);
      if (!parsed) {
        // Appended piece by piece: a quoted field joined to a literal trips a
        // false overlap warning of GCC 12 in optimised builds.
        read.error = "row " + std::to_string(r) + ": the " + std::string(name) + " ";
        if (field.empty()) {
          read.error += "is missing";
        } else {
          read.error.append("\"").append(field).append("\" is not a number");
        }
      }
      return parsed;
    };
    const auto m = value(*magnification, kMagnificationColumn);
    if (!m) return {{}, read.error};
    const auto t = value(*travel, kTravelColumn);
    if (!t) return {{}, read.error};
    read.rows.push_back({*m, *t});
  }
  return read;
}

}  // namespace korvel
