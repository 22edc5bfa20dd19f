#include "render/drawing_painter.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace korvel {

namespace {

class DeviceMap {
 public:
  explicit DeviceMap(const DrawingPlacement& placement) : p_(placement) {}
  QPointF at(QPointF surface) const {
    return p_.origin + QPointF(surface.x() * p_.unitsPerInchX, surface.y() * p_.unitsPerInchY);
  }
  double across(double inches) const { return std::fabs(inches * p_.unitsPerInchX); }
  double down(double inches) const { return std::fabs(inches * p_.unitsPerInchY); }
  // Text is lettered at the height the drawing is scaled to down the page,
  // then stretched across to the drawing's width scale, and mirrored with it.
  double textStretch() const { return p_.unitsPerInchX / std::fabs(p_.unitsPerInchY); }
  double textFlip() const { return p_.unitsPerInchY < 0 ? -1.0 : 1.0; }

 private:
  const DrawingPlacement& p_;
};

void paintText(QPainter& painter, const CamDrawing& drawing, const DrawnFigure& figure, const DeviceMap& map) {
  const PlacedText placed = drawing.placedText(figure);
  QFont font = drawing.font(figure);
  font.setPointSizeF(map.down(surfaceEmInches(font)) * 72.0 /
                     painter.device()->logicalDpiY());
  painter.save();
  painter.setFont(font);
  painter.translate(map.at(placed.baseLineStart));
  const double stretch = map.textStretch() * (placed.readsBackwards ? -1.0 : 1.0);
  if (stretch != 1.0 || map.textFlip() != 1.0) painter.scale(stretch, map.textFlip());
  painter.drawText(QPointF(0, 0), QString::fromStdString(figure.text));
  painter.restore();
}

void paintFigure(QPainter& painter, const CamDrawing& drawing, const DrawnFigure& figure, const DeviceMap& map) {
  const QPointF a = drawing.placed(figure, figure.a);
  switch (figure.shape) {
    case FigureShape::Point:
      painter.drawPoint(map.at(a));
      break;
    case FigureShape::Line:
      painter.drawLine(map.at(a), map.at(drawing.placed(figure, figure.b)));
      break;
    case FigureShape::Circle:
      painter.drawEllipse(map.at(a), map.across(figure.radius), map.down(figure.radius));
      break;
    case FigureShape::Text:
      paintText(painter, drawing, figure, map);
      break;
  }
}

// The outline's vertices joined and closed, as the geometry handed them over.
void paintOutline(QPainter& painter, const std::vector<QPointF>& outline, const DeviceMap& map) {
  QPainterPath path(map.at(outline.front()));
  for (std::size_t i = 1; i < outline.size(); ++i) path.lineTo(map.at(outline[i]));
  path.closeSubpath();
  painter.drawPath(path);
}

}  // namespace

double surfaceEmInches(const QFont& font) {
  return font.pointSizeF() > 0 ? font.pointSizeF() / 72.0 : font.pixelSize() / kPixelsPerInch;
}

void paintDrawing(QPainter& painter, const CamDrawing& drawing, const DrawingPlacement& placement,
                  OutlineStrokes outlines) {
  painter.save();
  painter.setPen(QPen(Qt::black, kCutLineWidthIn * painter.device()->logicalDpiX(), Qt::SolidLine,
                      Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  const DeviceMap map(placement);
  const std::vector<std::vector<QPointF>> polygons = drawing.camOutlines();
  int painted = -1;  // the outline last painted whole, in its first figure's place
  for (const DrawnFigure& figure : drawing.figures()) {
    const auto outline = static_cast<std::size_t>(figure.outline);
    if (outlines == OutlineStrokes::ClosedPath && figure.outline >= 0 && outline < polygons.size()) {
      if (figure.outline != painted) paintOutline(painter, polygons[outline], map);
      painted = figure.outline;
      continue;
    }
    paintFigure(painter, drawing, figure, map);
  }
  painter.restore();
}

}  // namespace korvel
