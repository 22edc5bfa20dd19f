#pragma once

#include <QImage>
#include <QString>

#include "common/atomic_file.h"
#include "drawing/cam_drawing.h"

namespace korvel {

// Writes image as an uncompressed Windows BMP at path, one bit per pixel when
// it is black and white, replacing an earlier file only once the new one is
// complete. False when the file cannot be written; the old file is then intact.
FileWriteResult saveBitmap(const QImage& image, const QString& path);
// The drawing's 96 ppi picture, painted straight into one bit a pixel when
// its figures are black.
FileWriteResult saveBitmap(const CamDrawing& drawing, const QString& path);

// Begins replacing the bitmap file at path, on the thread that paints a
// tall picture's lower rows, while the caller draws the picture: the next
// save to path then only writes, names and renames. Failures are reported by
// that save; an early file never saved is closed, leaving nothing.
void beginBitmapFile(const QString& path);

// Saves the drawing as a Windows bitmap named fileName in appFolder, replacing
// an earlier file once the new one is complete. A folder that cannot be
// written is skipped; the old file stays intact and the result names the cause.
FileWriteResult SavePlot(const CamDrawing& drawing, const QString& appFolder, const QString& fileName);

}  // namespace korvel
