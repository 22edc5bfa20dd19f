#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "export/cut_file_formats.h"
#include "render/record_painter.h"

// A PDF of the drawing at true size in vector form, one inch in from the
// page's top-left corner as on paper, with two scale bars below it so a print
// that was scaled to fit the page is caught before the metal is cut.
namespace korvel {

namespace {

constexpr int kDotsPerInch = 1200;
constexpr double kScaleBarsIn = 1.0;  // room below the drawing
constexpr double kScaleBarTickIn = 0.05;
constexpr double kLabelPoints = 8.0;

// A bar lengthIn long with end ticks and its label, its left end at (x, y) inches on the page.
void scaleBar(QPainter& painter, double x, double y, double lengthIn, const QString& label) {
  const auto dots = [](double in) { return in * kDotsPerInch; };
  painter.drawLine(QPointF(dots(x), dots(y)), QPointF(dots(x + lengthIn), dots(y)));
  for (const double end : {x, x + lengthIn})
    painter.drawLine(QPointF(dots(end), dots(y - kScaleBarTickIn)),
                     QPointF(dots(end), dots(y + kScaleBarTickIn)));
  painter.drawText(QPointF(dots(x + lengthIn + 0.1), dots(y + kScaleBarTickIn)), label);
}

}  // namespace

std::optional<QByteArray> pdfContent(const CamDrawing& drawing, int scale, QString& error) {
  const TrueSize size(drawing, scale);
  const double widthIn = size.widthMm() / kMmPerInch;
  const double heightIn = size.heightMm() / kMmPerInch;
  QByteArray content;
  QBuffer buffer(&content);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kDotsPerInch);
    writer.setPageSize(QPageSize(QSizeF(std::max(widthIn, 3.0) + 2 * kDrawingMarginIn,
                                        heightIn + 2 * kDrawingMarginIn + kScaleBarsIn),
                                 QPageSize::Inch, "Cam", QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator("Korvel Cam Designer");
    QPainter painter;
    if (!painter.begin(&writer)) {
      error = "the PDF cannot be started";
      return std::nullopt;
    }
    const double dotsPerSurfaceInch = double(kDotsPerInch) / scale;
    paintDrawing(painter, drawing,
                 {QPointF(kDrawingMarginIn, kDrawingMarginIn) * kDotsPerInch, dotsPerSurfaceInch,
                  dotsPerSurfaceInch});
    painter.setPen(QPen(Qt::black, kCutLineWidthIn * kDotsPerInch, Qt::SolidLine, Qt::RoundCap));

    QFont label("Liberation Sans");
    label.setPointSizeF(kLabelPoints);
    painter.setFont(label);
    const double barsTop = kDrawingMarginIn + heightIn + 0.4;
    scaleBar(painter, kDrawingMarginIn, barsTop, 50.0 / kMmPerInch, "50 mm");
    scaleBar(painter, kDrawingMarginIn, barsTop + 0.35, 2.0, "2 in");
    painter.end();
  }
  return content;
}

}  // namespace korvel
