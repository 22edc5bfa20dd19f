#include "render/plot_output.h"

#include <QPainter>
#include <QPrinter>
#include <cmath>

#include "common/failing_step.h"
#include "render/record_painter.h"

namespace korvel {

namespace {

// Paints the kept drawing at the printer's own resolution, each surface inch
// inchesX by inchesY printed inches from one inch into the printable area; a
// negative scale mirrors it, as the picture would be.
bool paintRecordOnPage(QPainter& painter, const DrawingRecord& record, double dpi, double inchesX,
                       double inchesY) {
  if (!std::isfinite(inchesX) || !std::isfinite(inchesY)) return false;
  paintRecord(painter, record,
              {QPointF(kDrawingMarginIn, kDrawingMarginIn) * dpi, inchesX * dpi, inchesY * dpi});
  return true;
}

// A surface that keeps no drawing prints its picture, widthIn by heightIn
// inches, placed and mirrored the same way.
bool paintOnPage(QPainter& painter, const QImage& picture, double dpi, double widthIn,
                 double heightIn) {
  if (!std::isfinite(widthIn) || !std::isfinite(heightIn)) return false;
  const QImage source = picture.mirrored(widthIn < 0, heightIn < 0);
  const double left = widthIn < 0 ? kDrawingMarginIn + widthIn : kDrawingMarginIn;
  const double top = heightIn < 0 ? kDrawingMarginIn + heightIn : kDrawingMarginIn;
  painter.drawImage(
      QRectF(left * dpi, top * dpi, std::fabs(widthIn) * dpi, std::fabs(heightIn) * dpi), source);
  return true;
}

}  // namespace

bool PrintPlot(DrawingSurface& surface, int scale, const PrinterCorrection& correction,
               PrinterSeam& seam) {
  QString previousDefault;
  runStep(previousDefault, [&] { return seam.defaultPrinterName(); });

  QPrinter printer(QPrinter::HighResolution);
  if (!seam.choosePrinter(printer)) return false;

  bool printed = false;
  {
    QPainter painter;
    if (painter.begin(&printer)) {
      const QImage picture = surface.copyImage();
      surface.setBackgroundPicture(picture);
      // Printed inches per surface inch.
      const double inchesX = (correction.enabled ? correction.x : 1.0) / scale;
      const double inchesY = (correction.enabled ? correction.y : 1.0) / scale;
      const double dpi = printer.resolution();
      const DrawingRecord* record = surface.record();
      printed = runStep([&] {
        if (record) return paintRecordOnPage(painter, *record, dpi, inchesX, inchesY);
        return paintOnPage(painter, picture, dpi, surface.outerWidth() * inchesX,
                           surface.outerHeight() * inchesY);
      });
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
