#pragma once

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QSize>
#include <functional>
#include <vector>

#include "drawing/cam_drawing.h"
#include "geometry/cam_canvas.h"

class QPaintDevice;

// The canvas cams are drawn on, measured in inches: the preview box of the
// designer window and the sheet of the plot window. It keeps what is drawn as
// a CamDrawing, on a picture of whole pixels at 96 per inch whatever the
// screen, so a saved cam bitmap is the same on every machine; it owns the
// picture's size, the pen and where text is written next.
namespace korvel {

class RasterSurface : public CamCanvas {
 public:
  RasterSurface(float widthInches, float heightInches, const QFont& font);

  void setDrawColour(Colour colour) override;
  void point(float x, float y) override;
  void line(float x1, float y1, float x2, float y2, Colour colour) override;
  void circle(float x, float y, float radius) override;
  void setTextPosition(float x, float y) override;
  void writeText(const std::string& text) override;
  void writeTextCentred(float x, float y, const std::string& text) override;
  void refresh() override;
  void beginFigure(FigureRole role) override;
  void endFigure() override;
  void keepOutline(const std::vector<SurfacePoint>& polygon) override { drawing_.keepOutline(polygon); }
  void keepProfile(double focalMm, float extensionFactor, const CamProfile& profile) override {
    drawing_.keepProfile(focalMm, extensionFactor, profile);
  }

  // Shows only the white background; text position back to (0, 0).
  void clear();
  void setLineWidth(int pixels);
  void setTextSize(float points);
  // The whole picture as now drawn, on white.
  QImage copyImage() const;
  // Mirrors the whole picture left to right; the text position goes back to
  // (0, 0) as after clear(). Text written afterwards reads normally.
  void mirrorLeftToRight();
  float innerWidth() const;
  float innerHeight() const;
  // The size as set, in inches; the interior is that size in whole pixels.
  float outerWidth() const { return outerWidth_; }
  float outerHeight() const { return outerHeight_; }
  void setOuterWidth(float inches);
  void setOuterHeight(float inches);

  // The picture's size in pixels.
  QSize pixelSize() const { return drawing_.pixelSize(); }
  // A device at the picture's 96 pixels per inch, for measuring its fonts.
  const QPaintDevice& fontDevice() const { return surfaceFontDevice(); }

  // What is drawn, for the screen, the printer, the bitmap and the files for cutting.
  const CamDrawing& drawing() const { return drawing_; }
  QPointF textPosition() const { return textPosition_; }

  // The widget that shows the surface: refresh() repaints it at once, every
  // other change schedules a repaint for when the command is done.
  void setRefreshHandler(std::function<void()> handler) { refreshHandler_ = std::move(handler); }
  void setChangeHandler(std::function<void()> handler) { changeHandler_ = std::move(handler); }

 private:
  void resizeTo(int widthPx, int heightPx);
  QColor penColour() const;
  DrawnFigure figure(FigureShape shape, QPointF a, QPointF b) const;
  // A text with its ink box where it was measured to be placed.
  void writeText(const std::string& text, const QRectF& ink);
  // Adds a figure in the role of the figure run it is drawn in.
  void add(DrawnFigure figure);
  void changed() const;

  float outerWidth_;
  float outerHeight_;
  CamDrawing drawing_;
  QFont font_;
  Colour colour_ = kBlack;
  int lineWidth_ = 1;
  QPointF textPosition_{0, 0};  // inches
  std::vector<FigureRole> openFigures_;
  int outlines_ = 0;  // cam outlines begun since the picture was cleared

  std::function<void()> refreshHandler_;
  std::function<void()> changeHandler_;
};

// Whole pixels of a length in surface inches.
int surfacePixels(double inches);

}  // namespace korvel
