// Checking a cut cam from its scan: synthetic scans with known errors, read
// back from files as a user's scanner writes them.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageWriter>
#include <cmath>
#include <functional>

#include "scan/cam_shape.h"
#include "scan/check_scan_job.h"
#include "scan/rangefinder_reading.h"
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

TEST(ScanCheck, ComputedOutlineByFeature) {
  const CamShape shape = camShapeMm(150);
  ASSERT_EQ(shape.edges.size(), 35u);  // lead-in, 27 edges of the working edge, 7 of the body
  const auto at = [&](std::size_t i) { return shape.edges[i]; };
  EXPECT_EQ(at(0).feature, EdgeFeature::LeadIn);
  EXPECT_EQ(at(27).feature, EdgeFeature::WorkingEdge);
  EXPECT_NEAR(at(27).to.x, 1.356 * 25.4, 1e-4);  // E, at the working length
  EXPECT_EQ(at(29).feature, EdgeFeature::RightFoot);
  EXPECT_NEAR(at(29).from.x, 1.428 * 25.4, 1e-4);
  EXPECT_NEAR(at(29).from.y, 0.695 * 25.4, 1e-4);
  EXPECT_EQ(at(31).feature, EdgeFeature::Notch);
  EXPECT_NEAR(at(31).from.y, 0.685 * 25.4, 1e-4);
  EXPECT_EQ(at(34).feature, EdgeFeature::LeftSide);
  EXPECT_NEAR(shape.holes[1].centre.x, 0.88 * 25.4, 1e-4);
  EXPECT_NEAR(shape.holes[1].radius, 0.12 * 25.4, 1e-4);
  ASSERT_EQ(shape.markers.size(), 13u);
  EXPECT_NEAR(shape.markers[12].x, 1.338475 * 25.4, 1e-4);
}

TEST(ScanCheck, MarkerDeviationsMatchTheInjectedError) {
  struct Row {
    const char* name;
    double focalMm;
    double dpi;
    double angleDegrees;
    bool mirrored;
    bool partIsDark;
    double scannerScaleX;  // and the correction that undoes it
    std::function<double(double)> error;
    const char* format;
    QImage::Format pixels;
    bool dpiGiven;  // the file states twice the resolution; the given one wins
    double tolerance;  // mm, each marker
  };
  const auto grey = QImage::Format_Grayscale8;
  const auto raised = [](double) { return 0.03; };
  // clang-format off
  const Row rows[] = {
      {"as computed", 150, 1200, 17.3, false, true, 1.0, nullptr, "png", grey, false, 0.01},
      {"bump at marker 7, face down, colour", 150, 1200, -71.0, true, true, 1.0, stepAt(7, 0.05), "png", QImage::Format_RGB888, false, 0.01},
      {"dip at marker 11, light on dark, 16-bit TIFF", 150, 1200, 183.5, false, false, 1.0, stepAt(11, -0.05), "tif", QImage::Format_Grayscale16, false, 0.01},
      {"working edge high, 600 dpi given", 150, 600, 95.2, false, true, 1.0, raised, "png", grey, true, 0.02},
      {"scanner 0.4 % large in x, corrected", 150, 1200, 41.0, false, true, 1.004, nullptr, "png", grey, false, 0.01},
      {"JPEG at quality 90", 150, 1200, -8.7, true, true, 1.0, raised, "jpg", grey, false, 0.01},
      // Marker 13 lies 0.03 mm short of the working length: measured before it, not on the side.
      {"marker 13 at the end of the working edge", 150.85, 1200, 64.0, false, true, 1.0, raised, "png", grey, false, 0.01},
  };
  // clang-format on
  testing::TempFolder folder;
  unsigned seed = 10;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SyntheticScan scan;
    scan.focalMm = row.focalMm;
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
    QImage image = testing::renderSyntheticScan(scan).convertToFormat(row.pixels);
    if (row.dpiGiven) image.setDotsPerMeterX(2 * image.dotsPerMeterX()), image.setDotsPerMeterY(2 * image.dotsPerMeterY());
    ASSERT_TRUE(writer.write(image));
    const ScanReadResult read = readScan(path, row.dpiGiven ? std::optional(row.dpi) : std::nullopt);
    ASSERT_TRUE(read.scan) << read.error.toStdString();
    const ScanCheckResult result = checkScan(*read.scan, {row.focalMm, 1.0 / row.scannerScaleX, 1.0});
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

// A scan file in folder from a synthetic scan.
QString saveScan(const testing::TempFolder& folder, const QString& name, const SyntheticScan& scan) {
  const QString path = folder.path(name);
  EXPECT_TRUE(testing::renderSyntheticScan(scan).save(path));
  return path;
}

// A PNG chunk with its length and checksum.
QByteArray pngChunk(const QByteArray& typeAndData) {
  quint32 crc = 0xffffffff;
  for (const char byte : typeAndData) {
    crc ^= static_cast<quint8>(byte);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xedb88320 & (0 - (crc & 1)));
  }
  const auto bigEndian = [](quint32 v) {
    QByteArray bytes;
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>((v >> shift) & 0xff);
    return bytes;
  };
  return bigEndian(typeAndData.size() - 4) + typeAndData + bigEndian(~crc);
}

// The start of a PNG declaring 50,000 x 50,000 grey pixels, with none behind it.
QByteArray hugePngHeader() {
  const QByteArray size("\x00\x00\xc3\x50\x00\x00\xc3\x50\x08\x00\x00\x00\x00", 13);
  return QByteArray("\x89PNG\r\n\x1a\n") + pngChunk("IHDR" + size) + pngChunk("IDAT");
}

// A JPEG whose JFIF density has no units: no resolution at all.
QByteArray jpegWithoutUnits() {
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::WriteOnly);
  testing::renderSyntheticScan(SyntheticScan{}).save(&buffer, "jpg");
  jpeg.replace(13, 5, QByteArray("\x00\x00\x01\x00\x01", 5));  // units 0, density 1:1
  return jpeg;
}

TEST(ScanCheck, BadInputIsRefusedWithAReason) {
  struct Row {
    const char* name;
    std::function<QString(const testing::TempFolder&)> scan;
    const char* reason;
  };
  const auto bytes = [](QByteArray content) {
    return [content](const testing::TempFolder& f) { return f.put("scan.png", content), f.path("scan.png"); };
  };
  const auto synthetic = [](std::function<void(SyntheticScan&)> change) {
    return [change](const testing::TempFolder& f) {
      SyntheticScan scan;
      scan.dpi = 300;
      change(scan);
      return saveScan(f, "scan.png", scan);
    };
  };
  const Row rows[] = {
      {"empty file", bytes(""), "cannot read the image"},
      {"corrupt PNG", bytes("\x89PNG\r\n\x1a\nnot an image at all"), "cannot read the image"},
      {"1 x 1 image", [](const testing::TempFolder& f) {
         QImage dot(1, 1, QImage::Format_Grayscale8);
         dot.fill(0), dot.setDotsPerMeterX(11811), dot.setDotsPerMeterY(11811);
         return dot.save(f.path("dot.png")), f.path("dot.png");
       }, "too small to hold a cam"},
      {"50,000 x 50,000 pixels", bytes(hugePngHeader()), "50000 x 50000 pixels is more than the 150000000"},
      {"JFIF density without units", [](const testing::TempFolder& f) { return f.put("scan.jpg", jpegWithoutUnits()), f.path("scan.jpg"); },
       "states no resolution; give the scanner's dpi"},
      {"no cam", synthetic([](SyntheticScan& s) { s.cams = 0; }), "no cam found"},
      {"two cams", synthetic([](SyntheticScan& s) { s.cams = 2; }), "more than one cam-sized part"},
      {"cam touching the border", synthetic([](SyntheticScan& s) { s.cutOffLeftMm = 4; }), "touches the border"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    testing::TempFolder folder;
    CheckScanJob job;
    job.scanPath = row.scan(folder);
    job.focalMm = 150;
    const CheckScanOutcome outcome = runCheckScan(job);
    EXPECT_EQ(outcome.status, kScanBadInput);
    EXPECT_TRUE(outcome.out.isEmpty());
    EXPECT_TRUE(outcome.err.contains(row.reason)) << outcome.err.toStdString();
  }
}

TEST(ScanCheck, ReportCsvAndOverlayOfACamOutsideTolerance) {
  testing::TempFolder folder;
  SyntheticScan scan;
  scan.dpi = 600;
  scan.angleDegrees = 30;
  scan.workingEdgeError = stepAt(7, 0.05);
  CheckScanJob job{saveScan(folder, "scan.png", scan), 150, std::nullopt, 1, 1, kDefaultScanToleranceMm,
                   folder.path("report.csv"), folder.path("overlay.png")};
  const CheckScanOutcome outcome = runCheckScan(job);
  EXPECT_EQ(outcome.status, kScanOutsideTolerance) << outcome.err.toStdString();
  EXPECT_TRUE(outcome.out.endsWith("outside tolerance (0.0250 mm) at markers 7\n")) << outcome.out.toStdString();
  const QList<QByteArray> csv = folder.get("report.csv").split('\n');
  ASSERT_EQ(csv.size(), 15);  // header, 13 markers, the final line feed
  EXPECT_EQ(csv[0], "marker,distance_mm,deviation_mm,deviation_in,rangefinder_shows_mm");
  const QList<QByteArray> seventh = csv[7].split(',');
  ASSERT_EQ(seventh.size(), 5);
  EXPECT_EQ(seventh[0], "7");
  EXPECT_EQ(seventh[1], "2438.4");  // 96 in
  EXPECT_NEAR(seventh[2].toDouble(), 0.05, 0.02);
  EXPECT_NEAR(seventh[3].toDouble(), 0.05 / 25.4, 0.001);
  // Too high at marker 7: the rangefinder reads farther than the lens is
  // focused, short of the next row out (108 in).
  EXPECT_GT(seventh[4].toDouble(), 2438.4);
  EXPECT_LT(seventh[4].toDouble(), 2743.2);
  // The bump shows as a red band: material to remove.
  const QImage overlay(folder.path("overlay.png"));
  int red = 0, blue = 0;
  for (int y = 0; y < overlay.height(); ++y) {
    for (int x = 0; x < overlay.width(); ++x) {
      const QColor c = overlay.pixelColor(x, y);
      red += c.red() > 150 && c.blue() < 100;
      blue += c.blue() > 150 && c.red() < 100;
    }
  }
  EXPECT_GT(red, 200);
  EXPECT_LT(blue, red / 4);

  // A report that cannot be written wins over the cam being outside tolerance.
  job.reportCsvPath = folder.path("missing/report.csv");
  const CheckScanOutcome failed = runCheckScan(job);
  EXPECT_EQ(failed.status, kScanWriteFailed);
  EXPECT_TRUE(failed.err.contains("report.csv: no such folder")) << failed.err.toStdString();
}

TEST(ScanCheck, RangefinderReadingOfACutHeight) {
  struct Row {
    const char* name;
    double heightIn;
    RangefinderReading::Kind kind;
    double distanceMm;
  };
  const auto distance = RangefinderReading::Kind::Distance;
  const Row rows[] = {
      {"above the table", 0.7001, RangefinderReading::Kind::Infinity, 0},
      {"the table's highest row", 0.700, distance, 3203248},
      {"a height two rows share reads the nearer", 0.695, distance, 1603248},
      {"halfway between 15 ft and 12.5 ft, in 1/distance", 0.66525, distance, 2.0 / (1 / 4572.0 + 1 / 3810.0)},
      {"the 3 ft row", 0.567, distance, 914.4},
      {"below the table", 0.5669, RangefinderReading::Kind::Near, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const RangefinderReading reading = rangefinderReading(row.heightIn);
    EXPECT_EQ(reading.kind, row.kind);
    EXPECT_NEAR(reading.distanceMm, row.distanceMm, 1e-6 * row.distanceMm);
  }
}

}  // namespace
}  // namespace korvel
