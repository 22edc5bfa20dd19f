// "Check a cut cam…" as a user works it from the designer window: the drawn
// cam's lens and the scanner's factors from the settings file go in, Check
// shows the markers' rows, the verdict and the overlay, and a factor typed in
// the dialog is kept in the settings file.
#include <QTimer>
#include <cmath>
#include <functional>

#include "scan/cam_shape.h"
#include "support/designer_fixture.h"
#include "support/synthetic_scan.h"
#include "ui/check_scan_dialog.h"

namespace korvel {
namespace {

class CheckCutCam : public testing::DesignerFixture {};

TEST_F(CheckCutCam, TheDialogShowsWhereToFileAndKeepsTheScannerFactors) {
  // A scanner 0.4 % too large in X, and a bump of 0.05 mm over 1 mm at marker 7.
  double marker7 = 0;
  for (const ShapeMarker& m : camShapeMm(150).markers)
    if (m.marker == 7) marker7 = m.x;
  testing::SyntheticScan scan;
  scan.dpi = 600;
  scan.angleDegrees = 30;
  scan.scannerScaleX = 1.004;
  scan.workingEdgeError = [marker7](double x) { return std::abs(x - marker7) <= 0.5 ? 0.05 : 0.0; };
  const QString scanPath = folder.path("scan.png");
  ASSERT_TRUE(testing::renderSyntheticScan(scan).save(scanPath));
  writeSettings("[Scanner]\nXCor=0.996016\n");
  CamDesigner& d = start();
  d.FocalLength->setText("150");
  QTest::mouseClick(d.CMDDrawGraph, Qt::LeftButton);
  d.FocalLength->setText("210");  // the drawn cam is the one to check

  QString focal, refused, verdict;
  QStringList row7;
  int rows = 0;
  QImage overlay;
  double fitted = 0, zoomed = 0;
  std::function<void()> work = [&] {
    auto* dialog = qobject_cast<CheckScanDialog*>(QApplication::activeModalWidget());
    if (!dialog) return QTimer::singleShot(10, work);
    focal = dialog->FocalLength->text();
    dialog->ScanFile->setText(scanPath);
    dialog->Dpi->setText("abc");
    QTest::mouseClick(dialog->Check, Qt::LeftButton);
    refused = dialog->Message->text();
    dialog->Dpi->clear();
    QTest::mouseClick(dialog->Check, Qt::LeftButton);
    rows = dialog->Markers->rowCount();
    for (int c = 0; rows >= 7 && c < CheckScanDialog::ColumnCount; ++c) row7 << dialog->Markers->item(6, c)->text();
    verdict = dialog->Verdict->text();
    overlay = dialog->Overlay->image();
    fitted = dialog->Overlay->zoom();
    QTest::mouseClick(dialog->ZoomIn, Qt::LeftButton);
    zoomed = dialog->Overlay->zoom();
    dialog->ScannerYCor->selectAll();
    QTest::keyClicks(dialog->ScannerYCor, "1.0");
    dialog->reject();
  };
  QTimer::singleShot(0, work);
  d.MenuBar->actions()[1]->menu()->actions()[1]->trigger();

  EXPECT_EQ(focal, "150");
  EXPECT_EQ(refused, "The resolution \"abc\" is not a number from 1 to 20000.");
  EXPECT_EQ(rows, 13);
  ASSERT_EQ(row7.size(), 5);
  EXPECT_EQ(row7.mid(0, 2), (QStringList{"7", "2438.4"}));
  EXPECT_NEAR(row7[2].toDouble(), 0.05, 0.02);
  EXPECT_EQ(verdict.toStdString(), "outside tolerance (0.0250 mm) at markers 7");
  EXPECT_FALSE(overlay.isNull());
  EXPECT_NEAR(zoomed, fitted * 1.25, 1e-9);
  closeDesigner();
  EXPECT_TRUE(settingsText().startsWith("[Scanner]\nXCor=0.996016\nYCor=1\n")) << settingsText().toStdString();
}

}  // namespace
}  // namespace korvel
