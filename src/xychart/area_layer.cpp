// Area drawing: each run of consecutive points is filled down to the zero
// line as one outline whose top passes through every point and through the
// interpolated zero crossings, then edged along its top; in 3D the top of
// each piece is a face swept by the layer depth. A stack fills its running
// totals from the top one down, so that each data set shows as the band
// between its running total and the one below it. Positions are formed in 64
// bits and saturate into int at the drawing calls.
#include "xychart/area_layer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "base/int_math.h"
#include "drawing/area_access.h"
#include "xychart/axes.h"
#include "xychart/covered_faces.h"
#include "xychart/stacking.h"

namespace quorvane {

namespace {

// The row of a curve at a point index where the curve has no point.
constexpr int64_t kNoRow = std::numeric_limits<int64_t>::min();

// The most top vertices one polygon takes; a longer run is filled in pieces
// that share their end points.
constexpr size_t kMaxPieceVertices = 65536;

struct Vertex {
  int64_t x;
  int64_t y;
};

// The floor of the mean; image positions are far from the int64 limits.
int64_t halfway(int64_t a, int64_t b) { return (a + b) >> 1; }

// Where the segment p-q passes through the zero row, when its ends lie on
// opposite sides of it. Opposite sides make the divisor non-zero.
std::optional<Vertex> zeroCrossing(const Vertex &p, const Vertex &q, int64_t zeroRow) {
  const int64_t sp = p.y - zeroRow;
  const int64_t sq = q.y - zeroRow;
  if (!((sp < 0 && sq > 0) || (sp > 0 && sq < 0))) return std::nullopt;
  const double t = static_cast<double>(sp) / static_cast<double>(sp - sq);
  const double x = static_cast<double>(p.x) + t * static_cast<double>(q.x - p.x);
  return Vertex{static_cast<int64_t>(std::floor(x + 0.5)), zeroRow};
}

// Fills curves down to their zero rows for one layer: its point columns and
// 3D depth.
class AreaPainter {
 public:
  AreaPainter(DrawArea &area, const std::vector<int64_t> &columns, int dx, int dy)
      : area_(area), columns_(columns), dx_(dx), dy_(dy) {}

  // rows holds the curve's row at each point index; every run of two or more
  // consecutive points is filled.
  void fill(const std::vector<int64_t> &rows, int64_t zeroRow, const FaceColors &k,
            int lineWidth) {
    const size_t n = rows.size();
    for (size_t a = 0; a < n;) {
      if (rows[a] == kNoRow) {
        ++a;
        continue;
      }
      size_t b = a;
      while (b + 1 < n && rows[b + 1] != kNoRow) ++b;
      if (b > a) fillRun(rows, a, b, zeroRow, k, lineWidth);
      a = b + 1;
    }
  }

 private:
  void fillRun(const std::vector<int64_t> &rows, size_t a, size_t b, int64_t zeroRow,
               const FaceColors &k, int lineWidth) {
    // The top runs through the points and the zero crossings between them, so
    // that a value on each side of zero gives two pieces meeting on the line.
    top_.clear();
    for (size_t i = a; i <= b; ++i) {
      const Vertex p{columns_[i], rows[i]};
      if (i > a)
        if (const auto c = zeroCrossing(top_.back(), p, zeroRow)) top_.push_back(*c);
      top_.push_back(p);
    }
    if (dx_ != 0 && dy_ != 0) drawTopFaces(zeroRow, k);

    // The outline is filled and edged in the fill colour: the fill alone
    // stops short of the outline, which would leave the zero row and the end
    // columns open. Each pixel is still drawn once.
    const bool isSmooth = shapeModeOf(area_) != 0;
    for (size_t s = 0, e = 0; s + 1 < top_.size(); s = e) {
      e = pieceEnd(s, zeroRow, isSmooth);
      xs_.clear();
      ys_.clear();
      addVertex({top_[s].x, zeroRow});
      for (size_t j = s; j <= e; ++j) addVertex(top_[j]);
      addVertex({top_[e].x, zeroRow});
      area_.polygon(xs_.data(), ys_.data(), static_cast<int>(xs_.size()), k.face, k.face);
    }
    xs_.clear();
    ys_.clear();
    for (size_t i = a; i <= b; ++i) {
      xs_.push_back(clampToInt(columns_[i]));
      ys_.push_back(clampToInt(rows[i]));
    }
    polyline(area_, xs_.data(), ys_.data(), static_cast<int>(xs_.size()), k.edge, lineWidth);
  }

  // A piece above the zero line has its top at the curve; pieces below it
  // hang from the zero line, which is then their top: one face for each
  // stretch of them, so that no seam crosses the flat face. The last point
  // closes the run with its side face.
  void drawTopFaces(int64_t zeroRow, const FaceColors &k) {
    auto face = [&](int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
      area_.surface(clampToInt(x1), clampToInt(y1), clampToInt(x2), clampToInt(y2), dx_, dy_,
                    k.edge, k.face);
    };
    auto isAbove = [&](size_t j) { return std::max(top_[j].y, top_[j + 1].y) <= zeroRow; };
    // Dense curves' faces are mostly drawn over by the next ones in their
    // column; faces below the zero line break the chain.
    std::vector<bool> covered(top_.size(), false);
    if (paintsOver(area_, k.edge) && paintsOver(area_, k.face)) {
      std::vector<std::optional<std::array<int, 4>>> ends(top_.size() - 1);
      for (size_t j = 0; j + 1 < top_.size(); ++j)
        if (isAbove(j))
          ends[j] = {clampToInt(top_[j].x), clampToInt(top_[j].y), clampToInt(top_[j + 1].x),
                     clampToInt(top_[j + 1].y)};
      covered = coveredFaces(ends);
    }
    std::optional<int64_t> belowFrom;  // the left end of the stretch below
    for (size_t j = 0; j + 1 < top_.size(); ++j) {
      const Vertex &p = top_[j];
      const Vertex &q = top_[j + 1];
      if (!isAbove(j)) {
        if (!belowFrom) belowFrom = p.x;
        continue;
      }
      if (belowFrom) face(*belowFrom, zeroRow, p.x, zeroRow);
      belowFrom.reset();
      if (!covered[j]) face(p.x, p.y, q.x, q.y);
    }
    if (belowFrom) face(*belowFrom, zeroRow, top_.back().x, zeroRow);
    const Vertex &end = top_.back();
    if (end.y != zeroRow)
      area_.surface(clampToInt(end.x), clampToInt(std::min(end.y, zeroRow)), clampToInt(end.x),
                    clampToInt(std::max(end.y, zeroRow)), dx_, dy_, k.shadowEdge, k.shadow);
  }

  // The last top vertex of the piece from s: at most kMaxPieceVertices on
  // and, drawn smooth, the next one on the zero row, so that each piece is a
  // simple outline turning one way (a smooth edge in the fill colour adds the
  // half of its pen outside the way the outline turns; an outline through
  // zero turns both ways).
  size_t pieceEnd(size_t s, int64_t zeroRow, bool isSmooth) const {
    const size_t last = std::min(s + kMaxPieceVertices, top_.size() - 1);
    if (isSmooth)
      for (size_t j = s + 1; j < last; ++j)
        if (top_[j].y == zeroRow) return j;
    return last;
  }

  void addVertex(const Vertex &v) {
    xs_.push_back(clampToInt(v.x));
    ys_.push_back(clampToInt(v.y));
  }

  DrawArea &area_;
  const std::vector<int64_t> &columns_;
  int dx_;
  int dy_;
  std::vector<Vertex> top_;  // reused by every run
  std::vector<int> xs_;
  std::vector<int> ys_;
};

// At most six vertices: the two midpoints and the point, on the top and on
// the base.
struct PointShape {
  std::array<int, 12> values;
  size_t count = 0;
  std::span<const int> view() const { return std::span<const int>(values.data(), count); }
};

// The shape record of point i: the region between the base (a curve, or the
// zero row where it has no point) and the top, from the midpoint with the
// previous point to the midpoint with the next one, top left to right, then
// base right to left. Empty when the point belongs to no filled run.
PointShape pointShape(const std::vector<int64_t> &columns, const std::vector<int64_t> &top,
                      const std::vector<int64_t> *base, int64_t zeroRow, size_t i) {
  PointShape out;
  if (top[i] == kNoRow) return out;
  const bool hasLeft = i > 0 && top[i - 1] != kNoRow;
  const bool hasRight = i + 1 < top.size() && top[i + 1] != kNoRow;
  if (!hasLeft && !hasRight) return out;
  auto baseAt = [&](size_t j) {
    return base != nullptr && (*base)[j] != kNoRow ? (*base)[j] : zeroRow;
  };
  // The x positions of the record by point index: a neighbour j stands for
  // the midpoint with i.
  std::array<size_t, 3> spots{};
  size_t count = 0;
  if (hasLeft) spots[count++] = i - 1;
  spots[count++] = i;
  if (hasRight) spots[count++] = i + 1;
  const std::span<const size_t> used(spots.data(), count);
  auto at = [&](size_t j, int64_t rowJ, int64_t rowI) {
    return j == i ? Vertex{columns[i], rowI}
                  : Vertex{halfway(columns[j], columns[i]), halfway(rowJ, rowI)};
  };
  auto add = [&out](const Vertex &v) {
    out.values[out.count++] = clampToInt(v.x);
    out.values[out.count++] = clampToInt(v.y);
  };
  for (const size_t j : used) add(at(j, top[j], top[i]));
  // On the zero line the point's own base vertex lies between the other two.
  const bool skipsMiddle = base == nullptr && hasLeft && hasRight;
  for (auto it = used.rbegin(); it != used.rend(); ++it)
    if (!(skipsMiddle && *it == i)) add(at(*it, baseAt(*it), baseAt(i)));
  return out;
}

}  // namespace


// Where every data set's area lies, in image rows and columns.
struct AreaLayerImpl::Curves {
  int64_t bottomRow = 0;
  std::vector<int64_t> columns;  // of each point index
  int64_t zeroRows[2] = {0, 0};  // of each y axis ([0] primary), kept within the layer
  std::vector<int> axes;         // of each data set: 0 primary, 1 secondary
  bool isStacked = false;
  // The top of each data set at each point (kNoRow: none there): its own
  // value, or in a stack the running total on its y axis up to it.
  std::vector<std::vector<int64_t>> tops;
  std::vector<double> totals[2];  // a stack's totals at each point, by y axis
  std::vector<int> below;         // the data set under each band of a stack, or -1

  // The base of data set d at point i: the top of the data set below it, or
  // the zero line.
  int64_t baseRow(size_t d, size_t i) const {
    const int under = below[d];
    if (under >= 0 && tops[static_cast<size_t>(under)][i] != kNoRow)
      return tops[static_cast<size_t>(under)][i];
    return zeroRows[axes[d]];
  }
};

AreaLayerImpl::Curves AreaLayerImpl::curvesOf(size_t points) const {
  const auto &sets = dataSets();
  Curves c;
  c.bottomRow = int64_t{y()} + height() - 1;
  c.columns.resize(points);
  for (size_t i = 0; i < points; ++i)
    c.columns[i] = int64_t{x()} + xAxis().getCoor(static_cast<double>(i));
  for (const bool primary : {true, false})
    c.zeroRows[primary ? 0 : 1] =
        c.bottomRow - std::max(0, std::min(yAxisOf(primary).getCoor(0), height()));
  for (const auto &ds : sets) c.axes.push_back(ds->usesPrimaryAxis() ? 0 : 1);
  c.isStacked = combineMethod() == Layer::Stack;
  c.tops.assign(sets.size(), std::vector<int64_t>(points, kNoRow));
  c.below.assign(sets.size(), -1);
  if (c.isStacked) {
    stackCurves(c, points);
    return c;
  }
  for (size_t d = 0; d < sets.size(); ++d) {
    YAxisImpl &yAxis = yAxisOf(c.axes[d] == 0);
    for (size_t i = 0; i < points; ++i) {
      const double v = sets[d]->value(static_cast<int>(i));
      if (hasValue(v)) c.tops[d][i] = c.bottomRow - yAxis.getCoor(v);
    }
  }
  return c;
}

void AreaLayerImpl::stackCurves(Curves &c, size_t points) const {
  const auto &sets = dataSets();
  YAxisImpl *yAxes[2] = {&yAxisOf(true), &yAxisOf(false)};
  c.totals[0].assign(points, 0);
  c.totals[1].assign(points, 0);
  for (size_t i = 0; i < points; ++i) {
    StackSums sums[2] = {StackSums(false), StackSums(false)};
    for (size_t d = 0; d < sets.size(); ++d) {
      const int axis = c.axes[d];
      const double v = sets[d]->value(static_cast<int>(i));
      if (hasValue(v)) sums[axis].add(v);
      if (sums[axis].isStarted(0))
        c.tops[d][i] = c.bottomRow - yAxes[axis]->getCoor(sums[axis].sum(0));
    }
    c.totals[0][i] = sums[0].sum(0);
    c.totals[1][i] = sums[1].sum(0);
  }
  int lastOnAxis[2] = {-1, -1};
  for (size_t d = 0; d < sets.size(); ++d) {
    c.below[d] = lastOnAxis[c.axes[d]];
    lastOnAxis[c.axes[d]] = static_cast<int>(d);
  }
}

void AreaLayerImpl::fillAreas(DrawArea &area, const Curves &c) const {
  // A stack is drawn from its last data set to its first, each over the
  // one before; overlaid areas in list order.
  const auto &sets = dataSets();
  const size_t count = sets.size();
  AreaPainter painter(area, c.columns, depthX(), depthY());
  for (size_t k = 0; k < count; ++k) {
    const size_t d = c.isStacked ? count - 1 - k : k;
    const DataSetImpl &ds = *sets[d];
    painter.fill(c.tops[d], c.zeroRows[c.axes[d]],
                 faceColorsOf(area, ds, borderColor(), kDefaultFaceColor),
                 ds.lineWidth() > 0 ? ds.lineWidth() : lineWidth());
  }
}

void AreaLayerImpl::recordAndLabel(DrawArea &area, const Curves &c) {
  // A point is recorded and labelled where its data set has a value and a
  // filled run passes through it; the group record is the rectangle around
  // the records of its point.
  const auto &sets = dataSets();
  for (size_t i = 0; i < c.columns.size(); ++i) {
    constexpr int64_t kHigh = std::numeric_limits<int64_t>::max();
    std::array<int64_t, 4> group = {kHigh, kHigh, -kHigh, -kHigh};  // left, top, right, bottom
    int topSet = -1;
    for (size_t d = 0; d < sets.size(); ++d) {
      const double v = sets[d]->value(static_cast<int>(i));
      if (!hasValue(v)) continue;
      const std::vector<int64_t> *base =
          c.below[d] >= 0 ? &c.tops[static_cast<size_t>(c.below[d])] : nullptr;
      const PointShape shape = pointShape(c.columns, c.tops[d], base, c.zeroRows[c.axes[d]], i);
      if (shape.count == 0) continue;
      recordShape(static_cast<int>(d), static_cast<int>(i), shape.view());
      for (size_t j = 0; j + 1 < shape.count; j += 2) {
        group[0] = std::min<int64_t>(group[0], shape.values[j]);
        group[1] = std::min<int64_t>(group[1], shape.values[j + 1]);
        group[2] = std::max<int64_t>(group[2], shape.values[j]);
        group[3] = std::max<int64_t>(group[3], shape.values[j + 1]);
      }
      topSet = static_cast<int>(d);
      labelPoint(area, c, d, i, v);
    }
    if (topSet < 0) continue;
    recordShape(-1, static_cast<int>(i),
                {clampToInt(group[0]), clampToInt(group[1]), clampToInt(group[2]),
                 clampToInt(group[3])});
    if (c.isStacked) labelTotal(area, c, static_cast<size_t>(topSet), i);
  }
}

void AreaLayerImpl::labelPoint(DrawArea &area, const Curves &c, size_t d, size_t i,
                               double v) const {
  const DataSetImpl &ds = *dataSets()[d];
  const int64_t row = c.tops[d][i];
  const int64_t column = c.columns[i];
  if (c.isStacked) {
    // Inside the band, half-way between its two totals.
    drawDataLabel(area, ds, v, clampToInt(column), clampToInt(halfway(row, c.baseRow(d, i))),
                  AlignCentre);
  } else if (row <= c.zeroRows[c.axes[d]]) {
    // Standing on the point and its 3D top face.
    drawDataLabel(area, ds, v, clampToInt(column + depthX() / 2), clampToInt(row - depthY()),
                  AlignBottomCentre);
  } else {
    drawDataLabel(area, ds, v, clampToInt(column), clampToInt(row), AlignTopCentre);
  }
}

void AreaLayerImpl::labelTotal(DrawArea &area, const Curves &c, size_t topSet, size_t i) const {
  // The total on the y axis of the last data set drawn at the point.
  const int axis = c.axes[topSet];
  const double total = c.totals[axis][i];
  const int64_t row = c.bottomRow - yAxisOf(axis == 0).getCoor(total);
  if (row <= c.zeroRows[axis])
    drawAggregateLabel(area, total, clampToInt(c.columns[i] + depthX() / 2),
                       clampToInt(row - depthY()), AlignBottomCentre);
  else
    drawAggregateLabel(area, total, clampToInt(c.columns[i]), clampToInt(row), AlignTopCentre);
}

void AreaLayerImpl::drawLayer(DrawArea &area) {
  const int n = pointCount();
  if (n <= 0 || dataSets().empty()) return;
  const Curves curves = curvesOf(static_cast<size_t>(n));
  fillAreas(area, curves);
  // Records and labels once every area is down, so that no area covers
  // another's label.
  recordAndLabel(area, curves);
}

}  // namespace quorvane
