#include "render/drawing_raster.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>

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

// Exchanges each pixel left to right - 1 of a row with its mirror image about
// the middle of the row's first width pixels, four at a time where the
// processor can; right is at most the middle.
void swapWithMirror(QRgb* row, int width, int left, int right) {
  QRgb* a = row + left;
  QRgb* b = row + (width - left);  // one past the partner of a
  QRgb* const end = row + right;
#ifdef __SSE2__
  while (end - a >= 4) {
    b -= 4;
    const __m128i l = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a)), 0x1B);
    const __m128i r = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(b)), 0x1B);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(a), r);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(b), l);
    a += 4;
  }
#endif
  for (; a < end; ++a) std::swap(*a, *--b);
}

struct Span {
  int left;
  int right;
};

// Mirrors the first width pixels of each of the band's first rows, touching
// only the pixels drawn on and their mirror images: the rest is white either way.
void mirrorRows(QImage& band, InkedTiles& inked, int width, int rows) {
  width = std::min(width, band.width());
  rows = std::min(rows, band.height());
  std::vector<Span> drawn;
  std::vector<Span> pairs;
  for (int y = 0; y < rows; ++y) {
    drawn.clear();
    inked.forEachRun(y, [&](int left, int right) { drawn.push_back({left, right}); });
    if (drawn.empty()) continue;
    pairs.clear();
    for (const Span& span : drawn)
      if (span.left < width) {
        const int right = std::min(span.right, width);
        pairs.push_back({span.left, right});
        pairs.push_back({width - right, width - span.left});
      }
    std::sort(pairs.begin(), pairs.end(), [](const Span& p, const Span& q) { return p.left < q.left; });
    QRgb* row = reinterpret_cast<QRgb*>(band.scanLine(y));
    // Each pair of pixels exchanged once, from its left one.
    for (std::size_t i = 0; i < pairs.size();) {
      Span merged = pairs[i];
      for (++i; i < pairs.size() && pairs[i].left <= merged.right; ++i)
        merged.right = std::max(merged.right, pairs[i].right);
      merged.right = std::min(merged.right, width / 2);
      if (merged.left < merged.right) swapWithMirror(row, width, merged.left, merged.right);
    }
    inked.clearRow(y);
    for (const Span& span : drawn) {
      if (span.left < width) inked.mark(y, width - std::min(span.right, width), width - span.left);
      if (span.right > width) inked.mark(y, std::max(span.left, width), span.right);
    }
  }
}

// Whitens what was drawn on, ready for the next band.
void whiten(QImage& band, InkedTiles& inked) {
  for (int y = 0; y < inked.rows(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(band.scanLine(y));
    inked.forEachRun(y, [&](int left, int right) { std::fill(row + left, row + right, QRgb(0xFFFFFFFF)); });
    inked.clearRow(y);
  }
}

// A figure in the picture's pixels, with the rows it may touch.
struct PixelFigure {
  QPointF a;  // point, line start, circle centre, start of the text's base line
  QPointF b;  // line end
  double radius = 0.0;
  int firstRow = 0;
  int lastRow = 0;
  QRect ink;  // the pixels it may touch, with a margin, for the bitmap's bands
  // A sloping line or a circle cut off at the edge of a band is stepped from
  // where it was cut, and may then fall on other pixels than in the whole
  // picture: its band is painted tall enough to hold all of it.
  bool paintedWhole = false;
};

// Text is measured with metrics of its font where given.
PixelFigure inPixels(const DrawnFigure& figure, const QFontMetricsF* fontMetrics = nullptr) {
  PixelFigure step;
  step.a = figure.a * kPixelsPerInch;
  step.b = figure.b * kPixelsPerInch;
  step.radius = figure.radius * kPixelsPerInch;
  // How far above and below its points the figure may paint.
  double reach = figure.penWidth;
  if (figure.shape == FigureShape::Circle) reach += step.radius;
  if (figure.shape == FigureShape::Text) {
    // The canvas keeps positions in single precision, as it is handed them.
    const QFontMetricsF metrics = fontMetrics ? *fontMetrics : QFontMetricsF(figure.font, &surfaceFontDevice());
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

// The pixels a figure may touch: its pen's reach around its points, or its
// text's ink from its base line, and a margin for the rasteriser's rounding.
QRect inkOf(const DrawnFigure& figure, const PixelFigure& step, const QFontMetricsF* metrics) {
  constexpr double kMargin = 3;
  QRectF ink;
  if (figure.shape == FigureShape::Text) {
    ink = metrics->boundingRect(QString::fromStdString(figure.text)).translated(step.a);
  } else {
    const double reach = figure.penWidth + (figure.shape == FigureShape::Circle ? step.radius : 0.0);
    ink = QRectF(step.a, step.b).normalized().adjusted(-reach, -reach, reach, reach);
  }
  ink.adjust(-kMargin, -kMargin, kMargin, kMargin);
  const auto pixel = [](double v) { return static_cast<int>(std::clamp(v, -1e6, 1e6)); };
  return QRect(QPoint(pixel(std::floor(ink.left())), pixel(std::floor(ink.top()))),
               QPoint(pixel(std::ceil(ink.right())), pixel(std::ceil(ink.bottom()))));
}

// Every figure in the picture's pixels, with the pixels it may touch.
std::vector<PixelFigure> inPixels(const CamDrawing& drawing) {
  std::vector<PixelFigure> steps;
  steps.reserve(drawing.figures().size());
  // The texts of a drawing share a font or two, and metrics are slow to make.
  std::optional<QFontMetricsF> metrics;
  QFont measured;
  for (const DrawnFigure& figure : drawing.figures()) {
    if (figure.shape == FigureShape::Text && (!metrics || figure.font != measured)) {
      metrics.emplace(figure.font, &surfaceFontDevice());
      measured = figure.font;
    }
    steps.push_back(inPixels(figure, metrics ? &*metrics : nullptr));
    steps.back().ink = inkOf(figure, steps.back(), metrics ? &*metrics : nullptr);
  }
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

bool rasteriseInBands(const CamDrawing& drawing, int bandRows, const std::function<bool(const PictureBand& band)>& take) {
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
  // Where each band lies, the bottom band first, and the rows painted for it.
  struct Band {
    int top;
    int bottom;
    int paintTop;
    int paintBottom;
  };
  std::vector<Band> plan;
  int tallestPainted = 1;
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
    plan.push_back({top, bottom, paintTop, paintBottom});
    tallestPainted = std::max(tallestPainted, paintBottom - paintTop);
  }
  // One white layer for every band, as tall as the tallest, whitened again
  // only where a band drew.
  QImage layer = blankLayer(width, tallestPainted);
  InkedTiles inked;
  inked.reset(layer.height(), width);
  // The band is the layer's first rows, so painting is clipped where it ends;
  // kept while its height stays, as a painter is slow to set up on a new image.
  QImage band;
  for (const Band& planned : plan) {
    // Copied out: clang before 16 cannot capture a structured binding in a lambda.
    const int top = planned.top;
    const int bottom = planned.bottom;
    const int paintTop = planned.paintTop;
    const int paintBottom = planned.paintBottom;
    const int rows = paintBottom - paintTop;
    whiten(layer, inked);
    if (band.height() != rows) {
      band = QImage(layer.bits(), width, rows, layer.bytesPerLine(), QImage::Format_RGB32);
      band.setDotsPerMeterX(kSurfaceDotsPerMetre);
      band.setDotsPerMeterY(kSurfaceDotsPerMetre);
    }
    QPainter painter(&band);
    painter.translate(0, -paintTop);
    std::size_t nextMirror = 0;
    // The figures drawn so far, mirrored as pixels, as the whole picture would be.
    const auto mirrorUpTo = [&](std::size_t figure) {
      for (; nextMirror < mirrors.size() && std::size_t(mirrors[nextMirror].figuresBefore) <= figure; ++nextMirror) {
        painter.end();
        mirrorRows(band, inked, mirrors[nextMirror].clip.width(), mirrors[nextMirror].clip.height() - paintTop);
        painter.begin(&band);
        painter.translate(0, -paintTop);
      }
    };
    for (std::size_t i = 0; i < figures.size(); ++i) {
      mirrorUpTo(i);
      const PixelFigure& step = steps[i];
      if (step.lastRow < paintTop || step.firstRow >= paintBottom) continue;
      const DrawnFigure& figure = figures[i];
      const int lastInkedRow = std::min({step.ink.bottom(), paintBottom - 1, figure.clip.height() - 1});
      const int rightColumn = std::min(step.ink.right() + 1, figure.clip.width());
      for (int y = std::max(step.ink.top(), paintTop); y <= lastInkedRow; ++y)
        inked.mark(y - paintTop, step.ink.left(), rightColumn);
      const bool clipped = figure.clip != size;
      if (clipped) painter.setClipRect(QRect(QPoint(0, 0), figure.clip));
      paintFigure(painter, figure, step);
      if (clipped) painter.setClipping(false);
    }
    mirrorUpTo(figures.size());
    painter.end();
    // The whole layer is handed over as itself, so the whole picture is not copied.
    const bool whole = layer.height() == rows && paintTop == top && paintBottom == bottom;
    const QImage rowsTaken = whole ? layer
                                   : QImage(band.constScanLine(top - paintTop), width, bottom - top,
                                            band.bytesPerLine(), QImage::Format_RGB32);
    if (!take({rowsTaken, top, &inked, top - paintTop})) return false;
  }
  return true;
}

QImage rasterise(const CamDrawing& drawing) {
  QImage image;
  rasteriseInBands(drawing, drawing.pixelSize().height(), [&](const PictureBand& band) {
    image = band.pixels;
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
