// Smooth drawing in steps (SmoothQuarters) and the palette levels it settles
// into: the grid rounding with ties to even, the budget giving the rarest
// pairs fewer levels but never fewer than quarters, hairlines whose ink is
// their exact area, and a drawing of more pairs than fit 256 colours written
// as a palette PNG that reads back (libpng) as drawn.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "imageio/codec_test_util.h"
#include "imageio/palette.h"
#include "test_util.h"

namespace {

using namespace testutil;
using quorvane::imageio::BlendPair;
using quorvane::imageio::blendPairColors;
using quorvane::imageio::fitBlendPairs;
using quorvane::imageio::stepOnGrid;

constexpr uint64_t kAllSteps = ((uint64_t{1} << 16) - 1) << 1;  // steps 1 ... 16

TEST(SmoothLevels, StepsRoundToTheNearestLevelTiesToEven) {
  const struct {
    int step, levels, level;
  } cases[] = {{2, 4, 0}, {6, 4, 2},  {10, 4, 2}, {14, 4, 4}, {3, 4, 1},  {5, 4, 1},
               {1, 8, 0}, {3, 8, 2},   {15, 8, 8}, {15, 4, 4}, {8, 8, 4}, {9, 16, 9}};
  for (const auto &c : cases) EXPECT_EQ(stepOnGrid(c.step, c.levels), c.level) << c.step << "/" << c.levels;
  // Every step used: 15 colours between on the whole grid and the whole
  // colour, 7 + 1 on eight levels, 3 + 1 on quarters.
  EXPECT_EQ(blendPairColors(kAllSteps & ~(uint64_t{1} << 16), 16), 15);
  EXPECT_EQ(blendPairColors(kAllSteps, 16), 16);
  EXPECT_EQ(blendPairColors(kAllSteps, 8), 8);
  EXPECT_EQ(blendPairColors(kAllSteps, 4), 4);
}

TEST(SmoothLevels, BudgetGivesTheRarestPairsFewerLevelsNeverBelowQuarters) {
  const struct {
    int pairs, fixed, budget;
    bool fits;
  } cases[] = {{6, 20, 256, true}, {12, 20, 256, true}, {40, 20, 256, true},
               {59, 20, 256, true}, {60, 20, 256, false}, {1, 300, 256, false}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.pairs);
    std::vector<BlendPair> pairs(static_cast<size_t>(c.pairs));
    for (size_t i = 0; i < pairs.size(); ++i) {
      pairs[i].pixels = (i * 37) % 101 + 1;  // shuffled counts
      pairs[i].stepsUsed = kAllSteps;
    }
    EXPECT_EQ(fitBlendPairs(pairs, c.fixed, c.budget), c.fits);
    int total = c.fixed;
    for (const auto &p : pairs) {
      total += blendPairColors(p.stepsUsed, p.levels);
      EXPECT_GE(p.levels, 4);
      // A rarer pair never keeps more levels than a more common one.
      for (const auto &q : pairs)
        if (p.pixels < q.pixels) {
          EXPECT_LE(p.levels, q.levels);
        }
    }
    if (c.fits) {
      EXPECT_LE(total, c.budget);
    }
    // Sixteen levels for every pair whenever they fit.
    if (c.fixed + 16 * c.pairs <= c.budget) {
      for (const auto &p : pairs) EXPECT_GE(p.levels, 16);
    }
  }
}

// Ink of column x: the sum of (255 - red) / 255 down the column.
double inkOfColumn(DrawArea *a, int x) {
  double ink = 0;
  for (int y = 0; y < a->getHeight(); ++y) ink += (255 - ((a->getPixel(x, y) >> 16) & 255)) / 255.0;
  return ink;
}

TEST(SmoothLevels, HairlineInkIsItsAreaAndEdgesHaveSixteenLevels) {
  // A line of width 1 holds one unit of ink per unit of its length, so a
  // column it crosses holds length / columns of it.
  const struct {
    int x2, y2;  // from (0, 0)
  } cases[] = {{120, 120}, {173, 100}, {200, 23}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.y2);
    Area a = makeArea(201, 121);
    a->setAntiAlias(1);
    a->line(0, 0, c.x2, c.y2, kBlack, 1);
    double ink = 0;
    std::set<int> greys;
    for (int x = 20; x < c.x2 - 20; ++x) {
      ink += inkOfColumn(a.get(), x);
      for (int y = 0; y < 121; ++y) {
        const int p = a->getPixel(x, y);
        if (p != kWhite && p != kBlack) greys.insert(p);
      }
    }
    const double exact = (c.x2 - 40) * std::hypot(c.x2, c.y2) / c.x2;
    EXPECT_NEAR(ink, exact, 0.03 * exact);
    // A line through pixel centres at 45 degrees covers in two amounts only.
    if (c.x2 == c.y2) continue;
    EXPECT_GE(greys.size(), 15u);  // 16 levels: 15 between and black
  }
}

// Pairs of many colours over white: slanted triangles of n colours, the
// first long, each further one shorter, so that the last are the rarest.
void drawPairs(DrawArea *a, int n) {
  for (int i = 0; i < n; ++i) {
    const int top = 4 + (i % 10) * 30, left = 4 + (i / 10) * 100, length = 90 - i * 2;
    const int xs[] = {left, left + length, left};
    const int ys[] = {top, top + 25, top + 25};
    const int color = (i * 0x3B5) << 8 ^ (i * 77);
    a->polygon(xs, ys, 3, color, color);
  }
}

TEST(SmoothLevels, MorePairsThanFitDegradeTheRarestAndStillWriteAPalette) {
  for (const int n : {4, 40}) {
    SCOPED_TRACE(n);
    Area a = makeArea(404, 304);
    a->setAntiAlias(1);
    drawPairs(a.get(), n);
    const Bytes png = bytesOf(a->outPNG2());
    const iotest::PngImage image = iotest::decodePng(png);
    ASSERT_TRUE(image.ok);
    EXPECT_EQ(image.colorType, 3);
    std::set<int> all;
    for (int p : pixels(a.get())) all.insert(p);
    EXPECT_LE(all.size(), 256u);
    for (int y = 0; y < 304; ++y)
      for (int x = 0; x < 404; ++x)
        ASSERT_EQ(iotest::pngPixel(image, x, y), static_cast<uint32_t>(a->getPixel(x, y)));
    // Blends along the slanted edge of the first (commonest) and the last
    // (rarest) triangle: 16 or more while all fit, never fewer than quarters,
    // and never fewer for the commoner.
    const auto levelsOf = [&](int i) {
      std::set<int> mixes;
      const int top = 4 + (i % 10) * 30, left = 4 + (i / 10) * 100;
      for (int y = top; y <= top + 25; ++y)
        for (int x = left; x <= left + 90; ++x) mixes.insert(a->getPixel(x, y));
      return mixes.size() - 2;  // less the colour and white
    };
    if (n == 4) {
      EXPECT_GE(levelsOf(n - 1), 15u);
    } else {
      EXPECT_GE(levelsOf(0), levelsOf(n - 1));
    }
    EXPECT_GE(levelsOf(n - 1), 3u);
  }
}

}  // namespace
