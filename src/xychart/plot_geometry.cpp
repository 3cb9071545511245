// Lines and bands on the back plane and the walls of a plot area. Offsets
// are added to the 64-bit edges and saturate at the drawing call.
#include "xychart/plot_geometry.h"

#include <algorithm>

namespace quorvane {

void drawHorizontalLine(DrawArea &area, const PlotGeometry &g, int yOffset, int color,
                        int width) {
  const int row = clampToInt(g.backBottomWide() - yOffset);
  area.line(g.left(), row, g.right(), row, color, width);
  if (g.dx > 0 || g.dy > 0) {
    const int64_t wallRow = g.bottomWide() - yOffset;
    area.line(g.x, clampToInt(wallRow), clampToInt(g.leftWide() - 1),
              clampToInt(wallRow - g.dy + 1), color, width);
  }
}

void drawVerticalLine(DrawArea &area, const PlotGeometry &g, int xOffset, int color, int width) {
  const int column = clampToInt(g.leftWide() + xOffset);
  area.line(column, g.backBottom(), column, clampToInt(g.backBottomWide() - g.height + 1), color,
            width);
  if (g.dx > 0 || g.dy > 0)
    area.line(clampToInt(int64_t{g.x} + xOffset), g.bottom(),
              clampToInt(g.leftWide() + xOffset - 1), clampToInt(g.bottomWide() - g.dy + 1),
              color, width);
}

void fillHorizontalBand(DrawArea &area, const PlotGeometry &g, int y1, int y2, int color) {
  const int64_t low = std::min(y1, y2);
  const int64_t high = std::max(y1, y2);
  area.rect(g.left(), clampToInt(g.backBottomWide() - high), g.right(),
            clampToInt(g.backBottomWide() - low), color, color, 0);
  if (!g.hasDepth()) return;
  const int xs[] = {g.x, g.left(), g.left(), g.x};
  const int ys[] = {clampToInt(g.bottomWide() - low), clampToInt(g.backBottomWide() - low),
                    clampToInt(g.backBottomWide() - high), clampToInt(g.bottomWide() - high)};
  area.polygon(xs, ys, 4, color, color);
}

void fillVerticalBand(DrawArea &area, const PlotGeometry &g, int x1, int x2, int color) {
  const int64_t low = std::min(x1, x2);
  const int64_t high = std::max(x1, x2);
  area.rect(clampToInt(g.leftWide() + low), g.top(), clampToInt(g.leftWide() + high),
            g.backBottom(), color, color, 0);
  if (!g.hasDepth()) return;
  const int xs[] = {clampToInt(g.x + low), clampToInt(g.x + high),
                    clampToInt(g.leftWide() + high), clampToInt(g.leftWide() + low)};
  const int ys[] = {g.bottom(), g.bottom(), g.backBottom(), g.backBottom()};
  area.polygon(xs, ys, 4, color, color);
}

}  // namespace quorvane
