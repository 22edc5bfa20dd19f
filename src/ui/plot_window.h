#pragma once

#include <QAction>
#include <QMenuBar>
#include <QPointF>
#include <QScrollBar>
#include <QWidget>

#include "commands/plot_window_view.h"
#include "render/raster_surface.h"
#include "ui/outer_size.h"
#include "ui/surface_view.h"

// The scrollable viewer of the cam sheet. The picture is moved with the two
// scroll bars or dragged with the left mouse button; the window remembers its
// position and size in the settings file. Its menu bar adds to its height.
namespace korvel {

class PlotWindow : public QWidget, public PlotWindowView, public KeepsOuterSize {
  Q_OBJECT
 public:
  // Loading reads the window's geometry keys from the settings file and
  // places the window.
  explicit PlotWindow(const QString& settingsFilePath);

  // The first time (no position stored), the window opens beside the designer
  // rather than over it, large enough for a normal sheet where the screen
  // allows. A stored position keeps the window where it was.
  void placeBeside(const QWidget& designer);

  RasterSurface& surface() override { return surface_; }
  void showWindow() override { show(); }
  void placePictureAtCorner() override;
  void setHorizontalMaximum(std::int16_t value) override { HorizontalScroll->setMaximum(value); }
  void setVerticalMaximum(std::int16_t value) override { VerticalScroll->setMaximum(value); }

  // The picture's position inside the window, in inches (0 or negative).
  float pictureLeft() const { return pictureLeft_; }
  float pictureTop() const { return pictureTop_; }
  void setPictureLeft(float inches);
  void setPictureTop(float inches);

  QMenuBar* MenuBar;
  QAction* ExportSheetAction;  // File -> Export sheet for cutting…
  QWidget* SheetArea;          // under the menu bar: the picture and its bars
  SurfaceView* SheetPicture;
  QScrollBar* HorizontalScroll;
  QScrollBar* VerticalScroll;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void layOutScrollBars();
  void horizontalScrollChanged();
  void verticalScrollChanged();
  void sheetPressed(QPointF inches);
  void sheetDragged(QPointF inches);

  bool positionStored_ = false;
  QString settingsFilePath_;
  RasterSurface surface_;
  float pictureLeft_ = 0;
  float pictureTop_ = 0;
  QPointF grab_{0, 0};  // where the picture was last pressed, in its own inches
};

}  // namespace korvel
