#include "render/raster_surface.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "render/drawing_raster.h"

namespace korvel {

int surfacePixels(double inches) {
  return static_cast<int>(std::lround(inches * kPixelsPerInch));
}

RasterSurface::RasterSurface(float widthInches, float heightInches, const QFont& font)
    : outerWidth_(widthInches), outerHeight_(heightInches), font_(font) {
  drawing_.resize(QSize(std::max(surfacePixels(widthInches), 1), std::max(surfacePixels(heightInches), 1)));
  font_.setStyleStrategy(QFont::NoAntialias);
  // Aliased glyphs snap to whole pixels; fully hinted advances snap with them,
  // so "150 mm" does not read "150 m m" at 96 pixels per inch.
  font_.setHintingPreference(QFont::PreferFullHinting);
}

QColor RasterSurface::penColour() const {
  return QColor(static_cast<int>(colour_ & 0xFF), static_cast<int>((colour_ >> 8) & 0xFF),
                static_cast<int>((colour_ >> 16) & 0xFF));
}

void RasterSurface::changed() const {
  if (changeHandler_) changeHandler_();
}

void RasterSurface::add(DrawnFigure figure) {
  figure.colour = penColour();
  if (figure.shape == FigureShape::Text) {
    figure.role = DrawnRole::Text;
  } else if (!openFigures_.empty() && openFigures_.back() == FigureRole::MarkerTicks) {
    figure.role = DrawnRole::MarkerTick;
  } else if (!openFigures_.empty() && figure.shape != FigureShape::Circle) {
    figure.role = DrawnRole::OutlineSegment;
    figure.outline = outlines_ - 1;
  } else {
    figure.role = figure.shape == FigureShape::Circle ? DrawnRole::Hole : DrawnRole::LooseCut;
  }
  if (figure.shape == FigureShape::Text)
    drawing_.addText(std::move(figure), font_);
  else
    drawing_.add(std::move(figure));
  changed();
}

void RasterSurface::beginFigure(FigureRole role) {
  if (role == FigureRole::CamOutline) ++outlines_;
  openFigures_.push_back(role);
}

void RasterSurface::endFigure() {
  if (!openFigures_.empty()) openFigures_.pop_back();
}

void RasterSurface::setDrawColour(Colour colour) { colour_ = colour; }

DrawnFigure RasterSurface::figure(FigureShape shape, QPointF a, QPointF b) const {
  DrawnFigure drawn;
  drawn.shape = shape;
  drawn.a = a;
  drawn.b = b;
  drawn.penWidth = lineWidth_;
  return drawn;
}

void RasterSurface::point(float x, float y) { add(figure(FigureShape::Point, QPointF(x, y), QPointF(x, y))); }

void RasterSurface::line(float x1, float y1, float x2, float y2, Colour colour) {
  const Colour saved = colour_;
  colour_ = colour;
  add(figure(FigureShape::Line, QPointF(x1, y1), QPointF(x2, y2)));
  colour_ = saved;
}

void RasterSurface::circle(float x, float y, float radius) {
  DrawnFigure drawn = figure(FigureShape::Circle, QPointF(x, y), QPointF(x, y));
  drawn.radius = radius;
  add(std::move(drawn));
}

void RasterSurface::setTextPosition(float x, float y) { textPosition_ = QPointF(x, y); }

void RasterSurface::writeText(const std::string& text) { writeText(text, QRectF()); }

void RasterSurface::writeText(const std::string& text, const QRectF& ink) {
  DrawnFigure drawn = figure(FigureShape::Text, textPosition_, textPosition_);
  drawn.penWidth = 1;
  drawn.text = text;
  drawn.ink = ink;
  add(std::move(drawn));
  const QFontMetricsF metrics(font_, &surfaceFontDevice());
  textPosition_ = QPointF(0, textPosition_.y() + metrics.height() / kPixelsPerInch);
}

void RasterSurface::writeTextCentred(float x, float y, const std::string& text) {
  const QFontMetricsF metrics(font_, &surfaceFontDevice());
  // The ink box relative to the start of the base line, in pixels.
  const QRectF ink = metrics.tightBoundingRect(QString::fromStdString(text));
  const QPointF centre(x * kPixelsPerInch, y * kPixelsPerInch);
  const double left = centre.x() - ink.center().x();
  const double top = centre.y() - ink.center().y() - metrics.ascent();
  textPosition_ = QPointF(left / kPixelsPerInch, top / kPixelsPerInch);
  writeText(text, ink);
}

void RasterSurface::refresh() {
  if (refreshHandler_) refreshHandler_();
}

void RasterSurface::clear() {
  drawing_.clear();
  openFigures_.clear();
  outlines_ = 0;
  textPosition_ = QPointF(0, 0);
  changed();
}

void RasterSurface::setLineWidth(int pixels) { lineWidth_ = std::max(pixels, 1); }

void RasterSurface::setTextSize(float points) { font_.setPointSizeF(points); }

QImage RasterSurface::copyImage() const { return rasterise(drawing_); }

void RasterSurface::mirrorLeftToRight() {
  drawing_.mirror();
  textPosition_ = QPointF(0, 0);
  changed();
}

float RasterSurface::innerWidth() const { return static_cast<float>(pixelSize().width() / kPixelsPerInch); }

float RasterSurface::innerHeight() const { return static_cast<float>(pixelSize().height() / kPixelsPerInch); }

void RasterSurface::resizeTo(int widthPx, int heightPx) {
  const QSize size(std::max(widthPx, 1), std::max(heightPx, 1));
  if (size == pixelSize()) return;
  drawing_.resize(size);
  changed();
}

void RasterSurface::setOuterWidth(float inches) {
  outerWidth_ = inches;
  resizeTo(surfacePixels(inches), pixelSize().height());
}

void RasterSurface::setOuterHeight(float inches) {
  outerHeight_ = inches;
  resizeTo(pixelSize().width(), surfacePixels(inches));
}

}  // namespace korvel
