#include "geometry/part_preflight.h"

#include <algorithm>
#include <charconv>

#include "common/units.h"
#include "geometry/coupled_range.h"

namespace korvel {

namespace {

std::string fixed(double value, int decimals) {
  char text[64];
  const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  return std::string(text, written.ptr);
}

std::string mm(double value) { return fixed(value, 3) + " mm"; }

}  // namespace

std::vector<std::string> preflightSummary(const PreflightInputs& inputs) {
  const CamPart& part = inputs.part;
  double smallestHoleMm = part.holes.front().radius * 2.0;
  for (const PartCircle& hole : part.holes) smallestHoleMm = std::min(smallestHoleMm, hole.radius * 2.0);

  std::vector<std::string> lines{
      "part: " + fixed(part.widthMm, 2) + " x " + fixed(part.heightMm, 2) + " mm (" +
          fixed(part.widthMm / kMmPerInch, 3) + " x " + fixed(part.heightMm / kMmPerInch, 3) + " in)",
      "closed contours: " + std::to_string(1 + part.holes.size()) + " (the outline and " +
          std::to_string(part.holes.size()) + " holes)",
      "smallest hole diameter: " + mm(smallestHoleMm),
      // The outline is straight segments with mitred corners: nothing a cutter must round.
      "smallest inside radius: none",
      coupledRangeText(inputs.focalMm),
      "allowance: " + mm(inputs.allowanceMm),
      std::string("layers: CUT") + (inputs.engrave ? ", ENGRAVE" : "")};
  if (inputs.thicknessMm && smallestHoleMm < *inputs.thicknessMm)
    lines.push_back("warning: a hole of " + mm(smallestHoleMm) + " is smaller than the material's thickness of " +
                    mm(*inputs.thicknessMm));
  // Against the hole as computed, before the allowance made it smaller.
  const double holeRadius = smallestHoleMm / 2.0 + inputs.allowanceMm;
  if (inputs.allowanceMm > holeRadius / 4.0)
    lines.push_back("warning: the allowance of " + mm(inputs.allowanceMm) +
                    " is more than a quarter of the hole radius of " + mm(holeRadius));
  return lines;
}

}  // namespace korvel
