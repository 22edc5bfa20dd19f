#include "ui/cut_export_menu.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
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

QString keptExportValue(const QString& settingsFilePath, std::string_view key) {
  const IniReadResult kept = readIniValue(settingsFilePath.toStdString(), kExportSection, key, kFolderCapacity);
  return kept.count > 0 ? QString::fromStdString(kept.value) : QString();
}

// The folder last exported to, while it still exists; the documents folder the first time.
QString startFolder(const QString& settingsFilePath) {
  const QString folder = keptExportValue(settingsFilePath, kExportFolderKey);
  if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return documents.isEmpty() ? QDir::homePath() : documents;
}

// Qt's own dialog, whatever the desktop, so that it can hold the allowance field.
std::optional<QString> askFile(QWidget& parent, const QString& title, const QString& baseName, const QString& types,
                               const QString& settingsFilePath, QLineEdit* extraField = nullptr) {
  QFileDialog dialog(&parent, title, startFolder(settingsFilePath), types);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.selectFile(baseName + "." + QRegularExpression(R"(\*\.(\w+))").match(types).captured(1));
  if (extraField) {
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    const int row = grid ? grid->rowCount() : 0;
    auto* label = new QLabel("Filing &allowance (mm):", &dialog);
    label->setBuddy(extraField);
    extraField->setParent(&dialog);
    extraField->setToolTip("Left outside the outline and inside the holes of a DXF or SVG part, 0 to 1 mm");
    if (grid) {
      grid->addWidget(label, row, 0);
      grid->addWidget(extraField, row, 1);
    }
    // Only a part takes an allowance.
    const auto followType = [extraField, label](const QString& type) {
      const bool part = type.contains("*.dxf") || type.contains("*.svg");
      extraField->setEnabled(part);
      label->setEnabled(part);
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, extraField, followType);
    followType(dialog.selectedNameFilter());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    if (extraField) extraField->setParent(nullptr);  // the caller's, still read after the dialog
    return std::nullopt;
  }
  if (extraField) extraField->setParent(nullptr);
  return QFileInfo(withCutFileExtension(dialog.selectedFiles().front(), dialog.selectedNameFilter()))
      .absoluteFilePath();
}

CutFileResult writeParts(const CutExportTarget& target, const QString& path, double allowanceMm,
                         CutExportOutcome& outcome) {
  ExportRequest request;
  request.file = path;
  request.allowanceMm = allowanceMm;
  if (target.sheetMm)
    request.sheet = target.sheetMm;
  else
    request.focalLength = *target.partFocalMm;
  const std::vector<PartFile> files = partFiles(request);
  for (const PartFile& file : files) {
    const QString name = partFileName(path, file.nameSuffix);
    const CutFileResult written = writePartFile(file, name, request);
    if (!written.written) return written;
    outcome.files << name;
    if (files.size() > 1) outcome.summary << QFileInfo(name).fileName() + ":";
    for (const std::string& line : partFileSummary(file, request)) outcome.summary << QString::fromStdString(line);
  }
  return {true, {}};
}

}  // namespace

std::optional<QString> askExportFile(QWidget& parent, const QString& title, const QString& baseName,
                                     const QString& types, const QString& settingsFilePath) {
  return askFile(parent, title, baseName, types, settingsFilePath);
}

void rememberExportFolder(const QString& writtenPath, const QString& settingsFilePath) {
  // A convenience: the file is written either way.
  writeIniValue(settingsFilePath.toStdString(), kExportSection, kExportFolderKey,
                QFileInfo(writtenPath).absolutePath().toStdString());
}

CutExportOutcome exportForCutting(QWidget& parent, const CutExportTarget& target, const QString& settingsFilePath) {
  const QString keptAllowance = keptExportValue(settingsFilePath, kExportAllowanceKey);
  const QString shownAllowance = readFilingAllowance(keptAllowance) ? keptAllowance : "0";
  QLineEdit allowanceField(shownAllowance);
  allowanceField.setObjectName("AllowanceField");
  const std::optional<QString> path =
      askFile(parent, kTitle, target.baseName, kTypes, settingsFilePath, &allowanceField);
  if (!path) return {};

  CutExportOutcome outcome;
  CutFileResult result;
  if (isPartFile(*path)) {
    if (!target.noParts.isEmpty()) return {{}, {}, target.noParts};
    const QString typed = allowanceField.text().trimmed();
    const std::optional<double> allowance = readFilingAllowance(typed);
    if (!allowance)
      return {{}, {}, "Not exported: the filing allowance needs " + filingAllowanceRefusal(typed) + "."};
    result = target.partFocalMm || target.sheetMm ? writeParts(target, *path, *allowance, outcome)
                                                  : writeCutFile(target.surface->drawing(), target.scale, *path);
    // Kept once typed, so a settings file that never held one stays as it was.
    if (result.written && (!keptAllowance.isEmpty() || typed != shownAllowance))
      writeIniValue(settingsFilePath.toStdString(), kExportSection, kExportAllowanceKey, typed.toStdString());
  } else {
    result = writeCutFile(target.surface->drawing(), target.scale, *path);
  }
  if (result.written && outcome.files.isEmpty()) outcome.files << *path;
  if (!result.written) {
    QMessageBox::warning(&parent, kTitle, result.message);
    return {};
  }
  rememberExportFolder(*path, settingsFilePath);
  return outcome;
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
