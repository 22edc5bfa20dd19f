#include "geometry/coupled_range.h"

#include <charconv>

#include "common/number_text.h"
#include "common/units.h"
#include "geometry/cam_profile.h"

namespace korvel {

std::optional<double> nearestCoupledDistanceMm(double focalMm) {
  const CamProfile profile = ComputeCamProfile(focalMm, kExtensionFactorAfterCam, LeadInStyle::Unshifted);
  std::optional<double> nearest;
  for (const CamPoint& p : profile.points)
    if (p.kind == CamPointKind::Profile) nearest = p.distanceMm;
  return nearest;
}

std::string coupledRangeText(double focalMm) {
  const std::optional<double> nearest = nearestCoupledDistanceMm(focalMm);
  if (!nearest) return {};
  const std::optional<std::string> feet =
      roundedNumberText(*nearest / (kInchesPerFoot * kMmPerInch), NumberPattern::TwoDecimals);
  char metres[32];
  const auto written = std::to_chars(metres, metres + sizeof metres, *nearest / 1000.0,
                                     std::chars_format::fixed, 2);
  if (!feet || written.ec != std::errc()) return {};
  return "couples from infinity to " + *feet + " ft (" + std::string(metres, written.ptr) + " m)";
}

}  // namespace korvel
