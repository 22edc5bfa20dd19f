#include "render/drawing_raster.h"

#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <utility>

#include "render/pixel_figures.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace korvel {

namespace {

// Exchanges each pixel of the row's first half with its mirror image about
// the middle of the row's first width pixels, four at a time where the
// processor can.
void mirrorPixels(QRgb* row, int width) {
  QRgb* a = row;
  QRgb* b = row + width;  // one past the partner of a
  QRgb* const end = row + width / 2;
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

}  // namespace

QImage rasterise(const CamDrawing& drawing) {
  const QSize size = drawing.pixelSize();
  QImage picture(std::max(size.width(), 1), std::max(size.height(), 1), QImage::Format_RGB32);
  // The surface's own pixels per inch, so font points map to pixels.
  picture.setDotsPerMeterX(kSurfaceDotsPerMetre);
  picture.setDotsPerMeterY(kSurfaceDotsPerMetre);
  picture.fill(Qt::white);
  const std::vector<DrawnFigure>& figures = drawing.figures();
  const std::vector<MirrorEvent>& mirrors = drawing.mirrors();
  const std::vector<PixelFigure> steps = inPixels(drawing);
  QPainter painter(&picture);
  std::size_t nextMirror = 0;
  for (std::size_t i = 0; i <= figures.size(); ++i) {
    // The figures drawn so far turned over as pixels, as the surface was.
    for (; nextMirror < mirrors.size() && std::size_t(mirrors[nextMirror].figuresBefore) <= i; ++nextMirror) {
      const QSize clip = mirrors[nextMirror].clip.boundedTo(picture.size());
      for (int y = 0; y < clip.height(); ++y)
        mirrorPixels(reinterpret_cast<QRgb*>(picture.scanLine(y)), clip.width());
    }
    if (i == figures.size()) break;
    const bool clipped = figures[i].clip != size;
    if (clipped) painter.setClipRect(QRect(QPoint(0, 0), figures[i].clip));
    paintFigure(painter, drawing, figures[i], steps[i]);
    if (clipped) painter.setClipping(false);
  }
  return picture;
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
  const std::vector<PixelFigure> steps = inPixels(drawing);
  painter.save();
  painter.setClipRect(area);
  const QTransform base = painter.transform();
  for (std::size_t i = 0; i < figures.size(); ++i) {
    painter.setTransform(placed[i] * base);
    paintFigure(painter, drawing, figures[i], steps[i], fontScale);
  }
  painter.restore();
}

}  // namespace korvel
