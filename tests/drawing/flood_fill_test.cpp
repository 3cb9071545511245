// Replace fill and boundary fill: 4-connected regions, exact stores, and
// termination when the drawn colour differs from the colour value.
#include <gtest/gtest.h>

#include "drawing/draw_test_util.h"

using namespace drawtest;

namespace {

// Red walls on blue: a pocket in the top-left corner, and a diamond whose
// centre is closed to a 4-connected fill but open to an 8-connected one.
Area scene() {
  Area a = makeArea(11, 9, kBlue);
  a->vline(0, 2, 2, kRed);
  a->hline(0, 1, 2, kRed);
  for (auto [x, y] : {std::pair{3, 4}, {2, 5}, {4, 5}, {3, 6}}) a->pixel(x, y, kRed);
  return a;
}

}  // namespace

TEST(FloodFill, ReplaceFillStoresTheValueOverTheConnectedRegion) {
  Area a = scene();
  a->fill(8, 1, kGreen);
  a->fill(8, 1, kGreen);  // already that colour: nothing changes
  a->fill(3, 5, col(0x80FF00FF));
  // A special colour is evaluated at each pixel and stored unblended; where it
  // gives the old colour back, the fill still ends.
  const int two[2] = {kBlue, kBlack};
  a->fill(0, 0, a->patternColor(two, 1, 2, 0, 0));
  a->fill(-1, 0, kRed);
  a->fill(0, 9, kRed);
  a->fill(5, 5, kNone);
  EXPECT_EQ(render(a.get(), {{kBlue, '.'}, {kBlack, 'k'}, {kRed, '#'}, {kGreen, 'g'},
                             {col(0x80FF00FF), 't'}}),
            rows({"..#gggggggg", "kk#gggggggg", "###gggggggg", "ggggggggggg", "ggg#ggggggg",
                  "gg#t#gggggg", "ggg#ggggggg", "ggggggggggg", "ggggggggggg"}));
}

TEST(FloodFill, BoundaryFillBlendsEachPixelOnceAndStopsAtBothColours) {
  Area a = scene();
  a->fill2(8, 1, kGlass, kRed);  // no blend equals kGlass: only the marks end it
  // kGlass over blue: 255 * 127 / 255 = 127 red and green, blue stays 255.
  EXPECT_EQ(render(a.get(), {{kBlue, '.'}, {kRed, '#'}, {0x007F7FFF, 'o'}}),
            rows({"..#oooooooo", "..#oooooooo", "###oooooooo", "ooooooooooo", "ooo#ooooooo",
                  "oo#.#oooooo", "ooo#ooooooo", "ooooooooooo", "ooooooooooo"}));

  // A seed holding the colour or the border starts nothing; the pattern is
  // evaluated at each pixel reached.
  Area b = scene();
  const int two[2] = {kGreen, kBlack};
  const int stripes = b->patternColor(two, 2, 1, 0, 0);
  b->vline(0, 8, 6, kGreen);
  b->fill2(6, 4, kGreen, kRed);   // seed equals the colour
  b->fill2(2, 0, stripes, kRed);  // seed equals the border
  b->fill2(9, 7, stripes, kRed);
  EXPECT_EQ(render(b.get(), {{kBlue, '.'}, {kRed, '#'}, {kGreen, 'g'}, {kBlack, 'k'}}),
            rows({"..#kgkgkgkg", "..#kgkgkgkg", "###kgkgkgkg", "gkgkgkgkgkg", "gkg#gkgkgkg",
                  "gk#.#kgkgkg", "gkg#gkgkgkg", "gkgkgkgkgkg", "gkgkgkgkgkg"}));
}

TEST(FloodFill, LongWindingRegionDoesNotExhaustTheStack) {
  // A one-pixel serpentine through 301 x 301: a recursive fill would nest
  // tens of thousands of calls deep.
  Area a = makeArea(301, 301, kBlue);
  for (int x = 1; x < 301; x += 2) a->vline(x % 4 == 1 ? 0 : 1, x % 4 == 1 ? 299 : 300, x, kRed);
  a->fill(0, 0, kGreen);
  for (int expected : {kGreen, 0x007FFF7F}) {  // then kGlass over green
    int filled = 0;
    for (int y = 0; y < 301; ++y)
      for (int x = 0; x < 301; ++x) filled += a->getPixel(x, y) == expected;
    EXPECT_EQ(filled, 151 * 301 + 150);
    a->fill2(300, 300, kGlass, kRed);
  }
}
