#include "scan/edge_probe.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <opencv2/imgproc.hpp>

namespace korvel {

namespace {

// Steps along a probe, in pixels: fine enough that the linear interpolation
// between steps adds nothing to the blur of a scanned edge.
constexpr double kStepPixels = 0.25;
// An edge counts only where the grey changes by at least this share of the
// part's contrast against the background.
constexpr double kLeastContrast = 0.5;

double median(std::vector<float>& values) {
  if (values.empty()) return 0.0;
  auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

}  // namespace

std::pair<double, double> partAndBackgroundLevels(const cv::Mat& grey, const cv::Rect& window, double threshold,
                                                  bool partIsDark) {
  std::vector<float> part, background;
  cv::Mat pixels;
  grey(window).convertTo(pixels, CV_32F);
  for (int r = 0; r < pixels.rows; ++r) {
    const float* row = pixels.ptr<float>(r);
    for (int c = 0; c < pixels.cols; ++c) ((row[c] < threshold) == partIsDark ? part : background).push_back(row[c]);
  }
  return {median(part), median(background)};
}

EdgeProbe::EdgeProbe(const cv::Mat& grey, const cv::Rect& window, ScanScale scale, double partLevel,
                     double backgroundLevel)
    : origin_(window.tl()), scale_(scale), partLevel_(partLevel), backgroundLevel_(backgroundLevel) {
  grey(window).convertTo(window_, CV_32F);
}

std::vector<double> EdgeProbe::offsets(const std::vector<Probe>& probes, double range) const {
  const double step = kStepPixels * pixelMm();
  const int half = static_cast<int>(std::ceil(range / step));
  const int steps = 2 * half + 1;
  std::vector<double> result(probes.size(), std::numeric_limits<double>::quiet_NaN());
  if (probes.empty()) return result;
  cv::Mat mapX(static_cast<int>(probes.size()), steps, CV_32F);
  cv::Mat mapY(mapX.size(), CV_32F);
  for (int i = 0; i < mapX.rows; ++i) {
    const Probe& p = probes[static_cast<std::size_t>(i)];
    for (int k = 0; k < steps; ++k) {
      const Eigen::Vector2d at = p.at + (k - half) * step * p.direction;
      mapX.at<float>(i, k) = static_cast<float>(at.x() / scale_.mmPerPixelX - origin_.x);
      mapY.at<float>(i, k) = static_cast<float>(at.y() / scale_.mmPerPixelY - origin_.y);
    }
  }
  cv::Mat samples;
  cv::remap(window_, samples, mapX, mapY, cv::INTER_LINEAR, cv::BORDER_REPLICATE);
  const double contrast = partLevel_ - backgroundLevel_;
  const int quarter = std::max(1, steps / 4);
  for (int i = 0; i < samples.rows; ++i) {
    const float* v = samples.ptr<float>(i);
    // The levels on either side, from the outer quarters of the line, follow
    // the lid's shading better than the window's medians.
    double part = 0.0, background = 0.0;
    for (int k = 0; k < quarter; ++k) {
      part += v[k];
      background += v[steps - 1 - k];
    }
    part /= quarter;
    background /= quarter;
    if ((part - background) / contrast < kLeastContrast) continue;
    const double level = 0.5 * (part + background);
    const double sign = contrast > 0 ? 1.0 : -1.0;
    double best = std::numeric_limits<double>::quiet_NaN();
    for (int k = 0; k + 1 < steps; ++k) {
      const double a = (v[k] - level) * sign;
      const double b = (v[k + 1] - level) * sign;
      if (!(a > 0 && b <= 0)) continue;
      const double s = (k - half + a / (a - b)) * step;
      if (std::isnan(best) || std::abs(s) < std::abs(best)) best = s;
    }
    result[static_cast<std::size_t>(i)] = best;
  }
  return result;
}

}  // namespace korvel
