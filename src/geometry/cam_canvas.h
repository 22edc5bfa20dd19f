#pragma once

#include <cstdint>
#include <string>

// What drawing a cam needs of a surface. Coordinates are surface inches, origin
// top-left, y downward, handed over in single precision.
namespace korvel {

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
  virtual void refresh() = 0;                            // show the image now
};

}  // namespace korvel
