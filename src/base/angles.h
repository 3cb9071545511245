// The angle constants. There are three on purpose, each kept to the exact
// value its drawing was made with: the pixels of pies, gradients, turned text
// and elliptic arcs follow from these doubles, and making them one value
// would move pixels. Angles are in degrees where the host gives them.
#pragma once

#include <cmath>

namespace quorvane {

// π as the decimal 3.14159265359 for pie sectors and gradient colours: the
// sectors' pixels, their image-map coordinates and a gradient's direction are
// reproducible to the pixel only with this very value, not the double
// nearest π.
inline constexpr double kPieAndGradientPi = 3.14159265359;

// Degrees to radians for turned text: π / 180 written to thirteen decimals.
// Glyph turn matrices and the step between lines come from it, so a turned
// text's pixels depend on this exact factor.
inline constexpr double kTextRadiansPerDegree = 0.0174532925203;

// π to full double precision, for the end points of elliptic arcs.
inline constexpr double kArcPi = 3.14159265358979323846;

static_assert(kPieAndGradientPi != kArcPi && kTextRadiansPerDegree != kPieAndGradientPi / 180 &&
                  kTextRadiansPerDegree != kArcPi / 180,
              "each angle constant keeps its own value");

// Angles outside -360 ... 360 are reduced by the floating remainder; a
// negative angle then gets 360 added, so the result lies in 0 ... 360.
inline double normaliseDegrees(double a) {
  if (a < -360 || a > 360) a = std::fmod(a, 360.0);
  if (a < 0) a += 360;
  return a;
}

}  // namespace quorvane
