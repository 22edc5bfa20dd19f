#include "scan/scan_report.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

#include "common/units.h"

namespace korvel {

namespace {

constexpr double kBandMagnification = 20.0;
const QColor kOutlineColour(0, 170, 0);
const QColor kRemoveColour(220, 0, 0, 160);
const QColor kMissingColour(0, 60, 230, 160);

QString fixed(double value, int decimals) {
  if (std::isnan(value)) return "nan";
  QString text = QString::number(value, 'f', decimals);
  if (text.startsWith('-') && text.count('0') == text.size() - 2) text.remove(0, 1);  // no "-0.000"
  return text;
}

QString signedFixed(double value, int decimals) {
  const QString text = fixed(value, decimals);
  return value >= 0.0 && text != "nan" && !text.startsWith('-') ? "+" + text : text;
}

QString shows(const MarkerCheck& m) {
  if (std::isnan(m.deviationMm)) return "nan";
  switch (m.shows.kind) {
    case RangefinderReading::Kind::Infinity:
      return "inf";
    case RangefinderReading::Kind::Near:
      return "near";
    case RangefinderReading::Kind::Distance:
      break;
  }
  return fixed(m.shows.distanceMm, 1);
}

QPointF pixel(const ScanCheck& check, const Eigen::Vector2d& scanMm) {
  return {scanMm.x() / check.scale.mmPerPixelX - check.window.x, scanMm.y() / check.scale.mmPerPixelY - check.window.y};
}

QPointF pixel(const ScanCheck& check, const ShapePoint& cam) { return pixel(check, check.pose.place(cam)); }

}  // namespace

QStringList markerFields(const MarkerCheck& m) {
  return {QString::number(m.marker), fixed(m.distanceMm, 1), signedFixed(m.deviationMm, 4),
          signedFixed(m.deviationMm / kMmPerInch, 5), shows(m)};
}

bool withinTolerance(const ScanCheck& check, double toleranceMm) {
  for (const MarkerCheck& m : check.markers) {
    if (!(std::abs(m.deviationMm) <= toleranceMm)) return false;
  }
  return true;
}

QStringList reportLines(const ScanCheck& check, double toleranceMm) {
  QStringList lines{"marker  distance_mm  deviation_mm  deviation_in  rangefinder_shows_mm"};
  for (const MarkerCheck& m : check.markers) {
    const QStringList f = markerFields(m);
    lines << QString("%1  %2  %3  %4  %5").arg(f[0], 6).arg(f[1], 11).arg(f[2], 12).arg(f[3], 12).arg(f[4]);
  }
  return lines << findingLines(check) << verdictLine(check, toleranceMm);
}

QStringList findingLines(const ScanCheck& check) {
  QStringList lines;
  if (check.largestElsewhere) {
    const EdgeCheck& e = *check.largestElsewhere;
    lines << QString("largest deviation elsewhere: %1 mm (%2 at x %3 mm)")
                 .arg(signedFixed(e.deviationMm, 4), featureName(e.feature), fixed(e.at.x, 2));
  }
  for (std::size_t h = 0; h < check.holes.size(); ++h) {
    const HoleCheck& hole = check.holes[h];
    lines << (hole.found ? QString("hole %1: centre offset %2, %3 mm, diameter %4 mm (computed %5 mm)")
                               .arg(h + 1)
                               .arg(signedFixed(hole.centreOffsetMm.x, 4), signedFixed(hole.centreOffsetMm.y, 4),
                                    fixed(hole.diameterMm, 4), fixed(hole.computedDiameterMm, 4))
                         : QString("hole %1: not found").arg(h + 1));
  }
  lines << "fit RMS: " + fixed(check.rmsMm, 4) + " mm";
  lines << QString("mirrored: ") + (check.mirrored ? "yes (scanned face down)" : "no");
  return lines;
}

QString verdictLine(const ScanCheck& check, double toleranceMm) {
  QStringList outside;
  for (const MarkerCheck& m : check.markers)
    if (!(std::abs(m.deviationMm) <= toleranceMm)) outside << QString::number(m.marker);
  return outside.isEmpty() ? "within tolerance (" + fixed(toleranceMm, 4) + " mm)"
                           : "outside tolerance (" + fixed(toleranceMm, 4) + " mm) at markers " + outside.join(", ");
}

QByteArray markerCsv(const ScanCheck& check) {
  QByteArray csv = "marker,distance_mm,deviation_mm,deviation_in,rangefinder_shows_mm\n";
  for (const MarkerCheck& m : check.markers) csv += markerFields(m).join(',').toUtf8() + '\n';
  return csv;
}

QImage overlayImage(const ScanImage& scan, const ScanCheck& check) {
  const cv::Rect& w = check.window;
  QImage image = scan.image.copy(w.x, w.y, w.width, w.height).convertToFormat(QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const std::vector<EdgeCheck>& edges = check.edges;
  const double joinMm = 0.3;  // samples further apart lie on either side of a corner
  for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
    const EdgeCheck& a = edges[i];
    const EdgeCheck& b = edges[i + 1];
    if (a.feature != b.feature || std::hypot(a.at.x - b.at.x, a.at.y - b.at.y) > joinMm) continue;
    const auto out = [&](const EdgeCheck& e) {
      const double d = kBandMagnification * e.deviationMm;
      return pixel(check, ShapePoint{e.at.x + d * e.normal.x, e.at.y + d * e.normal.y});
    };
    QPainterPath band;
    band.moveTo(pixel(check, a.at));
    band.lineTo(pixel(check, b.at));
    band.lineTo(out(b));
    band.lineTo(out(a));
    band.closeSubpath();
    painter.fillPath(band, a.deviationMm + b.deviationMm > 0 ? kRemoveColour : kMissingColour);
  }
  painter.setPen(QPen(kOutlineColour, 1.0));
  QPolygonF outline;
  for (const ShapeEdge& e : check.shape.edges) outline << pixel(check, e.from);
  painter.drawPolygon(outline);
  for (const ShapeCircle& c : check.shape.holes) {
    QPolygonF circle;
    for (int k = 0; k < 360; ++k) {
      const double t = k * std::numbers::pi / 180.0;
      circle << pixel(check, ShapePoint{c.centre.x + c.radius * std::cos(t), c.centre.y + c.radius * std::sin(t)});
    }
    painter.drawPolygon(circle);
  }
  return image;
}

}  // namespace korvel
