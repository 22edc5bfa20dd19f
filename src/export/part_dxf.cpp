#include <dxflib/dl_dxf.h>

#include <string_view>

#include "export/memory_dxf_writer.h"
#include "export/part_files.h"

namespace korvel {

namespace {

constexpr int kInsUnitsMillimetres = 4;
constexpr int kClosedPolyline = 1;
constexpr int kBlack = 7;  // DXF colour 7: black on white paper

DL_Attributes onLayer(const char* layer) { return DL_Attributes(layer, 256, -1, "BYLAYER", 1.0); }

void point(DL_WriterA& dw, const char* variable, double x, double y) {
  dw.dxfString(9, variable);
  dw.dxfReal(10, x);
  dw.dxfReal(20, y);
  dw.dxfReal(30, 0.0);
}

void writeTables(DL_Dxf& dxf, DL_WriterA& dw, bool engrave) {
  dw.sectionTables();
  dw.tableLinetypes(1);
  dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
  dw.tableEnd();
  dw.tableLayers(engrave ? 3 : 2);
  for (const char* layer : {"0", "CUT", "ENGRAVE"}) {
    if (!engrave && std::string_view(layer) == "ENGRAVE") continue;
    dxf.writeLayer(dw, DL_LayerData(layer, 0), DL_Attributes("", kBlack, 0, "CONTINUOUS", 1.0));
  }
  dw.tableEnd();
  dw.sectionEnd();
}

void writeContour(DL_Dxf& dxf, DL_WriterA& dw, const std::vector<PartPoint>& contour, PartPoint at,
                  const char* layer) {
  dxf.writePolyline(dw, DL_PolylineData(static_cast<int>(contour.size()), 0, 0, kClosedPolyline), onLayer(layer));
  for (const PartPoint& p : contour) dxf.writeVertex(dw, DL_VertexData(at.x + p.x, at.y + p.y, 0.0, 0.0));
  dxf.writePolylineEnd(dw);
}

}  // namespace

QByteArray partDxfContent(const std::vector<PlacedPart>& parts, const PartLayers& layers) {
  DL_Dxf dxf;
  // dxflib writes R12 entities only once told so through out(), which also opens
  // the file it names: with no name it opens nothing and returns none.
  delete dxf.out("", DL_Codes::AC1009);
  MemoryDxfWriter dw(DL_Codes::AC1009);
  dxf.writeHeader(dw);
  // R12 predates $INSUNITS, but readers take it: without it a file opens 25.4 times off.
  dw.dxfString(9, "$INSUNITS");
  dw.dxfInt(70, kInsUnitsMillimetres);
  const PartPoint extent = partsExtent(parts);
  point(dw, "$EXTMIN", 0.0, 0.0);
  point(dw, "$EXTMAX", extent.x, extent.y);
  dw.sectionEnd();
  writeTables(dxf, dw, layers.engrave);
  dw.sectionEntities();
  for (const PlacedPart& placed : parts) {
    writeContour(dxf, dw, placed.part.outline, placed.at, "CUT");
    for (const PartCircle& hole : placed.part.holes)
      dxf.writeCircle(dw, DL_CircleData(placed.at.x + hole.centre.x, placed.at.y + hole.centre.y, 0.0, hole.radius),
                      onLayer("CUT"));
    if (!layers.engrave) continue;
    for (const std::vector<PartPoint>& glyph : captionOutlinesMm(placed.part, placed.caption))
      writeContour(dxf, dw, glyph, placed.at, "ENGRAVE");
  }
  dw.sectionEnd();
  dw.dxfEOF();
  return dw.content();
}

}  // namespace korvel
