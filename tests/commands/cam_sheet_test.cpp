#include "commands/cam_sheet.h"

#include <QDate>
#include <QLocale>

#include "geometry/cam_outline.h"
#include "support/command_fixture.h"
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

TEST_F(CamSheet, NineCamsStandInCellOrderForTheNineFields) {
  in.ChkFlipImage = 0;
  layOut();
  const std::vector<std::pair<double, double>> expected{{0.5, 0.5}, {2.5, 0.5}, {4.5, 0.5}, {0.5, 2.5}, {2.5, 2.5},
                                                       {4.5, 2.5}, {0.5, 4.5}, {2.5, 4.5}, {4.5, 4.5}};
  const auto origins = camOrigins();
  ASSERT_EQ(origins.size(), 9u);
  for (std::size_t i = 0; i < 9; ++i) {
    EXPECT_NEAR(origins[i].first, expected[i].first, kInch) << i;
    EXPECT_NEAR(origins[i].second, expected[i].second, kInch) << i;
  }
  EXPECT_EQ(labels(), (std::vector<std::string>{"65 mm", "90 mm", "135 mm", "150 mm", "210 mm", "250 mm", "270 mm",
                                                "300 mm", "380 mm"}));
  EXPECT_EQ(state.PlotScale, 1);
  EXPECT_FLOAT_EQ(sheet.outerWidth(), 6.3f);
  EXPECT_EQ(sheet.named("text size")[0].args[0], 8.0f);
  EXPECT_EQ(sheet.named("line width")[0].args[0], 1.0f);
  EXPECT_TRUE(sheet.named("paint picture").empty());
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

TEST_F(CamSheet, HighResolutionScalesTheSheetNotesAndText) {
  in.ChkHiRes = 1;
  in.ChkFlipImage = 0;
  layOut();
  EXPECT_EQ(state.PlotScale, 6);
  EXPECT_FLOAT_EQ(sheet.outerWidth(), 37.8f);
  EXPECT_FLOAT_EQ(sheet.outerHeight(), 37.8f);
  EXPECT_EQ(sheet.named("text size")[0].args[0], 48.0f);
  EXPECT_EQ(sheet.named("line width")[0].args[0], 3.0f);
  EXPECT_NEAR(camOrigins(6)[8].first, 4.5, kInch);
  // The title line comes after the nine captions, at (3, 0.6).
  const auto positions = sheet.named("text position");
  ASSERT_GE(positions.size(), 11u);
  EXPECT_FLOAT_EQ(positions[9].args[0], 3.0f);
  EXPECT_FLOAT_EQ(positions[9].args[1], 0.6f);
  EXPECT_FLOAT_EQ(positions[10].args[0], 1.8f);
  EXPECT_FLOAT_EQ(positions[10].args[1], 32.4f);
}

TEST_F(CamSheet, FlippedSheetIsMirroredAndRelabelledAfterwards) {
  in.FocalLength = "88.9";
  setFields({"abc", "90", "135", "150", "210", "250", "270", "300", "380"});
  layOut();
  const auto paint = sheet.named("paint picture");
  ASSERT_EQ(paint.size(), 1u);
  EXPECT_EQ(paint[0].args, (std::vector<float>{6.3f, 0.0f, -6.3f, 6.3f}));
  const auto positions = sheet.named("text position");
  const float columns[] = {5.1f, 3.1f, 1.1f};
  const float rows[] = {0.9f, 2.9f, 4.9f};
  for (std::size_t i = 0; i < 9; ++i) {
    EXPECT_FLOAT_EQ(positions[i].args[0], columns[i % 3]) << i;
    EXPECT_FLOAT_EQ(positions[i].args[1], rows[i / 3]) << i;
  }
  // The first cam fell back to the focal length box, and so does its label.
  EXPECT_EQ(sheet.texts()[0], "88.9 mm");
  EXPECT_EQ(sheet.texts()[1], "90 mm");
  EXPECT_EQ(leadIns()[0], leadInOf(88.9, 0.5, 1.07f));
}

TEST_F(CamSheet, NotesAreWrittenOnlyUnderTheirConditions) {
  layOut();
  auto texts = sheet.texts();
  ASSERT_EQ(texts.size(), 11u);  // nine labels, the title and note 2
  EXPECT_EQ(texts[9].rfind("Korvel Cam Designer by Orlan - www.orlan.example   ", 0), 0u);
  EXPECT_NE(texts[9].find(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString()),
            std::string::npos);
  EXPECT_EQ(texts[10],
            "Cams are 1.5 inch (38.1 mm) wide at base: .700 inch (17.78 mm) at highest point: .695 inch (17.653 mm) "
            "at infinity.");

  in.ChkDistMarkers = 1;
  in.ChkUsePrintCor = 1;
  in.PrinterXCor = "1";
  in.PrinterYCor = "1.0";
  layOut();
  texts = sheet.texts();
  ASSERT_EQ(texts.size(), 15u);
  EXPECT_EQ(texts[11],
            "Distance markers are : infinity (highest point), 100ft, 50ft, 25ft, 15ft, 10ft, 8ft, 7ft, 6ft, 5ft, "
            "4ft, 3.5ft, 3ft");
  EXPECT_EQ(texts[12],
            "Distance marker Cam Heights (inches) : .695, .692, .688, .681, ,669, .654, .647, .639, .632, .621, "
            ".599, .584, .567");
  EXPECT_EQ(texts[13], "Bottom Notch (inches): .01");
  EXPECT_EQ(texts[14], "Cam/printer correction factors :  X = 1   Y = 1");
  const auto positions = sheet.named("text position");
  EXPECT_FLOAT_EQ(positions[14].args[0], 2.5f);
  EXPECT_FLOAT_EQ(positions[14].args[1], 6.0f);
}

TEST_F(CamSheet, PlotCamSheetShowsTheWindowThenSavesTheSheet) {
  testing::FakePlotWindow window;
  in.SaveToDisk = 1;
  PlotCamSheet(in, state, window, printer);
  EXPECT_EQ(window.shown, 1);
  EXPECT_EQ(window.placedAtCorner, 1);
  EXPECT_EQ(window.horizontalMaximum, 6);
  const QImage normal(path("KorvelCamDesigner.bmp"));
  EXPECT_EQ(normal.size(), QSize(605, 605));

  in.ChkHiRes = 1;
  PlotCamSheet(in, state, window, printer);
  EXPECT_EQ(window.placedAtCorner, 1);  // a high-resolution sheet stays where it was scrolled
  EXPECT_EQ(window.verticalMaximum, 38);
  const QImage high(path("KorvelCamDesigner.bmp"));
  EXPECT_EQ(high.size(), QSize(3629, 3629));
  // Ink in every cell, mirrored to the other side of the sheet.
  for (const SheetCell& cell : kSheetCells) {
    const QRectF camArea(6.3 - cell.xoffset - 1.5, cell.yoffset, 1.5, 0.7);
    EXPECT_TRUE(testing::hasInk(normal, 96, camArea)) << cell.xoffset << "," << cell.yoffset;
    EXPECT_TRUE(testing::hasInk(high, 96 * 6, camArea)) << cell.xoffset << "," << cell.yoffset;
  }
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
