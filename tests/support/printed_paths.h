#pragma once

#include <QPolygonF>
#include <QString>
#include <vector>

#include "render/drawing_record.h"

// Reads back the lines a printed PDF strokes (pdftocairo -svg), so a test can
// hold every printed vertex against the drawing it came from.
namespace korvel::testing {

// Each stroked path of page 1 as its vertices (curve ends included), in
// inches from the page's top-left corner; lettering is filled, not stroked.
std::vector<QPolygonF> strokedPaths(const QString& pdfPath);

// How many pictures the PDF holds (pdfimages -list).
int pdfImageCount(const QString& pdfPath);

// Expects the paths to be the record's points, lines and circles in drawing
// order, surface (0, 0) at origin and each surface inch scaleX by scaleY
// inches, every vertex, centre and radius within tolerance inches. Returns
// the largest deviation found.
double expectPathsOfRecord(const std::vector<QPolygonF>& paths, const DrawingRecord& record,
                           QPointF origin, double scaleX, double scaleY, double tolerance);

}  // namespace korvel::testing
