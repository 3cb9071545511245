// Plot area drawing: wallpaper or background with the walls, alternate
// bands, grid and border.
#include "xychart/plot_area.h"

#include "base/guarded.h"
#include "chart/handles.h"

namespace quorvane {

void PlotAreaImpl::setBackground2(const char *img, Alignment align) {
  completes([&] {
    wallpaper_ = img != nullptr ? img : "";
    wallpaperAlignment_ = align;
  });
}

namespace {

// The point of the back plane that a wallpaper alignment names.
void wallpaperAnchor(const PlotGeometry &g, int alignment, int &x, int &y) {
  const int column = (alignment - 1) % 3;  // 0 left, 1 centre, 2 right
  const int row = (alignment - 1) / 3;     // 0 bottom, 1 middle, 2 top
  x = column == 0   ? g.left()
      : column == 1 ? clampToInt(g.leftWide() + g.width / 2)
                    : g.right();
  y = row == 0   ? g.backBottom()
      : row == 1 ? clampToInt(g.backBottomWide() - g.height / 2)
                 : g.top();
}

// The left wall and the floor, as the faces swept from the front plane's
// left and bottom edges back to the back plane.
void fillWalls(DrawArea &area, const PlotGeometry &g, int color) {
  area.surface(g.x, g.bottom(), g.x, g.aboveFront(), g.dx, g.dy, color, color);
  area.surface(g.x, g.bottom(), g.frontRight(), g.bottom(), g.dx, g.dy, color, color);
}

}  // namespace

void PlotAreaImpl::drawBackground(DrawArea &area, const PlotGeometry &g,
                                  const std::vector<int> &yTickOffsets) {
  if (!wallpaper_.empty()) {
    AreaHandle image = holdNewArea();
    // An image that cannot be read gives way to the background colour.
    if (image && image->load(wallpaper_.c_str())) {
      if (wallpaperAlignment_ >= 1 && wallpaperAlignment_ <= 9) {
        int x = 0;
        int y = 0;
        wallpaperAnchor(g, wallpaperAlignment_, x, y);
        area.merge(image.get(), x, y, wallpaperAlignment_, 0);
      } else {
        area.tile(image.get(), 0);
      }
      return;
    }
  }
  area.rect(g.left(), g.top(), g.right(), g.backBottom(), Transparent, bgColor_, 0);
  if (g.hasDepth()) fillWalls(area, g, bgColor_);

  // Only a plain colour makes bands: neither Transparent nor a table colour.
  if (altBgColor_ < 0) return;
  for (size_t k = 1; k + 1 < yTickOffsets.size(); k += 2)
    fillHorizontalBand(area, g, yTickOffsets[k], yTickOffsets[k + 1], altBgColor_);
}

void PlotAreaImpl::drawGrid(DrawArea &area, const PlotGeometry &g,
                            const std::vector<int> &yTickOffsets,
                            const std::vector<int> &xOffsets) {
  int hColor = hGridColor_ == -1 ? vGridColor_ : hGridColor_;
  int vColor = vGridColor_ == -1 ? hGridColor_ : vGridColor_;
  if (hColor == -1) hColor = 0xc0c0c0;
  if (vColor == -1) vColor = 0xc0c0c0;
  const int vWidth = vGridWidth_ == -1 ? hGridWidth_ : vGridWidth_;
  if (hColor != Transparent && hGridWidth_ > 0)
    for (const int y : yTickOffsets) drawHorizontalLine(area, g, y, hColor, hGridWidth_);
  if (vColor != Transparent && vWidth > 0)
    for (const int x : xOffsets) drawVerticalLine(area, g, x, vColor, vWidth);
}

void PlotAreaImpl::drawBorder(DrawArea &area, const PlotGeometry &g) {
  const int edge = resolvedEdgeColor();
  area.rect(g.left(), g.top(), g.right(), g.backBottom(), edge, Transparent, 0);
  if (!g.hasDepth()) return;
  const int wallX[] = {g.x, g.left(), g.left(), g.x};
  const int wallY[] = {g.bottom(), g.backBottom(), g.top(), g.aboveFront()};
  area.polygon(wallX, wallY, 4, edge, Transparent);
  const int floorX[] = {g.x, g.frontRight(), g.right(), g.left()};
  const int floorY[] = {g.bottom(), g.bottom(), g.backBottom(), g.backBottom()};
  area.polygon(floorX, floorY, 4, edge, Transparent);
}

}  // namespace quorvane
