// Printing through a real CUPS queue and Qt's real print dialog, accepted the
// way a user would: the job must arrive where the user chose, as lines in
// place, and the earlier default printer must be the default afterwards.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "commands/draw_graph.h"
#include "geometry/cam_outline.h"
#include "render/plot_output.h"
#include "render/raster_surface.h"
#include "render/surface_fonts.h"
#include "support/files.h"
#include "support/output_checks.h"

namespace korvel {
namespace {

// Each run with a CUPS scheduler of its own: its own folder and a port on
// loopback, two queues, "kcd-a" (the default) and "kcd-b", that write every
// job into a file. The environment points libcups (and so Qt) at it.
class CupsPrinting : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QProcess cupsd;

  void SetUp() override {
    const QString root = dir.path();
    // The scheduler's own programs, plus a backend that writes each job, as it
    // came, into the file its device names, complete or not at all.
    QDir(root).mkpath("bin/backend");
    QDir(root).mkdir("spool");
    QFile::link("/usr/lib/cups/daemon", root + "/bin/daemon");
    testing::writeFile(root + "/bin/backend/tofile", "#!/bin/sh\nout=\"${DEVICE_URI#tofile:}\"\n"
                                                     "cat ${6:+\"$6\"} > \"$out.part\" && mv \"$out.part\" \"$out\"\n");
    QFile::setPermissions(root + "/bin/backend/tofile", QFileDevice::Permissions(0x7755));
    // The scheduler's unprivileged user runs the backend.
    QFile::setPermissions(root, QFile::permissions(root) | QFileDevice::ExeOther | QFileDevice::ExeGroup);
    const int port = 20000 + static_cast<int>(QCoreApplication::applicationPid() % 20000);
    const QString cupsdConf = "Listen 127.0.0.1:%1\nLogLevel warn\nBrowsing No\nDefaultAuthType None\n"
                              "<Policy default>\n<Limit All>\nAllow all\n</Limit>\n</Policy>\n";
    testing::writeFile(root + "/cupsd.conf", cupsdConf.arg(port).toUtf8());
    // Spool, temporary, cache and state files in one folder, which the
    // scheduler opens to its group.
    const QString files = "ServerRoot %1\nServerBin %1/bin\nRequestRoot %1/spool\nTempDir %1/spool\nCacheDir %1/spool\n"
                          "StateDir %1/spool\nAccessLog %1/log\nErrorLog %1/log\nPageLog %1/log\n";
    testing::writeFile(root + "/cups-files.conf", files.arg(root).toUtf8());
    // Two raw queues, the first the default: no driver, so each job reaches
    // the backend as it came.
    QString printers;
    for (const char* queue : {"kcd-a", "kcd-b"})
      printers += QString("<%1 %2>\nDeviceURI tofile:%3\nState Idle\nAccepting Yes\n</Printer>\n")
                      .arg(printers.isEmpty() ? "DefaultPrinter" : "Printer", queue, output(queue));
    testing::writeFile(root + "/printers.conf", printers.toUtf8());
    // libcups of this process, and of the tools, talk to this scheduler only
    // and keep their own settings here, not in the machine's.
    qputenv("CUPS_SERVER", QString("127.0.0.1:%1").arg(port).toUtf8());
    qputenv("CUPS_SERVERROOT", root.toUtf8());
    qputenv("HOME", root.toUtf8());
    cupsd.setProcessChannelMode(QProcess::ForwardedChannels);
    cupsd.start("/usr/sbin/cupsd", {"-f", "-c", root + "/cupsd.conf", "-s", root + "/cups-files.conf"});
    ASSERT_TRUE(QTest::qWaitFor([] { return QPrinterInfo::defaultPrinterName() == "kcd-a"; }, 10000));
  }
  void TearDown() override {
    cupsd.terminate();
    if (!cupsd.waitForFinished(5000)) cupsd.kill();  // the QProcess waits for it as it goes
  }

  // The file a queue writes its jobs into.
  QString output(const QString& queue) const { return dir.filePath("spool/" + queue + ".pdf"); }

  // Accepts the next print dialog with queue picked in it, after making queue
  // the default as some desktops' dialogs do.
  static void acceptNextDialogOn(const QString& queue) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, queue] {
      auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      for (QComboBox* box : dialog->findChildren<QComboBox*>())
        if (box->findText(queue) >= 0) box->setCurrentIndex(box->findText(queue));
      EXPECT_EQ(QProcess::execute("sh", {"-c", "exec lpoptions -d \"$0\" > /dev/null", queue}), 0);
      EXPECT_EQ(QPrinterInfo::defaultPrinterName(), queue);
      dialog->accept();
      poll->deleteLater();
    });
    poll->start(50);
  }
};

TEST_F(CupsPrinting, TheSecondQueuePrintsTheDrawingAsLinesInPlaceAndTheDefaultComesBack) {
  // The 150 mm cam as the preview holds it.
  RasterSurface cam(kPreviewWidthInches, kPreviewHeightInches, previewFont());
  float k = 1.074f;
  drawCamOutline(cam, 150.0, 0.35, 0.5, k, {.caption = false, .leadIn = LeadInStyle::Unshifted});
  SystemPrinterSeam seam;
  acceptNextDialogOn("kcd-b");
  ASSERT_TRUE(PrintPlot(cam.drawing(), 1, {0.9375, 0.9463, true}, seam));
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(output("kcd-b")); }, 20000));
  EXPECT_FALSE(QFileInfo::exists(output("kcd-a")));
  EXPECT_EQ(QPrinterInfo::defaultPrinterName(), "kcd-a");

  // Drawn at the printer's resolution one inch into its printable area.
  const QPrinter printer(QPrinterInfo::printerInfo("kcd-b"), QPrinter::HighResolution);
  const QPointF corner(printer.pageLayout().paintRectPixels(printer.resolution()).topLeft());
  const double worst = testing::expectPrintedDrawing(output("kcd-b"), cam.drawing(),
                                                    corner / printer.resolution() + QPointF(1, 1), 0.9375, 0.9463);
  RecordProperty("largest deviation (in)", std::to_string(worst));
}

}  // namespace
}  // namespace korvel
