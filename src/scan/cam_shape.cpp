#include "scan/cam_shape.h"

#include "common/units.h"
#include "geometry/cam_frame.h"
#include "geometry/distance_marker_table.h"

namespace korvel {

namespace {

// The body below the working edge, as geometry/cam_outline.cpp draws it.
constexpr double kNotchTop = 0.685;
constexpr double kRightFoot = kWorkingLength + 0.072;
constexpr double kNotchRight = kRightFoot - 0.242;
constexpr double kNotchLeft = kNotchRight - 1.06;
constexpr double kLeftFoot = kNotchLeft - 0.24;
constexpr double kHoleRadius = 0.12;

ShapePoint mm(double xIn, double yIn) { return {xIn * kMmPerInch, yIn * kMmPerInch}; }

}  // namespace

CamShape camShapeMm(double focalMm) {
  const CamProfile profile = ComputeCamProfile(focalMm, kExtensionFactorAfterCam, LeadInStyle::Unshifted);
  const std::vector<CamPoint>& points = profile.points;
  CamShape shape;
  const auto add = [&](ShapePoint from, ShapePoint to, EdgeFeature feature) {
    shape.edges.push_back({from, to, feature});
  };
  std::vector<ShapePoint> top;
  for (const CamPoint& p : points) top.push_back(mm(p.x, p.y));
  add(top[0], top[1], EdgeFeature::LeadIn);
  for (std::size_t i = 2; i < top.size(); ++i) add(top[i - 1], top[i], EdgeFeature::WorkingEdge);
  const ShapePoint rightFoot = mm(kRightFoot, kBaseLine);
  const ShapePoint notchRightBase = mm(kNotchRight, kBaseLine);
  const ShapePoint notchRightTop = mm(kNotchRight, kNotchTop);
  const ShapePoint notchLeftTop = mm(kNotchLeft, kNotchTop);
  const ShapePoint notchLeftBase = mm(kNotchLeft, kBaseLine);
  const ShapePoint leftFoot = mm(kLeftFoot, kBaseLine);
  add(top.back(), rightFoot, EdgeFeature::RightSide);
  add(rightFoot, notchRightBase, EdgeFeature::RightFoot);
  add(notchRightBase, notchRightTop, EdgeFeature::Notch);
  add(notchRightTop, notchLeftTop, EdgeFeature::Notch);
  add(notchLeftTop, notchLeftBase, EdgeFeature::Notch);
  add(notchLeftBase, leftFoot, EdgeFeature::LeftFoot);
  add(leftFoot, top[0], EdgeFeature::LeftSide);
  shape.holes = {ShapeCircle{mm(0.2, 0.3), kHoleRadius * kMmPerInch},
                 ShapeCircle{mm(0.88, 0.46), kHoleRadius * kMmPerInch}};
  for (const CamPoint& p : points) {
    if (p.kind != CamPointKind::Profile || !p.marker) continue;
    shape.markers.push_back({static_cast<int>(p.index), p.distanceMm, p.x * kMmPerInch, p.y * kMmPerInch});
  }
  return shape;
}

bool registersCam(EdgeFeature feature) {
  return feature == EdgeFeature::Hole || feature == EdgeFeature::RightFoot || feature == EdgeFeature::Notch || feature == EdgeFeature::LeftFoot;
}

const char* featureName(EdgeFeature feature) {
  switch (feature) {
    case EdgeFeature::LeadIn:
      return "lead-in";
    case EdgeFeature::WorkingEdge:
      return "working edge";
    case EdgeFeature::RightSide:
      return "right side";
    case EdgeFeature::RightFoot:
      return "right foot";
    case EdgeFeature::Notch:
      return "notch";
    case EdgeFeature::LeftFoot:
      return "left foot";
    case EdgeFeature::LeftSide:
      return "left side";
    case EdgeFeature::Hole:
      return "hole";
  }
  return "";
}

double workingEdgeY(const CamShape& shape, double x) {
  const ShapeEdge* last = nullptr;
  for (const ShapeEdge& e : shape.edges) {
    if (e.feature != EdgeFeature::LeadIn && e.feature != EdgeFeature::WorkingEdge) continue;
    if (!last && x <= e.from.x) return e.from.y;
    last = &e;
    if (x > e.to.x || e.to.x <= e.from.x) continue;
    return e.from.y + (e.to.y - e.from.y) * (x - e.from.x) / (e.to.x - e.from.x);
  }
  return last ? last->to.y : 0.0;
}

}  // namespace korvel
