#include <QStringList>
#include <QXmlStreamWriter>

#include "export/cut_file_formats.h"

// SVG for laser cutters, written directly: QSvgGenerator keeps only six
// significant digits, too few for a micrometre. Millimetres throughout, y
// downward as on the surface; hairline black strokes, nothing filled.
namespace korvel {

namespace {

constexpr const char* kHairlineMm = "0.0254";  // 0.001 in: what laser programs take for a cut line

QString pathData(const std::vector<QPointF>& outline, const TrueSize& size) {
  QStringList parts;
  for (const QPointF& vertex : outline) {
    const QPointF p = size.mm(vertex);
    parts << (parts.isEmpty() ? "M" : "L") + fixed6(p.x()) + "," + fixed6(p.y());
  }
  return parts.join(' ') + " Z";
}

void writeShapes(QXmlStreamWriter& xml, const CamDrawing& drawing, const TrueSize& size,
                 CutLayer layer) {
  for (const DrawnFigure& figure : drawing.figures()) {
    if (figure.layer() != layer || figure.role == DrawnRole::OutlineSegment) continue;
    const QPointF a = size.mm(drawing.placed(figure, figure.a));
    const QPointF b = size.mm(drawing.placed(figure, figure.b));
    if (figure.shape == FigureShape::Circle) {
      xml.writeEmptyElement("circle");
      xml.writeAttribute("cx", fixed6(a.x()));
      xml.writeAttribute("cy", fixed6(a.y()));
      xml.writeAttribute("r", fixed6(size.mm(figure.radius)));
    } else if (figure.shape == FigureShape::Line) {
      xml.writeEmptyElement("line");
      xml.writeAttribute("x1", fixed6(a.x()));
      xml.writeAttribute("y1", fixed6(a.y()));
      xml.writeAttribute("x2", fixed6(b.x()));
      xml.writeAttribute("y2", fixed6(b.y()));
    } else if (figure.shape == FigureShape::Text) {
      const PlacedText placed = drawing.placedText(figure);
      const QPointF start = size.mm(placed.baseLineStart);
      xml.writeStartElement("text");
      const QFont& font = drawing.font(figure);
      xml.writeAttribute("font-family", font.family());
      xml.writeAttribute("font-size", fixed6(size.fontMm(font)));
      QString transform = "translate(" + fixed6(start.x()) + "," + fixed6(start.y()) + ")";
      if (placed.readsBackwards) transform += " scale(-1,1)";
      xml.writeAttribute("transform", transform);
      xml.writeCharacters(QString::fromStdString(figure.text));
      xml.writeEndElement();
    }
  }
}

}  // namespace

QByteArray svgContent(const CamDrawing& drawing, int scale) {
  const TrueSize size(drawing, scale);
  QByteArray content;
  QXmlStreamWriter xml(&content);
  startMillimetreSvg(xml, size.widthMm(), size.heightMm());

  xml.writeStartElement("g");
  xml.writeAttribute("id", "cut");
  xml.writeAttribute("fill", "none");
  xml.writeAttribute("stroke", "#000000");
  xml.writeAttribute("stroke-width", kHairlineMm);
  for (const std::vector<QPointF>& outline : drawing.camOutlines()) {
    xml.writeEmptyElement("path");
    xml.writeAttribute("d", pathData(outline, size));
  }
  writeShapes(xml, drawing, size, CutLayer::Cut);
  xml.writeEndElement();

  xml.writeStartElement("g");
  xml.writeAttribute("id", "marks");
  xml.writeAttribute("fill", "none");
  xml.writeAttribute("stroke", "#000000");
  xml.writeAttribute("stroke-width", kHairlineMm);
  writeShapes(xml, drawing, size, CutLayer::Marks);
  xml.writeEndElement();

  xml.writeStartElement("g");
  xml.writeAttribute("id", "text");
  xml.writeAttribute("fill", "#000000");
  writeShapes(xml, drawing, size, CutLayer::Text);
  xml.writeEndElement();

  xml.writeEndElement();
  xml.writeEndDocument();
  return content;
}

}  // namespace korvel
