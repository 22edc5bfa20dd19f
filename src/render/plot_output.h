#pragma once

#include "drawing/cam_drawing.h"
#include "render/printer_seam.h"

// Printing and saving a finished drawing, shared by the single cam and the sheet.
namespace korvel {

struct PrinterCorrection {
  double x = 1.0;
  double y = 1.0;
  bool enabled = false;  // "Use printer correction"
};

// Prints the drawing one inch right of and below the corner of the printable
// area at true size: outer size divided by scale (the surface inches per
// printed inch), times the correction factors when they are enabled. A
// cancelled dialog prints nothing. Afterwards the printer that was the system
// default before the dialog is the default again. Returns false when nothing
// was printed.
bool PrintPlot(const CamDrawing& drawing, int scale, const PrinterCorrection& correction,
               PrinterSeam& seam);

}  // namespace korvel
