// Lines and bands on the back plane and the walls of a plot area.
#include "xychart/plot_geometry.h"

#include <algorithm>

namespace quorvane {

void drawHorizontalLine(DrawArea &area, const PlotGeometry &g, int yOffset, int color,
                        int width) {
  const int row = g.backBottom() - yOffset;
  area.line(g.left(), row, g.right(), row, color, width);
  if (g.dx > 0 || g.dy > 0)
    area.line(g.x, g.bottom() - yOffset, g.x + g.dx - 1, g.bottom() - yOffset - g.dy + 1, color,
              width);
}

void drawVerticalLine(DrawArea &area, const PlotGeometry &g, int xOffset, int color, int width) {
  const int column = g.left() + xOffset;
  area.line(column, g.backBottom(), column, g.backBottom() - g.height + 1, color, width);
  if (g.dx > 0 || g.dy > 0)
    area.line(g.x + xOffset, g.bottom(), g.x + g.dx + xOffset - 1, g.bottom() - g.dy + 1, color,
              width);
}

void fillHorizontalBand(DrawArea &area, const PlotGeometry &g, int y1, int y2, int color) {
  const int low = std::min(y1, y2);
  const int high = std::max(y1, y2);
  area.rect(g.left(), g.backBottom() - high, g.right(), g.backBottom() - low, color, color, 0);
  if (!g.hasDepth()) return;
  const int xs[] = {g.x, g.left(), g.left(), g.x};
  const int ys[] = {g.bottom() - low, g.backBottom() - low, g.backBottom() - high,
                    g.bottom() - high};
  area.polygon(xs, ys, 4, color, color);
}

void fillVerticalBand(DrawArea &area, const PlotGeometry &g, int x1, int x2, int color) {
  const int low = std::min(x1, x2);
  const int high = std::max(x1, x2);
  area.rect(g.left() + low, g.top(), g.left() + high, g.backBottom(), color, color, 0);
  if (!g.hasDepth()) return;
  const int xs[] = {g.x + low, g.x + high, g.left() + high, g.left() + low};
  const int ys[] = {g.bottom(), g.bottom(), g.backBottom(), g.backBottom()};
  area.polygon(xs, ys, 4, color, color);
}

}  // namespace quorvane
