#pragma once

#include <QRect>
#include <cmath>

// Window positions and sizes are kept in twips, 1440 to the inch; on screen a
// pixel is 15 twips (96 dots per inch).
namespace korvel {

inline constexpr int kTwipsPerPixel = 15;
inline constexpr double kPixelsPerInch = 96.0;

inline int twipsToPixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
inline int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }
inline QRect twipsRect(int left, int top, int width, int height) {
  return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}
inline int inchesToPixels(double inches) { return static_cast<int>(std::lround(inches * kPixelsPerInch)); }

}  // namespace korvel
