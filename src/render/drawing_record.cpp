#include "render/drawing_record.h"

namespace korvel {

void DrawingRecord::clear() {
  figures_.clear();
  profiles_.clear();
  polygons_.clear();
  open_.clear();
  outlines_ = 0;
}

void DrawingRecord::add(RecordedShape shape, QPointF a, QPointF b, double radius,
                        const std::string& text, const QFont& font) {
  CutLayer layer = CutLayer::Cut;
  int outline = -1;
  if (shape == RecordedShape::Text) {
    layer = CutLayer::Text;
  } else if (!open_.empty() && open_.back() == FigureRole::MarkerTicks) {
    layer = CutLayer::Marks;
  } else if (!open_.empty() && shape != RecordedShape::Circle) {
    outline = outlines_ - 1;
  }
  figures_.push_back({shape, layer, outline, a, b, radius, text, font, false});
}

void DrawingRecord::addPoint(QPointF at) { add(RecordedShape::Point, at, at); }

void DrawingRecord::addLine(QPointF from, QPointF to) { add(RecordedShape::Line, from, to); }

void DrawingRecord::addCircle(QPointF centre, double radius) {
  add(RecordedShape::Circle, centre, centre, radius);
}

void DrawingRecord::addText(QPointF baseLineStart, const std::string& text, const QFont& font) {
  add(RecordedShape::Text, baseLineStart, baseLineStart, 0.0, text, font);
}

void DrawingRecord::beginFigure(FigureRole role) {
  if (role == FigureRole::CamOutline) ++outlines_;
  open_.push_back(role);
}

void DrawingRecord::endFigure() {
  if (!open_.empty()) open_.pop_back();
}

void DrawingRecord::keepOutline(const std::vector<SurfacePoint>& polygon) {
  std::vector<QPointF> vertices;
  vertices.reserve(polygon.size());
  for (const SurfacePoint& p : polygon) vertices.emplace_back(p.x, p.y);
  if (!vertices.empty()) polygons_.push_back(std::move(vertices));
}

void DrawingRecord::keepProfile(double focalMm, float extensionFactor, const CamProfile& profile) {
  profiles_.push_back({focalMm, extensionFactor, profile.points});
}

void DrawingRecord::mirror(double width) {
  const auto flip = [width](QPointF& p) { p.setX(width - p.x()); };
  for (std::vector<QPointF>& outline : polygons_)
    for (QPointF& vertex : outline) flip(vertex);
  for (RecordedFigure& figure : figures_) {
    flip(figure.a);
    flip(figure.b);
    if (figure.shape == RecordedShape::Text) figure.readsBackwards = !figure.readsBackwards;
  }
}

}  // namespace korvel
