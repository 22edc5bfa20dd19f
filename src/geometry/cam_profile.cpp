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

// x as drawn and as computed. A failed computation (the lens is as long as
// the row's distance) keeps both as they were.
struct RowX {
  float x = 0.0f;
  double exact = 0.0;
  void set(double value) {
    if (runStep(x, [&] { return toSingle(value); })) exact = value;
  }
};

// x of a lead-in point set back by setBack from row 0's extension.
void leadInX(RowX& x, double k, double extension, double setBack) {
  x.set(k * (kWorkingLength - ((kWorkingLength + setBack) - extension)));
}

}  // namespace

CamProfile ComputeCamProfile(double focalMm, float extensionFactor, LeadInStyle leadIn) {
  CamProfile profile;
  float k = extensionFactor;  // the rows may set their own
  std::vector<CamPoint>& points = profile.points;
  RowX x;
  const auto leadInPoint = [&](double height) {
    const double y = kBaseLine - height;
    return CamPoint{x.x, static_cast<float>(y), 0.0f, CamPointKind::LeadIn, false,
                    x.exact, y, DistanceMarkerTable[0].distanceMm, k};
  };

  const double extension0 = lensExtension(focalMm, DistanceMarkerTable[0].distanceMm);
  leadInX(x, k, extension0, 0.02);
  points.push_back(leadInPoint(0.700));
  if (leadIn == LeadInStyle::SetBack) {
    leadInX(x, k, extension0, 0.01);
  } else {
    x.set(k * (kWorkingLength - (kWorkingLength - extension0)));
  }
  points.push_back(leadInPoint(0.698));

  bool clamped = false;
  for (std::size_t r = 1; r < DistanceMarkerTable.size(); ++r) {
    const DistanceRow& row = DistanceMarkerTable[r];
    if (row.factor) k = *row.factor;
    x.set(k * lensExtension(focalMm, row.distanceMm));
    const float y = rowY(row.heightIn);
    const double exactY = kBaseLine - row.heightIn;
    if (x.x >= kWorkingEnd) {
      points.push_back({kWorkingEnd, y, row.index, CamPointKind::ClampedEnd, false, kWorkingLength, exactY,
                        row.distanceMm, k});
      clamped = true;
      break;
    }
    points.push_back({x.x, y, row.index, CamPointKind::Profile, row.marker, x.exact, exactY, row.distanceMm, k});
    if (x.x < 0.0f) break;
  }
  if (!clamped) {
    const double y = kBaseLine - 0.555;
    points.push_back({kWorkingEnd, static_cast<float>(y), 0.0f, CamPointKind::Final, false, kWorkingLength,
                      y, 0.0, k});
  }
  return profile;
}

}  // namespace korvel
