#include "export/bitmap_file.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <functional>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "common/atomic_file.h"
#include "render/drawing_raster.h"

namespace korvel {

namespace {

constexpr int kInfoHeaderBytes = 40;
constexpr int kFileHeaderBytes = 14 + kInfoHeaderBytes;
// Rows are handed to the file in pieces of about this size: a high-resolution
// sheet is never held in memory a second time.
constexpr qsizetype kChunkBytes = 64 * 1024;
// A drawing is rasterised about this many pixels at a time: a megabyte, and
// a narrow sheet in few bands, so that few of its texts are laid out twice.
constexpr int kBandPixels = 256 * 1024;

void put16(QByteArray& bytes, quint16 v) {
  char le[2];
  qToLittleEndian(v, le);
  bytes.append(le, 2);
}
void put32(QByteArray& bytes, quint32 v) {
  char le[4];
  qToLittleEndian(v, le);
  bytes.append(le, 4);
}

// One row, left pixel first, into its place in the file; false when the
// row's pixels cannot be written in this form.
using RowPacker = bool (*)(const QRgb* pixel, int width, char* row);

// Pixels of the row from x on, one bit each, and whether each was black or
// white; a pixel of any other colour makes the row unfit for one bit.
bool packRemaining(const QRgb* pixel, int x, int width, char* row) {
  QRgb worst = 0;
  for (; x < width; x += 8) {
    const int count = std::min(8, width - x);
    unsigned bits = 0;
    for (int bit = 0; bit < count; ++bit) {
      const QRgb p = pixel[x + bit];
      // Adding one to the colour leaves 0 for white, 1 for black and more for any other.
      worst = std::max(worst, (p + 1) & 0xFFFFFF);
      bits |= (p & 1u) << (7 - bit);
    }
    row[x / 8] = static_cast<char>(bits);
  }
  return worst <= 1;
}

// White is a set bit, the leftmost pixel the most significant bit.
bool packMonochrome(const QRgb* pixel, int width, char* row) {
  int x = 0;
#ifdef __SSE2__
  // Sixteen pixels at a time: each compared with white and with black, the
  // answers narrowed to a byte a pixel and gathered as bits.
  static constexpr auto kReversed = [] {
    std::array<unsigned char, 256> reversed{};
    for (int b = 0; b < 256; ++b)
      for (int bit = 0; bit < 8; ++bit)
        if (b >> bit & 1) reversed[std::size_t(b)] |= static_cast<unsigned char>(0x80 >> bit);
    return reversed;
  }();
  const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
  const __m128i zero = _mm_setzero_si128();
  const auto load = [&](int at) {
    return _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pixel + at)), colour);
  };
  // One bit a pixel, from four masks of four pixels each.
  const auto bitsOf = [](__m128i a, __m128i b, __m128i c, __m128i d) {
    return _mm_movemask_epi8(_mm_packs_epi16(_mm_packs_epi32(a, b), _mm_packs_epi32(c, d)));
  };
  for (; x + 16 <= width; x += 16) {
    const __m128i p0 = load(x);
    const __m128i p1 = load(x + 4);
    const __m128i p2 = load(x + 8);
    const __m128i p3 = load(x + 12);
    // Sixteen white pixels, as most of a cam sheet is.
    const __m128i all = _mm_and_si128(_mm_and_si128(p0, p1), _mm_and_si128(p2, p3));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(all, colour)) == 0xFFFF) {
      row[x / 8] = static_cast<char>(0xFF);
      row[x / 8 + 1] = static_cast<char>(0xFF);
      continue;
    }
    const __m128i w0 = _mm_cmpeq_epi32(p0, colour);
    const __m128i w1 = _mm_cmpeq_epi32(p1, colour);
    const __m128i w2 = _mm_cmpeq_epi32(p2, colour);
    const __m128i w3 = _mm_cmpeq_epi32(p3, colour);
    const int known = bitsOf(_mm_or_si128(w0, _mm_cmpeq_epi32(p0, zero)), _mm_or_si128(w1, _mm_cmpeq_epi32(p1, zero)),
                             _mm_or_si128(w2, _mm_cmpeq_epi32(p2, zero)), _mm_or_si128(w3, _mm_cmpeq_epi32(p3, zero)));
    if (known != 0xFFFF) return false;
    const int white = bitsOf(w0, w1, w2, w3);
    row[x / 8] = static_cast<char>(kReversed[std::size_t(white & 0xFF)]);
    row[x / 8 + 1] = static_cast<char>(kReversed[std::size_t(white >> 8)]);
  }
#endif
  return packRemaining(pixel, x, width, row);
}

bool packTrueColour(const QRgb* pixel, int width, char* row) {
  for (int x = 0; x < width; ++x) {
    *row++ = static_cast<char>(qBlue(pixel[x]));
    *row++ = static_cast<char>(qGreen(pixel[x]));
    *row++ = static_cast<char>(qRed(pixel[x]));
  }
  return true;
}

struct Layout {
  int bitsPerPixel;  // 1 or 24
  qsizetype rowBytes;  // padded to four bytes
  int paletteEntries;
  RowPacker pack;
};

Layout monochrome(int width) { return {1, (qsizetype(width) + 31) / 32 * 4, 2, packMonochrome}; }
Layout trueColour(int width) { return {24, (qsizetype(width) * 3 + 3) / 4 * 4, 0, packTrueColour}; }

// The picture's size and resolution, and how it hands over its rows: a band
// at a time, the bottom band first.
struct PictureRows {
  int width;
  int height;
  int dotsPerMetreX;
  int dotsPerMetreY;
  std::function<bool(const std::function<bool(const PictureBand& band)>& take)> bands;
};

// A white row as the file holds it: what every row starts as where the band
// says where it was drawn on.
QByteArray whiteRow(int width, const Layout& layout) {
  const std::vector<QRgb> white(std::size_t(width), QRgb(0xFFFFFFFF));
  QByteArray row(layout.rowBytes, '\0');
  layout.pack(white.data(), width, row.data());
  return row;
}

// One row of a band into its place in the file.
bool packRow(const PictureBand& band, int y, int width, const Layout& layout, const QByteArray& white, char* row) {
  const QRgb* pixels = reinterpret_cast<const QRgb*>(band.pixels.constScanLine(y));
  if (!band.inked) return layout.pack(pixels, width, row);
  std::copy(white.constBegin(), white.constEnd(), row);
  bool packed = true;
  // Runs start on whole tiles, so on whole bytes of the file's row.
  band.inked->forEachRun(band.inkedRow + y, [&](int left, int right) {
    packed = packed && layout.pack(pixels + left, right - left, row + qsizetype(left) * layout.bitsPerPixel / 8);
  });
  return packed;
}

QByteArray header(const PictureRows& picture, const Layout& layout) {
  const quint32 offset = kFileHeaderBytes + 4 * layout.paletteEntries;
  const quint32 pixelBytes = quint32(layout.rowBytes * picture.height);
  QByteArray bytes;
  bytes.reserve(offset);
  bytes.append("BM");
  put32(bytes, offset + pixelBytes);
  put32(bytes, 0);
  put32(bytes, offset);
  put32(bytes, kInfoHeaderBytes);
  put32(bytes, quint32(picture.width));
  put32(bytes, quint32(picture.height));  // positive: bottom row first
  put16(bytes, 1);                        // planes
  put16(bytes, quint16(layout.bitsPerPixel));
  put32(bytes, 0);  // BI_RGB, no compression
  put32(bytes, pixelBytes);
  put32(bytes, quint32(picture.dotsPerMetreX));
  put32(bytes, quint32(picture.dotsPerMetreY));
  put32(bytes, quint32(layout.paletteEntries));
  put32(bytes, 0);
  // Index 0 black, 1 white, as blue, green, red, reserved.
  if (layout.paletteEntries == 2) bytes.append("\0\0\0\0\xFF\xFF\xFF\0", 8);
  return bytes;
}

// The rows go to the file as they are packed, bottom row first.
FileWriteResult writeBitmap(const PictureRows& picture, const QString& path, const Layout& layout) {
  return writeFileAtomically(path, [&](const ChunkWriter& write) {
    QByteArray chunk = header(picture, layout);
    chunk.reserve(kChunkBytes + layout.rowBytes);
    const QByteArray white = whiteRow(picture.width, layout);
    const bool packed = picture.bands([&](const PictureBand& band) {
      for (int y = band.pixels.height() - 1; y >= 0; --y) {
        const qsizetype at = chunk.size();
        chunk.resize(at + layout.rowBytes, '\0');
        if (!packRow(band, y, picture.width, layout, white, chunk.data() + at)) return false;
        if (chunk.size() >= kChunkBytes) {
          if (!write(chunk.constData(), chunk.size())) return false;
          chunk.resize(0);
        }
      }
      return true;
    });
    return packed && write(chunk.constData(), chunk.size());
  });
}

// An uncompressed Windows bitmap, rows padded to four bytes: the form every
// viewer opens. Cams are drawn black on white, so one bit per pixel with a
// black and white palette holds them exactly; a pixel of any other colour
// abandons that file, unfinished, for one of 24 bits.
FileWriteResult writePicture(const PictureRows& picture, const QString& path) {
  const FileWriteResult oneBit = writeBitmap(picture, path, monochrome(picture.width));
  return oneBit ? oneBit : writeBitmap(picture, path, trueColour(picture.width));
}

}  // namespace

FileWriteResult saveBitmap(const QImage& picture, const QString& path) {
  if (picture.isNull()) return {};
  // An RGB32 picture is shared here, not copied.
  const QImage image = picture.convertToFormat(QImage::Format_RGB32);
  return writePicture({image.width(), image.height(), image.dotsPerMeterX(), image.dotsPerMeterY(),
                       [&](const auto& take) { return take(PictureBand{image}); }},
                      path);
}

FileWriteResult saveBitmap(const CamDrawing& drawing, const QString& path) {
  const QSize size = drawing.pixelSize();
  return writePicture({size.width(), size.height(), kSurfaceDotsPerMetre, kSurfaceDotsPerMetre,
                       [&](const auto& take) { return rasteriseInBands(drawing, kBandPixels / size.width(), take); }},
                      path);
}

FileWriteResult SavePlot(const CamDrawing& drawing, const QString& appFolder, const QString& fileName) {
  return saveBitmap(drawing, appFolder + fileName);
}

}  // namespace korvel
