#include "support/synthetic_scan.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <opencv2/imgproc.hpp>
#include <random>
#include <vector>

#include "scan/cam_pose.h"
#include "scan/cam_shape.h"

namespace korvel::testing {

namespace {

using Ring = std::vector<Eigen::Vector2d>;

constexpr int kSubRows = 16;
constexpr double kDensifyMm = 0.05;
constexpr int kCircleVertices = 512;
constexpr double kDark = 50.0;
constexpr double kLight = 210.0;
constexpr double kNoiseShare = 0.03;
constexpr double kBlurPixels = 1.0;

// The cam's outline and holes in the cam frame, mm, the working edge moved up
// by the error.
std::vector<Ring> camRings(const SyntheticScan& scan) {
  const CamShape shape = camShapeMm(scan.focalMm);
  Ring outline;
  for (const ShapeEdge& e : shape.edges) {
    if (e.feature != EdgeFeature::WorkingEdge || !scan.workingEdgeError) {
      outline.emplace_back(e.from.x, e.from.y);
      continue;
    }
    const int steps = std::max(1, static_cast<int>(std::ceil(std::abs(e.to.x - e.from.x) / kDensifyMm)));
    for (int k = 0; k < steps; ++k) {
      const double x = e.from.x + (e.to.x - e.from.x) * k / steps;
      const double y = e.from.y + (e.to.y - e.from.y) * k / steps;
      outline.emplace_back(x, y - scan.workingEdgeError(x));
    }
  }
  std::vector<Ring> rings{outline};
  for (const ShapeCircle& h : shape.holes) {
    Ring circle;
    for (int k = 0; k < kCircleVertices; ++k) {
      const double t = 2 * std::numbers::pi * k / kCircleVertices;
      circle.emplace_back(h.centre.x + h.radius * std::cos(t), h.centre.y + h.radius * std::sin(t));
    }
    rings.push_back(circle);
  }
  return rings;
}

// Share of each pixel inside the rings (even-odd), pixel centres on integers:
// exact along x, kSubRows rows deep.
cv::Mat coverage(const std::vector<Ring>& rings, cv::Size size) {
  cv::Mat cover = cv::Mat::zeros(size, CV_32F);
  std::vector<double> xs;
  for (int row = 0; row < size.height; ++row) {
    float* out = cover.ptr<float>(row);
    for (int sub = 0; sub < kSubRows; ++sub) {
      const double y = row - 0.5 + (sub + 0.5) / kSubRows;
      xs.clear();
      for (const Ring& r : rings) {
        for (std::size_t i = 0; i < r.size(); ++i) {
          const Eigen::Vector2d& a = r[i];
          const Eigen::Vector2d& b = r[(i + 1) % r.size()];
          if ((a.y() <= y) == (b.y() <= y)) continue;
          xs.push_back(a.x() + (y - a.y()) * (b.x() - a.x()) / (b.y() - a.y()));
        }
      }
      std::sort(xs.begin(), xs.end());
      for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
        const double from = xs[i] + 0.5, to = xs[i + 1] + 0.5;  // pixel j spans [j, j + 1) here
        for (int j = std::max(0, static_cast<int>(from)); j < std::min(size.width, static_cast<int>(to) + 1); ++j) {
          out[j] += static_cast<float>((std::min(to, j + 1.0) - std::max(from, double(j))) / kSubRows);
        }
      }
    }
  }
  return cover;
}

}  // namespace

QImage renderSyntheticScan(const SyntheticScan& scan) {
  std::mt19937 random(scan.seed);
  const double pixelsPerMm = scan.dpi / 25.4;
  CamPose pose;
  pose.angle = scan.angleDegrees * std::numbers::pi / 180.0;
  pose.mirrored = scan.mirrored;
  std::vector<Ring> rings;
  double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
  for (int copy = 0; copy < scan.cams; ++copy) {
    for (Ring ring : camRings(scan)) {
      for (Eigen::Vector2d& p : ring) {
        p = pose.turn(p) + Eigen::Vector2d(copy * 60.0, 0.0);
        p = {p.x() * pixelsPerMm * scan.scannerScaleX, p.y() * pixelsPerMm};
        left = std::min(left, p.x()), right = std::max(right, p.x());
        top = std::min(top, p.y()), bottom = std::max(bottom, p.y());
      }
      rings.push_back(ring);
    }
  }
  if (rings.empty()) left = top = 0.0, right = bottom = 30.0 * pixelsPerMm;  // a bare lid
  // A fraction of a pixel of its own for each scan, so no edge sits on the grid.
  std::uniform_real_distribution<double> fraction(0.0, 1.0);
  const double margin = scan.marginMm * pixelsPerMm;
  const Eigen::Vector2d shift(margin - left + fraction(random), margin - top + fraction(random));
  for (Ring& ring : rings)
    for (Eigen::Vector2d& p : ring) p += shift;
  const cv::Size size(static_cast<int>(right - left + 2 * margin), static_cast<int>(bottom - top + 2 * margin));
  const cv::Mat cover = coverage(rings, size);
  const double part = scan.partIsDark ? kDark : kLight;
  const double background = scan.partIsDark ? kLight : kDark;
  cv::Mat grey = background + (part - background) * cover;
  cv::GaussianBlur(grey, grey, cv::Size(), kBlurPixels);
  cv::Mat noise(grey.size(), CV_32F);
  cv::RNG(scan.seed).fill(noise, cv::RNG::NORMAL, 0.0, kNoiseShare * std::abs(part - background));
  grey += noise;
  const int cut = static_cast<int>(scan.cutOffLeftMm * pixelsPerMm + margin);
  const cv::Mat kept = grey.colRange(scan.cutOffLeftMm > 0 ? cut : 0, grey.cols);
  QImage image(kept.cols, kept.rows, QImage::Format_Grayscale8);
  for (int r = 0; r < kept.rows; ++r) {
    cv::Mat line(1, kept.cols, CV_8U, image.scanLine(r));
    kept.row(r).convertTo(line, CV_8U);
  }
  const int dotsPerMetre = static_cast<int>(std::lround(scan.dpi / 0.0254));
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  return image;
}

}  // namespace korvel::testing
