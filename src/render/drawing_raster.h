#pragma once

#include <QImage>
#include <QList>
#include <QRect>

#include "drawing/cam_drawing.h"

class QPainter;

// The drawing as pixels: the 96 ppi picture a bitmap file holds and the
// tests compare, and the screen's painting of it at the screen's own
// resolution. Drawing is black on white and aliased, so saved cams have crisp
// edges.
namespace korvel {

// The whole 96 ppi picture, RGB32 on white.
QImage rasterise(const CamDrawing& drawing);

// Black at index 0 and white at 1: the palette of a one-bit picture.
const QList<QRgb>& blackAndWhitePalette();
// The same picture at one bit a pixel (Format_Mono, in the black and white
// palette), painted a figure at a time: a high-resolution sheet takes the
// 1.6 MB its file holds, never the 52 MB of the whole picture in RGB32. Only
// for a drawing of black figures and unsmoothed text (drawnInBlack); null
// for any other.
QImage rasteriseOneBit(const CamDrawing& drawing);
bool drawnInBlack(const CamDrawing& drawing);

// Paints the drawing onto a screen painter whose units are the picture's
// pixels, at the device's own resolution; the mirror is a transform there.
void paintOnScreen(const CamDrawing& drawing, QPainter& painter, const QRect& area);

}  // namespace korvel
