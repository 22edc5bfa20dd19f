#include "render/raster_surface.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace korvel {

namespace {

// The surface's own pixels per inch, so font points map to pixels.
constexpr int kDotsPerMetre = static_cast<int>(kPixelsPerInch * 1000 / kMmPerInch + 0.5);

QImage blankLayer(int widthPx, int heightPx) {
  QImage image(std::max(widthPx, 1), std::max(heightPx, 1), QImage::Format_ARGB32_Premultiplied);
  image.setDotsPerMeterX(kDotsPerMetre);
  image.setDotsPerMeterY(kDotsPerMetre);
  image.fill(Qt::transparent);
  return image;
}

QPointF px(float x, float y) { return {x * kPixelsPerInch, y * kPixelsPerInch}; }

}  // namespace

int surfacePixels(double inches) {
  return static_cast<int>(std::lround(inches * kPixelsPerInch));
}

RasterSurface::RasterSurface(float widthInches, float heightInches, const QFont& font)
    : outerWidth_(widthInches),
      outerHeight_(heightInches),
      drawing_(blankLayer(surfacePixels(widthInches), surfacePixels(heightInches))), font_(font) {
  font_.setStyleStrategy(QFont::NoAntialias);
  // Aliased glyphs snap to whole pixels; fully hinted advances snap with them,
  // so "150 mm" does not read "150 m m" at 96 pixels per inch.
  font_.setHintingPreference(QFont::PreferFullHinting);
  record_.width = drawing_.width() / kPixelsPerInch;
  record_.height = drawing_.height() / kPixelsPerInch;
}

int RasterSurface::toPixels(float inches) { return surfacePixels(inches); }

QColor RasterSurface::penColour() const {
  return QColor(static_cast<int>(colour_ & 0xFF), static_cast<int>((colour_ >> 8) & 0xFF),
                static_cast<int>((colour_ >> 16) & 0xFF));
}

void RasterSurface::changed() const {
  if (changeHandler_) changeHandler_();
}

void RasterSurface::setDrawColour(Colour colour) { colour_ = colour; }

void RasterSurface::point(float x, float y) {
  QPainter painter(&drawing_);
  painter.setPen(QPen(penColour(), lineWidth_, Qt::SolidLine, Qt::RoundCap));
  painter.drawPoint(px(x, y));
  record_.addPoint(QPointF(x, y));
  changed();
}

void RasterSurface::line(float x1, float y1, float x2, float y2, Colour colour) {
  const Colour saved = colour_;
  colour_ = colour;
  QPainter painter(&drawing_);
  painter.setPen(QPen(penColour(), lineWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawLine(px(x1, y1), px(x2, y2));
  record_.addLine(QPointF(x1, y1), QPointF(x2, y2));
  colour_ = saved;
  changed();
}

void RasterSurface::circle(float x, float y, float radius) {
  QPainter painter(&drawing_);
  painter.setPen(QPen(penColour(), lineWidth_));
  painter.setBrush(Qt::NoBrush);
  const double r = radius * kPixelsPerInch;
  painter.drawEllipse(px(x, y), r, r);
  record_.addCircle(QPointF(x, y), radius);
  changed();
}

void RasterSurface::setTextPosition(float x, float y) { textPosition_ = QPointF(x, y); }

void RasterSurface::writeText(const std::string& text) {
  QPainter painter(&drawing_);
  painter.setFont(font_);
  painter.setPen(penColour());
  const QFontMetricsF metrics(font_, &drawing_);
  const QPointF topLeft = px(static_cast<float>(textPosition_.x()), static_cast<float>(textPosition_.y()));
  painter.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), QString::fromStdString(text));
  const QPointF baseLine(textPosition_.x(), textPosition_.y() + metrics.ascent() / kPixelsPerInch);
  record_.addText(baseLine, text, font_);
  textPosition_ = QPointF(0, textPosition_.y() + metrics.height() / kPixelsPerInch);
  changed();
}

void RasterSurface::writeTextCentred(float x, float y, const std::string& text) {
  const QFontMetricsF metrics(font_, &drawing_);
  // The ink box relative to the start of the base line, in pixels.
  const QRectF ink = metrics.tightBoundingRect(QString::fromStdString(text));
  const QPointF centre = px(x, y);
  const double left = centre.x() - ink.center().x();
  const double top = centre.y() - ink.center().y() - metrics.ascent();
  textPosition_ = QPointF(left / kPixelsPerInch, top / kPixelsPerInch);
  writeText(text);
}

void RasterSurface::refresh() {
  if (refreshHandler_) refreshHandler_();
}

void RasterSurface::clear() {
  // A flattened layer is made transparent again, in its own memory unless a
  // copy handed out still shares it.
  drawing_.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
  drawing_.fill(Qt::transparent);
  record_.clear();
  textPosition_ = QPointF(0, 0);
  changed();
}

void RasterSurface::setLineWidth(int pixels) { lineWidth_ = std::max(pixels, 1); }

void RasterSurface::setTextSize(float points) { font_.setPointSizeF(points); }

namespace {

// A drawing pixel (premultiplied, transparent where nothing is drawn) laid
// over an opaque one.
QRgb over(QRgb drawn, QRgb below) {
  const int alpha = qAlpha(drawn);
  if (alpha == 255) return drawn;
  if (alpha == 0) return below;
  const int keep = 255 - alpha;
  return qRgb(qRed(drawn) + qRed(below) * keep / 255, qGreen(drawn) + qGreen(below) * keep / 255,
              qBlue(drawn) + qBlue(below) * keep / 255);
}

// Lays a drawing layer over the white below it, in place, mirroring each row
// on the way when asked: one pass over the 52 MB of a high-resolution sheet.
// The layer is then opaque (RGB32).
void flattenOntoWhite(QImage& layer, bool mirror) {
  if (!layer.hasAlphaChannel()) {
    if (mirror) layer.mirror(true, false);
    return;
  }
  constexpr QRgb kWhite = qRgb(255, 255, 255);
  const int width = layer.width();
  const int height = layer.height();
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(layer.scanLine(y));
    // Aliased drawing leaves every pixel untouched or solid, and such a row
    // takes a quick select; a blended pixel sends its row the long way.
    unsigned partial = 0;
    for (int x = 0; x < width; ++x) partial |= unsigned(qAlpha(row[x]) - 1) < 254u;
    if (partial != 0) {
      for (int x = 0; x < width; ++x) row[x] = over(row[x], kWhite);
      if (mirror) std::reverse(row, row + width);
      continue;
    }
    for (int x = 0, m = width - 1; x <= m; ++x, --m) {
      const QRgb left = qAlpha(row[x]) == 0 ? kWhite : row[x];
      const QRgb right = qAlpha(row[m]) == 0 ? kWhite : row[m];
      row[x] = mirror ? right : left;
      row[m] = mirror ? left : right;
    }
  }
  layer.reinterpretAsFormat(QImage::Format_RGB32);
}

}  // namespace

QImage RasterSurface::copyImage() const {
  // Over plain white the drawing changes nothing that shows by taking its
  // final colours in place; handed out shared, it costs no second image.
  flattenOntoWhite(drawing_, false);
  return drawing_;
}

void RasterSurface::mirrorLeftToRight() {
  record_.mirror(drawing_.width() / kPixelsPerInch);
  // In place: a high-resolution sheet is 52 MB.
  flattenOntoWhite(drawing_, true);
  textPosition_ = QPointF(0, 0);
  changed();
}

float RasterSurface::innerWidth() const {
  return static_cast<float>(drawing_.width() / kPixelsPerInch);
}

float RasterSurface::innerHeight() const {
  return static_cast<float>(drawing_.height() / kPixelsPerInch);
}

void RasterSurface::resizeTo(int widthPx, int heightPx) {
  if (widthPx == drawing_.width() && heightPx == drawing_.height()) return;
  // What is drawn stays where it was; new area is blank.
  QImage resized = blankLayer(widthPx, heightPx);
  QPainter painter(&resized);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(QPointF(0, 0), drawing_);
  painter.end();
  drawing_ = resized;
  record_.width = drawing_.width() / kPixelsPerInch;
  record_.height = drawing_.height() / kPixelsPerInch;
  changed();
}

void RasterSurface::setOuterWidth(float inches) {
  outerWidth_ = inches;
  resizeTo(toPixels(inches), drawing_.height());
}

void RasterSurface::setOuterHeight(float inches) {
  outerHeight_ = inches;
  resizeTo(drawing_.width(), toPixels(inches));
}

}  // namespace korvel
