#include "geometry/cam_outline.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/recording_surface.h"

namespace korvel {
namespace {

using testing::RecordingSurface;
using testing::SurfaceOp;
constexpr double kInch = 1e-6;

void expectPoints(const SurfaceOp& op, std::initializer_list<double> expected) {
  ASSERT_EQ(op.args.size() >= expected.size(), true) << op.name;
  std::size_t i = 0;
  for (double e : expected) EXPECT_NEAR(op.args[i++], e, kInch) << op.name << " arg " << i - 1;
}

bool hasLine(const RecordingSurface& s, double x1, double y1, double x2, double y2) {
  for (const SurfaceOp& op : s.named("line"))
    if (std::abs(op.args[0] - x1) < kInch && std::abs(op.args[1] - y1) < kInch &&
        std::abs(op.args[2] - x2) < kInch && std::abs(op.args[3] - y2) < kInch)
      return true;
  return false;
}

TEST(CamOutline, WorkedExampleFor150mmOnTheSheet) {
  RecordingSurface surface;
  float k = 1.074f;
  CamOutlineOptions options;
  options.distanceMarkers = true;
  drawCamOutline(surface, 150.0, 0.5, 0.5, k, options);

  ASSERT_GE(surface.ops.size(), 2u);
  EXPECT_EQ(surface.ops[0].name, "colour");
  EXPECT_EQ(surface.ops[0].args[0], 0.0f);
  ASSERT_EQ(surface.ops[1].name, "point");
  expectPoints(surface.ops[1], {0.478817, 0.495});

  // Row 13 and its two ticks.
  EXPECT_TRUE(hasLine(surface, 1.838475, 0.678, 1.838475, 0.778));
  EXPECT_TRUE(hasLine(surface, 1.838475, 1.07, 1.838475, 1.17));
  // End line to E, then the body around to the left foot and back to A.
  EXPECT_TRUE(hasLine(surface, 1.838475, 0.628, 1.856, 0.64));
  EXPECT_TRUE(hasLine(surface, 1.856, 0.64, 1.928, 1.195));
  EXPECT_TRUE(hasLine(surface, 1.686, 1.185, 0.626, 1.185));
  EXPECT_TRUE(hasLine(surface, 0.386, 1.195, 0.478817, 0.495));
  for (const SurfaceOp& op : surface.named("line")) EXPECT_EQ(op.args[4], 0.0f);

  // 13 pairs of ticks: lines = A-B + 26 rows + E + 7 body + 26 ticks.
  EXPECT_EQ(surface.named("line").size(), 1u + 26u + 1u + 7u + 26u);
  const auto circles = surface.named("circle");
  ASSERT_EQ(circles.size(), 2u);
  expectPoints(circles[0], {0.7, 0.8, 0.12});
  expectPoints(circles[1], {1.38, 0.96, 0.12});

  const auto position = surface.named("text position");
  ASSERT_EQ(position.size(), 1u);
  expectPoints(position[0], {1.0, 0.9});
  EXPECT_EQ(surface.texts(), std::vector<std::string>{"150 mm"});
  EXPECT_EQ(k, 1.074f);
  // The screen follows the lead-in and every ordinary row.
  EXPECT_EQ(surface.named("refresh").size(), 1u + 26u);
}

TEST(CamOutline, HighResolutionScalesEveryCoordinateAndTheHoles) {
  RecordingSurface surface;
  float k = 1.074f;
  CamOutlineOptions options;
  options.plotScale = 6;
  drawCamOutline(surface, 150.0, 0.5, 0.5, k, options);
  expectPoints(surface.named("point")[0], {0.478817 * 6, 0.495 * 6});
  const auto circles = surface.named("circle");
  expectPoints(circles[0], {4.2, 4.8, 0.72});
  expectPoints(surface.named("text position")[0], {6.0, 5.4});
}

TEST(CamOutline, CoordinatesAFloatCannotHoldAreSkippedSteps) {
  // A 5e39 mm lens sets the profile about -2e38 inch off: a float still, but
  // not once the high-resolution sheet multiplies it by 6.
  RecordingSurface surface;
  float k = 1.074f;
  CamOutlineOptions options;
  options.plotScale = 6;
  drawCamOutline(surface, 5e39, 0.5, 0.5, k, options);
  for (const SurfaceOp& op : surface.ops)
    for (float v : op.args) EXPECT_TRUE(std::isfinite(v)) << op.name;
  EXPECT_TRUE(surface.named("point").empty());
  // The body from the end point E round to the left foot still stands.
  EXPECT_EQ(surface.named("line").size(), 6u);
  EXPECT_TRUE(hasLine(surface, 1.856 * 6, 0.64 * 6, 1.928 * 6, 1.195 * 6));
  EXPECT_EQ(surface.named("circle").size(), 2u);
}

TEST(CamOutline, MarkersOffAndFlippedSheetsDrawNoTicksAndNoCaption) {
  RecordingSurface surface;
  float k = 1.07f;
  CamOutlineOptions options;
  options.caption = false;
  drawCamOutline(surface, 150.0, 0.5, 0.5, k, options);
  EXPECT_EQ(surface.named("line").size(), 1u + 26u + 1u + 7u);
  EXPECT_TRUE(surface.texts().empty());
  EXPECT_TRUE(surface.named("text position").empty());
  EXPECT_EQ(k, 1.074f);
}

TEST(CamOutline, ClampedLensRunsStraightToTheRightFoot) {
  RecordingSurface surface;
  float k = 1.074f;
  CamOutlineOptions options;
  options.distanceMarkers = true;
  drawCamOutline(surface, 210.0, 0.0, 0.0, k, options);
  EXPECT_TRUE(hasLine(surface, 1.356, 0.074, 1.428, 0.695));
  // Ticks only for rows 1 to 9: 9 pairs.
  EXPECT_EQ(surface.named("line").size(), 1u + 20u + 7u + 18u);
  EXPECT_EQ(k, 1.074f);
}

TEST(CamOutline, PreviewCamKeepsItsOwnColourAndUnshiftedLeadIn) {
  RecordingSurface surface;
  float k = 1.074f;
  CamOutlineOptions options;
  options.setDrawColour = false;
  options.caption = false;
  options.leadIn = LeadInStyle::Unshifted;
  drawCamOutline(surface, 150.0, 0.35, 0.5, k, options);
  EXPECT_TRUE(surface.named("colour").empty());
  expectPoints(surface.ops[0], {0.328817, 0.495});
  expectPoints(surface.named("line")[0], {0.328817, 0.495, 0.350297, 0.497});
  const auto circles = surface.named("circle");
  expectPoints(circles[0], {0.55, 0.8, 0.12});
  expectPoints(circles[1], {1.23, 0.96, 0.12});
}

}  // namespace
}  // namespace korvel
