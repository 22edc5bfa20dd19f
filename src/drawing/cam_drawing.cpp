#include "drawing/cam_drawing.h"

#include <QFontMetricsF>
#include <QImage>

namespace korvel {

void CamDrawing::clear() {
  figures_.clear();
  mirrors_.clear();
  profiles_.clear();
  outlines_.clear();
  fonts_.clear();
}

void CamDrawing::add(DrawnFigure figure) {
  figure.clip = size_;
  figure.drawnHeight = size_.height();
  figure.mirrorsBefore = static_cast<int>(mirrors_.size());
  figures_.push_back(std::move(figure));
}

void CamDrawing::addText(DrawnFigure text, const QFont& font) {
  // A drawing's texts share a font or two, each kept once.
  if (fonts_.empty() || fonts_.back() != font) fonts_.push_back(font);
  text.font = static_cast<int>(fonts_.size()) - 1;
  add(std::move(text));
}

void CamDrawing::mirror() {
  mirrors_.push_back({size_.width() / kPixelsPerInch, size_, static_cast<int>(figures_.size())});
}

void CamDrawing::resize(QSize pixels) {
  // What is drawn stays where it was, cut off where the picture shrank; new area is blank.
  for (DrawnFigure& figure : figures_) figure.clip = figure.clip.boundedTo(pixels);
  for (MirrorEvent& mirror : mirrors_) mirror.clip = mirror.clip.boundedTo(pixels);
  size_ = pixels;
}

void CamDrawing::keepOutline(const std::vector<SurfacePoint>& polygon) {
  if (polygon.empty()) return;
  KeptOutline outline{{}, static_cast<int>(mirrors_.size())};
  outline.vertices.reserve(polygon.size());
  for (const SurfacePoint& p : polygon) outline.vertices.emplace_back(p.x, p.y);
  outlines_.push_back(std::move(outline));
}

void CamDrawing::keepProfile(double focalMm, float extensionFactor, const CamProfile& profile) {
  profiles_.push_back({focalMm, extensionFactor, profile.points});
}

std::vector<std::vector<QPointF>> CamDrawing::camOutlines() const {
  std::vector<std::vector<QPointF>> outlines;
  outlines.reserve(outlines_.size());
  for (const KeptOutline& kept : outlines_) {
    std::vector<QPointF>& vertices = outlines.emplace_back();
    vertices.reserve(kept.vertices.size());
    for (const QPointF& vertex : kept.vertices) vertices.push_back(placed(kept.mirrorsBefore, vertex));
  }
  return outlines;
}

QPointF CamDrawing::placed(int mirrorsBefore, QPointF p) const {
  // Each mirror in turn, as the picture was mirrored.
  for (std::size_t i = static_cast<std::size_t>(mirrorsBefore); i < mirrors_.size(); ++i)
    p.setX(mirrors_[i].widthInches - p.x());
  return p;
}

PlacedText CamDrawing::placedText(const DrawnFigure& text) const {
  const QFontMetricsF metrics(font(text), &surfaceFontDevice());
  const QPointF baseLine(text.a.x(), text.a.y() + metrics.ascent() / kPixelsPerInch);
  return {placed(text, baseLine), (mirrors_.size() - static_cast<std::size_t>(text.mirrorsBefore)) % 2 == 1};
}

const QPaintDevice& surfaceFontDevice() {
  static const QImage device = [] {
    QImage image(1, 1, QImage::Format_RGB32);
    // The surface's own pixels per inch, so font points map to pixels.
    image.setDotsPerMeterX(kSurfaceDotsPerMetre);
    image.setDotsPerMeterY(kSurfaceDotsPerMetre);
    return image;
  }();
  return device;
}

}  // namespace korvel
