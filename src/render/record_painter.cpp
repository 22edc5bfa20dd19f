#include "render/record_painter.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace korvel {

namespace {

class DeviceMap {
 public:
  explicit DeviceMap(const RecordPlacement& placement) : p_(placement) {}
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
  const RecordPlacement& p_;
};

void paintText(QPainter& painter, const RecordedFigure& figure, const DeviceMap& map) {
  QFont font = figure.font;
  font.setPointSizeF(map.down(surfaceEmInches(figure.font)) * 72.0 /
                     painter.device()->logicalDpiY());
  painter.save();
  painter.setFont(font);
  painter.translate(map.at(figure.a));
  const double stretch = map.textStretch() * (figure.readsBackwards ? -1.0 : 1.0);
  if (stretch != 1.0 || map.textFlip() != 1.0) painter.scale(stretch, map.textFlip());
  painter.drawText(QPointF(0, 0), QString::fromStdString(figure.text));
  painter.restore();
}

void paintFigure(QPainter& painter, const RecordedFigure& figure, const DeviceMap& map) {
  switch (figure.shape) {
    case RecordedShape::Point:
      painter.drawPoint(map.at(figure.a));
      break;
    case RecordedShape::Line:
      painter.drawLine(map.at(figure.a), map.at(figure.b));
      break;
    case RecordedShape::Circle:
      painter.drawEllipse(map.at(figure.a), map.across(figure.radius), map.down(figure.radius));
      break;
    case RecordedShape::Text:
      paintText(painter, figure, map);
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

void paintRecord(QPainter& painter, const DrawingRecord& record, const RecordPlacement& placement,
                 OutlineStrokes outlines) {
  painter.save();
  painter.setPen(QPen(Qt::black, kCutLineWidthIn * painter.device()->logicalDpiX(), Qt::SolidLine,
                      Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  const DeviceMap map(placement);
  const std::vector<std::vector<QPointF>>& polygons = record.camOutlines();
  int painted = -1;  // the outline last painted whole, in its first figure's place
  for (const RecordedFigure& figure : record.figures()) {
    const auto outline = static_cast<std::size_t>(figure.outline);
    if (outlines == OutlineStrokes::ClosedPath && figure.outline >= 0 && outline < polygons.size()) {
      if (figure.outline != painted) paintOutline(painter, polygons[outline], map);
      painted = figure.outline;
      continue;
    }
    paintFigure(painter, figure, map);
  }
  painter.restore();
}

}  // namespace korvel
