#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace korvel {

// The bytes of image as an uncompressed 24-bit Windows BMP.
QByteArray encodeBitmap(const QImage& image);

// Writes image as a Windows BMP at path, replacing an earlier file only once
// the new one is complete. False when the file cannot be written; the old file
// is then intact.
bool saveBitmap(const QImage& image, const QString& path);

}  // namespace korvel
