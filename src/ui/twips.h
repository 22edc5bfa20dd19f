#pragma once

#include <QRect>
#include <cmath>

#include "common/units.h"

// Window positions and sizes are kept in twips; on screen a pixel is a whole
// number of them.
namespace korvel {

inline constexpr int kTwipsPerPixel = kTwipsPerInch / static_cast<int>(kPixelsPerInch);

inline int twipsToPixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
inline int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }
inline QRect twipsRect(int left, int top, int width, int height) {
  return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}
inline int inchesToPixels(double inches) { return static_cast<int>(std::lround(inches * kPixelsPerInch)); }

}  // namespace korvel
