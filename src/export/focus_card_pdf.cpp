#include "export/focus_card_pdf.h"

#include <QPainter>
#include <array>

#include "common/atomic_file.h"
#include "common/write_error.h"
#include "geometry/cam_outline.h"
#include "geometry/coupled_range.h"
#include "geometry/focus_card.h"

namespace korvel {

namespace {

constexpr double kMarginIn = 1.0;  // from the top and left edges, as the drawing stands
constexpr double kRowIn = 0.3;
constexpr double kRuleIn = 0.01;
constexpr double kTitlePoints = 16.0;
constexpr double kTextPoints = 11.0;

// Each column's heading, unit, width and decimals: the distances as the
// markers are set, the travel and the height to what calipers read.
struct Column {
  const char* heading;
  const char* unit;
  double widthIn;
  int decimals;
};
constexpr std::array<Column, 6> kColumns{{{"Marker", "", 0.7, 0},
                                          {"Distance", "ft", 1.0, 2},
                                          {"Distance", "m", 1.0, 3},
                                          {"Lens travel", "mm", 1.1, 3},
                                          {"Lens travel", "in", 1.1, 4},
                                          {"Cam height", "mm", 1.1, 3}}};

std::array<double, kColumns.size()> rowNumbers(const FocusCardRow& row) {
  return {double(row.marker), row.distanceFt, row.distanceM,
          row.travelMm,       row.travelIn,   row.camHeightMm};
}

double dots(double inches) { return inches * kPdfDotsPerInch; }

QFont face(double points, bool bold = false) {
  QFont font("Liberation Sans");
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

// One line of the table, each text right-aligned in its column, top at y inches.
void tableLine(QPainter& painter, double y, const std::array<QString, kColumns.size()>& texts) {
  double x = kMarginIn;
  for (std::size_t i = 0; i < kColumns.size(); ++i) {
    painter.drawText(QRectF(dots(x), dots(y), dots(kColumns[i].widthIn), dots(kRowIn)),
                     Qt::AlignRight | Qt::AlignVCenter, texts[i]);
    x += kColumns[i].widthIn;
  }
}

void rule(QPainter& painter, double y) {
  double width = 0.0;
  for (const Column& column : kColumns) width += column.widthIn;
  painter.fillRect(QRectF(dots(kMarginIn), dots(y), dots(width), dots(kRuleIn)), Qt::black);
}

void paintCard(QPainter& painter, double focalMm) {
  const std::vector<FocusCardRow> rows = focusCardRows(focalMm);
  const QString range = QString::fromStdString(coupledRangeText(focalMm));
  double y = kMarginIn;
  painter.setFont(face(kTitlePoints, true));
  painter.drawText(
      QPointF(dots(kMarginIn), dots(y + 0.25)),
      "Focus check card: " + QString::fromStdString(camCaption(focalMm).value_or("")) + " lens");
  painter.setFont(face(kTextPoints));
  y += 0.55;
  painter.drawText(
      QPointF(dots(kMarginIn), dots(y)),
      range.isEmpty() ? QString("The cam reaches no distance marker.") : "The cam " + range + ".");
  y += 0.3;
  painter.drawText(
      QPointF(dots(kMarginIn), dots(y)),
      "Focus on the ground glass at each distance and check the rangefinder against it.");
  y += 0.25;

  std::array<QString, kColumns.size()> headings, units;
  for (std::size_t i = 0; i < kColumns.size(); ++i) {
    headings[i] = kColumns[i].heading;
    units[i] = kColumns[i].unit;
  }
  painter.setFont(face(kTextPoints, true));
  tableLine(painter, y, headings);
  y += kRowIn * 0.8;
  tableLine(painter, y, units);
  y += kRowIn;
  rule(painter, y);
  painter.setFont(face(kTextPoints));
  for (const FocusCardRow& row : rows) {
    const auto numbers = rowNumbers(row);
    std::array<QString, kColumns.size()> texts;
    for (std::size_t i = 0; i < kColumns.size(); ++i)
      texts[i] = QString::number(numbers[i], 'f', kColumns[i].decimals);
    tableLine(painter, y, texts);
    y += kRowIn;
  }
  rule(painter, y);
  painter.drawText(QPointF(dots(kMarginIn), dots(y + 0.4)),
                   "Lens travel: the extension beyond infinity focus, f\u00b2/(D \u2212 f).");
  painter.drawText(QPointF(dots(kMarginIn), dots(y + 0.65)),
                   "Cam height: above the cam's base line.");
}

}  // namespace

std::optional<QByteArray> focusCardPdfContent(double focalMm, Paper paper, QString& error) {
  return paintPdfPage(
      paper, [&](QPainter& painter) { paintCard(painter, focalMm); }, error);
}

CutFileResult writeFocusCardPdf(const QString& path, double focalMm, Paper paper) {
  QString error;
  const std::optional<QByteArray> content = focusCardPdfContent(focalMm, paper, error);
  if (!content) return {false, path + ": " + error};
  const FileWriteResult written = writeFileAtomically(path, *content);
  if (!written) return {false, path + ": " + writeErrorText(written.error)};
  return {true, {}};
}

}  // namespace korvel
