#include "render/raster_surface.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "geometry/cam_outline.h"
#include "render/bitmap_file.h"

namespace korvel {
namespace {

bool isBlack(const QImage& image, double xIn, double yIn) {
  return image.pixel(surfacePixels(xIn), surfacePixels(yIn)) == qRgb(0, 0, 0);
}

// Darkest pixel found within one pixel of a spot, to allow for rasterising.
bool blackNear(const QImage& image, double xIn, double yIn) {
  const int cx = surfacePixels(xIn), cy = surfacePixels(yIn);
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (image.pixel(cx + dx, cy + dy) == qRgb(0, 0, 0)) return true;
  return false;
}

RasterSurface previewWith150mmCam() {
  RasterSurface surface(2.09375f, 1.4270833f, QFont("Arial"));
  float k = 1.074f;
  CamOutlineOptions options;
  drawCamOutline(surface, 150.0, 0.35, 0.5, k, options);
  return surface;
}

TEST(RasterSurface, PreviewBoxIsSizedAtNinetySixPixelsPerInch) {
  RasterSurface surface(2.09375f, 1.4270833f, QFont("Arial"));
  const QImage image = surface.copyImage();
  EXPECT_EQ(image.width(), 201);
  EXPECT_EQ(image.height(), 137);
  EXPECT_FLOAT_EQ(surface.innerWidth(), 2.09375f);
  EXPECT_EQ(image.pixel(100, 60), qRgb(255, 255, 255));
}

TEST(RasterSurface, CamHasBlackOutlineAndHolesAndIsWhiteInsideThem) {
  const QImage image = previewWith150mmCam().copyImage();
  // Hole rims left and right of their centres (0.55, 0.8) and (1.23, 0.96).
  EXPECT_TRUE(blackNear(image, 0.55 - 0.12, 0.8));
  EXPECT_TRUE(blackNear(image, 0.55 + 0.12, 0.8));
  EXPECT_TRUE(blackNear(image, 1.23, 0.96 - 0.12));
  EXPECT_FALSE(isBlack(image, 0.55, 0.8));
  EXPECT_FALSE(isBlack(image, 1.23, 0.96));
  // Base line left of the notch, the notch, and the end of the profile.
  EXPECT_TRUE(blackNear(image, 0.4, 1.195));
  EXPECT_TRUE(blackNear(image, 1.0, 1.185));
  EXPECT_TRUE(blackNear(image, 1.706, 0.64));
  // The caption starts at (1.1, 0.9) with dark pixels on its first line.
  bool captionInk = false;
  for (int y = surfacePixels(0.9); y < surfacePixels(0.9) + 12; ++y)
    for (int x = surfacePixels(0.85); x < surfacePixels(1.3); ++x)
      captionInk = captionInk || image.pixel(x, y) == qRgb(0, 0, 0);
  EXPECT_TRUE(captionInk);
}

TEST(RasterSurface, MirroringAndBackgroundPicture) {
  RasterSurface surface = previewWith150mmCam();
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

TEST(BitmapFile, SavedCamLoadsBackWithItsPixelSizeAndReplacesTheOldFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("KorvelCamDesigner-150.bmp");
  const QImage image = previewWith150mmCam().copyImage();
  ASSERT_TRUE(saveBitmap(image, path));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray header = file.read(62);
  file.close();
  EXPECT_EQ(header.left(2), QByteArray("BM"));
  // One bit per pixel, uncompressed, bottom row first, palette black then
  // white: the form any viewer opens.
  EXPECT_EQ(header.mid(10, 4), QByteArray("\x3E\0\0\0", 4));
  EXPECT_EQ(header.mid(22, 12), QByteArray("\x89\0\0\0\1\0\1\0\0\0\0\0", 12));
  EXPECT_EQ(header.mid(54), QByteArray("\0\0\0\0\xFF\xFF\xFF\0", 8));
  EXPECT_EQ(QFileInfo(path).size(), 62 + 28 * 137);  // rows of 201 pixels padded to 28 bytes
  QImage loaded(path, "BMP");
  EXPECT_EQ(loaded.size(), QSize(201, 137));
  EXPECT_EQ(loaded.convertToFormat(QImage::Format_RGB32), image);

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
