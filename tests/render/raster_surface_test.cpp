#include "render/raster_surface.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <vector>

#include "export/bitmap_file.h"
#include "render/one_bit_picture.h"
#include "support/files.h"

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

// A sheet's file is begun on another thread before the sheet is drawn: the
// save to that path finishes it; a save elsewhere never writes into it, and a
// file begun and left leaves nothing in its folder.
TEST(BitmapFile, BegunEarlyIsFinishedOnlyByASaveToItsPath) {
  struct Row {
    const char* name;
    std::vector<QString> begun;
    QString saved;
    mode_t folderMode;
    QStringList left;  // the folder's entries after the save
  };
  const Row rows[] = {
      {"saved where begun", {"sheet.bmp"}, "sheet.bmp", 0700, {"sheet.bmp"}},
      {"begun twice, saved once", {"sheet.bmp", "sheet.bmp"}, "sheet.bmp", 0700, {"sheet.bmp"}},
      {"saved elsewhere", {"sheet.bmp"}, "other.bmp", 0700, {"other.bmp"}},
      {"begun in a folder that cannot be written", {"sheet.bmp"}, "sheet.bmp", 0500, {}},
  };
  RasterSurface cam(201 / 96.0f, 137 / 96.0f, QFont("Arial"));
  cam.circle(1.0f, 0.7f, 0.5f);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const testing::TempFolder folder;
    testing::setMode(folder.root(), row.folderMode);
    for (const QString& name : row.begun) beginBitmapFile(folder.path(name));
    const FileWriteResult saved = saveBitmap(cam.copyImage(), folder.path(row.saved));
    EXPECT_EQ(saved.error, row.folderMode == 0700 ? 0 : EACCES);
    if (saved) {
      EXPECT_EQ(QImage(folder.path(row.saved), "BMP").convertToFormat(QImage::Format_RGB32), cam.copyImage());
    }
    testing::setMode(folder.root(), 0700);
    EXPECT_EQ(folder.entries(), row.left);
  }
}

// The bitmap's one-bit picture is painted a figure at a time onto a layer
// of a few rows: it must be the whole picture, pixel for pixel, wherever a
// figure is cut by the layer or the picture, mirrored or clipped.
TEST(OneBitPicture, IsTheWholePicturePixelForPixel) {
  const struct {
    const char* name;
    float width;  // inches
    float height;
    std::function<void(RasterSurface&)> draw;
  } rows[] = {
      {"sloping lines taller than the layer and lines across every edge", 30.0f, 20.0f,
       [](RasterSurface& s) {
         s.setLineWidth(3);
         s.line(1.0f, 1.0f, 4.0f, 4.5f, kBlack);       // more rows than a megabyte of layer holds
         s.line(-1.0f, 2.0f, 31.0f, 5.0f, kBlack);     // out through the left and the right
         s.line(10.0f, 19.5f, 12.0f, 21.0f, kBlack);   // out through the bottom
         s.line(20.0f, -0.5f, 21.0f, 0.7f, kBlack);    // in from the top
         s.line(5.0f, 0.0f, 5.0f, 20.0f, kBlack);      // upright, a piece at a time
         s.circle(15.0f, 10.0f, 3.3f);
         s.circle(25.0f, 12.0f, 1.7f);
         s.line(7.0f, 3.0f, 22.0f, 19.0f, kBlack);
         s.line(8.0f, 18.0f, 8.5f, 2.0f, kBlack);
         s.point(29.99f, 19.99f);
       }},
      {"rings of a thick pen cut by the corners", 3.0f, 2.0f,
       [](RasterSurface& s) {
         s.setLineWidth(5);
         s.circle(0.05f, 0.05f, 0.5f);
         s.circle(2.95f, 1.95f, 0.7f);
         s.circle(1.5f, 1.0f, 0.9f);
       }},
      {"large text at the edges", 4.0f, 1.5f,
       [](RasterSurface& s) {
         s.setTextSize(40);
         s.setTextPosition(-0.1f, -0.2f);
         s.writeText("jgq 150 mm");
         s.writeTextCentred(3.9f, 1.4f, "WMy 380 mm");
       }},
      {"mirrored at a width of odd pixels, then lettered", 201 / 96.0f, 137 / 96.0f,
       [](RasterSurface& s) {
         s.line(0.1f, 0.1f, 1.9f, 1.3f, kBlack);
         s.circle(0.5f, 0.7f, 0.3f);
         s.mirrorLeftToRight();
         s.writeText("150 mm");
         s.line(0.0f, 1.0f, 0.3f, 1.2f, kBlack);
       }},
      {"drawn on a larger picture, then mirrored shrunk", 3.0f, 2.0f,
       [](RasterSurface& s) {
         s.line(0.2f, 0.2f, 2.9f, 1.9f, kBlack);
         s.circle(2.5f, 1.5f, 0.4f);
         s.setOuterWidth(2.05f);
         s.setOuterHeight(1.5f);
         s.mirrorLeftToRight();
         s.line(0.0f, 0.0f, 2.0f, 1.4f, kBlack);
       }},
      {"painted in halves at once, with figures across the middle and after a mirror", 5.0f, 4.0f,
       [](RasterSurface& s) {
         s.setLineWidth(3);
         s.circle(1.0f, 2.0f, 0.6f);
         s.line(2.0f, 0.5f, 2.0f, 3.5f, kBlack);
         s.line(2.5f, 1.5f, 4.5f, 2.6f, kBlack);
         s.setTextSize(30);
         s.writeTextCentred(3.5f, 2.0f, "jgq 150 mm");
         s.mirrorLeftToRight();
         s.circle(4.0f, 3.0f, 0.5f);
         s.setTextPosition(0.5f, 1.8f);
         s.writeText("WMy 380 mm");
       }},
  };
  for (const auto& row : rows) {
    RasterSurface surface(row.width, row.height, QFont("Arial"));
    row.draw(surface);
    const QImage bits = rasteriseOneBit(surface.drawing());
    ASSERT_EQ(bits.format(), QImage::Format_Mono) << row.name;
    EXPECT_EQ(bits.convertToFormat(QImage::Format_RGB32), surface.copyImage()) << row.name;
  }
  // A figure of another colour is left to the whole picture, and to 24 bits a pixel.
  RasterSurface red(1.0f, 1.0f, QFont("Arial"));
  red.line(0.1f, 0.1f, 0.9f, 0.9f, 0x0000FF);
  EXPECT_TRUE(rasteriseOneBit(red.drawing()).isNull());
  QTemporaryDir dir;
  ASSERT_TRUE(saveBitmap(red.drawing(), dir.filePath("red.bmp")));
  EXPECT_EQ(QImage(dir.filePath("red.bmp"), "BMP").convertToFormat(QImage::Format_RGB32), red.copyImage());
}

}  // namespace
}  // namespace korvel
