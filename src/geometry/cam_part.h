#pragma once

#include <array>
#include <vector>

#include "geometry/cam_profile.h"

// One cam as the part a laser or a mill cuts: the outline as one closed
// polygon and the two holes, in millimetres, y up, the part's bounding box
// starting at (0, 0). A part is never mirrored: turned over it is the same part.
namespace korvel {

struct PartPoint {
  double x;
  double y;
};

struct PartCircle {
  PartPoint centre;
  double radius;
};

struct CamPart {
  // In the outline's drawing order: lead-in A, B, the profile rows, the clamped
  // end or E, the right foot, the notch, the left foot; closed back to A.
  std::vector<PartPoint> outline;
  std::array<PartCircle, 2> holes;
  PartPoint captionCentre{};  // where the lens caption's ink is centred
  double widthMm = 0.0;
  double heightMm = 0.0;
};

// The cam of focalMm (a cuttable focal length) with the extension factor every
// cam starts from: Draw Graph's cam with LeadInStyle::Unshifted, a sheet's
// with LeadInStyle::SetBack. Exact doubles from the profile, never the
// single-precision figures a surface receives.
CamPart camPartMm(double focalMm, LeadInStyle leadIn);

// The largest filing allowance: beyond it the holes of a long lens's cam
// would close and the outline would swallow the notch.
inline constexpr double kLargestAllowanceMm = 1.0;

// The part cut oversize for filing to the line: the outline offset outward by
// allowanceMm with mitred corners (Clipper, its default mitre limit 2, which
// keeps every corner of the cam), each hole's radius smaller by allowanceMm;
// moved so that the offset outline's bounding box starts at (0, 0). Throws
// std::invalid_argument outside 0 to kLargestAllowanceMm.
CamPart withFilingAllowance(const CamPart& part, double allowanceMm);

}  // namespace korvel
