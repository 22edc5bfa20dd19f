#pragma once

#include <array>
#include <vector>

// The cut-out shape of one cam as Draw Graph draws and the exports write it
// (extension factor 1.074, the lead-in of the single large cam), unmirrored,
// in millimetres of the cam's own frame: x along the cam, y downward, the base
// line at the bottom. Each edge says which feature it belongs to, so a check
// can register the cam on the features that are not filed and measure the
// working edge against them.
namespace korvel {

enum class EdgeFeature { LeadIn, WorkingEdge, RightSide, RightFoot, Notch, LeftFoot, LeftSide, Hole };

struct ShapePoint {
  double x;
  double y;
};

struct ShapeEdge {
  ShapePoint from;
  ShapePoint to;
  EdgeFeature feature;
};

struct ShapeCircle {
  ShapePoint centre;
  double radius;
};

// A distance marker the working edge reaches before the working length.
struct ShapeMarker {
  int marker;         // 1 (infinity) to 13
  double distanceMm;  // the row's subject distance
  double x;           // where its point lies, mm
  double y;
};

struct CamShape {
  std::vector<ShapeEdge> edges;  // closed, in drawing order: A, B, the rows, the body, back to A
  std::array<ShapeCircle, 2> holes;
  std::vector<ShapeMarker> markers;
};

// No edges when the lens's outline cannot be drawn (a float cannot hold it).
CamShape camShapeMm(double focalMm);

// Whether the fit may lean on this edge: the holes, feet and notch, not the
// working edge, its lead-in and the two slanting sides, which the user files.
bool registersCam(EdgeFeature feature);

const char* featureName(EdgeFeature feature);

// Vertical line x through the working edge (lead-in included): its y, or the
// nearest end's y outside it.
double workingEdgeY(const CamShape& shape, double x);

}  // namespace korvel
