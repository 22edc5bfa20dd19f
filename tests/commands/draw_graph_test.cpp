#include "commands/draw_graph.h"

#include <sys/stat.h>

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

TEST_F(DrawGraphCommand, TextsDrawTheCamOfTheirNumber) {
  struct Row { const char *name, *typed; int inch; const char* sameAsMm; };
  const Row rows[] = {
      {"inches drawn and captioned in millimetres", "6.5", 1, "165.1"},
      {"empty text as 0", "", 0, "0"},
      {"letters as 0", "abc", 0, "0"},
      {"leading number of mixed text", "150mm", 0, "150"},
  };
  draw("1");  // every cam after the first takes the same extension factor
  for (const Row& row : rows) {
    in.ChkInch = row.inch;
    const QImage typed = draw(row.typed);
    in.ChkInch = 0;
    EXPECT_EQ(typed, draw(row.sameAsMm)) << row.name;
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
  const QString file = path("KorvelCamDesigner-150.bmp");
  for (int flip : {1, 0}) {
    in.ChkFlipImage = flip;
    const QImage drawn = draw("150");
    EXPECT_EQ(QImage(file).convertToFormat(QImage::Format_RGB32), drawn);
  }
  EXPECT_EQ(bitmaps(), QStringList{"KorvelCamDesigner-150.bmp"});

  const QByteArray bytes = testing::readFile(file);
  ASSERT_EQ(chmod(folder.path().toLocal8Bit().constData(), 0555), 0);
  in.ChkFlipImage = 1;
  draw("150");
  chmod(folder.path().toLocal8Bit().constData(), 0755);
  EXPECT_EQ(testing::readFile(file), bytes);
  EXPECT_EQ(bitmaps(), QStringList{"KorvelCamDesigner-150.bmp"});
}

// The printed cam lands one inch into the page at true size, times the
// correction factors when they are in use; a cancelled dialog prints nothing
// but the cam is still saved.
TEST_F(DrawGraphCommand, PrintsAtTrueSizeTimesTheCorrection) {
  struct Row { const char* name; int useCorrection; double scaleX, scaleY; };
  const Row rows[] = {{"corrected", 1, 0.9375, 0.9463}, {"true size", 0, 1.0, 1.0}};
  printer.accept = true;
  in.printerout = 1;
  in.PrinterYCor = "0.9463";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    in.ChkUsePrintCor = row.useCorrection;
    printer.pdfPath = path(QString(row.name) + ".pdf");
    draw("150");
    testing::expectPrintedRecord(printer.pdfPath, *preview.record(), {1, 1}, row.scaleX, row.scaleY);
  }
  printer.accept = false;
  printer.pdfPath = path("never.pdf");
  in.SaveToDisk = 1;
  draw("150");
  EXPECT_EQ(printer.dialogs, 3);
  EXPECT_FALSE(QFile::exists(printer.pdfPath));
  EXPECT_TRUE(QFile::exists(path("KorvelCamDesigner-150.bmp")));
}

}  // namespace
}  // namespace korvel
