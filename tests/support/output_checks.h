#pragma once

#include <QImage>
#include <QPointF>
#include <QString>

#include "drawing/cam_drawing.h"
#include "render/drawing_painter.h"

// What the program put out, held against what it should be: a picture
// against its golden image, a print against the drawing it came from.
namespace korvel::testing {

// Compares a picture pixel for pixel with its golden image in
// tests/data/golden. On a mismatch the actual picture and a difference image
// (differing pixels red over a faint copy of the golden one) are written to
// the build's tests/golden folder, named after the golden file, for a look.
void expectMatchesGolden(const QImage& actual, const QString& goldenName);

// Holds a printed PDF against the drawing it came from, to the thousandth of
// an inch: page 1, read back with pdftocairo -svg, must hold no picture, and
// each line it strokes must be the drawing's next point, line or circle, with
// surface (0, 0) at origin and each surface inch scaleX by scaleY inches on
// the page. Lettering is filled, not stroked, and is not looked at. With
// closed outlines each cam's outline must be one closed path through its
// vertices, in the place of its first line; strokesAfter more lines may follow
// the drawing (a PDF's scale bars). Returns the largest deviation found, in
// inches.
double expectPrintedDrawing(const QString& pdfPath, const CamDrawing& drawing, QPointF origin,
                            double scaleX, double scaleY, double tolerance = 0.001,
                            OutlineStrokes outlines = OutlineStrokes::AsDrawn,
                            std::size_t strokesAfter = 0);

}  // namespace korvel::testing
