#include "ui/plot_window.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScreen>
#include <cmath>

#include "commands/cam_sheet.h"
#include "common/failing_step.h"
#include "common/number_text.h"
#include "render/surface_fonts.h"
#include "settings/ini_file.h"
#include "settings/window_geometry.h"
#include "ui/cut_export_menu.h"
#include "ui/outer_size.h"
#include "ui/twips.h"

namespace korvel {

namespace {

constexpr float kSheetInches = static_cast<float>(kSheetSize);
constexpr int kMinimumHeightTwips = 6360;
constexpr int kMinimumWidthTwips = 5940;
// The picture can be scrolled until only its last 4 inches remain in view.
constexpr float kKeptInView = 4.0f;

QScrollBar* scrollBar(Qt::Orientation orientation, QRect twips, QWidget* parent) {
  auto* bar = new QScrollBar(orientation, parent);
  bar->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
  bar->setRange(0, 6);
  bar->setSingleStep(1);  // one whole inch per arrow or trough click
  bar->setPageStep(1);
  return bar;
}

float furthest(float extent) { return -(extent - kKeptInView); }

}  // namespace

PlotWindow::PlotWindow(const QString& settingsFilePath)
    : settingsFilePath_(settingsFilePath), surface_(kSheetInches, kSheetInches, sheetFont()) {
  setWindowTitle("Plot Window");
  setAttribute(Qt::WA_DeleteOnClose);
  MenuBar = new QMenuBar(this);
  MenuBar->setNativeMenuBar(false);
  ExportSheetAction = MenuBar->addMenu("&File")->addAction(exportMenuCaption("&Export sheet for cutting"));
  const int menuHeight = MenuBar->sizeHint().height();
  SheetArea = new QWidget(this);
  SheetArea->move(0, menuHeight);
  SheetPicture = new SurfaceView(surface_, SheetArea);
  SheetPicture->move(0, 0);
  SheetPicture->installEventFilter(this);
  HorizontalScroll = scrollBar(Qt::Horizontal, {0, 9120, 9135, 255}, SheetArea);
  VerticalScroll = scrollBar(Qt::Vertical, {9120, 0, 255, 9375}, SheetArea);
  // Their names on the original form, so that they can still be found by them.
  SheetPicture->setObjectName("Picture1");
  HorizontalScroll->setObjectName("HScroll1");
  VerticalScroll->setObjectName("VScroll1");
  HorizontalScroll->raise();
  VerticalScroll->raise();
  connect(HorizontalScroll, &QScrollBar::valueChanged, this, [this] { horizontalScrollChanged(); });
  connect(VerticalScroll, &QScrollBar::valueChanged, this, [this] { verticalScrollChanged(); });
  outerSize_ = new OuterSize(this, false, {1, 1}, menuHeight);
  const IniText file = readIniFile(settingsFilePath_.toStdString());
  for (const auto& key : {kPlotWindowKeys[key::PWTop], kPlotWindowKeys[key::PWLeft]})
    positionStored_ = positionStored_ || file.value(key.section, key.key).count > 0;
  readWindowGeometry(file, kPlotWindowKeys, *this);
}

void PlotWindow::placeBeside(const QWidget& designer) {
  if (positionStored_) return;
  const QRect screen = designer.screen()->availableGeometry();
  const QRect beside = designer.frameGeometry();
  // The frame is the designer's, as the window system draws both alike.
  const QSize frame = beside.size() - designer.size();
  const QSize wanted = QSize(SheetPicture->width() + VerticalScroll->width(), SheetPicture->height() + HorizontalScroll->height()) + frame;
  const int rightRoom = screen.right() - beside.right();
  const int leftRoom = beside.left() - screen.left();
  const int width = std::min(wanted.width(), std::max(rightRoom, leftRoom));
  const int left = rightRoom >= leftRoom ? beside.right() + 1 : beside.left() - width;
  const int menuHeight = MenuBar->sizeHint().height();  // added to the kept height
  const int height = std::min(wanted.height(), screen.height() - menuHeight);
  const int top = std::clamp(beside.top(), screen.top(), screen.bottom() + 1 - height - menuHeight);
  setOuterTopTwips(pixelsToTwips(top));
  setOuterLeftTwips(pixelsToTwips(left));
  // Never smaller than the size the window opens at when a position is stored.
  setOuterWidthTwips(std::max(outerWidthTwips(), pixelsToTwips(width)));
  setOuterHeightTwips(std::max(outerHeightTwips(), pixelsToTwips(height)));
}

void PlotWindow::closeEvent(QCloseEvent* event) {
  const std::string path = settingsFilePath_.toStdString();
  runStep([&] { return writeWindowGeometry(path, kPlotWindowKeys, *this); });
  event->accept();
}

void PlotWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (outerHeightTwips() < kMinimumHeightTwips) setOuterHeightTwips(kMinimumHeightTwips);
  if (outerWidthTwips() < kMinimumWidthTwips) setOuterWidthTwips(kMinimumWidthTwips);
  const int menuHeight = MenuBar->sizeHint().height();
  MenuBar->setGeometry(0, 0, width(), menuHeight);
  SheetArea->setGeometry(0, menuHeight, width(), std::max(height() - menuHeight, 0));
  layOutScrollBars();
}

void PlotWindow::layOutScrollBars() {
  const int barHeight = HorizontalScroll->height();
  const int barWidth = VerticalScroll->width();
  const QSize area = SheetArea->size();
  // A minimized window, or one whose interior is smaller than the bars, has
  // nothing to lay out.
  if (isMinimized() || area.width() < barWidth || area.height() < barHeight) return;
  HorizontalScroll->move(HorizontalScroll->x(), area.height() - barHeight);
  VerticalScroll->move(area.width() - barWidth, VerticalScroll->y());
  HorizontalScroll->resize(area.width(), barHeight);
  VerticalScroll->resize(barWidth, area.height() - barHeight);
}

// The bars go back to 0 first: smaller maxima set afterwards would otherwise
// lower their values, and their change handlers would move the sheet away from
// the corner.
void PlotWindow::placePictureAtCorner() {
  HorizontalScroll->setValue(0);
  VerticalScroll->setValue(0);
  setPictureTop(0);
  setPictureLeft(0);
}

void PlotWindow::setPictureLeft(float inches) {
  pictureLeft_ = inches;
  SheetPicture->move(inchesToPixels(inches), SheetPicture->y());
}

void PlotWindow::setPictureTop(float inches) {
  pictureTop_ = inches;
  SheetPicture->move(SheetPicture->x(), inchesToPixels(inches));
}

void PlotWindow::horizontalScrollChanged() {
  float t = -static_cast<float>(HorizontalScroll->value());
  t = std::max(t, furthest(surface_.outerWidth()));
  setPictureLeft(t);
}

void PlotWindow::verticalScrollChanged() {
  float t = -static_cast<float>(VerticalScroll->value());
  t = std::max(t, furthest(surface_.outerHeight()));
  setPictureTop(t);
}

void PlotWindow::sheetPressed(QPointF inches) { grab_ = inches; }

void PlotWindow::sheetDragged(QPointF inches) {
  float t = pictureLeft_ - static_cast<float>(grab_.x() - inches.x());
  float u = pictureTop_ - static_cast<float>(grab_.y() - inches.y());
  t = std::max(std::min(t, 0.0f), furthest(surface_.outerWidth()));
  u = std::max(std::min(u, 0.0f), furthest(surface_.outerHeight()));
  setPictureLeft(t);
  setPictureTop(u);
  // The bars follow in whole inches; a changed bar snaps the picture to it.
  if (const auto v = toInt16(std::fabs(t))) HorizontalScroll->setValue(*v);
  if (const auto v = toInt16(std::fabs(u))) VerticalScroll->setValue(*v);
}

bool PlotWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == SheetPicture) {
    if (event->type() == QEvent::MouseButtonPress) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      sheetPressed(mouse->position() / kPixelsPerInch);
      return true;
    }
    if (event->type() == QEvent::MouseMove) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->buttons() == Qt::LeftButton) sheetDragged(mouse->position() / kPixelsPerInch);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}


}  // namespace korvel
