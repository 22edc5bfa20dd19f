#pragma once

#include <QPointF>
#include <QString>

#include "render/drawing_record.h"

// Holds a printed PDF against the drawing it came from, to the thousandth of
// an inch: page 1, read back with pdftocairo -svg, must hold no picture, and
// each line it strokes must be the record's next point, line or circle, with
// surface (0, 0) at origin and each surface inch scaleX by scaleY inches on
// the page. Lettering is filled, not stroked, and is not looked at. Returns
// the largest deviation found, in inches.
namespace korvel::testing {

double expectPrintedRecord(const QString& pdfPath, const DrawingRecord& record, QPointF origin,
                           double scaleX, double scaleY, double tolerance = 0.001);

}  // namespace korvel::testing
