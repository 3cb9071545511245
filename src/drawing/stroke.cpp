// Strokes as tiling pieces. A bend's inner corner is where the two offset
// lines cross, on the bisector, shared by both pieces; its outer side is a
// wedge about the vertex between the two square ends, flattened to chords no
// further than kJoinTolerance inside the arc. A piece's corners are worked
// out once and read by every contour that uses them, so that shared edges
// are the same doubles and cancel exactly in the rasteriser.
#include "drawing/stroke.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quorvane {

namespace {

constexpr double kJoinTolerance = 0.03;
constexpr int kMaxWedgeSteps = 256;

struct StrokeSegment {
  PathPoint a, b;
  double ux, uy;  // unit direction
  double length;
};

// The two sides of a segment's ends: [0] the first side, [1] the second.
using Corners = std::array<PathPoint, 2>;

double sideSign(int side) { return side == 0 ? 1.0 : -1.0; }

PathPoint offsetFrom(PathPoint p, const StrokeSegment &s, double distance) {
  return {p.x - s.uy * distance, p.y + s.ux * distance};
}

std::vector<StrokeSegment> segmentsOf(const std::vector<PathPoint> &path, bool isClosed) {
  std::vector<PathPoint> q;
  q.reserve(path.size() + 1);
  for (const PathPoint &p : path)
    if (std::isfinite(p.x) && std::isfinite(p.y) &&
        (q.empty() || p.x != q.back().x || p.y != q.back().y))
      q.push_back(p);
  if (isClosed && q.size() > 1 && q.front().x == q.back().x && q.front().y == q.back().y)
    q.pop_back();
  std::vector<StrokeSegment> s;
  if (q.empty() || (isClosed && q.size() < 2)) return s;
  if (q.size() == 1) return {{q[0], q[0], 1, 0, 0}};
  const size_t m = isClosed ? q.size() : q.size() - 1;
  s.reserve(m);
  for (size_t i = 0; i < m; ++i) {
    const PathPoint a = q[i], b = q[(i + 1) % q.size()];
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    s.push_back({a, b, (b.x - a.x) / len, (b.y - a.y) / len, len});
  }
  return s;
}

// The round wedge on the outer side of a bend at p, from corner `from` (the
// end of the incoming piece) to `to` (the start of the outgoing one), turning
// by angle (radians) in the direction turnSign.
void addWedge(Outline &o, PathPoint p, PathPoint from, PathPoint to, double half,
              double angle, double turnSign) {
  const double step = 2 * std::acos(1 - std::min(1.0, kJoinTolerance / half));
  const int n = std::clamp(static_cast<int>(std::ceil(angle / step)), 1, kMaxWedgeSteps);
  std::vector<PathPoint> w;
  w.reserve(static_cast<size_t>(n) + 2);
  w.push_back(p);
  w.push_back(from);
  const double vx = from.x - p.x, vy = from.y - p.y;
  for (int k = 1; k < n; ++k) {
    const double t = turnSign * angle * k / n;
    const double c = std::cos(t), s = std::sin(t);
    w.push_back({p.x + vx * c - vy * s, p.y + vx * s + vy * c});
  }
  w.push_back(to);
  addClockwise(o, w.data(), w.size());
}

// Settles the corners where segment a ends and b starts, at their shared
// point, and adds the wedges of the bend.
void join(Outline &o, const StrokeSegment &a, const StrokeSegment &b, Corners &endOfA, Corners &startOfB,
          const StrokeStyle &style) {
  const PathPoint p = a.b;
  const double cross = a.ux * b.uy - a.uy * b.ux;
  const double dot = a.ux * b.ux + a.uy * b.uy;
  for (int side = 0; side < 2; ++side) {
    const double half = side == 0 ? style.firstHalf : style.secondHalf;
    const double sign = sideSign(side);
    if (half <= 0) continue;
    if (sign * cross > 0) {
      // The inner side: both pieces end on the bisector where the offset
      // lines cross, if that lies within half of either segment.
      const double reach = half * std::fabs(cross) / (1 + dot);
      if (1 + dot > 1e-12 && reach <= std::min(a.length, b.length) / 2) {
        const double k = sign * half / (1 + dot);
        const PathPoint corner{p.x + k * (-a.uy - b.uy), p.y + k * (a.ux + b.ux)};
        endOfA[static_cast<size_t>(side)] = startOfB[static_cast<size_t>(side)] = corner;
      }
      continue;
    }
    const double angle = std::atan2(std::fabs(cross), dot);
    if (angle > 0)
      addWedge(o, p, endOfA[static_cast<size_t>(side)], startOfB[static_cast<size_t>(side)], half,
               angle, -sign);
  }
}

}  // namespace

double twiceArea(const PathPoint *p, size_t n) {
  double sum = 0;
  for (size_t i = 0; i < n; ++i) {
    const PathPoint &q = p[(i + 1) % n];
    sum += p[i].x * q.y - q.x * p[i].y;
  }
  return sum;
}

void addClockwise(Outline &o, const PathPoint *p, size_t n) {
  if (n < 3) return;
  if (twiceArea(p, n) >= 0) {
    o.moveTo(p[0].x, p[0].y);
    for (size_t i = 1; i < n; ++i) o.lineTo(p[i].x, p[i].y);
  } else {
    o.moveTo(p[n - 1].x, p[n - 1].y);
    for (size_t i = n - 1; i-- > 0;) o.lineTo(p[i].x, p[i].y);
  }
}

void addStroke(Outline &o, const std::vector<PathPoint> &path, const StrokeStyle &style) {
  std::vector<StrokeSegment> s = segmentsOf(path, style.isClosed);
  if (s.empty()) return;
  const size_t m = s.size();
  if (!style.isClosed) {
    s.front().a = {s.front().a.x - s.front().ux * style.endReach,
                   s.front().a.y - s.front().uy * style.endReach};
    s.back().b = {s.back().b.x + s.back().ux * style.endReach,
                  s.back().b.y + s.back().uy * style.endReach};
  }
  std::vector<Corners> starts(m), ends(m);
  for (size_t i = 0; i < m; ++i)
    for (int side = 0; side < 2; ++side) {
      const double d = sideSign(side) * (side == 0 ? style.firstHalf : style.secondHalf);
      starts[i][static_cast<size_t>(side)] = offsetFrom(s[i].a, s[i], d);
      ends[i][static_cast<size_t>(side)] = offsetFrom(s[i].b, s[i], d);
    }
  const size_t joins = style.isClosed ? m : m - 1;
  for (size_t i = 0; i < joins; ++i) {
    const size_t next = (i + 1) % m;
    join(o, s[i], s[next], ends[i], starts[next], style);
  }
  for (size_t i = 0; i < m; ++i) {
    const PathPoint piece[6] = {starts[i][0], ends[i][0], s[i].b,
                                ends[i][1],   starts[i][1], s[i].a};
    addClockwise(o, piece, 6);
  }
}

}  // namespace quorvane
