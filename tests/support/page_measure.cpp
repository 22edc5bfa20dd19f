#include "support/page_measure.h"

#include <QProcess>
#include <QTemporaryDir>

namespace korvel::testing {

QImage renderPdfPage(const QString& pdfPath, int dpi) {
  QTemporaryDir dir;
  const QString base = dir.filePath("page");
  QProcess::execute("pdftoppm", {"-gray", "-r", QString::number(dpi), "-singlefile", "-f", "1", "-l", "1",
                                 pdfPath, base});
  return QImage(base + ".pgm");
}

std::optional<QRectF> inkBounds(const QImage& image, double dpi, std::optional<QRectF> area) {
  int left = image.width(), top = image.height(), right = -1, bottom = -1;
  QRect scan = image.rect();
  if (area)
    scan &= QRect(QPoint(int(area->left() * dpi), int(area->top() * dpi)),
                  QPoint(int(area->right() * dpi), int(area->bottom() * dpi)));
  for (int y = scan.top(); y <= scan.bottom(); ++y)
    for (int x = scan.left(); x <= scan.right(); ++x)
      if (qGray(image.pixel(x, y)) < 128) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  if (right < 0) return std::nullopt;
  return QRectF(left / dpi, top / dpi, (right + 1 - left) / dpi, (bottom + 1 - top) / dpi);
}

}  // namespace korvel::testing

#include <gtest/gtest.h>

namespace korvel::testing {

void expectPrintedPlacement(const QImage& drawn, double drawnDpi, const QString& pdfPath, double scaleX,
                            double scaleY, QPointF corner, double textSlack) {
  constexpr int kPageDpi = 300;
  const auto inDrawing = inkBounds(drawn, drawnDpi);
  const auto onPage = inkBounds(renderPdfPage(pdfPath, kPageDpi), kPageDpi);
  ASSERT_TRUE(inDrawing.has_value());
  ASSERT_TRUE(onPage.has_value()) << "no ink in " << pdfPath.toStdString();
  const double tolerance = 2.0 / kPageDpi + 1.0 / drawnDpi;
  EXPECT_NEAR(onPage->left(), corner.x() + 1.0 + inDrawing->left() * scaleX, tolerance);
  EXPECT_NEAR(onPage->top(), corner.y() + 1.0 + inDrawing->top() * scaleY, tolerance);
  EXPECT_NEAR(onPage->width(), inDrawing->width() * scaleX - textSlack / 2, tolerance + textSlack / 2);
  EXPECT_NEAR(onPage->height(), inDrawing->height() * scaleY, tolerance);
}

}  // namespace korvel::testing
