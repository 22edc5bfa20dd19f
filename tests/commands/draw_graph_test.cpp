#include "commands/draw_graph.h"

#include <sys/stat.h>

#include "support/command_fixture.h"
#include "support/golden_image.h"
#include "support/page_measure.h"
#include "support/recording_surface.h"

namespace korvel {
namespace {

class DrawGraphCommand : public testing::CommandFixture {
 protected:
  RasterSurface preview{kPreviewWidthInches, kPreviewHeightInches, previewFont()};

  QImage draw(const QString& focal) {
    in.FocalLength = focal;
    DrawGraph(in, state, preview, printer);
    return preview.copyImage();
  }
  // The drawing of a focal length, figure by figure, unmirrored, as the first
  // cam after start-up.
  std::vector<testing::SurfaceOp> recorded(const QString& focal, int inch) {
    testing::RecordingSurface surface;
    DesignerInputs typed = in;
    typed.FocalLength = focal;
    typed.ChkInch = inch;
    typed.ChkFlipImage = 0;
    DesignerState once = state;
    DrawGraph(typed, once, surface, printer);
    return surface.ops;
  }
};

// The 150 mm cam of the design, with its distance markers, checked by eye
// against the worked example: holes 0.12 in round at (0.55, 0.8) and
// (1.23, 0.96) of the cam, the base from -0.114 to 1.428, captions that read
// "150 mm", "Korvel Cam Designer" and "by Orlan - www.orlan.example".
TEST_F(DrawGraphCommand, PreviewMatchesItsGoldenImageMirroredAndNot) {
  in.ChkDistMarkers = 1;
  draw("150");  // the second cam and every later one takes the factor 1.074
  EXPECT_EQ(state.ExtensionFactor, 1.074f);
  testing::expectMatchesGolden(draw("150"), "draw-graph-150mm-markers-flipped.png");
  in.ChkFlipImage = 0;
  testing::expectMatchesGolden(draw("150"), "draw-graph-150mm-markers.png");
  EXPECT_TRUE(bitmaps().isEmpty());  // saving is off by default
}

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
// correction factors when they are in use; the default printer is given back
// when another was picked, and a cancelled dialog prints nothing but saves.
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
    testing::expectPrintedPlacement(draw("150"), 96, printer.pdfPath, row.scaleX, row.scaleY);
  }
  EXPECT_TRUE(printer.madeDefault.isEmpty());  // the default never changed
  printer.pickedPrinter = "Workshop";
  draw("150");
  EXPECT_EQ(printer.madeDefault, QStringList{"Office"});

  printer.accept = false;
  printer.pdfPath = path("never.pdf");
  in.SaveToDisk = 1;
  draw("150");
  EXPECT_EQ(printer.dialogs, 5);
  EXPECT_FALSE(QFile::exists(printer.pdfPath));
  EXPECT_TRUE(QFile::exists(path("KorvelCamDesigner-150.bmp")));
}

}  // namespace
}  // namespace korvel
