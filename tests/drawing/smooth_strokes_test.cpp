// Smooth strokes measured against the exact figures, supersampled 16 x 16 a
// pixel here: a line's ink per unit length is its width at every angle, a
// translucent polyline covers each pixel once, a fill and its edge in one
// colour cover their union, and mirror-image shapes draw mirror images.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "draw_test_util.h"
#include "drawing/area_access.h"

namespace {

using namespace drawtest;

struct P {
  double x, y;
};

double distanceToSegment(P p, P a, P b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

bool insidePolygon(P p, const std::vector<P> &q) {
  bool in = false;
  for (size_t i = 0, j = q.size() - 1; i < q.size(); j = i++)
    if ((q[i].y > p.y) != (q[j].y > p.y) &&
        p.x < q[j].x + (q[i].x - q[j].x) * (p.y - q[j].y) / (q[i].y - q[j].y))
      in = !in;
  return in;
}

// Coverage of 255 of pixel (x, y) by the figure, 16 x 16 samples.
int exactCoverage(const std::function<bool(P)> &isIn, int x, int y) {
  int n = 0;
  for (int j = 0; j < 16; ++j)
    for (int i = 0; i < 16; ++i) n += isIn({x + (i + 0.5) / 16, y + (j + 0.5) / 16});
  return (n * 255 + 128) / 256;
}

// Black drawn over white in the fine mode: a pixel's coverage is 255 less
// its red channel.
int drawnCoverage(DrawArea *a, int x, int y) { return 255 - ((a->getPixel(x, y) >> 16) & 255); }

P centre(int x, int y) { return {x + 0.5, y + 0.5}; }

TEST(SmoothStrokes, InkPerUnitLengthIsTheWidthAtEveryAngle) {
  for (int width : {1, 3})
    for (double degrees : {7.0, 30.0, 45.0, 80.0}) {
      Area a = makeArea(240, 240);
      a->setAntiAlias(2);
      const double t = degrees * M_PI / 180;
      const int x1 = 20, y1 = 20;
      const int x2 = x1 + static_cast<int>(std::lround(190 * std::cos(t)));
      const int y2 = y1 + static_cast<int>(std::lround(190 * std::sin(t)));
      a->line(x1, y1, x2, y2, kBlack, width);
      // The ink between two cuts across the line, well away from its ends.
      const double dx = x2 - x1, dy = y2 - y1, length = std::hypot(dx, dy);
      double ink = 0;
      for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 240; ++x) {
          const double along = ((x - x1) * dx + (y - y1) * dy) / length;
          if (along >= 0.25 * length && along < 0.75 * length) ink += drawnCoverage(a.get(), x, y);
        }
      EXPECT_NEAR(ink / 255 / (0.5 * length), width, 0.03 * width)
          << "width " << width << " at " << degrees << " degrees";
    }
}

TEST(SmoothStrokes, TranslucentStrokesBlendEachPixelOnce) {
  // Black at half opacity over white: one whole coat leaves 127 or 128, a
  // second one less.
  const int glass = col(0x80000000);
  struct Case {
    const char *name;
    std::function<void(DrawArea *)> draw;
  } cases[] = {
      {"zigzag of width 1", [&](DrawArea *a) {
         const int xs[] = {5, 30, 40, 70, 72, 95}, ys[] = {60, 10, 70, 20, 75, 5};
         quorvane::polyline(*a, xs, ys, 6, glass, 1);
       }},
      {"zigzag of width 5", [&](DrawArea *a) {
         const int xs[] = {5, 30, 40, 70, 90, 50}, ys[] = {60, 10, 70, 20, 75, 88};
         quorvane::polyline(*a, xs, ys, 6, glass, 5);
       }},
      {"polygon edge", [&](DrawArea *a) {
         const int xs[] = {10, 90, 50, 60, 20}, ys[] = {10, 20, 50, 90, 70};
         a->polygon(xs, ys, 5, glass, Transparent);
       }},
      {"sector edge", [&](DrawArea *a) { a->sector(50, 50, 40, 40, 20, 250, glass, Transparent); }},
      {"polygon filled in its edge colour", [&](DrawArea *a) {
         const int xs[] = {10, 90, 50, 60, 20}, ys[] = {10, 20, 50, 90, 70};
         a->polygon(xs, ys, 5, glass, glass);
       }},
  };
  for (const Case &c : cases) {
    Area a = makeArea(100, 100);
    a->setAntiAlias(2);
    c.draw(a.get());
    int darkest = 255, touched = 0;
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 100; ++x) {
        const int r = (a->getPixel(x, y) >> 16) & 255;
        darkest = std::min(darkest, r);
        touched += r < 255;
      }
    EXPECT_GE(darkest, 127) << c.name;
    EXPECT_GT(touched, 100) << c.name;
  }
}

TEST(SmoothStrokes, FillAndItsEdgeInOneColourCoverTheirUnion) {
  struct Case {
    const char *name;
    std::function<void(DrawArea *)> draw;
    std::function<bool(P)> isIn;
  };
  const std::vector<int> tx = {12, 110, 40}, ty = {8, 35, 100};
  const std::vector<int> cx = {10, 110, 60, 100, 15}, cy = {10, 15, 50, 105, 90};
  auto polygonCase = [](const char *name, std::vector<int> xs, std::vector<int> ys) {
    std::vector<P> q;
    for (size_t i = 0; i < xs.size(); ++i) q.push_back(centre(xs[i], ys[i]));
    return Case{name,
                [=](DrawArea *a) {
                  a->polygon(xs.data(), ys.data(), static_cast<int>(xs.size()), kBlack, kBlack);
                },
                [=](P p) {
                  if (insidePolygon(p, q)) return true;
                  for (size_t i = 0; i < q.size(); ++i)
                    if (distanceToSegment(p, q[i], q[(i + 1) % q.size()]) <= 0.5) return true;
                  return false;
                }};
  };
  // The sector 40 ... 130 degrees (clockwise from the top) of radius 50.
  const P c = centre(40, 30);
  auto sectorIn = [c](P p) {
    const double r = std::hypot(p.x - c.x, p.y - c.y);
    const double deg = std::fmod(std::atan2(p.x - c.x, c.y - p.y) * 180 / M_PI + 360, 360);
    const bool within = deg >= 40 && deg <= 130;
    auto end = [&](double d) {
      return P{c.x + 50 * std::sin(d * M_PI / 180), c.y - 50 * std::cos(d * M_PI / 180)};
    };
    return (within && r <= 50.5) || distanceToSegment(p, c, end(40)) <= 0.5 ||
           distanceToSegment(p, c, end(130)) <= 0.5;
  };
  const Case cases[] = {
      polygonCase("triangle", tx, ty),
      polygonCase("concave", cx, cy),
      {"sector", [](DrawArea *a) { a->sector(40, 30, 50, 50, 40, 130, kBlack, kBlack); }, sectorIn},
  };
  for (const Case &k : cases) {
    Area a = makeArea(120, 120);
    a->setAntiAlias(2);
    k.draw(a.get());
    double errors = 0;
    int worst = 0, counted = 0;
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 120; ++x) {
        const int e = std::abs(drawnCoverage(a.get(), x, y) - exactCoverage(k.isIn, x, y));
        if (e == 0 && drawnCoverage(a.get(), x, y) % 255 == 0) continue;
        errors += e;
        worst = std::max(worst, e);
        ++counted;
      }
    ASSERT_GT(counted, 0) << k.name;
    EXPECT_LE(errors / counted, 3) << k.name << ", worst " << worst;
  }
}

TEST(SmoothStrokes, StrokesCoverTheirExactBands) {
  // Each stroke against the band of points within half its width of the
  // path, away from an open path's square ends: a wide zigzag (round outer
  // corners), a polygon edge with a side too short for the inner corners at
  // its ends, and a sector's edge over no fill.
  struct Case {
    const char *name;
    std::function<void(DrawArea *)> draw;
    std::vector<P> path;
    double half;
  };
  auto points = [](std::vector<int> xs, std::vector<int> ys) {
    std::vector<P> q;
    for (size_t i = 0; i < xs.size(); ++i) q.push_back(centre(xs[i], ys[i]));
    return q;
  };
  const std::vector<int> zx = {10, 13, 16, 19, 22, 25, 60}, zy = {70, 40, 70, 40, 70, 40, 60};
  const std::vector<int> qx = {10, 90, 89, 50}, qy = {10, 10, 11, 90};
  std::vector<P> sectorEdge{centre(50, 50)};
  for (int d = 20; d <= 250; ++d)
    sectorEdge.push_back({50.5 + 40 * std::sin(d * M_PI / 180), 50.5 - 40 * std::cos(d * M_PI / 180)});
  sectorEdge.push_back(centre(50, 50));
  const Case cases[] = {
      {"zigzag of width 5",
       [&](DrawArea *a) { quorvane::polyline(*a, zx.data(), zy.data(), 7, kBlack, 5); },
       points(zx, zy), 2.5},
      {"polygon edge with a short side",
       [&](DrawArea *a) { a->polygon(qx.data(), qy.data(), 4, kBlack, Transparent); },
       [&] {
         std::vector<P> loop = points(qx, qy);
         loop.push_back(loop.front());
         return loop;
       }(),
       0.5},
      {"sector edge", [](DrawArea *a) { a->sector(50, 50, 40, 40, 20, 250, kBlack, Transparent); },
       sectorEdge, 0.5},
  };
  for (const Case &k : cases) {
    Area a = makeArea(100, 100);
    a->setAntiAlias(2);
    k.draw(a.get());
    auto distance = [&](P p) {
      double d = HUGE_VAL;
      for (size_t i = 0; i + 1 < k.path.size(); ++i)
        d = std::min(d, distanceToSegment(p, k.path[i], k.path[i + 1]));
      return d;
    };
    auto isIn = [&](P p) { return distance(p) <= k.half; };
    const P first = k.path.front(), last = k.path.back();
    const bool isOpen = first.x != last.x || first.y != last.y;
    double errors = 0;
    int worst = 0, counted = 0;
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 100; ++x) {
        const P p = centre(x, y);
        if (isOpen && (std::hypot(p.x - first.x, p.y - first.y) < 2 * k.half + 1 ||
                       std::hypot(p.x - last.x, p.y - last.y) < 2 * k.half + 1))
          continue;
        // A pixel lies wholly inside or outside the band when its centre is
        // more than half its diagonal from the band's side.
        const double d = distance(p);
        const int exact = d > k.half + 0.75 ? 0 : d < k.half - 0.75 ? 255 : exactCoverage(isIn, x, y);
        const int drawn = drawnCoverage(a.get(), x, y), e = std::abs(drawn - exact);
        if (e == 0 && drawn % 255 == 0) continue;
        errors += e;
        worst = std::max(worst, e);
        ++counted;
      }
    ASSERT_GT(counted, 50) << k.name;
    EXPECT_LE(errors / counted, 3.5) << k.name;
    EXPECT_LE(worst, 24) << k.name;
  }
}

TEST(SmoothStrokes, MirrorImageShapesDrawMirrorImages) {
  struct Case {
    const char *name;
    std::function<void(DrawArea *)> draw;
  } cases[] = {
      {"peaked polyline", [](DrawArea *a) {
         const int xs[] = {5, 30, 50, 70, 95}, ys[] = {80, 40, 10, 40, 80};
         quorvane::polyline(*a, xs, ys, 5, kBlack, 3);
       }},
      {"arrow polygon", [](DrawArea *a) {
         const int xs[] = {50, 90, 62, 62, 38, 38, 10}, ys[] = {5, 45, 45, 95, 95, 45, 45};
         a->polygon(xs, ys, 7, kBlack, kBlack);
       }},
      {"sector about the vertical", [](DrawArea *a) { a->sector(50, 60, 40, 40, 300, 60, kBlack, kBlack); }},
      {"sector edged in another colour", [](DrawArea *a) { a->sector(50, 60, 40, 40, 135, 225, kRed, kBlue); }},
  };
  for (const Case &c : cases) {
    Area a = makeArea(101, 101);
    a->setAntiAlias(2);
    c.draw(a.get());
    for (int y = 0; y < 101; ++y)
      for (int x = 0; x < 50; ++x)
        ASSERT_EQ(a->getPixel(x, y), a->getPixel(100 - x, y)) << c.name << " at " << x << "," << y;
  }
}

}  // namespace
