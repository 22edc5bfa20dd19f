#pragma once

#include <QImage>
#include <QList>

#include "drawing/cam_drawing.h"

// The 96 ppi picture at one bit a pixel, as a bitmap file holds it.
namespace korvel {

// Black at index 0 and white at 1: the palette of a one-bit picture.
const QList<QRgb>& blackAndWhitePalette();

// Whether every figure is black and every text unsmoothed, so that the
// picture holds black and white only.
bool drawnInBlack(const CamDrawing& drawing);

// The whole picture at one bit a pixel (Format_Mono, in the black and white
// palette), pixel for pixel the RGB32 one: a high-resolution sheet takes the
// 1.6 MB its file holds, never the 52 MB of the whole picture in RGB32. Null
// for a drawing not drawn in black.
QImage rasteriseOneBit(const CamDrawing& drawing);

}  // namespace korvel
