#include "ui/check_scan_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSplitter>
#include <QVBoxLayout>
#include <cmath>

#include "commands/sheet_field_number.h"
#include "common/units.h"
#include "geometry/cuttable_range.h"
#include "scan/check_scan_job.h"
#include "scan/scan_report.h"

namespace korvel {

namespace {

// A field's number, typed in the regional format or with a point; the reason
// it cannot be used when it is missing or outside what the check takes.
struct FieldNumber {
  double value = 0.0;
  QString problem;
};

FieldNumber fieldNumber(const QLineEdit* field, const QString& what, double lowest, double highest) {
  const auto value = wholeTextNumber(field->text());
  if (!value || *value < lowest || *value > highest)
    return {0.0, QString("The %1 \"%2\" is not a number from %3 to %4.")
                     .arg(what, field->text().trimmed(), QString::number(lowest), QString::number(highest))};
  return {*value, {}};
}

QLineEdit* numberField(const QString& text, const QString& placeholder = {}) {
  auto* field = new QLineEdit(text);
  field->setPlaceholderText(placeholder);
  return field;
}

// The highest resolution any flatbed reaches, with room to spare.
constexpr double kHighestDpi = 20000.0;
// A cam filed to a millimetre is no cam; a larger tolerance is a typing error.
constexpr double kHighestToleranceMm = 1.0;

}  // namespace

CheckScanDialog::CheckScanDialog(const CheckScanStart& start, QWidget* parent)
    : QDialog(parent), focalInches_(start.focalInches) {
  setWindowTitle("Check a cut cam");
  ScanFile = new QLineEdit;
  ScanFile->setPlaceholderText("PNG, TIFF, JPEG or BMP");
  ChooseScan = new QPushButton(QString("Choose") + QChar(0x2026));
  auto* scanRow = new QHBoxLayout;
  scanRow->addWidget(ScanFile, 1);
  scanRow->addWidget(ChooseScan);
  FocalLength = numberField(start.focalLength);
  Dpi = numberField({}, "from the file");
  ScannerXCor = numberField(start.scannerXCor);
  ScannerYCor = numberField(start.scannerYCor);
  const QString correction = "The scanner's true / measured length along this axis, as for the printer";
  ScannerXCor->setToolTip(correction);
  ScannerYCor->setToolTip(correction);
  Tolerance = numberField(QString::number(kDefaultScanToleranceMm));
  auto* fields = new QFormLayout;
  fields->addRow("Scan:", scanRow);
  fields->addRow(focalInches_ ? "Focal length (in):" : "Focal length (mm):", FocalLength);
  fields->addRow("Resolution (dpi):", Dpi);
  fields->addRow("Scanner correction X:", ScannerXCor);
  fields->addRow("Scanner correction Y:", ScannerYCor);
  fields->addRow("Tolerance (mm):", Tolerance);
  Check = new QPushButton("Check");
  Check->setDefault(true);

  Markers = new QTableWidget(0, ColumnCount);
  Markers->setHorizontalHeaderLabels(
      {"Marker", "Distance (mm)", "Deviation (mm)", "Deviation (in)", "Rangefinder shows (mm)"});
  Markers->horizontalHeaderItem(DeviationMm)->setToolTip("Positive: the cut edge is too high; file it down");
  Markers->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  Markers->verticalHeader()->hide();
  Markers->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Findings = new QLabel;
  Findings->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Verdict = new QLabel;
  auto* figuresPane = new QWidget;
  auto* figures = new QVBoxLayout(figuresPane);
  figures->setContentsMargins(0, 0, 0, 0);
  figures->addWidget(Markers, 1);
  figures->addWidget(Findings);
  figures->addWidget(Verdict);

  Overlay = new ZoomableImageView;
  Overlay->setMinimumSize(320, 320);
  Overlay->setToolTip("Red: material to remove; blue: material missing (20 times magnified). Wheel: zoom");
  ZoomIn = new QPushButton("+");
  ZoomOut = new QPushButton("-");
  auto* zoomRow = new QHBoxLayout;
  zoomRow->addStretch();
  zoomRow->addWidget(ZoomOut);
  zoomRow->addWidget(ZoomIn);
  auto* picturePane = new QWidget;
  auto* picture = new QVBoxLayout(picturePane);
  picture->setContentsMargins(0, 0, 0, 0);
  picture->addWidget(Overlay, 1);
  picture->addLayout(zoomRow);
  auto* results = new QSplitter;
  results->addWidget(figuresPane);
  results->addWidget(picturePane);
  results->setSizes({620, 480});

  SaveReport = new QPushButton(QString("Save report") + QChar(0x2026));
  SaveOverlay = new QPushButton(QString("Save overlay") + QChar(0x2026));
  Message = new QLabel;
  Message->setWordWrap(true);
  auto* close = new QDialogButtonBox(QDialogButtonBox::Close);
  close->addButton(SaveReport, QDialogButtonBox::ActionRole);
  close->addButton(SaveOverlay, QDialogButtonBox::ActionRole);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(Check, 0, Qt::AlignLeft);
  layout->addWidget(results, 1);
  layout->addWidget(Message);
  layout->addWidget(close);

  connect(ChooseScan, &QPushButton::clicked, this, &CheckScanDialog::chooseScan);
  connect(Check, &QPushButton::clicked, this, &CheckScanDialog::check);
  connect(ZoomIn, &QPushButton::clicked, Overlay, &ZoomableImageView::zoomIn);
  connect(ZoomOut, &QPushButton::clicked, Overlay, &ZoomableImageView::zoomOut);
  connect(SaveReport, &QPushButton::clicked, this, [this] {
    if (check_) save("Save report", "-check.csv", "CSV (*.csv)", markerCsv(*check_));
  });
  connect(SaveOverlay, &QPushButton::clicked, this, [this] {
    save("Save overlay", "-check.png", "PNG image (*.png)", overlayPng(overlay_));
  });
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
  clearResult();
  resize(1100, 720);
}

void CheckScanDialog::chooseScan() {
  const QString path = QFileDialog::getOpenFileName(
      this, "Choose the scan", QFileInfo(ScanFile->text()).path(),
      "Scans (*.png *.tif *.tiff *.jpg *.jpeg *.bmp);;All files (*)");
  if (!path.isEmpty()) ScanFile->setText(path);
}

void CheckScanDialog::clearResult() {
  check_.reset();
  overlay_ = QImage();
  Markers->setRowCount(0);
  Findings->clear();
  Verdict->clear();
  Overlay->setImage(QImage());
  for (QPushButton* button : {SaveReport, SaveOverlay, ZoomIn, ZoomOut}) button->setEnabled(false);
}

void CheckScanDialog::check() {
  clearResult();
  Message->clear();
  CheckScanJob job;
  job.scanPath = ScanFile->text().trimmed();
  if (job.scanPath.isEmpty()) return Message->setText("Choose the scan to check.");
  const double unit = focalInches_ ? kMmPerInch : 1.0;
  const FieldNumber focal = fieldNumber(FocalLength, "focal length", kShortestCuttableFocalMm / unit,
                                        kLongestCuttableFocalMm / unit);
  const FieldNumber x = fieldNumber(ScannerXCor, "scanner correction X", kLowestScanCorrection, kHighestScanCorrection);
  const FieldNumber y = fieldNumber(ScannerYCor, "scanner correction Y", kLowestScanCorrection, kHighestScanCorrection);
  const FieldNumber tolerance = fieldNumber(Tolerance, "tolerance", 0.0, kHighestToleranceMm);
  const FieldNumber dpi = Dpi->text().trimmed().isEmpty() ? FieldNumber{} : fieldNumber(Dpi, "resolution", 1, kHighestDpi);
  for (const FieldNumber* field : {&focal, &dpi, &x, &y, &tolerance})
    if (!field->problem.isEmpty()) return Message->setText(field->problem);
  job.focalMm = focal.value * unit;
  if (!Dpi->text().trimmed().isEmpty()) job.dpi = dpi.value;
  job.correctionX = x.value;
  job.correctionY = y.value;
  job.toleranceMm = tolerance.value;

  QApplication::setOverrideCursor(Qt::WaitCursor);
  CheckedScan checked = checkScanFile(job, true);
  QApplication::restoreOverrideCursor();
  if (!checked.check) return Message->setText("Not checked: " + checked.error);
  check_ = std::move(checked.check);
  overlay_ = checked.overlay;
  showResult(*check_, job.toleranceMm);
}

void CheckScanDialog::showResult(const ScanCheck& check, double toleranceMm) {
  Markers->setRowCount(static_cast<int>(check.markers.size()));
  for (int r = 0; r < Markers->rowCount(); ++r) {
    const MarkerCheck& marker = check.markers[static_cast<std::size_t>(r)];
    const QStringList fields = markerFields(marker);
    const bool outside = !(std::abs(marker.deviationMm) <= toleranceMm);
    for (int c = 0; c < ColumnCount; ++c) {
      auto* item = new QTableWidgetItem(fields.value(c));
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (outside) item->setBackground(QColor(255, 210, 210));
      Markers->setItem(r, c, item);
    }
  }
  Findings->setText(findingLines(check).join('\n'));
  const bool within = withinTolerance(check, toleranceMm);
  Verdict->setText(verdictLine(check, toleranceMm));
  Verdict->setStyleSheet(within ? "color: #006000; font-weight: bold" : "color: #a00000; font-weight: bold");
  Overlay->setImage(overlay_);
  for (QPushButton* button : {SaveReport, SaveOverlay, ZoomIn, ZoomOut}) button->setEnabled(true);
}

void CheckScanDialog::save(const QString& caption, const QString& suffix, const QString& filter,
                           const QByteArray& content) {
  const QFileInfo scan(ScanFile->text().trimmed());
  const QString path =
      QFileDialog::getSaveFileName(this, caption, scan.dir().filePath(scan.completeBaseName() + suffix), filter);
  if (path.isEmpty()) return;
  const QString failed = writeScanOutput(path, content);
  Message->setText(failed.isEmpty() ? "Saved to " + path : "Not saved: " + failed);
}

}  // namespace korvel
