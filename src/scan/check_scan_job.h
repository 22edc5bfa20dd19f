#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

#include "scan/scan_check.h"

// The whole check of a cut cam from its scan: read, find, fit and measure;
// then the report, the CSV and the overlay, the same for the command line and
// the "Check a cut cam" dialog.
namespace korvel {

inline constexpr double kDefaultScanToleranceMm = 0.025;
// A scanner correction factor further from 1 than this is a typing error,
// not a scanner: published scanners are off by well under 1 %.
inline constexpr double kLowestScanCorrection = 0.5;
inline constexpr double kHighestScanCorrection = 2.0;

enum ScanCheckStatus : int { kScanWithinTolerance = 0, kScanWriteFailed = 1, kScanBadInput = 2, kScanOutsideTolerance = 3 };

struct CheckScanJob {
  QString scanPath;
  double focalMm = 0.0;
  std::optional<double> dpi;  // wins over the file's own resolution
  double correctionX = 1.0;
  double correctionY = 1.0;
  double toleranceMm = kDefaultScanToleranceMm;
  QString reportCsvPath;   // none when empty
  QString overlayPngPath;  // none when empty
};

// A scan checked, with its overlay picture when one was asked for; the scan
// itself is not kept (an A4 page at 1200 dpi is 139 MB).
struct CheckedScan {
  std::optional<ScanCheck> check;
  QImage overlay;
  QString error;  // why the scan could not be checked
};

CheckedScan checkScanFile(const CheckScanJob& job, bool withOverlay);

// The overlay as the PNG file holds it; empty when it cannot be encoded.
QByteArray overlayPng(const QImage& overlay);

// Writes one output atomically: the reason ("FILE: disk full") when it
// cannot, else an empty text.
QString writeScanOutput(const QString& path, const QByteArray& content);

struct CheckScanOutcome {
  QString out;  // the report
  QString err;  // what went wrong
  int status = kScanBadInput;  // a failed write wins over a cam outside tolerance
};

// The command line's check: the report printed, the CSV and overlay written
// where the job asks.
CheckScanOutcome runCheckScan(const CheckScanJob& job);

}  // namespace korvel
