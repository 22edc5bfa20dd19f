#pragma once

#include <cstdint>
#include <optional>
#include <string>

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

// "<focal length> mm", the number rounded to two decimals and written in its
// shortest form: 135 mm, 165.1 mm, 152.46 mm.
std::optional<std::string> camCaption(double focalMm);

// Where the caption of a cam whose frame origin stands at (xOffset, yOffset)
// inches is centred on the surface: in the one band inside the cam that no
// edge, hole or tick crosses for any lens in the cuttable range. Throws where a
// float cannot hold it, like every coordinate of the outline.
struct CaptionCentre {
  float x;
  float y;
};
CaptionCentre captionCentre(double xOffset, double yOffset, std::int16_t plotScale);

}  // namespace korvel
