#include "geometry/cam_outline.h"

#include <array>
#include <string>
#include <vector>

#include "common/failing_step.h"
#include "common/number_text.h"
#include "geometry/cam_frame.h"

namespace korvel {

namespace {

// Body of the cam from the end of the working edge, reached by successive
// steps along x: right foot, notch, left foot; then back to the first point.
constexpr double kNotchTop = 0.685;

// Maps cam-frame inches onto the surface, which takes single precision. A
// coordinate a float cannot hold (a lens of about 5e39 mm on the
// high-resolution sheet) throws, so the step drawing it fails and is skipped.
class Placement {
 public:
  Placement(double xOffset, double yOffset, std::int16_t scale)
      : xOffset_(xOffset), yOffset_(yOffset), scale_(scale) {}
  float x(double camX) const { return toSingle((camX + xOffset_) * scale_).value(); }
  float y(double camY) const { return toSingle((camY + yOffset_) * scale_).value(); }
  float length(double inches) const { return toSingle(inches * scale_).value(); }

 private:
  double xOffset_;
  double yOffset_;
  double scale_;
};

void line(CamCanvas& canvas, const Placement& at, double x1, double y1, double x2, double y2) {
  runStep([&] { canvas.line(at.x(x1), at.y(y1), at.x(x2), at.y(y2), kBlack); });
}

void markerTicks(CamCanvas& canvas, const Placement& at, const CamPoint& p) {
  const double x = p.x;
  const double y = p.y;
  canvas.beginFigure(FigureRole::MarkerTicks);
  line(canvas, at, x, y + 0.05, x, y + 0.15);
  line(canvas, at, x, 0.57, x, 0.67);
  canvas.endFigure();
}

struct FramePoint {
  double x;
  double y;
};

// The body's corners in the cam frame, from the right foot round to the left.
std::array<FramePoint, 6> bodyCorners() {
  const double rightFoot = kWorkingLength + 0.072;
  const double notchRight = rightFoot - 0.242;
  const double notchLeft = notchRight - 1.06;
  const double leftFoot = notchLeft - 0.24;
  return {{{rightFoot, kBaseLine},
           {notchRight, kBaseLine},
           {notchRight, kNotchTop},
           {notchLeft, kNotchTop},
           {notchLeft, kBaseLine},
           {leftFoot, kBaseLine}}};
}

void body(CamCanvas& canvas, const Placement& at, const CamPoint& end, const CamPoint& first) {
  FramePoint from{end.x, end.y};
  for (const FramePoint& corner : bodyCorners()) {
    line(canvas, at, from.x, from.y, corner.x, corner.y);
    from = corner;
  }
  line(canvas, at, from.x, from.y, first.x, first.y);
}

// The whole outline in its order, lead-in, working edge and body, as one
// closed polygon on the surface; a point the surface cannot hold is left out,
// as its lines are.
std::vector<SurfacePoint> outlinePolygon(const Placement& at, const std::vector<CamPoint>& points) {
  std::vector<SurfacePoint> polygon;
  const auto add = [&](double x, double y) {
    runStep([&] {
      const SurfacePoint p{at.x(x), at.y(y)};
      if (polygon.empty() || polygon.back().x != p.x || polygon.back().y != p.y) polygon.push_back(p);
    });
  };
  for (const CamPoint& p : points) add(p.x, p.y);
  for (const FramePoint& corner : bodyCorners()) add(corner.x, corner.y);
  return polygon;
}

void holes(CamCanvas& canvas, const Placement& at) {
  runStep([&] { canvas.circle(at.x(0.2), at.y(0.3), at.length(0.12)); });
  runStep([&] { canvas.circle(at.x(0.88), at.y(0.46), at.length(0.12)); });
}

// Centre of the caption in the cam frame: the middle of the band from x 0.02
// to 0.75 and y 0.425 to 0.565. Above it hangs the upper hole (down to y 0.42)
// and the ticks under the working edge (down to 0.278); below it stand the
// ticks over the base (from 0.57); the left edge stays left of x 0.013 down
// there even for the longest lens, and the lower hole starts at x 0.76.
constexpr double kCaptionCentreX = (0.02 + 0.75) / 2;
constexpr double kCaptionCentreY = (0.425 + 0.565) / 2;

void caption(CamCanvas& canvas, const Placement& at, double focalMm) {
  runStep([&] {
    canvas.writeTextCentred(at.x(kCaptionCentreX), at.y(kCaptionCentreY), camCaption(focalMm).value());
  });
}

}  // namespace

std::optional<std::string> camCaption(double focalMm) {
  const auto number = roundedNumberText(focalMm, NumberPattern::TwoDecimals);
  if (!number) return std::nullopt;
  return *number + " mm";
}

CaptionCentre captionCentre(double xOffset, double yOffset, std::int16_t plotScale) {
  const Placement at(xOffset, yOffset, plotScale);
  return {at.x(kCaptionCentreX), at.y(kCaptionCentreY)};
}

void drawCamOutline(CamCanvas& canvas, double focalMm, double xOffset, double yOffset,
                    float& extensionFactor, const CamOutlineOptions& options) {
  const Placement at(xOffset, yOffset, options.plotScale);
  if (options.setDrawColour) runStep([&] { canvas.setDrawColour(kBlack); });

  const CamProfile profile = ComputeCamProfile(focalMm, extensionFactor, options.leadIn);
  canvas.keepProfile(focalMm, extensionFactor, profile);
  const std::vector<CamPoint>& points = profile.points;
  canvas.beginFigure(FigureRole::CamOutline);

  // Lead-in: a dot at A, a line to B.
  const CamPoint& a = points[0];
  runStep([&] { canvas.point(at.x(a.x), at.y(a.y)); });
  line(canvas, at, a.x, a.y, points[1].x, points[1].y);
  runStep([&] { canvas.refresh(); });

  // Working edge, each segment drawn as soon as its end point is known; the
  // screen follows every ordinary row.
  for (std::size_t i = 2; i < points.size(); ++i) {
    const CamPoint& q = points[i - 1];
    const CamPoint& p = points[i];
    line(canvas, at, q.x, q.y, p.x, p.y);
    if (p.kind != CamPointKind::Profile) continue;
    if (options.distanceMarkers && p.marker) markerTicks(canvas, at, p);
    if (p.x < 0.0f) continue;
    runStep([&] { canvas.refresh(); });
  }

  body(canvas, at, points.back(), a);
  canvas.endFigure();
  canvas.keepOutline(outlinePolygon(at, points));
  holes(canvas, at);
  if (options.caption) caption(canvas, at, focalMm);
  extensionFactor = kExtensionFactorAfterCam;
}

}  // namespace korvel
