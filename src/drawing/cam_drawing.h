#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <string>
#include <vector>

#include "common/units.h"
#include "geometry/cam_canvas.h"
#include "geometry/cam_profile.h"

class QPaintDevice;

// A drawn cam kept as data: every figure in surface inches (origin top-left,
// y downward) with the geometry's own numbers, its pen and what it is to a
// cutter, in the order it was drawn, and the mirror as events among them.
// The screen, the printer, the bitmap and every file for cutting read it.
namespace korvel {

// The picture's resolution as a bitmap file states it.
inline constexpr int kSurfaceDotsPerMetre = static_cast<int>(kPixelsPerInch * 1000 / kMmPerInch + 0.5);

enum class FigureShape { Point, Line, Circle, Text };

// What a figure is to a cutter, as the canvas was told while drawing it.
enum class DrawnRole {
  OutlineSegment,  // a piece of a cam's outline, which a file holds as one closed polygon
  MarkerTick,      // a distance marker tick
  Hole,            // a circle on the cut layer
  LooseCut,        // a point or line on the cut layer outside any outline
  Text,
};

// Where a figure goes in a file for a cutter.
enum class CutLayer { Cut, Marks, Text };

struct DrawnFigure {
  FigureShape shape = FigureShape::Point;
  DrawnRole role = DrawnRole::LooseCut;
  int outline = -1;  // the cam outline an outline segment belongs to
  // Point, line start, circle centre; for text the top-left corner where the
  // canvas's text position stood. Each output finds the base line from the
  // font's ascent at the picture's 96 pixels per inch.
  QPointF a;
  QPointF b;            // line end
  double radius = 0.0;  // circle
  QColor colour;
  int penWidth = 1;  // pixels of the 96 ppi picture
  std::string text;
  int font = -1;           // text: its font among the drawing's fonts
  // Text: its ink from the start of its base line in the picture's pixels,
  // where the canvas measured it to place the text; else empty.
  QRectF ink;
  QSize clip;              // the picture's pixels when drawn, or less if it shrank since
  int drawnHeight = 0;     // the picture's height in pixels when drawn
  int mirrorsBefore = 0;   // the mirror events drawn before this figure

  CutLayer layer() const {
    if (role == DrawnRole::Text) return CutLayer::Text;
    return role == DrawnRole::MarkerTick ? CutLayer::Marks : CutLayer::Cut;
  }
};

// The picture mirrored left to right about its middle at that moment: every
// figure drawn before it is placed mirrored.
struct MirrorEvent {
  double widthInches;  // the picture's width when mirrored
  QSize clip;          // its pixels then, or less if it shrank since
  int figuresBefore;
};

// The profile of one drawn cam as it was computed, never mirrored.
struct KeptProfile {
  double focalMm;
  float extensionFactor;  // the factor the cam started from
  std::vector<CamPoint> points;
};

// A cam outline as one closed polygon, as the geometry handed it over.
struct KeptOutline {
  std::vector<QPointF> vertices;
  int mirrorsBefore = 0;
};

// A text figure as it stands on the surface: the start of its base line and
// whether a later mirror turned it to read backwards.
struct PlacedText {
  QPointF baseLineStart;
  bool readsBackwards = false;
};

class CamDrawing {
 public:
  void clear();
  // A figure other than a text.
  void add(DrawnFigure figure);
  // A text with its font, sized for the picture's 96 pixels per inch. The
  // fonts are kept apart from the figures: a sheet's hundreds of figures
  // each copying a font took a tenth of drawing it.
  void addText(DrawnFigure text, const QFont& font);
  void mirror();
  void resize(QSize pixels);
  void keepOutline(const std::vector<SurfacePoint>& polygon);
  void keepProfile(double focalMm, float extensionFactor, const CamProfile& profile);

  const std::vector<DrawnFigure>& figures() const { return figures_; }
  const std::vector<MirrorEvent>& mirrors() const { return mirrors_; }
  const std::vector<KeptProfile>& profiles() const { return profiles_; }
  const QFont& font(const DrawnFigure& text) const { return fonts_[std::size_t(text.font)]; }
  // Each cam's outline as the vertices of one closed polygon, placed.
  std::vector<std::vector<QPointF>> camOutlines() const;

  // The picture's size in whole pixels at 96 per inch, and in inches.
  QSize pixelSize() const { return size_; }
  double width() const { return size_.width() / kPixelsPerInch; }
  double height() const { return size_.height() / kPixelsPerInch; }

  // A point of a figure where it stands after the mirrors drawn after it.
  QPointF placed(const DrawnFigure& figure, QPointF p) const { return placed(figure.mirrorsBefore, p); }
  // A text figure's base line, from its font's ascent at the picture's 96 pixels per inch.
  PlacedText placedText(const DrawnFigure& text) const;

 private:
  QPointF placed(int mirrorsBefore, QPointF p) const;

  QSize size_{1, 1};
  std::vector<DrawnFigure> figures_;
  std::vector<MirrorEvent> mirrors_;
  std::vector<KeptProfile> profiles_;
  std::vector<KeptOutline> outlines_;
  std::vector<QFont> fonts_;
};

// A device at the picture's 96 pixels per inch, for measuring its fonts.
const QPaintDevice& surfaceFontDevice();

}  // namespace korvel
