#include "export/bitmap_file.h"

#include <QtEndian>
#include <algorithm>
#include <functional>

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
// A drawing is rasterised this many rows at a time: under a megabyte of a
// high-resolution sheet.
constexpr int kBandRows = 64;

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

#ifdef __SSE2__
// Eight black or white pixels as one byte, the leftmost the most significant
// bit; false, packing nothing, when one of them is of another colour.
bool packEightBlackOrWhite(const QRgb* pixel, char* byte) {
  // A nibble's four bits in the opposite order.
  static constexpr unsigned char kReversed[16] = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};
  const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
  const __m128i zero = _mm_setzero_si128();
  const __m128i left = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pixel)), colour);
  const __m128i right = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pixel + 4)), colour);
  const __m128i whiteLeft = _mm_cmpeq_epi32(left, colour);
  const __m128i whiteRight = _mm_cmpeq_epi32(right, colour);
  const __m128i known = _mm_and_si128(_mm_or_si128(whiteLeft, _mm_cmpeq_epi32(left, zero)),
                                      _mm_or_si128(whiteRight, _mm_cmpeq_epi32(right, zero)));
  if (_mm_movemask_epi8(known) != 0xFFFF) return false;
  *byte = static_cast<char>(kReversed[_mm_movemask_ps(_mm_castsi128_ps(whiteLeft))] << 4 |
                            kReversed[_mm_movemask_ps(_mm_castsi128_ps(whiteRight))]);
  return true;
}
#endif

// White is a set bit, the leftmost pixel the most significant bit. Checked on
// the way, in the same pass: adding one to the colour leaves 0 for white, 1
// for black and more for any other colour.
bool packMonochrome(const QRgb* pixel, int width, char* row) {
  QRgb worst = 0;
  for (int x = 0; x < width; x += 8) {
    const int count = std::min(8, width - x);
    const QRgb* p = pixel + x;
    // Eight white pixels, as most of a cam sheet is.
    if (count == 8 && (p[0] & p[1] & p[2] & p[3] & p[4] & p[5] & p[6] & p[7]) == 0xFFFFFFFFu) {
      row[x / 8] = static_cast<char>(0xFF);
      continue;
    }
#ifdef __SSE2__
    if (count == 8 && packEightBlackOrWhite(pixel + x, row + x / 8)) continue;
#endif
    unsigned bits = 0;
    for (int bit = 0; bit < count; ++bit) {
      const QRgb p = pixel[x + bit];
      worst = std::max(worst, (p + 1) & 0xFFFFFF);
      bits |= (p & 1u) << (7 - bit);
    }
    row[x / 8] = static_cast<char>(bits);
  }
  return worst <= 1;
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
  int bitsPerPixel;
  qsizetype rowBytes;  // padded to four bytes
  int paletteEntries;
  RowPacker pack;
};

Layout monochrome(int width) { return {1, (qsizetype(width) + 31) / 32 * 4, 2, packMonochrome}; }
Layout trueColour(int width) { return {24, (qsizetype(width) * 3 + 3) / 4 * 4, 0, packTrueColour}; }

// The picture's size and resolution, and how it hands over its rows: a band
// at a time, the bottom band first, each opaque (RGB32).
struct PictureRows {
  int width;
  int height;
  int dotsPerMetreX;
  int dotsPerMetreY;
  std::function<bool(const std::function<bool(const QImage& band, int top)>& take)> bands;
};

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
    const bool packed = picture.bands([&](const QImage& band, int) {
      for (int y = band.height() - 1; y >= 0; --y) {
        const qsizetype at = chunk.size();
        chunk.resize(at + layout.rowBytes, '\0');
        if (!layout.pack(reinterpret_cast<const QRgb*>(band.constScanLine(y)), picture.width,
                         chunk.data() + at))
          return false;
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
                       [&](const auto& take) { return take(image, 0); }},
                      path);
}

FileWriteResult saveBitmap(const CamDrawing& drawing, const QString& path) {
  const QSize size = drawing.pixelSize();
  return writePicture({size.width(), size.height(), kSurfaceDotsPerMetre, kSurfaceDotsPerMetre,
                       [&](const auto& take) { return rasteriseInBands(drawing, kBandRows, take); }},
                      path);
}

FileWriteResult SavePlot(const CamDrawing& drawing, const QString& appFolder, const QString& fileName) {
  return saveBitmap(drawing, appFolder + fileName);
}

}  // namespace korvel
