// The smooth forms of lines, polygons, ellipses, arcs, sectors and cylinders.
// Each shape is the figure its aliased pixels stand for: outlines run through
// the centres of the pixels the coordinates name, a fill covers what lies
// inside the outline, and an edge is drawn with a pen one pixel wide, centred
// on the outline. A line or polyline of width w is the stroke w pixels across
// its path, with round joins and ends square to it half a pixel beyond its
// end points, where its aliased form covers the end pixels whole. When the
// edge and the fill have one colour, the two are one coverage of their union,
// so that no pixel is blended twice. Dashes are evaluated in drawing order,
// one pixel of the path at a time, and each dash is drawn as a stretch of the
// stroke.
#include <algorithm>
#include <cmath>
#include <vector>

#include "base/angles.h"
#include "drawing/smooth_shapes.h"
#include "drawing/stroke.h"

namespace quorvane {

namespace {

constexpr double kDegree = kArcPi / 180;
// The largest gap between an arc and the chords that stand for it, in pixels
// (an eighth of the coverage step of the default mode at most).
constexpr double kArcTolerance = 0.03;
constexpr int kMaxSegmentsPerTurn = 1 << 14;

using Pt = PathPoint;

// What a coverage pass draws: a fill (which meets other fills edge to edge,
// so takes part in the seam group) or a pen (drawn over what is there).
enum class Part { Fill, Pen };

class RunPainter final : public CoverageSink {
 public:
  RunPainter(Surface &surface, uint32_t color, bool isEvaluated, Part part)
      : surface_(surface),
        color_(color),
        isEvaluated_(isEvaluated),
        joinsSeams_(part == Part::Fill) {}
  void run(int64_t y, int64_t x1, int64_t x2, uint32_t coverage) override {
    if (!isEvaluated_) {
      surface_.coverRun(y, x1, x2, coverage, color_, joinsSeams_);
    } else if (coverage >= 255) {
      surface_.spanEvaluated(x1, x2, y, color_);
    } else {
      for (int64_t x = x1; x <= x2; ++x) surface_.coverPixel(x, y, color_, coverage, joinsSeams_);
    }
  }

 private:
  Surface &surface_;
  uint32_t color_;
  bool isEvaluated_;
  bool joinsSeams_;
};

// Paints the coverage of a and b together (either may be null or empty).
void paint(SmoothTarget to, const Outline *a, const Outline *b, uint32_t color, Part part,
           bool isEvaluated = false) {
  if (color == kTransparent) return;
  const Outline *list[2];
  int n = 0;
  if (a != nullptr && !a->empty()) list[n++] = a;
  if (b != nullptr && !b->empty()) list[n++] = b;
  if (n == 0) return;
  RunPainter painter(to.surface, color, isEvaluated, part);
  rasterise(list, n, to.surface.width(), to.surface.height(), painter, to.scratch);
}

// A fill and its pen in other colours, in one rasterisation: on every run
// the fill is drawn, then the pen over it.
class PairPainter final : public CoverageSink {
 public:
  PairPainter(Surface &surface, uint32_t fill, uint32_t edge)
      : surface_(surface), fill_(fill), edge_(edge) {}
  void run(int64_t y, int64_t x1, int64_t x2, uint32_t coverage) override {
    surface_.coverRun(y, x1, x2, coverage, fill_, true);
  }
  void runPair(int64_t y, int64_t x1, int64_t x2, uint32_t fill, uint32_t pen) override {
    if (fill != 0 && fill_ != kTransparent) surface_.coverRun(y, x1, x2, fill, fill_, true);
    if (pen != 0) surface_.coverRun(y, x1, x2, pen, edge_, false);
  }

 private:
  Surface &surface_;
  uint32_t fill_;
  uint32_t edge_;
};

// Paints inside in fill and pen over it in edge (not Transparent).
void paintWithPen(SmoothTarget to, const Outline &inside, const Outline &pen, uint32_t fill,
                  uint32_t edge) {
  if (inside.empty() || pen.empty()) {
    paint(to, &inside, nullptr, fill, Part::Fill);
    paint(to, &pen, nullptr, edge, Part::Pen);
    return;
  }
  const Outline *list[2] = {&inside, &pen};
  PairPainter painter(to.surface, fill, edge);
  rasterise(list, 2, to.surface.width(), to.surface.height(), painter, to.scratch,
            Combine::Apart);
}

void addContour(Outline &o, const std::vector<Pt> &p) { addClockwise(o, p.data(), p.size()); }

// The points in order as one contour, for a rule that ignores its turning.
void addPlain(Outline &o, const std::vector<Pt> &p) {
  for (size_t i = 0; i < p.size(); ++i) {
    if (i == 0) o.moveTo(p[i].x, p[i].y);
    else o.lineTo(p[i].x, p[i].y);
  }
}

Pt centreOf(int64_t x, int64_t y) {
  return {static_cast<double>(x) + 0.5, static_cast<double>(y) + 0.5};
}

// The pen of width w along a path, reaching endReach beyond an open one.
StrokeStyle penOf(double w, bool isClosed, double endReach) {
  return {w / 2, w / 2, isClosed ? 0 : endReach, isClosed};
}

// An even width lies half a pixel towards the lower coordinates across the
// axis the path runs less along, as the aliased pixels of its lines do.
void centreEvenWidth(std::vector<Pt> &p, double w) {
  if (std::fmod(w, 2.0) != 0) return;
  double runX = 0, runY = 0;
  for (size_t i = 1; i < p.size(); ++i) {
    runX += std::fabs(p[i].x - p[i - 1].x);
    runY += std::fabs(p[i].y - p[i - 1].y);
  }
  for (Pt &q : p) (runX >= runY ? q.y : q.x) -= 0.5;
}

// Lengths along the path at each of its points.
std::vector<double> lengthsAlong(const std::vector<Pt> &p) {
  std::vector<double> at(p.size(), 0);
  for (size_t i = 1; i < p.size(); ++i)
    at[i] = at[i - 1] + std::hypot(p[i].x - p[i - 1].x, p[i].y - p[i - 1].y);
  return at;
}

// The point at length s along the path (at: lengthsAlong), beyond its ends
// along the first and the last segment that have a length.
Pt pointAlong(const std::vector<Pt> &p, const std::vector<double> &at, double s) {
  size_t first = 0, last = p.size() - 1;
  while (first + 1 < p.size() && at[first + 1] == at[first]) ++first;
  while (last > 0 && at[last - 1] == at[last]) --last;
  if (first >= last) return p[0];
  size_t i = static_cast<size_t>(std::upper_bound(at.begin(), at.end(), s) - at.begin());
  i = std::clamp(i, first + 1, last) - 1;
  const double t = (s - at[i]) / (at[i + 1] - at[i]);
  return {p[i].x + (p[i + 1].x - p[i].x) * t, p[i].y + (p[i + 1].y - p[i].y) * t};
}

// The part of the path from length s0 to s1.
std::vector<Pt> subPath(const std::vector<Pt> &p, const std::vector<double> &at, double s0,
                        double s1) {
  std::vector<Pt> out{pointAlong(p, at, s0)};
  for (auto i = std::upper_bound(at.begin(), at.end(), s0); i != at.end() && *i < s1; ++i)
    out.push_back(p[static_cast<size_t>(i - at.begin())]);
  out.push_back(pointAlong(p, at, s1));
  return out;
}

// The part t0 ... t1 of the segment a -> b (0 ... 1) that lies over the
// area; false when none does.
bool overArea(Pt a, Pt b, double width, double height, double &t0, double &t1) {
  t0 = 0;
  t1 = 1;
  const double from[2] = {a.x, a.y}, d[2] = {b.x - a.x, b.y - a.y}, size[2] = {width, height};
  for (int axis = 0; axis < 2; ++axis) {
    if (d[axis] == 0) {
      if (from[axis] < 0 || from[axis] > size[axis]) return false;
      continue;
    }
    double ta = -from[axis] / d[axis], tb = (size[axis] - from[axis]) / d[axis];
    if (ta > tb) std::swap(ta, tb);
    t0 = std::max(t0, ta);
    t1 = std::min(t1, tb);
  }
  return t0 <= t1;
}

// A dashed path: each segment is visited one step of its major axis at a
// time, as its aliased line is, and each new pixel over the area evaluates
// the colour; every run of one colour is drawn as that stretch of the pen
// (width w, endReach beyond the path's ends), its joins included.
void dashedPath(SmoothTarget to, const std::vector<Pt> &p, uint32_t color, double w,
                double endReach) {
  if (p.empty()) return;
  const std::vector<double> at = lengthsAlong(p);
  uint32_t runColor = kTransparent;
  double runStart = -endReach;
  auto flush = [&](double end) {
    if (runColor == kTransparent || end <= runStart) return;
    Outline pen;
    addStroke(pen, subPath(p, at, runStart, end), penOf(w, false, 0));
    paint(to, &pen, nullptr, runColor, Part::Pen, true);
  };
  const double width = static_cast<double>(to.surface.width());
  const double height = static_cast<double>(to.surface.height());
  int64_t lastX = INT64_MIN, lastY = INT64_MIN;
  bool hasRun = false;
  for (size_t i = 0; i + 1 < p.size(); ++i) {
    const double len = at[i + 1] - at[i];
    double t0 = 0, t1 = 0;
    if (len == 0 || !overArea(p[i], p[i + 1], width, height, t0, t1)) continue;
    const double dx = p[i + 1].x - p[i].x, dy = p[i + 1].y - p[i].y;
    const double steps = std::max(1.0, std::ceil(std::max(std::fabs(dx), std::fabs(dy))));
    for (double k = std::ceil(t0 * steps); k <= std::floor(t1 * steps); ++k) {
      const int64_t x = static_cast<int64_t>(std::floor(p[i].x + dx * k / steps));
      const int64_t y = static_cast<int64_t>(std::floor(p[i].y + dy * k / steps));
      if ((x == lastX && y == lastY) || !to.surface.contains(x, y)) continue;
      lastX = x;
      lastY = y;
      const uint32_t c = to.surface.colors().evaluate(color, x, y);
      if (hasRun && c == runColor) continue;
      // The change falls half a step before this sample.
      const double boundary = hasRun ? at[i] + len * (k - 0.5) / steps : -endReach;
      flush(boundary);
      runColor = c;
      runStart = boundary;
      hasRun = true;
    }
  }
  flush(at.back() + endReach);
}

// Segments per full turn for an ellipse whose larger radius is r: enough that
// no chord strays more than the tolerance, a multiple of four.
int segmentsPerTurn(double r) {
  const double step = 2 * std::acos(1 - std::min(1.0, kArcTolerance / std::max(r, 0.5)));
  int n = static_cast<int>(std::ceil(2 * kArcPi / step));
  n = std::clamp(n, 8, kMaxSegmentsPerTurn);
  return (n + 3) / 4 * 4;
}

Pt ellipsePoint(Pt c, double rx, double ry, double degrees) {
  const double t = degrees * kDegree;
  return {c.x + rx * std::sin(t), c.y - ry * std::cos(t)};
}

// The whole ellipse, clockwise from the top; the four quarters are mirror
// images of one another to the last bit, so that a circle is symmetric.
std::vector<Pt> ellipse(Pt c, double rx, double ry, int perTurn) {
  const int q = perTurn / 4;
  std::vector<double> s(static_cast<size_t>(q) + 1), k(static_cast<size_t>(q) + 1);
  for (int i = 0; i <= q; ++i) {
    const double t = (kArcPi / 2) * i / q;
    s[static_cast<size_t>(i)] = std::sin(t);
    k[static_cast<size_t>(i)] = std::cos(t);
  }
  s[static_cast<size_t>(q)] = 1;
  k[static_cast<size_t>(q)] = 0;
  std::vector<Pt> p;
  p.reserve(static_cast<size_t>(perTurn));
  auto at = [&](int i, double sx, double sy) {
    p.push_back({c.x + sx * rx * s[static_cast<size_t>(i)], c.y + sy * ry * k[static_cast<size_t>(i)]});
  };
  for (int i = 0; i < q; ++i) at(i, 1, -1);
  for (int i = q; i > 0; --i) at(i, 1, 1);
  for (int i = 0; i < q; ++i) at(i, -1, 1);
  for (int i = q; i > 0; --i) at(i, -1, -1);
  return p;
}

// Points of the arc from a (degrees clockwise from the top) over sweep
// degrees, both ends included.
void appendArc(std::vector<Pt> &p, Pt c, double rx, double ry, double a, double sweep,
               int perTurn) {
  const int n = std::max(1, static_cast<int>(std::ceil(perTurn * sweep / 360)));
  for (int i = 0; i <= n; ++i) p.push_back(ellipsePoint(c, rx, ry, a + sweep * i / n));
}

// The pen along the arc from a over sweep degrees (a ring when it is a whole
// turn).
void addArcPen(Outline &o, Pt c, double rx, double ry, double a, double sweep, int perTurn) {
  if (sweep >= 360) {
    addContour(o, ellipse(c, rx + 0.5, ry + 0.5, perTurn));
    std::vector<Pt> inner = ellipse(c, rx - 0.5, ry - 0.5, perTurn);
    std::reverse(inner.begin(), inner.end());
    // Counter-clockwise: the hole.
    o.moveTo(inner[0].x, inner[0].y);
    for (size_t i = 1; i < inner.size(); ++i) o.lineTo(inner[i].x, inner[i].y);
    return;
  }
  if (sweep <= 0) return;
  std::vector<Pt> p;
  appendArc(p, c, rx + 0.5, ry + 0.5, a, sweep, perTurn);
  std::vector<Pt> inner;
  appendArc(inner, c, rx - 0.5, ry - 0.5, a, sweep, perTurn);
  p.insert(p.end(), inner.rbegin(), inner.rend());
  addContour(o, p);
}

// The arc clockwise from a1 to a2, angles reduced as the aliased shapes
// reduce them: its start and its sweep, 0 ... 360.
struct Span {
  double start;
  double sweep;
};

Span spanOf(double a1, double a2) {
  a1 = normaliseDegrees(a1);
  a2 = normaliseDegrees(a2);
  return {a1, a1 <= a2 ? a2 - a1 : a2 + 360 - a1};
}

// Fills inside (by the even-odd rule) and draws its edge with a one-pixel
// pen along the closed path edge: one coverage when edge and fill are one
// colour, the pen over the fill otherwise, and a dashed edge in drawing
// order. When the edge runs along the inside's own outline, their union is
// the inside and the pen's outer half, which meet edge to edge.
void fillAndEdge(SmoothTarget to, const std::vector<Pt> &inside, const std::vector<Pt> &edgePath,
                 bool isEdgeTheOutline, uint32_t edge, uint32_t fill) {
  Outline in(FillRule::EvenOdd);
  addPlain(in, inside);
  const bool dashed = to.surface.colors().isOrdered(edge);
  if (edge == kTransparent || dashed) {
    paint(to, &in, nullptr, fill, Part::Fill);
    std::vector<Pt> loop = edgePath;
    if (!loop.empty()) loop.push_back(loop.front());
    if (dashed) dashedPath(to, loop, edge, 1, 0);
    return;
  }
  Outline pen;
  if (edge == fill && isEdgeTheOutline) {
    const bool isInsideFirst = twiceArea(inside.data(), inside.size()) >= 0;
    addStroke(pen, edgePath, {isInsideFirst ? 0.0 : 0.5, isInsideFirst ? 0.5 : 0.0, 0, true});
    paint(to, &in, &pen, fill, Part::Fill);
    return;
  }
  addStroke(pen, edgePath, penOf(1, true, 0));
  if (edge == fill) paint(to, &in, &pen, fill, Part::Fill);
  else paintWithPen(to, in, pen, fill, edge);
}

}  // namespace

void smoothPolyline(SmoothTarget to, const int64_t *x, const int64_t *y, size_t n,
                    uint32_t color, int64_t width) {
  const double w = static_cast<double>(width);
  std::vector<Pt> p;
  p.reserve(n);
  for (size_t i = 0; i < n; ++i) p.push_back(centreOf(x[i], y[i]));
  centreEvenWidth(p, w);
  if (to.surface.colors().isOrdered(color)) {
    dashedPath(to, p, color, w, 0.5);
    return;
  }
  Outline pen;
  addStroke(pen, p, penOf(w, false, 0.5));
  paint(to, &pen, nullptr, color, Part::Pen);
}

void smoothLine(SmoothTarget to, int x1, int y1, int x2, int y2, uint32_t color,
                int64_t width) {
  const int64_t x[2] = {x1, x2}, y[2] = {y1, y2};
  smoothPolyline(to, x, y, 2, color, width);
}

void smoothPolygon(SmoothTarget to, const int64_t *x, const int64_t *y, size_t n,
                   uint32_t edge, uint32_t fill) {
  std::vector<Pt> inside, edgePath;
  inside.reserve(n);
  edgePath.reserve(n);
  for (size_t i = 0; i < n; ++i) inside.push_back(centreOf(x[i], y[i]));
  // The edge is drawn from the last point round, as the aliased edge is.
  if (n > 0) edgePath.push_back(inside.back());
  edgePath.insert(edgePath.end(), inside.begin(), inside.end() - (n > 0 ? 1 : 0));
  fillAndEdge(to, inside, edgePath, true, edge, fill);
}

void smoothEllipse(SmoothTarget to, int cx, int cy, int rx, int ry, uint32_t edge,
                   uint32_t fill) {
  const Pt c = centreOf(cx, cy);
  const double rxd = rx, ryd = ry;
  const int perTurn = segmentsPerTurn(std::max(rxd, ryd) + 0.5);
  const bool dashed = to.surface.colors().isOrdered(edge);
  if (edge == fill && !dashed) {
    // The fill and its pen together are the ellipse half a pixel larger.
    Outline whole;
    addContour(whole, ellipse(c, rxd + 0.5, ryd + 0.5, perTurn));
    paint(to, &whole, nullptr, fill, Part::Fill);
    return;
  }
  Outline inside;
  const std::vector<Pt> outline = ellipse(c, rxd, ryd, perTurn);
  addContour(inside, outline);
  if (dashed) {
    paint(to, &inside, nullptr, fill, Part::Fill);
    std::vector<Pt> loop = outline;
    loop.push_back(loop.front());
    dashedPath(to, loop, edge, 1, 0);
    return;
  }
  Outline pen;
  if (edge != kTransparent) addArcPen(pen, c, rxd, ryd, 0, 360, perTurn);
  paintWithPen(to, inside, pen, fill, edge);
}

void smoothArc(SmoothTarget to, int cx, int cy, int rx, int ry, double a1, double a2,
               uint32_t color) {
  const auto [start, sweep] = spanOf(a1, a2);
  const Pt c = centreOf(cx, cy);
  const int perTurn = segmentsPerTurn(std::max(rx, ry) + 0.5);
  if (sweep == 0) {
    // Only the end point, as in the aliased form.
    const Pt p = ellipsePoint(c, rx, ry, start);
    const int64_t x = static_cast<int64_t>(std::floor(p.x)), y = static_cast<int64_t>(std::floor(p.y));
    if (to.surface.contains(x, y))
      to.surface.blendAt(x, y, to.surface.colors().evaluate(color, x, y));
    return;
  }
  if (to.surface.colors().isOrdered(color)) {
    std::vector<Pt> p;
    appendArc(p, c, rx, ry, start, sweep, perTurn);
    dashedPath(to, p, color, 1, 0);
    return;
  }
  Outline pen;
  addArcPen(pen, c, rx, ry, start, sweep, perTurn);
  paint(to, &pen, nullptr, color, Part::Pen);
}

void smoothSector(SmoothTarget to, int cx, int cy, int rx, int ry, double a1, double a2,
                  uint32_t edge, uint32_t fill) {
  const auto [start, sweep] = spanOf(a1, a2);
  const Pt c = centreOf(cx, cy);
  const int perTurn = segmentsPerTurn(std::max(rx, ry) + 0.5);
  // Centre to the start point, the arc, the a2 point back to the centre; a
  // whole turn keeps the radius to the start point as an edge inside.
  std::vector<Pt> p{c};
  appendArc(p, c, rx, ry, start, sweep, perTurn);
  fillAndEdge(to, sweep > 0 ? p : std::vector<Pt>{}, p, sweep < 360, edge, fill);
}

void smoothCylinder(SmoothTarget to, int cx, int cy, int rx, int ry, double a1, double a2,
                    int64_t depthX, int64_t depthY, uint32_t edge, uint32_t fill) {
  const auto [start, sweep] = spanOf(a1, a2);
  const Pt c = centreOf(cx, cy);
  const Pt c2{c.x + static_cast<double>(depthX), c.y + static_cast<double>(depthY)};
  const int perTurn = segmentsPerTurn(std::max(rx, ry) + 0.5);
  // The near arc start -> a2, across to the far arc, back along it and across
  // again: the outline and its edge.
  std::vector<Pt> p;
  appendArc(p, c, rx, ry, start, sweep, perTurn);
  std::vector<Pt> far;
  appendArc(far, c2, rx, ry, start, sweep, perTurn);
  p.insert(p.end(), far.rbegin(), far.rend());
  fillAndEdge(to, p, p, true, edge, fill);
}

}  // namespace quorvane
