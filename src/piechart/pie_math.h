// Angle arithmetic of pie charts. Angles are radians from 12 o'clock growing
// clockwise on the screen. π is the decimal value pies share with gradients
// rather than the full-precision constant, and rounding is half away from
// zero, so that the pixels and image-map coordinates of a pie are
// reproducible to the pixel.
#pragma once

#include <cmath>

#include "base/angles.h"
#include "base/int_math.h"

namespace quorvane::pie {

inline constexpr double kPi = kPieAndGradientPi;
inline constexpr double kTwoPi = kPi + kPi;
inline constexpr double kHalfPi = kPi * 0.5;
// A zero or negative value still gets a sector this wide, and a full circle
// stops this short of closing.
inline constexpr double kSliver = 1e-11;

inline double degToRad(double deg) { return deg * kPi * 0.005555555555555556; }
inline double radToDeg(double rad) { return rad * 180 / kPi; }

// x reduced into [0, 2π).
inline double normAngle(double x) {
  const double r = std::fmod(x, kTwoPi);
  return r < 0 ? r + kTwoPi : r;
}

// Round half away from zero, saturating into int range.
inline int roundAway(double x) { return truncToInt(x > 0 ? x + 0.5 : x - 0.5); }

// The middle of the arc from start clockwise to end; an arc through 0
// (end not past start) has its middle on the opposite side of the average.
inline double midAngle(double start, double end) {
  return end > start ? (start + end) * 0.5 : normAngle((start + end) * 0.5 + kPi);
}

}  // namespace quorvane::pie
