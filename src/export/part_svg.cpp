#include <QStringList>
#include <QXmlStreamWriter>

#include "export/cut_file_formats.h"
#include "export/part_files.h"

namespace korvel {

namespace {

constexpr const char* kHairlineMm = "0.0254";  // 0.001 in: what laser programs take for a cut line

// Part millimetres (y up) to the file's (y down from the top edge).
class SvgFrame {
 public:
  explicit SvgFrame(double heightMm) : heightMm_(heightMm) {}
  QString x(const PlacedPart& placed, double x) const { return fixed6(placed.at.x + x); }
  QString y(const PlacedPart& placed, double y) const { return fixed6(heightMm_ - (placed.at.y + y)); }

 private:
  double heightMm_;
};

void writeClosedPath(QXmlStreamWriter& xml, const std::vector<PartPoint>& contour, const PlacedPart& placed,
                     const SvgFrame& frame) {
  QStringList steps;
  for (const PartPoint& p : contour)
    steps << (steps.isEmpty() ? "M" : "L") + frame.x(placed, p.x) + "," + frame.y(placed, p.y);
  xml.writeEmptyElement("path");
  xml.writeAttribute("d", steps.join(' ') + " Z");
}

void startGroup(QXmlStreamWriter& xml, const char* id) {
  xml.writeStartElement("g");
  xml.writeAttribute("id", id);
  xml.writeAttribute("fill", "none");
  xml.writeAttribute("stroke", "#000000");
  xml.writeAttribute("stroke-width", kHairlineMm);
}

}  // namespace

QByteArray partSvgContent(const std::vector<PlacedPart>& parts, const PartLayers& layers) {
  const PartPoint extent = partsExtent(parts);
  const SvgFrame frame(extent.y);
  QByteArray content;
  QXmlStreamWriter xml(&content);
  startMillimetreSvg(xml, extent.x, extent.y);

  startGroup(xml, "CUT");
  for (const PlacedPart& placed : parts) {
    writeClosedPath(xml, placed.part.outline, placed, frame);
    for (const PartCircle& hole : placed.part.holes) {
      xml.writeEmptyElement("circle");
      xml.writeAttribute("cx", frame.x(placed, hole.centre.x));
      xml.writeAttribute("cy", frame.y(placed, hole.centre.y));
      xml.writeAttribute("r", fixed6(hole.radius));
    }
  }
  xml.writeEndElement();

  if (layers.engrave) {
    startGroup(xml, "ENGRAVE");
    for (const PlacedPart& placed : parts)
      for (const std::vector<PartPoint>& glyph : captionOutlinesMm(placed.part, placed.caption))
        writeClosedPath(xml, glyph, placed, frame);
    xml.writeEndElement();
  }

  xml.writeEndElement();
  xml.writeEndDocument();
  return content;
}

}  // namespace korvel
