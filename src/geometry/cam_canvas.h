#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What drawing a cam needs of a surface. Coordinates are surface inches, origin
// top-left, y downward, handed over in single precision.
namespace korvel {

struct CamProfile;

// What a run of figures is, so a surface that keeps its drawing as geometry
// can hand a cutter each cam's outline as one closed shape, and its distance
// marker ticks apart from it.
enum class FigureRole { CamOutline, MarkerTicks };

// A point on the surface, in its single precision.
struct SurfacePoint {
  float x;
  float y;
};

using Colour = std::uint32_t;  // 0x00BBGGRR; cams are drawn in black, 0
inline constexpr Colour kBlack = 0;

class CamCanvas {
 public:
  virtual ~CamCanvas() = default;
  virtual void setDrawColour(Colour colour) = 0;
  virtual void point(float x, float y) = 0;
  virtual void line(float x1, float y1, float x2, float y2, Colour colour) = 0;
  virtual void circle(float x, float y, float radius) = 0;  // outline, radius along x
  virtual void setTextPosition(float x, float y) = 0;
  virtual void writeText(const std::string& text) = 0;  // then one line down, at x = 0
  // Writes text with its ink (the digits' height, first glyph to last) centred
  // on (x, y), measured in the surface's own font; then as writeText.
  virtual void writeTextCentred(float x, float y, const std::string& text) = 0;
  virtual void refresh() = 0;                            // show the image now

  // Figures drawn between these belong to role; runs nest (ticks inside an outline).
  virtual void beginFigure(FigureRole /*role*/) {}
  virtual void endFigure() {}
  // The outline of the cam just drawn as one closed polygon, in the order the
  // geometry computed it, for a cutter.
  virtual void keepOutline(const std::vector<SurfacePoint>& /*polygon*/) {}
  // The profile of the cam just drawn, for focalMm with the extension factor it started from.
  virtual void keepProfile(double /*focalMm*/, float /*extensionFactor*/, const CamProfile& /*profile*/) {}
};

}  // namespace korvel
