#include "render/raster_surface.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "render/bitmap_file.h"
#include "support/preview_cam.h"

namespace korvel {
namespace {

TEST(RasterSurface, MirroringAndBackgroundPicture) {
  RasterSurface surface = testing::previewWith150mmCam();
  const QImage before = surface.copyImage();
  surface.mirrorLeftToRight();
  const QImage mirrored = surface.copyImage();
  EXPECT_EQ(mirrored, before.mirrored(true, false));

  // A cleared surface shows its background picture until it is removed; the
  // background is mirrored with what is drawn over it.
  surface.setBackgroundPicture(mirrored);
  surface.clear();
  EXPECT_EQ(surface.copyImage(), mirrored);
  surface.line(0.1f, 0.1f, 0.5f, 0.1f, kBlack);
  const QImage withLine = surface.copyImage();
  surface.mirrorLeftToRight();
  EXPECT_EQ(surface.copyImage(), withLine.mirrored(true, false));
  surface.clear();
  surface.removeBackgroundPicture();
  QImage white(mirrored.size(), QImage::Format_RGB32);
  white.fill(Qt::white);
  EXPECT_EQ(surface.copyImage(), white);
}

TEST(RasterSurface, TextMovesOneLineDownToTheLeftEdge) {
  RasterSurface surface(6.3f, 6.3f, QFont("Arial"));
  surface.setTextPosition(1.0f, 1.0f);
  surface.writeText("150 mm");
  EXPECT_EQ(surface.textPosition().x(), 0.0);
  EXPECT_GT(surface.textPosition().y(), 1.1);
  EXPECT_LT(surface.textPosition().y(), 1.2);
}

TEST(BitmapFile, SavedCamIsAOneBitBitmapOfThePreviewsPixelsAndReplacesTheOldFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("KorvelCamDesigner-150.bmp");
  const QImage image = testing::previewWith150mmCam().copyImage();
  ASSERT_TRUE(saveBitmap(image, path));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray header = file.read(62);
  // One bit per pixel, uncompressed, bottom row first, palette black then
  // white: the form any viewer opens.
  EXPECT_EQ(header.left(2), QByteArray("BM"));
  EXPECT_EQ(header.mid(10, 4), QByteArray("\x3E\0\0\0", 4));
  EXPECT_EQ(header.mid(18, 16),
            QByteArray("\xC9\0\0\0\x89\0\0\0\1\0\1\0\0\0\0\0", 16));  // 201 x 137
  EXPECT_EQ(header.mid(54), QByteArray("\0\0\0\0\xFF\xFF\xFF\0", 8));
  EXPECT_EQ(QFileInfo(path).size(), 62 + 28 * 137);  // rows of 201 pixels padded to 28 bytes
  EXPECT_EQ(QImage(path, "BMP").convertToFormat(QImage::Format_RGB32), image);

  // A picture with another colour than black and white keeps 24 bits.
  QImage other(10, 10, QImage::Format_RGB32);
  other.fill(Qt::white);
  other.setPixel(3, 4, qRgb(128, 0, 255));
  ASSERT_TRUE(saveBitmap(other, path));
  EXPECT_EQ(QFileInfo(path).size(), 54 + 32 * 10);
  EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32), other);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

}  // namespace
}  // namespace korvel
