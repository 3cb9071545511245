// Dash patterns, tiled patterns, gradients and the special-colour list.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "drawing/draw_test_util.h"

using namespace drawtest;

namespace {

const std::map<int, char> kDrawn{{kBlue, '.'}, {kRed, 'r'}};

}  // namespace

TEST(SpecialColors, DashAdvancesAlongTouchingPixelsAndRestartsOnJumps) {
  Area a = makeArea(20, 4, kBlue);
  a->hline(0, 19, 0, a->dashLineColor(kRed, 0));  // 0 is taken as 0x0505
  a->hline(0, 19, 1, a->dashLineColor(kRed, 0x0505));
  const int gap = a->dashLineColor(kRed, 0x0505);
  a->hline(0, 6, 2, gap);
  a->hline(10, 16, 2, gap);  // three pixels away: starts again
  a->hline(0, 19, 3, a->dashLineColor(kRed, 0x05050205));  // "-----     --     "
  EXPECT_EQ(render(a.get(), kDrawn), rows({"rrrrr.....rrrrr.....", "rrrrr.....rrrrr.....",
                                           "rrrrr.....rrrrr.....", "rrrrr.....rr.....rrr"}));
  // A polyline continues one pattern ("---   "); vline runs top to bottom.
  Area b = makeArea(7, 8, kBlue);
  const int corner = b->dashLineColor(kRed, 0x0303);
  b->line(0, 1, 4, 1, corner, 1);
  b->line(4, 1, 4, 6, corner, 1);  // (4, 1) again does not advance
  b->vline(7, 0, 6, b->dashLineColor(kRed, 0));
  EXPECT_EQ(render(b.get(), kDrawn), rows({"......r", "rrr...r", "......r", "....r.r", "....r.r",
                                           "....r..", ".......", "......."}));
  // A line starts its pattern at its first point even when walked backwards,
  // and a thick line switches whole columns.
  Area c = makeArea(11, 7, kBlue);
  c->line(9, 3, 0, 0, c->dashLineColor(kRed, 0x0301), 1);  // "--- "
  c->line(0, 5, 10, 5, c->dashLineColor(kRed, 0x0202), 3);
  EXPECT_EQ(render(c.get(), kDrawn),
            rows({"rr.........", "...rr......", ".....r.r...", "........rr.", "rr..rr..rr.",
                  "rr..rr..rr.", "rr..rr..rr."}));
}

TEST(SpecialColors, PatternTilesThePlaneFromItsOrigin) {
  Area a = makeArea(7, 5, kBlue);
  const int px[4] = {1, 2, 3, 4};
  EXPECT_EQ(a->getColorAt(a->patternColor(px, 2, 2, 0, 0), 3, 5), px[1 * 2 + 1]);
  const int atTen = a->patternColor(px, 2, 2, 10, 10);
  EXPECT_EQ(a->getColorAt(atTen, 9, 9), px[3]);
  EXPECT_EQ(a->getColorAt(atTen, -4, 10), px[0]);
  // Out-of-range sizes give an empty pattern that draws nothing.
  EXPECT_EQ(a->getColorAt(a->patternColor(px, 0x10000, 1, 0, 0), 1, 1), kNone);
  a->hline(0, 6, 3, a->patternColor(px, 0, 2, 0, 0));
  EXPECT_EQ(a->getPixel(2, 3), kBlue);
  // A table colour inside a pattern stays a table colour.
  const int tabled = col(0xFFFF0000);
  a->setColorTable(&kRed, 1, 0);
  EXPECT_EQ(a->getColorAt(a->patternColor(&tabled, 1, 1, 0, 0), 2, 2), tabled);
  // A file that cannot be read gives one white pixel.
  EXPECT_EQ(a->getColorAt(a->patternColor2("/nonexistent/pattern.png", 0, 0), 5, 4), 0x00FFFFFF);
}

TEST(SpecialColors, TwoColourGradientRunsFromTheFirstPointToTheSecond) {
  Area a = makeArea(11, 9, kBlue);
  const int blueRamp = a->gradientColor(0, 0, 255, 0, 0x000000, 0x0000FF);  // 4096 a column
  EXPECT_EQ(a->getColorAt(blueRamp, 0, 3), 0);
  EXPECT_EQ(a->getColorAt(blueRamp, 128, 3), 0x80);
  EXPECT_EQ(a->getColorAt(blueRamp, 255, 3), 0xFF);
  EXPECT_EQ(a->getColorAt(a->gradientColor(0, 0, 255, 0, kRed, col(0xFF0000FF)), 51, 0),
            0x33CC0033);  // the transparency byte is a channel of the ramp
  // Steps are rounded away from zero so that the far point reaches 255:
  // 255 * 4096 * 7 / 49 = 149211.4 -> +-149212, and 149212 * 7 >> 12 = 255.
  const int left = a->gradientColor(9, 1, 2, 1, kRed, kBlue);
  EXPECT_EQ(a->getColorAt(a->gradientColor(2, 1, 9, 1, kRed, kBlue), 9, 5), kBlue);
  EXPECT_EQ(a->getColorAt(left, 2, 5), kBlue);
  // Ramp entry i has every byte ((255 - i) c1 + i c2 + 127) / 255; x = 10
  // gives index -37 + 256 = 219: red (36 * 255 + 127) / 255 = 36, blue 219.
  EXPECT_EQ(a->getColorAt(left, 10, 5), 0x002400DB);
  // (2,1) -> (9,4): |d|^2 = 58, p = ceil(7311360 / 58) = 126058,
  // q = ceil(3133440 / 58) = 54025; the index (p dx + q dy) >> 12 wraps
  // modulo 256. At (5, 3): (126058 * 3 + 54025 * 2) >> 12 = 486224 >> 12 = 118,
  // red (137 * 255 + 127) / 255 = 137, blue 118, transparency
  // (118 * 128 + 127) / 255 = 59: 0x3B890076.
  const int slant = a->gradientColor(2, 1, 9, 4, kRed, col(0x800000FF));
  const struct {
    int x, y, index, colour;
  } slanted[] = {{2, 1, 0, kRed},         {9, 4, 255, col(0x800000FF)}, {5, 3, 118, 0x3B890076},
                 {0, 0, 181, 0x5B4A00B5}, {0, 8, 30, 0x0FE1001E},       {10, 0, 233, 0x751600E9},
                 {10, 8, 82, 0x29AD0052}};  // (0, 0): -306141 >> 12 = -75; (10, 8): 338
  for (const auto &p : slanted)
    EXPECT_EQ(a->getColorAt(slant, p.x, p.y), p.colour) << p.x << "," << p.y << " entry " << p.index;
}

TEST(SpecialColors, MultiStopGradientFollowsItsAngleAndScale) {
  Area a = makeArea(7, 5, kBlue);
  const int grey[4] = {0, 0x000000, 256, 0xFFFFFF};  // byte (d * 255 + 128) / 256
  const int down = a->gradientColor2(grey, 0, 1, 3, 2);
  EXPECT_EQ(a->getColorAt(down, 40, 12), 0x000A0A0A);
  EXPECT_EQ(a->getColorAt(down, 3, 1), 0x00FEFEFE);
  EXPECT_EQ(a->getColorAt(a->gradientColor2(grey, 90, 1, 3, 2), 13, -7), 0x00F5F5F5);  // ramp[246]
  EXPECT_EQ(a->getColorAt(a->gradientColor2(grey, 0, 2, 3, 2), 0, 12), 0x00050505);
  for (double scale : {-3.0, 0.0, std::nan("")})
    EXPECT_EQ(a->getColorAt(a->gradientColor2(grey, 0, scale, 3, 2), 0, 12), 0x000A0A0A) << scale;
  // ramp[50] halves red and blue; ramp[200] is 100/155 of the way from blue
  // to green: (55 * 255 + 77) / 155 = 90, (100 * 255 + 77) / 155 = 165.
  const int three[6] = {0, kRed, 100, kBlue, 255, kGreen};
  const int tri = a->gradientColor2(three, 0, 1, 0, 0);
  EXPECT_EQ(a->getColorAt(tri, 0, 50), 0x00800080);
  EXPECT_EQ(a->getColorAt(tri, 0, 100), kBlue);
  EXPECT_EQ(a->getColorAt(tri, 0, 200), 0x0000A55A);
  EXPECT_EQ(a->getColorAt(tri, 0, 255), kGreen);
  // Equal positions divide by nothing; the list is read up to position 255.
  const int step[8] = {0, kRed, 128, kBlue, 128, kGreen, 255, 0xFFFFFF};
  const int stepped = a->gradientColor2(step, 0, 1, 0, 0);
  EXPECT_EQ(a->getColorAt(stepped, 0, 128), kBlue);
  EXPECT_EQ(a->getColorAt(stepped, 0, 129), 0x0002FF02);  // (126 * c + 255 + 63) / 127
}

TEST(SpecialColors, EachCreationTakesTheNextIndexUntilTheSpaceIsFull) {
  Area a = makeArea(7, 5, kBlue);
  const int stops[4] = {0, kRed, 255, kBlue};
  EXPECT_EQ(a->dashLineColor(kRed, 0), col(0xFFFE0000));
  EXPECT_EQ(a->patternColor(&kRed, 1, 1, 0, 0), col(0xFFFE0001));
  EXPECT_EQ(a->gradientColor(0, 0, 5, 5, kRed, kBlue), col(0xFFFE0002));
  EXPECT_EQ(a->gradientColor2(stops, 0, 1, 0, 0), col(0xFFFE0003));
  EXPECT_EQ(a->patternColor2("missing.gif", 0, 0), col(0xFFFE0004));
  int last = 0;
  for (int i = 5; i <= 0xFFFF; ++i) last = a->patternColor(&kRed, 1, 1, 0, 0);
  EXPECT_EQ(last, col(0xFFFEFFFF));
  EXPECT_EQ(a->dashLineColor(kRed, 0), kNone);
  EXPECT_EQ(a->getColorAt(last, 3, 3), kRed);
}

TEST(SpecialColors, SpanFillersMatchPixelByPixelDrawing) {
  // Runs of special colours are filled by one loop per colour kind; they
  // must give what drawing each pixel of the run in turn gives.
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> coord(-40, 60), colour(0, 0x7FFFFFFF);
  for (int round = 0; round < 200; ++round) {
    Area fast = makeArea(31, 7, col(0x40102030));
    Area slow = makeArea(31, 7, col(0x40102030));
    const int pattern[6] = {colour(rng), colour(rng), kNone, colour(rng), colour(rng), colour(rng)};
    const int stops[6] = {-5, colour(rng), 100, colour(rng), 300, colour(rng)};
    const int originX = coord(rng), originY = coord(rng);
    const int from = colour(rng), to = colour(rng);
    int made[2][4];
    for (int k = 0; k < 2; ++k) {
      DrawArea *a = k == 0 ? fast.get() : slow.get();
      made[k][0] = a->patternColor(pattern, 3, 2, originX, originY);
      made[k][1] = a->gradientColor(originX, originY, 40, -5, from, to);
      made[k][2] = a->gradientColor2(stops, 37.5, 0.3, originX, originY);
      made[k][3] = a->dashLineColor(kRed, 0x03020101);
    }
    const int kind = round % 4;
    const int x1 = coord(rng), x2 = coord(rng), y = round % 7;
    fast->hline(x1, x2, y, made[0][kind]);
    for (int x = std::min(x1, x2); x <= std::max(x1, x2); ++x) slow->pixel(x, y, made[1][kind]);
    for (int x = 0; x < 31; ++x)
      ASSERT_EQ(fast->getPixel(x, y), slow->getPixel(x, y)) << "kind " << kind << " x " << x;
  }
}
