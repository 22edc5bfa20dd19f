// Printing through a real CUPS queue and Qt's real print dialog, accepted the
// way a user would: the job must arrive with the drawing in place, and the
// earlier default printer must be the default afterwards.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPrintDialog>
#include <QTemporaryDir>
#include <QPrinter>
#include <QPrinterInfo>
#include <QThread>
#include <QTimer>

#include "geometry/cam_outline.h"
#include "render/plot_output.h"
#include "render/printer_seam.h"
#include "render/raster_surface.h"
#include "ui/cam_designer.h"
#include "support/page_measure.h"
#include "support/private_cups.h"

namespace korvel {
namespace {

// Accepts the next print dialog, after picking queue in it when one is named.
void acceptNextPrintDialog(const QString& queue = {}) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, queue] {
    auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    if (!queue.isEmpty()) {
      for (QComboBox* box : dialog->findChildren<QComboBox*>()) {
        const int index = box->findText(queue);
        if (index >= 0) box->setCurrentIndex(index);
      }
    }
    dialog->accept();
    poll->deleteLater();
  });
  poll->start(50);
}

bool arrives(const QString& path) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < 20000) {
    QApplication::processEvents();
    if (QFileInfo(path).size() > 0) {
      QThread::msleep(300);  // let the scheduler finish writing
      return true;
    }
    QThread::msleep(50);
  }
  return false;
}

class CupsPrinting : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { cups = new testing::PrivateCups; }
  static void TearDownTestSuite() {
    delete cups;
    cups = nullptr;
  }
  void SetUp() override {
    if (!cups->running()) FAIL() << cups->error().toStdString();
    for (const char* queue : {"kcd-a", "kcd-b"}) QFile::remove(cups->output(queue));
  }
  static testing::PrivateCups* cups;

  RasterSurface previewCam() {
    RasterSurface surface(2.09375f, 1.4270833f, QFont("Arial"));
    float k = 1.074f;
    drawCamOutline(surface, 150.0, 0.35, 0.5, k, {});
    return surface;
  }
  // The printable area's corner on the page, as the queue reports it.
  static QPointF printableCorner(const QString& queue) {
    QPrinter printer(QPrinterInfo::printerInfo(queue), QPrinter::HighResolution);
    const QRectF paint = printer.pageLayout().paintRect(QPageLayout::Inch);
    return paint.topLeft();
  }
};
testing::PrivateCups* CupsPrinting::cups = nullptr;

TEST_F(CupsPrinting, DrawGraphsCamArrivesAtTrueSizeInTheDefaultQueue) {
  ASSERT_EQ(QPrinterInfo::defaultPrinterName(), "kcd-a");
  QTemporaryDir folder;
  CamDesigner designer(DesignerEnvironment{folder.path(), folder.path(), nullptr});
  designer.printerout->setChecked(true);
  designer.ChkUsePrintCor->setChecked(true);
  designer.PrinterYCor->setText("0.9463");
  designer.FocalLength->setText("150");
  acceptNextPrintDialog();
  designer.CMDDrawGraph_Click();
  ASSERT_TRUE(arrives(cups->output("kcd-a")));
  const QPointF corner = printableCorner("kcd-a");
  const auto onPage = testing::inkBounds(testing::renderPdfPage(cups->output("kcd-a"), 300), 300);
  const auto inBox = testing::inkBounds(designer.previewSurface().copyImage(), 96);
  ASSERT_TRUE(onPage && inBox);
  EXPECT_NEAR(onPage->left(), corner.x() + 1.0 + inBox->left() * 0.9375, 0.02);
  EXPECT_NEAR(onPage->top(), corner.y() + 1.0 + inBox->top() * 0.9463, 0.02);
  EXPECT_NEAR(onPage->width(), inBox->width() * 0.9375, 0.02);
  EXPECT_NEAR(onPage->height(), inBox->height() * 0.9463, 0.02);
  EXPECT_FALSE(QFileInfo::exists(cups->output("kcd-b")));
  EXPECT_EQ(QPrinterInfo::defaultPrinterName(), "kcd-a");
}

TEST_F(CupsPrinting, AHighResolutionSheetPrintsAtTheSameSizeAsANormalOne) {
  QTemporaryDir folder;
  CamDesigner designer(DesignerEnvironment{folder.path(), folder.path(), nullptr});
  designer.printerout->setChecked(true);
  std::vector<QRectF> printed;
  for (bool high : {false, true}) {
    designer.ChkHiRes->setChecked(high);
    QFile::remove(cups->output("kcd-a"));
    acceptNextPrintDialog();
    designer.CMDPlotCams_Click();
    ASSERT_TRUE(arrives(cups->output("kcd-a")));
    // The nine cams, between the title line and the notes; text is hinted
    // differently at the two sizes and so is left out.
    const QRectF cams(0, printableCorner("kcd-a").y() + 1.0 + 0.35, 8.5, 4.9);
    const auto ink = testing::inkBounds(testing::renderPdfPage(cups->output("kcd-a"), 150), 150, cams);
    ASSERT_TRUE(ink);
    printed.push_back(*ink);
  }
  EXPECT_NEAR(printed[0].left(), printed[1].left(), 0.03);
  EXPECT_NEAR(printed[0].top(), printed[1].top(), 0.03);
  EXPECT_NEAR(printed[0].width(), printed[1].width(), 0.03);
  EXPECT_NEAR(printed[0].height(), printed[1].height(), 0.03);
}

TEST_F(CupsPrinting, PickingAnotherQueuePrintsThereAndKeepsTheDefault) {
  RasterSurface surface = previewCam();
  SystemPrinterSeam seam;
  acceptNextPrintDialog("kcd-b");
  ASSERT_TRUE(PrintPlot(surface, 1, {1, 1, false}, seam));
  ASSERT_TRUE(arrives(cups->output("kcd-b")));
  EXPECT_FALSE(QFileInfo::exists(cups->output("kcd-a")));
  EXPECT_EQ(QPrinterInfo::defaultPrinterName(), "kcd-a");
}

// A dialog that, like some desktops' dialogs, makes the printer it picked the
// user's default.
class DefaultChangingSeam : public SystemPrinterSeam {
 public:
  explicit DefaultChangingSeam(testing::PrivateCups& cups) : cups_(cups) {}
  bool choosePrinter(QPrinter& printer) override {
    const bool accepted = SystemPrinterSeam::choosePrinter(printer);
    cups_.tool("lpoptions", {"-d", "kcd-b"});
    defaultAfterDialog = QPrinterInfo::defaultPrinterName();
    return accepted;
  }
  QString defaultAfterDialog;

 private:
  testing::PrivateCups& cups_;
};

TEST_F(CupsPrinting, TheEarlierDefaultIsGivenBackAfterTheJob) {
  RasterSurface surface = previewCam();
  DefaultChangingSeam seam(*cups);
  acceptNextPrintDialog("kcd-b");
  ASSERT_TRUE(PrintPlot(surface, 1, {1, 1, false}, seam));
  ASSERT_TRUE(arrives(cups->output("kcd-b")));
  ASSERT_EQ(seam.defaultAfterDialog, "kcd-b");
  EXPECT_EQ(QPrinterInfo::defaultPrinterName(), "kcd-a");
}

}  // namespace
}  // namespace korvel
