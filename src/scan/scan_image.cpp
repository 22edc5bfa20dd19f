#include "scan/scan_image.h"

#include <QFile>
#include <QImageReader>
#include <cmath>

#include "common/units.h"

namespace korvel {

namespace {

constexpr double kMetresPerInch = kMmPerInch / 1000.0;

// Qt's decoders need the whole image, in its widest form (16-bit colour, 8
// bytes a pixel), within their allocation limit.
constexpr int kAllocationLimitMb = static_cast<int>(kMaxScanPixels * 8 / (1024 * 1024)) + 1;

// What QImage reports where the file states no resolution (PNG without pHYs,
// a JFIF density without units, BMP or TIFF without one): the screen's
// default. A file stating exactly that reads as stating nothing; no scanner
// scans at screen resolution.
bool isDefaultDensity(int dotsPerMetre) {
  const int unstated = QImage(1, 1, QImage::Format_Grayscale8).dotsPerMeterX();
  return dotsPerMetre <= 0 || std::abs(dotsPerMetre - unstated) <= 1;
}

}  // namespace

ScanReadResult readScan(const QString& path, std::optional<double> dpi) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {std::nullopt, path + ": cannot read the image (" + file.errorString() + ")"};
  return readScan(file, path, dpi);
}

ScanReadResult readScan(QIODevice& device, const QString& path, std::optional<double> dpi) {
  if (dpi && !(std::isfinite(*dpi) && *dpi > 0.0)) return {std::nullopt, "the resolution must be a positive number"};
  QImageReader::setAllocationLimit(kAllocationLimitMb);
  QImageReader reader(&device);
  const QSize size = reader.size();
  if (size.isValid() && qint64(size.width()) * size.height() > kMaxScanPixels) {
    return {std::nullopt, QString("%1: %2 x %3 pixels is more than the %4 a scan may have")
                              .arg(path)
                              .arg(size.width())
                              .arg(size.height())
                              .arg(kMaxScanPixels)};
  }
  QImage image = reader.read();
  if (image.isNull()) return {std::nullopt, path + ": cannot read the image (" + reader.errorString() + ")"};
  ScanImage scan;
  if (dpi) {
    scan.dpiX = scan.dpiY = *dpi;
  } else if (isDefaultDensity(image.dotsPerMeterX()) || isDefaultDensity(image.dotsPerMeterY())) {
    return {std::nullopt, path + ": the image states no resolution; give the scanner's dpi"};
  } else {
    scan.dpiX = image.dotsPerMeterX() * kMetresPerInch;
    scan.dpiY = image.dotsPerMeterY() * kMetresPerInch;
  }
  const bool deep = image.depth() > 32 || image.format() == QImage::Format_Grayscale16;
  scan.image = image.convertToFormat(deep ? QImage::Format_Grayscale16 : QImage::Format_Grayscale8);
  image = QImage();
  if (scan.image.isNull()) return {std::nullopt, path + ": not enough memory for the image"};
  scan.grey = cv::Mat(scan.image.height(), scan.image.width(), deep ? CV_16U : CV_8U, scan.image.bits(),
                      static_cast<std::size_t>(scan.image.bytesPerLine()));
  return {std::move(scan), {}};
}

}  // namespace korvel
