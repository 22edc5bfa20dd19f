#include "render/bitmap_file.h"

#include <QtEndian>
#include <cstring>

#include "common/atomic_file.h"

namespace korvel {

namespace {

void put16(char*& at, quint16 v) {
  qToLittleEndian(v, at);
  at += 2;
}
void put32(char*& at, quint32 v) {
  qToLittleEndian(v, at);
  at += 4;
}

}  // namespace

// An uncompressed 24-bit Windows bitmap, bottom row first, rows padded to four
// bytes: the form every viewer opens. Written directly, since a sheet in high
// resolution holds 13 million pixels.
QByteArray encodeBitmap(const QImage& picture) {
  const QImage image = picture.convertToFormat(QImage::Format_RGB32);
  const int width = image.width();
  const int height = image.height();
  const qsizetype rowBytes = (qsizetype(width) * 3 + 3) / 4 * 4;
  constexpr int kHeaderBytes = 14 + 40;
  const qsizetype total = kHeaderBytes + rowBytes * height;

  QByteArray bytes(total, '\0');
  char* at = bytes.data();
  *at++ = 'B';
  *at++ = 'M';
  put32(at, quint32(total));
  put32(at, 0);
  put32(at, kHeaderBytes);
  put32(at, 40);
  put32(at, quint32(width));
  put32(at, quint32(height));
  put16(at, 1);   // planes
  put16(at, 24);  // bits per pixel
  put32(at, 0);   // no compression
  put32(at, quint32(rowBytes * height));
  put32(at, quint32(image.dotsPerMeterX()));
  put32(at, quint32(image.dotsPerMeterY()));
  put32(at, 0);
  put32(at, 0);
  for (int y = 0; y < height; ++y) {
    const auto* pixel = reinterpret_cast<const QRgb*>(image.constScanLine(height - 1 - y));
    auto* row = reinterpret_cast<unsigned char*>(bytes.data() + kHeaderBytes + rowBytes * y);
    for (int x = 0; x < width; ++x) {
      *row++ = static_cast<unsigned char>(qBlue(pixel[x]));
      *row++ = static_cast<unsigned char>(qGreen(pixel[x]));
      *row++ = static_cast<unsigned char>(qRed(pixel[x]));
    }
  }
  return bytes;
}

bool saveBitmap(const QImage& image, const QString& path) {
  if (image.isNull()) return false;
  return writeFileAtomically(path, encodeBitmap(image));
}

}  // namespace korvel
