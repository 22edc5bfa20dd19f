#include "export/pdf_page.h"

#include <QBuffer>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "common/units.h"

namespace korvel {

namespace {

QPageSize pageSizeOf(Paper paper) {
  return QPageSize(paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4);
}

}  // namespace

Paper localePaper() {
  return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? Paper::Letter
                                                                            : Paper::A4;
}

std::optional<Paper> paperNamed(const QString& name) {
  if (name.compare("a4", Qt::CaseInsensitive) == 0) return Paper::A4;
  if (name.compare("letter", Qt::CaseInsensitive) == 0) return Paper::Letter;
  return std::nullopt;
}

QSizeF paperSizeIn(Paper paper) {
  // In the units each paper is defined in (A4 in whole millimetres, letter in
  // inches), so no rounding of a conversion creeps in.
  const QPageSize size = pageSizeOf(paper);
  const QSizeF defined = size.definitionSize();
  return size.definitionUnits() == QPageSize::Inch ? defined : defined / kMmPerInch;
}

std::optional<QByteArray> paintPdfPage(Paper paper, const std::function<void(QPainter&)>& paint,
                                       QString& error) {
  QByteArray content;
  QBuffer buffer(&content);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfDotsPerInch);
    writer.setPageSize(pageSizeOf(paper));
    writer.setPageOrientation(QPageLayout::Portrait);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator("Korvel Cam Designer");
    QPainter painter;
    if (!painter.begin(&writer)) {
      error = "the PDF cannot be started";
      return std::nullopt;
    }
    paint(painter);
    painter.end();
  }
  return content;
}

}  // namespace korvel
