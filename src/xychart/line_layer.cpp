// Line layers: each data set's points joined by lines, or in 3D by ribbons
// swept back by the data set's depth step (data set 0 in front), its symbol
// merged centred on every point, point labels turned inwards at the ends of
// the layer, and per point a shape record of the band around the line from
// midway to the previous point to midway to the next. Positions are summed
// in 64 bits and saturate into int.
#include "xychart/line_layer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "base/alignment.h"
#include "base/int_math.h"
#include "drawing/area_access.h"
#include "xychart/covered_faces.h"
#include "xychart/axes.h"
#include "xychart/xy_chart.h"

namespace quorvane {

namespace {

// Half the height of the band recorded around a line, at the least, so that
// a thin line can still be hit in an image map.
constexpr int64_t kMinHalfBand = 3;

// The same keypad row in the left or the right column.
int inLeftColumn(int alignment) {
  const int a = normalAlignment(alignment);
  return a - (a - 1) % 3;
}
int inRightColumn(int alignment) { return inLeftColumn(alignment) + 2; }

// The published DrawArea has no const getters; reading a size changes nothing.
int heightOf(const DrawArea &image) { return const_cast<DrawArea &>(image).getHeight(); }

}  // namespace

std::optional<LineLayerImpl::Point> LineLayerImpl::pointOf(const DataSetImpl &ds, int i) const {
  const double v = ds.value(i);
  if (!hasValue(v)) return std::nullopt;
  return Point{LayerCore::getXCoor(i), LayerCore::getYCoor(v, ds.usesPrimaryAxis())};
}

int LineLayerImpl::lineWidthOf(const DataSetImpl &ds) const {
  return ds.lineWidth() > 0 ? ds.lineWidth() : lineWidth();
}

void LineLayerImpl::drawLines(DrawArea &area, const DataSetImpl &ds, Shift shift, Shift step) {
  const int n = pointCount();
  const bool isFlat = step.x == 0 && step.y == 0;
  const int width = lineWidthOf(ds);
  // A data set the layout never coloured draws nothing: -1 stays unresolved.
  const FaceColors k = faceColorsOf(area, ds, borderColor(), -1);
  // A ribbon shows its underside when its segment climbs more steeply than
  // the depth runs: rise / run > y depth / x depth, with run the width of one
  // category step. Compared multiplied out, so that no depth divides.
  const double run = xAxis().getLength() / std::max(1.0, n - 1.0);
  std::vector<std::optional<std::array<int, 4>>> ends(static_cast<size_t>(std::max(n - 1, 0)));
  std::vector<bool> showsUnderside(ends.size(), false);
  std::optional<Point> previous = pointOf(ds, 0);
  for (int i = 1; i < n; ++i) {
    const std::optional<Point> current = pointOf(ds, i);
    if (previous && current) {
      ends[static_cast<size_t>(i - 1)] = {
          clampToInt(previous->x + shift.x), clampToInt(previous->y - shift.y),
          clampToInt(current->x + shift.x), clampToInt(current->y - shift.y)};
      const double rise = static_cast<double>(previous->y) - current->y;
      showsUnderside[static_cast<size_t>(i - 1)] =
          rise * depthX() > static_cast<double>(depthY()) * run;
    }
    previous = current;
  }
  // Dense ribbons are mostly drawn over by the next ones in their column.
  const bool canLeaveOut = !isFlat && paintsOver(area, k.edge) && paintsOver(area, k.face) &&
                           paintsOver(area, k.shadow);
  const std::vector<bool> covered =
      canLeaveOut ? coveredFaces(ends) : std::vector<bool>(ends.size(), false);
  // A flat line is one stroke from gap to gap.
  std::vector<int> xs, ys;
  auto drawRun = [&] {
    polyline(area, xs.data(), ys.data(), static_cast<int>(xs.size()), k.face, width);
    xs.clear();
    ys.clear();
  };
  for (size_t i = 0; i < ends.size(); ++i) {
    if (!ends[i] || covered[i]) {
      drawRun();
      continue;
    }
    const auto [x1, y1, x2, y2] = *ends[i];
    if (!isFlat) {
      area.surface(x1, y1, x2, y2, static_cast<int>(step.x), static_cast<int>(step.y), k.edge,
                   showsUnderside[i] ? k.shadow : k.face);
      continue;
    }
    if (xs.empty()) xs.push_back(x1), ys.push_back(y1);
    xs.push_back(x2);
    ys.push_back(y2);
  }
  drawRun();
}

void LineLayerImpl::mergeSymbols(DrawArea &area, const DataSetImpl &ds, const DrawArea &symbol,
                                 Shift shift) {
  const int n = pointCount();
  std::vector<std::optional<std::array<int, 2>>> places(static_cast<size_t>(std::max(n, 0)));
  for (int i = 0; i < n; ++i)
    if (const auto p = pointOf(ds, i))
      places[static_cast<size_t>(i)] = {clampToInt(p->x + shift.x), clampToInt(p->y - shift.y)};
  // Dense points merge their symbol at one place again and again.
  const std::vector<bool> again = mergesAsCopy(symbol) ? remergedPlaces(places)
                                                       : std::vector<bool>(places.size(), false);
  for (size_t i = 0; i < places.size(); ++i)
    if (places[i] && !again[i])
      area.merge(&symbol, (*places[i])[0], (*places[i])[1], AlignCentre, 0);
}

void LineLayerImpl::recordBands(int d, Shift shift, int halfBand, std::vector<int64_t> &groups) {
  const DataSetImpl &ds = *dataSets()[static_cast<size_t>(d)];
  const int n = pointCount();
  const int64_t left = x();
  const int64_t right = std::max(left, int64_t{x()} + width() - 1);
  auto columnAt = [&](double v) {
    return std::clamp<int64_t>(LayerCore::getXCoor(v), left, right) + shift.x;
  };
  // The row midway to a neighbour, or the point's own where the line stops.
  auto midRow = [](const Point &p, const std::optional<Point> &neighbour) -> int64_t {
    return neighbour ? (int64_t{p.y} + neighbour->y) / 2 : p.y;
  };
  const int64_t h = halfBand;
  std::optional<Point> previous;
  std::optional<Point> current = pointOf(ds, 0);
  for (int i = 0; i < n; ++i) {
    const std::optional<Point> next = pointOf(ds, i + 1);
    if (current) {
      const int64_t xl = columnAt(i - 0.5);
      const int64_t xr = columnAt(i + 0.5);
      const int64_t xp = current->x + shift.x;
      const int64_t yl = midRow(*current, previous) - shift.y;
      const int64_t yr = midRow(*current, next) - shift.y;
      const int64_t yp = current->y - shift.y;
      const int64_t corners[12] = {xl, yl - h, xp, yp - h, xr, yr - h,
                                   xr, yr + h, xp, yp + h, xl, yl + h};
      int shape[12];
      std::transform(std::begin(corners), std::end(corners), shape, clampToInt);
      recordShape(d, i, shape);
      int64_t *g = &groups[4 * static_cast<size_t>(i)];
      g[0] = std::min(g[0], xl);
      g[1] = std::min(g[1], std::min({yl, yp, yr}) - h);
      g[2] = std::max(g[2], xr);
      g[3] = std::max(g[3], std::max({yl, yp, yr}) + h);
    }
    previous = current;
    current = next;
  }
}

int LineLayerImpl::labelAlignmentAt(const DataSetImpl &ds, int pointX) const {
  const int alignment = ds.hasOwnLabels() ? ds.labelStyle().data().alignment
                                          : dataLabelStyle().data().alignment;
  // A label at an end of the layer reaches inwards, off the plot's edge.
  if (int64_t{pointX} - x() < 2) return inLeftColumn(alignment);
  if (int64_t{x()} + width() - 1 - pointX <= 2) return inRightColumn(alignment);
  return alignment;
}

void LineLayerImpl::drawLayer(DrawArea &area) {
  const auto &sets = dataSets();
  const int n = pointCount();
  if (n <= 0 || sets.empty()) return;
  const int64_t m = static_cast<int64_t>(sets.size());
  const Shift step{depthX() / m, depthY() / m};

  // The group record of each point: left, top, right, bottom; empty while
  // left > right.
  std::vector<int64_t> groups;
  groups.reserve(4 * static_cast<size_t>(n));
  for (int i = 0; i < n; ++i)
    groups.insert(groups.end(),
                  {std::numeric_limits<int64_t>::max(), std::numeric_limits<int64_t>::max(),
                   std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::min()});

  // The last data set first, furthest back in 3D, so that data set 0 ends on top.
  for (int64_t d = m - 1; d >= 0; --d) {
    DataSetImpl &ds = *sets[static_cast<size_t>(d)];
    const Shift shift{d * step.x, d * step.y};
    drawLines(area, ds, shift, step);
    const DrawArea *symbol = ds.symbolImage(area);
    if (symbol != nullptr) mergeSymbols(area, ds, *symbol, shift);
    const int64_t halfBand = std::max({kMinHalfBand, int64_t{lineWidthOf(ds)} / 2 + 1,
                                       symbol != nullptr ? int64_t{heightOf(*symbol)} / 2 : 0});
    recordBands(static_cast<int>(d), shift, clampToInt(halfBand), groups);
  }

  // Labels go on last, so that the lines of the data sets in front of a
  // point do not cover its label.
  for (int64_t d = m - 1; d >= 0; --d) {
    const DataSetImpl &ds = *sets[static_cast<size_t>(d)];
    const Shift shift{d * step.x, d * step.y};
    for (int i = 0; i < n; ++i)
      if (const auto p = pointOf(ds, i))
        drawDataLabel(area, ds, ds.value(i), clampToInt(p->x + shift.x), clampToInt(p->y - shift.y),
                      labelAlignmentAt(ds, p->x));
  }

  for (int i = 0; i < n; ++i) {
    const int64_t *g = &groups[4 * static_cast<size_t>(i)];
    if (g[0] <= g[2])
      recordShape(-1, i, {clampToInt(g[0]), clampToInt(g[1]), clampToInt(g[2]), clampToInt(g[3])});
  }
}

void LineLayerImpl::addLegendKey(LegendBox &legend, DataSetImpl &ds) {
  const DrawArea *symbol = chart() != nullptr ? ds.symbolImage(chart()->core().area()) : nullptr;
  // The legend only merges the symbol; it never draws into it.
  legend.addKey(ds.name().c_str(), ds.color(), lineWidthOf(ds), const_cast<DrawArea *>(symbol));
}

}  // namespace quorvane
