#pragma once

#include <QWidget>

#include "render/raster_surface.h"

// Shows a raster surface on screen: white, then the drawing, laid out at the
// surface's own 96 pixels per inch and painted at the screen's resolution, so
// it is sharp at any device pixel ratio.
namespace korvel {

class SurfaceView : public QWidget {
  Q_OBJECT
 public:
  SurfaceView(RasterSurface& surface, QWidget* parent);
  // Follows the surface's size after a change.
  void syncSize();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  RasterSurface& surface_;
  // A repaint is asked for once for all the figures drawn before it comes:
  // a sheet draws hundreds.
  bool repaintAsked_ = false;
};

}  // namespace korvel
