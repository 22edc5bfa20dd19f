#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <optional>

// Looks at printed output the way a user with a ruler would: renders a PDF
// page and finds where the ink is.
namespace korvel::testing {

// Page 1 of a PDF rendered in grey at dpi dots per inch (pdftoppm).
QImage renderPdfPage(const QString& pdfPath, int dpi);

// Bounding box of the dark pixels of an image, in inches at dpi, optionally
// only of those within area (inches).
std::optional<QRectF> inkBounds(const QImage& image, double dpi, std::optional<QRectF> area = std::nullopt);

}  // namespace korvel::testing

namespace korvel::testing {

// Checks that the drawing, drawn at drawnDpi surface pixels per printed inch,
// landed on page 1 of the PDF one inch into the printable area (whose corner
// lies at corner inches on the page), scaled by scaleX and scaleY, by
// comparing where its ink lies in both. Printed lettering, unhinted at the
// printer's resolution, may end up to textSlack inches short of the hinted
// 96 ppi lettering where a text line is the widest ink.
void expectPrintedPlacement(const QImage& drawn, double drawnDpi, const QString& pdfPath, double scaleX,
                            double scaleY, QPointF corner = {}, double textSlack = 0);

}  // namespace korvel::testing
