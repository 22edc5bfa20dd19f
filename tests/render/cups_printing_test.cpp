// Printing through a real CUPS queue and Qt's real print dialog, accepted the
// way a user would: the job must arrive where the user chose, as lines in
// place, and the earlier default printer must be the default afterwards.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>

#include "render/plot_output.h"
#include "support/preview_cam.h"
#include "support/printed_paths.h"
#include "support/private_cups.h"

namespace korvel {
namespace {

TEST(CupsPrinting, TheSecondQueuePrintsTheDrawingAsLinesInPlaceAndTheDefaultComesBack) {
  testing::PrivateCups cups;
  ASSERT_TRUE(cups.error.isEmpty()) << cups.error.toStdString();
  ASSERT_EQ(QPrinterInfo::defaultPrinterName(), "kcd-a");
  RasterSurface cam = testing::previewWith150mmCam();
  SystemPrinterSeam seam;
  cups.acceptNextDialogOn("kcd-b");
  ASSERT_TRUE(PrintPlot(cam, 1, {0.9375, 0.9463, true}, seam));
  ASSERT_TRUE(cups.jobArrives("kcd-b"));
  EXPECT_FALSE(QFileInfo::exists(cups.output("kcd-a")));
  EXPECT_EQ(QPrinterInfo::defaultPrinterName(), "kcd-a");

  // Drawn at the printer's resolution one inch into its printable area.
  const QPrinter printer(QPrinterInfo::printerInfo("kcd-b"), QPrinter::HighResolution);
  const QPointF corner(printer.pageLayout().paintRectPixels(printer.resolution()).topLeft());
  const double worst = testing::expectPrintedRecord(cups.output("kcd-b"), *cam.record(),
                                                    corner / printer.resolution() + QPointF(1, 1), 0.9375, 0.9463);
  RecordProperty("largest deviation (in)", std::to_string(worst));
}

}  // namespace
}  // namespace korvel
