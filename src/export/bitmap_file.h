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

// Saves the drawing as a Windows bitmap named fileName in appFolder, replacing
// an earlier file once the new one is complete. A folder that cannot be
// written is skipped; the old file stays intact and the result names the cause.
FileWriteResult SavePlot(const CamDrawing& drawing, const QString& appFolder, const QString& fileName);

}  // namespace korvel
