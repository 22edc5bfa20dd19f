#include <sys/stat.h>

#include <QImage>

#include "support/designer_fixture.h"
#include "support/golden_image.h"
#include "support/page_measure.h"
#include "ui/check_value.h"

namespace korvel {
namespace {

constexpr double kBoxWidth = 2.09375;

int px(double inches) { return static_cast<int>(std::lround(inches * 96)); }

bool blackNear(const QImage& image, double xIn, double yIn) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (image.pixel(px(xIn) + dx, px(yIn) + dy) == qRgb(0, 0, 0)) return true;
  return false;
}

class DrawGraph : public testing::DesignerFixture {
 protected:
  QImage preview() { return designer->previewSurface().copyImage(); }
  void enter(const QString& focal) {
    designer->FocalLength->setFocus();
    designer->FocalLength->selectAll();
    // The test keyboard types ASCII only; other text is pasted in.
    if (focal.toLatin1() == focal.toUtf8()) {
      QTest::keyClicks(designer->FocalLength, focal);
    } else {
      designer->FocalLength->insert(focal);
    }
    QTest::keyClick(designer->FocalLength, Qt::Key_Return);
  }
  QStringList bitmaps() const { return QDir(folder.path()).entryList({"*.bmp"}, QDir::Files); }
};

TEST_F(DrawGraph, EnterDrawsTheMirroredCamAndSelectsTheFocalLength) {
  CamDesigner& d = start();
  enter("150");
  const QImage image = preview();
  // Mirrored: the holes at (0.55, 0.8) and (1.23, 0.96) of the cam appear
  // from the right edge of the box.
  for (auto [x, y] : {std::pair{0.55, 0.8}, std::pair{1.23, 0.96}}) {
    const double mx = kBoxWidth - x;
    EXPECT_NE(image.pixel(px(mx), px(y)), qRgb(0, 0, 0)) << x;
    EXPECT_TRUE(blackNear(image, mx - 0.12, y)) << x;
    EXPECT_TRUE(blackNear(image, mx + 0.12, y)) << x;
  }
  // The base line runs 0.35 + (-0.114 .. 1.428) inches across the box at 1.195.
  EXPECT_TRUE(blackNear(image, kBoxWidth - 0.35 - 0.1, 1.195));
  EXPECT_TRUE(blackNear(image, kBoxWidth - 1.7, 1.195));
  // Unmirrored there is nothing at the holes' own places.
  EXPECT_FALSE(blackNear(image, 0.55 - 0.12, 0.8));
  EXPECT_EQ(d.FocalLength->selectedText(), "150");
  EXPECT_EQ(d.state.ExtensionFactor, 1.074f);
  EXPECT_TRUE(bitmaps().isEmpty());  // saving is off by default

  // The button gives the same picture as Enter (both after a first cam).
  enter("150");
  const QImage byEnter = preview();
  QTest::mouseClick(d.CMDDrawGraph, Qt::LeftButton);
  EXPECT_EQ(preview(), byEnter);
}

// Captions drawn aliased at 96 pixels per inch must read "150 mm", not
// "150 m m": glyphs and their advances snap to the same whole pixels.
TEST_F(DrawGraph, MirroredPreviewOf150mmMatchesItsGoldenImage) {
  start();
  enter("150");
  testing::expectMatchesGolden(preview(), "draw-graph-150mm-flipped.png");
}

TEST_F(DrawGraph, InchFocalLengthIsDrawnAndCaptionedInMillimetres) {
  CamDesigner& d = start();
  d.SaveToDisk->setChecked(true);
  enter("165.1");
  enter("165.1");
  const QImage millimetres = preview();
  d.ChkInch->setChecked(true);
  enter("6.5");
  EXPECT_EQ(preview(), millimetres);  // same cam, same "165.1 mm" caption
  EXPECT_TRUE(QFile::exists(path("KorvelCamDesigner-6.5.bmp")));
  EXPECT_TRUE(QFile::exists(path("KorvelCamDesigner-165.1.bmp")));
}

TEST_F(DrawGraph, EmptyOrBadTextDrawsTheCamOfZeroAndNeverFails) {
  CamDesigner& d = start();
  d.SaveToDisk->setChecked(true);
  enter("0");
  enter("0");
  const QImage zero = preview();
  d.FocalLength->clear();
  QTest::mouseClick(d.CMDDrawGraph, Qt::LeftButton);
  EXPECT_EQ(preview(), zero);
  enter("abc");
  EXPECT_EQ(preview(), zero);
  EXPECT_TRUE(QFile::exists(path("KorvelCamDesigner-0.bmp")));
  for (const char* text : {"-50", "1e300", "1e400", "\xC3\xA9\xE2\x82\xAC", "9999999999999999999999", "."}) {
    enter(QString::fromUtf8(text));
    EXPECT_EQ(d.state.ExtensionFactor, 1.074f) << text;
  }
  EXPECT_TRUE(QFile::exists(path("KorvelCamDesigner--50.bmp")));
  EXPECT_TRUE(QFile::exists(path("KorvelCamDesigner-1E+300.bmp")));
}

TEST_F(DrawGraph, SavingWritesTheBitmapAndReplacesItButNeverIntoAReadOnlyFolder) {
  CamDesigner& d = start();
  d.SaveToDisk->setChecked(true);
  enter("150");
  const QString file = path("KorvelCamDesigner-150.bmp");
  QImage saved(file);
  ASSERT_FALSE(saved.isNull());
  EXPECT_EQ(saved.size(), QSize(201, 137));
  EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), preview());

  d.ChkFlipImage->setChecked(false);
  enter("150");
  EXPECT_EQ(QImage(file).convertToFormat(QImage::Format_RGB32), preview());
  EXPECT_EQ(bitmaps(), QStringList{"KorvelCamDesigner-150.bmp"});

  QFile before(file);
  ASSERT_TRUE(before.open(QIODevice::ReadOnly));
  const QByteArray bytes = before.readAll();
  before.close();
  ASSERT_EQ(chmod(folder.path().toLocal8Bit().constData(), 0555), 0);
  d.ChkFlipImage->setChecked(true);
  enter("150");
  chmod(folder.path().toLocal8Bit().constData(), 0755);
  QFile after(file);
  ASSERT_TRUE(after.open(QIODevice::ReadOnly));
  EXPECT_EQ(after.readAll(), bytes);
  EXPECT_EQ(bitmaps(), QStringList{"KorvelCamDesigner-150.bmp"});
}

class DrawGraphPrinting : public DrawGraph {
 protected:
  void expectPrintedAt(double scaleX, double scaleY) {
    testing::expectPrintedPlacement(preview(), 96, printer.pdfPath, scaleX, scaleY);
  }
};

TEST_F(DrawGraphPrinting, PrintsAtTrueSizeTimesTheCorrectionOneInchIntoThePage) {
  CamDesigner& d = start();
  printer.accept = true;
  printer.pdfPath = path("corrected.pdf");
  d.printerout->setChecked(true);
  d.ChkUsePrintCor->setChecked(true);
  d.PrinterYCor->setText("0.9463");
  enter("150");
  ASSERT_EQ(printer.dialogs, 1);
  // 2.09375 x 0.9375 = 1.962890625 by 1.4270833 x 0.9463 = 1.3504 inches.
  expectPrintedAt(0.9375, 0.9463);

  // With the stored defaults: about 1.9629 by 1.3326 inches.
  printer.pdfPath = path("defaults.pdf");
  d.PrinterYCor->setText("0.9338");
  enter("150");
  expectPrintedAt(0.9375, 0.9338);

  printer.pdfPath = path("true-size.pdf");
  d.ChkUsePrintCor->setChecked(false);
  enter("150");
  expectPrintedAt(1.0, 1.0);
  EXPECT_TRUE(printer.madeDefault.isEmpty());  // the default never changed
}

TEST_F(DrawGraphPrinting, PickingAnotherPrinterGivesTheDefaultBack) {
  CamDesigner& d = start();
  printer.accept = true;
  printer.pdfPath = path("other.pdf");
  printer.pickedPrinter = "Workshop";
  d.printerout->setChecked(true);
  enter("150");
  EXPECT_EQ(printer.madeDefault, QStringList{"Office"});
  EXPECT_EQ(printer.systemDefault, "Office");
}

TEST_F(DrawGraphPrinting, CancelPrintsNothingAndStillSaves) {
  CamDesigner& d = start();
  printer.accept = false;
  printer.pdfPath = path("never.pdf");
  d.printerout->setChecked(true);
  d.SaveToDisk->setChecked(true);
  enter("150");
  EXPECT_EQ(printer.dialogs, 1);
  EXPECT_FALSE(QFile::exists(printer.pdfPath));
  EXPECT_TRUE(QFile::exists(path("KorvelCamDesigner-150.bmp")));
  EXPECT_TRUE(printer.madeDefault.isEmpty());
}

TEST_F(DrawGraphPrinting, AClickWhilePrintingLetsEventsThroughIsIgnored) {
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
  EXPECT_EQ(bitmaps(), QStringList{"KorvelCamDesigner-150.bmp"});
}

}  // namespace
}  // namespace korvel
