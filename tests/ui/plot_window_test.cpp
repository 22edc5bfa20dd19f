#include "ui/plot_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include "common/units.h"
#include "render/surface_fonts.h"
#include "ui/surface_view.h"
#include "support/files.h"

namespace korvel {
namespace {

class PlotWindowTest : public ::testing::Test {
 protected:
  QTemporaryDir folder;
  QString settings() const { return QDir(folder.path()).filePath("KorvelCamDesigner.ini"); }
  PlotWindow* open() {
    auto* window = new PlotWindow(settings());
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    return window;
  }
  // The pixel of the picture at these inches.
  static QPoint pixel(double xIn, double yIn) { return (QPointF(xIn, yIn) * kPixelsPerInch).toPoint(); }
  // A move over the picture with buttons held; the picture moves under the
  // pointer, so the event stands in its own inches.
  static void move(PlotWindow* w, double xIn, double yIn, Qt::MouseButtons held = Qt::LeftButton) {
    const QPointF at(pixel(xIn, yIn));
    QMouseEvent event(QEvent::MouseMove, at, at, Qt::NoButton, held, Qt::NoModifier);
    QApplication::sendEvent(w->SheetPicture, &event);
  }
  static void drag(PlotWindow* w, double fromX, double fromY, double toX, double toY) {
    QTest::mousePress(w->SheetPicture, Qt::LeftButton, {}, pixel(fromX, fromY));
    move(w, toX, toY);
  }
};

// Stored geometry is bounded as the keys say and written back on close; the
// geometry keys' corrections themselves are tested with the settings.
TEST_F(PlotWindowTest, StoredGeometryIsWrittenBackOnCloseAndTheWindowKeepsItsMinimumSize) {
  testing::writeFile(settings(), "[Windows]\nPWTop=1001\nPWLeft=12000\nPWWidth=9007\nPWHeight=7111\n");
  QPointer<PlotWindow> w = open();
  w->placeBeside(*w);  // a stored position is kept
  EXPECT_EQ(w->SheetPicture->size(), QSize(605, 605));
  w->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(w.isNull());  // a later sheet loads it afresh
  EXPECT_EQ(testing::readFile(settings()), "[Windows]\nPWTop=1001\nPWLeft=800\nPWWidth=9007\nPWHeight=7111\n");

  const std::unique_ptr<PlotWindow> again(open());
  again->resize(100, 100);
  QApplication::processEvents();
  EXPECT_EQ(again->outerHeightTwips(), 6360);
  EXPECT_EQ(again->outerWidthTwips(), 5940);
  again->resize(700, 500);  // the bars run along the bottom and the right edge, under the menu bar
  const auto inWindow = [&](QWidget* bar) { return QRect(bar->mapTo(again.get(), QPoint(0, 0)), bar->size()); };
  EXPECT_EQ(inWindow(again->HorizontalScroll).bottomRight(), QPoint(699, 499));
  EXPECT_EQ(inWindow(again->VerticalScroll).topRight(), QPoint(699, again->MenuBar->height()));
  EXPECT_EQ(again->VerticalScroll->geometry().bottom(), again->HorizontalScroll->geometry().top() - 1);
}

TEST_F(PlotWindowTest, BarsAndDraggingMoveThePictureByWholeInchesUntilItsLastFourInches) {
  const std::unique_ptr<PlotWindow> w(open());
  w->HorizontalScroll->setValue(1);
  EXPECT_EQ(w->SheetPicture->x(), -96);
  for (int v : {3, 6}) {
    w->HorizontalScroll->setValue(v);
    w->VerticalScroll->setValue(v);
    EXPECT_NEAR(w->pictureLeft(), -2.3, 1e-6) << v;
    EXPECT_NEAR(w->pictureTop(), -2.3, 1e-6) << v;
  }
  w->HorizontalScroll->setValue(0);
  w->VerticalScroll->setValue(0);
  drag(w.get(), 2.0, 2.0, 0.7, 2.0);  // left by 1.3 inches snaps to the bar's inch
  EXPECT_EQ(w->HorizontalScroll->value(), 1);
  EXPECT_FLOAT_EQ(w->pictureLeft(), -1.0f);
  EXPECT_FLOAT_EQ(w->pictureTop(), 0.0f);
  // Right and down never move the corner past the window's top-left.
  drag(w.get(), 1.0, 1.0, 4.0, 4.0);
  EXPECT_FLOAT_EQ(w->pictureLeft(), 0.0f);
  EXPECT_EQ(w->HorizontalScroll->value(), 0);
  move(w.get(), 0.1, 0.1, Qt::LeftButton | Qt::RightButton);  // another button held: nothing moves
  EXPECT_FLOAT_EQ(w->pictureLeft(), 0.0f);
}

// On a screen of twice the pixels a drawing is painted at twice the
// resolution where the 96 ppi picture puts it, not as that picture with every
// pixel doubled: some aligned square of four device pixels is not one colour.
TEST(SurfaceView, PaintsSharpAtTwiceThePixels) {
  RasterSurface surface(1.0f, 1.0f, sheetFont());
  surface.line(0.1f, 0.1f, 0.9f, 0.6f, kBlack);
  surface.circle(0.5f, 0.5f, 0.3f);
  SurfaceView view(surface, nullptr);
  QImage twice(view.size() * 2, QImage::Format_RGB32);
  twice.setDevicePixelRatio(2);
  view.render(&twice);
  const QImage once = surface.copyImage();
  ASSERT_EQ(twice.size(), once.size() * 2);

  const auto black = [](const QImage& image, int x, int y) {
    return x >= 0 && y >= 0 && x < image.width() && y < image.height() && qGray(image.pixel(x, y)) < 128;
  };
  int sharp = 0;
  int drawn = 0;
  for (int y = 0; y < twice.height(); ++y)
    for (int x = 0; x < twice.width(); ++x) {
      if (x % 2 == 0 && y % 2 == 0)
        sharp += black(twice, x, y) != black(twice, x + 1, y) || black(twice, x, y) != black(twice, x, y + 1);
      if (!black(twice, x, y)) continue;
      ++drawn;
      bool nearPicture = false;  // within a picture pixel of something the picture shows
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) nearPicture |= black(once, x / 2 + dx, y / 2 + dy);
      ASSERT_TRUE(nearPicture) << x << "," << y;
    }
  EXPECT_GT(drawn, 0);
  EXPECT_GT(sharp, 0);
}

// A refresh shows the cam drawn so far at once, while the drawing goes on,
// when the view is on the screen; before it is shown, it paints once shown.
TEST(SurfaceView, ARefreshPaintsAtOnceOnlyOnTheScreen) {
  RasterSurface surface(1.0f, 1.0f, sheetFont());
  SurfaceView view(surface, nullptr);
  struct PaintCount : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
      paints += event->type() == QEvent::Paint;
      return false;
    }
  } count;
  view.installEventFilter(&count);
  surface.line(0.1f, 0.1f, 0.9f, 0.6f, kBlack);
  surface.refresh();
  EXPECT_EQ(count.paints, 0);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  EXPECT_TRUE(QTest::qWaitFor([&] { return count.paints > 0; }));
  count.paints = 0;
  surface.circle(0.5f, 0.5f, 0.3f);
  surface.refresh();
  EXPECT_EQ(count.paints, 1);
}

}  // namespace
}  // namespace korvel
