#include "render/drawing_raster.h"

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

// A figure in the picture's pixels, with the rows it may touch.
struct PixelFigure {
  QPointF a;  // point, line start, circle centre, start of the text's base line
  QPointF b;  // line end
  double radius = 0.0;
  int firstRow = 0;
  int lastRow = 0;
  // A sloping line or a circle cut off at the edge of a band is stepped from
  // where it was cut, and may then fall on other pixels than in the whole
  // picture: its band is painted tall enough to hold all of it.
  bool paintedWhole = false;
};

PixelFigure inPixels(const DrawnFigure& figure) {
  PixelFigure step;
  step.a = figure.a * kPixelsPerInch;
  step.b = figure.b * kPixelsPerInch;
  step.radius = figure.radius * kPixelsPerInch;
  // How far above and below its points the figure may paint.
  double reach = figure.penWidth;
  if (figure.shape == FigureShape::Circle) reach += step.radius;
  if (figure.shape == FigureShape::Text) {
    // The canvas keeps positions in single precision, as it is handed them.
    const QFontMetricsF metrics(figure.font, &surfaceFontDevice());
    const QPointF topLeft(static_cast<float>(figure.a.x()) * kPixelsPerInch,
                          static_cast<float>(figure.a.y()) * kPixelsPerInch);
    step.a = QPointF(topLeft.x(), topLeft.y() + metrics.ascent());
    step.b = QPointF(step.a.x(), step.a.y() + metrics.descent());
    reach = metrics.height();
  }
  const double top = std::min(step.a.y(), step.b.y()) - reach - 2;
  const double bottom = std::max(step.a.y(), step.b.y()) + reach + 2;
  step.firstRow = static_cast<int>(std::floor(std::max(top, -1.0)));
  step.lastRow = static_cast<int>(std::ceil(std::min(bottom, double(figure.drawnHeight) + 1)));
  step.paintedWhole = figure.shape == FigureShape::Circle ||
                      (figure.shape == FigureShape::Line && step.a.x() != step.b.x() && step.a.y() != step.b.y());
  return step;
}

std::vector<PixelFigure> inPixels(const CamDrawing& drawing) {
  std::vector<PixelFigure> steps;
  steps.reserve(drawing.figures().size());
  for (const DrawnFigure& figure : drawing.figures()) steps.push_back(inPixels(figure));
  return steps;
}

// The same painter calls, figure for figure, whatever the picture is painted on.
void paintFigure(QPainter& painter, const DrawnFigure& figure, const PixelFigure& step, double fontScale = 1.0) {
  switch (figure.shape) {
    case FigureShape::Point:
      painter.setPen(QPen(figure.colour, figure.penWidth, Qt::SolidLine, Qt::RoundCap));
      painter.drawPoint(step.a);
      break;
    case FigureShape::Line:
      painter.setPen(QPen(figure.colour, figure.penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      painter.drawLine(step.a, step.b);
      break;
    case FigureShape::Circle:
      painter.setPen(QPen(figure.colour, figure.penWidth));
      painter.setBrush(Qt::NoBrush);
      painter.drawEllipse(step.a, step.radius, step.radius);
      break;
    case FigureShape::Text:
      if (fontScale != 1.0) {
        QFont font = figure.font;
        font.setPointSizeF(figure.font.pointSizeF() * fontScale);
        painter.setFont(font);
      } else {
        painter.setFont(figure.font);
      }
      painter.setPen(figure.colour);
      painter.drawText(step.a, QString::fromStdString(figure.text));
      break;
  }
}

}  // namespace

bool rasteriseInBands(const CamDrawing& drawing, int bandRows,
                      const std::function<bool(const QImage& band, int top)>& take) {
  const QSize size = drawing.pixelSize();
  const int width = size.width();
  const int height = size.height();
  bandRows = std::max(bandRows, 1);
  const std::vector<DrawnFigure>& figures = drawing.figures();
  const std::vector<MirrorEvent>& mirrors = drawing.mirrors();
  const std::vector<PixelFigure> steps = inPixels(drawing);
  std::vector<const PixelFigure*> tall;  // painted whole and taller than half a band
  for (const PixelFigure& step : steps)
    if (step.paintedWhole && step.lastRow - step.firstRow > bandRows / 2) tall.push_back(&step);
  QImage band;
  for (int bottom = height, top = 0; bottom > 0; bottom = top) {
    // A band ends where no tall figure that must be painted whole crosses it,
    // so such a figure is painted once; short ones it cuts widen the band below.
    top = std::max(bottom - bandRows, 0);
    for (bool moved = true; moved && top > 0;) {
      moved = false;
      for (const PixelFigure* step : tall)
        if (step->firstRow < top && step->lastRow >= top) {
          top = std::max(step->firstRow, 0);
          moved = true;
        }
    }
    int paintTop = top;
    int paintBottom = bottom;
    for (const PixelFigure& step : steps)
      if (step.paintedWhole && step.lastRow >= top && step.firstRow < bottom) {
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
    std::size_t nextMirror = 0;
    // The figures drawn so far, mirrored as pixels, as the whole picture would be.
    const auto mirrorUpTo = [&](std::size_t figure) {
      for (; nextMirror < mirrors.size() && std::size_t(mirrors[nextMirror].figuresBefore) <= figure; ++nextMirror) {
        painter.end();
        mirrorRows(band, mirrors[nextMirror].clip.width(), mirrors[nextMirror].clip.height() - paintTop);
        painter.begin(&band);
        painter.translate(0, -paintTop);
      }
    };
    for (std::size_t i = 0; i < figures.size(); ++i) {
      mirrorUpTo(i);
      const PixelFigure& step = steps[i];
      if (step.lastRow < paintTop || step.firstRow >= paintBottom) continue;
      const DrawnFigure& figure = figures[i];
      const bool clipped = figure.clip != size;
      if (clipped) painter.setClipRect(QRect(QPoint(0, 0), figure.clip));
      paintFigure(painter, figure, step);
      if (clipped) painter.setClipping(false);
    }
    mirrorUpTo(figures.size());
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

QImage rasterise(const CamDrawing& drawing) {
  QImage image;
  rasteriseInBands(drawing, drawing.pixelSize().height(), [&](const QImage& band, int) {
    image = band;
    return true;
  });
  return image;
}

void paintOnScreen(const CamDrawing& drawing, QPainter& painter, const QRect& area) {
  const std::vector<DrawnFigure>& figures = drawing.figures();
  const std::vector<MirrorEvent>& mirrors = drawing.mirrors();
  // Each figure drawn before a mirror is mirrored by every mirror after it.
  std::vector<QTransform> placed(figures.size());
  QTransform after;
  std::size_t mirror = mirrors.size();
  for (std::size_t i = figures.size(); i-- > 0;) {
    for (; mirror > 0 && std::size_t(mirrors[mirror - 1].figuresBefore) > i; --mirror)
      after = QTransform(-1, 0, 0, 1, mirrors[mirror - 1].clip.width(), 0) * after;
    placed[i] = after;
  }
  // Fonts are sized for the picture's 96 pixels per inch.
  const double fontScale = kPixelsPerInch / painter.device()->logicalDpiY();
  painter.save();
  painter.setClipRect(area);
  const QTransform base = painter.transform();
  for (std::size_t i = 0; i < figures.size(); ++i) {
    painter.setTransform(placed[i] * base);
    paintFigure(painter, figures[i], inPixels(figures[i]), fontScale);
  }
  painter.restore();
}

}  // namespace korvel
