#pragma once

#include <QString>

#include "common/atomic_file.h"

#include "render/drawing_surface.h"
#include "render/printer_seam.h"

// Printing and saving a finished drawing, shared by the single cam and the sheet.
namespace korvel {

struct PrinterCorrection {
  double x = 1.0;
  double y = 1.0;
  bool enabled = false;  // "Use printer correction"
};

// Prints the surface one inch right of and below the corner of the printable
// area at true size: outer size divided by scale (the surface inches per
// printed inch), times the correction factors when they are enabled. A
// cancelled dialog prints nothing. Afterwards the printer that was the system
// default before the dialog is the default again. Returns false when nothing
// was printed.
bool PrintPlot(DrawingSurface& surface, int scale, const PrinterCorrection& correction,
               PrinterSeam& seam);

// Saves the surface as a Windows bitmap named fileName in appFolder, replacing
// an earlier file once the new one is complete. A folder that cannot be
// written is skipped; the old file stays intact and the result names the cause.
FileWriteResult SavePlot(DrawingSurface& surface, const QString& appFolder, const QString& fileName);

}  // namespace korvel
