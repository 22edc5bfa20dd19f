#include "render/bitmap_file.h"

#include <QBuffer>
#include <QImageWriter>

#include "common/atomic_file.h"

namespace korvel {

bool saveBitmap(const QImage& image, const QString& path) {
  if (image.isNull()) return false;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "BMP");
  if (!writer.write(image)) return false;
  return writeFileAtomically(path, bytes);
}

}  // namespace korvel
