// Ellipses, arcs, pie sectors and the walls of 3D sectors.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "drawing/draw_test_util.h"

using namespace drawtest;

namespace {

const std::map<int, char> kShape{{kBlack, '.'}, {kRed, 'r'}, {kBlue, 'b'}};

// rx = 4, ry = 3: the midpoint rule gives |dx| runs {4,4} {4,4} {3,3} {0,2}
// on rows dy = 0 ... 3; the top row has no fill.
const std::string kEllipse43 =
    rows({"...........", "...rrrrr...", "..rbbbbbr..", ".rbbbbbbbr.", ".rbbbbbbbr.",
          ".rbbbbbbbr.", "..rbbbbbr..", "...rrrrr...", "..........."});

}  // namespace

TEST(Ellipse, CircleOutlinesAndFillsEachRowOnce) {
  Area a = makeArea(11, 9, kBlack);
  a->circle(5, 4, 4, 3, kRed, kBlue);
  EXPECT_EQ(render(a.get(), kShape), kEllipse43);
  a->setBgColor(kBlack);  // rx = 3, ry = 4: {3,3} {3,3} {3,3} {2,2} {0,1}
  a->circle(5, 4, 3, 4, kRed, kBlue);
  EXPECT_EQ(render(a.get(), kShape),
            rows({"....rrr....", "...rbbbr...", "..rbbbbbr..", "..rbbbbbr..", "..rbbbbbr..",
                  "..rbbbbbr..", "..rbbbbbr..", "...rbbbr...", "....rrr...."}));

  // Many radii, and very flat and very tall ones: fill and outline never
  // overlap, the shape is symmetric, stays in its box, every row is one run,
  // and each row's run follows the true ellipse within a pixel.
  std::vector<std::pair<int, int>> radii{{50, 1}, {1, 100}};
  for (int rx = 1; rx <= 25; ++rx)
    for (int ry = 1; ry <= 25; ++ry) radii.push_back({rx, ry});
  auto trueX = [](int rx, int ry, double dy) {
    return rx * std::sqrt(std::max(0.0, 1 - dy * dy / (double(ry) * ry)));
  };
  for (auto [rx, ry] : radii) {
    const int w = 2 * rx + 3, h = 2 * ry + 3;
    Area b = makeArea(w, h, kBlack);
    b->circle(rx + 1, ry + 1, rx, ry, kGlass, kGlass);
    for (int y = 0; y < h; ++y) {
      int count = 0, right = -1;
      for (int x = 0; x < w; ++x) {
        const int p = b->getPixel(x, y);
        ASSERT_TRUE(p == kBlack || p == 0x007F7F7F) << rx << "x" << ry << " at " << x << "," << y;
        ASSERT_EQ(p, b->getPixel(w - 1 - x, y));
        ASSERT_EQ(p, b->getPixel(x, h - 1 - y));
        if (p != kBlack) ++count, right = x - rx - 1;
      }
      const int dy = std::abs(y - ry - 1);
      ASSERT_EQ(count, dy > ry ? 0 : 2 * right + 1) << rx << "x" << ry << " row " << dy;
      if (dy > ry) continue;
      ASSERT_TRUE(dy > 0 || right == rx);
      ASSERT_LE(right, dy == 0 ? rx : std::min<double>(rx, trueX(rx, ry, dy - 0.5) + 1)) << rx;
      ASSERT_GE(right, trueX(rx, ry, dy + 0.5) - 1) << rx << "x" << ry << " row " << dy;
    }
  }
}

TEST(Ellipse, ArcsAndSectorsRunClockwiseFromTwelve) {
  Area a = makeArea(11, 9, kBlack);
  a->arc(5, 4, 4, 3, 0, 90, kRed);
  EXPECT_EQ(render(a.get(), kShape),
            rows({"...........", ".....rrr...", "........r..", ".........r.", ".........r.",
                  "...........", "...........", "...........", "..........."}));
  a->setBgColor(kBlack);
  a->sector(5, 4, 4, 3, 0, 90, kRed, kBlue);
  EXPECT_EQ(render(a.get(), kShape),
            rows({"...........", ".....rrr...", ".....rbbr..", ".....rbbbr.", ".....rrrrr.",
                  "...........", "...........", "...........", "..........."}));
  // Exactly the upper-right quarter of the ellipse, each pixel once.
  a->setBgColor(kBlack);
  a->sector(5, 4, 4, 3, 0, 90, kGlass, kGlass);
  std::string quarter = kEllipse43;
  for (size_t i = 0; i < quarter.size(); ++i)
    if (quarter[i] != '\n') quarter[i] = quarter[i] != '.' && i % 12 >= 5 && i / 12 <= 4 ? '1' : '.';
  EXPECT_EQ(touches(a.get()), quarter);

  // Angles beyond a turn are reduced by the remainder, negative ones raised
  // by 360; 360 itself stays, so 0 to 360 is the whole ellipse.
  Area ref = makeArea(11, 9, kBlack);
  ref->sector(5, 4, 4, 3, 90, 180, kRed, kBlue);
  ref->arc(5, 4, 4, 3, 270, 360, kRed);
  for (auto [a1, a2] : {std::pair{-270.0, -180.0}, {450.0, 540.0}, {-630.0, -540.0}}) {
    a->setBgColor(kBlack);
    a->sector(5, 4, 4, 3, a1, a2, kRed, kBlue);
    a->arc(5, 4, 4, 3, -450, -360, kRed);
    EXPECT_EQ(render(a.get(), kShape), render(ref.get(), kShape)) << a1;
  }
  ref->circle(5, 4, 4, 3, kRed, kRed);
  a->sector(5, 4, 4, 3, 0, 360, kRed, kRed);
  EXPECT_EQ(render(a.get(), kShape), render(ref.get(), kShape));
}

TEST(Ellipse, ComplementaryArcsShareOnlyTheirEndPointsAndSectorsMakeTheDisc) {
  Area outline = makeArea(31, 19, kBlack), disc = makeArea(31, 19, kBlack);
  outline->circle(15, 9, 13, 7, kGlass, kNone);
  disc->circle(15, 9, 13, 7, kRed, kRed);
  const std::string once = touches(outline.get());
  const double pairs[][2] = {{30, 100}, {200, 300}, {170, 190}, {350, 10},
                             {0, 180},  {45, 315},  {90, 270},  {120, 240.5}};
  for (const auto &p : pairs) {
    Area a = makeArea(31, 19, kBlack);
    a->arc(15, 9, 13, 7, p[0], p[1], kGlass);
    a->arc(15, 9, 13, 7, p[1], p[0], kGlass);
    std::string seen = touches(a.get());
    EXPECT_EQ(std::count(seen.begin(), seen.end(), '2'), 2) << p[0] << " " << p[1];
    std::replace(seen.begin(), seen.end(), '2', '1');
    EXPECT_EQ(seen, once) << p[0] << " " << p[1];
    Area b = makeArea(31, 19, kBlack);
    b->sector(15, 9, 13, 7, p[0], p[1], kRed, kRed);
    b->sector(15, 9, 13, 7, p[1], p[0], kRed, kRed);
    EXPECT_EQ(render(b.get(), kShape), render(disc.get(), kShape)) << p[0] << " " << p[1];
  }
}

TEST(Ellipse, DashesFollowTheArcClockwise) {
  // "--  " over (5,1) (6,1) (7,1) (8,2) (9,3) and the end point (9,4); then
  // over (1,4) (1,3) (2,2) (3,1) (4,1) (5,1): the top row runs towards the centre.
  Area a = makeArea(11, 9, kBlack);
  const int dash = a->dashLineColor(kRed, 0x0202);
  a->arc(5, 4, 4, 3, 0, 90, dash);
  a->arc(5, 4, 4, 3, 270, 360, dash);
  EXPECT_EQ(render(a.get(), kShape),
            rows({"...........", "....rrr....", "...........", ".r.......r.", ".r.......r.",
                  "...........", "...........", "...........", "..........."}));
}

TEST(Ellipse, CylinderWallJoinsTwoArcs) {
  // The lower halves of the rx = 4, ry = 3 ellipse at (5, 2) and (5, 5). The
  // far arc leaves out its start points and draws its end points; the
  // joining sides run over the near arc at (1, 3) and (9, 3).
  Area a = makeArea(11, 9, kBlack);
  a->cylinder(5, 2, 4, 3, 90, 270, 0, 3, kRed, kBlue);
  EXPECT_EQ(render(a.get(), kShape),
            rows({"...........", "...........", ".r.......r.", ".r.......r.", ".rr.....rr.",
                  ".rbrrrrrbr.", ".rbbbbbbbr.", "..rbbbbbr..", "...rrrrr..."}));
  a->setBgColor(kBlack);
  a->cylinder(5, 2, 4, 3, 90, 270, 0, 3, kGlass, kNone);
  EXPECT_EQ(touches(a.get()),
            rows({"...........", "...........", ".1.......1.", ".2.......2.", ".11.....11.",
                  ".1.11111.1.", ".1.......1.", "..1.....1..", "...11111..."}));
}

TEST(Ellipse, OutlineHasNoGapsWhereTheTwoRegionsMeet) {
  // On each row of the right half the outline is one run; the run of the row
  // nearer the centre must touch it, at least diagonally (a radius-4 circle
  // is the smallest case where the two halves of the midpoint rule disagree).
  for (int rx = 1; rx <= 60; ++rx)
    for (int ry = 1; ry <= 60; ++ry) {
      Area a = makeArea(2 * rx + 3, ry + 2, kBlack);
      a->circle(rx + 1, ry + 1, rx, ry, kRed, kNone);
      int prevOuter = -1;
      for (int dy = ry; dy >= 0; --dy) {
        int inner = -1, outer = -1;
        for (int u = 0; u <= rx; ++u)
          if (a->getPixel(rx + 1 + u, ry + 1 - dy) == kRed) {
            if (inner < 0) inner = u;
            outer = u;
          }
        ASSERT_GE(inner, 0) << rx << "x" << ry << " row " << dy;
        if (prevOuter >= 0) {
          ASSERT_LE(inner, prevOuter + 1) << rx << "x" << ry << " gap above row " << dy;
        }
        prevOuter = outer;
      }
      EXPECT_EQ(prevOuter, rx);
    }
}
