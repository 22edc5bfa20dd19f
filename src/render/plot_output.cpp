#include "render/plot_output.h"

#include <QPainter>
#include <QPrinter>
#include <cmath>

#include "common/failing_step.h"
#include "render/bitmap_file.h"

namespace korvel {

namespace {

// Paints the picture with its top-left corner one inch into the printable
// area, widthIn by heightIn inches; a negative size mirrors it, as on screen.
bool paintOnPage(QPainter& painter, const QImage& picture, double dpi, double widthIn, double heightIn) {
  if (!std::isfinite(widthIn) || !std::isfinite(heightIn)) return false;
  const QImage source = picture.mirrored(widthIn < 0, heightIn < 0);
  const double left = widthIn < 0 ? 1.0 + widthIn : 1.0;
  const double top = heightIn < 0 ? 1.0 + heightIn : 1.0;
  painter.drawImage(QRectF(left * dpi, top * dpi, std::fabs(widthIn) * dpi, std::fabs(heightIn) * dpi),
                    source);
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
      const double w = surface.outerWidth();
      const double h = surface.outerHeight();
      const double widthIn = correction.enabled ? w * correction.x / scale : w / scale;
      const double heightIn = correction.enabled ? h * correction.y / scale : h / scale;
      printed = runStep([&] { return paintOnPage(painter, picture, printer.resolution(), widthIn, heightIn); });
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

bool SavePlot(DrawingSurface& surface, const QString& appFolder, const QString& fileName) {
  const QImage picture = surface.copyImage();
  surface.setBackgroundPicture(picture);
  return saveBitmap(picture, appFolder + fileName);
}

}  // namespace korvel
