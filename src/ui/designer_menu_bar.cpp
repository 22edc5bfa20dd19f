#include "ui/designer_menu_bar.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

#include "ui/cam_designer.h"
#include "ui/cut_export_menu.h"

namespace korvel {

namespace {

void showAbout(QWidget& parent) {
  QMessageBox::about(
      &parent, "About Korvel Cam Designer",
      QStringLiteral("<p><b>Korvel Cam Designer</b> %1.%2.%3</p>"
                     "<p>Designs, prints and exports for cutting the rangefinder cam of a Korvel press "
                     "camera lens.</p>"
                     "<p>Licence: GPL-3.0-or-later.</p>"
                     "<p>Built with Qt %4, dxflib and Eigen.</p>")
          .arg(KORVEL_VERSION_MAJOR)
          .arg(KORVEL_VERSION_MINOR)
          .arg(KORVEL_VERSION_PATCH)
          .arg(QString::fromLatin1(qVersion())));
}

void openManual(CamDesigner& designer) {
  const QUrl manual = manualUrl(QCoreApplication::applicationDirPath());
  if (!QDesktopServices::openUrl(manual))
    designer.showMessage("The manual could not be opened: " + manual.toDisplayString());
}

}  // namespace

QUrl manualUrl(const QString& programFolder) {
  const QDir folder(programFolder);
  // Installed (bin/ beside share/), a portable copy, a build folder inside the source tree.
  for (const char* readme : {"../share/doc/korvel-cam-designer/README.md", "README.md", "../README.md"}) {
    const QFileInfo file(folder.filePath(readme));
    if (file.isFile()) return QUrl::fromLocalFile(file.canonicalFilePath());
  }
  return QUrl("man:korvel-cam-designer(1)");
}

QMenuBar* createDesignerMenuBar(CamDesigner& designer) {
  auto* bar = new QMenuBar(&designer);
  bar->setNativeMenuBar(false);  // the controls stand under it, wherever the desktop puts menus
  QMenu* file = bar->addMenu("&File");
  file->addAction(exportMenuCaption("&Export for cutting"), QKeySequence(Qt::CTRL | Qt::Key_E), &designer,
                  [&designer] { designer.exportPreviewForCutting(); });
  file->addAction(exportMenuCaption("Export &focus check card"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E),
                  &designer, [&designer] { designer.exportFocusCard(); });
  file->addAction("&Save cam bitmap", &designer, [&designer] { designer.saveCamBitmap(); });
  file->addSeparator();
  file->addAction("&Quit", QKeySequence(Qt::CTRL | Qt::Key_Q), &designer, [&designer] { designer.CMDExit_Click(); });
  QMenu* tools = bar->addMenu("&Tools");
  tools->addAction(QString("&Measure a lens") + QChar(0x2026), &designer, [&designer] { designer.measureLens(); });
  tools->addAction(QString("&Check a cut cam") + QChar(0x2026), &designer, [&designer] { designer.checkCutCam(); });
  QMenu* help = bar->addMenu("&Help");
  help->addAction("&Manual", &designer, [&designer] { openManual(designer); });
  help->addAction("&About", &designer, [&designer] { showAbout(designer); });
  return bar;
}

}  // namespace korvel
