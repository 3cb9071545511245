// Extreme arguments: every primitive clips or draws nothing, without
// overflow, long loops or reads outside its buffers.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <vector>

#include "drawing/draw_test_util.h"

using namespace drawtest;

namespace {

constexpr int kMin = INT_MIN, kMax = INT_MAX;
const std::string kUntouched = rows({".......", ".......", ".......", ".......", "......."});
const std::string kCovered = rows({"rrrrrrr", "rrrrrrr", "rrrrrrr", "rrrrrrr", "rrrrrrr"});

std::string look(const Area &a) { return render(a.get(), {{kBlue, '.'}, {kRed, 'r'}}); }

}  // namespace

TEST(Robustness, FarShapesHugeRadiiAndNonFiniteAnglesDrawNothing) {
 for (int smooth : {0, 1}) {
  SCOPED_TRACE(smooth);
  Area a = makeArea(7, 5, kBlue);
  a->setAntiAlias(smooth);
  for (int f : {kMin, -100000, 100000, kMax}) {
    a->hline(0, 6, f, kRed);
    a->vline(0, 4, f, kRed);
    a->line(f, f, f, f, kRed, kMax);
    a->rect(f, f, f, f, kRed, kRed, kMin);
    a->circle(f, 2, 3, 3, kRed, kRed);
    a->arc(3, f, 3, 3, 0, 360, kRed);
    a->sector(f, f, 3, 3, 0, 270, kRed, kRed);
    a->cylinder(f, 2, 2, 2, 0, 300, f, 0, kRed, kRed);
    a->surface(f, f, f, f, f, f, kRed, kRed);
    a->fill(f, 2, kRed);
    a->fill2(3, f, kRed, kGreen);
    a->merge(a.get(), f, f, 3, 0);
    const int px[3] = {f, f, f}, py[3] = {0, 4, f};
    a->polygon(px, py, 3, kRed, kRed);
  }
  a->polygon(nullptr, nullptr, 3, kRed, kRed);
  for (int w : {0, -1, kMin}) a->line(0, 2, 6, 2, kRed, w);
  // Radii above 2^20 and non-finite angles draw nothing.
  for (int r : {(1 << 20) + 1, kMax, 0, kMin}) {
    a->circle(3, 2, r, 2, kRed, kRed);
    a->arc(3, 2, 2, r, 0, 180, kRed);
    a->sector(3, 2, r, r, 0, 180, kRed, kRed);
    a->cylinder(3, 2, r, 2, 0, 180, 0, 1, kRed, kRed);
  }
  for (double bad : {NAN, INFINITY, -INFINITY}) {
    a->arc(3, 2, 3, 2, bad, 90, kRed);
    a->sector(3, 2, 3, 2, 0, bad, kRed, kRed);
    a->cylinder(3, 2, 3, 2, bad, bad, 0, 1, kRed, kRed);
  }
  a->setColorTable(&kRed, kMax, kMax);
  EXPECT_EQ(look(a), kUntouched);
  // Huge finite angles are reduced and draw.
  a->sector(3, 2, 3, 2, 1e300, -1e300, kRed, kRed);
  EXPECT_NE(look(a), kUntouched);
 }
}

TEST(Robustness, HugeShapesClipToTheArea) {
  for (const int smooth : {0, 1}) {
    SCOPED_TRACE(smooth);
    Area a = makeArea(7, 5, kBlue);
    a->setAntiAlias(smooth);
    // y = x; smooth, through the pixel centres and one pixel across, it
    // covers 1 - (1 - 1/sqrt 2)^2 = 0.91 of the pixels it crosses (15/16 to
    // the nearest 16th) and a corner of 1/4 of their neighbours.
    a->line(kMin, kMin, kMax, kMax, kRed, 1);
    if (smooth == 0) {
      EXPECT_EQ(look(a), rows({"r......", ".r.....", "..r....", "...r...", "....r.."}));
    } else {
      EXPECT_NEAR(a->getPixel(2, 2) >> 16 & 255, 255 * 15 / 16, 1);
      EXPECT_NEAR(a->getPixel(2, 2) & 255, 255 * 1 / 16, 1);
      EXPECT_EQ(a->getPixel(3, 2), col(0x4000BF));
      EXPECT_EQ(a->getPixel(5, 1), kBlue);
    }
    const std::vector<std::function<void()>> covering = {
        [&] { a->line(kMin, 2, kMax, 2, kRed, kMax); },  // width limited to 7
        [&] { a->rect(kMin, kMin, kMax, kMax, kRed, kRed, 0); },
        [&] {
          const int px[3] = {kMin, kMax, 0}, py[3] = {kMin, kMin, kMax};
          a->polygon(px, py, 3, kRed, kRed);
        },
        [&] { a->surface(kMin, kMax, kMax, kMax, 0, kMax, kRed, kRed); },
        [&] { a->circle(3, 2, 1 << 20, 1 << 20, kRed, kRed); },
        [&] { a->sector(3, 2, 1 << 20, 1 << 20, 0, 359.9, kRed, kRed); },
        [&] { a->cylinder(3, -200, 1 << 20, 100, 90, 270, 0, 1 << 20, kRed, kRed); },
        [&] { a->fill2(0, 0, kRed, kGreen); },
        [&] {
          for (int y = 0; y < 5; ++y) a->hline(kMin, kMax, y, kRed);
        },
        [&] {
          for (int x = 0; x < 7; ++x) a->vline(kMax, kMin, x, kRed);
        },
        // A dashed ring the size of the radius limit is walked in bounded steps.
        [&] { a->circle(3, 2, 1 << 20, 1 << 20, a->dashLineColor(kRed, 0x0101), kRed); },
    };
    for (size_t k = 0; k < covering.size(); ++k) {
      a->setBgColor(kBlue);
      covering[k]();
      EXPECT_EQ(look(a), kCovered) << "shape " << k;
    }
  }
}

TEST(Robustness, SpecialColoursAcceptExtremeArguments) {
  Area a = makeArea(7, 5, kBlue);
  const int stops[4] = {0, kRed, 255, kBlue};
  EXPECT_EQ(a->getColorAt(a->gradientColor(2, 2, 2, 2, kRed, kBlue), kMax, kMin), kRed);
  for (int c : {a->gradientColor(kMin, kMin, kMax, kMax, kRed, kBlue),
                a->gradientColor2(stops, NAN, 1e-300, kMin, kMax),
                a->gradientColor2(stops, 1e308, -INFINITY, 0, 0),
                a->patternColor(&kRed, 1, 1, kMin, kMax), a->dashLineColor(kRed, -1)}) {
    a->line(kMin, kMax, kMax, kMin, c, 2);
    a->getColorAt(c, kMin, kMax);
  }
}
