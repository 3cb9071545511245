// The smooth forms of the shapes (smooth_shapes.cpp), drawn through a
// surface with the rasteriser's work buffers. Coordinates are those the host
// gave, colours looked up; the caller has dropped what draws nothing
// (Transparent edge and fill, radii out of range, angles not finite).
#pragma once

#include <cstddef>
#include <cstdint>

#include "drawing/coverage.h"
#include "drawing/surface.h"

namespace quorvane {

// Where a smooth shape goes: the surface it blends into and the buffers the
// rasteriser keeps between shapes.
struct SmoothTarget {
  Surface &surface;
  CoverageScratch &scratch;
};

void smoothLine(SmoothTarget to, int x1, int y1, int x2, int y2, uint32_t color, int64_t width);
// The n points joined as one stroke.
void smoothPolyline(SmoothTarget to, const int64_t *x, const int64_t *y, size_t n,
                    uint32_t color, int64_t width);
void smoothPolygon(SmoothTarget to, const int64_t *x, const int64_t *y, size_t n, uint32_t edge,
                   uint32_t fill);
void smoothEllipse(SmoothTarget to, int cx, int cy, int rx, int ry, uint32_t edge,
                   uint32_t fill);
void smoothArc(SmoothTarget to, int cx, int cy, int rx, int ry, double a1, double a2,
               uint32_t color);
void smoothSector(SmoothTarget to, int cx, int cy, int rx, int ry, double a1, double a2,
                  uint32_t edge, uint32_t fill);
void smoothCylinder(SmoothTarget to, int cx, int cy, int rx, int ry, double a1, double a2,
                    int64_t depthX, int64_t depthY, uint32_t edge, uint32_t fill);

}  // namespace quorvane
