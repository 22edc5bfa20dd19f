// The part a cutter gets: its outline in millimetres, the filing allowance
// measured point by point, its preflight summary and the focus check card.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/units.h"
#include "geometry/cam_part.h"
#include "geometry/coupled_range.h"
#include "geometry/focus_card.h"
#include "geometry/part_preflight.h"

namespace korvel {
namespace {

double distanceToSegment(PartPoint p, PartPoint a, PartPoint b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

double distanceToOutline(PartPoint p, const std::vector<PartPoint>& outline) {
  double nearest = std::numeric_limits<double>::infinity();
  for (std::size_t i = 0; i < outline.size(); ++i)
    nearest = std::min(nearest, distanceToSegment(p, outline[i], outline[(i + 1) % outline.size()]));
  return nearest;
}

TEST(CamPart, DrawGraphsCamInMillimetresFromTheOrigin) {
  // 1.542 x 0.700 in: left foot to right foot, base line to lead-in A.
  const CamPart part = camPartMm(150, LeadInStyle::Unshifted);
  EXPECT_NEAR(part.widthMm, 1.542 * kMmPerInch, 1e-12);
  EXPECT_NEAR(part.heightMm, 0.700 * kMmPerInch, 1e-12);
  const auto [left, right] = std::minmax_element(part.outline.begin(), part.outline.end(),
                                                 [](PartPoint a, PartPoint b) { return a.x < b.x; });
  const auto [bottom, top] = std::minmax_element(part.outline.begin(), part.outline.end(),
                                                 [](PartPoint a, PartPoint b) { return a.y < b.y; });
  EXPECT_EQ(left->x, 0.0);
  EXPECT_EQ(bottom->y, 0.0);
  EXPECT_NEAR(right->x, part.widthMm, 1e-12);
  EXPECT_EQ(top, part.outline.begin());  // lead-in A stands highest, y up
  // Holes 0.2 and 0.88 in along from the frame, the left foot at -0.114; 0.395 and 0.235 in above the base.
  EXPECT_NEAR(part.holes[0].centre.x, 0.314 * kMmPerInch, 1e-12);
  EXPECT_NEAR(part.holes[0].centre.y, 0.395 * kMmPerInch, 1e-12);
  EXPECT_NEAR(part.holes[1].centre.x, 0.994 * kMmPerInch, 1e-12);
  EXPECT_NEAR(part.holes[1].centre.y, 0.235 * kMmPerInch, 1e-12);
  EXPECT_NEAR(part.holes[1].radius, 0.12 * kMmPerInch, 1e-12);
  // A sheet's cam sets B back 0.01 in (times k) and is otherwise the same.
  const CamPart sheet = camPartMm(150, LeadInStyle::SetBack);
  ASSERT_EQ(sheet.outline.size(), part.outline.size());
  EXPECT_NEAR(part.outline[1].x - sheet.outline[1].x, 0.01 * 1.074 * kMmPerInch, 1e-6);
  for (std::size_t i = 2; i < part.outline.size(); ++i) EXPECT_EQ(sheet.outline[i].x, part.outline[i].x) << i;
}

// Outward normal of the edge a -> b: the outline runs clockwise (y up).
PartPoint outwardNormal(PartPoint a, PartPoint b) {
  const double length = std::hypot(b.x - a.x, b.y - a.y);
  return {-(b.y - a.y) / length, (b.x - a.x) / length};
}

// Largest deviation of the offset outline from the computed one offset by
// allowanceMm. Each offset vertex lies allowanceMm from the computed outline,
// or is the mitre of a corner: where the two edges' offset lines meet. Each
// working edge (and lead-in) stepped out along its normal lies on the offset
// outline, unless another edge stands nearer than the allowance there (a step
// in the profile smaller than the allowance, which the offset fills).
double allowanceDeviation(const CamPart& part, const CamPart& allowed, double allowanceMm) {
  // The holes are moved with the outline: their shift takes the offset part back.
  const PartPoint shift{allowed.holes[0].centre.x - part.holes[0].centre.x,
                        allowed.holes[0].centre.y - part.holes[0].centre.y};
  std::vector<PartPoint> offset;
  for (const PartPoint& p : allowed.outline) offset.push_back({p.x - shift.x, p.y - shift.y});
  const std::vector<PartPoint>& computed = part.outline;
  const std::size_t n = computed.size();
  std::vector<PartPoint> mitres;
  for (std::size_t i = 0; i < n; ++i) {
    const PartPoint c = computed[i];
    const PartPoint n1 = outwardNormal(computed[(i + n - 1) % n], c), n2 = outwardNormal(c, computed[(i + 1) % n]);
    const double reach = allowanceMm / (1 + n1.x * n2.x + n1.y * n2.y);
    mitres.push_back({c.x + (n1.x + n2.x) * reach, c.y + (n1.y + n2.y) * reach});
  }
  double worst = 0.0;
  for (const PartPoint& p : offset) {
    double deviation = std::abs(distanceToOutline(p, computed) - allowanceMm);
    for (const PartPoint& m : mitres) deviation = std::min(deviation, std::hypot(p.x - m.x, p.y - m.y));
    worst = std::max(worst, deviation);
  }
  const std::size_t workingEdges = n - 7;  // the body's seven edges follow
  for (std::size_t i = 0; i < workingEdges; ++i) {
    const PartPoint a = computed[i], b = computed[i + 1], normal = outwardNormal(a, b);
    const PartPoint out{(a.x + b.x) / 2 + normal.x * allowanceMm, (a.y + b.y) / 2 + normal.y * allowanceMm};
    if (distanceToOutline(out, computed) < allowanceMm - 1e-9) continue;
    worst = std::max(worst, distanceToOutline(out, offset));
  }
  return worst;
}

TEST(CamPart, FilingAllowanceLiesItsWidthOutsideTheComputedOutline) {
  struct Row {
    const char* name;
    double focalMm;
    double allowanceMm;
    double seededErrorMm;  // cut this much more than asked
    bool holds;
  } rows[] = {
      {"150 mm, 0.2 mm", 150, 0.2, 0, true},
      {"clamped 300 mm, 1 mm", 300, 1.0, 0, true},
      {"longest lens, 0.5 mm", 4169, 0.5, 0, true},
      {"shortest lens, 0.3 mm", 20, 0.3, 0, true},
      {"no allowance", 150, 0, 0, true},
      {"a seeded 0.01 mm error is found", 150, 0.2, 0.01, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const CamPart part = camPartMm(row.focalMm, LeadInStyle::Unshifted);
    const CamPart allowed = withFilingAllowance(part, row.allowanceMm + row.seededErrorMm);
    EXPECT_EQ((allowanceDeviation(part, allowed, row.allowanceMm) <= 1e-3), row.holds);
    EXPECT_NEAR(allowed.holes[0].radius, 0.12 * kMmPerInch - row.allowanceMm - row.seededErrorMm, 1e-12);
    double left = 1, bottom = 1;
    for (const PartPoint& p : allowed.outline) left = std::min(left, p.x), bottom = std::min(bottom, p.y);
    EXPECT_EQ(left, 0.0);
    EXPECT_EQ(bottom, 0.0);
  }
  EXPECT_THROW(withFilingAllowance(camPartMm(150, LeadInStyle::Unshifted), 1.01), std::invalid_argument);
  EXPECT_THROW(withFilingAllowance(camPartMm(150, LeadInStyle::Unshifted), -0.01), std::invalid_argument);
}

TEST(CamPart, PreflightSummary) {
  PreflightInputs inputs;
  inputs.focalMm = 300;
  inputs.allowanceMm = 0.8;
  inputs.part = withFilingAllowance(camPartMm(300, LeadInStyle::Unshifted), inputs.allowanceMm);
  inputs.thicknessMm = 5;
  inputs.engrave = false;
  const std::vector<std::string> expected{
      "part: 40.97 x 19.45 mm (1.613 x 0.766 in)",  // the mitres stand out
      "closed contours: 3 (the outline and 2 holes)",
      "smallest hole diameter: 4.496 mm",
      "smallest inside radius: none",
      "couples from infinity to 12.5 ft (3.81 m)",
      "allowance: 0.800 mm",
      "layers: CUT",
      "warning: a hole of 4.496 mm is smaller than the material's thickness of 5.000 mm",
      "warning: the allowance of 0.800 mm is more than a quarter of the hole radius of 3.048 mm"};
  EXPECT_EQ(preflightSummary(inputs), expected);
  inputs.allowanceMm = 0.0;
  inputs.part = camPartMm(300, LeadInStyle::Unshifted);
  inputs.thicknessMm = 6;
  inputs.engrave = true;
  const std::vector<std::string> clean = preflightSummary(inputs);
  EXPECT_EQ(clean.back(), "layers: CUT, ENGRAVE");
}

TEST(FocusCard, RowsUpToTheClamp) {
  // 150 mm reaches every marker; 300 mm runs out of cam after 12.5 ft.
  const std::vector<FocusCardRow> all = focusCardRows(150);
  ASSERT_EQ(all.size(), 13u);
  for (std::size_t i = 0; i < all.size(); ++i) EXPECT_EQ(all[i].marker, static_cast<int>(i) + 1);
  const FocusCardRow& closest = all.back();  // 36 in
  EXPECT_DOUBLE_EQ(closest.distanceFt, 3.0);
  EXPECT_DOUBLE_EQ(closest.distanceM, 0.9144);
  EXPECT_DOUBLE_EQ(closest.travelMm, 150.0 * 150.0 / (914.4 - 150.0));
  EXPECT_DOUBLE_EQ(closest.travelIn * kMmPerInch, closest.travelMm);
  EXPECT_DOUBLE_EQ(closest.camHeightMm, 0.567 * kMmPerInch);
  const std::vector<FocusCardRow> clamped = focusCardRows(300);
  ASSERT_EQ(clamped.size(), 5u);  // to 15 ft: the next marker, 10 ft, lies past 12.5 ft
  EXPECT_DOUBLE_EQ(clamped.back().distanceFt, 15.0);
  EXPECT_GT(clamped.back().distanceM * 1000.0, *nearestCoupledDistanceMm(300));
  EXPECT_EQ(focusCardCsv(clamped).substr(0, 64).find("marker,distance_ft,distance_m,travel_mm,travel_in,cam_height_mm\n"),
            0u);
}

}  // namespace
}  // namespace korvel
