#include "geometry/cam_part.h"

#include <polyclipping/clipper.hpp>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "common/units.h"
#include "geometry/cam_frame.h"
#include "geometry/cam_outline.h"

namespace korvel {

namespace {

// The body below the working edge, in the cam frame (inches, y down), as the
// cam is drawn: right foot, the notch's corners, left foot.
constexpr double kRightFoot = kWorkingLength + 0.072;
constexpr double kNotchRight = kRightFoot - 0.242;
constexpr double kNotchLeft = kNotchRight - 1.06;
constexpr double kLeftFoot = kNotchLeft - 0.24;
constexpr double kNotchTop = 0.685;
constexpr PartPoint kBody[] = {{kRightFoot, kBaseLine}, {kNotchRight, kBaseLine}, {kNotchRight, kNotchTop},
                               {kNotchLeft, kNotchTop}, {kNotchLeft, kBaseLine},  {kLeftFoot, kBaseLine}};
constexpr PartCircle kHoles[] = {{{0.2, 0.3}, 0.12}, {{0.88, 0.46}, 0.12}};

// Clipper works in integers: 100,000 steps to the millimetre put its rounding
// at 0.00001 mm, far below anything a file or a cutter shows.
constexpr double kClipperStepsPerMm = 100000.0;

// Cam-frame inches (y down) to millimetres, y up.
PartPoint partMm(double x, double y) { return {x * kMmPerInch, -y * kMmPerInch}; }

// Moves the part so that its outline's bounding box starts at (0, 0).
void moveToOrigin(CamPart& part) {
  double left = part.outline.front().x, right = left, bottom = part.outline.front().y, top = bottom;
  for (const PartPoint& p : part.outline) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    bottom = std::min(bottom, p.y);
    top = std::max(top, p.y);
  }
  for (PartPoint& p : part.outline) p = {p.x - left, p.y - bottom};
  for (PartCircle& hole : part.holes) hole.centre = {hole.centre.x - left, hole.centre.y - bottom};
  part.captionCentre = {part.captionCentre.x - left, part.captionCentre.y - bottom};
  part.widthMm = right - left;
  part.heightMm = top - bottom;
}

}  // namespace

CamPart camPartMm(double focalMm, LeadInStyle leadIn) {
  const CamProfile profile = ComputeCamProfile(focalMm, kExtensionFactorAfterCam, leadIn);
  CamPart part;
  for (const CamPoint& p : profile.points) part.outline.push_back(partMm(p.exactX, p.exactY));
  for (const PartPoint& p : kBody) part.outline.push_back(partMm(p.x, p.y));
  for (std::size_t i = 0; i < part.holes.size(); ++i)
    part.holes[i] = {partMm(kHoles[i].centre.x, kHoles[i].centre.y), kHoles[i].radius * kMmPerInch};
  const CaptionCentre caption = captionCentre(0.0, 0.0, 1);
  part.captionCentre = partMm(caption.x, caption.y);
  moveToOrigin(part);
  return part;
}

CamPart withFilingAllowance(const CamPart& part, double allowanceMm) {
  if (!(allowanceMm >= 0.0 && allowanceMm <= kLargestAllowanceMm))
    throw std::invalid_argument("the allowance lies outside 0 to 1 mm");
  ClipperLib::Path outline;
  for (const PartPoint& p : part.outline)
    outline.push_back({std::llround(p.x * kClipperStepsPerMm), std::llround(p.y * kClipperStepsPerMm)});
  ClipperLib::ClipperOffset offset;  // mitre limit 2 by default
  offset.AddPath(outline, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
  ClipperLib::Paths offsetPaths;
  offset.Execute(offsetPaths, allowanceMm * kClipperStepsPerMm);
  // Offset outward, the cam stays one piece: the largest path is the outline.
  const auto largest = std::max_element(offsetPaths.begin(), offsetPaths.end(), [](const auto& a, const auto& b) {
    return std::abs(ClipperLib::Area(a)) < std::abs(ClipperLib::Area(b));
  });
  if (largest == offsetPaths.end()) throw std::invalid_argument("the outline has no area");

  CamPart allowed = part;
  allowed.outline.clear();
  for (const ClipperLib::IntPoint& p : *largest)
    allowed.outline.push_back({static_cast<double>(p.X) / kClipperStepsPerMm,
                               static_cast<double>(p.Y) / kClipperStepsPerMm});
  for (PartCircle& hole : allowed.holes) hole.radius -= allowanceMm;
  moveToOrigin(allowed);
  return allowed;
}

}  // namespace korvel
