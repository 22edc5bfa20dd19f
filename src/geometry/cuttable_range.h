#pragma once

#include <string>

// The focal lengths a cam can be cut for. Up to about 4,169.8 mm the outline
// is a simple polygon with both holes inside it; longer lenses cut the holes
// through the edge. Below 20 mm the working edge stands all but upright (0.02 in
// of travel over the whole range of distances).
namespace korvel {

inline constexpr double kShortestCuttableFocalMm = 20.0;
inline constexpr double kLongestCuttableFocalMm = 4169.0;

inline bool isCuttableFocalLength(double focalMm) {
  return focalMm >= kShortestCuttableFocalMm && focalMm <= kLongestCuttableFocalMm;
}

// "20 to 4169 mm", as every message that refuses a lens names the range.
inline std::string cuttableRangeText() { return "20 to 4169 mm"; }
static_assert(kShortestCuttableFocalMm == 20.0 && kLongestCuttableFocalMm == 4169.0,
              "cuttableRangeText() names the range");

}  // namespace korvel
