#pragma once

#include <QColor>
#include <QLineF>
#include <QPointF>
#include <QRect>
#include <algorithm>
#include <cmath>
#include <vector>

#include "drawing/cam_drawing.h"

class QPainter;

// The drawing's figures placed in the 96 ppi picture's pixels, and the
// painter calls that draw each, the same whatever the picture is painted on.
namespace korvel {

struct PixelFigure {
  QPointF a;  // point, line start, circle centre, start of the text's base line
  QPointF b;  // line end
  double radius = 0.0;
  int firstRow = 0;  // the rows it may touch
  int lastRow = 0;
  // The pixels it may touch: its pen's reach around its points, or its
  // text's ink box where the canvas kept it, else its line of text from its
  // start rightward; with a margin for the rasteriser's rounding.
  QRect ink;
  // A sloping line or a circle cut off at the edge of the picture it is
  // painted on is stepped from where it was cut, and may then fall on other
  // pixels than in the whole picture: it is painted whole.
  bool paintedWhole = false;
};

// Every figure of the drawing, its fonts' metrics made once per font.
std::vector<PixelFigure> inPixels(const CamDrawing& drawing);

// The pixels of each row a figure may touch: a sloping line's reach about
// where it crosses the row, a circle's ring, else its ink box's width.
class InkAlongRows {
 public:
  InkAlongRows(const DrawnFigure& figure, const PixelFigure& step);

  // Whether every row's run is the ink box's width.
  bool wholeBox() const { return kind_ == Kind::Box; }

  // Calls take(left, right) for each of the one or two runs of the row's
  // pixels left to right - 1 it may touch, within its ink box.
  template <typename Take>
  void forEachRun(int row, Take&& take) const {
    switch (kind_) {
      case Kind::Box:
        take(left_, right_);
        return;
      case Kind::Line: {
        // Where the line's run within reach of the row starts and ends, as
        // x moves along y; past its ends the box holds it to its points.
        const double a = xAtRowZero_ + (row - reach_) * slope_;
        const double b = a + (1 + 2 * reach_) * slope_;
        take(pixel(std::min(a, b) - reach_), pixel(std::max(a, b) + reach_) + 1);
        return;
      }
      case Kind::Ring: {
        // Across the ring where the row is nearest the centre, short of its
        // hole where the row is farthest.
        const double nearest = std::max({0.0, row - centre_.y(), centre_.y() - (row + 1)});
        const double farthest = std::max(std::abs(row - centre_.y()), std::abs(row + 1 - centre_.y()));
        if (nearest > outer_) return;
        const double across = std::sqrt(outer_ * outer_ - nearest * nearest);
        const double hole = farthest < inner_ ? std::sqrt(inner_ * inner_ - farthest * farthest) : 0.0;
        if (hole < 1) {
          take(pixel(centre_.x() - across), pixel(centre_.x() + across) + 1);
          return;
        }
        take(pixel(centre_.x() - across), pixel(centre_.x() - hole) + 1);
        take(pixel(centre_.x() + hole), pixel(centre_.x() + across) + 1);
        return;
      }
    }
  }

 private:
  enum class Kind { Box, Line, Ring };
  // Truncated toward the box's left, which is far enough for a run's ends.
  int pixel(double x) const { return static_cast<int>(std::clamp(x, double(left_), double(right_))); }

  Kind kind_ = Kind::Box;
  int left_;
  int right_;
  double reach_ = 0.0;
  // A sloping line: where it meets row 0 and its run along x per row.
  double xAtRowZero_ = 0.0;
  double slope_ = 0.0;
  // A circle: its centre and the ring's outer and inner radii.
  QPointF centre_;
  double outer_ = 0.0;
  double inner_ = 0.0;
};

// Paints the figure where step places it, its text's font scaled by fontScale.
void paintFigure(QPainter& painter, const CamDrawing& drawing, const DrawnFigure& figure, const PixelFigure& step,
                 double fontScale = 1.0);

// Line figures of one pen, handed to the painter together: a cam's outline
// is hundreds of short lines, and the painter sets up its stroke once for
// them all, each line stroked as it would be alone.
class LineRun {
 public:
  explicit LineRun(QPainter& painter) : painter_(painter) {}

  // Takes a line figure, after painting those taken with another pen.
  void add(const DrawnFigure& line, const PixelFigure& step);
  // Paints the lines taken so far; due before the painter's place, clip or
  // pen changes, and before what it painted is read.
  void paint();

 private:
  QPainter& painter_;
  std::vector<QLineF> lines_;
  QColor colour_;
  int width_ = 0;
};

}  // namespace korvel
