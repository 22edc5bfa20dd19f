#pragma once

#include <QFont>
#include <QPointF>
#include <string>
#include <vector>

#include "geometry/cam_canvas.h"
#include "geometry/cam_profile.h"

// What was drawn on a surface, kept as geometry in surface inches (origin
// top-left, y downward) beside the 96 ppi raster, so a print or a file for a
// cutter holds every line where it was computed rather than where a pixel fell.
namespace korvel {

enum class RecordedShape { Point, Line, Circle, Text };

// Where a figure goes in a file for a cutter.
enum class CutLayer { Cut, Marks, Text };

struct RecordedFigure {
  RecordedShape shape;
  CutLayer layer;
  int outline;          // the cam outline a point or line belongs to, -1 for none
  QPointF a;            // point, line start, circle centre, start of the text's base line
  QPointF b;            // line end
  double radius = 0.0;  // circle
  std::string text;
  QFont font;                   // text
  bool readsBackwards = false;  // text drawn before the surface was mirrored
};

// The profile of one drawn cam as it was computed, never mirrored.
struct KeptProfile {
  double focalMm;
  float extensionFactor;  // the factor the cam started from
  std::vector<CamPoint> points;
};

class DrawingRecord {
 public:
  void clear();
  void addPoint(QPointF at);
  void addLine(QPointF from, QPointF to);
  void addCircle(QPointF centre, double radius);
  void addText(QPointF baseLineStart, const std::string& text, const QFont& font);
  void beginFigure(FigureRole role);
  void endFigure();
  void keepOutline(const std::vector<SurfacePoint>& polygon);
  void keepProfile(double focalMm, float extensionFactor, const CamProfile& profile);
  // Left to right about x = width / 2, as the raster is mirrored.
  void mirror(double width);

  const std::vector<RecordedFigure>& figures() const { return figures_; }
  const std::vector<KeptProfile>& profiles() const { return profiles_; }
  // Each cam's outline as the vertices of one closed polygon, as the geometry
  // handed it over.
  const std::vector<std::vector<QPointF>>& camOutlines() const { return polygons_; }

  double width = 0.0;  // surface inches
  double height = 0.0;

 private:
  // Layer and outline follow the open figure runs.
  void add(RecordedShape shape, QPointF a, QPointF b, double radius = 0.0,
           const std::string& text = {}, const QFont& font = {});

  std::vector<RecordedFigure> figures_;
  std::vector<KeptProfile> profiles_;
  std::vector<std::vector<QPointF>> polygons_;
  std::vector<FigureRole> open_;
  int outlines_ = 0;
};

}  // namespace korvel
