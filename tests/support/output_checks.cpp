#include "support/output_checks.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QLineF>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTransform>

#include "support/files.h"

namespace korvel::testing {

void expectMatchesGolden(const QImage& actual, const QString& goldenName) {
  const QString goldenPath = QDir(KORVEL_GOLDEN_DIR).filePath(goldenName);
  const QImage golden = QImage(goldenPath).convertToFormat(QImage::Format_RGB32);
  const QImage picture = actual.convertToFormat(QImage::Format_RGB32);
  if (golden == picture) return;
  const QDir out(KORVEL_GOLDEN_OUTPUT_DIR);
  out.mkpath(".");
  const QString base = out.filePath(QFileInfo(goldenName).completeBaseName());
  picture.save(base + "-actual.png");
  std::string problem = "is missing or has another size";
  if (!golden.isNull() && golden.size() == picture.size()) {
    QImage diff(golden.size(), QImage::Format_RGB32);
    int differing = 0;
    for (int y = 0; y < golden.height(); ++y) {
      for (int x = 0; x < golden.width(); ++x) {
        const bool same = golden.pixel(x, y) == picture.pixel(x, y);
        const int faint = 192 + qGray(golden.pixel(x, y)) / 4;
        differing += same ? 0 : 1;
        diff.setPixel(x, y, same ? qRgb(faint, faint, faint) : qRgb(255, 0, 0));
      }
    }
    diff.save(base + "-diff.png");
    problem = "differs in " + std::to_string(differing) + " pixels, shown in " + (base + "-diff.png").toStdString();
  }
  ADD_FAILURE() << goldenPath.toStdString() << ' ' << problem << "; the picture drawn is "
                << (base + "-actual.png").toStdString();
}

double expectPrintedDrawing(const QString& pdfPath, const CamDrawing& drawing, QPointF origin,
                            double scaleX, double scaleY, double tolerance, OutlineStrokes outlines,
                            std::size_t strokesAfter) {
  QTemporaryDir dir;
  QProcess::execute("pdftocairo", {"-svg", "-f", "1", "-l", "1", pdfPath, dir.filePath("page.svg")});
  const QString svg = QString::fromUtf8(readFile(dir.filePath("page.svg")));
  EXPECT_FALSE(svg.contains("<image")) << "a picture in " << pdfPath.toStdString();
  static const QRegularExpression stroked(
      R"re(<path style="fill:none;[^"]*" d="([^"]*)"(?: transform="matrix\(([^)]*)\)")?)re");
  static const QRegularExpression pointInPath(R"((-?[\d.]+) (-?[\d.]+))");
  const auto onPage = [&](QPointF s) { return origin + QPointF(s.x() * scaleX, s.y() * scaleY); };
  // Each stroke expected: a figure, or a whole outline (lettering is filled, not stroked).
  struct Stroke {
    const DrawnFigure* figure;
    const std::vector<QPointF>* outline;
  };
  std::vector<Stroke> lines;
  const std::vector<std::vector<QPointF>> polygons = drawing.camOutlines();
  int listed = -1;  // the outline last listed
  for (const DrawnFigure& figure : drawing.figures()) {
    if (figure.shape == FigureShape::Text) continue;
    const auto outline = static_cast<std::size_t>(figure.outline);
    if (outlines == OutlineStrokes::ClosedPath && figure.outline >= 0 && outline < polygons.size()) {
      if (figure.outline != listed) lines.push_back({nullptr, &polygons[outline]});
      listed = figure.outline;
      continue;
    }
    lines.push_back({&figure, nullptr});
  }
  std::size_t printed = 0;
  double worst = 0;
  for (const QRegularExpressionMatch& path : stroked.globalMatch(svg)) {
    if (++printed > lines.size()) continue;  // past the drawing: only counted
    // Every point the path names, in inches: a circle's curve control points
    // lie within its box, so the box of all of them is the circle's.
    const QStringList m = path.captured(2).split(',');
    QTransform toInches = QTransform::fromScale(1 / 72.0, 1 / 72.0);
    if (m.size() == 6)
      toInches = QTransform(m[0].toDouble(), m[1].toDouble(), m[2].toDouble(), m[3].toDouble(), m[4].toDouble(),
                            m[5].toDouble()) * toInches;
    QPolygonF points;
    for (const QRegularExpressionMatch& xy : pointInPath.globalMatch(path.captured(1)))
      points << toInches.map(QPointF(xy.captured(1).toDouble(), xy.captured(2).toDouble()));

    if (const std::vector<QPointF>* outline = lines[printed - 1].outline) {
      // Closed, through every vertex in order.
      EXPECT_TRUE(path.captured(1).contains('Z')) << "outline " << printed << " is not closed";
      EXPECT_GE(points.size(), qsizetype(outline->size()));
      for (std::size_t i = 0; i < outline->size() && qsizetype(i) < points.size(); ++i)
        worst = std::max(worst, QLineF(points[qsizetype(i)], onPage((*outline)[i])).length());
      continue;
    }
    // A line from its start to its end; a circle by its box.
    const DrawnFigure& figure = *lines[printed - 1].figure;
    const bool circle = figure.shape == FigureShape::Circle;
    const QPointF r(figure.radius * qAbs(scaleX), figure.radius * qAbs(scaleY));
    const QLineF got = circle ? QLineF(points.boundingRect().topLeft(), points.boundingRect().bottomRight())
                              : QLineF(points.value(0), points.value(points.size() - 1));
    const QPointF a = drawing.placed(figure, figure.a);
    const QLineF want = circle ? QLineF(onPage(a) - r, onPage(a) + r)
                               : QLineF(onPage(a), onPage(drawing.placed(figure, figure.b)));
    worst = std::max({worst, QLineF(got.p1(), want.p1()).length(), QLineF(got.p2(), want.p2()).length()});
  }
  EXPECT_EQ(printed, lines.size() + strokesAfter) << "lines printed against lines drawn";
  EXPECT_LE(worst, tolerance);
  return worst;
}

}  // namespace korvel::testing
