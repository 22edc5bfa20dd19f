#pragma once

// The cam's own frame, in inches: x along the cam, y downward, the follower
// resting on the base line at infinity.
namespace korvel {

inline constexpr double kWorkingLength = 1.356;  // no profile point lies beyond it
inline constexpr double kBaseLine = 0.695;       // the cam's height at infinity

}  // namespace korvel
