#include "support/designer_fixture.h"
#include "support/golden_image.h"
#include "ui/check_value.h"
#include "ui/plot_window.h"

// What only the window does around the commands: Enter, clicks on the unit
// boxes, the labels the calibration fills, the re-entry guard and the plot
// window's place.
namespace korvel {
namespace {

class DesignerCommands : public testing::DesignerFixture {
 protected:
  void click(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }
  void enter(const QString& focal) {
    designer->FocalLength->setFocus();
    designer->FocalLength->selectAll();
    QTest::keyClicks(designer->FocalLength, focal);
    QTest::keyClick(designer->FocalLength, Qt::Key_Return);
  }
};

TEST_F(DesignerCommands, EnterDrawsTheCamAndSelectsTheFocalLengthLikeTheButton) {
  CamDesigner& d = start();
  d.ChkDistMarkers->setChecked(true);
  enter("150");
  EXPECT_EQ(d.FocalLength->selectedText(), "150");
  EXPECT_EQ(d.state.ExtensionFactor, 1.074f);
  enter("150");
  testing::expectMatchesGolden(d.previewSurface().copyImage(), "draw-graph-150mm-markers-flipped.png");
  const QImage byEnter = d.previewSurface().copyImage();
  QTest::mouseClick(d.CMDDrawGraph, Qt::LeftButton);
  EXPECT_EQ(d.previewSurface().copyImage(), byEnter);
}

TEST_F(DesignerCommands, UnitBoxesConvertOnAClickOrTheSpaceBarOnly) {
  writeSettings("[Options]\nCheckmm=0\nCheckinch=1\n[FocalLengths]\nFL0=6\n");
  CamDesigner& d = start();
  EXPECT_EQ(d.FocalLength->text(), "6");  // loading converts nothing
  click(d.ChkMM);
  EXPECT_EQ(d.FocalLength->text(), "152.4");
  EXPECT_EQ(checkValue(d.ChkInch), 0);
  click(d.ChkMM);  // the checked box stays checked
  EXPECT_EQ(checkValue(d.ChkMM), 1);
  EXPECT_EQ(d.FocalLength->text(), "152.4");

  // A press on the other box released outside it, or with the right button.
  QTest::mousePress(d.ChkInch, Qt::LeftButton, {}, QPoint(6, 6));
  QTest::mouseRelease(d.ChkInch, Qt::LeftButton, {}, QPoint(200, 200));
  QTest::mouseClick(d.ChkInch, Qt::RightButton, {}, QPoint(6, 6));
  EXPECT_EQ(checkValue(d.ChkInch), 0);
  EXPECT_EQ(d.FocalLength->text(), "152.4");

  d.ChkInch->setFocus();
  QTest::keyClick(d.ChkInch, Qt::Key_Space);
  EXPECT_EQ(checkValue(d.ChkInch), 1);
  EXPECT_EQ(d.FocalLength->text(), "6");

  d.XCorUser->setText("1.5");
  click(d.ChkCormm);
  EXPECT_EQ(d.XCorUser->text(), "38.1");
  EXPECT_EQ(checkValue(d.ChkCorInch), 0);
}

TEST_F(DesignerCommands, CalculateFillsTheRatioLabelsAndTheMeasurements) {
  CamDesigner& d = start();
  d.XCorUser->setText("1.6");
  d.YCorUser->setText("0");
  QTest::mouseClick(d.CMDCalcCor, Qt::LeftButton);
  EXPECT_EQ(d.LBLXCor->text(), ".9638");
  EXPECT_EQ(d.LBLYCor->text(), "1.");
  EXPECT_EQ(d.YCorUser->text(), "0.7");
  EXPECT_EQ(d.PrinterXCor->text(), "0.9375");  // the factor boxes are the user's
}

TEST_F(DesignerCommands, AClickWhilePrintingLetsEventsThroughIsIgnored) {
  CamDesigner& d = start();
  printer.accept = true;
  printer.pdfPath = path("once.pdf");
  d.printerout->setChecked(true);
  d.SaveToDisk->setChecked(true);
  printer.onEvents = [&] {
    d.FocalLength->setText("210");
    QTest::mouseClick(d.CMDDrawGraph, Qt::LeftButton);
  };
  enter("150");
  EXPECT_EQ(printer.dialogs, 1);
  EXPECT_EQ(QDir(folder.path()).entryList({"*.bmp"}), QStringList{"KorvelCamDesigner-150.bmp"});
}

TEST_F(DesignerCommands, ANormalSheetAfterAScrolledHighResolutionOneStandsAtTheCorner) {
  CamDesigner& d = start();
  d.ChkHiRes->setChecked(true);
  QTest::mouseClick(d.CMDPlotCams, Qt::LeftButton);
  PlotWindow& window = *d.plotWindow();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.VScroll1->maximum(), 38);
  window.HScroll1->setValue(30);
  window.VScroll1->setValue(20);
  d.ChkHiRes->setChecked(false);
  QTest::mouseClick(d.CMDPlotCams, Qt::LeftButton);
  EXPECT_EQ(window.Picture1->pos(), QPoint(0, 0));
  EXPECT_EQ(window.HScroll1->value(), 0);
  EXPECT_EQ(window.HScroll1->maximum(), 6);
}

}  // namespace
}  // namespace korvel
