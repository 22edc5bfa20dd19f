#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "geometry/lens_fit.h"

// The measurements of a lens as a CSV table, as a spreadsheet or a text
// editor writes them:
//     # 150 mm lens, ruler at the subject
//     magnification,travel_mm
//     0.102,15.6
// The first line that is not blank or a comment is the header; the columns
// magnification and travel_mm are found by name, in any order, and others are
// ignored. "#" starts a comment anywhere on a line, "." is the decimal point
// whatever the locale. Data row 1 is the first row after the header.
namespace korvel {

inline constexpr std::string_view kMagnificationColumn = "magnification";
inline constexpr std::string_view kTravelColumn = "travel_mm";

// The rows, or the message that names what is wrong ("row 2: ...").
struct LensRowsRead {
  std::vector<LensRow> rows;
  std::string error;  // empty when read
};

LensRowsRead readLensRowsCsv(std::string_view text);

}  // namespace korvel
