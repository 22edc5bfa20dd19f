#pragma once

#include <cstdint>

#include "geometry/cam_canvas.h"
#include "geometry/cam_profile.h"

// The whole cut-out shape of one cam: working edge, body with base and bottom
// notch, two holes, optional distance-marker ticks and the focal-length caption.
namespace korvel {

struct CamOutlineOptions {
  std::int16_t plotScale = 1;     // surface inches per inch of cam
  bool distanceMarkers = false;   // "Draw distance markers"
  bool caption = true;            // write "<focal length> mm" inside the cam
  bool setDrawColour = true;      // the sheet sets black itself; the preview keeps its own
  LeadInStyle leadIn = LeadInStyle::SetBack;
};

// Draws the cam of focalMm with its frame origin at (xOffset, yOffset) inches.
// extensionFactor is the designer's factor: the profile starts from it and
// the finished cam leaves it at 1.074.
void drawCamOutline(CamCanvas& canvas, double focalMm, double xOffset, double yOffset,
                    float& extensionFactor, const CamOutlineOptions& options);

// Surface y of the caption of a cam whose frame stands yOffset inches down;
// throws where a float cannot hold it, like every coordinate of the outline.
float captionTop(double yOffset, std::int16_t plotScale);

}  // namespace korvel
