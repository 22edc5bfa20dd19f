#pragma once

#include <opencv2/core.hpp>
#include <optional>
#include <vector>

#include "scan/cam_pose.h"
#include "scan/cam_shape.h"
#include "scan/edge_probe.h"

// Registers the computed cam on its scan by least squares over rotation and
// translation, on the two holes, the feet and the notch only: a fit over the
// working edge would absorb part of the very error the user must file away.
namespace korvel {

// A point of the computed outline to measure at, with its outward normal in
// the cam frame (from the part towards the background).
struct OutlineSample {
  ShapePoint at;
  ShapePoint normal;
  EdgeFeature feature;
  int hole = -1;  // 0 or 1 on a hole's edge
};

// Samples about spacing mm apart along every edge and round both holes,
// leaving out the ends of edges near sharp corners, where the scan's blur
// rounds the corner off.
std::vector<OutlineSample> outlineSamples(const CamShape& shape, double spacing, double cornerClearance);

// How far from a sharp corner edges are measured, mm, for a scan's pixel size.
double cornerClearance(double pixelMm);

// The cam's area, holes left out, mm^2.
double camAreaMm2(const CamShape& shape);

Probe probeAt(const CamPose& pose, const OutlineSample& sample);

struct OutlineFit {
  CamPose pose;
  double rmsMm = 0.0;
};

// partMask: the cam's pixels in window (CV_8U, non-zero on the part), for the
// starting positions.
std::optional<OutlineFit> fitOutline(const CamShape& shape, const EdgeProbe& probe, const cv::Mat& partMask,
                                     const cv::Rect& window);

}  // namespace korvel
