#pragma once

#include <QString>
#include <optional>

// The whole check of a cut cam from its scan, as the command line runs it:
// read, find, fit, measure, print the report and write the CSV and overlay
// that were asked for.
namespace korvel {

inline constexpr double kDefaultScanToleranceMm = 0.025;

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

struct CheckScanOutcome {
  QString out;  // the report
  QString err;  // what went wrong
  int status = kScanBadInput;  // a failed write wins over a cam outside tolerance
};

CheckScanOutcome runCheckScan(const CheckScanJob& job);

}  // namespace korvel
