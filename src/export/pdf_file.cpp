#include <QPainter>
#include <algorithm>

#include "export/cut_file_formats.h"
#include "export/pdf_page.h"
#include "render/drawing_painter.h"

// A PDF of the drawing at true size in vector form on a standard portrait
// page, each cam's outline one closed path, with two scale bars below it so a
// print that was scaled to fit the page is caught before the metal is cut.
namespace korvel {

namespace {

constexpr double kScaleBarsIn = 1.0;  // room below the drawing
constexpr double kScaleBarTickIn = 0.05;
constexpr double kLabelPoints = 8.0;
// When the drawing cannot stand an inch from both edges: clear of the border
// any printer leaves blank (a quarter inch at most), and still a round figure
// to check a print's placement against with a rule.
constexpr double kNarrowMarginIn = 0.5;

// How far in from the top or left edge a drawing extentIn long stands on a
// page pageIn long: an inch, as on a printed page, where it fits between two
// such margins; else half an inch on both sides (the 6.3 in sheet on A4, 8.27
// in wide); a drawing too long even for that (none the program draws) is
// centred.
double pageMarginIn(double extentIn, double pageIn) {
  for (const double margin : {kDrawingMarginIn, kNarrowMarginIn})
    if (extentIn + 2 * margin <= pageIn) return margin;
  return std::max(0.0, (pageIn - extentIn) / 2);
}

// A bar lengthIn long with end ticks and its label, its left end at (x, y) inches on the page.
void scaleBar(QPainter& painter, double x, double y, double lengthIn, const QString& label) {
  const auto dots = [](double in) { return in * kPdfDotsPerInch; };
  painter.drawLine(QPointF(dots(x), dots(y)), QPointF(dots(x + lengthIn), dots(y)));
  for (const double end : {x, x + lengthIn})
    painter.drawLine(QPointF(dots(end), dots(y - kScaleBarTickIn)),
                     QPointF(dots(end), dots(y + kScaleBarTickIn)));
  painter.drawText(QPointF(dots(x + lengthIn + 0.1), dots(y + kScaleBarTickIn)), label);
}

}  // namespace

std::optional<QByteArray> pdfContent(const CamDrawing& drawing, int scale, Paper paper,
                                     QString& error) {
  const TrueSize size(drawing, scale);
  const double widthIn = size.widthMm() / kMmPerInch;
  const double heightIn = size.heightMm() / kMmPerInch;
  const QSizeF page = paperSizeIn(paper);
  const double left = pageMarginIn(widthIn, page.width());
  const double top = pageMarginIn(heightIn + kScaleBarsIn, page.height());
  return paintPdfPage(
      paper,
      [&](QPainter& painter) {
        const double dotsPerSurfaceInch = double(kPdfDotsPerInch) / scale;
        paintDrawing(painter, drawing,
                     {QPointF(left, top) * kPdfDotsPerInch, dotsPerSurfaceInch, dotsPerSurfaceInch},
                     OutlineStrokes::ClosedPath);
        painter.setPen(
            QPen(Qt::black, kCutLineWidthIn * kPdfDotsPerInch, Qt::SolidLine, Qt::RoundCap));

        QFont label("Liberation Sans");
        label.setPointSizeF(kLabelPoints);
        painter.setFont(label);
        const double barsTop = top + heightIn + 0.4;
        scaleBar(painter, left, barsTop, 50.0 / kMmPerInch, "50 mm");
        scaleBar(painter, left, barsTop + 0.35, 2.0, "2 in");
      },
      error);
}

}  // namespace korvel
