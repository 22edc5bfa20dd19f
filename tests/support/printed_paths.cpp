#include "support/printed_paths.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTransform>
#include <algorithm>
#include <cmath>

namespace korvel::testing {

namespace {

constexpr double kPointsPerInch = 72.0;

std::vector<QPointF> vertices(const QString& d, const QTransform& toPoints) {
  std::vector<QPointF> found;
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

std::vector<std::vector<QPointF>> strokedPaths(const QString& pdfPath) {
  QTemporaryDir dir;
  QProcess::execute("pdftocairo",
                    {"-svg", "-f", "1", "-l", "1", pdfPath, dir.filePath("page.svg")});
  QFile file(dir.filePath("page.svg"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QString svg = QString::fromUtf8(file.readAll());
  static const QRegularExpression path(
      R"re(<path style="fill:none;[^"]*" d="([^"]*)"(?: transform="matrix\(([^)]*)\)")?)re");
  std::vector<std::vector<QPointF>> paths;
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
  return static_cast<int>(list.readAllStandardOutput().count('\n')) -
         2;  // below a two-line heading
}

double expectPathsOfRecord(const std::vector<std::vector<QPointF>>& paths,
                           const DrawingRecord& record, QPointF origin, double scaleX,
                           double scaleY, double tolerance) {
  const auto onPage = [&](QPointF s) { return origin + QPointF(s.x() * scaleX, s.y() * scaleY); };
  double worst = 0;
  std::size_t next = 0;
  for (const RecordedFigure& figure : record.figures()) {
    if (figure.shape == RecordedShape::Text) continue;
    if (next == paths.size() || paths[next].empty()) {
      ADD_FAILURE() << "the print holds " << paths.size() << " lines; the drawing more";
      return worst;
    }
    const std::vector<QPointF>& path = paths[next++];
    if (figure.shape == RecordedShape::Circle) {
      const auto [left, right] = std::minmax_element(
          path.begin(), path.end(), [](QPointF a, QPointF b) { return a.x() < b.x(); });
      const auto [top, bottom] = std::minmax_element(
          path.begin(), path.end(), [](QPointF a, QPointF b) { return a.y() < b.y(); });
      const QPointF centre((left->x() + right->x()) / 2, (top->y() + bottom->y()) / 2);
      worst =
          std::max({worst, distance(centre, onPage(figure.a)),
                    std::fabs((right->x() - left->x()) / 2 - figure.radius * std::fabs(scaleX)),
                    std::fabs((bottom->y() - top->y()) / 2 - figure.radius * std::fabs(scaleY))});
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
