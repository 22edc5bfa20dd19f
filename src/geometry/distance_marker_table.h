#pragma once

#include <array>
#include <optional>

#include "common/units.h"
#include "geometry/cam_frame.h"

// The rangefinder's distance settings that every cam is built from: for each
// setting the subject distance, the cam height the follower must reach there,
// the extension factor the row sets and whether the row carries a marker.
namespace korvel {

struct DistanceRow {
  float index;                  // 0 to 13 in steps of 0.5
  double distanceMm;            // subject distance
  double heightIn;              // cam height above the base line
  std::optional<float> factor;  // extension factor set before the row's point
  bool marker;                  // whole-numbered rows 1 to 13
};

namespace detail {
constexpr double inches(double in) { return in * kMmPerInch; }
constexpr double feet(double ft) { return ft * kInchesPerFoot * kMmPerInch; }
}  // namespace detail

inline constexpr std::array<DistanceRow, 27> DistanceMarkerTable{{
    {0.0f, 3203248.0, 0.700, std::nullopt, false},
    {0.5f, 2404872.0, kBaseLine, std::nullopt, false},
    {1.0f, 1603248.0, kBaseLine, std::nullopt, true},
    {1.5f, detail::inches(12000), 0.693, std::nullopt, false},
    {2.0f, detail::inches(1200), 0.692, std::nullopt, true},
    {2.5f, detail::inches(900), 0.690, 1.074f, false},
    {3.0f, detail::inches(600), 0.688, std::nullopt, true},
    {3.5f, detail::feet(37.5), 0.684, std::nullopt, false},
    {4.0f, detail::inches(300), 0.681, 0.959f, true},
    {4.5f, detail::inches(240), 0.676, std::nullopt, false},
    {5.0f, detail::inches(180), 0.669, 1.074f, true},
    {5.5f, detail::feet(12.5), 0.6615, std::nullopt, false},
    {6.0f, detail::inches(120), 0.654, 1.09f, true},
    {6.5f, detail::inches(108), 0.650, std::nullopt, false},
    {7.0f, detail::inches(96), 0.647, 1.07f, true},
    {7.5f, detail::feet(7.5), 0.643, std::nullopt, false},
    {8.0f, detail::inches(84), 0.639, 1.08f, true},
    {8.5f, detail::feet(6.5), 0.635, std::nullopt, false},
    {9.0f, detail::inches(72), 0.632, 1.07f, true},
    {9.5f, detail::feet(5.5), 0.626, std::nullopt, false},
    {10.0f, detail::inches(60), 0.621, 1.07f, true},
    {10.5f, detail::feet(4.5), 0.610, 1.09f, false},
    {11.0f, detail::inches(48), 0.599, 1.1f, true},
    {11.5f, detail::feet(3.75), 0.591, 1.11f, false},
    {12.0f, detail::feet(3.5), 0.584, 1.13f, true},
    {12.5f, detail::feet(3.25), 0.575, 1.14f, false},
    {13.0f, detail::inches(36), 0.567, 1.155f, true},
}};

}  // namespace korvel
