#include "scan/cam_shape.h"

#include "common/units.h"
#include "geometry/cam_canvas.h"
#include "geometry/cam_outline.h"

namespace korvel {

namespace {

// Keeps the outline's lines and the holes as the cam's drawing hands them
// over, in inches of the cam frame, so the shape checked is exactly the shape
// drawn and exported.
class ShapeRecorder : public CamCanvas {
 public:
  void setDrawColour(Colour) override {}
  void point(float, float) override {}
  void line(float x1, float y1, float x2, float y2, Colour) override {
    if (inOutline_) lines.push_back({{x1 * kMmPerInch, y1 * kMmPerInch}, {x2 * kMmPerInch, y2 * kMmPerInch}, {}});
  }
  void circle(float x, float y, float radius) override {
    circles.push_back({{x * kMmPerInch, y * kMmPerInch}, radius * kMmPerInch});
  }
  void setTextPosition(float, float) override {}
  void writeText(const std::string&) override {}
  void writeTextCentred(float, float, const std::string&) override {}
  void refresh() override {}
  void beginFigure(FigureRole role) override { inOutline_ = role == FigureRole::CamOutline; }
  void endFigure() override { inOutline_ = false; }
  void keepProfile(double, float, const CamProfile& kept) override { profile = kept; }

  std::vector<ShapeEdge> lines;
  std::vector<ShapeCircle> circles;
  CamProfile profile;

 private:
  bool inOutline_ = false;
};

// The body drawn after the working edge: side, right foot, the notch's three
// edges, left foot and the side back to the lead-in.
constexpr EdgeFeature kBody[] = {EdgeFeature::RightSide, EdgeFeature::RightFoot, EdgeFeature::Notch,
                                 EdgeFeature::Notch,     EdgeFeature::Notch,     EdgeFeature::LeftFoot,
                                 EdgeFeature::LeftSide};
constexpr std::size_t kBodyEdges = std::size(kBody);

}  // namespace

CamShape camShapeMm(double focalMm) {
  ShapeRecorder drawn;
  float factor = kExtensionFactorAfterCam;
  CamOutlineOptions options;
  options.caption = false;
  options.setDrawColour = false;
  options.leadIn = LeadInStyle::Unshifted;
  drawCamOutline(drawn, focalMm, 0.0, 0.0, factor, options);
  CamShape shape;
  // A lens whose outline a float cannot hold has lines missing: no shape.
  if (drawn.lines.size() < kBodyEdges + 2 || drawn.circles.size() != 2) return shape;
  shape.edges = drawn.lines;
  const std::size_t bodyStart = shape.edges.size() - kBodyEdges;
  for (std::size_t i = 0; i < shape.edges.size(); ++i) {
    shape.edges[i].feature = i == 0 ? EdgeFeature::LeadIn
                             : i < bodyStart ? EdgeFeature::WorkingEdge
                                             : kBody[i - bodyStart];
  }
  shape.holes = {drawn.circles[0], drawn.circles[1]};
  for (const CamPoint& p : drawn.profile.points) {
    if (p.kind != CamPointKind::Profile || !p.marker) continue;
    shape.markers.push_back({static_cast<int>(p.index), p.distanceMm, p.x * kMmPerInch, p.y * kMmPerInch});
  }
  return shape;
}

bool registersCam(EdgeFeature feature) {
  return feature == EdgeFeature::Hole || feature == EdgeFeature::RightFoot || feature == EdgeFeature::Notch ||
         feature == EdgeFeature::LeftFoot;
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
