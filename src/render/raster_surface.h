#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QSize>
#include <functional>
#include <vector>

#include "common/units.h"
#include "geometry/cam_canvas.h"
#include "render/drawing_record.h"

class QPainter;
class QPaintDevice;

// A retained picture measured in inches that cams are drawn on: the preview
// box of the designer window and the sheet of the plot window. It is a 96
// pixels per inch picture whatever the screen, so a saved cam bitmap is the
// same on every machine; drawing is black on white and aliased, so printed and
// saved cams have crisp edges. The surface keeps the painting steps rather
// than the pixels: the picture is rasterised from them when it is asked for, a
// band of rows at a time for a bitmap file, and the screen paints them at its
// own resolution.
namespace korvel {

// The picture's resolution as a bitmap file states it.
inline constexpr int kSurfaceDotsPerMetre = static_cast<int>(kPixelsPerInch * 1000 / kMmPerInch + 0.5);

// One painting step in the picture's pixels.
struct PaintStep {
  enum class Kind { Point, Line, Circle, Text, Mirror };
  Kind kind;
  QPointF a;  // point, line start, circle centre, start of the text's base line
  QPointF b;  // line end
  double radius = 0.0;
  QColor colour;
  int width = 1;  // pen width
  QString text;
  QFont font;
  QSize clip;  // the picture's size when drawn, or less if it shrank since
  int firstRow = 0;  // the rows the step may touch
  int lastRow = 0;
};

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
  void beginFigure(FigureRole role) override { record_.beginFigure(role); }
  void endFigure() override { record_.endFigure(); }
  void keepOutline(const std::vector<SurfacePoint>& polygon) override { record_.keepOutline(polygon); }
  void keepProfile(double focalMm, float extensionFactor, const CamProfile& profile) override {
    record_.keepProfile(focalMm, extensionFactor, profile);
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
  QSize pixelSize() const { return size_; }
  // Hands the picture to take a band of at most bandRows rows at a time, the
  // bottom band first, each opaque (RGB32) and as wide as the picture; top is
  // the band's first row. Stops when take returns false.
  bool rasteriseInBands(int bandRows, const std::function<bool(const QImage& band, int top)>& take) const;
  // Paints the drawing onto a screen painter whose units are the picture's
  // pixels, at the device's own resolution; the mirror is a transform there.
  void paintOnScreen(QPainter& painter, const QRect& area) const;
  // A device at the picture's 96 pixels per inch, for measuring its fonts.
  const QPaintDevice& fontDevice() const { return fontDevice_; }

  // The drawing as geometry, for printing at the printer's resolution and
  // for the files for cutting.
  const DrawingRecord* record() const { return &record_; }
  QPointF textPosition() const { return textPosition_; }

  // The widget that shows the surface: refresh() repaints it at once, every
  // other change schedules a repaint for when the command is done.
  void setRefreshHandler(std::function<void()> handler) { refreshHandler_ = std::move(handler); }
  void setChangeHandler(std::function<void()> handler) { changeHandler_ = std::move(handler); }

 private:
  static int toPixels(float inches);
  void resizeTo(int widthPx, int heightPx);
  QColor penColour() const;
  void add(PaintStep step, double reach);
  void changed() const;

  float outerWidth_;
  float outerHeight_;
  QSize size_;
  std::vector<PaintStep> steps_;
  QImage fontDevice_;
  QFont font_;
  Colour colour_ = kBlack;
  int lineWidth_ = 1;
  QPointF textPosition_{0, 0};  // inches
  DrawingRecord record_;

  std::function<void()> refreshHandler_;
  std::function<void()> changeHandler_;
};

// Whole pixels of a length in surface inches.
int surfacePixels(double inches);

}  // namespace korvel
