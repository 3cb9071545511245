// Grey text among smooth shapes is crisp: small glyphs with a vertical stem
// reach near-black, a small label keeps close to the ink of its one-bit
// drawing, and every measure is the one aliased drawing gives. Ink is
// summed as 255 - green over black text on white.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "text/text_test_util.h"

using namespace texttest;

namespace {

// The fonts small chart text is set in: the default one and DejaVu Sans.
const char *fontOf(const std::string &path) { return path.empty() ? nullptr : path.c_str(); }

// Black text at (4, 8) on white; shapeMode 0 draws it aliased with one-bit
// glyphs, 1 and 2 among smooth shapes (in quarters, finely), and -1 grey
// without smooth shapes.
Area drawn(const std::string &text, const std::string &font, double sizePt, int shapeMode) {
  Area a = makeArea(140, 40);
  if (shapeMode > 0) a->setAntiAlias(shapeMode);
  if (shapeMode <= 0)
    a->setAntiAliasText(shapeMode == 0 ? TTFText::AntiAliasOff : TTFText::AntiAliasOn);
  a->text(text.c_str(), fontOf(font), sizePt, 4, 8, kBlack);
  return a;
}

int darkest(DrawArea *a) {
  int grey = 255;
  for (int p : pixels(a)) grey = std::min(grey, (p >> 8) & 255);
  return grey;
}

double ink(DrawArea *a) {
  double sum = 0;
  for (int p : pixels(a)) sum += 255 - ((p >> 8) & 255);
  return sum;
}

}  // namespace

TEST(CrispText, GlyphsWithAStemReachNearBlackAtEightAndNinePoints) {
  // Each glyph drawn alone, so the area's darkest pixel is the glyph's.
  const std::string stems = "lihkbdLHIE1";
  for (const std::string &font : {std::string(), kDejaVu})
    for (double size : {8.0, 9.0})
      for (int mode : {1, 2})
        for (char c : stems) {
          SCOPED_TRACE(font + " " + std::to_string(size) + " pt, mode " +
                       std::to_string(mode) + ", " + c);
          Area a = drawn(std::string(1, c), font, size, mode);
          EXPECT_LE(darkest(a.get()), 0x30);
        }
  // Grey text without smooth shapes keeps FreeType's own hinting: the default
  // font's 8-point l stands across two columns, neither dark.
  Area plainGrey = drawn("l", std::string(), 8, -1);
  EXPECT_GT(darkest(plainGrey.get()), 0x30);
}

TEST(CrispText, ASmallLabelKeepsNearTheInkOfItsOneBitDrawing) {
  // At least nine tenths of the one-bit label's ink, and no heavier than a
  // third more (pixels drawn solid wherever touched would be far heavier).
  for (const std::string &font : {std::string(), kDejaVu})
    for (double size : {8.0, 9.0}) {
      Area oneBit = drawn("Labor 19.23%", font, size, 0);
      ASSERT_GT(ink(oneBit.get()), 0);
      for (int mode : {1, 2}) {
        SCOPED_TRACE(font + " " + std::to_string(size) + " pt, mode " + std::to_string(mode));
        Area smooth = drawn("Labor 19.23%", font, size, mode);
        const double ratio = ink(smooth.get()) / ink(oneBit.get());
        EXPECT_GE(ratio, 0.9);
        EXPECT_LE(ratio, 1.35);
      }
    }
}

TEST(CrispText, MeasuresAreThoseOfAliasedDrawing) {
  // Small text measures as one-bit glyphs, large as grey ones with FreeType's
  // own hinting, as aliased drawing does; crisp glyphs, whose hinted boxes
  // differ by a pixel or two (as for "Revenue" at 16 points), never give the
  // size. Turned and stacked texts too.
  const struct {
    const char *text;
    double sizePt;
    double angleDeg;
    int vertical;
  } cases[] = {{"Labor 19.23%", 8, 0, 0},     {"Hilk", 9, 0, 0},       {"x", 7.5, 0, 0},
               {"Wage 42%\nlines", 10, 0, 0}, {"Revenue", 16, 0, 0},   {"Revenue", 24, 0, 0},
               {"Title 2024", 18, 0, 0},     {"jumping", 12, 30, 0}, {"Axis title", 15, 90, 0},
               {"Tall", 11, 0, 1}};
  Area aliased = makeArea(10, 10);
  for (const std::string &font : {std::string(), kDejaVu})
    for (const auto &c : cases) {
      Text expected(aliased->text4(c.text, fontOf(font), 0, c.sizePt, c.sizePt, c.angleDeg,
                                   c.vertical));
      for (int mode : {1, 2}) {
        SCOPED_TRACE(std::string(c.text) + " " + font + " mode " + std::to_string(mode));
        Area smooth = makeArea(10, 10);
        smooth->setAntiAlias(mode);
        Text t(smooth->text4(c.text, fontOf(font), 0, c.sizePt, c.sizePt, c.angleDeg,
                             c.vertical));
        EXPECT_EQ(t->getWidth(), expected->getWidth());
        EXPECT_EQ(t->getHeight(), expected->getHeight());
        EXPECT_EQ(t->getLineHeight(), expected->getLineHeight());
        EXPECT_EQ(t->getLineDistance(), expected->getLineDistance());
      }
    }
}
