#include "support/printed_paths.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTransform>
#include <cmath>

namespace korvel::testing {

namespace {

constexpr double kPointsPerInch = 72.0;

QPolygonF vertices(const QString& d, const QTransform& toPoints) {
  QPolygonF found;
  const QStringList tokens = d.split(' ', Qt::SkipEmptyParts);
  int pairInCommand = 0;
  QChar command;
  for (qsizetype i = 0; i < tokens.size(); ++i) {
    if (tokens[i][0].isLetter()) {
      command = tokens[i][0];
      pairInCommand = 0;
      continue;
    }
    const QPointF p(tokens[i].toDouble(), tokens[i + 1].toDouble());
    ++i;
    // A curve's control points are not on the line; its end is.
    if (command != 'C' || ++pairInCommand % 3 == 0)
      found.push_back(toPoints.map(p) / kPointsPerInch);
  }
  return found;
}

double distance(QPointF a, QPointF b) { return std::hypot(a.x() - b.x(), a.y() - b.y()); }

}  // namespace

std::vector<QPolygonF> strokedPaths(const QString& pdfPath) {
  QTemporaryDir dir;
  QProcess::execute("pdftocairo",
                    {"-svg", "-f", "1", "-l", "1", pdfPath, dir.filePath("page.svg")});
  QFile file(dir.filePath("page.svg"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QString svg = QString::fromUtf8(file.readAll());
  static const QRegularExpression path(
      R"re(<path style="fill:none;[^"]*" d="([^"]*)"(?: transform="matrix\(([^)]*)\)")?)re");
  std::vector<QPolygonF> paths;
  for (const QRegularExpressionMatch& m : path.globalMatch(svg)) {
    QTransform toPoints;
    const QStringList t = m.captured(2).split(',');
    if (t.size() == 6)
      toPoints = QTransform(t[0].toDouble(), t[1].toDouble(), t[2].toDouble(), t[3].toDouble(),
                            t[4].toDouble(), t[5].toDouble());
    paths.push_back(vertices(m.captured(1), toPoints));
  }
  return paths;
}

int pdfImageCount(const QString& pdfPath) {
  QProcess list;
  list.start("pdfimages", {"-list", pdfPath});
  list.waitForFinished();
  // Each picture takes a line below a heading of two.
  return static_cast<int>(list.readAllStandardOutput().count('\n')) - 2;
}

double expectPathsOfRecord(const std::vector<QPolygonF>& paths, const DrawingRecord& record,
                           QPointF origin, double scaleX, double scaleY, double tolerance) {
  const auto onPage = [&](QPointF s) { return origin + QPointF(s.x() * scaleX, s.y() * scaleY); };
  double worst = 0;
  std::size_t next = 0;
  for (const RecordedFigure& figure : record.figures()) {
    if (figure.shape == RecordedShape::Text) continue;
    if (next == paths.size()) {
      ADD_FAILURE() << "the print holds " << paths.size() << " lines; the drawing more";
      return worst;
    }
    const QPolygonF& path = paths[next++];
    if (figure.shape == RecordedShape::Circle) {
      // The curves' ends are the circle's left, right, top and bottom.
      const QRectF box = path.boundingRect();
      worst = std::max({worst, distance(box.center(), onPage(figure.a)),
                        std::fabs(box.width() / 2 - figure.radius * std::fabs(scaleX)),
                        std::fabs(box.height() / 2 - figure.radius * std::fabs(scaleY))});
    } else {
      worst = std::max({worst, distance(path.front(), onPage(figure.a)),
                        distance(path.back(), onPage(figure.b))});
    }
  }
  EXPECT_EQ(next, paths.size()) << "the print holds lines the drawing does not";
  EXPECT_LE(worst, tolerance);
  return worst;
}

}  // namespace korvel::testing
