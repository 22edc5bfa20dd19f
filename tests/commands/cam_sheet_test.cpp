#include "commands/cam_sheet.h"

#include <QLocale>

#include "geometry/cam_outline.h"
#include "support/command_fixture.h"
#include "support/golden_image.h"
#include "support/printed_paths.h"

namespace korvel {
namespace {

// The lead-in dots of a drawing's cams, in drawing order, across the page:
// they move with the lens.
std::vector<double> leadIns(const RasterSurface& surface) {
  std::vector<double> xs;
  for (const RecordedFigure& figure : surface.record()->figures())
    if (figure.shape == RecordedShape::Point) xs.push_back(figure.a.x());
  return xs;
}

// The lead-in of the cam of a lens drawn alone into a cell of the top row of
// a mirrored sheet.
double leadInOf(double focalMm, double xoffset, float k = 1.074f) {
  RasterSurface one(kSheetSize, kSheetSize, sheetFont());
  drawCamOutline(one, focalMm, xoffset, 0.5, k, {});
  one.mirrorLeftToRight();
  return leadIns(one)[0];
}

class CamSheet : public testing::CommandFixture {
 protected:
  testing::FakePlotWindow window;

  void setFields(const QStringList& texts) {
    for (int i = 1; i <= 9; ++i) in.FocalLen1[i] = texts[i - 1];
  }
  std::vector<std::string> texts() const {
    std::vector<std::string> found;
    for (const RecordedFigure& figure : window.sheet.record()->figures())
      if (figure.shape == RecordedShape::Text) found.push_back(figure.text);
    return found;
  }
  std::vector<std::string> labels() const {
    const auto all = texts();
    return {all.begin(), all.begin() + 9};
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
  PlotCamSheet(in, state, window, printer);
  const auto xs = leadIns(window.sheet);
  ASSERT_EQ(xs.size(), 9u);
  EXPECT_EQ(xs[0], leadInOf(88.9, 0.5, 1.07f));  // the focal length box's cam, the first after start-up
  EXPECT_EQ(xs[3], leadInOf(135, 0.5));          // empty: as cell 3
  EXPECT_EQ(xs[4], leadInOf(135, 2.5));          // trailing letters fail too
  EXPECT_EQ(xs[5], leadInOf(210, 4.5));          // blanks around are fine
  EXPECT_EQ(xs[7], leadInOf(50, 2.5));
  // The mirrored labels name the lens each cam was drawn for.
  EXPECT_EQ(labels(), (std::vector<std::string>{"88.9 mm", "90 mm", "135 mm", "135 mm", "135 mm", "210 mm",
                                                "50 mm", "50 mm", "300 mm"}));
  EXPECT_EQ(texts().size(), 11u);  // nine labels, the title and the note on the cams' sizes
  in.ChkDistMarkers = 1;
  in.ChkUsePrintCor = 1;
  in.ChkInch = 1;
  PlotCamSheet(in, state, window, printer);
  EXPECT_EQ(texts().size(), 15u);  // and the three marker notes and the correction line
  EXPECT_EQ(labels()[1], "2286 mm");  // 90 inches
}

// Run once more under a German locale by the test build: the regional comma
// reads, and so do the points the unit toggles write.
TEST_F(CamSheet, UnderADecimalCommaEveryCellIsTheCamOfItsOwnLens) {
  if (QLocale::system().decimalPoint() != ",") GTEST_SKIP() << "the locale has no decimal comma";
  in.ChkUsePrintCor = 1;
  setFields({"88,9", "90", "135", "150", "210", "250", "270", "300", "380"});
  PlotCamSheet(in, state, window, printer);
  EXPECT_EQ(labels()[0], "88.9 mm");
  EXPECT_EQ(texts().back(), "Cam/printer correction factors :  X = 0,9375   Y = 0,9338");
  in.ChkInch = 1;
  setFields({"3.5", "3.5", "5.3", "5.9", "8.3", "9.8", "10.6", "11.8", "15"});
  PlotCamSheet(in, state, window, printer);
  EXPECT_EQ(labels(), (std::vector<std::string>{"88.9 mm", "88.9 mm", "134.62 mm", "149.86 mm", "210.82 mm",
                                                "248.92 mm", "269.24 mm", "299.72 mm", "381 mm"}));
}

// Printed one inch into the page, a sheet inch of the high-resolution sheet
// a sixth of a sheet inch of the normal one, times the correction in use.
TEST_F(CamSheet, PrintedSheetHasTheSameSizeInBothResolutions) {
  struct Row { const char* name; int corrected, high; double scaleX, scaleY; };
  const Row rows[] = {{"corrected high resolution", 1, 1, 0.9375 / 6, 0.9338 / 6},
                      {"true size normal resolution", 0, 0, 1, 1}};
  printer.accept = true;
  in.printerout = 1;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    in.ChkUsePrintCor = row.corrected;
    in.ChkHiRes = row.high;
    printer.pdfPath = path(QString(row.name) + ".pdf");
    PlotCamSheet(in, state, window, printer);
    testing::expectPrintedRecord(printer.pdfPath, *window.sheet.record(), {1, 1}, row.scaleX, row.scaleY);
  }
}

}  // namespace
}  // namespace korvel
