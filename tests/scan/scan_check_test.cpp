// Checking a cut cam from its scan: synthetic scans with known errors, read
// back from files as a user's scanner writes them.
#include <gtest/gtest.h>

#include <QImageWriter>
#include <cmath>
#include <functional>

#include "scan/cam_shape.h"
#include "scan/scan_check.h"
#include "scan/scan_image.h"
#include "support/files.h"
#include "support/synthetic_scan.h"

namespace korvel {
namespace {

using testing::SyntheticScan;

double markerX(int marker) {
  for (const ShapeMarker& m : camShapeMm(150).markers)
    if (m.marker == marker) return m.x;
  return 0.0;
}

// The working edge raised by height over a millimetre centred on a marker.
std::function<double(double)> stepAt(int marker, double height) {
  const double x = markerX(marker);
  return [x, height](double at) { return std::abs(at - x) <= 0.5 ? height : 0.0; };
}

TEST(ScanCheck, MarkerDeviationsMatchTheInjectedError) {
  struct Row {
    const char* name;
    double dpi;
    double angleDegrees;
    bool mirrored;
    bool partIsDark;
    double scannerScaleX;  // and the correction that undoes it
    std::function<double(double)> error;
    const char* format;
    double tolerance;  // mm, each marker
  };
  const auto raised = [](double) { return 0.03; };
  // clang-format off
  const Row rows[] = {
      {"as computed", 1200, 17.3, false, true, 1.0, nullptr, "png", 0.01},
      {"bump at marker 7, face down", 1200, -71.0, true, true, 1.0, stepAt(7, 0.05), "png", 0.01},
      {"dip at marker 11, light on dark", 1200, 183.5, false, false, 1.0, stepAt(11, -0.05), "png", 0.01},
      {"working edge high, 600 dpi", 600, 95.2, false, true, 1.0, raised, "png", 0.02},
      {"scanner 0.4 % large in x, corrected", 1200, 41.0, false, true, 1.004, nullptr, "png", 0.01},
      {"JPEG at quality 90", 1200, -8.7, true, true, 1.0, raised, "jpg", 0.01},
  };
  // clang-format on
  testing::TempFolder folder;
  unsigned seed = 10;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SyntheticScan scan;
    scan.dpi = row.dpi;
    scan.angleDegrees = row.angleDegrees;
    scan.mirrored = row.mirrored;
    scan.partIsDark = row.partIsDark;
    scan.scannerScaleX = row.scannerScaleX;
    scan.workingEdgeError = row.error;
    scan.seed = ++seed;
    const QString path = folder.path(QString("scan.") + row.format);
    QImageWriter writer(path);
    writer.setQuality(90);
    ASSERT_TRUE(writer.write(testing::renderSyntheticScan(scan)));
    const ScanReadResult read = readScan(path, std::nullopt);
    ASSERT_TRUE(read.scan) << read.error.toStdString();
    const ScanCheckResult result = checkScan(*read.scan, {150.0, 1.0 / row.scannerScaleX, 1.0});
    ASSERT_TRUE(result.check) << result.error.toStdString();
    const ScanCheck& check = *result.check;
    EXPECT_EQ(check.mirrored, row.mirrored);
    ASSERT_EQ(check.markers.size(), 13u);
    for (const MarkerCheck& m : check.markers) {
      const double injected = row.error ? row.error(m.xMm) : 0.0;
      EXPECT_NEAR(m.deviationMm, injected, row.tolerance) << "marker " << m.marker;
    }
    for (const HoleCheck& h : check.holes) {
      EXPECT_NEAR(h.centreOffsetMm.x, 0.0, 0.02);
      EXPECT_NEAR(h.centreOffsetMm.y, 0.0, 0.02);
      EXPECT_NEAR(h.diameterMm, h.computedDiameterMm, 0.02);
    }
  }
}

}  // namespace
}  // namespace korvel
