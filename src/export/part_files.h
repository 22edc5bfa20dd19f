#pragma once

#include <QByteArray>
#include <string>
#include <vector>

#include "geometry/cam_part.h"

// A cam as the part a cutting service cuts: layer CUT holds the outline as one
// closed contour and the holes as circles, layer ENGRAVE the lens caption as
// closed glyph outlines, and nothing else: no title, no ticks, no text a
// reader would have to find a font for. Millimetres, the parts' bounding box
// from (0, 0), never mirrored.
namespace korvel {

// One part and where its bounding box's corner stands in the file.
struct PlacedPart {
  CamPart part;
  std::string caption;  // "150 mm"
  PartPoint at{};
};

struct PartLayers {
  bool engrave = true;  // the caption on ENGRAVE
};

// The caption's glyphs as closed polygons in the part's millimetres, y up,
// their ink centred on the part's caption centre: the preview's face at the
// size it is lettered on the cam, curves flattened to within 0.01 mm.
std::vector<std::vector<PartPoint>> captionOutlinesMm(const CamPart& part, const std::string& caption);

// R12 DXF (AC1009), which every laser program reads, y up, with $INSUNITS
// (millimetres) and $EXTMIN/$EXTMAX set to the parts.
QByteArray partDxfContent(const std::vector<PlacedPart>& parts, const PartLayers& layers);
// SVG in millimetres, y down as SVG has it, groups CUT and ENGRAVE.
QByteArray partSvgContent(const std::vector<PlacedPart>& parts, const PartLayers& layers);

// The width and height of all parts together, from (0, 0).
PartPoint partsExtent(const std::vector<PlacedPart>& parts);

}  // namespace korvel
