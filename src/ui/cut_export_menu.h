#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "render/raster_surface.h"

// Exporting a drawing for cutting: a save dialog that starts in the folder
// last exported to, then the drawing as it stands written in the format
// chosen. The right-click menu of a picture and the windows' menu bars run the
// same export. Unlike the drawing commands it reports a failed write.
namespace korvel {

struct CutExportTarget {
  const RasterSurface* surface;  // the drawing as it stands
  QString baseName;              // the file name without extension, as the bitmap is named
  int scale;                     // surface inches per inch of cam
  // Draw Graph's cam, whose DXF and SVG are its part; a sheet's are still the drawing.
  std::optional<double> partFocalMm = std::nullopt;
};

// Asks for a file and writes the drawing to it. Returns the path written;
// nullopt when the dialog was cancelled, or when the write failed, which a
// warning then names. A written file's folder is kept in the settings file at
// settingsFilePath, where the next export starts.
std::optional<QString> exportForCutting(QWidget& parent, const CutExportTarget& target,
                                        const QString& settingsFilePath);

// Gives the picture a right-click menu whose "Export for cutting…" runs exportNow.
void addCutExportMenu(QWidget& picture, std::function<void()> exportNow);

// The caption of the export's menu entries.
QString exportMenuCaption(const QString& what);

// path with the extension of the dialog's chosen type when it names no known one.
QString withCutFileExtension(const QString& path, const QString& chosenType);

}  // namespace korvel
