#include <QPainterPath>
#include <QTransform>

#include "common/units.h"
#include "export/part_files.h"
#include "render/drawing_painter.h"
#include "render/surface_fonts.h"

namespace korvel {

namespace {

// The glyphs are taken from the face at a large size, where hinting and
// whole-pixel advances change nothing, then scaled to the caption's size.
constexpr int kGlyphPixelsPerEm = 1000;
// toSubpathPolygons flattens each curve until it lies within about half a
// unit of the device it maps to; at 100 units to the millimetre that is
// 0.005 mm, inside the 0.01 mm an engraving is held to.
constexpr double kFlatteningUnitsPerMm = 100.0;

}  // namespace

std::vector<std::vector<PartPoint>> captionOutlinesMm(const CamPart& part, const std::string& caption) {
  QFont font = previewFont();
  const double emMm = surfaceEmInches(font) * kMmPerInch;  // as the caption is lettered on the cam
  font.setPixelSize(kGlyphPixelsPerEm);
  font.setHintingPreference(QFont::PreferNoHinting);
  QPainterPath glyphs;
  glyphs.addText(0.0, 0.0, font, QString::fromStdString(caption));
  // In flattening units, y turned up as the part has it.
  const double scale = emMm / kGlyphPixelsPerEm * kFlatteningUnitsPerMm;
  const QList<QPolygonF> polygons = glyphs.toSubpathPolygons(QTransform::fromScale(scale, -scale));
  QRectF ink;
  for (const QPolygonF& polygon : polygons) ink |= polygon.boundingRect();
  const QPointF inkCentre = ink.center();

  std::vector<std::vector<PartPoint>> outlines;
  for (QPolygonF polygon : polygons) {
    if (polygon.size() > 1 && polygon.front() == polygon.back()) polygon.removeLast();  // closed by the file
    if (polygon.size() < 3) continue;
    std::vector<PartPoint>& outline = outlines.emplace_back();
    for (const QPointF& p : polygon)
      outline.push_back({part.captionCentre.x + (p.x() - inkCentre.x()) / kFlatteningUnitsPerMm,
                         part.captionCentre.y + (p.y() - inkCentre.y()) / kFlatteningUnitsPerMm});
  }
  return outlines;
}

}  // namespace korvel
