#pragma once

#include <QImage>

#include "geometry/cam_canvas.h"

// A retained picture measured in inches that cams are drawn on: the preview
// box of the designer window and the sheet of the plot window. Besides the
// cam primitives it can be cleared, copied, mirrored and resized, which is
// what printing, saving and the sheet need.
namespace korvel {

class DrawingRecord;

class DrawingSurface : public CamCanvas {
 public:
  // Shows only the white background; text position back to (0, 0).
  virtual void clear() = 0;
  virtual void setLineWidth(int pixels) = 0;
  virtual void setTextSize(float points) = 0;

  // The whole interior as now drawn, on white.
  virtual QImage copyImage() const = 0;

  // Mirrors the whole interior left to right as one opaque picture; the text
  // position goes back to (0, 0) as after clear().
  virtual void mirrorLeftToRight() = 0;

  // The drawing kept as geometry, for printing at the printer's resolution
  // and for the files for cutting.
  virtual const DrawingRecord* record() const = 0;

  virtual float innerWidth() const = 0;
  virtual float innerHeight() const = 0;
  virtual float outerWidth() const = 0;
  virtual float outerHeight() const = 0;
  virtual void setOuterWidth(float inches) = 0;
  virtual void setOuterHeight(float inches) = 0;
};

}  // namespace korvel
