#pragma once

// The program's units: cams and surfaces are measured in inches, focal lengths
// in millimetres, window places in twips, and the screen and surfaces in
// pixels.
namespace korvel {

inline constexpr double kMmPerInch = 25.4;
inline constexpr double kInchesPerFoot = 12.0;
inline constexpr int kTwipsPerInch = 1440;
inline constexpr double kPixelsPerInch = 96.0;

}  // namespace korvel
