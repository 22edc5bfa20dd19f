#pragma once

#include <cstdint>

#include "render/raster_surface.h"

// What the cam sheet does to the plot window besides drawing on its surface.
namespace korvel {

class PlotWindowView {
 public:
  virtual ~PlotWindowView() = default;
  virtual void showWindow() = 0;
  virtual RasterSurface& surface() = 0;
  // Puts the picture's top-left corner at the window's, where a true-size
  // sheet starts.
  virtual void placePictureAtCorner() = 0;
  virtual void setHorizontalMaximum(std::int16_t value) = 0;
  virtual void setVerticalMaximum(std::int16_t value) = 0;
};

}  // namespace korvel
