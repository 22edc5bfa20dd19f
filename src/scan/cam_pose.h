#pragma once

#include <Eigen/Core>
#include <cmath>

#include "scan/cam_shape.h"

// Where the cam lies on the scan plane: the cam frame (mm), mirrored when the
// cam was scanned face down, turned by angle and moved by shift (true mm).
namespace korvel {

struct CamPose {
  double angle = 0.0;
  Eigen::Vector2d shift = Eigen::Vector2d::Zero();
  bool mirrored = false;

  // A direction of the cam frame on the scan.
  Eigen::Vector2d turn(Eigen::Vector2d v) const {
    if (mirrored) v.y() = -v.y();
    const double c = std::cos(angle), s = std::sin(angle);
    return {c * v.x() - s * v.y(), s * v.x() + c * v.y()};
  }
  Eigen::Vector2d place(const ShapePoint& p) const { return turn({p.x, p.y}) + shift; }
  // A point of the scan in the cam frame.
  Eigen::Vector2d camPoint(const Eigen::Vector2d& scan) const {
    const Eigen::Vector2d d = scan - shift;
    const double c = std::cos(angle), s = std::sin(angle);
    Eigen::Vector2d v(c * d.x() + s * d.y(), -s * d.x() + c * d.y());
    if (mirrored) v.y() = -v.y();
    return v;
  }
};

}  // namespace korvel
