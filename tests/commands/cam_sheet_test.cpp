#include "commands/cam_sheet.h"

#include <QDate>
#include <QLocale>

#include "geometry/cam_outline.h"
#include "support/command_fixture.h"
#include "support/golden_image.h"
#include "support/page_measure.h"
#include "support/recording_surface.h"

namespace korvel {
namespace {

using testing::RecordingSurface;
using testing::SurfaceOp;
constexpr double kInch = 1e-5;

class CamSheet : public testing::CommandFixture {
 protected:
  RecordingSurface sheet;

  void layOut() {
    sheet.ops.clear();
    prepareSheet(in, state, sheet);
    drawSheet(in, state, sheet);
  }
  // The first hole of every cam, centred 0.2 and 0.3 inch into its frame.
  std::vector<std::pair<double, double>> camOrigins(double scale = 1) const {
    std::vector<std::pair<double, double>> origins;
    const auto circles = sheet.named("circle");
    for (std::size_t i = 0; i < circles.size(); i += 2)
      origins.emplace_back(circles[i].args[0] / scale - 0.2, circles[i].args[1] / scale - 0.3);
    return origins;
  }
  // The lead-in dot of every cam, in drawing order: it moves with the lens.
  std::vector<float> leadIns() const {
    std::vector<float> xs;
    for (const SurfaceOp& op : sheet.named("point")) xs.push_back(op.args[0]);
    return xs;
  }
  // The first cam after start-up still has the start-up extension factor.
  static float leadInOf(double focalMm, double xoffset, float k = 1.074f) {
    RecordingSurface one;
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
// line, the notes, the distance markers and the correction line. Only the
// pictures of the sheet are drawn here, so a regional date would not match.
using CamSheetPictures = CamSheet;

TEST_F(CamSheetPictures, NormalAndHighResolutionSheetsMatchTheirGoldenImages) {
  testing::FakePlotWindow window;
  in.ChkDistMarkers = 1;
  in.ChkUsePrintCor = 1;
  PlotCamSheet(in, state, window, printer);
  testing::expectMatchesGolden(window.sheet.copyImage(), "sheet-markers-flipped.png");
  in.ChkHiRes = 1;
  PlotCamSheet(in, state, window, printer);
  // The first cell's cam, mirrored to the right of the sheet.
  constexpr int kHighResolutionDpi = 96 * 6;
  const QRect cell(QPoint(4.1 * kHighResolutionDpi, 0.3 * kHighResolutionDpi),
                   QPoint(6.0 * kHighResolutionDpi, 1.4 * kHighResolutionDpi));
  testing::expectMatchesGolden(window.sheet.copyImage().copy(cell), "sheet-high-resolution-cell.png");
}

TEST_F(CamSheet, FieldsAreReadAsWholeNumbersAndAFailedFieldRepeatsTheCamBefore) {
  in.ChkFlipImage = 0;
  setFields({"65", "90", "135", "", "150mm", " 210 ", "5e1", "abc", "300"});
  layOut();
  const auto xs = leadIns();
  ASSERT_EQ(xs.size(), 9u);
  EXPECT_EQ(xs[3], leadInOf(135, 0.5));  // empty: as cell 3
  EXPECT_EQ(xs[4], leadInOf(135, 2.5));  // trailing letters fail too
  EXPECT_EQ(xs[5], leadInOf(210, 4.5));  // blanks around are fine
  EXPECT_EQ(xs[6], leadInOf(50, 0.5));
  EXPECT_EQ(xs[7], leadInOf(50, 2.5));

  // Inch fields; the first cam falls back to the focal length box.
  in.ChkInch = 1;
  in.FocalLength = "5";
  setFields({"", "", "", "", "", "", "", "", ""});
  state.ExtensionFactor = kExtensionFactorAtStart;
  layOut();
  EXPECT_EQ(leadIns()[0], leadInOf(127, 0.5, 1.07f));
  EXPECT_EQ(sheet.texts()[0], "127 mm");
  EXPECT_EQ(leadIns()[8], leadInOf(127, 4.5));
}

// Run once more under a German locale by the test build: the regional comma
// reads, and so do the points the unit toggles write.
TEST_F(CamSheet, UnderADecimalCommaEveryCellIsTheCamOfItsOwnLens) {
  if (QLocale::system().decimalPoint() != ",") GTEST_SKIP() << "the locale has no decimal comma";
  in.ChkFlipImage = 0;
  in.ChkUsePrintCor = 1;
  setFields({"88,9", "90", "135", "150", "210", "250", "270", "300", "380"});
  layOut();
  EXPECT_EQ(sheet.texts()[0], "88.9 mm");
  EXPECT_EQ(sheet.texts().back(), "Cam/printer correction factors :  X = 0,9375   Y = 0,9338");

  in.ChkInch = 1;
  setFields({"3.5", "3.5", "5.3", "5.9", "8.3", "9.8", "10.6", "11.8", "15"});
  layOut();
  EXPECT_EQ(labels(), (std::vector<std::string>{"88.9 mm", "88.9 mm", "134.62 mm", "149.86 mm", "210.82 mm",
                                                "248.92 mm", "269.24 mm", "299.72 mm", "381 mm"}));
}

// A mirrored sheet's labels are written after mirroring, so they read
// normally, and each names the lens its cam was drawn for.
TEST_F(CamSheet, MirroredLabelsNameTheCamsTheyStandUnder) {
  in.FocalLength = "88.9";
  setFields({"abc", "90", "135", "150", "210", "250", "270", "300", "380"});
  layOut();
  ASSERT_EQ(sheet.named("paint picture").size(), 1u);
  EXPECT_EQ(labels()[0], "88.9 mm");  // the failed field fell back to the focal length box
  EXPECT_EQ(labels()[1], "90 mm");
  EXPECT_EQ(leadIns()[0], leadInOf(88.9, 0.5, 1.07f));
  EXPECT_EQ(sheet.texts().size(), 11u);  // nine labels, the title and the note on the cams' sizes
  in.ChkDistMarkers = 1;
  in.ChkUsePrintCor = 1;
  layOut();
  EXPECT_EQ(sheet.texts().size(), 15u);  // and the three marker notes and the correction line
}

TEST_F(CamSheet, PlotCamSheetShowsTheWindowThenSavesTheSheet) {
  testing::FakePlotWindow window;
  in.SaveToDisk = 1;
  PlotCamSheet(in, state, window, printer);
  EXPECT_EQ(window.shown, 1);
  EXPECT_EQ(window.placedAtCorner, 1);
  EXPECT_EQ(window.horizontalMaximum, 6);
  EXPECT_EQ(QImage(path("KorvelCamDesigner.bmp")), window.sheet.copyImage().convertToFormat(QImage::Format_Mono));
  in.ChkHiRes = 1;
  PlotCamSheet(in, state, window, printer);
  EXPECT_EQ(window.placedAtCorner, 1);  // a high-resolution sheet stays where it was scrolled
  EXPECT_EQ(window.verticalMaximum, 38);
  EXPECT_EQ(QImage(path("KorvelCamDesigner.bmp")).size(), QSize(3629, 3629));
}

TEST_F(CamSheet, PrintedSheetHasTheSameSizeInBothResolutions) {
  testing::FakePlotWindow window;
  printer.accept = true;
  in.printerout = 1;
  for (int corrected : {1, 0}) {
    in.ChkUsePrintCor = corrected;
    for (int high : {0, 1}) {
      SCOPED_TRACE(std::string(corrected ? "corrected " : "true size ") + (high ? "high" : "normal"));
      in.ChkHiRes = high;
      printer.pdfPath = path(QString("sheet-%1-%2.pdf").arg(corrected).arg(high));
      PlotCamSheet(in, state, window, printer);
      // 6.3 inches times 0.9375 and 0.9338: about 5.906 by 5.883 inches.
      testing::expectPrintedPlacement(window.sheet.copyImage(), 96.0 * (high ? 6 : 1), printer.pdfPath,
                                      corrected ? 0.9375 : 1, corrected ? 0.9338 : 1);
    }
  }
}

}  // namespace
}  // namespace korvel
