#include "support/printed_paths.h"

#include <gtest/gtest.h>

#include <QPolygonF>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTransform>
#include <cmath>
#include <vector>

#include "support/files.h"

namespace korvel::testing {

namespace {

// Each stroked path of page 1 as every point its commands name, in inches
// from the page's top-left corner. A circle's curve control points lie within
// its bounding box, so the box of all of them is the circle's.
std::vector<QPolygonF> strokedPaths(const QString& pdfPath) {
  QTemporaryDir dir;
  QProcess::execute("pdftocairo", {"-svg", "-f", "1", "-l", "1", pdfPath, dir.filePath("page.svg")});
  const QString svg = QString::fromUtf8(readFile(dir.filePath("page.svg")));
  static const QRegularExpression path(
      R"re(<path style="fill:none;[^"]*" d="([^"]*)"(?: transform="matrix\(([^)]*)\)")?)re");
  static const QRegularExpression number(R"(-?[\d.]+)");
  std::vector<QPolygonF> paths;
  for (const QRegularExpressionMatch& m : path.globalMatch(svg)) {
    const QStringList t = m.captured(2).split(',');
    QTransform toInches = QTransform::fromScale(1 / 72.0, 1 / 72.0);
    if (t.size() == 6)
      toInches = QTransform(t[0].toDouble(), t[1].toDouble(), t[2].toDouble(), t[3].toDouble(),
                            t[4].toDouble(), t[5].toDouble()) * toInches;
    std::vector<double> xy;
    for (const QRegularExpressionMatch& n : number.globalMatch(m.captured(1))) xy.push_back(n.captured().toDouble());
    QPolygonF& vertices = paths.emplace_back();
    for (std::size_t i = 0; i + 1 < xy.size(); i += 2) vertices << toInches.map(QPointF(xy[i], xy[i + 1]));
  }
  return paths;
}

double distance(QPointF a, QPointF b) { return std::hypot(a.x() - b.x(), a.y() - b.y()); }

}  // namespace

double expectPrintedRecord(const QString& pdfPath, const DrawingRecord& record, QPointF origin,
                           double scaleX, double scaleY, double tolerance) {
  QProcess images;
  images.start("pdfimages", {"-list", pdfPath});
  images.waitForFinished();
  // A heading of two lines, then one line for each picture.
  EXPECT_EQ(images.readAllStandardOutput().count('\n'), 2) << "pictures in " << pdfPath.toStdString();

  const std::vector<QPolygonF> paths = strokedPaths(pdfPath);
  const auto onPage = [&](QPointF s) { return origin + QPointF(s.x() * scaleX, s.y() * scaleY); };
  double worst = 0;
  std::size_t next = 0;
  for (const RecordedFigure& figure : record.figures()) {
    if (figure.shape == RecordedShape::Text) continue;
    if (next == paths.size()) {
      ADD_FAILURE() << "the print holds " << paths.size() << " lines; the drawing more";
      return worst;
    }
    const QPointF r(figure.radius * std::fabs(scaleX), figure.radius * std::fabs(scaleY));
    const QRectF want = figure.shape == RecordedShape::Circle
                            ? QRectF(onPage(figure.a) - r, onPage(figure.a) + r)
                            : QRectF(onPage(figure.a), onPage(figure.b)).normalized();
    const QRectF got = paths[next++].boundingRect();
    worst = std::max({worst, distance(got.topLeft(), want.topLeft()), distance(got.bottomRight(), want.bottomRight())});
  }
  EXPECT_EQ(next, paths.size()) << "the print holds lines the drawing does not";
  EXPECT_LE(worst, tolerance);
  return worst;
}

}  // namespace korvel::testing
