#include "render/raster_surface.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace korvel {

namespace {

// White where nothing is drawn: the drawing is aliased, every pixel either
// untouched or solid, so painting straight onto white is what laying the
// drawing over white would give.
QImage blankLayer(int widthPx, int heightPx) {
  QImage image(std::max(widthPx, 1), std::max(heightPx, 1), QImage::Format_RGB32);
  // The surface's own pixels per inch, so font points map to pixels.
  image.setDotsPerMeterX(kSurfaceDotsPerMetre);
  image.setDotsPerMeterY(kSurfaceDotsPerMetre);
  image.fill(Qt::white);
  return image;
}

QPointF px(float x, float y) { return {x * kPixelsPerInch, y * kPixelsPerInch}; }

// Reverses a row of pixels, four at a time from either end where the
// processor can: a mirrored high-resolution sheet is 13 million of them.
void reversePixels(QRgb* row, int width) {
  QRgb* left = row;
  QRgb* right = row + width;
#ifdef __SSE2__
  while (right - left >= 8) {
    right -= 4;
    const __m128i a = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(left)), 0x1B);
    const __m128i b = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(right)), 0x1B);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(left), b);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(right), a);
    left += 4;
  }
#endif
  std::reverse(left, right);
}

// Mirrors the first width pixels of each of the band's first rows.
void mirrorRows(QImage& band, int width, int rows) {
  width = std::min(width, band.width());
  rows = std::min(rows, band.height());
  for (int y = 0; y < rows; ++y) reversePixels(reinterpret_cast<QRgb*>(band.scanLine(y)), width);
}

// A sloping line or a circle cut off at the edge of a band is stepped from
// where it was cut, and may then fall on other pixels than in the whole
// picture: its band is painted tall enough to hold all of it.
bool paintedWhole(const PaintStep& step) {
  if (step.kind == PaintStep::Kind::Circle) return true;
  return step.kind == PaintStep::Kind::Line && step.a.x() != step.b.x() && step.a.y() != step.b.y();
}

// The same painter calls, step for step, whatever the picture is painted on.
void paintStep(QPainter& painter, const PaintStep& step) {
  switch (step.kind) {
    case PaintStep::Kind::Point:
      painter.setPen(QPen(step.colour, step.width, Qt::SolidLine, Qt::RoundCap));
      painter.drawPoint(step.a);
      break;
    case PaintStep::Kind::Line:
      painter.setPen(QPen(step.colour, step.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      painter.drawLine(step.a, step.b);
      break;
    case PaintStep::Kind::Circle:
      painter.setPen(QPen(step.colour, step.width));
      painter.setBrush(Qt::NoBrush);
      painter.drawEllipse(step.a, step.radius, step.radius);
      break;
    case PaintStep::Kind::Text:
      painter.setFont(step.font);
      painter.setPen(step.colour);
      painter.drawText(step.a, step.text);
      break;
    case PaintStep::Kind::Mirror:
      break;
  }
}

}  // namespace

int surfacePixels(double inches) {
  return static_cast<int>(std::lround(inches * kPixelsPerInch));
}

RasterSurface::RasterSurface(float widthInches, float heightInches, const QFont& font)
    : outerWidth_(widthInches),
      outerHeight_(heightInches),
      size_(std::max(surfacePixels(widthInches), 1), std::max(surfacePixels(heightInches), 1)),
      fontDevice_(blankLayer(1, 1)),
      font_(font) {
  font_.setStyleStrategy(QFont::NoAntialias);
  // Aliased glyphs snap to whole pixels; fully hinted advances snap with them,
  // so "150 mm" does not read "150 m m" at 96 pixels per inch.
  font_.setHintingPreference(QFont::PreferFullHinting);
  record_.width = size_.width() / kPixelsPerInch;
  record_.height = size_.height() / kPixelsPerInch;
}

int RasterSurface::toPixels(float inches) { return surfacePixels(inches); }

QColor RasterSurface::penColour() const {
  return QColor(static_cast<int>(colour_ & 0xFF), static_cast<int>((colour_ >> 8) & 0xFF),
                static_cast<int>((colour_ >> 16) & 0xFF));
}

void RasterSurface::changed() const {
  if (changeHandler_) changeHandler_();
}

// reach: how far above and below its points the step may paint, in pixels.
void RasterSurface::add(PaintStep step, double reach) {
  step.clip = size_;
  const double top = std::min(step.a.y(), step.b.y()) - reach - 2;
  const double bottom = std::max(step.a.y(), step.b.y()) + reach + 2;
  step.firstRow = static_cast<int>(std::floor(std::max(top, -1.0)));
  step.lastRow = static_cast<int>(std::ceil(std::min(bottom, double(size_.height()) + 1)));
  steps_.push_back(std::move(step));
  changed();
}

void RasterSurface::setDrawColour(Colour colour) { colour_ = colour; }

void RasterSurface::point(float x, float y) {
  add({PaintStep::Kind::Point, px(x, y), px(x, y), 0.0, penColour(), lineWidth_, {}, {}, {}, 0, 0},
      lineWidth_);
  record_.addPoint(QPointF(x, y));
}

void RasterSurface::line(float x1, float y1, float x2, float y2, Colour colour) {
  const Colour saved = colour_;
  colour_ = colour;
  add({PaintStep::Kind::Line, px(x1, y1), px(x2, y2), 0.0, penColour(), lineWidth_, {}, {}, {}, 0, 0},
      lineWidth_);
  record_.addLine(QPointF(x1, y1), QPointF(x2, y2));
  colour_ = saved;
}

void RasterSurface::circle(float x, float y, float radius) {
  const double r = radius * kPixelsPerInch;
  add({PaintStep::Kind::Circle, px(x, y), px(x, y), r, penColour(), lineWidth_, {}, {}, {}, 0, 0},
      r + lineWidth_);
  record_.addCircle(QPointF(x, y), radius);
}

void RasterSurface::setTextPosition(float x, float y) { textPosition_ = QPointF(x, y); }

void RasterSurface::writeText(const std::string& text) {
  const QFontMetricsF metrics(font_, &fontDevice_);
  const QPointF topLeft = px(static_cast<float>(textPosition_.x()), static_cast<float>(textPosition_.y()));
  const QPointF baseLine(topLeft.x(), topLeft.y() + metrics.ascent());
  PaintStep step{PaintStep::Kind::Text, baseLine, baseLine, 0.0, penColour(), 1,
                 QString::fromStdString(text), font_, {}, 0, 0};
  step.b = QPointF(baseLine.x(), baseLine.y() + metrics.descent());
  add(std::move(step), metrics.height());
  record_.addText(QPointF(textPosition_.x(), textPosition_.y() + metrics.ascent() / kPixelsPerInch), text,
                  font_);
  textPosition_ = QPointF(0, textPosition_.y() + metrics.height() / kPixelsPerInch);
}

void RasterSurface::writeTextCentred(float x, float y, const std::string& text) {
  const QFontMetricsF metrics(font_, &fontDevice_);
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
  steps_.clear();
  record_.clear();
  textPosition_ = QPointF(0, 0);
  changed();
}

void RasterSurface::setLineWidth(int pixels) { lineWidth_ = std::max(pixels, 1); }

void RasterSurface::setTextSize(float points) { font_.setPointSizeF(points); }

bool RasterSurface::rasteriseInBands(int bandRows,
                                     const std::function<bool(const QImage& band, int top)>& take) const {
  const int width = size_.width();
  const int height = size_.height();
  bandRows = std::max(bandRows, 1);
  // The rows each step may touch, apart from the steps themselves: every band
  // looks at every step.
  struct Reach {
    int firstRow;
    int lastRow;
    bool whole;  // painted whole
  };
  std::vector<Reach> reach;
  std::vector<Reach> tall;  // painted whole and taller than half a band
  reach.reserve(steps_.size());
  for (const PaintStep& step : steps_) {
    reach.push_back({step.firstRow, step.lastRow, paintedWhole(step)});
    if (reach.back().whole && step.lastRow - step.firstRow > bandRows / 2) tall.push_back(reach.back());
  }
  QImage band;
  for (int bottom = height, top = 0; bottom > 0; bottom = top) {
    // A band ends where no tall step that must be painted whole crosses it,
    // so such a step is painted once; short ones it cuts widen the band below.
    top = std::max(bottom - bandRows, 0);
    for (bool moved = true; moved && top > 0;) {
      moved = false;
      for (const Reach& step : tall)
        if (step.firstRow < top && step.lastRow >= top) {
          top = std::max(step.firstRow, 0);
          moved = true;
        }
    }
    int paintTop = top;
    int paintBottom = bottom;
    for (const Reach& step : reach)
      if (step.whole && step.lastRow >= top && step.firstRow < bottom) {
        paintTop = std::min(paintTop, step.firstRow);
        paintBottom = std::max(paintBottom, step.lastRow + 1);
      }
    paintTop = std::max(paintTop, 0);
    paintBottom = std::min(paintBottom, height);
    // A band of another height is an image of its own.
    if (band.isNull() || band.height() != paintBottom - paintTop)
      band = blankLayer(width, paintBottom - paintTop);
    else
      band.fill(Qt::white);
    QPainter painter(&band);
    painter.translate(0, -paintTop);
    for (std::size_t i = 0; i < steps_.size(); ++i) {
      const PaintStep& step = steps_[i];
      if (step.kind != PaintStep::Kind::Mirror && (reach[i].lastRow < paintTop || reach[i].firstRow >= paintBottom))
        continue;
      if (step.kind == PaintStep::Kind::Mirror) {
        // The elements drawn so far, mirrored as pixels, as the whole picture would be.
        painter.end();
        mirrorRows(band, step.clip.width(), step.clip.height() - paintTop);
        painter.begin(&band);
        painter.translate(0, -paintTop);
        continue;
      }
      const bool clipped = step.clip != size_;
      if (clipped) painter.setClipRect(QRect(QPoint(0, 0), step.clip));
      paintStep(painter, step);
      if (clipped) painter.setClipping(false);
    }
    painter.end();
    if (paintTop == top && paintBottom == bottom) {
      if (!take(band, top)) return false;
      continue;
    }
    const QImage rows(band.constScanLine(top - paintTop), width, bottom - top, band.bytesPerLine(),
                      QImage::Format_RGB32);
    if (!take(rows, top)) return false;
  }
  return true;
}

void RasterSurface::paintOnScreen(QPainter& painter, const QRect& area) const {
  // Each step drawn before a mirror is mirrored by every mirror after it.
  std::vector<QTransform> placed(steps_.size());
  QTransform after;
  for (std::size_t i = steps_.size(); i-- > 0;) {
    const PaintStep& step = steps_[i];
    if (step.kind == PaintStep::Kind::Mirror)
      after = QTransform(-1, 0, 0, 1, step.clip.width(), 0) * after;
    placed[i] = after;
  }
  // Fonts are sized for the picture's 96 pixels per inch.
  const double fontScale = kPixelsPerInch / painter.device()->logicalDpiY();
  painter.save();
  painter.setClipRect(area);
  const QTransform base = painter.transform();
  for (std::size_t i = 0; i < steps_.size(); ++i) {
    const PaintStep& step = steps_[i];
    if (step.kind == PaintStep::Kind::Mirror) continue;
    painter.setTransform(placed[i] * base);
    if (step.kind == PaintStep::Kind::Text && fontScale != 1.0) {
      PaintStep scaled = step;
      scaled.font.setPointSizeF(step.font.pointSizeF() * fontScale);
      paintStep(painter, scaled);
    } else {
      paintStep(painter, step);
    }
  }
  painter.restore();
}

QImage RasterSurface::copyImage() const {
  QImage image;
  rasteriseInBands(size_.height(), [&](const QImage& band, int) {
    image = band;
    return true;
  });
  return image;
}

void RasterSurface::mirrorLeftToRight() {
  record_.mirror(size_.width() / kPixelsPerInch);
  PaintStep mirror{PaintStep::Kind::Mirror, {}, {}, 0.0, {}, 1, {}, {}, size_, 0, size_.height()};
  steps_.push_back(std::move(mirror));
  textPosition_ = QPointF(0, 0);
  changed();
}

float RasterSurface::innerWidth() const { return static_cast<float>(size_.width() / kPixelsPerInch); }

float RasterSurface::innerHeight() const { return static_cast<float>(size_.height() / kPixelsPerInch); }

void RasterSurface::resizeTo(int widthPx, int heightPx) {
  const QSize size(std::max(widthPx, 1), std::max(heightPx, 1));
  if (size == size_) return;
  // What is drawn stays where it was, cut off where the picture shrank; new area is blank.
  for (PaintStep& step : steps_) step.clip = step.clip.boundedTo(size);
  size_ = size;
  record_.width = size_.width() / kPixelsPerInch;
  record_.height = size_.height() / kPixelsPerInch;
  changed();
}

void RasterSurface::setOuterWidth(float inches) {
  outerWidth_ = inches;
  resizeTo(toPixels(inches), size_.height());
}

void RasterSurface::setOuterHeight(float inches) {
  outerHeight_ = inches;
  resizeTo(size_.width(), toPixels(inches));
}

}  // namespace korvel
