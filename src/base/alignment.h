// Alignment codes 1 to 9 name a point of a box as the keys of a numeric
// keypad do: 7 8 9 along the top, 4 5 6 through the middle, 1 2 3 along the
// bottom. Any other value acts as AlignTopLeft, in every helper here.
#pragma once

#include <cstdint>

#include "quorvane.h"

namespace quorvane {

constexpr int normalAlignment(int alignment) {
  return alignment >= 1 && alignment <= 9 ? alignment : AlignTopLeft;
}

constexpr bool isLeftColumn(int alignment) { return normalAlignment(alignment) % 3 == 1; }
constexpr bool isCentreColumn(int alignment) { return normalAlignment(alignment) % 3 == 2; }
constexpr bool isRightColumn(int alignment) { return normalAlignment(alignment) % 3 == 0; }
constexpr bool isTopRow(int alignment) { return normalAlignment(alignment) >= 7; }
constexpr bool isMiddleRow(int alignment) {
  const int a = normalAlignment(alignment);
  return a >= 4 && a <= 6;
}
constexpr bool isBottomRow(int alignment) { return normalAlignment(alignment) <= 3; }

// How far the named point lies from the left (top) edge of a box `width`
// (`height`) pixels wide (high): 0, the truncated half, or the last column
// (row). A box is placed at its top-left corner, the reference point minus this.
constexpr int64_t alignedOffsetX(int alignment, int64_t width) {
  return isCentreColumn(alignment) ? width / 2 : isRightColumn(alignment) ? width - 1 : 0;
}
constexpr int64_t alignedOffsetY(int alignment, int64_t height) {
  return isMiddleRow(alignment) ? height / 2 : isBottomRow(alignment) ? height - 1 : 0;
}

}  // namespace quorvane
