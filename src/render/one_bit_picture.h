#pragma once

#include <QImage>
#include <QList>
#include <functional>

#include "drawing/cam_drawing.h"

// The 96 ppi picture at one bit a pixel, as a bitmap file holds it.
namespace korvel {

// Black at index 0 and white at 1: the palette of a one-bit picture.
const QList<QRgb>& blackAndWhitePalette();

// The whole picture at one bit a pixel (Format_Mono, in the black and white
// palette), pixel for pixel the RGB32 one: a high-resolution sheet takes the
// 1.6 MB its file holds, never the 52 MB of the whole picture in RGB32. Null
// unless every figure is black and every text unsmoothed.
QImage rasteriseOneBit(const CamDrawing& drawing);

// Wakes the thread that paints a tall picture's lower rows, so that it is
// running when the picture is rasterised a few milliseconds later: for a
// sheet about to be saved, before it is drawn. It does first, if given,
// before it waits.
void wakeLowerRowsPainter(std::function<void()> first = {});

}  // namespace korvel
