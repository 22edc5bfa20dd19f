#include "scan/rangefinder_reading.h"

#include <algorithm>

#include "geometry/distance_marker_table.h"

namespace korvel {

RangefinderReading rangefinderReading(double heightIn) {
  const auto& table = DistanceMarkerTable;
  double nearest = 0.0;
  for (std::size_t r = 0; r + 1 < table.size(); ++r) {
    const DistanceRow& far = table[r];
    const DistanceRow& near = table[r + 1];
    if (!(far.heightIn >= heightIn && heightIn >= near.heightIn)) continue;
    double distance = std::min(far.distanceMm, near.distanceMm);
    if (far.heightIn != near.heightIn) {
      const double share = (far.heightIn - heightIn) / (far.heightIn - near.heightIn);
      distance = 1.0 / (1.0 / far.distanceMm + share * (1.0 / near.distanceMm - 1.0 / far.distanceMm));
    }
    if (nearest == 0.0 || distance < nearest) nearest = distance;
  }
  if (nearest > 0.0) return {RangefinderReading::Kind::Distance, nearest};
  return {heightIn > table.front().heightIn ? RangefinderReading::Kind::Infinity : RangefinderReading::Kind::Near,
          0.0};
}

}  // namespace korvel
