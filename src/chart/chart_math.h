// Integer helpers for chart geometry. Positions and sizes come from the host
// unchecked, so sums are formed in 64 bits and brought back into int range
// before they reach the DrawArea; sizes in points are truncated saturating.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

#include "quorvane.h"

namespace quorvane {

inline int clampToInt(int64_t v) {
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

// An alignment outside 1..9 acts as AlignTopLeft.
inline int normalAlignment(int alignment) {
  return alignment >= 1 && alignment <= 9 ? alignment : AlignTopLeft;
}
inline bool isCentreColumn(int alignment) { return alignment % 3 == 2; }  // 2, 5, 8
inline bool isRightColumn(int alignment) { return alignment % 3 == 0; }   // 3, 6, 9
inline bool isBottomRow(int alignment) { return alignment <= 3; }         // 1, 2, 3
inline bool isTopRow(int alignment) { return alignment >= 7; }            // 7, 8, 9

// Owning handles for objects that are released through their destroy().
struct TextDestroyer {
  void operator()(TTFText *t) const { t->destroy(); }
};
using TextHandle = std::unique_ptr<TTFText, TextDestroyer>;

struct AreaDestroyer {
  void operator()(DrawArea *a) const { a->destroy(); }
};
using AreaHandle = std::unique_ptr<DrawArea, AreaDestroyer>;

}  // namespace quorvane
