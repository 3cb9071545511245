// Merging one area onto another, and tiling.
#include <gtest/gtest.h>

#include <string>

#include "drawing/draw_area_impl.h"
#include "drawing/draw_test_util.h"

using namespace drawtest;

namespace {

// A 5 x 3 source whose pixels all differ: 0x00RR00CC with row R, column C + 1.
Area numbered() {
  Area s = makeArea(5, 3, kBlack);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) s->pixel(x, y, (y << 16) | (x + 1));
  return s;
}

// The source with its top-left corner at (left, top) on blue.
void expectPlaced(DrawArea *a, int left, int top, const std::string &what) {
  for (int y = 0; y < a->getHeight(); ++y)
    for (int x = 0; x < a->getWidth(); ++x) {
      const int i = x - left, j = y - top;
      const bool inside = i >= 0 && i < 5 && j >= 0 && j < 3;
      ASSERT_EQ(a->getPixel(x, y), inside ? (j << 16) | (i + 1) : kBlue) << what << " " << x << "," << y;
    }
}

}  // namespace

TEST(Composition, MergeAlignsTheSourceOnItsAnchorAndClips) {
  Area src = numbered();
  // Anchor (5, 4): centre codes subtract 5 / 2, right ones 5 - 1; middle
  // codes subtract 3 / 2, bottom ones 3 - 1; other codes act as top-left.
  const int corner[11][2] = {{5, 4}, {5, 2}, {3, 2}, {1, 2}, {5, 3}, {3, 3},
                             {1, 3}, {5, 4}, {3, 4}, {1, 4}, {5, 4}};
  for (int code = 0; code <= 10; ++code) {
    Area a = makeArea(11, 9, kBlue);
    a->merge(src.get(), 5, 4, code, 0);
    expectPlaced(a.get(), corner[code][0], corner[code][1], std::to_string(code));
  }
  for (auto [x, y] : {std::pair{-2, -1}, {8, 7}, {-4, 8}, {10, -2}, {11, 0}, {0, -3}}) {
    Area a = makeArea(11, 9, kBlue);
    a->merge(src.get(), x, y, 7, 0);
    a->merge(nullptr, 0, 0, 7, 0);
    expectPlaced(a.get(), x, y, "overhang");
  }
}

TEST(Composition, MergeTransparencyMultipliesOpacities) {
  Area src = makeArea(2, 1, 0x40FF0000);  // stored unblended
  src->pixel(0, 0, kRed);
  Area a = makeArea(2, 2, kBlue);
  a->merge(src.get(), 0, 0, 7, 255);
  EXPECT_EQ(render(a.get(), {{kBlue, '.'}}), rows({"..", ".."}));
  // Red at 128 over blue: 255 * 32385 / 65025 = 127 red, 128 blue.
  a->merge(src.get(), 0, 1, 7, 128);
  EXPECT_EQ(a->getPixel(0, 1), 0x007F0080);
  // Onto see-through pixels the merged value is stored as it is: opaque at
  // 128 gives 255 - 255 * 127 / 255 = 128, 0x40 at 128 gives
  // 255 - 191 * 127 / 255 = 160, 0x40 at 10 gives 255 - 191 * 245 / 255 = 72
  // (183.5 truncated).
  Area glass = makeArea(2, 1, kNone);
  glass->merge(src.get(), 0, 0, 7, 128);
  EXPECT_EQ(glass->getPixel(0, 0), col(0x80FF0000));
  EXPECT_EQ(glass->getPixel(1, 0), col(0xA0FF0000));
  glass->setBgColor(kNone);
  glass->merge(src.get(), 0, 0, 7, 10);
  EXPECT_EQ(glass->getPixel(1, 0), col(0x48FF0000));
}

TEST(Composition, MergeSkipsTransparentTableAndSpecialValues) {
  // Such values come from a decoded image (a fully transparent pixel) or, for
  // a table value, from a table entry that names another entry.
  Area src = makeArea(3, 1, kNone);
  static_cast<quorvane::DrawAreaImpl &>(*src).adoptImage(
      3, 1, {0xFF000000u, 0xFFFF0000u, 0xFFFE0000u});
  const int entry = col(0xFFFF0001);
  src->setColorTable(&entry, 1, 0);
  src->pixel(1, 0, col(0xFFFF0000));  // one level: 0xFFFF0001 is stored
  ASSERT_EQ(src->getPixel(1, 0), col(0xFFFF0001));
  ASSERT_EQ(src->getPixel(2, 0), col(0xFFFE0000));
  // The target would resolve both to green through its own lists.
  Area a = makeArea(3, 1, kNone);
  const int table[2] = {kGreen, kGreen};
  a->setColorTable(table, 2, 0);
  a->dashLineColor(kGreen, 0x0100);
  a->merge(src.get(), 0, 0, 7, 0);
  EXPECT_EQ(render(a.get(), {{kNone, '_'}}), rows({"___"}));
  // A value that only becomes one of those through the extra transparency:
  // 0xFEFF0000 at 254 gives 255 - 1 * 1 / 255 = 255, that is 0xFFFF0000.
  Area nearly = makeArea(1, 1, col(0xFEFF0000));
  a->merge(nearly.get(), 0, 0, 7, 254);
  EXPECT_EQ(a->getPixel(0, 0), kNone);
}

TEST(Composition, MergeIntoItselfReadsACopyAndTileRepeats) {
  Area a = numbered();
  a->merge(a.get(), 1, 1, 7, 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      ASSERT_EQ(a->getPixel(x, y), x >= 1 && y >= 1 ? ((y - 1) << 16) | x : (y << 16) | (x + 1));

  Area src = numbered();
  Area b = makeArea(12, 8, kBlue);
  b->tile(src.get(), 0);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 12; ++x) ASSERT_EQ(b->getPixel(x, y), ((y % 3) << 16) | (x % 5 + 1));
  // White at 128 is the glass colour: every pixel blended exactly once.
  Area c = makeArea(5, 3, kBlack);
  Area white = makeArea(2, 2, 0x00FFFFFF);
  c->tile(white.get(), 128);
  EXPECT_EQ(touches(c.get()), rows({"11111", "11111", "11111"}));
}
