// Printing through a real CUPS queue and Qt's real print dialog, accepted the
// way a user would: the job must arrive where the user chose, with the drawing
// in place, and the earlier default printer must be the default afterwards.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>

#include "commands/cam_sheet.h"
#include "render/plot_output.h"
#include "render/printer_seam.h"
#include "support/command_fixture.h"
#include "support/page_measure.h"
#include "support/preview_cam.h"
#include "support/printed_paths.h"
#include "support/private_cups.h"

namespace korvel {
namespace {

// A dialog that, like some desktops' dialogs, makes the printer it picked the
// user's default.
class DefaultChangingSeam : public SystemPrinterSeam {
 public:
  explicit DefaultChangingSeam(testing::PrivateCups& cups) : cups_(cups) {}
  bool choosePrinter(QPrinter& printer) override {
    const bool accepted = SystemPrinterSeam::choosePrinter(printer);
    cups_.tool("lpoptions", {"-d", "kcd-b"});
    defaultAfterDialog = QPrinterInfo::defaultPrinterName();
    // Where the printer puts its origin, a whole dot in; inch units are rounded to 0.01.
    printableCorner =
        QPointF(printer.pageLayout().paintRectPixels(printer.resolution()).topLeft()) /
        printer.resolution();
    return accepted;
  }
  QString defaultAfterDialog;
  QPointF printableCorner;  // on the page, in inches

 private:
  testing::PrivateCups& cups_;
};

// Printed at the printer's resolution, as lines and no picture: every point,
// line end, hole centre and radius within 0.001 inch of where it was computed,
// the sheet mirrored as "Flip Image" leaves it.
TEST(CupsPrinting, TheSecondQueuePrintsTheDrawingAsLinesInPlaceAndTheDefaultComesBack) {
  testing::PrivateCups cups;
  ASSERT_TRUE(cups.running()) << cups.error().toStdString();
  ASSERT_EQ(QPrinterInfo::defaultPrinterName(), "kcd-a");
  testing::FakePlotWindow window;
  DesignerInputs in;
  in.ChkHiRes = 1;
  DesignerState state;
  NoPrinterSeam noPrinter;
  PlotCamSheet(in, state, window, noPrinter);
  struct Row {
    const char* name;
    RasterSurface surface;
    int scale;
    PrinterCorrection correction;
  };
  Row rows[] = {{"corrected cam", testing::previewWith150mmCam(), 1, {0.9375, 0.9463, true}},
                {"true-size cam", testing::previewWith150mmCam(), 1, {0.9375, 0.9463, false}},
                {"high-resolution sheet", window.sheet, 6, {0.9375, 0.9338, true}}};
  for (Row& row : rows) {
    SCOPED_TRACE(row.name);
    QFile::remove(cups.output("kcd-b"));
    DefaultChangingSeam seam(cups);
    testing::acceptNextPrintDialog("kcd-b");
    ASSERT_TRUE(PrintPlot(row.surface, row.scale, row.correction, seam));
    ASSERT_TRUE(cups.jobArrives("kcd-b"));
    EXPECT_FALSE(QFileInfo::exists(cups.output("kcd-a")));
    const double x = (row.correction.enabled ? row.correction.x : 1.0) / row.scale;
    const double y = (row.correction.enabled ? row.correction.y : 1.0) / row.scale;
    EXPECT_EQ(testing::pdfImageCount(cups.output("kcd-b")), 0);
    const double worst = testing::expectPathsOfRecord(
        testing::strokedPaths(cups.output("kcd-b")), *row.surface.record(),
        seam.printableCorner + QPointF(1, 1), x, y, 0.001);
    RecordProperty(std::string(row.name) + " largest deviation (in)", std::to_string(worst));
    if (row.scale == 1)
      testing::expectPrintedPlacement(row.surface.copyImage(), kPixelsPerInch, cups.output("kcd-b"),
                                      x, y, seam.printableCorner);
    ASSERT_EQ(seam.defaultAfterDialog, "kcd-b");
    EXPECT_EQ(QPrinterInfo::defaultPrinterName(), "kcd-a");
  }
}

}  // namespace
}  // namespace korvel
