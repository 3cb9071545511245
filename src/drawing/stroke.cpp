// Strokes as one outline per path. The stroke is the sum of pieces that tile
// it: a piece per segment, square across at its ends, a bend's inner corner
// where the two offset lines cross (on the bisector, shared by both pieces),
// and a round wedge about the vertex on its outer side, flattened to chords
// no further than kJoinTolerance inside the arc. Where neighbours share an
// edge, the two copies cancel exactly in the rasteriser, so each side of the
// stroke is walked once instead: along the offset lines, round the wedges,
// and through the vertex where a piece's square end is not shared.
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

bool operator==(PathPoint a, PathPoint b) { return a.x == b.x && a.y == b.y; }

std::vector<StrokeSegment> segmentsOf(const std::vector<PathPoint> &path, bool isClosed) {
  std::vector<PathPoint> q;
  q.reserve(path.size() + 1);
  for (const PathPoint &p : path)
    if (std::isfinite(p.x) && std::isfinite(p.y) && (q.empty() || !(p == q.back())))
      q.push_back(p);
  if (isClosed && q.size() > 1 && q.front() == q.back()) q.pop_back();
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

// The points one side of the stroke passes between the end of one piece and
// the start of the next, bend after bend: those of bend i are
// points[firsts[i]] ... points[firsts[i + 1] - 1].
struct SideBends {
  std::vector<PathPoint> points;
  std::vector<size_t> firsts{0};
};

// What one side of a stroke needs at every bend: its width, its direction
// from the path, and the largest turn a single chord of its wedges rounds
// within kJoinTolerance (with its cosine, so that smaller turns are told
// apart without working the angle out).
struct Side {
  double half;
  double sign;
  double step;
  double cosStep;
};

Side sideOf(const StrokeStyle &style, int side) {
  const double half = side == 0 ? style.firstHalf : style.secondHalf;
  const double step = half > 0 ? 2 * std::acos(1 - std::min(1.0, kJoinTolerance / half)) : 0;
  return {half, sideSign(side), step, std::cos(step)};
}

// The inner points of the round wedge on the outer side of a bend at p, from
// corner `from` (the end of the incoming piece), turning by angle (radians)
// in the direction turnSign.
void addWedge(std::vector<PathPoint> &out, PathPoint p, PathPoint from, double angle,
              double step, double turnSign) {
  const int n = std::clamp(static_cast<int>(std::ceil(angle / step)), 1, kMaxWedgeSteps);
  const double vx = from.x - p.x, vy = from.y - p.y;
  for (int k = 1; k < n; ++k) {
    const double t = turnSign * angle * k / n;
    const double c = std::cos(t), s = std::sin(t);
    out.push_back({p.x + vx * c - vy * s, p.y + vx * s + vy * c});
  }
}

// Settles the corners where segment a ends and b starts, at their shared
// point, and adds what each side passes round the bend to bends.
void join(const StrokeSegment &a, const StrokeSegment &b, Corners &endOfA, Corners &startOfB,
          const std::array<Side, 2> &sides, std::array<SideBends, 2> &bends) {
  const PathPoint p = a.b;
  const double cross = a.ux * b.uy - a.uy * b.ux;
  const double dot = a.ux * b.ux + a.uy * b.uy;
  for (size_t k = 0; k < 2; ++k) {
    const Side &side = sides[k];
    std::vector<PathPoint> &out = bends[k].points;
    if (side.half > 0 && side.sign * cross > 0) {
      // The inner side: both pieces end on the bisector where the offset
      // lines cross, if that lies within half of either segment.
      const double reach = side.half * std::fabs(cross) / (1 + dot);
      if (1 + dot > 1e-12 && reach <= std::min(a.length, b.length) / 2) {
        const double r = side.sign * side.half / (1 + dot);
        endOfA[k] = startOfB[k] = {p.x + r * (-a.uy - b.uy), p.y + r * (a.ux + b.ux)};
      }
    } else if (side.half > 0 && (cross != 0 || dot < 0)) {
      // The outer side of a turn: a wedge, a single chord for a small one.
      if (dot < side.cosStep)
        addWedge(out, p, endOfA[k], std::atan2(std::fabs(cross), dot), side.step, -side.sign);
      bends[k].firsts.push_back(out.size());
      continue;
    }
    // Square ends that are not shared meet at the vertex.
    if (!(endOfA[k] == startOfB[k])) out.push_back(p);
    bends[k].firsts.push_back(out.size());
  }
}

// Appends p unless it repeats the last point.
void append(std::vector<PathPoint> &chain, PathPoint p) {
  if (chain.empty() || !(chain.back() == p)) chain.push_back(p);
}

// Appends bend i of side, forwards or backwards.
void appendBend(std::vector<PathPoint> &chain, const SideBends &side, size_t i, bool isForward) {
  const size_t first = side.firsts[i], end = side.firsts[i + 1];
  if (isForward)
    for (size_t j = first; j < end; ++j) append(chain, side.points[j]);
  else
    for (size_t j = end; j-- > first;) append(chain, side.points[j]);
}

// Adds the chain as a contour, last point first: a chain that runs forwards
// along the first side turns anticlockwise on the screen, and contours are
// added clockwise.
void addReversed(Outline &o, const std::vector<PathPoint> &chain) {
  size_t n = chain.size();
  if (n > 1 && chain.front() == chain.back()) --n;
  if (n < 3) return;
  o.moveTo(chain[n - 1].x, chain[n - 1].y);
  for (size_t i = n - 1; i-- > 0;) o.lineTo(chain[i].x, chain[i].y);
}

// One contour round an open stroke: its first side forwards, across its far
// end, its second side back and across its near end.
void addOpen(Outline &o, const std::vector<StrokeSegment> &s, const std::vector<Corners> &starts,
             const std::vector<Corners> &ends, const std::array<SideBends, 2> &bends) {
  const size_t m = s.size();
  std::vector<PathPoint> chain;
  chain.reserve(4 * m + bends[0].points.size() + bends[1].points.size() + 2);
  for (size_t i = 0; i < m; ++i) {
    if (i > 0) appendBend(chain, bends[0], i - 1, true);
    append(chain, starts[i][0]);
    append(chain, ends[i][0]);
  }
  append(chain, s[m - 1].b);
  for (size_t i = m; i-- > 0;) {
    append(chain, ends[i][1]);
    append(chain, starts[i][1]);
    if (i > 0) appendBend(chain, bends[1], i - 1, false);
  }
  append(chain, s[0].a);
  addReversed(o, chain);
}

// A closed stroke: one contour along each side.
void addClosed(Outline &o, const std::vector<Corners> &starts, const std::vector<Corners> &ends,
               const std::array<SideBends, 2> &bends) {
  const size_t m = starts.size();
  std::vector<PathPoint> chain;
  chain.reserve(2 * m + bends[0].points.size() + bends[1].points.size());
  for (size_t i = 0; i < m; ++i) {
    append(chain, starts[i][0]);
    append(chain, ends[i][0]);
    appendBend(chain, bends[0], i, true);
  }
  addReversed(o, chain);
  chain.clear();
  for (size_t i = m; i-- > 0;) {
    appendBend(chain, bends[1], i, false);
    append(chain, ends[i][1]);
    append(chain, starts[i][1]);
  }
  addReversed(o, chain);
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
  const std::array<Side, 2> sides{sideOf(style, 0), sideOf(style, 1)};
  std::array<SideBends, 2> bends;
  const size_t joins = style.isClosed ? m : m - 1;
  for (size_t i = 0; i < joins; ++i) {
    const size_t next = (i + 1) % m;
    join(s[i], s[next], ends[i], starts[next], sides, bends);
  }
  if (style.isClosed) addClosed(o, starts, ends, bends);
  else addOpen(o, s, starts, ends, bends);
}

}  // namespace quorvane
