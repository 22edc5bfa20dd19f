#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <optional>

#include "scan/scan_check.h"
#include "ui/zoomable_image_view.h"

// "Check a cut cam…": a scan of the filed cam against the computed one, marker
// by marker: where to file and what the rangefinder will show; the overlay
// zoomable, the report and the overlay saved as the command line writes them.
namespace korvel {

struct CheckScanStart {
  QString focalLength;  // in the unit in force
  bool focalInches = false;
  QString scannerXCor;  // as the designer window holds them
  QString scannerYCor;
};

class CheckScanDialog : public QDialog {
  Q_OBJECT
 public:
  // Table columns.
  enum Column { Marker, Distance, DeviationMm, DeviationIn, Shows, ColumnCount };

  explicit CheckScanDialog(const CheckScanStart& start, QWidget* parent = nullptr);

  // Runs the check on the fields as they stand, as Check does.
  void check();
  const std::optional<ScanCheck>& result() const { return check_; }

  QLineEdit* ScanFile;
  QPushButton* ChooseScan;
  QLineEdit* FocalLength;
  QLineEdit* Dpi;          // empty: the file's own resolution
  QLineEdit* ScannerXCor;  // true / measured
  QLineEdit* ScannerYCor;
  QLineEdit* Tolerance;    // mm
  QPushButton* Check;
  QLabel* Message;         // why there is no result, or where a file went
  QTableWidget* Markers;
  QLabel* Findings;        // the largest deviation elsewhere, holes, RMS, mirrored
  QLabel* Verdict;
  ZoomableImageView* Overlay;
  QPushButton* ZoomIn;
  QPushButton* ZoomOut;
  QPushButton* SaveReport;
  QPushButton* SaveOverlay;

 private:
  void chooseScan();
  void showResult(const ScanCheck& check, double toleranceMm);
  void clearResult();
  void save(const QString& caption, const QString& suffix, const QString& filter, const QByteArray& content);

  bool focalInches_;
  std::optional<ScanCheck> check_;
  QImage overlay_;
};

}  // namespace korvel
