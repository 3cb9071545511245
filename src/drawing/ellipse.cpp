// Ellipses, elliptic arcs, pie sectors and the curved walls of 3D sectors.
// All of them read one quarter table per pair of radii: for every row offset
// dy = 0 ... ry from the centre, the smallest and largest |dx| of the outline
// on that row, built with the integer midpoint rule (region 1 along the flat
// top while the slope is below 1, region 2 from the right end). The table is
// kept in the area and rebuilt only when the radii change, since a pie draws
// many sectors of one ellipse.
#include <algorithm>
#include <cmath>

#include "base/angles.h"
#include "drawing/draw_area_impl.h"
#include "drawing/edge_list.h"
#include "drawing/smooth_shapes.h"

namespace quorvane {

const std::vector<QuarterRow> &DrawAreaImpl::quarterTable(int64_t rx, int64_t ry) {
  if (quarter_.size() == static_cast<size_t>(ry + 1) && quarter_[0].outer == rx) return quarter_;
  quarter_.assign(static_cast<size_t>(ry + 1), QuarterRow{0, 0});
  const int64_t a = rx * rx;
  const int64_t b = ry * ry;

  // Region 1: from the top (row ry) while the slope is below 1.
  const double da = static_cast<double>(a);
  const int64_t xs = static_cast<int64_t>(std::floor(std::sqrt(da * da / (da + static_cast<double>(b)))));
  int64_t x = 0;
  int64_t y = ry;
  quarter_[static_cast<size_t>(ry)].inner = 0;
  int64_t d = a / 4 + b - a * ry;
  int64_t e = (2 - 2 * ry) * a;
  int64_t t = 3 * b;
  bool lastRowHasRun = false;  // whether region 1 gave row y an outer end
  while (x <= xs) {
    quarter_[static_cast<size_t>(y)].outer = x;
    lastRowHasRun = true;
    int64_t n = d + t;
    if (d >= 0) {
      // A very flat ellipse can step past the centre row here; region 2
      // covers that row, so region 1 ends instead.
      if (y == 0) break;
      --y;
      quarter_[static_cast<size_t>(y)].inner = x + 1;
      lastRowHasRun = false;
      n += e;
      e += 2 * a;
    }
    ++x;
    t += 2 * b;
    d = n;
  }

  // Region 2: from the right end (row 0) up to the row where region 1 stopped.
  x = rx;
  d = a + b / 4 - b * rx;
  int64_t f = (2 - 2 * rx) * b;
  t = 3 * a;
  for (int64_t i = 0; i <= y; ++i) {
    QuarterRow &row = quarter_[static_cast<size_t>(i)];
    if (i == y && lastRowHasRun) {
      // The row where the regions meet keeps region 1's run as well, so the
      // outline has no gap there (a radius-4 circle would jump from |dx| = 2
      // to 3 between neighbouring rows).
      row.inner = std::min(row.inner, x);
      row.outer = std::max(row.outer, x);
    } else {
      row.inner = x;
      row.outer = x;
    }
    if (d < 0) {
      d += t;
    } else {
      d += f + t;
      f += 2 * b;
      if (x > 0) --x;  // a very tall ellipse would otherwise go past the axis
    }
    t += 2 * a;
  }
  return quarter_;
}

namespace {

// The outline point of angle a (clockwise from 12 o'clock), moved onto the
// table's run of its row. The sign of dx is negative past 180 degrees.
struct AnglePoint {
  OutlinePoint p;
  bool leftHalf;
};

AnglePoint pointAt(double a, int64_t rx, int64_t ry, const std::vector<QuarterRow> &table) {
  const double rad = a * kArcPi / 180;
  const int64_t dx = static_cast<int64_t>(std::floor(static_cast<double>(rx) * std::sin(rad) + 0.5));
  int64_t dy = static_cast<int64_t>(std::floor(static_cast<double>(ry) * std::cos(rad) + 0.5));
  dy = std::clamp<int64_t>(dy, -ry, ry);
  const QuarterRow &row = table[static_cast<size_t>(dy < 0 ? -dy : dy)];
  int64_t u = dx < 0 ? -dx : dx;
  if (u < row.inner) u = row.inner;
  if (u > row.outer) u = row.outer;
  return {{u, dy}, a > 180};
}

struct ArcPiece {
  bool rightSide;
  OutlinePoint start;
  OutlinePoint end;
};

// Cuts the clockwise arc a1 -> a2 at the top and the bottom into pieces that
// each lie on one side of the vertical through the centre.
int cutArc(double a1, double a2, OutlinePoint p1, OutlinePoint p2, int64_t ry, ArcPiece out[3]) {
  const OutlinePoint top{0, ry};
  const OutlinePoint bottom{0, -ry};
  if (a1 <= a2) {
    if (a2 <= 180) {
      out[0] = {true, p1, p2};
      return 1;
    }
    if (a1 >= 180) {
      out[0] = {false, p1, p2};
      return 1;
    }
    out[0] = {true, p1, bottom};
    out[1] = {false, bottom, p2};
    return 2;
  }
  if (a1 >= 180 && a2 > 180) {
    out[0] = {false, p1, top};
    out[1] = {true, top, bottom};
    out[2] = {false, bottom, p2};
    return 3;
  }
  if (a1 >= 180) {
    out[0] = {false, p1, top};
    out[1] = {true, top, p2};
    return 2;
  }
  out[0] = {true, p1, bottom};
  out[1] = {false, bottom, top};
  out[2] = {true, top, p2};
  return 3;
}

bool validRadii(int rx, int ry) {
  return rx >= 1 && ry >= 1 && rx <= DrawAreaImpl::kMaxRadius && ry <= DrawAreaImpl::kMaxRadius;
}

// The clockwise outline a1 -> a2 of one ellipse: its two end points (dx
// signed) and its pieces on either side of the vertical through the centre.
struct ArcOutline {
  int64_t dx1, dy1, dx2, dy2;
  ArcPiece pieces[3];
  int count;

  ArcOutline(double a1, double a2, int64_t rx, int64_t ry, const std::vector<QuarterRow> &table) {
    a1 = normaliseDegrees(a1);
    a2 = normaliseDegrees(a2);
    const AnglePoint p1 = pointAt(a1, rx, ry, table);
    const AnglePoint p2 = pointAt(a2, rx, ry, table);
    dx1 = p1.leftHalf ? -p1.p.u : p1.p.u;
    dy1 = p1.p.v;
    dx2 = p2.leftHalf ? -p2.p.u : p2.p.u;
    dy2 = p2.p.v;
    count = cutArc(a1, a2, p1.p, p2.p, ry, pieces);
  }

  void addTo(EdgeList &edges, int64_t cx, int64_t cy, bool drawsStart) const {
    for (int i = 0; i < count; ++i)
      edges.addArc(cx, cy, pieces[i].rightSide, pieces[i].start, pieces[i].end, drawsStart);
  }
};

}  // namespace

bool DrawAreaImpl::ellipseMissesArea(int cx, int cy, int rx, int ry) const {
  return !validRadii(rx, ry) || int64_t{cx} + rx < 0 || int64_t{cy} + ry < 0 ||
         int64_t{cx} - rx >= surface_.width() || int64_t{cy} - ry >= surface_.height();
}

void DrawAreaImpl::circle(int cx, int cy, int rx, int ry, int edgeColor, int fillColor) {
  completes([&] {
    const uint32_t edge = colors_.lookup(edgeColor);
    const uint32_t fillC = colors_.lookup(fillColor);
    if (ellipseMissesArea(cx, cy, rx, ry) || (edge == kTransparent && fillC == kTransparent))
      return;
    if (isSmooth_) {
      smoothEllipse({surface_, coverageScratch_}, cx, cy, rx, ry, edge, fillC);
      return;
    }
    const std::vector<QuarterRow> &table = quarterTable(rx, ry);
    Surface &s = surface_;
    const int64_t height = s.height();
    const int64_t x0 = cx;
    const int64_t y0 = cy;
    for (int64_t i = 1; i <= ry; ++i) {
      const int64_t upper = y0 - i;
      const int64_t lower = y0 + i;
      if (upper < 0 && lower >= height) break;  // both rows have left the area
      if ((upper < 0 || upper >= height) && (lower < 0 || lower >= height)) continue;
      const QuarterRow &r = table[static_cast<size_t>(i)];
      // The fill between the outline runs; a row whose runs touch has none.
      if (fillC != kTransparent && r.inner >= 1) {
        s.span(x0 - r.inner + 1, x0 + r.inner - 1, upper, fillC);
        s.span(x0 - r.inner + 1, x0 + r.inner - 1, lower, fillC);
      }
      if (edge == kTransparent) continue;
      for (int64_t j = r.inner; j <= r.outer; ++j) {
        s.plot(x0 + j, upper, edge);
        s.plot(x0 + j, lower, edge);
        if (j != 0) {
          s.plot(x0 - j, lower, edge);
          s.plot(x0 - j, upper, edge);
        }
      }
    }
    // The centre row: its run is rx alone except on very flat ellipses, where
    // the outline reaches the row over several pixels.
    const QuarterRow &centre = table[0];
    s.span(x0 - centre.inner + 1, x0 + centre.inner - 1, y0, fillC);
    if (edge == kTransparent) return;
    for (int64_t j = centre.inner; j <= centre.outer; ++j) {
      s.plot(x0 - j, y0, edge);
      s.plot(x0 + j, y0, edge);
    }
  });
}

void DrawAreaImpl::arc(int cx, int cy, int rx, int ry, double a1, double a2, int color) {
  completes([&] {
    const uint32_t c = colors_.lookup(color);
    if (ellipseMissesArea(cx, cy, rx, ry) || c == kTransparent || !std::isfinite(a1) ||
        !std::isfinite(a2))
      return;
    if (isSmooth_) {
      smoothArc({surface_, coverageScratch_}, cx, cy, rx, ry, a1, a2, c);
      return;
    }
    const std::vector<QuarterRow> &table = quarterTable(rx, ry);
    const ArcOutline outline(a1, a2, rx, ry, table);
    EdgeList edges(surface_.height(), &table);
    outline.addTo(edges, cx, cy, true);
    drawEdges(edges, c, kTransparent);
    surface_.plot(int64_t{cx} + outline.dx2, int64_t{cy} - outline.dy2, c);
  });
}

void DrawAreaImpl::sector(int cx, int cy, int rx, int ry, double a1, double a2, int edgeColor,
                          int fillColor) {
  completes([&] {
    const uint32_t edge = colors_.lookup(edgeColor);
    const uint32_t fillC = colors_.lookup(fillColor);
    if (ellipseMissesArea(cx, cy, rx, ry) || (edge == kTransparent && fillC == kTransparent) ||
        !std::isfinite(a1) || !std::isfinite(a2))
      return;
    if (isSmooth_) {
      smoothSector({surface_, coverageScratch_}, cx, cy, rx, ry, a1, a2, edge, fillC);
      return;
    }
    const std::vector<QuarterRow> &table = quarterTable(rx, ry);
    const ArcOutline outline(a1, a2, rx, ry, table);
    // Centre -> a1 point, the arc, a2 point -> centre: every vertex is drawn
    // once, as the start of the edge that leaves it.
    EdgeList edges(surface_.height(), &table);
    edges.addStraight(cx, cy, int64_t{cx} + outline.dx1, int64_t{cy} - outline.dy1);
    outline.addTo(edges, cx, cy, true);
    edges.addStraight(int64_t{cx} + outline.dx2, int64_t{cy} - outline.dy2, cx, cy);
    drawEdges(edges, edge, fillC);
  });
}

void DrawAreaImpl::cylinder(int cx, int cy, int rx, int ry, double a1, double a2, int depthX,
                            int depthY, int edgeColor, int fillColor) {
  completes([&] {
    const uint32_t edge = colors_.lookup(edgeColor);
    const uint32_t fillC = colors_.lookup(fillColor);
    if (!validRadii(rx, ry) || (edge == kTransparent && fillC == kTransparent) ||
        !std::isfinite(a1) || !std::isfinite(a2))
      return;
    if (isSmooth_) {
      smoothCylinder({surface_, coverageScratch_}, cx, cy, rx, ry, a1, a2, depthX, depthY, edge,
                     fillC);
      return;
    }
    const std::vector<QuarterRow> &table = quarterTable(rx, ry);
    const ArcOutline outline(a1, a2, rx, ry, table);
    const int64_t cx2 = int64_t{cx} + depthX;
    const int64_t cy2 = int64_t{cy} + depthY;
    // The near arc a1 -> a2, across to the far arc at the a2 end, the far arc
    // (which draws its end points instead of its start points, as if walked
    // back from a2 to a1), and across again at the a1 end.
    EdgeList edges(surface_.height(), &table);
    outline.addTo(edges, cx, cy, true);
    edges.addStraight(cx + outline.dx2, cy - outline.dy2, cx2 + outline.dx2, cy2 - outline.dy2);
    outline.addTo(edges, cx2, cy2, false);
    edges.addStraight(cx2 + outline.dx1, cy2 - outline.dy1, cx + outline.dx1, cy - outline.dy1);
    drawEdges(edges, edge, fillC);
  });
}

}  // namespace quorvane
