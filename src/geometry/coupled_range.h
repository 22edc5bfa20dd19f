#pragma once

#include <optional>
#include <string>

// How close a lens's cam couples: from about 151 mm on the working edge runs
// out of cam before the table's closest distance, and the rangefinder cannot
// follow the lens nearer than the last row the profile reached.
namespace korvel {

// Subject distance of the last profile row before the clamp (or of the last
// row, when the cam reaches them all), for the cam Draw Graph draws;
// nullopt when no row lies on the profile.
std::optional<double> nearestCoupledDistanceMm(double focalMm);

// "couples from infinity to 12.5 ft (3.81 m)": feet in the shortest form with
// at most two decimals, metres with two; empty when no row lies on the
// profile.
std::string coupledRangeText(double focalMm);

}  // namespace korvel
