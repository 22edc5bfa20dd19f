#pragma once

#include <QFont>

#include "geometry/cam_outline.h"
#include "render/raster_surface.h"

// The designer's preview box with the 150 mm cam drawn on it as Draw Graph
// places it, unmirrored and uncaptioned.
namespace korvel::testing {

inline RasterSurface previewWith150mmCam() {
  RasterSurface surface(3015.0f / kTwipsPerInch, 2055.0f / kTwipsPerInch, QFont("Arial"));
  float k = 1.074f;
  drawCamOutline(surface, 150.0, 0.35, 0.5, k,
                 {.caption = false, .leadIn = LeadInStyle::Unshifted});
  return surface;
}

}  // namespace korvel::testing
