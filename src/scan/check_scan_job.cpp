#include "scan/check_scan_job.h"

#include <QBuffer>
#include <QImageWriter>
#include <cmath>

#include "common/atomic_file.h"
#include "common/write_error.h"
#include "scan/scan_report.h"

namespace korvel {

namespace {

QByteArray pngBytes(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  return writer.write(image) ? bytes : QByteArray();
}

// Writes one output; false, with the reason in err, when it cannot.
bool writeOutput(const QString& path, const QByteArray& content, QString& err) {
  if (content.isEmpty()) {
    err += path + ": could not be encoded\n";
    return false;
  }
  const FileWriteResult written = writeFileAtomically(path, content);
  if (!written) err += path + ": " + writeErrorText(written.error) + "\n";
  return written;
}

}  // namespace

CheckScanOutcome runCheckScan(const CheckScanJob& job) {
  CheckScanOutcome outcome;
  if (!(std::isfinite(job.toleranceMm) && job.toleranceMm >= 0.0)) {
    outcome.err = "the tolerance must be a number of millimetres, 0 or more\n";
    return outcome;
  }
  const ScanReadResult read = readScan(job.scanPath, job.dpi);
  if (!read.scan) {
    outcome.err = read.error + "\n";
    return outcome;
  }
  const ScanCheckResult result = checkScan(*read.scan, {job.focalMm, job.correctionX, job.correctionY});
  if (!result.check) {
    outcome.err = job.scanPath + ": " + result.error + "\n";
    return outcome;
  }
  const ScanCheck& check = *result.check;
  outcome.out = reportLines(check, job.toleranceMm).join('\n') + '\n';
  outcome.status = withinTolerance(check, job.toleranceMm) ? kScanWithinTolerance : kScanOutsideTolerance;
  bool written = true;
  if (!job.reportCsvPath.isEmpty()) written = writeOutput(job.reportCsvPath, markerCsv(check), outcome.err) && written;
  if (!job.overlayPngPath.isEmpty()) {
    written = writeOutput(job.overlayPngPath, pngBytes(overlayImage(*read.scan, check)), outcome.err) && written;
  }
  if (!written) outcome.status = kScanWriteFailed;
  return outcome;
}

}  // namespace korvel
