#pragma once

#include <optional>
#include <string>
#include <vector>

#include "geometry/cam_part.h"

// What a part file holds, said before it goes to a cutting service: its size,
// its contours, the smallest features a cutter must hold, the range the cam
// couples over, the allowance left to file and the layers written, with a
// warning for each feature the material or the allowance puts at risk.
namespace korvel {

// The material thicknesses a hole can be checked against.
inline constexpr double kThinnestMaterialMm = 0.1;
inline constexpr double kThickestMaterialMm = 10.0;

struct PreflightInputs {
  double focalMm = 0.0;
  CamPart part;               // as written: with the allowance already taken off
  double allowanceMm = 0.0;
  bool engrave = true;        // the caption's layer ENGRAVE is written
  std::optional<double> thicknessMm;
};

// One line each; warnings last, each starting "warning:".
std::vector<std::string> preflightSummary(const PreflightInputs& inputs);

}  // namespace korvel
