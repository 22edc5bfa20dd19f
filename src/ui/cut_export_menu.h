#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "render/raster_surface.h"

// The right-click menu of a picture that shows a drawing surface, with
// "Export for cutting…": a save dialog, then the drawing as it stands written
// in the format chosen. Unlike the drawing commands it reports a failed write.
namespace korvel {

struct CutExportTarget {
  QString folder;    // where the dialog starts: the program folder
  QString baseName;  // the file name without extension, as the bitmap is named
  int scale;         // surface inches per inch of cam
};

void addCutExportMenu(QWidget& picture, const RasterSurface& surface,
                      std::function<CutExportTarget()> target);

// path with the extension of the dialog's chosen type when it names no known one.
QString withCutFileExtension(const QString& path, const QString& chosenType);

}  // namespace korvel
