// The cam's working edge, point by point, and its whole cut-out shape as drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

#include "geometry/cam_outline.h"
#include "geometry/cam_profile.h"
#include "geometry/coupled_range.h"

namespace korvel {
namespace {

// Keeps every figure drawn with its exact arguments, so a test can compare a
// drawing figure by figure.
class RecordingCanvas : public CamCanvas {
 public:
  void setDrawColour(Colour c) override { ops.push_back({"colour", {static_cast<float>(c)}}); }
  void point(float x, float y) override { ops.push_back({"point", {x, y}}); }
  void line(float x1, float y1, float x2, float y2, Colour c) override {
    ops.push_back({"line", {x1, y1, x2, y2, static_cast<float>(c)}});
  }
  void circle(float x, float y, float r) override { ops.push_back({"circle", {x, y, r}}); }
  void setTextPosition(float x, float y) override { ops.push_back({"text position", {x, y}}); }
  void writeText(const std::string& text) override { texts.push_back(text); }
  void writeTextCentred(float x, float y, const std::string& text) override {
    ops.push_back({"text centre", {x, y}});
    texts.push_back(text);
  }
  void refresh() override {}

  std::size_t count(const std::string& name) const {
    return std::count_if(ops.begin(), ops.end(), [&](const auto& op) { return op.first == name; });
  }
  // Whether a figure of that name was drawn with these arguments, each within tolerance.
  bool has(const std::string& name, const std::vector<float>& args, float tolerance) const {
    return std::any_of(ops.begin(), ops.end(), [&](const auto& op) {
      return op.first == name && op.second.size() >= args.size() &&
             std::equal(args.begin(), args.end(), op.second.begin(),
                        [&](float a, float b) { return std::abs(a - b) <= tolerance; });
    });
  }
  std::vector<std::pair<std::string, std::vector<float>>> ops;  // "point", "line", ... and the arguments
  std::vector<std::string> texts;
};

TEST(CamProfile, PointsOfTheWorkingEdge) {
  struct Row {
    const char* name;
    double focalMm;
    float factor;
    std::size_t points;
    // Point (A, B, then row r at 1 + 2r), x, y.
    std::vector<std::tuple<std::size_t, double, double>> spots;
    CamPointKind last = CamPointKind::Final;
  };
  // clang-format off
  const Row rows[] = {
      {"worked example, 150 mm after a cam", 150, 1.074f, 29,
       {{0, -0.021183, -0.005}, {1, -0.010443, -0.003}, {2, 0.000396, 0}, {3, 0.000593, 0}, {5, 0.031368, 0.003},
        {6, 0.041892, 0.005}, {9, 0.113723, 0.014}, {13, 0.333178, 0.041}, {21, 0.689836, 0.074},
        {25, 1.091824, 0.111}, {27, 1.338475, 0.128}, {28, 1.356, 0.140}}},
      // Another starting factor holds only until row 2.5 sets its own.
      {"starting from another factor", 150, 1.07f, 29,
       {{0, -0.021104, -0.005}, {5, 0.031251, 0.003}, {6, 0.041892, 0.005}}},
      {"long lens stops at the working length", 210, 1.074f, 22, {{20, 1.266882, 0.069}, {21, 1.356, 0.074}},
       CamPointKind::ClampedEnd},
      // Row 13 comes out at exactly 1.356 in single precision, just short of it
      // in double: it is the clamped end, not a profile point followed by E.
      {"a point exactly at the working length is clamped", 150.890824, 1.074f, 28, {{27, 1.356, 0.128}},
       CamPointKind::ClampedEnd},
      // Both lead-in points divide by zero and keep 0; row 0.5 lies behind the
      // lens, its extension negative, which ends the profile.
      {"lens as long as row 0", 3203248, 1.074f, 4, {{0, 0, -0.005}, {1, 0, -0.003}, {2, -543430.75, 0}}},
      {"not a number leaves every extension at 0", std::numeric_limits<double>::quiet_NaN(), 1.074f, 29,
       {{0, 0, -0.005}, {27, 0, 0.128}}},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const CamProfile profile = ComputeCamProfile(row.focalMm, row.factor);
    ASSERT_EQ(profile.points.size(), row.points);
    EXPECT_EQ(profile.points.back().kind, row.last);
    for (const auto& [at, x, y] : row.spots) {
      EXPECT_NEAR(profile.points[at].x, x, 1e-6) << at;
      EXPECT_NEAR(profile.points[at].y, y, 1e-6) << at;
    }
  }
}

TEST(CamOutline, DrawsTheCutOutShape) {
  struct Row {
    const char* name;
    double focalMm, xOffset, yOffset;
    CamOutlineOptions options;
    std::vector<std::pair<std::string, std::size_t>> counts;        // operations of each name
    std::vector<std::pair<std::string, std::vector<float>>> drawn;  // each among the operations
    std::vector<std::string> texts;
  };
  // Lines: A-B, 26 rows, E, the 7 of the body, and two ticks per marker.
  // clang-format off
  const Row rows[] = {
      {"worked example, 150 mm on the sheet", 150, 0.5, 0.5, {.distanceMarkers = true},
       {{"line", 61}, {"colour", 1}, {"circle", 2}},
       {{"point", {0.478817f, 0.495f}}, {"line", {1.838475f, 0.678f, 1.838475f, 0.778f, 0}},
        {"line", {1.838475f, 1.07f, 1.838475f, 1.17f, 0}}, {"line", {1.838475f, 0.628f, 1.856f, 0.64f, 0}},
        {"line", {1.856f, 0.64f, 1.928f, 1.195f, 0}}, {"line", {1.686f, 1.185f, 0.626f, 1.185f, 0}},
        {"line", {0.386f, 1.195f, 0.478817f, 0.495f, 0}}, {"circle", {0.7f, 0.8f, 0.12f}},
        {"circle", {1.38f, 0.96f, 0.12f}}, {"text centre", {0.885f, 0.995f}}}, {"150 mm"}},
      {"high resolution scales coordinates and holes", 150, 0.5, 0.5, {.plotScale = 6}, {{"line", 35}},
       {{"point", {0.478817f * 6, 0.495f * 6}}, {"circle", {4.2f, 4.8f, 0.72f}}, {"text centre", {5.31f, 5.97f}}},
       {"150 mm"}},
      {"caption rounded to two decimals", 1234.5678, 0, 0, {}, {}, {}, {"1234.57 mm"}},
      {"preview keeps its colour and puts B on row 0", 150, 0.35, 0.5,
       {.caption = false, .setDrawColour = false, .leadIn = LeadInStyle::Unshifted}, {{"line", 35}, {"colour", 0}},
       {{"line", {0.328817f, 0.495f, 0.350297f, 0.497f, 0}}, {"circle", {0.55f, 0.8f, 0.12f}},
        {"circle", {1.23f, 0.96f, 0.12f}}}, {}},
      {"long lens runs straight to the right foot", 210, 0, 0, {.distanceMarkers = true, .caption = false},
       {{"line", 1 + 20 + 7 + 18}}, {{"line", {1.356f, 0.074f, 1.428f, 0.695f, 0}}}, {}},
      // About -2e38 inch off: a float still, but not once the high-resolution
      // sheet multiplies it by 6; only the body from E round stands.
      {"coordinates a float cannot hold are skipped", 5e39, 0.5, 0.5, {.plotScale = 6, .caption = false},
       {{"line", 6}, {"point", 0}}, {{"line", {1.856f * 6, 0.64f * 6, 1.928f * 6, 1.195f * 6, 0}}}, {}},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    RecordingCanvas surface;
    float k = 1.074f;
    drawCamOutline(surface, row.focalMm, row.xOffset, row.yOffset, k, row.options);
    for (const auto& [name, count] : row.counts) EXPECT_EQ(surface.count(name), count) << name;
    for (const auto& [name, args] : row.drawn)
      EXPECT_TRUE(surface.has(name, args, 1e-6f * row.options.plotScale)) << name;
    EXPECT_EQ(surface.texts, row.texts);
    EXPECT_EQ(k, 1.074f);  // whatever the rows set, a finished cam leaves 1.074
  }
}

// The nearest distance a cam couples to is the last row its profile reaches.
TEST(CoupledRange, NamesTheLastRowBeforeTheEndOfTheCam) {
  struct Row { const char* name; double focalMm; const char* text; };
  const Row rows[] = {
      {"every row reached", 150, "couples from infinity to 3 ft (0.91 m)"},
      {"clamped at row 10", 210, "couples from infinity to 5.5 ft (1.68 m)"},
      {"clamped early", 300, "couples from infinity to 12.5 ft (3.81 m)"},
      {"only the first row after infinity", 3110.5, "couples from infinity to 5260 ft (1603.25 m)"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(coupledRangeText(row.focalMm), row.text);
  }
}

}  // namespace
}  // namespace korvel
