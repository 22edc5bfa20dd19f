#include "render/drawing_record.h"

#include <gtest/gtest.h>

#include "render/raster_surface.h"

namespace korvel {
namespace {

// The record follows the drawing layer: mirrored with it, cleared with it,
// and never holding the background picture a print or export would repeat.
TEST(DrawingRecord, FollowsTheDrawingNotTheBackgroundPicture) {
  RasterSurface surface(2.0f, 1.0f, QFont("Arial"));
  surface.beginFigure(FigureRole::CamOutline);
  surface.line(0.25f, 0.5f, 0.75f, 0.5f, kBlack);
  surface.endFigure();
  surface.circle(0.5f, 0.5f, 0.125f);
  surface.writeText("135 mm");
  surface.setBackgroundPicture(surface.copyImage());
  surface.mirrorLeftToRight();

  const auto& figures = surface.record()->figures();
  ASSERT_EQ(figures.size(), 3u);
  EXPECT_EQ(figures[0].a, QPointF(1.75, 0.5));
  EXPECT_EQ(figures[0].outline, 0);
  EXPECT_EQ(figures[1].a, QPointF(1.5, 0.5));
  EXPECT_EQ(figures[1].layer, CutLayer::Cut);
  EXPECT_TRUE(figures[2].readsBackwards);
  EXPECT_EQ(surface.record()->camOutlines().size(), 1u);

  surface.clear();  // the background still shows on screen, but nothing is drawn
  EXPECT_TRUE(surface.record()->figures().empty());
  const QImage shown = surface.copyImage();
  QImage white(shown.size(), shown.format());
  white.fill(Qt::white);
  EXPECT_NE(shown, white);
}

}  // namespace
}  // namespace korvel
