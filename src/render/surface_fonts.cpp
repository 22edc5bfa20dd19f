#include "render/surface_fonts.h"

namespace korvel {

namespace {

constexpr double kStandardPoints = 8.25;

QFont face(const char* family) {
  QFont font(family);
  font.setPointSizeF(kStandardPoints);
  return font;
}

}  // namespace

QFont previewFont() { return face("Liberation Sans Narrow"); }

QFont sheetFont() { return face("Arial"); }

}  // namespace korvel
