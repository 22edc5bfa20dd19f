#pragma once

#include <QImage>
#include <functional>

// Scans of a cut cam that the tests make themselves: the computed outline,
// its working edge changed as a test asks, placed on a lid at any angle,
// rasterised by area coverage (not by the program's own drawing), blurred as a
// scanner's optics blur and with its sensor's grey noise.
namespace korvel::testing {

struct SyntheticScan {
  double focalMm = 150.0;
  double dpi = 1200.0;
  double angleDegrees = 0.0;
  bool mirrored = false;    // scanned face down
  bool partIsDark = true;   // a dark cam on a light lid, or the other way round
  double scannerScaleX = 1.0;  // measured / true along the scan's x
  std::function<double(double xMm)> workingEdgeError;  // mm, positive: higher than computed
  unsigned seed = 1;
  int cams = 1;             // side by side
  double cutOffLeftMm = 0.0;  // the scan's left edge cuts into the cam
  double marginMm = 3.0;
};

// Grayscale8, with its resolution in the image.
QImage renderSyntheticScan(const SyntheticScan& scan);

}  // namespace korvel::testing
