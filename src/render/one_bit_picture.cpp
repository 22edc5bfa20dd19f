#include "render/one_bit_picture.h"

#include <QPainter>
#include <QTransform>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <future>
#include <vector>

#include "render/awake_helper.h"
#include "render/inked_tiles.h"
#include "render/pixel_figures.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// A picture of black figures at one bit a pixel. QPainter cannot paint one
// bit a pixel safely (Qt 6.4 splits such fills across threads that share
// bytes), so the figures are painted onto a white RGB32 layer as wide as the
// picture and a few hundred rows tall, placed where they fall; the pixels they
// may have touched are then cleared to black in the one-bit picture where they
// are black, and whitened again on the layer. Black over black is black, so
// figures combine by clearing bits, and a mirror turns the bits drawn so far.
// A picture of a few hundred rows or more is painted in two halves at once,
// on two threads with a layer each: a figure across the middle is painted by
// both, each reading its own rows. Their texts share fonts by copy, which Qt
// allows across threads.
namespace korvel {
namespace {

constexpr int kWhiteIndex = 1;
// The layer holds about this many pixels, a megabyte, unless a figure that
// must be painted whole needs more rows; a horizontal or vertical line, a
// point or a text taller than the layer is painted a piece at a time.
constexpr int kLayerPixels = 256 * 1024;
constexpr QRgb kWhite = 0xFFFFFFFF;
// A figure at most this wide is marked by its box rather than row by row.
constexpr int kNarrowPixels = 2 * InkedTiles::kTilePixels;
// A picture at least this tall is painted in two halves at once.
constexpr int kRowsSplit = 256;
// Pixels packed at a time.
constexpr int kPackedPixels = 16;

// The bits of a byte in the opposite order: packing gathers the leftmost
// pixel into the least significant bit, the file wants it in the most.
constexpr std::array<std::uint8_t, 256> kReversedBits = [] {
  std::array<std::uint8_t, 256> reversed{};
  for (int b = 0; b < 256; ++b)
    for (int bit = 0; bit < 8; ++bit)
      if (b >> bit & 1) reversed[std::size_t(b)] |= static_cast<std::uint8_t>(0x80 >> bit);
  return reversed;
}();

// Clears the bit of each black pixel of pixels left to right - 1 of a layer
// row (left a multiple of eight) in the one-bit row, and whitens those pixels
// again on the layer; false when a pixel is neither black nor white.
bool blackenInto(QRgb* pixel, int left, int right, uchar* bits) {
  int x = left;
  QRgb worst = 0;
#ifdef __SSE2__
  // Sixteen pixels at a time: each compared with white and with black, the
  // answers narrowed to a byte a pixel and gathered as bits.
  const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
  const __m128i white = _mm_set1_epi32(static_cast<int>(kWhite));
  const __m128i zero = _mm_setzero_si128();
  const auto at = [&](int p) { return reinterpret_cast<__m128i*>(pixel + p); };
  const auto bitsOf = [](__m128i a, __m128i b, __m128i c, __m128i d) {
    return _mm_movemask_epi8(_mm_packs_epi16(_mm_packs_epi32(a, b), _mm_packs_epi32(c, d)));
  };
  for (; x + kPackedPixels <= right; x += kPackedPixels) {
    const __m128i p0 = _mm_and_si128(_mm_loadu_si128(at(x)), colour);
    const __m128i p1 = _mm_and_si128(_mm_loadu_si128(at(x + 4)), colour);
    const __m128i p2 = _mm_and_si128(_mm_loadu_si128(at(x + 8)), colour);
    const __m128i p3 = _mm_and_si128(_mm_loadu_si128(at(x + 12)), colour);
    // Sixteen white pixels, as most around a figure are, stay as they are.
    const __m128i all = _mm_and_si128(_mm_and_si128(p0, p1), _mm_and_si128(p2, p3));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(all, colour)) == 0xFFFF) continue;
    const __m128i w0 = _mm_cmpeq_epi32(p0, colour);
    const __m128i w1 = _mm_cmpeq_epi32(p1, colour);
    const __m128i w2 = _mm_cmpeq_epi32(p2, colour);
    const __m128i w3 = _mm_cmpeq_epi32(p3, colour);
    const int known = bitsOf(_mm_or_si128(w0, _mm_cmpeq_epi32(p0, zero)), _mm_or_si128(w1, _mm_cmpeq_epi32(p1, zero)),
                             _mm_or_si128(w2, _mm_cmpeq_epi32(p2, zero)), _mm_or_si128(w3, _mm_cmpeq_epi32(p3, zero)));
    if (known != 0xFFFF) return false;
    const int whiteBits = bitsOf(w0, w1, w2, w3);
    bits[x / 8] &= kReversedBits[std::size_t(whiteBits & 0xFF)];
    bits[x / 8 + 1] &= kReversedBits[std::size_t(whiteBits >> 8)];
    for (int p = 0; p < kPackedPixels; p += 4) _mm_storeu_si128(at(x + p), white);
  }
#endif
  for (; x < right; ++x) {
    const QRgb p = pixel[x];
    // Adding one to the colour leaves 0 for white, 1 for black and more for any other.
    worst = std::max(worst, (p + 1) & 0xFFFFFF);
    if ((p & 1) == 0) bits[x / 8] &= static_cast<uchar>(~(0x80 >> (x % 8)));
    pixel[x] = kWhite;
  }
  return worst <= 1;
}

std::uint64_t reversedBits(std::uint64_t v) {
  v = ((v >> 1) & 0x5555555555555555u) | ((v & 0x5555555555555555u) << 1);
  v = ((v >> 2) & 0x3333333333333333u) | ((v & 0x3333333333333333u) << 2);
  v = ((v >> 4) & 0x0F0F0F0F0F0F0F0Fu) | ((v & 0x0F0F0F0F0F0F0F0Fu) << 4);
  return qbswap(v);
}

// Mirrors a one-bit row's first width pixels about their middle, 64 at a
// time: Qt's own mirror of a one-bit picture moves a bit at a time when the
// width is not whole bytes, milliseconds for a high-resolution sheet.
class BitRowMirror {
 public:
  explicit BitRowMirror(int width)
      : width_(width), bytes_((width + 7) / 8), words_((width + 63) / 64), pad_(words_ * 64 - width),
        row_(std::size_t(words_) + 1), reversed_(std::size_t(words_) + 1) {}

  void operator()(uchar* row) {
    // What lies past width reads as white, so a white row is seen as one.
    row_.assign(row_.size(), ~std::uint64_t(0));
    uchar* bytes = reinterpret_cast<uchar*>(row_.data());
    std::memcpy(bytes, row, std::size_t(bytes_));
    if (const int bits = width_ % 8) bytes[bytes_ - 1] |= static_cast<uchar>(0xFF >> bits);
    bool white = true;
    for (std::uint64_t& word : row_) {
      word = qFromBigEndian(word);  // the leftmost pixel in the most significant bit
      white = white && word == ~std::uint64_t(0);
    }
    if (white) return;  // as the rows between the cams of a sheet are
    // Reversed, the row's pixels start pad bits in; shifted left to the start.
    for (int k = 0; k < words_; ++k) reversed_[std::size_t(k)] = reversedBits(row_[std::size_t(words_ - 1 - k)]);
    reversed_[std::size_t(words_)] = 0;
    for (int k = 0; k < words_; ++k) {
      std::uint64_t word = reversed_[std::size_t(k)] << pad_;
      if (pad_ != 0) word |= reversed_[std::size_t(k) + 1] >> (64 - pad_);
      row_[std::size_t(k)] = qToBigEndian(word);
    }
    // The pixels after width, in the last byte it touches, stay as they were.
    const int wholeBytes = width_ / 8;
    std::memcpy(row, bytes, std::size_t(wholeBytes));
    if (const int bits = width_ % 8) {
      const auto kept = static_cast<uchar>(0xFF >> bits);
      row[wholeBytes] = static_cast<uchar>((bytes[wholeBytes] & ~kept) | (row[wholeBytes] & kept));
    }
  }

 private:
  int width_;
  int bytes_;
  int words_;
  int pad_;
  std::vector<std::uint64_t> row_;
  std::vector<std::uint64_t> reversed_;
};

// The one-bit picture's rows, and those of them one painter reads into.
struct BitRows {
  uchar* pixels;
  qsizetype stride;
  QSize size;
  int first;  // the rows read, first to last
  int last;
  uchar* row(int y) const { return pixels + std::ptrdiff_t(y) * stride; }
};

// Mirrors the left part of the rows read, those within clip.
void mirrorLeftPart(const BitRows& bits, QSize clip) {
  clip = clip.boundedTo(bits.size);
  if (clip.width() <= 1) return;
  BitRowMirror mirror(clip.width());
  for (int y = bits.first; y <= std::min(bits.last, clip.height() - 1); ++y) mirror(bits.row(y));
}

// White RGB32 rows kept between pictures. Every figure's pixels are
// whitened again once read, so they are white whenever no picture is being
// painted: making and whitening the 7 MB of a high-resolution sheet's layer
// afresh took a tenth of its time.
class WhiteRows {
 public:
  // A white layer of the size on the kept rows, valid until the next call.
  QImage layer(int width, int rows) {
    if (kept_.width() < width || kept_.height() < rows) {
      kept_ = QImage(std::max(width, kept_.width()), std::max(rows, kept_.height()), QImage::Format_RGB32);
      kept_.fill(Qt::white);
    }
    QImage layer(kept_.bits(), width, rows, kept_.bytesPerLine(), QImage::Format_RGB32);
    layer.setDotsPerMeterX(kSurfaceDotsPerMetre);  // so font points map to pixels
    layer.setDotsPerMeterY(kSurfaceDotsPerMetre);
    return layer;
  }
  // After a picture given up half way.
  void whiten() { kept_.fill(Qt::white); }

 private:
  QImage kept_;
};

thread_local WhiteRows whiteRows;

// The rows a layer of the given height shows when painted from top, kept
// within the picture so that the picture's own edges cut the figures.
int layerTop(int row, int layerRows, int height) { return std::clamp(row, 0, std::max(height - layerRows, 0)); }

// The layer's rows as a window on the picture. Figures are painted into it
// while they fit, the tiles they may have inked are marked, and it is read
// into the one-bit picture and whitened before it moves, before a mirror and
// once 128 kB of it is inked, so that it is read while still in the
// processor's cache.
class LayerWindow {
 public:
  LayerWindow(QImage& layer, const BitRows& bits) : rows_(layer.height()), layerPixels_(layer.bits()),
        layerStride_(layer.bytesPerLine()), bits_(bits) {
    inked_.reset(rows_, layer.width());
  }

  int top() const { return top_; }
  // Whether the picture's rows first to last lie in the window.
  bool holds(int first, int last) const { return placed_ && first >= top_ && last < top_ + rows_; }
  void place(int top) {
    top_ = top;
    placed_ = true;
  }
  // Pixels left to right - 1 of the picture's rows first to last, all in
  // the window, may have been drawn on.
  void mark(int first, int last, int left, int right) {
    if (left >= right || first > last) return;
    inked_.mark(first - top_, last - top_, left, right);
    inkedPixels_ += qsizetype(right - left) * (last - first + 1);
    firstInked_ = std::min(firstInked_, first - top_);
    lastInked_ = std::max(lastInked_, last - top_);
  }
  bool full() const { return inkedPixels_ >= kInkedPixelsRead; }

  // Reads the marked tiles into the one-bit picture, whitened again; false
  // when a pixel was neither black nor white.
  bool read() {
    bool blackAndWhite = true;
    if (inkedPixels_ == 0) return blackAndWhite;
    for (int r = firstInked_; r <= lastInked_; ++r) {
      auto* row = reinterpret_cast<QRgb*>(layerPixels_ + std::ptrdiff_t(r) * layerStride_);
      const int y = top_ + r;
      if (y < bits_.first || y > bits_.last) {
        // Another painter reads this row: only whitened again.
        inked_.forEachRun(r, [&](int left, int right) { std::fill(row + left, row + right, kWhite); });
      } else {
        uchar* bitRow = bits_.row(y);
        inked_.forEachRun(r, [&](int left, int right) {
          blackAndWhite = blackenInto(row, left, right, bitRow) && blackAndWhite;
        });
      }
      inked_.clearRow(r);
    }
    inkedPixels_ = 0;
    firstInked_ = rows_;
    lastInked_ = -1;
    return blackAndWhite;
  }

 private:
  static constexpr qsizetype kInkedPixelsRead = 32 * 1024;
  int rows_;
  uchar* layerPixels_;
  qsizetype layerStride_;
  BitRows bits_;
  InkedTiles inked_;
  qsizetype inkedPixels_ = 0;
  int firstInked_ = rows_;  // the window's rows marked, if any
  int lastInked_ = -1;
  int top_ = 0;
  bool placed_ = false;
};

// Whether every figure is black and every text unsmoothed, so that the
// picture holds black and white only.
bool drawnInBlack(const CamDrawing& drawing) {
  return std::all_of(drawing.figures().begin(), drawing.figures().end(), [&](const DrawnFigure& figure) {
    return figure.colour.rgba() == blackAndWhitePalette()[0] &&
           (figure.shape != FigureShape::Text || (drawing.font(figure).styleStrategy() & QFont::NoAntialias));
  });
}

// Paints the figures that reach the rows bits reads onto this thread's
// white layer and reads those rows; false when a pixel was neither black
// nor white.
bool paintRows(const CamDrawing& drawing, const std::vector<PixelFigure>& steps, int layerRows, const BitRows& bits) {
  const QSize size = bits.size;
  const int width = size.width();
  const int height = size.height();
  const std::vector<DrawnFigure>& figures = drawing.figures();
  const std::vector<MirrorEvent>& mirrors = drawing.mirrors();
  QImage layer = whiteRows.layer(width, layerRows);
  QPainter painter(&layer);
  LineRun lines(painter);
  LayerWindow window(layer, bits);
  int paintedFrom = 0;  // the picture's row at the top of the painter's layer
  bool blackAndWhite = true;  // every pixel painted black or left white
  const auto readWindow = [&] {
    lines.paint();
    blackAndWhite = window.read() && blackAndWhite;
  };
  std::size_t nextMirror = 0;
  for (std::size_t i = 0; i <= figures.size() && blackAndWhite; ++i) {
    for (; nextMirror < mirrors.size() && std::size_t(mirrors[nextMirror].figuresBefore) <= i; ++nextMirror) {
      readWindow();
      mirrorLeftPart(bits, mirrors[nextMirror].clip);
    }
    if (i == figures.size()) break;
    const PixelFigure& step = steps[i];
    const int firstRow = std::max(step.firstRow, 0);
    const int lastRow = std::min(step.lastRow, height - 1);
    // Another painter reads the rows this figure reaches.
    if (std::max(firstRow, step.ink.top()) > bits.last || std::min(lastRow, step.ink.bottom()) < bits.first) continue;
    const DrawnFigure& figure = figures[i];
    const QRect clip = QRect(QPoint(0, 0), figure.clip) & QRect(QPoint(0, 0), size);
    // A text is painted within its ink box only, so that nothing past the
    // box stays on the layer unread.
    const QRect painted = figure.shape == FigureShape::Text ? clip & step.ink : clip;
    if (painted.isEmpty() || step.ink.isEmpty() || firstRow > lastRow) continue;
    const bool clipped = painted != QRect(QPoint(0, 0), size);
    const InkAlongRows along(figure, step);
    // A figure within a tile or two across, as a cam's short segments are,
    // is marked as its box: the same tiles, or one more, for less work.
    const bool boxed = along.wholeBox() || step.ink.width() <= kNarrowPixels;
    // A figure painted whole is placed whole; any other only over the rows read.
    const int fromRow = step.paintedWhole ? firstRow : std::max(firstRow, bits.first);
    const int toRow = step.paintedWhole ? lastRow : std::min(lastRow, bits.last);
    if (!window.holds(fromRow, toRow)) {
      readWindow();
      window.place(layerTop(fromRow, layerRows, height));
    }
    // A figure taller than the layer, never one that must be painted whole,
    // a piece at a time.
    for (;;) {
      const int top = window.top();
      // Moved only with the window: setting it is not free.
      if (top != paintedFrom) {
        lines.paint();
        painter.setTransform(QTransform::fromTranslate(0, -top));
      }
      paintedFrom = top;
      if (figure.shape == FigureShape::Line && !clipped) {
        lines.add(figure, step);
      } else {
        lines.paint();
        if (clipped) painter.setClipRect(painted);
        paintFigure(painter, drawing, figure, step);
        if (clipped) painter.setClipping(false);
      }
      const int first = std::max(step.ink.top(), top);
      const int last = std::min(step.ink.bottom(), top + layerRows - 1);
      if (boxed) {
        window.mark(first, last, std::max(step.ink.left(), 0), std::min(step.ink.right() + 1, width));
      } else {
        for (int y = first; y <= last; ++y)
          along.forEachRun(y, [&](int left, int right) { window.mark(y, y, std::max(left, 0), std::min(right, width)); });
      }
      const int next = top + layerRows;
      if (next > toRow) break;
      readWindow();
      window.place(layerTop(next, layerRows, height));
    }
    if (window.full()) readWindow();
  }
  readWindow();
  if (!blackAndWhite) {
    painter.end();
    whiteRows.whiten();
  }
  return blackAndWhite;
}

}  // namespace

const QList<QRgb>& blackAndWhitePalette() {
  static const QList<QRgb> palette{qRgb(0, 0, 0), qRgb(255, 255, 255)};
  return palette;
}

void wakeLowerRowsPainter(std::function<void()> first) { AwakeHelper::shared().wake(std::move(first)); }

QImage rasteriseOneBit(const CamDrawing& drawing) {
  if (!drawnInBlack(drawing)) return {};
  const QSize size = drawing.pixelSize().expandedTo(QSize(1, 1));
  const int width = size.width();
  const int height = size.height();
  QImage bits(size, QImage::Format_Mono);
  bits.setColorTable(blackAndWhitePalette());
  bits.setDotsPerMeterX(kSurfaceDotsPerMetre);
  bits.setDotsPerMeterY(kSurfaceDotsPerMetre);
  bits.fill(kWhiteIndex);

  const std::vector<PixelFigure> steps = inPixels(drawing);
  // Tall enough for the tallest figure that must be painted whole.
  int layerRows = kLayerPixels / width;
  for (const PixelFigure& step : steps)
    if (step.paintedWhole) layerRows = std::max(layerRows, step.lastRow - step.firstRow + 1);
  layerRows = std::clamp(layerRows, 1, height);
  const BitRows all{bits.bits(), bits.bytesPerLine(), size, 0, height - 1};
  if (height < kRowsSplit) return paintRows(drawing, steps, layerRows, all) ? bits : QImage();
  // The upper and lower halves are painted at once, each on its own layer.
  const int split = height / 2;
  std::promise<bool> lowerDone;
  std::future<bool> lower = lowerDone.get_future();
  AwakeHelper::shared().run([&] {
    lowerDone.set_value(paintRows(drawing, steps, layerRows, {all.pixels, all.stride, size, split, height - 1}));
  });
  const bool upper = paintRows(drawing, steps, layerRows, {all.pixels, all.stride, size, 0, split - 1});
  waitAwake([&] { return lower.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
  return lower.get() && upper ? bits : QImage();
}

}  // namespace korvel
