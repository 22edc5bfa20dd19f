#include "ui/plot_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

namespace korvel {
namespace {

class PlotWindowTest : public ::testing::Test {
 protected:
  QTemporaryDir folder;
  QString settings() const { return QDir(folder.path()).filePath("KorvelCamDesigner.ini"); }
  void store(const QByteArray& text) {
    QFile file(settings());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
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

TEST_F(PlotWindowTest, OpensWithTheDefaultGeometryAndCaption) {
  PlotWindow* w = open();
  EXPECT_EQ(w->windowTitle(), "Plot Window");
  EXPECT_EQ(w->pos(), QPoint(53, 7));  // 800 and 100 twips between pixels
  EXPECT_EQ(w->outerTopTwips(), 100);
  EXPECT_EQ(w->outerLeftTwips(), 800);
  EXPECT_EQ(w->outerWidthTwips(), 8745);
  EXPECT_EQ(w->outerHeightTwips(), 7110);
  EXPECT_EQ(w->Picture1->size(), QSize(605, 605));
  delete w;
}

TEST_F(PlotWindowTest, StoredGeometryIsBoundedAndWrittenBackOnClose) {
  struct Case {
    const char* file;
    int top, left, width, height;
  };
  const Case cases[] = {
      {"[Windows]\nPWTop=50\nPWLeft=12000\nPWWidth=6000\nPWHeight=9000\n", 100, 800, 8745, 9000},
      {"[Windows]\nPWTop=1500\nPWLeft=10800\nPWWidth=9000\nPWHeight=7110\n", 1500, 10800, 9000, 7110},
      {"[Windows]\nPWTop=99999\nPWLeft=10801\nPWWidth=abc\nPWHeight=-5\n", 100, 800, 8745, 7110},
      {"[Windows]\nPWTop=1001\nPWLeft=10799\nPWWidth=9007\nPWHeight=7111\n", 1001, 10799, 9007, 7111},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    store(c.file);
    QPointer<PlotWindow> w = open();
    EXPECT_EQ(w->outerTopTwips(), c.top);
    EXPECT_EQ(w->outerLeftTwips(), c.left);
    EXPECT_EQ(w->outerWidthTwips(), c.width);
    EXPECT_EQ(w->outerHeightTwips(), c.height);
    w->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());  // a later sheet loads it afresh
    QFile file(settings());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), QString("[Windows]\nPWTop=%1\nPWLeft=%2\nPWWidth=%3\nPWHeight=%4\n")
                                                .arg(c.top).arg(c.left).arg(c.width).arg(c.height)
                                                .toStdString());
  }
}

TEST_F(PlotWindowTest, KeepsItsMinimumSizeAndLaysOutTheBarsAlongTheEdges) {
  PlotWindow* w = open();
  w->resize(100, 100);
  QApplication::processEvents();
  EXPECT_EQ(w->outerHeightTwips(), 6360);
  EXPECT_EQ(w->outerWidthTwips(), 5940);
  w->resize(700, 500);
  QApplication::processEvents();
  EXPECT_EQ(w->HScroll1->geometry(), QRect(0, 500 - w->HScroll1->height(), 700, w->HScroll1->height()));
  EXPECT_EQ(w->VScroll1->geometry(),
            QRect(700 - w->VScroll1->width(), 0, w->VScroll1->width(), 500 - w->HScroll1->height()));
  w->showMinimized();
  QApplication::processEvents();
  EXPECT_GE(w->VScroll1->height(), 0);
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
