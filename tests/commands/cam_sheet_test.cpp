#include "commands/cam_sheet.h"

#include <QLocale>

#include "support/command_fixture.h"
#include "support/golden_image.h"

namespace korvel {
namespace {

class CamSheet : public testing::CommandFixture {
 protected:
  void plot(const QStringList& fields) {
    for (int i = 1; i <= 9; ++i) in.FocalLen1[i] = fields[i - 1];
    PlotCamSheet(in, state, window, printer);
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

// Each cam is drawn for its field's lens, and the labels written after the
// mirroring name it; a field that is not a whole number repeats the cam
// before it, the first one the focal length box's.
TEST_F(CamSheet, FieldsAreReadAsWholeNumbersAndAFailedFieldRepeatsTheCamBefore) {
  in.FocalLength = "88.9";
  plot({"abc", "90", "135", "", "150mm", " 210 ", "5e1", "abc", "300"});
  std::vector<double> lenses;
  for (const KeptProfile& cam : window.sheet.record()->profiles()) lenses.push_back(cam.focalMm);
  EXPECT_EQ(lenses, (std::vector<double>{88.9, 90, 135, 135, 135, 210, 50, 50, 300}));
  EXPECT_EQ(window.sheet.record()->profiles()[0].extensionFactor, 1.07f);  // the first cam after start-up
  EXPECT_EQ(labels(), (std::vector<std::string>{"88.9 mm", "90 mm", "135 mm", "135 mm", "135 mm", "210 mm",
                                                "50 mm", "50 mm", "300 mm"}));
  EXPECT_EQ(texts().size(), 11u);  // nine labels, the title and the note on the cams' sizes
  in.ChkDistMarkers = 1;
  in.ChkUsePrintCor = 1;
  in.ChkInch = 1;
  PlotCamSheet(in, state, window, printer);
  EXPECT_EQ(texts().size(), 15u);     // and the three marker notes and the correction line
  EXPECT_EQ(labels()[1], "2286 mm");  // 90 inches
}

// Run once more under a German locale by the test build: the regional comma
// reads, and so do the points the unit toggles write.
TEST_F(CamSheet, UnderADecimalCommaEveryCellIsTheCamOfItsOwnLens) {
  if (QLocale::system().decimalPoint() != ",") GTEST_SKIP() << "the locale has no decimal comma";
  in.ChkUsePrintCor = 1;
  plot({"88,9", "90", "135", "150", "210", "250", "270", "300", "380"});
  EXPECT_EQ(labels()[0], "88.9 mm");
  EXPECT_EQ(texts().back(), "Cam/printer correction factors :  X = 0,9375   Y = 0,9338");
  in.ChkInch = 1;
  plot({"3.5", "3.5", "5.3", "5.9", "8.3", "9.8", "10.6", "11.8", "15"});
  EXPECT_EQ(labels(), (std::vector<std::string>{"88.9 mm", "88.9 mm", "134.62 mm", "149.86 mm", "210.82 mm",
                                                "248.92 mm", "269.24 mm", "299.72 mm", "381 mm"}));
}

}  // namespace
}  // namespace korvel
