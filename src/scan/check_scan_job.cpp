#include "scan/check_scan_job.h"

#include <QBuffer>
#include <QImageWriter>
#include <cmath>

#include "common/atomic_file.h"
#include "common/write_error.h"
#include "scan/scan_report.h"

namespace korvel {

CheckedScan checkScanFile(const CheckScanJob& job, bool withOverlay) {
  CheckedScan checked;
  if (!(std::isfinite(job.toleranceMm) && job.toleranceMm >= 0.0)) {
    checked.error = "the tolerance must be a number of millimetres, 0 or more";
    return checked;
  }
  const ScanReadResult read = readScan(job.scanPath, job.dpi);
  if (!read.scan) {
    checked.error = read.error;
    return checked;
  }
  ScanCheckResult result = checkScan(*read.scan, {job.focalMm, job.correctionX, job.correctionY});
  if (!result.check) {
    checked.error = job.scanPath + ": " + result.error;
    return checked;
  }
  if (withOverlay) checked.overlay = overlayImage(*read.scan, *result.check);
  checked.check = std::move(result.check);
  return checked;
}

QByteArray overlayPng(const QImage& overlay) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  return writer.write(overlay) ? bytes : QByteArray();
}

QString writeScanOutput(const QString& path, const QByteArray& content) {
  if (content.isEmpty()) return path + ": could not be encoded";
  const FileWriteResult written = writeFileAtomically(path, content);
  return written ? QString() : path + ": " + writeErrorText(written.error);
}

CheckScanOutcome runCheckScan(const CheckScanJob& job) {
  CheckScanOutcome outcome;
  const CheckedScan checked = checkScanFile(job, !job.overlayPngPath.isEmpty());
  if (!checked.check) {
    outcome.err = checked.error + "\n";
    return outcome;
  }
  const ScanCheck& check = *checked.check;
  outcome.out = reportLines(check, job.toleranceMm).join('\n') + '\n';
  outcome.status = withinTolerance(check, job.toleranceMm) ? kScanWithinTolerance : kScanOutsideTolerance;
  QStringList failed;
  if (!job.reportCsvPath.isEmpty()) failed << writeScanOutput(job.reportCsvPath, markerCsv(check));
  if (!job.overlayPngPath.isEmpty()) failed << writeScanOutput(job.overlayPngPath, overlayPng(checked.overlay));
  failed.removeAll(QString());
  for (const QString& reason : failed) outcome.err += reason + "\n";
  if (!failed.isEmpty()) outcome.status = kScanWriteFailed;
  return outcome;
}

}  // namespace korvel
