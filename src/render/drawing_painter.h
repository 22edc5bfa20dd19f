#pragma once

#include <QPointF>

#include "common/units.h"
#include "drawing/cam_drawing.h"

class QFont;
class QPainter;

// Paints a drawing as vectors onto any painter (a PDF file, a printer):
// every line where it was computed, in lines 0.1 mm wide so a cut can follow
// their centre, text in the face it was drawn in.
namespace korvel {

// So a cut can follow a line's centre.
inline constexpr double kCutLineWidthIn = 0.1 / kMmPerInch;
// A printed or PDF drawing stands this far right of and below the corner of
// the printable area, as the picture always did.
inline constexpr double kDrawingMarginIn = 1.0;

// Where a drawing lands on the painter's device: the device point of surface
// (0, 0) and the device units per surface inch across and down; a negative
// scale mirrors the drawing about that point.
struct DrawingPlacement {
  QPointF origin;
  double unitsPerInchX;
  double unitsPerInchY;
};

// How a cam's outline is stroked: segment by segment as it was drawn (a
// print), or as one closed path, which a PDF reader or a cutting program
// takes as one contour (a PDF).
enum class OutlineStrokes { AsDrawn, ClosedPath };

void paintDrawing(QPainter& painter, const CamDrawing& drawing, const DrawingPlacement& placement,
                  OutlineStrokes outlines = OutlineStrokes::AsDrawn);

// The em of a surface font in surface inches; surface fonts are sized for 96
// pixels per inch.
double surfaceEmInches(const QFont& font);

}  // namespace korvel
