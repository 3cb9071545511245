// Bringing wide or floating results back into int range. Positions and sizes
// come from the host unchecked, so sums are formed in 64 bits and saturate
// here before they reach an int: a huge value stays huge instead of wrapping.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace quorvane {

inline constexpr int clampToInt(int64_t v) {
  if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  return static_cast<int>(v);
}

// trunc(v) as an int; NaN is 0 and values out of range saturate.
inline int truncToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v <= static_cast<double>(std::numeric_limits<int>::min()))
    return std::numeric_limits<int>::min();
  if (v >= static_cast<double>(std::numeric_limits<int>::max()))
    return std::numeric_limits<int>::max();
  return static_cast<int>(v);
}

}  // namespace quorvane
