#include "scan/outline_fit.h"

#include <Eigen/Dense>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <opencv2/imgproc.hpp>

namespace korvel {

namespace {

// A turn sharper than this between two edges is a corner that blur rounds.
constexpr double kSharpTurnRadians = 15.0 * std::numbers::pi / 180.0;
// The blur of a few pixels rounds a corner off, and a filed corner is rarely
// sharp to more than a tenth of a millimetre or so.
constexpr double kCornerClearanceMm = 0.15;
constexpr double kCornerClearancePixels = 3.0;
// How far from the computed edge the fit looks for the scanned one, mm: wide
// while the start from the region's axes settles, then narrow.
constexpr double kFirstRange = 0.8;
constexpr double kSettledRange = 0.4;
constexpr int kIterations = 12;
constexpr int kSettlingIterations = 3;
// Settled once a step moves no point of the cam by more than this, mm.
constexpr double kSettledMm = 1e-5;
constexpr double kSettledSpan = 40.0;
// A start is dropped when fewer of its probes find an edge.
constexpr double kLeastFoundShare = 0.5;
// Residuals beyond this many RMS are dirt or burrs, not the cam's edge.
constexpr double kOutlierRms = 3.0;
constexpr double kOutlierPixels = 2.0;

Eigen::Vector2d vec(const ShapePoint& p) { return {p.x, p.y}; }

double turnAt(const ShapeEdge& in, const ShapeEdge& out) {
  const Eigen::Vector2d a = vec(in.to) - vec(in.from);
  const Eigen::Vector2d b = vec(out.to) - vec(out.from);
  return std::abs(std::atan2(a.x() * b.y() - a.y() * b.x(), a.dot(b)));
}

// Centroid and central second moments of an area, mm.
struct AreaMoments {
  double area = 0.0;
  Eigen::Vector2d centre = Eigen::Vector2d::Zero();
  double xx = 0.0, xy = 0.0, yy = 0.0;
  double axisAngle() const { return 0.5 * std::atan2(2.0 * xy, xx - yy); }
};

AreaMoments shapeMoments(const CamShape& shape, bool mirrored) {
  double a = 0, sx = 0, sy = 0, sxx = 0, sxy = 0, syy = 0;
  const double m = mirrored ? -1.0 : 1.0;
  for (const ShapeEdge& e : shape.edges) {
    const double x0 = e.from.x, y0 = m * e.from.y, x1 = e.to.x, y1 = m * e.to.y;
    const double c = x0 * y1 - x1 * y0;
    a += c / 2;
    sx += (x0 + x1) * c / 6;
    sy += (y0 + y1) * c / 6;
    sxx += (x0 * x0 + x0 * x1 + x1 * x1) * c / 12;
    syy += (y0 * y0 + y0 * y1 + y1 * y1) * c / 12;
    sxy += (x0 * y1 + 2 * x0 * y0 + 2 * x1 * y1 + x1 * y0) * c / 24;
  }
  const double s = a < 0 ? -1.0 : 1.0;  // either turning sense
  a *= s, sx *= s, sy *= s, sxx *= s, syy *= s, sxy *= s;
  for (const ShapeCircle& h : shape.holes) {
    const double ha = std::numbers::pi * h.radius * h.radius;
    const double cx = h.centre.x, cy = m * h.centre.y;
    a -= ha;
    sx -= ha * cx;
    sy -= ha * cy;
    sxx -= ha * (cx * cx + h.radius * h.radius / 4);
    syy -= ha * (cy * cy + h.radius * h.radius / 4);
    sxy -= ha * cx * cy;
  }
  AreaMoments out;
  out.area = a;
  out.centre = {sx / a, sy / a};
  out.xx = sxx / a - out.centre.x() * out.centre.x();
  out.yy = syy / a - out.centre.y() * out.centre.y();
  out.xy = sxy / a - out.centre.x() * out.centre.y();
  return out;
}

AreaMoments maskMoments(const cv::Mat& mask, const cv::Rect& window, ScanScale scale) {
  const cv::Moments m = cv::moments(mask, true);
  AreaMoments out;
  if (m.m00 <= 0) return out;
  const double sx = scale.mmPerPixelX, sy = scale.mmPerPixelY;
  out.area = m.m00 * sx * sy;
  out.centre = {(m.m10 / m.m00 + window.x) * sx, (m.m01 / m.m00 + window.y) * sy};
  out.xx = m.mu20 / m.m00 * sx * sx;
  out.yy = m.mu02 / m.m00 * sy * sy;
  out.xy = m.mu11 / m.m00 * sx * sy;
  return out;
}

// Refines a start by Gauss-Newton on the distances of the scanned edges from
// the placed outline along its normals; nullopt when too few edges are found.
std::optional<OutlineFit> refine(CamPose pose, const std::vector<OutlineSample>& samples, const EdgeProbe& probe) {
  double rms = 0.0;
  for (int iteration = 0; iteration < kIterations; ++iteration) {
    std::vector<Probe> probes;
    for (const OutlineSample& s : samples) probes.push_back(probeAt(pose, s));
    const std::vector<double> offsets =
        probe.offsets(probes, iteration < kSettlingIterations ? kFirstRange : kSettledRange);
    const double limit = std::max(kOutlierRms * rms, kOutlierPixels * probe.pixelMm());
    std::vector<std::size_t> used;
    for (std::size_t i = 0; i < offsets.size(); ++i) {
      if (std::isnan(offsets[i])) continue;
      if (iteration >= kSettlingIterations && std::abs(offsets[i]) > limit) continue;
      used.push_back(i);
    }
    if (used.size() < kLeastFoundShare * samples.size() || used.size() < 3) return std::nullopt;
    Eigen::MatrixXd a(used.size(), 3);
    Eigen::VectorXd b(used.size());
    for (std::size_t row = 0; row < used.size(); ++row) {
      const Probe& p = probes[used[row]];
      const Eigen::Vector2d arm = p.at - pose.shift;
      a(row, 0) = p.direction.x() * -arm.y() + p.direction.y() * arm.x();
      a(row, 1) = p.direction.x();
      a(row, 2) = p.direction.y();
      b(row) = offsets[used[row]];
    }
    rms = std::sqrt(b.squaredNorm() / b.size());
    const Eigen::Vector3d step = (a.transpose() * a).ldlt().solve(a.transpose() * b);
    pose.angle += step(0);
    pose.shift += step.tail<2>();
    if (iteration >= kSettlingIterations && std::abs(step(0)) * kSettledSpan + step.tail<2>().norm() < kSettledMm) break;
  }
  return OutlineFit{pose, rms};
}

}  // namespace

std::vector<OutlineSample> outlineSamples(const CamShape& shape, double spacing, double cornerClearance) {
  std::vector<OutlineSample> samples;
  const std::vector<ShapeEdge>& edges = shape.edges;
  double signedArea = 0.0;
  for (const ShapeEdge& e : edges) signedArea += e.from.x * e.to.y - e.to.x * e.from.y;
  const double outward = signedArea > 0 ? 1.0 : -1.0;
  for (std::size_t i = 0; i < edges.size(); ++i) {
    const ShapeEdge& e = edges[i];
    const Eigen::Vector2d d = vec(e.to) - vec(e.from);
    const double length = d.norm();
    if (length <= 0.0) continue;
    const ShapeEdge& before = edges[(i + edges.size() - 1) % edges.size()];
    const ShapeEdge& after = edges[(i + 1) % edges.size()];
    const double start = turnAt(before, e) > kSharpTurnRadians ? cornerClearance : 0.0;
    const double end = length - (turnAt(e, after) > kSharpTurnRadians ? cornerClearance : 0.0);
    if (end < start) continue;
    const int count = static_cast<int>(std::floor((end - start) / spacing)) + 1;
    const double first = start + 0.5 * ((end - start) - (count - 1) * spacing);
    const ShapePoint normal{outward * d.y() / length, -outward * d.x() / length};
    for (int k = 0; k < count; ++k) {
      const Eigen::Vector2d at = vec(e.from) + d * ((first + k * spacing) / length);
      samples.push_back({{at.x(), at.y()}, normal, e.feature, -1});
    }
  }
  for (int h = 0; h < 2; ++h) {
    const ShapeCircle& c = shape.holes[static_cast<std::size_t>(h)];
    const int count = static_cast<int>(std::ceil(2 * std::numbers::pi * c.radius / spacing));
    for (int k = 0; k < count; ++k) {
      const double t = 2 * std::numbers::pi * k / count;
      samples.push_back({{c.centre.x + c.radius * std::cos(t), c.centre.y + c.radius * std::sin(t)},
                         {-std::cos(t), -std::sin(t)},
                         EdgeFeature::Hole, h});
    }
  }
  return samples;
}

double cornerClearance(double pixelMm) { return kCornerClearanceMm + kCornerClearancePixels * pixelMm; }

double camAreaMm2(const CamShape& shape) { return shapeMoments(shape, false).area; }

Probe probeAt(const CamPose& pose, const OutlineSample& sample) {
  return {pose.place(sample.at), pose.turn({sample.normal.x, sample.normal.y})};
}

std::optional<OutlineFit> fitOutline(const CamShape& shape, const EdgeProbe& probe, const cv::Mat& partMask,
                                     const cv::Rect& window) {
  std::vector<OutlineSample> samples;
  const double spacing = std::max(0.1, 2.0 * probe.pixelMm());
  for (const OutlineSample& s : outlineSamples(shape, spacing, cornerClearance(probe.pixelMm()))) {
    if (registersCam(s.feature)) samples.push_back(s);
  }
  const AreaMoments scanned = maskMoments(partMask, window, probe.scale());
  const Eigen::Vector2d unmirroredCentre = shapeMoments(shape, false).centre;
  std::optional<OutlineFit> best;
  for (const bool mirrored : {false, true}) {
    const AreaMoments computed = shapeMoments(shape, mirrored);
    for (const double half : {0.0, std::numbers::pi}) {
      CamPose start;
      start.mirrored = mirrored;
      start.angle = scanned.axisAngle() - computed.axisAngle() + half;
      start.shift = scanned.centre - start.turn(unmirroredCentre);
      const std::optional<OutlineFit> fit = refine(start, samples, probe);
      if (fit && (!best || fit->rmsMm < best->rmsMm)) best = fit;
    }
  }
  return best;
}

}  // namespace korvel
