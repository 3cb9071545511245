// The pixel store, the blending rule and colour resolution.
#include <gtest/gtest.h>

#include <climits>

#include "drawing/draw_test_util.h"

using namespace drawtest;

TEST(Canvas, ResizeKeepsTheOverlapAndPaintsOnlyNewPixels) {
  Area a(DrawArea::create());
  EXPECT_EQ(a->getPixel(0, 0), 0x00FFFFFF);
  a->setSize(0, -5, kRed);
  EXPECT_EQ(a->getWidth() * 10 + a->getHeight(), 11);
  a->setSize(3, 2, kRed);  // from 1 x 1 the whole area is painted
  a->pixel(2, 1, kGreen);
  a->setSize(5, 3, col(0x80000000));  // new pixels only, unblended
  const std::map<int, char> legend{{kRed, 'r'}, {kGreen, 'g'}, {kBlue, 'b'}, {col(0x80000000), 'n'}};
  EXPECT_EQ(render(a.get(), legend), rows({"rrrnn", "rrgnn", "nnnnn"}));
  a->setSize(1, 1, kBlue);  // shrinking keeps the overlap
  EXPECT_EQ(a->getPixel(0, 0), kRed);
  a->setSize(3, 2, kBlue);  // but a 1 x 1 area is repainted whole
  // New pixels take a special colour evaluated at their own position.
  const int stripes[2] = {kRed, kGreen};
  a->setSize(5, 3, a->patternColor(stripes, 2, 1, 0, 0));
  EXPECT_EQ(render(a.get(), legend), rows({"bbbgr", "bbbgr", "rgrgr"}));
}

TEST(Canvas, PixelBlendsByTransparency) {
  Area a = makeArea(7, 5, 0x00FFFFFF);
  a->pixel(1, 1, col(0x80000000));
  EXPECT_EQ(a->getPixel(1, 1), 0x00808080);  // 255 * 32640 / 65025 = 128
  // Red at 128 over blue at 64: wC = 32385, wP = 191 * 128 = 24448, D = 56833;
  // red 8258175 / D = 145, blue 6234240 / D = 109, transparency 8192 / 255 = 32.
  a->setBgColor(0x400000FF);
  a->pixel(2, 2, col(0x80FF0000));
  EXPECT_EQ(a->getPixel(2, 2), 0x2091006D);
  // 0xC0FF8000 over 0x10203040: wC = 255 * 63 = 16065, wP = 239 * 192 = 45888,
  // D = 65025 - 192 * 16 = 61953; red (32 wP + 255 wC) / D = 89, green
  // (48 wP + 128 wC) / D = 68, blue 64 wP / D = 47, transparency 3072 / 255 = 12.
  // Red at 127 over blue at 254: wC = 32640, wP = 127, D = 32767; red 254,
  // blue 32385 / D = 0, transparency 32258 / 255 = 126.
  const struct {
    uint32_t under, over, blended;
  } blends[] = {{0x10203040u, 0xC0FF8000u, 0x0C59442Fu}, {0xFE0000FFu, 0x7FFF0000u, 0x7EFE0000u}};
  for (const auto &b : blends) {
    a->setBgColor(col(b.under));
    a->pixel(3, 3, col(b.over));
    EXPECT_EQ(a->getPixel(3, 3), col(b.blended)) << std::hex << b.under;
  }
  // Transparency 255 leaves an opaque pixel alone but replaces an invisible one.
  a->setBgColor(kBlue);
  a->pixel(0, 0, kNone);
  a->pixel(1, 0, col(0xFF123456));
  EXPECT_EQ(a->getPixel(1, 0), kBlue);
  a->setBgColor(kNone);
  a->pixel(0, 0, kNone);
  a->pixel(1, 0, col(0xFF123456));
  a->pixel(2, 0, col(0x80FF0000));
  EXPECT_EQ(render(a.get(), {{kNone, '_'}, {col(0xFF123456), 'i'}, {col(0x80FF0000), 'h'}}),
            rows({"_ih____", "_______", "_______", "_______", "_______"}));
  // Outside the area nothing is drawn and Transparent is read.
  for (int v : {-1, 7, INT_MIN, INT_MAX}) {
    a->pixel(v, 2, kRed);
    a->pixel(2, v, kRed);
    EXPECT_EQ(a->getPixel(v, 2), kNone);
    EXPECT_EQ(a->getPixel(2, v), kNone);
  }
  EXPECT_EQ(a->getPixel(2, 2), kNone);
}

TEST(Canvas, ColourTableResolvesOneLevel) {
  Area a = makeArea(7, 5, kBlue);
  EXPECT_EQ(a->getARGBColor(col(0xFFFF0000)), kNone);  // empty table
  const int three[3] = {kRed, col(0xFFFF0002), kGreen};
  a->setColorTable(three, 3, 0);
  EXPECT_EQ(a->getARGBColor(col(0xFFFF0003)), kNone);
  a->setColorTable(three, 1, 3);
  EXPECT_EQ(a->getARGBColor(col(0xFFFF0003)), kRed);
  // An entry holding a table colour is not looked up again: drawn, it is a
  // colour of transparency 255.
  EXPECT_EQ(a->getColorAt(col(0xFFFF0001), 1, 1), col(0xFFFF0002));
  a->pixel(1, 1, col(0xFFFF0001));
  a->pixel(2, 1, col(0xFFFF0000));
  EXPECT_EQ(a->getPixel(1, 1), kBlue);
  EXPECT_EQ(a->getPixel(2, 1), kRed);
  // Growing pads with Transparent; writes stop at 0xFFFD; n < 1 or a
  // negative offset does nothing.
  a->setColorTable(three, 5, 0xFFFC);
  EXPECT_EQ(a->getARGBColor(col(0xFFFFFFFC)), kRed);
  EXPECT_EQ(a->getARGBColor(col(0xFFFFFFFD)), col(0xFFFF0002));
  EXPECT_EQ(a->getARGBColor(col(0xFFFFFFFE)), kNone);
  EXPECT_EQ(a->getARGBColor(col(0xFFFF0005)), kNone);
  a->setColorTable(three + 2, 0, 0);
  a->setColorTable(three + 2, 1, -1);
  EXPECT_EQ(a->getARGBColor(col(0xFFFF0000)), kRed);
  // An entry may hold a special colour, which is then evaluated; an unknown
  // special index is Transparent.
  const int checker[4] = {kRed, kGreen, kGreen, kRed};
  const int pattern = a->patternColor(checker, 2, 2, 0, 0);
  a->setColorTable(&pattern, 1, 7);
  EXPECT_EQ(a->getColorAt(col(0xFFFF0007), 3, 5), kRed);
  EXPECT_EQ(a->getColorAt(col(0xFFFE0001), 4, 5), kNone);
  a->pixel(4, 3, col(0xFFFF0007));
  EXPECT_EQ(a->getPixel(4, 3), kGreen);
}

TEST(Canvas, BackgroundIsStoredUnblended) {
  Area a = makeArea(5, 3, kBlue);
  a->setBgColor(col(0xFF123456));
  EXPECT_EQ(a->getPixel(4, 2), col(0xFF123456));
  a->setColorTable(&kGreen, 1, 0);
  a->setBgColor(col(0xFFFF0000));
  EXPECT_EQ(a->getPixel(4, 2), kGreen);
  // A pattern's see-through pixels stay see-through.
  const int holes[3] = {kRed, kNone, 0x40FF0000};
  a->setBgColor(a->patternColor(holes, 3, 1, 1, 0));
  EXPECT_EQ(render(a.get(), {{kRed, 'r'}, {kNone, '_'}, {0x40FF0000, 'h'}}),
            rows({"hr_hr", "hr_hr", "hr_hr"}));
}
