#pragma once

#include <vector>

#include "geometry/cam_frame.h"

// The working edge of one cam: for a lens of focal length F (millimetres), the
// thin-lens extension at every distance setting, scaled by the extension
// factor, paired with the cam height of that setting. All in inches, in the
// cam's own frame (geometry/cam_frame.h).
namespace korvel {

inline constexpr float kWorkingEnd = static_cast<float>(kWorkingLength);  // in single precision
// Every cam starts from this factor, the first of a session too, and leaves it
// so for the next one.
inline constexpr float kExtensionFactorAfterCam = 1.074f;

enum class CamPointKind { LeadIn, Profile, ClampedEnd, Final };

struct CamPoint {
  float x;
  float y;
  float index;  // row of the distance table; the lead-in points carry 0
  CamPointKind kind;
  bool marker;
  // The point as computed in double precision before it was narrowed for the
  // surface, with the subject distance and extension factor of its row (row 0's
  // for the lead-in, none for the end point): the figures a cam is checked by.
  double exactX;
  double exactY;
  double distanceMm;
  double factor;
};

// The second lead-in point stands 0.01 inch short of row 0's extension on the
// sheet cams; the single large cam of the preview puts it right on it.
enum class LeadInStyle { SetBack, Unshifted };

struct CamProfile {
  std::vector<CamPoint> points;  // in drawing order: A, B, rows, then E unless clamped
};

// Lens extension beyond infinity focus, in inches, for a subject at distanceMm.
double lensExtension(double focalMm, double distanceMm);

// Cam height converted to the cam frame's y, through the millimetre round trip
// in single precision that the printed cams have always used.
float rowY(double heightIn);

CamProfile ComputeCamProfile(double focalMm, float extensionFactor,
                             LeadInStyle leadIn = LeadInStyle::SetBack);

}  // namespace korvel
