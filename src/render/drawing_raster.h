#pragma once

#include <QImage>
#include <QRect>
#include <functional>

#include "drawing/cam_drawing.h"
#include "render/inked_tiles.h"

class QPainter;

// The drawing as pixels: the 96 ppi picture a bitmap file holds and the
// tests compare, and the screen's painting of it at the screen's own
// resolution. Drawing is black on white and aliased, so saved cams have crisp
// edges.
namespace korvel {

// A band of the picture: its rows, opaque (RGB32) and as wide as the
// picture, top the first of them. Where inked is given, its row
// inkedRow + y says where row y may have been drawn on; all else is white.
struct PictureBand {
  const QImage& pixels;
  int top = 0;
  const InkedTiles* inked = nullptr;
  int inkedRow = 0;
};

// Hands the 96 ppi picture to take a band of at most bandRows rows at a time,
// the bottom band first. Stops when take returns false.
bool rasteriseInBands(const CamDrawing& drawing, int bandRows, const std::function<bool(const PictureBand& band)>& take);
// The whole 96 ppi picture, on white.
QImage rasterise(const CamDrawing& drawing);
// Paints the drawing onto a screen painter whose units are the picture's
// pixels, at the device's own resolution; the mirror is a transform there.
void paintOnScreen(const CamDrawing& drawing, QPainter& painter, const QRect& area);

}  // namespace korvel
