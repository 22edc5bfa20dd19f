#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

#include "render/raster_surface.h"

// Exporting a drawing for cutting: a save dialog that starts in the folder
// last exported to, with the filing allowance for a part, then the drawing as
// it stands (a template or the profile table) or the cams' parts written in
// the format chosen. The right-click menu of a picture and the windows' menu
// bars run the same export. Unlike the drawing commands it reports a failed
// write.
namespace korvel {

struct CutExportTarget {
  const RasterSurface* surface;  // the drawing as it stands
  QString baseName;              // the file name without extension, as the bitmap is named
  int scale;                     // surface inches per inch of cam
  // Draw Graph's cam, or a sheet's nine in millimetres, whose DXF and SVG are
  // their parts, a sheet's one part per file.
  std::optional<double> partFocalMm = std::nullopt;
  std::optional<std::array<double, 9>> sheetMm = std::nullopt;
  QString noParts = {};  // why neither could be given: a DXF or SVG is then refused with it
};

struct CutExportOutcome {
  QStringList files;    // every file written; none when cancelled, refused or failed
  QStringList summary;  // the part files' preflight, a sheet's each under its file's name
  QString refusal;      // why nothing was written (a bad allowance), for the message line
};

// Asks for a file and writes to it; a failed write is named in a warning. A
// written file's folder, and a part's allowance once typed, are kept in the
// settings file at settingsFilePath, where the next export starts.
CutExportOutcome exportForCutting(QWidget& parent, const CutExportTarget& target, const QString& settingsFilePath);

// The save dialog of an export: a file of types (a file dialog filter),
// offered as baseName in the folder last exported to; nullopt when cancelled.
// A written file's folder is kept with rememberExportFolder.
std::optional<QString> askExportFile(QWidget& parent, const QString& title, const QString& baseName,
                                     const QString& types, const QString& settingsFilePath);
void rememberExportFolder(const QString& writtenPath, const QString& settingsFilePath);

// Gives the picture a right-click menu whose "Export for cutting…" runs exportNow.
void addCutExportMenu(QWidget& picture, std::function<void()> exportNow);

// The caption of the export's menu entries.
QString exportMenuCaption(const QString& what);

// path with the extension of the dialog's chosen type when it names no known one.
QString withCutFileExtension(const QString& path, const QString& chosenType);

}  // namespace korvel
