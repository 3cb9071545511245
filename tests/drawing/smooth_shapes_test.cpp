// Smooth shapes, by measurement: the coverage of pixels whose share of a
// shape is known by hand, the summed coverage of polygons against their
// exact areas, shapes that meet along an edge, symmetry, sharp axis-aligned
// edges, and the aliased mode left exactly as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "draw_test_util.h"
#include "drawing/coverage.h"
#include "drawing/draw_area_impl.h"

namespace {

using namespace drawtest;
using quorvane::CoverageSink;
using quorvane::FillRule;
using quorvane::Outline;

// Coverage per pixel, as the rasteriser hands it out.
class CoverageMap final : public CoverageSink {
 public:
  void run(int64_t y, int64_t x1, int64_t x2, uint32_t coverage) override {
    for (int64_t x = x1; x <= x2; ++x) at[{x, y}] += coverage;
  }
  double total() const {
    double sum = 0;
    for (const auto &[p, c] : at) sum += c;
    return sum / 255;
  }
  std::map<std::pair<int64_t, int64_t>, uint32_t> at;
};

CoverageMap coverageOf(const std::vector<std::pair<double, double>> &points,
                       FillRule rule = FillRule::NonZero, int64_t w = 200, int64_t h = 200) {
  Outline o(rule);
  o.moveTo(points[0].first, points[0].second);
  for (size_t i = 1; i < points.size(); ++i) o.lineTo(points[i].first, points[i].second);
  CoverageMap map;
  const Outline *list[] = {&o};
  quorvane::CoverageScratch scratch;
  quorvane::rasterise(list, 1, w, h, map, scratch);
  return map;
}

double shoelace(const std::vector<std::pair<double, double>> &p) {
  double twice = 0;
  for (size_t i = 0; i < p.size(); ++i) {
    const auto &q = p[(i + 1) % p.size()];
    twice += p[i].first * q.second - q.first * p[i].second;
  }
  return std::fabs(twice) / 2;
}

TEST(SmoothCoverage, PartlyCoveredPixelsGetTheirShare) {
  struct Case {
    const char *name;
    std::vector<std::pair<double, double>> outline;
    int64_t x, y;
    uint32_t coverage;  // of 255, worked out from the covered area
  } cases[] = {
      {"left half", {{0, 0}, {0.5, 0}, {0.5, 1}, {0, 1}}, 0, 0, 128},
      {"right half of the next pixel", {{1.5, 0}, {3, 0}, {3, 1}, {1.5, 1}}, 1, 0, 128},
      {"fully inside", {{1.5, 0}, {3, 0}, {3, 1}, {1.5, 1}}, 2, 0, 255},
      {"top quarter", {{0, 5}, {4, 5}, {4, 5.25}, {0, 5.25}}, 2, 5, 64},
      {"lower triangle of a diagonal", {{10, 10}, {11, 11}, {10, 11}}, 10, 10, 128},
      {"corner triangle of an eighth", {{20, 20}, {20.5, 20}, {20, 20.5}}, 20, 20, 32},
      {"three quarters", {{30, 30}, {31, 30}, {31, 30.5}, {30.5, 30.5}, {30.5, 31}, {30, 31}},
       30, 30, 191},
  };
  for (const Case &c : cases) {
    const CoverageMap map = coverageOf(c.outline);
    const auto it = map.at.find({c.x, c.y});
    ASSERT_NE(it, map.at.end()) << c.name;
    EXPECT_EQ(it->second, c.coverage) << c.name;
  }
}

TEST(SmoothCoverage, SummedCoverageMatchesTheExactArea) {
  const std::vector<std::vector<std::pair<double, double>>> shapes = {
      {{10.3, 10.7}, {150.2, 30.1}, {60.9, 170.4}},                        // triangle
      {{5, 5}, {190, 7}, {190, 9.5}},                                      // sliver
      {{100, 20}, {180, 100}, {100, 180}, {20, 100}},                      // diamond
      {{20, 20}, {180, 20}, {180, 180}, {100, 60}, {20, 180}},             // concave
      {{50.25, 50.75}, {52.5, 50.1}, {51, 53.3}},                          // a few pixels
      {{-30, 40}, {120, -20}, {260, 90}, {90, 250}},                       // clipped: none outside
  };
  for (size_t i = 0; i < shapes.size(); ++i) {
    const double got = coverageOf(shapes[i]).total();
    if (i + 1 == shapes.size()) {
      // Only the part inside the 200 x 200 area is drawn; it is less.
      EXPECT_LT(got, shoelace(shapes[i]));
      continue;
    }
    EXPECT_NEAR(got, shoelace(shapes[i]), shoelace(shapes[i]) * 0.01) << "shape " << i;
  }
  // A circle of radius 40 drawn by a DrawArea, black fill on white: each
  // pixel's coverage is 255 minus its red channel.
  Area a = makeArea(120, 120);
  a->setAntiAlias(1);
  a->circle(60, 60, 40, 40, col(0xFF000000), kBlack);
  double sum = 0;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 120; ++x) sum += 255 - ((a->getPixel(x, y) >> 16) & 255);
  EXPECT_NEAR(sum / 255, M_PI * 40 * 40, M_PI * 40 * 40 * 0.01);
}

TEST(SmoothCoverage, OutlinesSharingAnEdgeSumToTheWholePixel) {
  // A square cut along a slanted line into two quadrilaterals.
  const auto left = coverageOf({{10, 10}, {40.3, 10}, {22.7, 60}, {10, 60}});
  const auto right = coverageOf({{40.3, 10}, {70, 10}, {70, 60}, {22.7, 60}});
  for (int64_t y = 10; y < 60; ++y)
    for (int64_t x = 10; x < 70; ++x) {
      const auto l = left.at.find({x, y});
      const auto r = right.at.find({x, y});
      const uint32_t sum = (l == left.at.end() ? 0 : l->second) + (r == right.at.end() ? 0 : r->second);
      EXPECT_NEAR(sum, 255, 1) << x << "," << y;
    }
}

TEST(SmoothCoverage, EvenOddLeavesTheCrossedPartOpen) {
  // Two overlapping squares in one outline: non-zero fills the overlap,
  // even-odd leaves it open.
  Outline o(FillRule::EvenOdd);
  o.moveTo(0, 0), o.lineTo(10, 0), o.lineTo(10, 10), o.lineTo(0, 10);
  o.moveTo(5, 5), o.lineTo(15, 5), o.lineTo(15, 15), o.lineTo(5, 15);
  CoverageMap map;
  const Outline *list[] = {&o};
  quorvane::CoverageScratch scratch;
  quorvane::rasterise(list, 1, 20, 20, map, scratch);
  EXPECT_EQ(map.at.count(std::make_pair(int64_t{7}, int64_t{7})), 0u);
  EXPECT_EQ(map.at[std::make_pair(int64_t{2}, int64_t{2})], 255u);
  EXPECT_EQ(map.at[std::make_pair(int64_t{12}, int64_t{12})], 255u);
}

// A 12 x 12 square of DrawArea pixels in smooth mode: its outline runs
// through the centres of the corner pixels, so the border pixels are half
// covered by the fill and the corners a quarter.
TEST(SmoothShapes, OutlinesRunThroughPixelCentres) {
  Area a = makeArea(16, 16);
  a->setAntiAlias(1);
  const int xs[] = {2, 13, 13, 2}, ys[] = {2, 2, 13, 13};
  a->polygon(xs, ys, 4, col(0xFF000000), kBlack);
  auto coverage = [&](int x, int y) { return 255 - (a->getPixel(x, y) & 255); };
  EXPECT_EQ(coverage(2, 7), 128);   // half
  EXPECT_EQ(coverage(13, 7), 128);
  EXPECT_EQ(coverage(7, 2), 128);
  EXPECT_EQ(coverage(2, 2), 64);    // quarter
  EXPECT_EQ(coverage(7, 7), 255);
  EXPECT_EQ(coverage(1, 7), 0);
  EXPECT_EQ(coverage(14, 7), 0);
}

// With an edge, a polygon along rows and columns, a rectangle, and lines
// along a row or a column are the same pixels in both modes, but for the
// outer corners of round joins and dash ends, at most a 16th off.
TEST(SmoothShapes, EdgesAlongRowsAndColumnsStaySharp) {
  auto draw = [](int smooth) {
    Area a = makeArea(40, 40);
    a->setAntiAlias(smooth);
    const int xs[] = {2, 20, 20, 2}, ys[] = {3, 3, 15, 15};
    a->polygon(xs, ys, 4, kBlack, kRed);
    a->rect(22, 2, 35, 12, kBlue, kGreen, 2);
    a->line(1, 20, 38, 20, kBlack, 3);
    a->line(30, 18, 30, 38, kRed, 2);
    a->line(3, 25, 20, 25, a->dashLineColor(kBlue, 0x0302), 1);
    a->surface(5, 30, 15, 30, 0, 5, kBlack, kGreen);
    return testutil::pixels(a.get());
  };
  const std::vector<int> smooth = draw(1), aliased = draw(0);
  int corners = 0;
  for (size_t i = 0; i < smooth.size(); ++i)
    for (int shift = 0; shift < 24; shift += 8) {
      const int d = std::abs((smooth[i] >> shift & 255) - (aliased[i] >> shift & 255));
      EXPECT_LE(d, 16) << i % 40 << "," << i / 40;
      corners += d > 0 && shift == 0;
    }
  EXPECT_LE(corners, 8);
}

TEST(SmoothShapes, CirclesAreSymmetric) {
  for (int mode = 0; mode < 2; ++mode) {
    Area a = makeArea(101, 101);
    a->setAntiAlias(1);
    if (mode == 0) {
      a->circle(50, 50, 31, 17, kBlack, col(0x0080C0FF));
    } else {
      a->circle(50, 50, 23, 23, kRed, kRed);
    }
    for (int dy = 0; dy <= 50; ++dy)
      for (int dx = 0; dx <= 50; ++dx) {
        const int p = a->getPixel(50 + dx, 50 + dy);
        ASSERT_EQ(a->getPixel(50 - dx, 50 + dy), p) << dx << "," << dy;
        ASSERT_EQ(a->getPixel(50 + dx, 50 - dy), p) << dx << "," << dy;
        ASSERT_EQ(a->getPixel(50 - dx, 50 - dy), p) << dx << "," << dy;
        if (mode == 0) continue;
        // Across the diagonal the chords are not bit-for-bit mirror images:
        // within one step of coverage.
        const int q = a->getPixel(50 + dy, 50 + dx);
        for (int shift = 0; shift < 24; shift += 8)
          ASSERT_NEAR((q >> shift) & 255, (p >> shift) & 255, 16) << dx << "," << dy;
      }
  }
}

TEST(SmoothShapes, SlantedShapesGainIntermediateColours) {
  // Every smooth primitive leaves partly covered pixels of its colour over
  // white, in grey only: in 32nds of a pixel by default (black at k / 32
  // over white is 255 less k * 255 / 32 rounded), in many more steps in the
  // fine mode.
  struct Case {
    const char *name;
    void (*draw)(DrawArea *);
  } cases[] = {
      {"line", [](DrawArea *a) { a->line(3, 4, 50, 30, kBlack, 1); }},
      {"thick line", [](DrawArea *a) { a->line(3, 50, 50, 10, kBlack, 4); }},
      {"dashed line", [](DrawArea *a) { a->line(3, 4, 50, 30, a->dashLineColor(kBlack, 0x0404), 2); }},
      {"polygon", [](DrawArea *a) {
         const int xs[] = {5, 50, 30}, ys[] = {5, 20, 55};
         a->polygon(xs, ys, 3, kBlack, kBlack);
       }},
      {"arc", [](DrawArea *a) { a->arc(30, 30, 20, 12, 10, 200, kBlack); }},
      {"sector", [](DrawArea *a) { a->sector(30, 30, 25, 25, 40, 130, kBlack, kBlack); }},
      {"cylinder", [](DrawArea *a) { a->cylinder(30, 20, 20, 8, 90, 270, 0, 10, kBlack, kBlack); }},
      {"gradient polygon", [](DrawArea *a) {
         const int xs[] = {5, 50, 30}, ys[] = {5, 20, 55};
         a->polygon(xs, ys, 3, col(0xFF000000), a->gradientColor(0, 0, 60, 0, kBlack, kBlack));
       }},
  };
  for (const Case &c : cases)
    for (int mode : {1, 2}) {
      Area a = makeArea(60, 60);
      a->setAntiAlias(mode);
      c.draw(a.get());
      std::set<int> greys;
      for (int p : testutil::pixels(a.get())) {
        const int r = (p >> 16) & 255;
        ASSERT_TRUE(r == (p & 255) && r == ((p >> 8) & 255)) << c.name;
        if (r != 0 && r != 255) greys.insert(r);
      }
      if (mode == 1) {
        std::set<int> steps;
        for (int k = 1; k < 32; ++k) steps.insert(255 - (k * 255 + 16) / 32);
        EXPECT_GE(greys.size(), 10u) << c.name;
        for (int g : greys) EXPECT_EQ(steps.count(g), 1u) << c.name << " " << g;
      } else {
        EXPECT_GE(greys.size(), 10u) << c.name;
      }
    }
}

TEST(SmoothShapes, DashesFollowTheOutline) {
  // A 1-pixel dashed slanted line: 4 on, 4 off along its 41 steps gives six
  // dashes; counted along the row of the line's centre.
  Area a = makeArea(60, 30);
  a->setAntiAlias(1);
  a->line(5, 10, 45, 18, a->dashLineColor(kBlack, 0x0404), 1);
  int dashes = 0;
  bool inDash = false;
  for (int x = 0; x < 60; ++x) {
    const int yc = 10 + (x - 5) * 8 / 40;
    int darkest = 255;
    for (int y = yc - 1; y <= yc + 1; ++y) darkest = std::min(darkest, a->getPixel(x, y) & 255);
    const bool dark = darkest < 128;
    if (dark && !inDash) ++dashes;
    inDash = dark;
  }
  EXPECT_EQ(dashes, 6);
}

TEST(SmoothShapes, AliasedModeIsUnchangedAfterSmoothDrawing) {
  auto draw = [](DrawArea *a) {
    const int xs[] = {5, 50, 30, 8}, ys[] = {5, 20, 55, 40};
    a->polygon(xs, ys, 4, kBlack, kRed);
    a->circle(40, 40, 15, 9, kBlue, kGreen);
    a->sector(20, 40, 14, 14, 30, 300, kBlack, kBlue);
    a->arc(30, 30, 25, 20, 200, 20, kRed);
    a->cylinder(30, 10, 20, 6, 90, 270, 0, 5, kBlack, kGreen);
    a->line(0, 59, 59, 0, kBlack, 3);
  };
  Area fresh = makeArea(60, 60);
  draw(fresh.get());
  Area toggled = makeArea(60, 60);
  toggled->setAntiAlias(1);
  toggled->line(1, 1, 30, 9, kBlack, 1);
  toggled->setAntiAlias(0);
  toggled->setBgColor(testutil::kWhite);
  draw(toggled.get());
  EXPECT_EQ(testutil::pixels(toggled.get()), testutil::pixels(fresh.get()));
}

// Two shapes that meet along a slanted edge over white, red then blue: any
// green in a pixel is white showing through. Blended one over the other,
// the pixels along the edge show it; in a seam group their shares add up.
TEST(SmoothShapes, SeamGroupsLeaveNothingShowingThroughASharedEdge) {
  auto greenAlongEdge = [](bool grouped) {
    Area a = makeArea(60, 60);
    a->setAntiAlias(1);
    {
      std::optional<quorvane::DrawAreaImpl::SeamGroup> group;
      if (grouped) group.emplace(*a);
      const int lx[] = {5, 37, 21, 5}, ly[] = {5, 5, 54, 54};
      const int rx[] = {37, 54, 54, 21}, ry[] = {5, 5, 54, 54};
      a->polygon(lx, ly, 4, col(0xFF000000), kRed);
      a->polygon(rx, ry, 4, col(0xFF000000), kBlue);
    }
    int worst = 0;
    for (int y = 8; y <= 50; ++y)
      for (int x = 8; x <= 50; ++x) worst = std::max(worst, (a->getPixel(x, y) >> 8) & 255);
    return worst;
  };
  EXPECT_GT(greenAlongEdge(false), 40);
  EXPECT_LE(greenAlongEdge(true), 2);
}

TEST(SmoothShapes, TextTurnsGreyUnlessItsModeWasChosen) {
  // Small upright text is one-bit in the automatic mode; smooth shapes make
  // it grey unless setAntiAliasText chose otherwise.
  auto levels = [](bool smooth, int textMode) {
    Area a = makeArea(120, 30);
    if (smooth) a->setAntiAlias(1);
    if (textMode >= 0) a->setAntiAliasText(textMode);
    a->text("Smooth 123", "LiberationSans-Regular.ttf", 9, 2, 5, kBlack);
    std::set<int> seen;
    for (int p : testutil::pixels(a.get())) seen.insert(p);
    return seen.size();
  };
  if (levels(false, 1) <= 2) GTEST_SKIP() << "no font to draw with";
  EXPECT_EQ(levels(false, -1), 2u);
  EXPECT_GT(levels(true, -1), 2u);
  EXPECT_EQ(levels(true, 0), 2u);
}

}  // namespace
