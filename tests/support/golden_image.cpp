#include "support/golden_image.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

namespace korvel::testing {

namespace {

QImage differenceImage(const QImage& golden, const QImage& actual, int& differing) {
  QImage diff(golden.size(), QImage::Format_RGB32);
  differing = 0;
  for (int y = 0; y < golden.height(); ++y) {
    for (int x = 0; x < golden.width(); ++x) {
      const QRgb g = golden.pixel(x, y);
      const bool same = g == actual.pixel(x, y);
      differing += same ? 0 : 1;
      const int faint = 192 + qGray(g) / 4;
      diff.setPixel(x, y, same ? qRgb(faint, faint, faint) : qRgb(255, 0, 0));
    }
  }
  return diff;
}

}  // namespace

void expectMatchesGolden(const QImage& actual, const QString& goldenName) {
  const QString goldenPath = QDir(KORVEL_GOLDEN_DIR).filePath(goldenName);
  const QImage golden = QImage(goldenPath).convertToFormat(QImage::Format_RGB32);
  const QImage picture = actual.convertToFormat(QImage::Format_RGB32);
  std::string problem;
  QImage diff;
  if (golden.isNull()) {
    problem = "is missing";
  } else if (golden.size() != picture.size()) {
    problem = "has another size";
  } else {
    int differing = 0;
    diff = differenceImage(golden, picture, differing);
    if (differing == 0) return;
    problem = "differs in " + std::to_string(differing) + " pixels";
  }
  const QDir out(KORVEL_GOLDEN_OUTPUT_DIR);
  out.mkpath(".");
  const QString base = QFileInfo(goldenName).completeBaseName();
  picture.save(out.filePath(base + "-actual.png"));
  if (!diff.isNull()) diff.save(out.filePath(base + "-diff.png"));
  ADD_FAILURE() << goldenPath.toStdString() << ' ' << problem << "; see " << base.toStdString()
                << "-actual.png" << (diff.isNull() ? "" : " and -diff.png") << " in " << out.path().toStdString();
}

}  // namespace korvel::testing
