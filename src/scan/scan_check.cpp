#include "scan/scan_check.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <limits>
#include <opencv2/imgproc.hpp>

#include "common/units.h"
#include "geometry/cam_frame.h"
#include "scan/cam_region.h"
#include "scan/outline_fit.h"

namespace korvel {

namespace {

// Room around the cam's region for the edges' blur and the probes, mm.
constexpr double kWindowMarginMm = 2.0;
// A region whose window is this much wider or taller than the cam at any
// angle is something else (and would take much memory to measure).
constexpr double kLargestWindowShare = 1.25;
// A region counts as the cam from this share of the computed cam's area on.
constexpr double kLeastCamShare = 0.5;
// Each marker's height is the mean over vertical lines just past its point
// (the lead-in's step lies just before marker 1), mm from the marker; just
// before it where the working edge ends sooner.
constexpr double kMarkerLinesFrom = 0.05;
constexpr double kMarkerLineSpacing = 0.05;
constexpr int kMarkerLines = 5;
// How far the measurements look from the computed edge, mm.
constexpr double kMarkerRange = 1.0;
constexpr double kEdgeRange = 0.5;
constexpr double kEdgeSpacing = 0.1;

// The part's pixels in the window: the largest region on the part's side of
// the threshold.
cv::Mat partMask(const cv::Mat& grey, const CamRegion& region) {
  cv::Mat window;
  grey(region.window).convertTo(window, CV_32F);
  cv::Mat mask;
  cv::threshold(window, mask, region.threshold, 255, region.partIsDark ? cv::THRESH_BINARY_INV : cv::THRESH_BINARY);
  mask.convertTo(mask, CV_8U);
  cv::Mat labels, stats, centroids;
  const int count = cv::connectedComponentsWithStats(mask, labels, stats, centroids, 8, CV_32S);
  int largest = 0;  // none: an empty mask, which no start fits
  for (int i = 1; i < count; ++i) {
    if (largest == 0 || stats.at<int>(i, cv::CC_STAT_AREA) > stats.at<int>(largest, cv::CC_STAT_AREA)) largest = i;
  }
  return largest == 0 ? cv::Mat::zeros(mask.size(), CV_8U) : cv::Mat(labels == largest);
}

// The longest line across the cam: its width or height on a scan at any angle stays within it.
double diagonalMm(const CamShape& shape) {
  double left = 0, right = 0, top = 0, bottom = 0;
  for (const ShapeEdge& e : shape.edges) {
    left = std::min(left, e.from.x), right = std::max(right, e.from.x);
    top = std::min(top, e.from.y), bottom = std::max(bottom, e.from.y);
  }
  return std::hypot(right - left, bottom - top);
}

MarkerCheck checkMarker(const ShapeMarker& m, const CamShape& shape, const CamPose& pose, const EdgeProbe& probe) {
  std::vector<Probe> probes;
  std::vector<double> computedY;
  // A marker close to the end of the working edge is measured just before it.
  double end = m.x;
  for (const ShapeEdge& e : shape.edges)
    if (e.feature == EdgeFeature::WorkingEdge) end = std::max(end, e.to.x);
  const double reach = kMarkerLinesFrom + (kMarkerLines - 1) * kMarkerLineSpacing;
  const double side = m.x + reach + kMarkerLinesFrom <= end ? 1.0 : -1.0;
  for (int k = 0; k < kMarkerLines; ++k) {
    const double x = m.x + side * (kMarkerLinesFrom + k * kMarkerLineSpacing);
    computedY.push_back(workingEdgeY(shape, x));
    probes.push_back({pose.place({x, computedY.back()}), pose.turn({0.0, -1.0})});
  }
  double sum = 0.0;
  int found = 0;
  for (const double offset : probe.offsets(probes, kMarkerRange)) {
    if (std::isnan(offset)) continue;
    sum += offset;
    ++found;
  }
  MarkerCheck check{m.marker, m.distanceMm, m.x, std::numeric_limits<double>::quiet_NaN(), {}};
  if (found == 0) return check;
  check.deviationMm = sum / found;
  const double cutY = m.y - check.deviationMm;
  check.shows = rangefinderReading(kBaseLine - cutY / kMmPerInch);
  return check;
}

HoleCheck checkHole(const ShapeCircle& hole, const std::vector<Eigen::Vector2d>& edge) {
  HoleCheck check;
  check.computedDiameterMm = 2.0 * hole.radius;
  if (edge.size() < 3) return check;
  // Least squares circle: x^2 + y^2 + D x + E y + F = 0.
  Eigen::MatrixXd a(edge.size(), 3);
  Eigen::VectorXd b(edge.size());
  for (std::size_t i = 0; i < edge.size(); ++i) {
    a.row(static_cast<Eigen::Index>(i)) << edge[i].x(), edge[i].y(), 1.0;
    b(static_cast<Eigen::Index>(i)) = -edge[i].squaredNorm();
  }
  const Eigen::Vector3d c = a.colPivHouseholderQr().solve(b);
  const Eigen::Vector2d centre(-c(0) / 2, -c(1) / 2);
  check.found = true;
  check.centreOffsetMm = {centre.x() - hole.centre.x, centre.y() - hole.centre.y};
  check.diameterMm = 2.0 * std::sqrt(centre.squaredNorm() - c(2));
  return check;
}

}  // namespace

ScanCheckResult checkScan(const ScanImage& scan, const ScanCheckSettings& settings) {
  if (!(std::isfinite(settings.focalMm) && settings.focalMm > 0.0)) return {std::nullopt, "the focal length must be a positive number"};
  if (!(settings.correctionX > 0.0 && settings.correctionY > 0.0 && std::isfinite(settings.correctionX) &&
        std::isfinite(settings.correctionY))) {
    return {std::nullopt, "the scanner correction factors must be positive numbers"};
  }
  ScanCheck check;
  check.shape = camShapeMm(settings.focalMm);
  if (check.shape.edges.empty()) return {std::nullopt, "no cam can be drawn for this focal length"};
  check.scale = {kMmPerInch / scan.dpiX * settings.correctionX, kMmPerInch / scan.dpiY * settings.correctionY};
  const double pixelArea = check.scale.mmPerPixelX * check.scale.mmPerPixelY;
  const int margin = static_cast<int>(std::ceil(kWindowMarginMm / std::min(check.scale.mmPerPixelX, check.scale.mmPerPixelY)));
  const CamRegionResult found = findCamRegion(scan.grey, kLeastCamShare * camAreaMm2(check.shape) / pixelArea, margin);
  if (!found.region) return {std::nullopt, found.error};
  const CamRegion& region = *found.region;
  if (std::max(region.window.width * check.scale.mmPerPixelX, region.window.height * check.scale.mmPerPixelY) >
      kLargestWindowShare * (diagonalMm(check.shape) + 2.0 * kWindowMarginMm)) {
    return {std::nullopt, "the largest part on the scan is far larger than this cam"};
  }
  check.window = region.window;
  const auto [part, background] = partAndBackgroundLevels(scan.grey, region.window, region.threshold, region.partIsDark);
  const EdgeProbe probe(scan.grey, region.window, check.scale, part, background);
  const std::optional<OutlineFit> fit = fitOutline(check.shape, probe, partMask(scan.grey, region), region.window);
  if (!fit) return {std::nullopt, "the cam's holes, feet and notch could not be found on the scan"};
  check.pose = fit->pose;
  check.rmsMm = fit->rmsMm;
  check.mirrored = fit->pose.mirrored;

  for (const ShapeMarker& m : check.shape.markers) check.markers.push_back(checkMarker(m, check.shape, check.pose, probe));

  const std::vector<OutlineSample> samples =
      outlineSamples(check.shape, std::max(kEdgeSpacing, probe.pixelMm()), cornerClearance(probe.pixelMm()));
  std::vector<Probe> probes;
  for (const OutlineSample& s : samples) probes.push_back(probeAt(check.pose, s));
  const std::vector<double> offsets = probe.offsets(probes, kEdgeRange);
  std::array<std::vector<Eigen::Vector2d>, 2> holeEdges;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (std::isnan(offsets[i])) continue;
    const OutlineSample& s = samples[i];
    if (s.hole >= 0) {
      holeEdges[static_cast<std::size_t>(s.hole)].push_back(
          check.pose.camPoint(probes[i].at + offsets[i] * probes[i].direction));
      continue;
    }
    check.edges.push_back({s.at, s.normal, s.feature, offsets[i]});
    if (!check.largestElsewhere || std::abs(offsets[i]) > std::abs(check.largestElsewhere->deviationMm)) {
      check.largestElsewhere = check.edges.back();
    }
  }
  for (std::size_t h = 0; h < 2; ++h) check.holes[h] = checkHole(check.shape.holes[h], holeEdges[h]);
  return {std::move(check), {}};
}

}  // namespace korvel
