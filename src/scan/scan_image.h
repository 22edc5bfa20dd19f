#pragma once

#include <QIODevice>
#include <QImage>
#include <QString>
#include <opencv2/core.hpp>
#include <optional>

// A scanned cam read from PNG, TIFF, JPEG or BMP, grey or colour, 8 or 16 bit,
// as one grey channel at the file's depth, with the scanner's resolution.
namespace korvel {

// The largest scan read: an A4 page at 1200 dpi (9,920 x 14,030 px) with room
// to spare. Checked from the file's header, before anything is decoded.
inline constexpr qint64 kMaxScanPixels = 150'000'000;

struct ScanImage {
  QImage image;  // Grayscale8 or Grayscale16; owns the pixels
  cv::Mat grey;  // CV_8U or CV_16U, sharing image's pixels
  double dpiX = 0.0;
  double dpiY = 0.0;
};

struct ScanReadResult {
  std::optional<ScanImage> scan;
  QString error;  // why there is none
};

// dpi, when given, wins over the file's own resolution; with neither the
// result asks for it.
ScanReadResult readScan(const QString& path, std::optional<double> dpi);
// The same from an open device; name stands for it in the messages.
ScanReadResult readScan(QIODevice& device, const QString& name, std::optional<double> dpi);

}  // namespace korvel
