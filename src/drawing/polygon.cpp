// Filled polygons and the extruded faces of 3D bars and walls.
#include <cstdlib>
#include <vector>

#include "drawing/draw_area_impl.h"
#include "drawing/edge_list.h"
#include "drawing/smooth_shapes.h"

namespace quorvane {

void DrawAreaImpl::polygon(const int *x, const int *y, int n, int edgeColor, int fillColor) {
  completes([&] {
    const uint32_t edge = colors_.lookup(edgeColor);
    const uint32_t fillC = colors_.lookup(fillColor);
    if (x == nullptr || y == nullptr || n < 3 || n > kMaxPolygonPoints ||
        (edge == kTransparent && fillC == kTransparent))
      return;
    if (isSmooth_) {
      std::vector<int64_t> px(x, x + n), py(y, y + n);
      smoothPolygon({surface_, coverageScratch_}, px.data(), py.data(), static_cast<size_t>(n),
                    edge, fillC);
      return;
    }
    // Edge i runs from point i - 1 to point i; edge 0 closes the outline.
    EdgeList edges(surface_.height(), nullptr);
    edges.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      const int prev = i == 0 ? n - 1 : i - 1;
      edges.addStraight(x[prev], y[prev], x[i], y[i]);
    }
    drawEdges(edges, edge, fillC);
  });
}

void DrawAreaImpl::surface(int x1, int y1, int x2, int y2, int depthX, int depthY, int edgeColor,
                           int fillColor) {
  completes([&] {
    // A special colour is read through a shear so that its pattern runs along
    // the face: along y for a steep segment, along x otherwise.
    const bool steep = std::llabs(int64_t{x1} - x2) < std::llabs(int64_t{y1} - y2);
    auto sheared = [&](int color) -> int {
      const uint32_t c = static_cast<uint32_t>(color);
      if (!isSpecialColor(c)) return color;
      SpecialColor *inner = colors_.special(c);
      if (inner == nullptr) return static_cast<int>(kTransparent);
      if (steep)  // (x, y) -> (x, y + x - x1)
        return colors_.add(std::make_unique<ShearColor>(inner, 4096, 0, 0, 4096, 4096,
                                                        -int64_t{x1} * 4096));
      // (x, y) -> (x + y - y1, y)
      return colors_.add(std::make_unique<ShearColor>(inner, 4096, 4096, -int64_t{y1} * 4096, 0,
                                                      4096, 0));
    };
    const int edge = sheared(edgeColor);
    const int fillC = sheared(fillColor);
    // The points may leave the int range after the shift; the edge list works
    // in 64 bits, so build the outline here rather than through polygon().
    const uint32_t e = colors_.lookup(edge);
    const uint32_t f = colors_.lookup(fillC);
    if (e == kTransparent && f == kTransparent) return;
    const int64_t px[4] = {x1, int64_t{x1} + depthX, int64_t{x2} + depthX, x2};
    const int64_t py[4] = {y1, int64_t{y1} - depthY, int64_t{y2} - depthY, y2};
    if (isSmooth_) {
      smoothPolygon({surface_, coverageScratch_}, px, py, 4, e, f);
      return;
    }
    EdgeList edges(surface_.height(), nullptr);
    edges.reserve(4);
    for (int i = 0; i < 4; ++i) {
      const int prev = i == 0 ? 3 : i - 1;
      edges.addStraight(px[prev], py[prev], px[i], py[i]);
    }
    drawEdges(edges, e, f);
  });
}

}  // namespace quorvane
