#include "commands/cam_sheet.h"

#include <QLocale>

#include "geometry/cam_outline.h"
#include "support/command_fixture.h"
#include "support/golden_image.h"
#include "support/page_measure.h"
#include "support/recording_surface.h"

namespace korvel {
namespace {

class CamSheet : public testing::CommandFixture {
 protected:
  testing::RecordingSurface sheet;
  testing::FakePlotWindow window;

  void layOut() {
    sheet.ops.clear();
    prepareSheet(in, state, sheet);
    drawSheet(in, state, sheet);
  }
  // The lead-in dot of every cam, in drawing order: it moves with the lens.
  std::vector<float> leadIns() const {
    std::vector<float> xs;
    for (const testing::SurfaceOp& op : sheet.named("point")) xs.push_back(op.args[0]);
    return xs;
  }
  // The first cam after start-up still has the start-up extension factor.
  static float leadInOf(double focalMm, double xoffset, float k = 1.074f) {
    testing::RecordingSurface one;
    drawCamOutline(one, focalMm, xoffset, 0.5, k, {});
    return one.named("point")[0].args[0];
  }
  void setFields(const QStringList& texts) {
    for (int i = 1; i <= 9; ++i) in.FocalLen1[i] = texts[i - 1];
  }
  std::vector<std::string> labels() const {
    const auto texts = sheet.texts();
    return {texts.begin(), texts.begin() + 9};
  }
};

// The sheets as the plot window shows them, checked by eye against the worked
// examples: nine cams in their cells, mirrored and relabelled, with the title
// line, the notes, the distance markers and the correction line; and the
// window shown first, at its corner for a true-size sheet, the bitmap saved.
using CamSheetPictures = CamSheet;  // not run under a regional date

TEST_F(CamSheetPictures, NormalAndHighResolutionSheetsMatchTheirGoldenImages) {
  in.ChkDistMarkers = 1;
  in.ChkUsePrintCor = 1;
  in.SaveToDisk = 1;
  PlotCamSheet(in, state, window, printer);
  testing::expectMatchesGolden(window.sheet.copyImage(), "sheet-markers-flipped.png");
  EXPECT_EQ(QImage(path("KorvelCamDesigner.bmp")), window.sheet.copyImage().convertToFormat(QImage::Format_Mono));
  EXPECT_EQ(window.shown, 1);
  EXPECT_EQ(window.placedAtCorner, 1);
  EXPECT_EQ(window.horizontalMaximum, 6);

  in.ChkHiRes = 1;
  PlotCamSheet(in, state, window, printer);
  EXPECT_EQ(window.placedAtCorner, 1);  // a high-resolution sheet stays where it was scrolled
  EXPECT_EQ(window.verticalMaximum, 38);
  EXPECT_EQ(QImage(path("KorvelCamDesigner.bmp")).size(), QSize(3629, 3629));
  // The first cell's cam, mirrored to the right of the sheet.
  constexpr int kDpi = 96 * 6;
  const QRect cell(QPoint(4.1 * kDpi, 0.3 * kDpi), QPoint(6.0 * kDpi, 1.4 * kDpi));
  testing::expectMatchesGolden(window.sheet.copyImage().copy(cell), "sheet-high-resolution-cell.png");
}

TEST_F(CamSheet, FieldsAreReadAsWholeNumbersAndAFailedFieldRepeatsTheCamBefore) {
  in.FocalLength = "88.9";
  setFields({"abc", "90", "135", "", "150mm", " 210 ", "5e1", "abc", "300"});
  layOut();
  const auto xs = leadIns();
  ASSERT_EQ(xs.size(), 9u);
  EXPECT_EQ(xs[0], leadInOf(88.9, 0.5, 1.07f));  // the focal length box's cam
  EXPECT_EQ(xs[3], leadInOf(135, 0.5));          // empty: as cell 3
  EXPECT_EQ(xs[4], leadInOf(135, 2.5));          // trailing letters fail too
  EXPECT_EQ(xs[5], leadInOf(210, 4.5));          // blanks around are fine
  EXPECT_EQ(xs[7], leadInOf(50, 2.5));
  // The mirrored labels name the lens each cam was drawn for.
  EXPECT_EQ(labels(), (std::vector<std::string>{"88.9 mm", "90 mm", "135 mm", "135 mm", "135 mm", "210 mm",
                                                "50 mm", "50 mm", "300 mm"}));
  EXPECT_EQ(sheet.texts().size(), 11u);  // nine labels, the title and the note on the cams' sizes
  in.ChkDistMarkers = 1;
  in.ChkUsePrintCor = 1;
  in.ChkInch = 1;
  layOut();
  EXPECT_EQ(sheet.texts().size(), 15u);  // and the three marker notes and the correction line
  EXPECT_EQ(labels()[1], "2286 mm");     // 90 inches
}

// Run once more under a German locale by the test build: the regional comma
// reads, and so do the points the unit toggles write.
TEST_F(CamSheet, UnderADecimalCommaEveryCellIsTheCamOfItsOwnLens) {
  if (QLocale::system().decimalPoint() != ",") GTEST_SKIP() << "the locale has no decimal comma";
  in.ChkUsePrintCor = 1;
  setFields({"88,9", "90", "135", "150", "210", "250", "270", "300", "380"});
  layOut();
  EXPECT_EQ(labels()[0], "88.9 mm");
  EXPECT_EQ(sheet.texts().back(), "Cam/printer correction factors :  X = 0,9375   Y = 0,9338");
  in.ChkInch = 1;
  setFields({"3.5", "3.5", "5.3", "5.9", "8.3", "9.8", "10.6", "11.8", "15"});
  layOut();
  EXPECT_EQ(labels(), (std::vector<std::string>{"88.9 mm", "88.9 mm", "134.62 mm", "149.86 mm", "210.82 mm",
                                                "248.92 mm", "269.24 mm", "299.72 mm", "381 mm"}));
}

TEST_F(CamSheet, PrintedSheetHasTheSameSizeInBothResolutions) {
  printer.accept = true;
  in.printerout = 1;
  for (int corrected : {1, 0}) {
    in.ChkUsePrintCor = corrected;
    for (int high : {0, 1}) {
      SCOPED_TRACE(std::string(corrected ? "corrected " : "true size ") + (high ? "high" : "normal"));
      in.ChkHiRes = high;
      printer.pdfPath = path(QString("sheet-%1-%2.pdf").arg(corrected).arg(high));
      PlotCamSheet(in, state, window, printer);
      // 6.3 inches times 0.9375 and 0.9338: about 5.906 by 5.883 inches; the
      // longest note is the widest ink.
      testing::expectPrintedPlacement(window.sheet.copyImage(), 96.0 * (high ? 6 : 1), printer.pdfPath,
                                      corrected ? 0.9375 : 1, corrected ? 0.9338 : 1, {}, 0.1);
    }
  }
}

}  // namespace
}  // namespace korvel
