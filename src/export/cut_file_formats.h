#pragma once

#include <QByteArray>
#include <QPointF>
#include <QString>
#include <optional>

#include "export/pdf_page.h"
#include "geometry/distance_marker_table.h"
#include "drawing/cam_drawing.h"

// The writers behind writeCutFile, each giving the whole file's content.
class QXmlStreamWriter;

namespace korvel {

// Surface inches to true-size millimetres, y still downward from the top.
class TrueSize {
 public:
  TrueSize(const CamDrawing& drawing, int scale) : drawing_(drawing), scale_(scale) {}
  double mm(double surfaceInches) const { return surfaceInches / scale_ * kMmPerInch; }
  QPointF mm(QPointF p) const { return {mm(p.x()), mm(p.y())}; }
  double widthMm() const { return mm(drawing_.width()); }
  double heightMm() const { return mm(drawing_.height()); }
  // The em of a text figure's font, in millimetres on the cam.
  double fontMm(const QFont& font) const;
  int scale() const { return scale_; }

 private:
  const CamDrawing& drawing_;
  int scale_;
};

// Numbers in files always take ".", whatever the locale, with six decimals of
// a millimetre or an inch.
QString fixed6(double value);

// Opens an SVG document measured in millimetres: width and height in mm and a
// viewBox of the same numbers, so one user unit is one millimetre.
void startMillimetreSvg(QXmlStreamWriter& xml, double widthMm, double heightMm);

// Each returns the file's content; the PDF's may fail, with the reason in error.
QByteArray dxfContent(const CamDrawing& drawing, int scale);
QByteArray svgContent(const CamDrawing& drawing, int scale);
// The PDF on a portrait page of paper.
std::optional<QByteArray> pdfContent(const CamDrawing& drawing, int scale, Paper paper, QString& error);
QByteArray profileCsvContent(const CamDrawing& drawing);

}  // namespace korvel
