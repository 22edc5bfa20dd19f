#include "render/plot_output.h"

#include <QPainter>
#include <QPrinter>
#include <cmath>

#include "common/failing_step.h"
#include "render/drawing_painter.h"

namespace korvel {

namespace {

// Paints the drawing at the printer's own resolution, each surface inch
// inchesX by inchesY printed inches from one inch into the printable area; a
// negative scale mirrors it, as the picture would be.
bool paintDrawingOnPage(QPainter& painter, const CamDrawing& drawing, double dpi, double inchesX,
                        double inchesY) {
  if (!std::isfinite(inchesX) || !std::isfinite(inchesY)) return false;
  paintDrawing(painter, drawing,
               {QPointF(kDrawingMarginIn, kDrawingMarginIn) * dpi, inchesX * dpi, inchesY * dpi});
  return true;
}

}  // namespace

bool PrintPlot(const CamDrawing& drawing, int scale, const PrinterCorrection& correction,
               PrinterSeam& seam) {
  QString previousDefault;
  runStep(previousDefault, [&] { return seam.defaultPrinterName(); });

  QPrinter printer(QPrinter::HighResolution);
  if (!seam.choosePrinter(printer)) return false;

  bool printed = false;
  {
    QPainter painter;
    if (painter.begin(&printer)) {
      // Printed inches per surface inch.
      const double inchesX = (correction.enabled ? correction.x : 1.0) / scale;
      const double inchesY = (correction.enabled ? correction.y : 1.0) / scale;
      const double dpi = printer.resolution();
      printed = runStep([&] { return paintDrawingOnPage(painter, drawing, dpi, inchesX, inchesY); });
      painter.end();
    }
  }

  seam.processEvents();
  // Picking a printer in the dialog may have made it the default.
  runStep([&] {
    if (!previousDefault.isEmpty() && seam.defaultPrinterName() != previousDefault)
      seam.makeDefaultPrinter(previousDefault);
  });
  seam.processEvents();
  return printed;
}

}  // namespace korvel
