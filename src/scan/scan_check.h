#pragma once

#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "scan/cam_pose.h"
#include "scan/cam_shape.h"
#include "scan/edge_probe.h"
#include "scan/rangefinder_reading.h"
#include "scan/scan_image.h"

// How far a cut cam on a scan lies from the computed one: at each distance
// marker, elsewhere on the outline and at the holes, with what the
// rangefinder will show at each marker's distance.
namespace korvel {

struct ScanCheckSettings {
  double focalMm = 0.0;
  double correctionX = 1.0;  // the scanner's true / measured, as for the printer
  double correctionY = 1.0;
};

struct MarkerCheck {
  int marker = 0;
  double distanceMm = 0.0;
  double xMm = 0.0;            // in the cam's frame
  double deviationMm = 0.0;    // cut height minus computed; positive: file it down. NaN: no edge found
  RangefinderReading shows;    // with the lens focused at distanceMm
};

struct EdgeCheck {
  ShapePoint at;  // on the computed outline, cam frame
  ShapePoint normal;
  EdgeFeature feature;
  double deviationMm;  // positive: material beyond the computed edge
};

struct HoleCheck {
  bool found = false;
  ShapePoint centreOffsetMm{0, 0};  // scanned centre minus computed, cam frame
  double diameterMm = 0.0;
  double computedDiameterMm = 0.0;
};

struct ScanCheck {
  std::vector<MarkerCheck> markers;
  std::vector<EdgeCheck> edges;  // the whole outline but the holes
  std::optional<EdgeCheck> largestElsewhere;
  std::array<HoleCheck, 2> holes;
  double rmsMm = 0.0;
  bool mirrored = false;
  CamPose pose;
  ScanScale scale{};
  cv::Rect window;  // the full-resolution pixels around the cam
  CamShape shape;
};

struct ScanCheckResult {
  std::optional<ScanCheck> check;
  QString error;  // why the scan could not be checked
};

ScanCheckResult checkScan(const ScanImage& scan, const ScanCheckSettings& settings);

}  // namespace korvel
