#include "ui/cut_export_menu.h"

#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>

#include "render/cut_files.h"

namespace korvel {

namespace {

const char* const kTitle = "Export for cutting";
const char* const kTypes =
    "DXF for CAD and CAM (*.dxf);;SVG for laser cutters (*.svg);;PDF at true size (*.pdf);;Profile "
    "table (*.csv)";

void exportForCutting(QWidget& picture, const RasterSurface& surface,
                      const CutExportTarget& target) {
  QString chosenType;
  const QString chosen = QFileDialog::getSaveFileName(
      &picture, kTitle, target.folder + target.baseName + ".dxf", kTypes, &chosenType);
  if (chosen.isEmpty()) return;
  const CutFileResult result =
      writeCutFile(*surface.record(), target.scale, withCutFileExtension(chosen, chosenType));
  if (!result.written) QMessageBox::warning(&picture, kTitle, result.message);
}

}  // namespace

QString withCutFileExtension(const QString& path, const QString& chosenType) {
  if (cutFileFormatOf(path)) return path;
  const QRegularExpressionMatch pattern = QRegularExpression(R"(\*(\.\w+))").match(chosenType);
  return pattern.hasMatch() ? path + pattern.captured(1) : path + ".dxf";
}

void addCutExportMenu(QWidget& picture, const RasterSurface& surface,
                      std::function<CutExportTarget()> target) {
  picture.setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(&picture, &QWidget::customContextMenuRequested, &picture,
                   [&picture, &surface, target = std::move(target)](const QPoint& at) {
                     QMenu menu(&picture);
                     QAction* exportAction =
                         menu.addAction(QString("Export for cutting") + QChar(0x2026));
                     if (menu.exec(picture.mapToGlobal(at)) == exportAction)
                       exportForCutting(picture, surface, target());
                   });
}

}  // namespace korvel
