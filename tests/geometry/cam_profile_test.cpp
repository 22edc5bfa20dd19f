#include "geometry/cam_profile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geometry/distance_marker_table.h"

namespace korvel {
namespace {

constexpr double kInch = 1e-6;

const CamPoint& rowPoint(const CamProfile& profile, float index) {
  for (const CamPoint& p : profile.points)
    if (p.kind != CamPointKind::LeadIn && p.index == index) return p;
  ADD_FAILURE() << "no point for row " << index;
  return profile.points.front();
}

TEST(DistanceMarkerTable, DistancesAreFormedFromFeetAndInches) {
  EXPECT_EQ(DistanceMarkerTable.size(), 27u);
  EXPECT_DOUBLE_EQ(DistanceMarkerTable[3].distanceMm, 304800.0);
  EXPECT_EQ(DistanceMarkerTable[7].distanceMm, 37.5 * 12 * 25.4);
  EXPECT_EQ(DistanceMarkerTable[13].distanceMm, 108 * 25.4);
  EXPECT_EQ(DistanceMarkerTable[23].distanceMm, 3.75 * 12 * 25.4);
  int markers = 0;
  for (const DistanceRow& row : DistanceMarkerTable) markers += row.marker ? 1 : 0;
  EXPECT_EQ(markers, 13);
}

TEST(CamProfile, WorkedExampleFor150mmAfterAFinishedCam) {
  const CamProfile profile = ComputeCamProfile(150.0, 1.074f);
  ASSERT_EQ(profile.points.size(), 29u);  // A, B, 26 rows, E
  const auto& a = profile.points[0];
  const auto& b = profile.points[1];
  EXPECT_NEAR(a.x, -0.021183, kInch);
  EXPECT_NEAR(a.y, -0.005, kInch);
  EXPECT_NEAR(b.x, -0.010443, kInch);
  EXPECT_NEAR(b.y, -0.003, kInch);

  struct Expected { float index; double x, y; };
  const Expected rows[] = {{0.5f, 0.000396, 0},     {1, 0.000593, 0},      {2, 0.031368, 0.003},
                           {2.5f, 0.041892, 0.005}, {4, 0.113723, 0.014},  {6, 0.333178, 0.041},
                           {10, 0.689836, 0.074},   {12, 1.091824, 0.111}, {13, 1.338475, 0.128}};
  for (const Expected& e : rows) {
    SCOPED_TRACE(e.index);
    const CamPoint& p = rowPoint(profile, e.index);
    EXPECT_NEAR(p.x, e.x, kInch);
    EXPECT_NEAR(p.y, e.y, kInch);
    EXPECT_EQ(p.kind, CamPointKind::Profile);
    EXPECT_EQ(p.marker, std::floor(e.index) == e.index);
  }
  const CamPoint& last = profile.points.back();
  EXPECT_EQ(last.kind, CamPointKind::Final);
  EXPECT_EQ(last.x, 1.356f);
  EXPECT_NEAR(last.y, 0.140, kInch);
  EXPECT_EQ(profile.finalFactor, 1.155f);
}

TEST(CamProfile, FirstCamAfterStartUpDiffersOnlyInTheLeadRows) {
  const CamProfile first = ComputeCamProfile(150.0, 1.07f);
  const CamProfile later = ComputeCamProfile(150.0, 1.074f);
  EXPECT_NEAR(first.points[0].x, -0.021104, kInch);
  EXPECT_NEAR(rowPoint(first, 2).x, 0.031251, kInch);
  ASSERT_EQ(first.points.size(), later.points.size());
  for (std::size_t i = 0; i < first.points.size(); ++i) {
    const float index = first.points[i].index;
    const bool leadRow = first.points[i].kind == CamPointKind::LeadIn || (index > 0 && index <= 2);
    if (leadRow) {
      EXPECT_NE(first.points[i].x, later.points[i].x) << i;
    } else {
      EXPECT_EQ(first.points[i].x, later.points[i].x) << index;
    }
  }
}

TEST(CamProfile, LongLensReachesTheWorkingLengthAndStops) {
  const CamProfile profile = ComputeCamProfile(210.0, 1.074f);
  EXPECT_NEAR(rowPoint(profile, 9.5f).x, 1.266882, kInch);
  const CamPoint& last = profile.points.back();
  EXPECT_EQ(last.kind, CamPointKind::ClampedEnd);
  EXPECT_EQ(last.index, 10.0f);
  EXPECT_EQ(last.x, 1.356f);
  EXPECT_NEAR(last.y, 0.074, kInch);
  EXPECT_FALSE(last.marker);
  EXPECT_EQ(profile.points.size(), 2u + 20u);  // rows 0.5 to 10
  EXPECT_EQ(profile.finalFactor, 1.07f);       // row 10's factor, the last visited
}

TEST(CamProfile, ZeroFocalLengthLiesAtNoExtension) {
  const CamProfile profile = ComputeCamProfile(0.0, 1.074f);
  ASSERT_EQ(profile.points.size(), 29u);
  EXPECT_NEAR(profile.points[0].x, -0.02 * 1.074f, kInch);
  EXPECT_NEAR(profile.points[1].x, -0.01 * 1.074f, kInch);
  for (std::size_t i = 2; i < 28; ++i) EXPECT_EQ(profile.points[i].x, 0.0f) << i;
  EXPECT_EQ(profile.points.back().kind, CamPointKind::Final);
}

TEST(CamProfile, LensAsLongAsARowDistanceKeepsThePreviousExtension) {
  // At row 0's distance both lead-in points divide by zero: they keep the
  // extension held before, 0. Row 0.5 then lies behind the lens and ends it.
  const CamProfile profile = ComputeCamProfile(3203248.0, 1.074f);
  ASSERT_EQ(profile.points.size(), 4u);
  EXPECT_EQ(profile.points[0].x, 0.0f);
  EXPECT_EQ(profile.points[1].x, 0.0f);
  EXPECT_LT(profile.points[2].x, 0.0f);
  EXPECT_EQ(profile.points[3].kind, CamPointKind::Final);
}

TEST(CamProfile, LensLongerThanARowDistanceEndsTheProfileThere) {
  // Shorter than row 0's distance but longer than row 0.5's: row 0.5's
  // extension is negative and ends the list, E follows.
  const CamProfile profile = ComputeCamProfile(2500000.0, 1.074f);
  ASSERT_EQ(profile.points.size(), 4u);
  EXPECT_EQ(profile.points[2].index, 0.5f);
  EXPECT_LT(profile.points[2].x, 0.0f);
  EXPECT_EQ(profile.points[2].kind, CamPointKind::Profile);
  EXPECT_EQ(profile.points[3].kind, CamPointKind::Final);
  EXPECT_EQ(profile.points[3].x, 1.356f);
}

TEST(CamProfile, NotANumberLeavesEveryExtensionAtZero) {
  const CamProfile profile = ComputeCamProfile(std::numeric_limits<double>::quiet_NaN(), 1.074f);
  ASSERT_EQ(profile.points.size(), 29u);
  for (std::size_t i = 0; i < 28; ++i) EXPECT_EQ(profile.points[i].x, 0.0f) << i;
}

TEST(CamProfile, UnshiftedLeadInPutsBOnRowZerosExtension) {
  const CamProfile profile = ComputeCamProfile(150.0, 1.074f, LeadInStyle::Unshifted);
  EXPECT_NEAR(profile.points[0].x + 0.35, 0.328817, kInch);
  EXPECT_NEAR(profile.points[1].x + 0.35, 0.350297, kInch);
}

}  // namespace
}  // namespace korvel
