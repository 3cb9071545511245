// The plot area of an XY chart: background or wallpaper, alternate bands
// between the y ticks, grid lines and border, on the back plane and, in 3D,
// on the left wall and the floor.
#pragma once

#include <string>
#include <vector>

#include "base/live_objects.h"
#include "chart/color_table.h"
#include "xychart/plot_geometry.h"

namespace quorvane {

class PlotAreaImpl final : public PlotArea {
 public:
  void setBackground2(const char *img, Alignment align) override;
  void setBackground(int color, int altBgColor, int edgeColor) override {
    bgColor_ = color;
    altBgColor_ = altBgColor;
    edgeColor_ = edgeColor;
  }
  void setGridColor(int hGridColor, int vGridColor) override {
    hGridColor_ = hGridColor;
    vGridColor_ = vGridColor;
  }
  void setGridWidth(int hGridWidth, int vGridWidth) override {
    hGridWidth_ = hGridWidth;
    vGridWidth_ = vGridWidth;
  }

  void setPos(int x, int y) {
    x_ = x;
    y_ = y;
  }
  void setSize(int width, int height) {
    width_ = width;
    height_ = height;
  }
  int x() const { return x_; }
  int y() const { return y_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // The edge colour in force: 0 when -1.
  int resolvedEdgeColor() const { return edgeColor_ == -1 ? 0 : edgeColor_; }

  // Wallpaper or background with the walls, then (without wallpaper) the
  // alternate bands between the y ticks at yTickOffsets (pixels up from the
  // bottom, lowest first).
  void drawBackground(DrawArea &area, const PlotGeometry &g,
                      const std::vector<int> &yTickOffsets);
  // Horizontal grid lines at the y tick offsets, vertical ones at the x
  // offsets.
  void drawGrid(DrawArea &area, const PlotGeometry &g, const std::vector<int> &yTickOffsets,
                const std::vector<int> &xOffsets);
  // The back plane outlined, and the left wall and floor in 3D.
  void drawBorder(DrawArea &area, const PlotGeometry &g);

 private:
  int x_ = 40;
  int y_ = 60;
  int width_ = 404;
  int height_ = 256;
  int bgColor_ = Transparent;
  int altBgColor_ = Transparent;
  int edgeColor_ = kLineColor;
  int hGridColor_ = 0xe0e0e0;
  int vGridColor_ = -1;
  int hGridWidth_ = 1;
  int vGridWidth_ = -1;
  std::string wallpaper_;
  int wallpaperAlignment_ = AlignCentre;
  LiveObject live_{static_cast<PlotArea *>(this)};  // in the table while alive
};

}  // namespace quorvane
