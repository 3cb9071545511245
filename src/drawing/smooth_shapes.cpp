// The smooth forms of lines, polygons, ellipses, arcs, sectors and cylinders.
// Each shape is the figure its aliased pixels stand for: outlines run through
// the centres of the pixels the coordinates name, a fill covers what lies
// inside the outline, and an edge is drawn with a pen one pixel wide, centred
// on the outline. A line of width w is the band its aliased form fills: w
// pixels across its minor axis, with ends square to its major axis half a
// pixel beyond its end points, so that the segments of a polyline meet
// without a notch. When the edge and the fill have one colour, the two are
// one coverage, so that no pixel is blended twice. Dashes are evaluated in
// drawing order, one pixel of the outline at a time, and each dash is drawn
// as a piece of the pen.
#include <algorithm>
#include <cmath>
#include <vector>

#include "base/angles.h"
#include "drawing/smooth_shapes.h"
#include "drawing/line_stepper.h"

namespace quorvane {

namespace {

constexpr double kDegree = kArcPi / 180;
// The largest gap between an arc and the chords that stand for it, in pixels
// (an eighth of the coverage step of the default mode at most).
constexpr double kArcTolerance = 0.03;
constexpr int kMaxSegmentsPerTurn = 1 << 14;
// Dashes along an arc are evaluated at most this many times per drawing.
constexpr int64_t kMaxDashSamples = int64_t{1} << 20;

struct Pt {
  double x;
  double y;
};

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

// Adds a closed contour turning clockwise on the screen, so that the pieces
// of one pen add up instead of cancelling where they overlap.
void addContour(Outline &o, const Pt *p, size_t n) {
  double twiceArea = 0;
  for (size_t i = 0; i < n; ++i) {
    const Pt &q = p[(i + 1) % n];
    twiceArea += p[i].x * q.y - q.x * p[i].y;
  }
  if (twiceArea >= 0) {
    o.moveTo(p[0].x, p[0].y);
    for (size_t i = 1; i < n; ++i) o.lineTo(p[i].x, p[i].y);
  } else {
    o.moveTo(p[n - 1].x, p[n - 1].y);
    for (size_t i = n - 1; i-- > 0;) o.lineTo(p[i].x, p[i].y);
  }
}

void addContour(Outline &o, const std::vector<Pt> &p) {
  if (p.size() >= 3) addContour(o, p.data(), p.size());
}

// The part of the pen of the line a -> b (pixel centres), of width w, that
// lies between major coordinates lo and hi. An even width lies half a pixel
// towards the lower coordinates, as its aliased pixels do.
void addLinePen(Outline &o, Pt a, Pt b, double w, double lo, double hi) {
  const bool xMajor = std::fabs(b.x - a.x) >= std::fabs(b.y - a.y);
  const double offset = std::fmod(w, 2.0) == 0 ? -0.5 : 0.0;
  const double half = w / 2;
  if (xMajor) {
    const double slope = b.x == a.x ? 0 : (b.y - a.y) / (b.x - a.x);
    auto at = [&](double x) { return a.y + (x - a.x) * slope + offset; };
    const Pt q[4] = {{lo, at(lo) - half}, {hi, at(hi) - half}, {hi, at(hi) + half},
                     {lo, at(lo) + half}};
    addContour(o, q, 4);
  } else {
    const double slope = (b.x - a.x) / (b.y - a.y);
    auto at = [&](double y) { return a.x + (y - a.y) * slope + offset; };
    const Pt q[4] = {{at(lo) - half, lo}, {at(hi) - half, hi}, {at(hi) + half, hi},
                     {at(lo) + half, lo}};
    addContour(o, q, 4);
  }
}

Pt centreOf(int64_t x, int64_t y) {
  return {static_cast<double>(x) + 0.5, static_cast<double>(y) + 0.5};
}

// The whole pen, of width w, of the straight edge between two points (pixel
// centres or points on an outline), reaching half a pixel beyond both.
void addSegmentPen(Outline &o, Pt from, Pt to, double w = 1) {
  const bool xMajor = std::fabs(to.x - from.x) >= std::fabs(to.y - from.y);
  const double m1 = xMajor ? from.x : from.y, m2 = xMajor ? to.x : to.y;
  addLinePen(o, from, to, w, std::min(m1, m2) - 0.5, std::max(m1, m2) + 0.5);
}

// A dashed line: the steps of its aliased form are visited in their order,
// each evaluating the colour at its pixel, and every run of steps with one
// colour is drawn as that part of the pen.
void dashedLine(SmoothTarget to, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
                uint32_t color, double w) {
  const LineStepper ls(x1, y1, x2, y2);
  int64_t kLo = 0, kHi = -1;
  if (!ls.clipToArea(to.surface.width(), to.surface.height(), kLo, kHi)) return;
  const Pt a = centreOf(x1, y1), b = centreOf(x2, y2);
  uint32_t runColor = kTransparent;
  int64_t runFirst = 0, runLast = 0;
  auto flush = [&] {
    if (runColor == kTransparent) return;
    Outline pen;
    const double m0 = static_cast<double>(ls.major0) + 0.5;
    addLinePen(pen, a, b, w, m0 + static_cast<double>(std::min(runFirst, runLast)) - 0.5,
               m0 + static_cast<double>(std::max(runFirst, runLast)) + 0.5);
    paint(to, &pen, nullptr, runColor, Part::Pen, true);
  };
  const int64_t dir = ls.reversed ? -1 : 1;
  for (int64_t k = ls.reversed ? kHi : kLo; k >= kLo && k <= kHi; k += dir) {
    const int64_t m = ls.minorAt(k);
    const int64_t x = ls.xMajor ? ls.major0 + k : m;
    const int64_t y = ls.xMajor ? m : ls.major0 + k;
    const uint32_t c = to.surface.colors().evaluate(color, x, y);
    if (c == runColor && k != (ls.reversed ? kHi : kLo)) {
      runLast = k;
      continue;
    }
    flush();
    runColor = c;
    runFirst = runLast = k;
  }
  flush();
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

// A dashed arc: the outline is walked in steps of at most half a pixel; each
// new pixel it reaches evaluates the colour, and every run of one colour is
// drawn as that piece of the pen.
void dashedArc(SmoothTarget to, Pt c, double rx, double ry, double a, double sweep,
               uint32_t color, int perTurn) {
  if (sweep <= 0) return;
  const double r = std::max(rx, ry);
  const int64_t n = std::clamp<int64_t>(
      static_cast<int64_t>(std::ceil(sweep * kDegree * r * 2)), 1, kMaxDashSamples);
  uint32_t runColor = kTransparent;
  double runStart = a;
  int64_t lastX = INT64_MIN, lastY = INT64_MIN;
  auto flush = [&](double end) {
    if (runColor == kTransparent || end <= runStart) return;
    Outline pen;
    addArcPen(pen, c, rx, ry, runStart, end - runStart, perTurn);
    paint(to, &pen, nullptr, runColor, Part::Pen, true);
  };
  for (int64_t i = 0; i <= n; ++i) {
    const double t = a + sweep * static_cast<double>(i) / static_cast<double>(n);
    const Pt p = ellipsePoint(c, rx, ry, t);
    const int64_t x = static_cast<int64_t>(std::floor(p.x));
    const int64_t y = static_cast<int64_t>(std::floor(p.y));
    if (x == lastX && y == lastY) continue;
    lastX = x;
    lastY = y;
    const uint32_t col = to.surface.colors().evaluate(color, x, y);
    if (i > 0 && col == runColor) continue;
    // The change falls half a step before this sample.
    const double boundary = i == 0 ? a : t - sweep / static_cast<double>(n) / 2;
    flush(boundary);
    runColor = col;
    runStart = boundary;
  }
  flush(a + sweep);
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

// One piece of a shape's edge, in drawing order: a straight edge, or an arc
// of the shape's ellipse about a centre.
struct EdgePiece {
  bool isArc;
  Pt from, to;      // straight
  Pt centre;        // arc
  double start, sweep;
};

EdgePiece straight(Pt from, Pt to) { return {false, from, to, {}, 0, 0}; }
EdgePiece arcOf(Pt centre, double start, double sweep) {
  return {true, {}, {}, centre, start, sweep};
}

// Fills inside and draws the edge pieces (radii rx, ry for the arcs): one
// coverage when edge and fill are one colour, the pen over the fill
// otherwise, and a dashed edge piece by piece in drawing order.
void fillAndEdge(SmoothTarget to, const Outline &inside, const std::vector<EdgePiece> &pieces,
                 double rx, double ry, int perTurn, uint32_t edge, uint32_t fill) {
  const bool dashed = to.surface.colors().isOrdered(edge);
  Outline pen;
  if (edge != kTransparent && !dashed)
    for (const EdgePiece &e : pieces) {
      if (e.isArc) addArcPen(pen, e.centre, rx, ry, e.start, e.sweep, perTurn);
      else addSegmentPen(pen, e.from, e.to);
    }
  if (edge == fill && !dashed) {
    paint(to, &inside, &pen, fill, Part::Fill);
    return;
  }
  if (edge != kTransparent && !dashed) {
    paintWithPen(to, inside, pen, fill, edge);
    return;
  }
  paint(to, &inside, nullptr, fill, Part::Fill);
  if (!dashed) return;
  auto pixel = [](double v) { return static_cast<int64_t>(std::floor(v)); };
  for (const EdgePiece &e : pieces) {
    if (e.isArc)
      dashedArc(to, e.centre, rx, ry, e.start, e.sweep, edge, perTurn);
    else
      dashedLine(to, pixel(e.from.x), pixel(e.from.y), pixel(e.to.x), pixel(e.to.y), edge, 1);
  }
}

}  // namespace

void smoothLine(SmoothTarget to, int x1, int y1, int x2, int y2, uint32_t color,
                int64_t width) {
  const double w = static_cast<double>(width);
  if (to.surface.colors().isOrdered(color)) {
    dashedLine(to, x1, y1, x2, y2, color, w);
    return;
  }
  Outline pen;
  addSegmentPen(pen, centreOf(x1, y1), centreOf(x2, y2), w);
  paint(to, &pen, nullptr, color, Part::Pen);
}

void smoothPolygon(SmoothTarget to, const int64_t *x, const int64_t *y, size_t n,
                   uint32_t edge, uint32_t fill) {
  Outline inside(FillRule::EvenOdd);
  std::vector<EdgePiece> pieces;
  pieces.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    const Pt at = centreOf(x[i], y[i]);
    if (i == 0) inside.moveTo(at.x, at.y);
    else inside.lineTo(at.x, at.y);
    const size_t prev = i == 0 ? n - 1 : i - 1;
    pieces.push_back(straight(centreOf(x[prev], y[prev]), at));
  }
  fillAndEdge(to, inside, pieces, 0, 0, 0, edge, fill);
}

void smoothEllipse(SmoothTarget to, int cx, int cy, int rx, int ry, uint32_t edge,
                   uint32_t fill) {
  const Pt c = centreOf(cx, cy);
  const double rxd = rx, ryd = ry;
  const int perTurn = segmentsPerTurn(std::max(rxd, ryd) + 0.5);
  if (edge == fill && !to.surface.colors().isOrdered(edge)) {
    // The fill and its pen together are the ellipse half a pixel larger.
    Outline whole;
    addContour(whole, ellipse(c, rxd + 0.5, ryd + 0.5, perTurn));
    paint(to, &whole, nullptr, fill, Part::Fill);
    return;
  }
  Outline inside;
  addContour(inside, ellipse(c, rxd, ryd, perTurn));
  fillAndEdge(to, inside, {arcOf(c, 0, 360)}, rxd, ryd, perTurn, edge, fill);
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
    dashedArc(to, c, rx, ry, start, sweep, color, perTurn);
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
  Outline inside(FillRule::EvenOdd);
  if (sweep > 0) {
    std::vector<Pt> p{c};
    appendArc(p, c, rx, ry, start, sweep, perTurn);
    addContour(inside, p);
  }
  // Centre to the start point, the arc, the a2 point back to the centre.
  std::vector<EdgePiece> pieces{straight(c, ellipsePoint(c, rx, ry, start)), arcOf(c, start, sweep)};
  if (sweep < 360) pieces.push_back(straight(ellipsePoint(c, rx, ry, start + sweep), c));
  fillAndEdge(to, inside, pieces, rx, ry, perTurn, edge, fill);
}

void smoothCylinder(SmoothTarget to, int cx, int cy, int rx, int ry, double a1, double a2,
                    int64_t depthX, int64_t depthY, uint32_t edge, uint32_t fill) {
  const auto [start, sweep] = spanOf(a1, a2);
  const Pt c = centreOf(cx, cy);
  const Pt c2{c.x + static_cast<double>(depthX), c.y + static_cast<double>(depthY)};
  const int perTurn = segmentsPerTurn(std::max(rx, ry) + 0.5);
  // The near arc start -> a2, across to the far arc, back along it and across
  // again.
  std::vector<Pt> p;
  appendArc(p, c, rx, ry, start, sweep, perTurn);
  std::vector<Pt> far;
  appendArc(far, c2, rx, ry, start, sweep, perTurn);
  p.insert(p.end(), far.rbegin(), far.rend());
  Outline inside(FillRule::EvenOdd);
  addContour(inside, p);
  const Pt n1 = ellipsePoint(c, rx, ry, start), n2 = ellipsePoint(c, rx, ry, start + sweep);
  const Pt f1{n1.x + static_cast<double>(depthX), n1.y + static_cast<double>(depthY)};
  const Pt f2{n2.x + static_cast<double>(depthX), n2.y + static_cast<double>(depthY)};
  const std::vector<EdgePiece> pieces{arcOf(c, start, sweep), straight(n2, f2), arcOf(c2, start, sweep),
                                      straight(f1, n1)};
  fillAndEdge(to, inside, pieces, rx, ry, perTurn, edge, fill);
}

}  // namespace quorvane
