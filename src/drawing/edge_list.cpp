// Building edges and the one fill-and-outline routine: the fill (edge_fill.cpp),
// then the outline, which draws every edge, each vertex once.
#include "drawing/edge_list.h"

#include <algorithm>

#include "drawing/draw_area_impl.h"

namespace quorvane {

void EdgeList::addStraight(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  Edge e{};
  e.kind = Edge::Kind::Straight;
  e.line = LineStepper(x1, y1, x2, y2);
  e.yMin = std::min(y1, y2);
  e.yMax = std::max(y1, y2);
  e.endX = x2;
  e.endY = y2;
  e.rowLo = std::max<int64_t>(e.yMin, 0);
  e.rowHi = std::min<int64_t>(e.yMax, areaHeight_ - 1);
  edges_.push_back(e);
}

void EdgeList::addArc(int64_t cx, int64_t cy, bool rightSide, OutlinePoint start,
                      OutlinePoint end, bool drawsStart) {
  Edge e{};
  e.kind = Edge::Kind::Arc;
  e.cx = cx;
  e.cy = cy;
  e.rightSide = rightSide;
  e.start = start;
  e.end = end;
  e.drawsStart = drawsStart;
  e.yMin = std::min(cy - start.v, cy - end.v);
  e.yMax = std::max(cy - start.v, cy - end.v);
  edges_.push_back(e);
}

Run EdgeList::runAt(const Edge &e, int64_t y) const {
  if (e.kind == Edge::Kind::Straight) {
    const LineStepper &ls = e.line;
    const bool isNextRow = e.cursorRow != INT64_MIN && y == e.cursorRow + 1;
    e.cursorRow = y;
    if (!ls.xMajor) {
      // One pixel a row: the step whose major coordinate is y.
      LineStepper::Cursor &walk = e.cursor.walk;
      if (isNextRow) ls.advance(walk);
      else walk = ls.cursorAt(y - ls.major0);
      return {walk.minor, walk.minor};
    }
    // A run of steps a row: the steps whose minor offset is t. A row down
    // moves t by the line's minor direction, so one end is the last row's.
    const int64_t t = ls.step > 0 ? y - ls.minor0 : ls.minor0 - y;
    int64_t &reachT = e.cursor.reach.t;
    int64_t &reachNext = e.cursor.reach.next;
    if (isNextRow && ls.step > 0) {
      reachT = reachNext;
      reachNext = ls.firstStepReaching(t + 1);
    } else if (isNextRow) {
      reachNext = reachT;
      reachT = ls.firstStepReaching(t);
    } else {
      reachT = ls.firstStepReaching(t);
      reachNext = ls.firstStepReaching(t + 1);
    }
    const int64_t first = std::max<int64_t>(reachT, 0);
    const int64_t last = std::min<int64_t>(reachNext - 1, ls.dMajor);
    return {ls.major0 + first, ls.major0 + last};
  }
  const int64_t v = e.cy - y;
  const QuarterRow &r = (*table_)[static_cast<size_t>(v < 0 ? -v : v)];
  if (e.rightSide) return {e.cx + r.inner, e.cx + r.outer};
  return {e.cx - r.outer, e.cx - r.inner};
}

namespace {

// Draws u = a ... b (in that order, a and b inclusive, either direction) of
// one outline row.
template <typename Plot>
void outlineRun(int64_t a, int64_t b, Plot &plot) {
  if (a <= b)
    for (int64_t u = a; u <= b; ++u) plot(u);
  else
    for (int64_t u = a; u >= b; --u) plot(u);
}

// A straight edge's outline: row by row from the top, left to right, without
// the end point. A vertical edge is one column, in the same order.
void outlineStraightEdge(Surface &surface, const EdgeList &list, const Edge &e,
                         uint32_t edgeColor) {
  if (!e.line.xMajor && e.line.dMinor == 0) {
    const int64_t first = e.endY == e.rowLo ? e.rowLo + 1 : e.rowLo;
    const int64_t last = e.endY == e.rowHi ? e.rowHi - 1 : e.rowHi;
    if (first <= last) surface.column(first, last, e.endX, edgeColor);
    return;
  }
  for (int64_t y = e.rowLo; y <= e.rowHi; ++y) {
    const Run r = list.runAt(e, y);
    if (y == e.endY && e.endX >= r.left && e.endX <= r.right) {
      if (r.left < e.endX) surface.span(r.left, e.endX - 1, y, edgeColor);
      if (e.endX < r.right) surface.span(e.endX + 1, r.right, y, edgeColor);
    } else {
      surface.span(r.left, r.right, y, edgeColor);
    }
  }
}

// An arc edge's outline: rows from the start point towards the end point. On
// the start row the piece runs from the start point away from the end row's
// side of the outline; rows strictly between are whole; the end row runs up
// to the end point. A row is "inward" when travel along it (clockwise)
// decreases |dx|: left side above the centre, right side below it.
void outlineArcEdge(Surface &surface, const EdgeList &list, const Edge &e,
                    uint32_t edgeColor) {
  const std::vector<QuarterRow> &table = list.table();
  const int64_t width = surface.width();
  const int64_t height = surface.height();
  const int64_t sign = e.rightSide ? 1 : -1;
  auto plotRow = [&](int64_t v, int64_t a, int64_t b) {
    const int64_t y = e.cy - v;
    if (y < 0 || y >= height) return;
    // Clip u to the columns of the area before walking.
    auto plotU = [&](int64_t u) { surface.plot(e.cx + sign * u, y, edgeColor); };
    const int64_t uMin = e.rightSide ? -e.cx : e.cx - (width - 1);
    const int64_t uMax = e.rightSide ? (width - 1) - e.cx : e.cx;
    if (a <= b) {
      a = std::max(a, uMin);
      b = std::min(b, uMax);
      if (a <= b) outlineRun(a, b, plotU);
    } else {
      a = std::min(a, uMax);
      b = std::max(b, uMin);
      if (a >= b) outlineRun(a, b, plotU);
    }
  };
  auto inward = [&](int64_t v) { return e.rightSide ? v < 0 : v > 0; };
  const OutlinePoint s = e.start;
  const OutlinePoint t = e.end;
  if (s.v == t.v) {
    if (s.u == t.u) return;
    const int64_t dir = t.u > s.u ? 1 : -1;
    if (e.drawsStart) plotRow(s.v, s.u, t.u - dir);
    else plotRow(s.v, s.u + dir, t.u);
    return;
  }
  const int64_t dv = t.v > s.v ? 1 : -1;
  for (int64_t v = s.v;; v += dv) {
    const QuarterRow &q = table[static_cast<size_t>(v < 0 ? -v : v)];
    const bool in = inward(v);
    int64_t lo = q.inner;
    int64_t hi = q.outer;
    if (v == s.v) {
      const int64_t first = e.drawsStart ? s.u : (in ? s.u - 1 : s.u + 1);
      if (in) hi = first;
      else lo = first;
    } else if (v == t.v) {
      const int64_t last = e.drawsStart ? (in ? t.u + 1 : t.u - 1) : t.u;
      if (in) lo = last;
      else hi = last;
    }
    if (lo <= hi) {
      if (in) plotRow(v, hi, lo);
      else plotRow(v, lo, hi);
    }
    if (v == t.v) break;
  }
}

}  // namespace

void DrawAreaImpl::drawEdges(EdgeList &list, uint32_t edgeColor, uint32_t fillColor) {
  if (list.edges().empty()) return;
  if (fillColor != kTransparent) fillBetweenEdges(surface_, list, fillColor);
  if (edgeColor == kTransparent) return;
  for (const Edge &e : list.edges()) {
    if (e.kind == Edge::Kind::Straight) outlineStraightEdge(surface_, list, e, edgeColor);
    else outlineArcEdge(surface_, list, e, edgeColor);
  }
}

}  // namespace quorvane
