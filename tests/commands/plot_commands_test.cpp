// The two drawing commands, Draw Graph and the cam sheet, run without a
// window: the controls as plain inputs, the state of a fresh start with a
// program folder of its own and a fixed clock, a stand-in print dialog and a
// stand-in plot window.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QLineF>
#include <QPainterPath>
#include <QLocale>
#include <QTemporaryDir>

#include "commands/cam_sheet.h"
#include "commands/draw_graph.h"
#include "commands/plot_window_view.h"
#include "export/cut_files.h"
#include "geometry/cam_outline.h"
#include "render/raster_surface.h"
#include "render/surface_fonts.h"
#include "support/fake_printer.h"
#include "support/files.h"
#include "support/output_checks.h"
#include "support/start_inputs.h"

namespace korvel {
namespace {

// The plot window as the cam sheet sees it: a raster sheet and the calls made.
class FakePlotWindow : public PlotWindowView {
 public:
  RasterSurface sheet{kSheetSize, kSheetSize, sheetFont()};
  int shown = 0, placedAtCorner = 0, horizontalMaximum = -1, verticalMaximum = -1;

  void showWindow() override { ++shown; }
  RasterSurface& surface() override { return sheet; }
  void placePictureAtCorner() override { ++placedAtCorner; }
  void setHorizontalMaximum(std::int16_t value) override { horizontalMaximum = value; }
  void setVerticalMaximum(std::int16_t value) override { verticalMaximum = value; }
};

class PlotCommand : public ::testing::Test {
 protected:
  QTemporaryDir folder;
  DesignerInputs in = testing::inputsAtStart();
  DesignerState state;
  testing::FakePrinterSeam printer;
  FakePlotWindow window;
  RasterSurface preview{kPreviewWidthInches, kPreviewHeightInches, previewFont()};

  void SetUp() override {
    state.AppFolder = folder.path() + "/";
    state.now = [] { return QDateTime(QDate(2026, 12, 7), QTime(9, 30)); };
  }
  QString path(const QString& name) const { return folder.filePath(name); }
  QStringList bitmaps() const { return QDir(folder.path()).entryList({"*.bmp"}, QDir::Files); }
  QImage draw(const QString& focal) {
    in.FocalLength = focal;
    DrawGraph(readCamJob(in), state, preview, printer);
    return preview.copyImage();
  }
  PlotOutcome plot(const QStringList& fields) {
    for (int i = 1; i <= 9; ++i) in.FocalLen1[i] = fields[i - 1];
    return PlotCamSheet(readCamJob(in), state, window, printer);
  }
  // The texts of the sheet, or the first few of them, in drawing order.
  std::vector<std::string> texts(std::size_t few = 99) const {
    std::vector<std::string> found;
    for (const DrawnFigure& figure : window.sheet.drawing().figures())
      if (figure.shape == FigureShape::Text && found.size() < few) found.push_back(figure.text);
    return found;
  }
  std::vector<std::string> labels() const { return texts(9); }  // the first nine of a mirrored sheet
};
using DrawGraphCommand = PlotCommand;
using CamSheet = PlotCommand;
using CamSheetPictures = PlotCommand;  // not run under a regional date

// The 150 mm cam of the design, with its distance markers, checked by eye
// against the worked example: holes 0.12 in round at (0.55, 0.8) and
// (1.23, 0.96) of the cam, the base from -0.114 to 1.428, captions that read
// "150 mm", "Korvel Cam Designer" and "by Orlan - www.orlan.example".
TEST_F(DrawGraphCommand, PreviewMatchesItsGoldenImageMirroredAndNot) {
  in.ChkDistMarkers = 1;
  testing::expectMatchesGolden(draw("150"), "draw-graph-150mm-markers-flipped.png");
  in.ChkFlipImage = 0;
  testing::expectMatchesGolden(draw("150"), "draw-graph-150mm-markers.png");
}

// Whatever is typed, the command goes through, draws the cam of the number
// the text starts with, or of 0, and names the bitmap after that number.
TEST_F(DrawGraphCommand, AnyTextDrawsTheCamOfItsNumberAndNamesTheBitmap) {
  struct Row { const char *name, *typed; int inch; const char *sameAsMm, *bitmap; };
  const Row rows[] = {
      {"inches drawn and captioned in millimetres", "6.5", 1, "165.1", "KorvelCamDesigner-6.5.bmp"},
      {"letters", "abc", 0, "0", "KorvelCamDesigner-0.bmp"},
      {"not ASCII", "\xC3\xA9\xE2\x82\xAC", 0, "0", "KorvelCamDesigner-0.bmp"},
      {"too large for a number", "1e400", 0, "0", "KorvelCamDesigner-0.bmp"},
      {"negative", "-50", 0, "-50 mm", "KorvelCamDesigner--50.bmp"},
      {"too large for the drawing", "1e300", 0, "1E+300", "KorvelCamDesigner-1E+300.bmp"},
  };
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
  draw("150");
  in.ChkFlipImage = 0;
  const QImage unmirrored = draw("150");
  const QString file = path("KorvelCamDesigner-150.bmp");
  EXPECT_EQ(QImage(file).convertToFormat(QImage::Format_RGB32), unmirrored);
  const QByteArray bytes = testing::readFile(file);
  testing::setMode(folder.path(), 0555);
  in.ChkFlipImage = 1;
  in.FocalLength = "150";
  const PlotOutcome outcome = DrawGraph(readCamJob(in), state, preview, printer);
  testing::setMode(folder.path(), 0755);
  EXPECT_EQ(std::tuple(outcome.savedPath, outcome.saved.written), std::tuple(file, false));
  EXPECT_EQ(testing::readFile(file), bytes);
  EXPECT_EQ(bitmaps(), QStringList{"KorvelCamDesigner-150.bmp"});
}

// A printed cam or sheet lands one inch into the page at true size, a sheet
// inch of the high-resolution sheet being a sixth of one of the normal sheet,
// times the correction factors when they are in use. A cancelled dialog
// prints nothing, but the drawing is still saved.
TEST_F(DrawGraphCommand, PrintsAtTrueSizeTimesTheCorrection) {
  struct Row { const char* name; bool sheet; int corrected, high; double scaleX, scaleY; };
  const Row rows[] = {{"corrected cam", false, 1, 0, 0.9375, 0.9463}, {"true-size cam", false, 0, 0, 1, 1},
                      {"corrected high-resolution sheet", true, 1, 1, 0.9375 / 6, 0.9463 / 6}};
  printer.accept = true;
  in.printerout = 1;
  in.PrinterYCor = "0.9463";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    in.ChkUsePrintCor = row.corrected;
    in.ChkHiRes = row.high;
    printer.pdfPath = path(QString(row.name) + ".pdf");
    if (row.sheet) PlotCamSheet(readCamJob(in), state, window, printer);
    else draw("150");
    const CamDrawing& printed = (row.sheet ? window.sheet : preview).drawing();
    testing::expectPrintedDrawing(printer.pdfPath, printed, {1, 1}, row.scaleX, row.scaleY);
  }
  printer.accept = false;
  printer.pdfPath = path("never.pdf");
  in.SaveToDisk = 1;
  draw("150");
  // A factor in use outside 0.5 to 2 sends no print and says why; the cam is still saved.
  in.ChkUsePrintCor = 1;
  for (const char* factor : {"0", "2.01", "abc"}) {
    in.PrinterYCor = factor;
    const PlotOutcome refused = DrawGraph(readCamJob(in), state, preview, printer);
    EXPECT_TRUE(refused.printRefused.contains("Y = ")) << factor;
  }
  EXPECT_EQ(printer.dialogs, 4);
  EXPECT_FALSE(QFile::exists(printer.pdfPath));
  EXPECT_TRUE(QFile::exists(path("KorvelCamDesigner-150.bmp")));
}

// The PDF of a cam or a sheet stands at true size on a portrait page an inch
// from its top and left edges, the 6.3 in sheet half an inch from the left
// edge of A4; each cam's outline is one closed path, also between its marker
// ticks, and the two scale bars (three lines each) follow the drawing.
TEST_F(DrawGraphCommand, PdfStandsOnAStandardPageWithEachOutlineOnePath) {
  struct Row { const char* name; bool sheet; Paper paper; QPointF origin; };
  const Row rows[] = {{"cam with markers on A4", false, Paper::A4, {1, 1}},
                      {"sheet on A4", true, Paper::A4, {0.5, 1}},
                      {"sheet on letter", true, Paper::Letter, {1, 1}}};
  in.ChkDistMarkers = 1;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.sheet) PlotCamSheet(readCamJob(in), state, window, printer);
    else draw("150");
    const RasterSurface& surface = row.sheet ? window.sheet : preview;
    const double scale = row.sheet ? state.PlotScale : 1;
    const QString file = path(QString(row.name) + ".pdf");
    ASSERT_TRUE(writeCutFile(surface.drawing(), int(scale), file, row.paper).written);
    testing::expectPrintedDrawing(file, surface.drawing(), row.origin, 1 / scale, 1 / scale, 0.001,
                                  OutlineStrokes::ClosedPath, 6);
  }
}

// The sheets as the plot window shows them, checked by eye against the worked
// examples: nine cams in their cells, mirrored and relabelled, with the title
// line, the notes, the distance markers and the correction line; and the
// window shown first, at its corner for a true-size sheet, the bitmap saved.
TEST_F(CamSheetPictures, NormalAndHighResolutionSheetsMatchTheirGoldenImages) {
  in.ChkDistMarkers = in.ChkUsePrintCor = in.SaveToDisk = 1;
  PlotCamSheet(readCamJob(in), state, window, printer);
  testing::expectMatchesGolden(window.sheet.copyImage(), "sheet-markers-flipped.png");
  EXPECT_EQ(QImage(path("KorvelCamDesigner.bmp")), window.sheet.copyImage().convertToFormat(QImage::Format_Mono));
  EXPECT_EQ(std::tuple(window.shown, window.placedAtCorner, window.horizontalMaximum), std::tuple(1, 1, 6));

  in.ChkHiRes = 1;
  PlotCamSheet(readCamJob(in), state, window, printer);
  // A high-resolution sheet stays where it was scrolled.
  EXPECT_EQ(std::tuple(window.placedAtCorner, window.verticalMaximum), std::tuple(1, 38));
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
  const PlotOutcome outcome = plot({"abc", "90", "135", "", "150mm", " 210 ", "5e1", "abc", "300"});
  EXPECT_EQ(outcome.repeatedCells,
            (std::array<bool, 10>{false, true, false, false, true, true, false, false, true}));
  std::vector<double> lenses;
  for (const KeptProfile& cam : window.sheet.drawing().profiles()) lenses.push_back(cam.focalMm);
  EXPECT_EQ(lenses, (std::vector<double>{88.9, 90, 135, 135, 135, 210, 50, 50, 300}));
  EXPECT_EQ(window.sheet.drawing().profiles()[0].extensionFactor, 1.074f);  // the first cam too
  // Cells 3, 4 and 5 hold the same cam: 2 inches apart along a row and down a
  // column, mirrored right to left.
  const auto outlines = window.sheet.drawing().camOutlines();
  EXPECT_LT(QLineF(outlines[3][0] - QPointF(2, 0), outlines[4][0]).length(), 1e-5);
  EXPECT_LT(QLineF(outlines[2][0] + QPointF(4, 2), outlines[3][0]).length(), 1e-5);
  EXPECT_EQ(labels(), (std::vector<std::string>{"88.9 mm", "90 mm", "135 mm", "135 mm", "135 mm", "210 mm",
                                                "50 mm", "50 mm", "300 mm"}));
  EXPECT_EQ(texts().size(), 11u);  // nine labels, the title and the note on the cams' sizes
  in.ChkDistMarkers = in.ChkUsePrintCor = in.ChkInch = 1;
  PlotCamSheet(readCamJob(in), state, window, printer);
  EXPECT_EQ(texts().size(), 15u);     // and the three marker notes and the correction line
  EXPECT_EQ(labels()[1], "2286 mm");  // 90 inches
}

// The caption of every cam in the cuttable range stands clear of its outline,
// both holes and every distance tick: in the preview and on the sheet,
// mirrored or not, at both resolutions. Its box is the ink of the text in the
// font the surface drew it with, where it was drawn.
TEST_F(PlotCommand, TheCaptionTouchesNoLineOfItsCam) {
  struct Row { const char* name; const char* typed; int inch; int high; };
  const Row rows[] = {
      {"shortest", "20", 0, 0}, {"22.5", "22.5", 0, 0}, {"28", "28", 0, 0}, {"35", "35", 0, 0},
      {"47", "47", 0, 0}, {"65", "65", 0, 0}, {"90", "90", 0, 0}, {"120", "120", 0, 0},
      {"135", "135", 0, 0}, {"150", "150", 0, 0}, {"two decimals", "152.46", 0, 0}, {"180", "180", 0, 0},
      {"first clamped", "210", 0, 0}, {"250", "250", 0, 0}, {"300", "300", 0, 0}, {"380", "380", 0, 0},
      {"480", "480", 0, 0}, {"600", "600", 0, 0}, {"760", "760", 0, 0}, {"widest caption", "1234.57", 0, 0},
      {"1500", "1500", 0, 0}, {"2000", "2000", 0, 0}, {"2800", "2800", 0, 0}, {"one row only", "3110.5", 0, 0},
      {"3600", "3600", 0, 0}, {"longest", "4169", 0, 0}, {"inches", "5.9055", 1, 0},
      {"inches, long", "164.13", 1, 0}, {"shortest, high resolution", "20", 0, 1},
      {"longest, high resolution", "4169", 0, 1},
  };
  in.ChkDistMarkers = 1;
  for (const Row& row : rows) {
    for (const int mirrored : {0, 1}) {
      SCOPED_TRACE(std::string(row.name) + (mirrored ? ", mirrored" : ""));
      std::tie(in.ChkFlipImage, in.ChkInch, in.ChkHiRes, in.FocalLength) =
          std::tuple(mirrored, row.inch, row.high, row.typed);
      const std::string caption = camCaption(std::stod(row.typed) * (row.inch ? 25.4 : 1)).value();
      DrawGraph(readCamJob(in), state, preview, printer);
      plot(QStringList(9, row.typed));
      for (const RasterSurface* surface : {&preview, &window.sheet}) {
        const double pixel = (surface == &preview ? 1 : state.PlotScale) / 96.0;
        int captions = 0;
        const CamDrawing& drawing = surface->drawing();
        for (const DrawnFigure& text : drawing.figures()) {
          if (text.shape != FigureShape::Text || text.text != caption) continue;
          ++captions;
          const QFontMetricsF metrics(drawing.font(text), &surface->fontDevice());  // at the surface's 96 ppi
          const QRectF ink = metrics.tightBoundingRect(QString::fromStdString(caption));
          QPainterPath box;  // a pixel's width round the ink
          const QRectF inkBox(drawing.placedText(text).baseLineStart + ink.topLeft() / 96.0, ink.size() / 96.0);
          box.addRect(inkBox.adjusted(-pixel, -pixel, pixel, pixel));
          for (const DrawnFigure& figure : drawing.figures()) {
            const QPointF a = drawing.placed(figure, figure.a);
            QPainterPath drawn(a);
            if (figure.shape == FigureShape::Circle) drawn.addEllipse(a, figure.radius, figure.radius);
            if (figure.shape == FigureShape::Line) drawn.lineTo(drawing.placed(figure, figure.b));
            if (figure.shape == FigureShape::Text) continue;
            ASSERT_FALSE(box.intersects(drawn)) << caption;
          }
        }
        EXPECT_EQ(captions, surface == &preview ? 1 : 9);
      }
    }
  }
}

// Run once more under a German locale by the test build: the regional comma
// reads, and so do the points the unit toggles write.
TEST_F(CamSheet, UnderADecimalCommaEveryCellIsTheCamOfItsOwnLens) {
  if (QLocale::system().decimalPoint() != ",") GTEST_SKIP() << "the locale has no decimal comma";
  in.ChkUsePrintCor = 1;
  in.PrinterXCor = "0,95";
  plot({"88,9", "90", "135", "150", "210", "250", "270", "300", "380"});
  EXPECT_EQ(labels()[0], "88.9 mm");
  EXPECT_EQ(texts().back(), "Cam/printer correction factors :  X = 0,95   Y = 0,9338");
  in.ChkInch = 1;
  plot({"3.5", "3.5", "5.3", "5.9", "8.3", "9.8", "10.6", "11.8", "15"});
  EXPECT_EQ(labels(), (std::vector<std::string>{"88.9 mm", "88.9 mm", "134.62 mm", "149.86 mm", "210.82 mm",
                                                "248.92 mm", "269.24 mm", "299.72 mm", "381 mm"}));
}

}  // namespace
}  // namespace korvel
