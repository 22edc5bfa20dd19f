#include "ui/cut_export_menu.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStandardPaths>

#include "commands/cut_export.h"
#include "export/cut_files.h"
#include "settings/ini_file.h"
#include "settings/setting_keys.h"

namespace korvel {

namespace {

const char* const kTitle = "Export for cutting";
const char* const kTypes =
    "DXF for CAD and CAM (*.dxf);;SVG for laser cutters (*.svg);;PDF at true size (*.pdf);;Profile "
    "table (*.csv);;Bitmap as saved (*.bmp)";
// A folder's path is no 39-character classic value.
constexpr std::size_t kFolderCapacity = 4096;

// The folder last exported to, while it still exists; the documents folder the first time.
QString startFolder(const QString& settingsFilePath) {
  const IniReadResult kept = readIniValue(settingsFilePath.toStdString(), kExportSection, kExportFolderKey,
                                          kFolderCapacity);
  const QString folder = QString::fromStdString(kept.value);
  if (kept.count > 0 && QFileInfo(folder).isDir()) return folder;
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return documents.isEmpty() ? QDir::homePath() : documents;
}

}  // namespace

std::optional<QString> exportForCutting(QWidget& parent, const CutExportTarget& target,
                                        const QString& settingsFilePath) {
  QString chosenType;
  const QString chosen = QFileDialog::getSaveFileName(
      &parent, kTitle, QDir(startFolder(settingsFilePath)).filePath(target.baseName + ".dxf"), kTypes,
      &chosenType);
  if (chosen.isEmpty()) return std::nullopt;
  const QString path = QFileInfo(withCutFileExtension(chosen, chosenType)).absoluteFilePath();
  CutFileResult result;
  if (target.partFocalMm && isPartFile(path)) {
    ExportRequest request;
    request.focalLength = *target.partFocalMm;
    result = writePartFile(partFiles(request).front(), path, request);
  } else {
    result = writeCutFile(target.surface->drawing(), target.scale, path);
  }
  if (!result.written) {
    QMessageBox::warning(&parent, kTitle, result.message);
    return std::nullopt;
  }
  // Remembering the folder is a convenience: the file is written either way.
  writeIniValue(settingsFilePath.toStdString(), kExportSection, kExportFolderKey,
                QFileInfo(path).absolutePath().toStdString());
  return path;
}

QString exportMenuCaption(const QString& what) { return what + QChar(0x2026); }

QString withCutFileExtension(const QString& path, const QString& chosenType) {
  if (isExportFileType(path)) return path;
  const QRegularExpressionMatch pattern = QRegularExpression(R"(\*(\.\w+))").match(chosenType);
  return pattern.hasMatch() ? path + pattern.captured(1) : path + ".dxf";
}

void addCutExportMenu(QWidget& picture, std::function<void()> exportNow) {
  picture.setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(&picture, &QWidget::customContextMenuRequested, &picture,
                   [&picture, exportNow = std::move(exportNow)](const QPoint& at) {
                     QMenu menu(&picture);
                     QAction* exportAction = menu.addAction(exportMenuCaption("Export for cutting"));
                     if (menu.exec(picture.mapToGlobal(at)) == exportAction) exportNow();
                   });
}

}  // namespace korvel
