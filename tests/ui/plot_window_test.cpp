#include "ui/plot_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include "support/files.h"

namespace korvel {
namespace {

class PlotWindowTest : public ::testing::Test {
 protected:
  QTemporaryDir folder;
  QString settings() const { return QDir(folder.path()).filePath("KorvelCamDesigner.ini"); }
  void store(const QByteArray& text) { testing::writeFile(settings(), text); }
  PlotWindow* open() {
    auto* window = new PlotWindow(settings());
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    QApplication::processEvents();
    return window;
  }
  static QPoint at(double xIn, double yIn) { return QPoint(int(std::lround(xIn * 96)), int(std::lround(yIn * 96))); }
  static void drag(PlotWindow* w, double fromX, double fromY, double toX, double toY) {
    QTest::mousePress(w->Picture1, Qt::LeftButton, {}, at(fromX, fromY));
    // The picture moves under the pointer: the event stands in its own inches.
    QMouseEvent move(QEvent::MouseMove, QPointF(at(toX, toY)), QPointF(at(toX, toY)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w->Picture1, &move);
  }
};

// Stored geometry is bounded as the keys say and written back on close; the
// geometry keys' corrections themselves are tested with the settings.
TEST_F(PlotWindowTest, StoredGeometryIsWrittenBackOnCloseAndTheWindowKeepsItsMinimumSize) {
  store("[Windows]\nPWTop=1001\nPWLeft=12000\nPWWidth=9007\nPWHeight=7111\n");
  QPointer<PlotWindow> w = open();
  EXPECT_EQ(w->Picture1->size(), QSize(605, 605));
  w->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(w.isNull());  // a later sheet loads it afresh
  EXPECT_EQ(testing::readFile(settings()), "[Windows]\nPWTop=1001\nPWLeft=800\nPWWidth=9007\nPWHeight=7111\n");

  w = open();
  w->resize(100, 100);
  QApplication::processEvents();
  EXPECT_EQ(w->outerHeightTwips(), 6360);
  EXPECT_EQ(w->outerWidthTwips(), 5940);
  w->resize(700, 500);
  QApplication::processEvents();
  EXPECT_EQ(w->HScroll1->geometry(), QRect(0, 500 - w->HScroll1->height(), 700, w->HScroll1->height()));
  EXPECT_EQ(w->VScroll1->geometry(),
            QRect(700 - w->VScroll1->width(), 0, w->VScroll1->width(), 500 - w->HScroll1->height()));
  delete w;
}

TEST_F(PlotWindowTest, BarsMoveThePictureUntilItsLastFourInches) {
  PlotWindow* w = open();
  w->HScroll1->setValue(1);
  EXPECT_FLOAT_EQ(w->pictureLeft(), -1.0f);
  EXPECT_EQ(w->Picture1->x(), -96);
  for (int v : {3, 6}) {
    w->HScroll1->setValue(v);
    w->VScroll1->setValue(v);
    EXPECT_NEAR(w->pictureLeft(), -2.3, 1e-6) << v;
    EXPECT_NEAR(w->pictureTop(), -2.3, 1e-6) << v;
  }
  delete w;
}

TEST_F(PlotWindowTest, DraggingFollowsThePointerThenSnapsToTheBarsWholeInches) {
  PlotWindow* w = open();
  drag(w, 2.0, 2.0, 0.7, 2.0);  // left by 1.3 inches
  EXPECT_EQ(w->HScroll1->value(), 1);
  EXPECT_FLOAT_EQ(w->pictureLeft(), -1.0f);
  EXPECT_FLOAT_EQ(w->pictureTop(), 0.0f);

  // Right and down never move the corner past the window's top-left.
  drag(w, 1.0, 1.0, 4.0, 4.0);
  EXPECT_FLOAT_EQ(w->pictureLeft(), 0.0f);
  EXPECT_FLOAT_EQ(w->pictureTop(), 0.0f);
  EXPECT_EQ(w->HScroll1->value(), 0);

  // A move with another button held does nothing.
  QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), QPointF(10, 10), Qt::NoButton,
                   Qt::LeftButton | Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(w->Picture1, &move);
  EXPECT_FLOAT_EQ(w->pictureLeft(), 0.0f);
  delete w;
}

}  // namespace
}  // namespace korvel
