// Polygon fills at scale and pixel by pixel: the aliased fill against runs
// worked out from the midpoint lines of its edges, and the cost of both fills
// counted in edge (or segment) visits, which must grow with the edges and
// the rows they cross, never with edges times rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "draw_test_util.h"
#include "drawing/coverage.h"
#include "drawing/draw_area_impl.h"
#include "drawing/edge_list.h"

namespace {

using namespace drawtest;

// The aliased fill by its rule: on row y every edge with min y <= y < max y
// contributes the run of its midpoint line on that row; the runs, sorted by
// left then right end, are filled strictly between the first and second,
// third and fourth, and so on.
std::vector<int> referenceFill(int w, int h, const std::vector<int> &x, const std::vector<int> &y) {
  std::vector<int> out(static_cast<size_t>(w * h), kBlue);
  const size_t n = x.size();
  for (int row = 0; row < h; ++row) {
    std::vector<std::pair<int64_t, int64_t>> runs;
    for (size_t i = 0; i < n; ++i) {
      const size_t j = (i + 1) % n;
      if (std::min(y[i], y[j]) > row || std::max(y[i], y[j]) <= row) continue;
      int64_t lo = INT64_MAX, hi = INT64_MIN;
      for (auto [px, py] : midpointLine(x[i], y[i], x[j], y[j]))
        if (py == row) lo = std::min(lo, px), hi = std::max(hi, px);
      runs.push_back({lo, hi});
    }
    std::sort(runs.begin(), runs.end());
    for (size_t k = 0; k + 1 < runs.size(); k += 2)
      for (int64_t px = runs[k].second + 1; px < runs[k + 1].first; ++px)
        if (px >= 0 && px < w) out[static_cast<size_t>(row * w + px)] = kRed;
  }
  return out;
}

// A regular n-gon of radius r about (c, c), rounded to whole pixels.
void ngon(int n, double c, double r, std::vector<int> &x, std::vector<int> &y) {
  x.resize(static_cast<size_t>(n));
  y.resize(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const double a = 2 * M_PI * i / n;
    x[static_cast<size_t>(i)] = static_cast<int>(std::lround(c + r * std::cos(a)));
    y[static_cast<size_t>(i)] = static_cast<int>(std::lround(c + r * std::sin(a)));
  }
}

// Edge visits of the aliased fill of an n-gon filling a side x side area.
uint64_t aliasedVisits(int n, int side) {
  Area a = makeArea(side, side, kBlue);
  auto &impl = static_cast<quorvane::DrawAreaImpl &>(*a);
  std::vector<int> x, y;
  ngon(n, side / 2.0, side / 2.0 - 1, x, y);
  quorvane::EdgeList edges(side, nullptr);
  for (int i = 0; i < n; ++i) {
    const int prev = i == 0 ? n - 1 : i - 1;
    edges.addStraight(x[prev], y[prev], x[i], y[i]);
  }
  impl.drawEdges(edges, quorvane::kTransparent, static_cast<uint32_t>(kRed));
  return edges.fillVisits();
}

// Segment visits of the smooth fill of an n-gon filling a side x side area.
uint64_t smoothVisits(int n, int side) {
  quorvane::Outline o;
  for (int i = 0; i < n; ++i) {
    const double a = 2 * M_PI * i / n, c = side / 2.0, r = side / 2.0 - 1;
    if (i == 0) o.moveTo(c + r * std::cos(a), c + r * std::sin(a));
    else o.lineTo(c + r * std::cos(a), c + r * std::sin(a));
  }
  struct Discard final : quorvane::CoverageSink {
    void run(int64_t, int64_t, int64_t, uint32_t) override {}
  } sink;
  const quorvane::Outline *list[] = {&o};
  quorvane::CoverageScratch scratch;
  quorvane::rasterise(list, 1, side, side, sink, scratch);
  return scratch.segmentVisits;
}

}  // namespace

// The outline by its rule: every edge's midpoint line without its end point.
void referenceOutline(int w, int h, const std::vector<int> &x, const std::vector<int> &y,
                      std::vector<int> &out) {
  for (size_t i = 0; i < x.size(); ++i) {
    const size_t j = (i + 1) % x.size();
    for (auto [px, py] : midpointLine(x[i], y[i], x[j], y[j]))
      if ((px != x[j] || py != y[j]) && px >= 0 && px < w && py >= 0 && py < h)
        out[static_cast<size_t>(py * w + px)] = kGreen;
  }
}

TEST(PolygonFill, AliasedFillAndOutlineMatchTheRunsOfTheirEdgesPixelByPixel) {
  // Random polygons on an 11 x 9 area, self-crossing ones and vertices off
  // the area included. Dense ones keep to a few columns, so that many
  // vertical edges share a column, doubling back over each other, as a
  // curve of many points a pixel does.
  struct Case {
    const char *name;
    int minCount, maxCount, xLo, xHi;
    bool hasOutline;
  };
  const Case cases[] = {
      {"sparse", 3, 12, -6, 16, false},         {"sparse, outlined", 3, 12, -6, 16, true},
      {"dense", 40, 90, 3, 5, false},           {"dense, outlined", 40, 90, 3, 5, true},
      {"dense at the sides", 40, 90, -1, 11, true},
  };
  std::mt19937 rng(20261207);
  for (const Case &c : cases) {
    std::uniform_int_distribution<int> count(c.minCount, c.maxCount), coordX(c.xLo, c.xHi),
        coordY(-5, 13);
    for (int t = 0; t < 1000; ++t) {
      const int n = count(rng);
      std::vector<int> x(static_cast<size_t>(n)), y(static_cast<size_t>(n));
      for (int i = 0; i < n; ++i) {
        // Dense polygons step sideways rarely, as a curve's columns do.
        const bool isDense = c.minCount >= 40;
        x[static_cast<size_t>(i)] = isDense && i > 0 && rng() % 8 != 0 ? x[static_cast<size_t>(i - 1)] : coordX(rng);
        y[static_cast<size_t>(i)] = coordY(rng);
      }
      Area a = makeArea(11, 9, kBlue);
      a->polygon(x.data(), y.data(), n, c.hasOutline ? kGreen : kNone, kRed);
      std::vector<int> expected = referenceFill(11, 9, x, y);
      if (c.hasOutline) referenceOutline(11, 9, x, y, expected);
      ASSERT_EQ(testutil::pixels(a.get()), expected) << c.name << ", polygon " << t;
    }
  }
}

TEST(PolygonFill, AliasedFillVisitsEachEdgeOnlyOnTheRowsItCrosses) {
  // A convex outline crosses each row about twice, so the visits stay within
  // the edges plus a few per row; twice the edges on twice the rows about
  // doubles them (a pass over every edge on every row would quadruple them).
  for (auto [n, side] : {std::pair{20000, 400}, std::pair{40000, 800}, std::pair{80000, 1600}}) {
    const uint64_t visits = aliasedVisits(n, side);
    EXPECT_LE(visits, static_cast<uint64_t>(n + 4 * side)) << n;
  }
  const double ratio = static_cast<double>(aliasedVisits(80000, 1600)) / aliasedVisits(40000, 800);
  EXPECT_GT(ratio, 1.5);
  EXPECT_LT(ratio, 2.5);
}

TEST(PolygonFill, SmoothFillVisitsEachSegmentOnlyInTheBandsItCrosses) {
  // Wide areas have one or two rows a band, so a pass over every segment in
  // every band would cost segments times rows.
  for (auto [n, side] : {std::pair{20000, 2500}, std::pair{40000, 5000}}) {
    const uint64_t visits = smoothVisits(n, side);
    EXPECT_GT(visits, static_cast<uint64_t>(n)) << n;
    EXPECT_LE(visits, static_cast<uint64_t>(n + 4 * side)) << n;
  }
  const double ratio = static_cast<double>(smoothVisits(40000, 5000)) / smoothVisits(20000, 2500);
  EXPECT_GT(ratio, 1.5);
  EXPECT_LT(ratio, 2.5);
}
