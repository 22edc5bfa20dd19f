// Printing through a real CUPS queue and Qt's real print dialog, accepted the
// way a user would: the job must arrive where the user chose, with the drawing
// in place, and the earlier default printer must be the default afterwards.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>

#include "render/plot_output.h"
#include "render/printer_seam.h"
#include "support/page_measure.h"
#include "support/preview_cam.h"
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
    printableCorner = printer.pageLayout().paintRect(QPageLayout::Inch).topLeft();
    return accepted;
  }
  QString defaultAfterDialog;
  QPointF printableCorner;  // on the page, in inches

 private:
  testing::PrivateCups& cups_;
};

TEST(CupsPrinting, TheSecondQueuePrintsTheCorrectedCamInPlaceAndTheDefaultComesBack) {
  testing::PrivateCups cups;
  ASSERT_TRUE(cups.running()) << cups.error().toStdString();
  ASSERT_EQ(QPrinterInfo::defaultPrinterName(), "kcd-a");
  RasterSurface surface = testing::previewWith150mmCam();
  DefaultChangingSeam seam(cups);
  testing::acceptNextPrintDialog("kcd-b");
  ASSERT_TRUE(PrintPlot(surface, 1, {0.9375, 0.9463, true}, seam));
  ASSERT_TRUE(cups.jobArrives("kcd-b"));
  EXPECT_FALSE(QFileInfo::exists(cups.output("kcd-a")));
  testing::expectPrintedPlacement(surface.copyImage(), kPixelsPerInch, cups.output("kcd-b"), 0.9375,
                                  0.9463, seam.printableCorner);
  ASSERT_EQ(seam.defaultAfterDialog, "kcd-b");
  EXPECT_EQ(QPrinterInfo::defaultPrinterName(), "kcd-a");
}

}  // namespace
}  // namespace korvel
