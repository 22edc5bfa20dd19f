#include "commands/draw_graph.h"

#include <sys/stat.h>

#include <QImage>

#include "support/command_fixture.h"
#include "support/page_measure.h"
#include "support/recording_surface.h"

namespace korvel {
namespace {

int px(double inches) { return static_cast<int>(std::lround(inches * 96)); }

bool blackNear(const QImage& image, double xIn, double yIn) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (image.pixel(px(xIn) + dx, px(yIn) + dy) == qRgb(0, 0, 0)) return true;
  return false;
}

class DrawGraphCommand : public testing::CommandFixture {
 protected:
  RasterSurface preview{kPreviewWidthInches, kPreviewHeightInches, QFont("Arial")};

  QImage draw(const QString& focal) {
    in.FocalLength = focal;
    DrawGraph(in, state, preview, printer);
    return preview.copyImage();
  }
  // The drawing of a focal length, figure by figure, unmirrored.
  std::vector<testing::SurfaceOp> recorded(const QString& focal, int inch) {
    testing::RecordingSurface surface;
    DesignerInputs typed = in;
    typed.FocalLength = focal;
    typed.ChkInch = inch;
    typed.ChkFlipImage = 0;
    DesignerState once = state;  // every cam with the start-up extension factor
    DrawGraph(typed, once, surface, printer);
    return surface.ops;
  }
};

TEST_F(DrawGraphCommand, DrawsTheCamMirroredAtTrueSize) {
  const QImage image = draw("150");
  // Mirrored: the holes at (0.55, 0.8) and (1.23, 0.96) of the cam appear
  // from the right edge of the box, 0.12 inch round.
  const double width = preview.innerWidth();
  for (auto [x, y] : {std::pair{0.55, 0.8}, std::pair{1.23, 0.96}}) {
    EXPECT_FALSE(blackNear(image, width - x, y)) << x;
    EXPECT_TRUE(blackNear(image, width - x - 0.12, y)) << x;
    EXPECT_TRUE(blackNear(image, width - x + 0.12, y)) << x;
  }
  // The base line runs 0.35 + (-0.114 .. 1.428) inches across the box at 1.195.
  EXPECT_TRUE(blackNear(image, width - 0.35 - 0.1, 1.195));
  EXPECT_TRUE(blackNear(image, width - 1.7, 1.195));
  EXPECT_FALSE(blackNear(image, 0.55 - 0.12, 0.8));  // nothing at the holes' own places
  EXPECT_EQ(state.ExtensionFactor, 1.074f);
  EXPECT_TRUE(bitmaps().isEmpty());  // saving is off by default
}

// What a focal length text draws, compared with the cam of a plain number.
TEST_F(DrawGraphCommand, TextsDrawTheCamOfTheirNumber) {
  struct Row {
    const char* name;
    const char* typed;
    int inch;
    const char* sameAs;  // millimetres
  };
  const Row rows[] = {
      {"inches drawn and captioned in millimetres", "6.5", 1, "165.1"},
      {"empty text as 0", "", 0, "0"},
      {"letters as 0", "abc", 0, "0"},
      {"leading number of mixed text", "150mm", 0, "150"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto a = recorded(row.typed, row.inch), b = recorded(row.sameAs, 0);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
      EXPECT_EQ(a[i].args, b[i].args) << i;
      EXPECT_EQ(a[i].text, b[i].text) << i;
    }
  }
}

// Whatever is typed, the command goes through and names the bitmap after it.
TEST_F(DrawGraphCommand, BadTextNeverFailsAndNamesTheBitmap) {
  in.SaveToDisk = 1;
  const std::pair<const char*, const char*> rows[] = {
      {"-50", "KorvelCamDesigner--50.bmp"},   {"1e300", "KorvelCamDesigner-1E+300.bmp"},
      {"1e400", "KorvelCamDesigner-0.bmp"},   {"\xC3\xA9\xE2\x82\xAC", "KorvelCamDesigner-0.bmp"},
      {"9999999999999999999999", "KorvelCamDesigner-1E+22.bmp"}, {".", "KorvelCamDesigner-0.bmp"},
  };
  for (const auto& [typed, bitmap] : rows) {
    draw(QString::fromUtf8(typed));
    EXPECT_EQ(state.ExtensionFactor, 1.074f) << typed;
    EXPECT_TRUE(QFile::exists(path(bitmap))) << typed << " " << bitmap;
  }
}

TEST_F(DrawGraphCommand, SavingReplacesTheBitmapButNeverWritesIntoAReadOnlyFolder) {
  in.SaveToDisk = 1;
  QImage image = draw("150");
  const QString file = path("KorvelCamDesigner-150.bmp");
  EXPECT_EQ(QImage(file).convertToFormat(QImage::Format_RGB32), image);
  in.ChkFlipImage = 0;
  image = draw("150");
  EXPECT_EQ(QImage(file).convertToFormat(QImage::Format_RGB32), image);
  EXPECT_EQ(bitmaps(), QStringList{"KorvelCamDesigner-150.bmp"});

  const QByteArray bytes = fileBytes("KorvelCamDesigner-150.bmp");
  ASSERT_EQ(chmod(folder.path().toLocal8Bit().constData(), 0555), 0);
  in.ChkFlipImage = 1;
  draw("150");
  chmod(folder.path().toLocal8Bit().constData(), 0755);
  EXPECT_EQ(fileBytes("KorvelCamDesigner-150.bmp"), bytes);
  EXPECT_EQ(bitmaps(), QStringList{"KorvelCamDesigner-150.bmp"});
}

// The printed cam lands one inch into the page at true size, times the
// correction factors when they are in use.
TEST_F(DrawGraphCommand, PrintsAtTrueSizeTimesTheCorrection) {
  struct Row {
    const char* name;
    int useCorrection;
    const char* yFactor;
    double scaleX, scaleY;
  };
  const Row rows[] = {
      {"corrected", 1, "0.9463", 0.9375, 0.9463},
      {"stored defaults", 1, "0.9338", 0.9375, 0.9338},
      {"true size", 0, "0.9338", 1.0, 1.0},
  };
  printer.accept = true;
  in.printerout = 1;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    in.ChkUsePrintCor = row.useCorrection;
    in.PrinterYCor = row.yFactor;
    printer.pdfPath = path(QString(row.name) + ".pdf");
    const QImage image = draw("150");
    testing::expectPrintedPlacement(image, 96, printer.pdfPath, row.scaleX, row.scaleY);
  }
  EXPECT_EQ(printer.dialogs, 3);
  EXPECT_TRUE(printer.madeDefault.isEmpty());  // the default never changed
}

TEST_F(DrawGraphCommand, PickingAnotherPrinterGivesTheDefaultBackAndCancelStillSaves) {
  printer.accept = true;
  printer.pdfPath = path("other.pdf");
  printer.pickedPrinter = "Workshop";
  in.printerout = 1;
  draw("150");
  EXPECT_EQ(printer.madeDefault, QStringList{"Office"});
  EXPECT_EQ(printer.systemDefault, "Office");

  printer.accept = false;
  printer.pdfPath = path("never.pdf");
  in.SaveToDisk = 1;
  draw("150");
  EXPECT_EQ(printer.dialogs, 2);
  EXPECT_FALSE(QFile::exists(printer.pdfPath));
  EXPECT_TRUE(QFile::exists(path("KorvelCamDesigner-150.bmp")));
}

}  // namespace
}  // namespace korvel
