#include <dxflib/dl_dxf.h>

#include "export/cut_file_formats.h"
#include "export/memory_dxf_writer.h"

// DXF for CAD and CAM programs, written by dxflib: millimetres, y upward,
// each cam's outline one closed polyline and its holes true circles on CUT,
// marker ticks on MARKS, lettering on TEXT.
namespace korvel {

namespace {

constexpr int kInsUnitsMillimetres = 4;
constexpr int kClosedPolyline = 1;
constexpr int kTextBackward = 2;           // DXF text generation flag: mirrored in x
constexpr double kCapHeightPerEm = 0.716;  // Arial and Liberation Sans capitals
constexpr int kBlack = 7;                  // DXF colour 7: black on white paper

class DxfSheet {
 public:
  DxfSheet(const CamDrawing& drawing, int scale)
      : size_(drawing, scale), heightMm_(size_.heightMm()) {}
  // y upward from the surface's bottom edge, as CAD expects.
  QPointF at(QPointF p) const {
    const QPointF mm = size_.mm(p);
    return {mm.x(), heightMm_ - mm.y()};
  }
  const TrueSize& size() const { return size_; }

 private:
  TrueSize size_;
  double heightMm_;
};

DL_Attributes onLayer(const char* layer) { return DL_Attributes(layer, 256, -1, "BYLAYER", 1.0); }

void writeTables(DL_Dxf& dxf, DL_WriterA& dw) {
  dw.sectionTables();
  dxf.writeVPort(dw);
  dw.tableLinetypes(3);
  dxf.writeLinetype(dw, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
  dxf.writeLinetype(dw, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
  dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
  dw.tableEnd();
  const char* layers[] = {"0", "CUT", "MARKS", "TEXT"};
  dw.tableLayers(4);
  // Lineweight 0, the thinnest a CAD program draws: the line is the part's edge, and
  // a cut follows its centre.
  for (const char* layer : layers)
    dxf.writeLayer(dw, DL_LayerData(layer, 0), DL_Attributes("", kBlack, 0, "CONTINUOUS", 1.0));
  dw.tableEnd();
  dw.tableStyle(1);
  dxf.writeStyle(dw, DL_StyleData("Standard", 0, 0.0, 1.0, 0.0, 0, 2.5, "arial.ttf", ""));
  dw.tableEnd();
  dxf.writeView(dw);
  dxf.writeUcs(dw);
  dw.tableAppid(1);
  dxf.writeAppid(dw, "ACAD");
  dw.tableEnd();
  dxf.writeDimStyle(dw, 1, 1, 1, 1, 1);
  dxf.writeBlockRecord(dw);
  dw.tableEnd();
  dw.sectionEnd();
  dw.sectionBlocks();
  dxf.writeBlock(dw, DL_BlockData("*Model_Space", 0, 0.0, 0.0, 0.0));
  dxf.writeEndBlock(dw, "*Model_Space");
  dxf.writeBlock(dw, DL_BlockData("*Paper_Space", 0, 0.0, 0.0, 0.0));
  dxf.writeEndBlock(dw, "*Paper_Space");
  dxf.writeBlock(dw, DL_BlockData("*Paper_Space0", 0, 0.0, 0.0, 0.0));
  dxf.writeEndBlock(dw, "*Paper_Space0");
  dw.sectionEnd();
}

void writeOutlines(DL_Dxf& dxf, DL_WriterA& dw, const CamDrawing& drawing,
                   const DxfSheet& sheet) {
  for (const std::vector<QPointF>& outline : drawing.camOutlines()) {
    dxf.writePolyline(dw, DL_PolylineData(static_cast<int>(outline.size()), 0, 0, kClosedPolyline),
                      onLayer("CUT"));
    for (const QPointF& vertex : outline) {
      const QPointF p = sheet.at(vertex);
      dxf.writeVertex(dw, DL_VertexData(p.x(), p.y(), 0.0, 0.0));
    }
    dxf.writePolylineEnd(dw);
  }
}

void writeFigure(DL_Dxf& dxf, DL_WriterA& dw, const CamDrawing& drawing, const DrawnFigure& figure,
                 const DxfSheet& sheet) {
  const QPointF a = sheet.at(drawing.placed(figure, figure.a));
  const QPointF b = sheet.at(drawing.placed(figure, figure.b));
  switch (figure.shape) {
    case FigureShape::Circle:
      dxf.writeCircle(dw, DL_CircleData(a.x(), a.y(), 0.0, sheet.size().mm(figure.radius)),
                      onLayer("CUT"));
      break;
    case FigureShape::Line:
      if (figure.role == DrawnRole::OutlineSegment) break;  // part of its cam's polyline
      dxf.writeLine(dw, DL_LineData(a.x(), a.y(), 0.0, b.x(), b.y(), 0.0),
                    onLayer(figure.layer() == CutLayer::Marks ? "MARKS" : "CUT"));
      break;
    case FigureShape::Text: {
      const PlacedText placed = drawing.placedText(figure);
      const QPointF start = sheet.at(placed.baseLineStart);
      dxf.writeText(dw,
                    DL_TextData(start.x(), start.y(), 0.0, start.x(), start.y(), 0.0,
                                sheet.size().fontMm(drawing.font(figure)) * kCapHeightPerEm, 1.0,
                                placed.readsBackwards ? kTextBackward : 0, 0, 0, figure.text,
                                "Standard", 0.0),
                    onLayer("TEXT"));
      break;
    }
    case FigureShape::Point:
      break;  // the lead-in dot is the outline's first vertex
  }
}

}  // namespace

QByteArray dxfContent(const CamDrawing& drawing, int scale) {
  DL_Dxf dxf;  // writes for AutoCAD 2000 (AC1015) unless told otherwise, as the writer does
  MemoryDxfWriter dw(DL_Codes::AC1015);
  dxf.writeHeader(dw);
  dw.dxfString(9, "$INSUNITS");
  dw.dxfInt(70, kInsUnitsMillimetres);
  dw.dxfString(9, "$MEASUREMENT");
  dw.dxfInt(70, 1);
  dw.sectionEnd();
  writeTables(dxf, dw);
  const DxfSheet sheet(drawing, scale);
  dw.sectionEntities();
  writeOutlines(dxf, dw, drawing, sheet);
  for (const DrawnFigure& figure : drawing.figures()) writeFigure(dxf, dw, drawing, figure, sheet);
  dw.sectionEnd();
  dxf.writeObjects(dw);
  dxf.writeObjectsEnd(dw);
  dw.dxfEOF();
  return dw.content();
}

}  // namespace korvel
