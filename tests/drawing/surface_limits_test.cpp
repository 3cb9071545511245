// The size limits of the drawing surface: 65535 pixels a side and 2^28 in
// all. A refused size leaves the area exactly as it was; patterns and
// polygons have their own bounds on what a caller's numbers may allocate.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "drawing/draw_test_util.h"

using namespace drawtest;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

}  // namespace

TEST(SurfaceLimits, SetSizeAboveTheLimitsLeavesTheAreaAsItWas) {
  Area a = makeArea(3, 2, kRed);
  a->pixel(2, 1, kGreen);
  const std::map<int, char> legend{{kRed, 'r'}, {kGreen, 'g'}};
  const struct {
    int width, height;
  } refused[] = {
      {1, 65536},          // one more than a side may be
      {16385, 16385},      // both sides allowed, 2^28 + 32,769 pixels in all
      {INT_MAX, INT_MAX},
      {-1, INT_MAX},       // a side below 1 counts as 1; the other is too long
  };
  for (const auto &r : refused) {
    a->setSize(r.width, r.height, kBlue);
    EXPECT_EQ(a->getWidth(), 3) << r.width << " x " << r.height;
    EXPECT_EQ(a->getHeight(), 2) << r.width << " x " << r.height;
    EXPECT_EQ(render(a.get(), legend), rows({"rrr", "rrg"})) << r.width << " x " << r.height;
  }
  // A 1 x 1 area, which a refused size would otherwise repaint, keeps its pixel too.
  Area unit(DrawArea::create());
  unit->setSize(INT_MAX, INT_MAX, kBlue);
  EXPECT_EQ(unit->getWidth() * 10 + unit->getHeight(), 11);
  EXPECT_EQ(unit->getPixel(0, 0), 0x00FFFFFF);
}

TEST(SurfaceLimits, SizesAtTheLimitsAreAccepted) {
  const struct {
    int width, height;
    bool heavy;  // a whole GiB of pixels: left out under the sanitizer
  } accepted[] = {{65535, 1, false}, {1, 65535, false}, {16384, 16384, true}};
  for (const auto &s : accepted) {
    if (s.heavy && kSanitized) continue;
    Area a = makeArea(2, 2, kRed);
    a->setSize(s.width, s.height, kBlue);
    ASSERT_EQ(a->getWidth(), s.width);
    ASSERT_EQ(a->getHeight(), s.height);
    // The far corner is new and painted; the old corner is kept.
    EXPECT_EQ(a->getPixel(s.width - 1, s.height - 1), kBlue);
    EXPECT_EQ(a->getPixel(0, 0), kRed);
    a->setSize(2, 1, kGreen);  // and back again
    EXPECT_EQ(a->getWidth() * 10 + a->getHeight(), 21);
    EXPECT_EQ(a->getPixel(0, 0), kRed);
  }
}

TEST(SurfaceLimits, PatternsAboveTheLimitsDrawNothing) {
  // The size is refused before the pixels are read, so a short array is safe.
  const int one[1] = {kRed};
  const struct {
    int width, height;
  } refused[] = {{65536, 1}, {16385, 16385}, {INT_MAX, INT_MAX}, {0, 1}};
  for (const auto &r : refused) {
    Area a = makeArea(3, 1, kBlue);
    a->hline(0, 2, 0, a->patternColor(one, r.width, r.height, 0, 0));
    EXPECT_EQ(render(a.get(), {{kBlue, 'b'}, {kRed, 'r'}}), "bbb\n") << r.width << " x " << r.height;
  }
}

TEST(SurfaceLimits, PolygonsOfMoreThanAMillionPointsDrawNothing) {
  // A triangle whose last point repeats: the extra edges have no length. Its
  // sides are midpoint lines, x = 0, 1, 2, 2, 3 and 6, 5, 4, 4, 3 on rows 0 to 4.
  constexpr int kLimit = 1 << 20;
  std::vector<int> x(kLimit + 1, 3), y(kLimit + 1, 4);
  x[0] = 0, y[0] = 0, x[1] = 6, y[1] = 0;
  const std::map<int, char> legend{{kBlack, '.'}, {kRed, 'r'}};
  const std::string triangle = rows({"rrrrrrr", ".rrrrr.", "..rrr..", "..rrr..", "...r..."});
  Area a = makeArea(7, 5, kBlack);
  a->polygon(x.data(), y.data(), kLimit, kRed, kRed);
  EXPECT_EQ(render(a.get(), legend), triangle);
  Area b = makeArea(7, 5, kBlack);
  b->polygon(x.data(), y.data(), kLimit + 1, kRed, kRed);
  EXPECT_EQ(render(b.get(), legend), rows({".......", ".......", ".......", ".......", "......."}));
}
