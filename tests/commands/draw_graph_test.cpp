#include "commands/draw_graph.h"

#include "commands/cam_sheet.h"
#include "support/command_fixture.h"
#include "support/golden_image.h"
#include "support/printed_paths.h"

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

// Whatever is typed, the command goes through, draws the cam of the number
// the text starts with, or of 0, and names the bitmap after that number.
TEST_F(DrawGraphCommand, AnyTextDrawsTheCamOfItsNumberAndNamesTheBitmap) {
  struct Row { const char *name, *typed; int inch; const char *sameAsMm, *bitmap; };
  const Row rows[] = {
      {"inches drawn and captioned in millimetres", "6.5", 1, "165.1", "KorvelCamDesigner-6.5.bmp"},
      {"empty", "", 0, "0", "KorvelCamDesigner-0.bmp"},
      {"letters", "abc", 0, "0", "KorvelCamDesigner-0.bmp"},
      {"not ASCII", "\xC3\xA9\xE2\x82\xAC", 0, "0", "KorvelCamDesigner-0.bmp"},
      {"a point alone", ".", 0, "0", "KorvelCamDesigner-0.bmp"},
      {"too large for a number", "1e400", 0, "0", "KorvelCamDesigner-0.bmp"},
      {"a number and letters", "150mm", 0, "150", "KorvelCamDesigner-150.bmp"},
      {"negative", "-50", 0, "-50 mm", "KorvelCamDesigner--50.bmp"},
      {"large", "1e300", 0, "1E+300", "KorvelCamDesigner-1E+300.bmp"},
      {"many digits", "9999999999999999999999", 0, "1e22", "KorvelCamDesigner-1E+22.bmp"},
  };
  draw("1");  // every cam after the first takes the same extension factor
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    in.SaveToDisk = in.ChkInch = 0;
    const QImage sameAs = draw(row.sameAsMm);
    in.SaveToDisk = 1;
    in.ChkInch = row.inch;
    EXPECT_EQ(draw(QString::fromUtf8(row.typed)), sameAs);
    EXPECT_TRUE(QFile::remove(path(row.bitmap)));
  }
}

TEST_F(DrawGraphCommand, SavingReplacesTheBitmapButNeverWritesIntoAReadOnlyFolder) {
  in.SaveToDisk = 1;
  const QString file = path("KorvelCamDesigner-150.bmp");
  for (int flip : {1, 0}) {
    in.ChkFlipImage = flip;
    const QImage drawn = draw("150");
    EXPECT_EQ(QImage(file).convertToFormat(QImage::Format_RGB32), drawn);
  }
  const QByteArray bytes = testing::readFile(file);
  testing::setMode(folder.path(), 0555);
  in.ChkFlipImage = 1;
  draw("150");
  testing::setMode(folder.path(), 0755);
  EXPECT_EQ(testing::readFile(file), bytes);
  EXPECT_EQ(bitmaps(), QStringList{"KorvelCamDesigner-150.bmp"});
}

// A printed cam or sheet lands one inch into the page at true size, a sheet
// inch of the high-resolution sheet being a sixth of one of the normal sheet,
// times the correction factors when they are in use. A cancelled dialog
// prints nothing, but the drawing is still saved.
TEST_F(DrawGraphCommand, PrintsAtTrueSizeTimesTheCorrection) {
  struct Row { const char* name; bool sheet; int corrected, high; double scaleX, scaleY; };
  const Row rows[] = {{"corrected cam", false, 1, 0, 0.9375, 0.9463},
                      {"true-size cam", false, 0, 0, 1, 1},
                      {"corrected high-resolution sheet", true, 1, 1, 0.9375 / 6, 0.9463 / 6},
                      {"true-size sheet", true, 0, 0, 1, 1}};
  printer.accept = true;
  in.printerout = 1;
  in.PrinterYCor = "0.9463";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    in.ChkUsePrintCor = row.corrected;
    in.ChkHiRes = row.high;
    printer.pdfPath = path(QString(row.name) + ".pdf");
    if (row.sheet) PlotCamSheet(in, state, window, printer);
    else draw("150");
    const DrawingRecord& printed = *(row.sheet ? window.sheet : preview).record();
    testing::expectPrintedRecord(printer.pdfPath, printed, {1, 1}, row.scaleX, row.scaleY);
  }
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
