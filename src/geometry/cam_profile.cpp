#include "geometry/cam_profile.h"

#include "common/failing_step.h"
#include "geometry/distance_marker_table.h"

namespace korvel {

double lensExtension(double focalMm, double distanceMm) {
  return ((focalMm * focalMm) / (distanceMm - focalMm)) / kMmPerInch;
}

float rowY(double heightIn) {
  const float heightMm = static_cast<float>(heightIn * kMmPerInch);
  return static_cast<float>(kBaseLine - static_cast<double>(heightMm) / kMmPerInch);
}

namespace {

// x of a lead-in point set back by setBack from row 0's extension. A failed
// computation (the lens is as long as row 0's distance) keeps x as it was.
void leadInX(float& x, double k, double extension, double setBack) {
  runStep(x, [&] { return toSingle(k * (kWorkingLength - ((kWorkingLength + setBack) - extension))); });
}

}  // namespace

CamProfile ComputeCamProfile(double focalMm, float extensionFactor, LeadInStyle leadIn) {
  CamProfile profile;
  float k = extensionFactor;  // the rows may set their own
  std::vector<CamPoint>& points = profile.points;
  float x = 0.0f;

  const double extension0 = lensExtension(focalMm, DistanceMarkerTable[0].distanceMm);
  leadInX(x, k, extension0, 0.02);
  points.push_back({x, static_cast<float>(kBaseLine - 0.700), 0.0f, CamPointKind::LeadIn, false});
  if (leadIn == LeadInStyle::SetBack) {
    leadInX(x, k, extension0, 0.01);
  } else {
    runStep(x, [&] { return toSingle(k * (kWorkingLength - (kWorkingLength - extension0))); });
  }
  points.push_back({x, static_cast<float>(kBaseLine - 0.698), 0.0f, CamPointKind::LeadIn, false});

  bool clamped = false;
  for (std::size_t r = 1; r < DistanceMarkerTable.size(); ++r) {
    const DistanceRow& row = DistanceMarkerTable[r];
    if (row.factor) k = *row.factor;
    runStep(x, [&] { return toSingle(k * lensExtension(focalMm, row.distanceMm)); });
    const float y = rowY(row.heightIn);
    if (x >= kWorkingEnd) {
      points.push_back({kWorkingEnd, y, row.index, CamPointKind::ClampedEnd, false});
      clamped = true;
      break;
    }
    points.push_back({x, y, row.index, CamPointKind::Profile, row.marker});
    if (x < 0.0f) break;
  }
  if (!clamped) {
    points.push_back({kWorkingEnd, static_cast<float>(kBaseLine - 0.555), 0.0f,
                      CamPointKind::Final, false});
  }
  return profile;
}

}  // namespace korvel
