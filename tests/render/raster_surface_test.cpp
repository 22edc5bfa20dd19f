#include "render/raster_surface.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "export/bitmap_file.h"

namespace korvel {
namespace {

// The drawing keeps each figure as drawn and in the role it was drawn in;
// the mirror places it, in the picture and in the vectors alike.
TEST(RasterSurface, MirroringAndClearing) {
  RasterSurface surface(2.0f, 1.0f, QFont("Arial"));
  surface.beginFigure(FigureRole::CamOutline);
  surface.line(0.25f, 0.5f, 0.75f, 0.5f, kBlack);
  surface.endFigure();
  surface.beginFigure(FigureRole::CamOutline);
  surface.beginFigure(FigureRole::MarkerTicks);
  surface.line(0.5f, 0.25f, 0.5f, 0.375f, kBlack);
  surface.endFigure();
  surface.line(0.75f, 0.5f, 0.75f, 0.75f, kBlack);
  surface.endFigure();
  surface.circle(0.5f, 0.5f, 0.125f);
  surface.writeText("135 mm");
  const QImage drawn = surface.copyImage();
  surface.mirrorLeftToRight();
  EXPECT_EQ(surface.copyImage(), drawn.mirrored(true, false));
  const CamDrawing& drawing = surface.drawing();
  const auto& figures = drawing.figures();
  ASSERT_EQ(figures.size(), 5u);
  EXPECT_EQ(drawing.placed(figures[0], figures[0].a), QPointF(1.75, 0.5));
  EXPECT_EQ(drawing.placed(figures[3], figures[3].a), QPointF(1.5, 0.5));
  EXPECT_TRUE(drawing.placedText(figures[4]).readsBackwards);
  const std::pair<DrawnRole, int> roles[] = {{DrawnRole::OutlineSegment, 0}, {DrawnRole::MarkerTick, -1},
      {DrawnRole::OutlineSegment, 1}, {DrawnRole::Hole, -1}, {DrawnRole::Text, -1}};
  for (std::size_t i = 0; i < figures.size(); ++i)
    EXPECT_EQ(std::pair(figures[i].role, figures[i].outline), roles[i]) << i;

  surface.clear();
  EXPECT_TRUE(surface.drawing().figures().empty());
  QImage white(drawn.size(), drawn.format());
  white.fill(Qt::white);
  EXPECT_EQ(surface.copyImage(), white);
}

// A black and white cam takes one bit per pixel, rows padded to four bytes;
// a picture of other colours keeps 24 bits. Each save replaces the file.
TEST(BitmapFile, SavedPicturesReadBackPixelForPixel) {
  QTemporaryDir dir;
  const QString path = dir.filePath("KorvelCamDesigner-150.bmp");
  RasterSurface cam(201 / 96.0f, 137 / 96.0f, QFont("Arial"));
  cam.circle(1.0f, 0.7f, 0.5f);
  QImage colour(10, 10, QImage::Format_RGB32);
  colour.fill(Qt::white);
  colour.setPixel(3, 4, qRgb(128, 0, 255));
  for (const auto& [image, size] : {std::pair{cam.copyImage(), 62 + 28 * 137}, std::pair{colour, 54 + 32 * 10}}) {
    ASSERT_TRUE(saveBitmap(image, path));
    EXPECT_EQ(QFileInfo(path).size(), size);
    EXPECT_EQ(QImage(path, "BMP").convertToFormat(QImage::Format_RGB32), image);
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

}  // namespace
}  // namespace korvel
