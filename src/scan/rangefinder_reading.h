#pragma once

// What the rangefinder shows for a cam height: the subject distance of the
// distance table at that height.
namespace korvel {

struct RangefinderReading {
  enum class Kind { Distance, Infinity, Near };
  Kind kind = Kind::Distance;
  double distanceMm = 0.0;
};

// heightIn: the cam's height at the follower, inches, as the distance table
// counts it. Between the two neighbouring rows (half rows included) whose
// heights bracket it, linear in 1/distance; where rows share the height, the
// nearer distance. Above the table's highest height it reads infinity, below
// its lowest (the 3 ft row) nearer than the table goes.
RangefinderReading rangefinderReading(double heightIn);

}  // namespace korvel
