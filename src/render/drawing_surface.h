#pragma once

#include <QImage>

#include "geometry/cam_canvas.h"

// A retained picture measured in inches that cams are drawn on: the preview
// box of the designer window and the sheet of the plot window. Besides the
// cam primitives it can be cleared, copied, mirrored, resized and given a
// background picture, which is what printing, saving and the sheet need.
namespace korvel {

class DrawingRecord;

class DrawingSurface : public CamCanvas {
 public:
  // Shows only the white background and the background picture; text
  // position back to (0, 0).
  virtual void clear() = 0;
  virtual void setLineWidth(int pixels) = 0;
  virtual void setTextSize(float points) = 0;

  // The whole interior as now drawn, background included.
  virtual QImage copyImage() const = 0;
  virtual void setBackgroundPicture(const QImage& picture) = 0;
  virtual void removeBackgroundPicture() = 0;
  // Paints picture scaled into the rectangle; a negative width mirrors it left
  // to right, spanning x + width to x.
  virtual void paintPicture(const QImage& picture, float x, float y, float width,
                            float height) = 0;

  // Mirrors the whole interior left to right, background included, as one
  // opaque picture; the text position goes back to (0, 0) as after clear().
  virtual void mirrorLeftToRight() {
    const QImage copy = copyImage();
    clear();
    paintPicture(copy, innerWidth(), 0.0f, -innerWidth(), innerHeight());
  }

  // The drawing kept as geometry, for printing at the printer's resolution;
  // null for a surface that keeps none, which prints its picture instead.
  virtual const DrawingRecord* record() const { return nullptr; }

  virtual float innerWidth() const = 0;
  virtual float innerHeight() const = 0;
  virtual float outerWidth() const = 0;
  virtual float outerHeight() const = 0;
  virtual void setOuterWidth(float inches) = 0;
  virtual void setOuterHeight(float inches) = 0;
};

}  // namespace korvel
