#pragma once

#include <QFont>
#include <QImage>
#include <QPointF>
#include <functional>

#include "common/units.h"
#include "render/drawing_record.h"
#include "render/drawing_surface.h"

// The drawing surface over a QImage at a fixed 96 pixels per inch, whatever
// the screen, so a saved cam bitmap is the same on every machine. Drawing is
// black on white and aliased, so printed and saved cams have crisp edges.
namespace korvel {

class RasterSurface : public DrawingSurface {
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
  void keepProfile(double focalMm, float extensionFactor, const CamProfile& profile) override {
    record_.keepProfile(focalMm, extensionFactor, profile);
  }

  void clear() override;
  void setLineWidth(int pixels) override;
  void setTextSize(float points) override;
  QImage copyImage() const override;
  void mirrorLeftToRight() override;
  float innerWidth() const override;
  float innerHeight() const override;
  // The size as set, in inches; the interior is that size in whole pixels.
  float outerWidth() const override { return outerWidth_; }
  float outerHeight() const override { return outerHeight_; }
  void setOuterWidth(float inches) override;
  void setOuterHeight(float inches) override;

  // The drawing without the background, for painting the visible part of the
  // surface on screen.
  const QImage& drawingLayer() const { return drawing_; }
  // The drawing as geometry: what the drawing layer holds.
  const DrawingRecord* record() const override { return &record_; }
  QPointF textPosition() const { return textPosition_; }

  // The widget that shows the surface: refresh() repaints it at once, every
  // other change schedules a repaint for when the command is done.
  void setRefreshHandler(std::function<void()> handler) { refreshHandler_ = std::move(handler); }
  void setChangeHandler(std::function<void()> handler) { changeHandler_ = std::move(handler); }

 private:
  static int toPixels(float inches);
  void resizeTo(int widthPx, int heightPx);
  QColor penColour() const;

  float outerWidth_;
  float outerHeight_;
  // Transparent where nothing is drawn, or opaque (RGB32) once flattened or
  // mirrored; flattening changes nothing that shows, so copyImage() may do it.
  mutable QImage drawing_;
  QFont font_;
  Colour colour_ = kBlack;
  int lineWidth_ = 1;
  QPointF textPosition_{0, 0};  // inches
  DrawingRecord record_;
  void changed() const;

  std::function<void()> refreshHandler_;
  std::function<void()> changeHandler_;
};

// Whole pixels of a length in surface inches.
int surfacePixels(double inches);

}  // namespace korvel
