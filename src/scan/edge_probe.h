#pragma once

#include <Eigen/Core>
#include <opencv2/core.hpp>
#include <vector>

// Places edges on the scan to a fraction of a pixel: the grey level is
// sampled (bilinear) along a line across the edge, and the edge is where it
// crosses the level halfway between part and background. Positions are in
// true millimetres of the scan plane, which the scanner's resolution and its
// correction factors relate to pixels.
namespace korvel {

struct ScanScale {
  double mmPerPixelX;  // true millimetres per pixel, correction included
  double mmPerPixelY;
};

struct Probe {
  Eigen::Vector2d at;         // where the computed edge lies
  Eigen::Vector2d direction;  // unit, from the part towards the background
};

class EdgeProbe {
 public:
  // window: the full-resolution pixels of grey around the cam. partLevel and
  // backgroundLevel: the typical grey of each.
  EdgeProbe(const cv::Mat& grey, const cv::Rect& window, ScanScale scale, double partLevel, double backgroundLevel);

  // For each probe, how far along its direction the edge lies (mm), within
  // +-range; NaN where no single edge crosses there.
  std::vector<double> offsets(const std::vector<Probe>& probes, double range) const;

  ScanScale scale() const { return scale_; }
  double pixelMm() const { return std::min(scale_.mmPerPixelX, scale_.mmPerPixelY); }

 private:
  cv::Mat window_;  // CV_32F
  cv::Point origin_;
  ScanScale scale_;
  double partLevel_;
  double backgroundLevel_;
};

// The typical grey of part and background in the window: the median of each
// side of threshold.
std::pair<double, double> partAndBackgroundLevels(const cv::Mat& grey, const cv::Rect& window, double threshold,
                                                  bool partIsDark);

}  // namespace korvel
