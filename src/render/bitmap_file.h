#pragma once

#include <QImage>
#include <QString>

#include "common/atomic_file.h"

namespace korvel {

// Writes image as an uncompressed Windows BMP at path, one bit per pixel when
// it is black and white, replacing an earlier file only once the new one is
// complete. False when the file cannot be written; the old file is then intact.
FileWriteResult saveBitmap(const QImage& image, const QString& path);

}  // namespace korvel
