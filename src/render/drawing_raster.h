#pragma once

#include <QImage>
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

// Paints the drawing onto a screen painter whose units are the picture's
// pixels, at the device's own resolution; the mirror is a transform there.
void paintOnScreen(const CamDrawing& drawing, QPainter& painter, const QRect& area);

}  // namespace korvel
