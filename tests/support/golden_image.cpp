#include "support/golden_image.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

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

}  // namespace korvel::testing
