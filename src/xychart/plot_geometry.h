// The plot area as the drawing sees it: the front rectangle and the 3D
// offset (dx, dy) of the back plane that all layers' depths add up to, and
// the lines and bands that run across the back plane and on along the left
// wall (horizontal ones) or the floor (vertical ones). Position and size
// come from the host unchecked: every edge is formed in 64 bits (the *Wide
// forms) and saturates to int only where it is handed on, so a plot area at
// the ends of the int range lies far off the image instead of wrapping.
#pragma once

#include <cstdint>

#include "base/int_math.h"
#include "quorvane.h"

namespace quorvane {

struct PlotGeometry {
  int x = 0;  // front rectangle
  int y = 0;
  int width = 0;
  int height = 0;
  int dx = 0;  // offset of the back plane: right by dx, up by dy
  int dy = 0;

  int64_t frontRightWide() const { return int64_t{x} + width - 1; }
  int64_t bottomWide() const { return int64_t{y} + height - 1; }
  int64_t leftWide() const { return int64_t{x} + dx; }
  int64_t rightWide() const { return frontRightWide() + dx; }
  int64_t backBottomWide() const { return bottomWide() - dy; }
  int64_t topWide() const { return int64_t{y} - 1 - dy; }

  bool hasDepth() const { return dx != 0 || dy != 0; }
  int frontRight() const { return clampToInt(frontRightWide()); }
  int bottom() const { return clampToInt(bottomWide()); }
  // The back plane: its outline rows are top() and backBottom().
  int left() const { return clampToInt(leftWide()); }
  int right() const { return clampToInt(rightWide()); }
  int backBottom() const { return clampToInt(backBottomWide()); }
  int top() const { return clampToInt(topWide()); }
  // The row above the front rectangle.
  int aboveFront() const { return clampToInt(int64_t{y} - 1); }
};

// A line across the back plane at offset yOffset up from the bottom, with its
// continuation along the left wall in 3D.
void drawHorizontalLine(DrawArea &area, const PlotGeometry &g, int yOffset, int color,
                        int width);
// A line up the back plane at offset xOffset from the left, with its
// continuation across the floor in 3D.
void drawVerticalLine(DrawArea &area, const PlotGeometry &g, int xOffset, int color, int width);
// The band between offsets y1 and y2 up from the bottom (either order) across
// the back plane, and on the left wall in 3D.
void fillHorizontalBand(DrawArea &area, const PlotGeometry &g, int y1, int y2, int color);
// The band between offsets x1 and x2 from the left across the back plane, and
// on the floor in 3D.
void fillVerticalBand(DrawArea &area, const PlotGeometry &g, int x1, int x2, int color);

}  // namespace quorvane
