// Drawing laid-out text: the render-mode choice seen as coverage levels, the
// quantised coverage and transparency, alignment and multi-line placement
// worked by hand, decoding routes, colours, clipping and the pixel limit.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>

#include "base/guarded.h"
#include "drawing/draw_test_util.h"
#include "text/text_line.h"
#include "text/text_test_util.h"
#include "text/ttf_text.h"

using namespace texttest;
using quorvane::text::TTFTextImpl;

namespace {

// Distinct colours of black text drawn on white.
size_t levelsDrawn(const std::string &font, double height, double angle, int mode,
                   int vertical = 0) {
  Area a = makeArea(160, 160);
  a->setAntiAliasText(mode);
  a->text2("Wage 42%", font.c_str(), 0, height, height, angle, vertical, 80, 80, kBlack,
           AlignCentre);
  return distinctColours(a.get()).size();
}

size_t glyphCount(TTFText *t) {
  size_t n = 0;
  for (const auto &line : static_cast<TTFTextImpl *>(t)->lines()) n += line.glyphs().size();
  return n;
}

}  // namespace

TEST(TextRenderMode, AutoIsOneBitOnlyForSmallUprightTrueTypeText) {
  using M = TTFText::AntiAliasMode;
  EXPECT_EQ(levelsDrawn(kSans, 10, 0, M::AntiAliasAuto), 2u);
  EXPECT_EQ(levelsDrawn(kSans, 14, 90, M::AntiAliasAuto), 2u);  // a right angle
  EXPECT_EQ(levelsDrawn(kSans, 14, -180, M::AntiAliasAuto), 2u);
  EXPECT_GT(levelsDrawn(kSans, 10, 45, M::AntiAliasAuto), 2u);
  EXPECT_GT(levelsDrawn(kSans, 15, 0, M::AntiAliasAuto), 2u);
  EXPECT_GT(levelsDrawn(kType1, 10, 0, M::AntiAliasAuto), 2u);  // a .pfb file
  // Bold is grey unless both sizes are below 8 points.
  EXPECT_GT(levelsDrawn(kSansBold, 10, 0, M::AntiAliasAuto), 2u);
  EXPECT_EQ(levelsDrawn(kSansBold, 7, 0, M::AntiAliasAuto), 2u);
  // Any other mode value is automatic; 0 and 1 force the choice.
  EXPECT_EQ(levelsDrawn(kSans, 10, 0, 7), 2u);
  EXPECT_GT(levelsDrawn(kSans, 10, 45, -1), 2u);
  EXPECT_EQ(levelsDrawn(kSans, 20, 45, M::AntiAliasOff), 2u);
  EXPECT_GT(levelsDrawn(kSans, 10, 0, M::AntiAliasOn), 2u);
  EXPECT_EQ(levelsDrawn(kType1, 10, 0, M::AntiAliasOff), 2u);
}

TEST(TextCoverage, GreyLevelsAreQuantisedToEightSteps) {
  // Coverage v draws transparency t = (65025 - (255 - alpha) * q) / 255 with
  // q = (v + 1) / 32 * 32 - 1. Black over white at alpha 0 gives t = 255 - q,
  // a channel value of t: 224, 192, ..., 32, and full coverage 0.
  std::set<int> allowed{kWhite, kBlack};
  for (int q = 31; q <= 223; q += 32) allowed.insert((255 - q) * 0x010101);
  // At transparency 128: t = (65025 - 127 q) / 255, and black at t over
  // white is grey t: for q = 31, 61088 / 255 = 239; full coverage gives 128.
  const std::set<int> allowedHalf{kWhite,   0x808080, 0xEFEFEF, 0xDFDFDF, 0xCFCFCF,
                                  0xBFBFBF, 0xAFAFAF, 0x9F9F9F, 0x8F8F8F};
  for (const auto &[colour, expected] :
       std::vector<std::pair<int, std::set<int>>>{{kBlack, allowed}, {drawtest::col(0x80000000), allowedHalf}}) {
    Area a = makeArea(200, 60);
    a->setAntiAliasText(TTFText::AntiAliasOn);
    a->text("Quantised coverage", kSans.c_str(), 13, 4, 4, colour);
    const auto drawn = distinctColours(a.get());
    EXPECT_GE(drawn.size(), 6u);
    for (int c : drawn) EXPECT_TRUE(expected.count(c)) << std::hex << c;
  }
}

TEST(TextAlignment, EachAlignmentPutsItsBoxPointOnTheReference) {
  Area probe = makeArea(10, 10);
  Text t(probe->text3("Typo", kSans.c_str(), 12));
  const int w = t->getWidth(), h = t->getHeight();
  ASSERT_GT(w, 10);
  const auto inkAt = [&](int alignment) {
    Area a = makeArea(201, 101);
    Text text(a->text3("Typo", kSans.c_str(), 12));
    text->draw(100, 50, kBlack, static_cast<Alignment>(alignment));
    return inkBox(a.get());
  };
  const InkBox topLeft = inkAt(AlignTopLeft);
  ASSERT_FALSE(topLeft.empty());
  // The ink of a top-left text lies in the box from (100, 50).
  EXPECT_GE(topLeft.minX, 100);
  EXPECT_GE(topLeft.minY, 50);
  EXPECT_LE(topLeft.maxX, 100 + w - 1);
  EXPECT_LE(topLeft.maxY, 50 + h - 1);
  // Left 0, centre -w / 2, right 1 - w; top 0, middle -h / 2, bottom 1 - h.
  const int dx[3] = {0, -(w / 2), 1 - w};
  const int dy[3] = {1 - h, -(h / 2), 0};  // rows of the keypad: bottom, middle, top
  for (int alignment = 1; alignment <= 9; ++alignment) {
    InkBox expected = topLeft;
    const int sx = dx[(alignment - 1) % 3], sy = dy[(alignment - 1) / 3];
    expected.minX += sx, expected.maxX += sx, expected.minY += sy, expected.maxY += sy;
    EXPECT_EQ(inkAt(alignment), expected) << alignment;
  }
  // Other values place the text as AlignTopLeft.
  for (int other : {0, 10, -3}) EXPECT_EQ(inkAt(other), topLeft) << other;
}

TEST(TextPlacement, RotatedTextTurnsAboutItsBox) {
  Area probe = makeArea(10, 10);
  probe->setAntiAliasText(TTFText::AntiAliasOn);
  Text up(probe->text4("W...", kSans.c_str(), 0, 20, 20, 90, 0));
  Area a = makeArea(120, 120);
  a->setAntiAliasText(TTFText::AntiAliasOn);
  Text drawnFlat(a->text3("W...", kSans.c_str(), 20));
  drawnFlat->draw(10, 10, kBlack, AlignTopLeft);
  const InkBox flatInk = inkBox(a.get());
  a->setBgColor(kWhite);
  Text drawnUp(a->text4("W...", kSans.c_str(), 0, 20, 20, 90, 0));
  drawnUp->draw(10, 10, kBlack, AlignTopLeft);
  const InkBox upInk = inkBox(a.get());
  // A quarter turn anticlockwise: the ink box is transposed, within a pixel.
  EXPECT_NEAR(upInk.maxX - upInk.minX, flatInk.maxY - flatInk.minY, 1);
  EXPECT_NEAR(upInk.maxY - upInk.minY, flatInk.maxX - flatInk.minX, 1);
  // The box of turned text is its bitmaps' box, so the ink fills it, but for
  // edge pixels of coverage too low to draw.
  EXPECT_TRUE(upInk.minX == 10 || upInk.minX == 11) << upInk.minX;
  EXPECT_TRUE(upInk.minY == 10 || upInk.minY == 11) << upInk.minY;
  EXPECT_NEAR(up->getWidth(), upInk.maxX - upInk.minX + 1, 2);
  EXPECT_NEAR(up->getHeight(), upInk.maxY - upInk.minY + 1, 2);
  // It reads upwards: the heavy "W" is at the bottom.
  int top = 0, bottom = 0;
  const int middle = (upInk.minY + upInk.maxY) / 2;
  for (int y = upInk.minY; y <= upInk.maxY; ++y)
    for (int x = upInk.minX; x <= upInk.maxX; ++x)
      if (a->getPixel(x, y) != kWhite) (y < middle ? top : bottom) += 1;
  EXPECT_GT(bottom, 2 * top);
}

TEST(TextPlacement, LinesStepPerpendicularToTheBaseline) {
  RefFace ref(kSans, 11);
  const int d = ref.lineDistance();
  for (double angle : {0.0, 30.0, -60.0}) {
    // (0, D) turned by -angle with 16.16 factors: (D sin a, D cos a).
    const double radians = angle * 0.0174532925203;
    const long dx = FT_MulFix(d, static_cast<FT_Fixed>(std::sin(radians) * 65536));
    const long dy = angle == 0 ? d : FT_MulFix(d, static_cast<FT_Fixed>(std::cos(radians) * 65536));
    Area probe = makeArea(10, 10);
    Text one(probe->text4("Ag", kSans.c_str(), 0, 11, 11, angle, 0));
    Text two(probe->text4("Ag\nAg", kSans.c_str(), 0, 11, 11, angle, 0));
    EXPECT_EQ(two->getWidth(), one->getWidth() + std::abs(dx)) << angle;
    EXPECT_EQ(two->getHeight(), one->getHeight() + std::abs(dy)) << angle;
    // Where line 0 goes, by the reference-point shift worked by hand, for
    // top-left, centre and bottom-right; line 1 is one step further.
    const std::map<int, std::pair<long, long>> firstLine{
        {AlignTopLeft, {dx < 0 ? -dx : 0, dy < 0 ? -dy : 0}},
        {AlignCentre, {-dx / 2, -dy / 2}},
        {AlignBottomRight, {dx > 0 ? -dx : 0, dy > 0 ? -dy : 0}}};
    for (const auto &[alignment, shift] : firstLine) {
      Area multi = makeArea(140, 140), singles = makeArea(140, 140);
      Text lines(multi->text4("Ag\nAg", kSans.c_str(), 0, 11, 11, angle, 0));
      lines->draw(70, 70, kBlack, static_cast<Alignment>(alignment));
      Text line(singles->text4("Ag", kSans.c_str(), 0, 11, 11, angle, 0));
      line->draw(70 + shift.first, 70 + shift.second, kBlack, static_cast<Alignment>(alignment));
      line->draw(70 + shift.first + dx, 70 + shift.second + dy, kBlack,
                 static_cast<Alignment>(alignment));
      EXPECT_EQ(pixels(multi.get()), pixels(singles.get())) << angle << " " << alignment;
    }
  }
}

TEST(TextDecoding, ByteAndWideTextDrawTheSame) {
  const auto drawBytes = [](const char *s) {
    Area a = makeArea(150, 30);
    a->text(s, kDejaVu.c_str(), 12, 2, 2, kBlack);
    return pixels(a.get());
  };
  const auto drawWide = [](const char16_t *s) {
    Area a = makeArea(150, 30);
    a->text(s, kDejaVu.c_str(), 12, 2, 2, kBlack);
    return pixels(a.get());
  };
  EXPECT_EQ(drawBytes("Caf\xC3\xA9 cr\xC3\xA8me"), drawWide(u"Caf\u00E9 cr\u00E8me"));
  EXPECT_EQ(drawBytes("Caf\xE9 cr\xE8me"), drawWide(u"Caf\u00E9 cr\u00E8me"));  // multi-byte route
  EXPECT_NE(drawBytes("Caf\xC3\xA9"), drawBytes("Cafe"));
  EXPECT_EQ(drawBytes("\xE4\xB8\xAD\xE6\x96\x87"), drawWide(u"\u4E2D\u6587"));
  // One glyph per character: two CJK characters (from a fallback face, or
  // the font's missing-glyph box without one), one for a surrogate pair.
  Area a = makeArea(10, 10);
  EXPECT_EQ(glyphCount(Text(a->text3("\xE4\xB8\xAD\xE6\x96\x87", kDejaVu.c_str(), 12)).get()), 2u);
  EXPECT_EQ(glyphCount(Text(a->text3(u"\U0001F600", kDejaVu.c_str(), 12)).get()), 1u);
}

TEST(TextColour, SpecialAndTableColoursDrawAsThePlainColour) {
  const auto draw = [](const std::function<int(DrawArea *)> &colourOf) {
    Area a = makeArea(150, 30, 0x000000FF);
    a->setAntiAliasText(TTFText::AntiAliasOn);
    a->text("Route 66", kSans.c_str(), 14, 3, 3, colourOf(a.get()));
    return pixels(a.get());
  };
  for (uint32_t plain : {0x00FF0000u, 0x60FF8000u}) {
    const int c = static_cast<int>(plain);
    const auto expected = draw([&](DrawArea *) { return c; });
    // A one-pixel pattern is evaluated pixel by pixel: the plain route's twin.
    EXPECT_EQ(draw([&](DrawArea *a) { return a->patternColor(&c, 1, 1, 0, 0); }), expected);
    EXPECT_EQ(draw([&](DrawArea *a) {
                a->setColorTable(&c, 1, 5);
                return drawtest::col(0xFFFF0005);
              }),
              expected);
  }
  // A table entry that is Transparent, or beyond the table, draws nothing.
  const auto blank = draw([](DrawArea *) { return Transparent; });
  EXPECT_EQ(draw([](DrawArea *) { return drawtest::col(0xFFFF0009); }), blank);
  EXPECT_EQ(distinctColours(makeArea(150, 30, 0x000000FF).get()),
            std::set<int>{0x000000FF});
  EXPECT_EQ(std::set<int>(blank.begin(), blank.end()), std::set<int>{0x000000FF});
}

TEST(TextOperations, ShortFormsAndDrawNothingCases) {
  const auto picture = [](const std::function<void(DrawArea *)> &draw) {
    Area a = makeArea(120, 40);
    draw(a.get());
    return pixels(a.get());
  };
  const char *f = kSans.c_str();
  const auto expected = picture([&](DrawArea *a) {
    a->text2("Label", f, 0, 12, 12, 0, 0, 5, 5, kBlack, AlignTopLeft);
  });
  const auto blank = picture([](DrawArea *) {});
  ASSERT_NE(expected, blank);
  EXPECT_EQ(picture([&](DrawArea *a) { a->text("Label", f, 12, 5, 5, kBlack); }), expected);
  EXPECT_EQ(picture([&](DrawArea *a) { a->text(u"Label", f, 12, 5, 5, kBlack); }), expected);
  EXPECT_EQ(picture([&](DrawArea *a) {
              Text t(a->text3("Label", f, 12));
              t->draw(5, 5, kBlack, AlignTopLeft);
            }),
            expected);
  EXPECT_EQ(picture([&](DrawArea *a) {
              TTFText *t = a->text4(u"Label", f, 3, 12, 12, 0, 0);  // the face index is unused
              t->draw(5, 5, kBlack, AlignTopLeft);
              a->close(t);
            }),
            expected);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const auto &[height, width, colour] : std::vector<std::tuple<double, double, int>>{
           {12, 12, Transparent}, {0, 12, kBlack}, {12, 0, kBlack}, {-1, 12, kBlack},
           {12, -1, kBlack}, {nan, 12, kBlack}, {12, nan, kBlack}}) {
    EXPECT_EQ(picture([&](DrawArea *a) {
                a->text2("Label", f, 0, height, width, 0, 0, 5, 5, colour, AlignTopLeft);
              }),
              blank)
        << height << " " << width;
  }
  // Null texts and fonts are empty texts and the fallback font.
  EXPECT_EQ(picture([&](DrawArea *a) { a->text(static_cast<const char *>(nullptr), f, 12, 5, 5, kBlack); }), blank);
  EXPECT_EQ(picture([&](DrawArea *a) { a->text("Label", nullptr, 12, 5, 5, kBlack); }), expected);
  Area a = makeArea(10, 10);
  a->close(nullptr);
}

TEST(TextClipping, TextOverTheEdgeShowsTheSamePixels) {
  Area whole = makeArea(100, 40), clipped = makeArea(30, 12);
  whole->setAntiAliasText(TTFText::AntiAliasOn);
  clipped->setAntiAliasText(TTFText::AntiAliasOn);
  whole->text("Edge case", kSans.c_str(), 16, 20, 10, kBlack);
  clipped->text("Edge case", kSans.c_str(), 16, -10, -5, kBlack);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 30; ++x)
      ASSERT_EQ(clipped->getPixel(x, y), whole->getPixel(x + 30, y + 15)) << x << "," << y;
  // Far outside, nothing and no fault.
  clipped->text("Edge case", kSans.c_str(), 16, INT32_MAX - 5, INT32_MIN + 5, kBlack);
  clipped->text2("Edge case", kSans.c_str(), 0, 16, 16, 0, 0, INT32_MIN, INT32_MAX, kBlack,
                 AlignBottomRight);
}

TEST(TextPixelLimit, GlyphsTooLargeAreLeftOutAndATextHasABudget) {
  Area a = makeArea(50, 50);
  // 20,000 points: the "W" bitmap would be about 26,000 x 24,000 pixels.
  Text huge(a->text3("W", kSans.c_str(), 20000));
  EXPECT_EQ(glyphCount(huge.get()), 0u);
  EXPECT_EQ(huge->getWidth(), 0);
  EXPECT_EQ(huge->getHeight(), RefFace(kSans, 20000).lineHeight());
  huge->draw(0, 0, kBlack, AlignCentre);
  EXPECT_EQ(distinctColours(a.get()), std::set<int>{kWhite});
  // 2,000 points fits; forty of them do not all fit one text's budget.
  Text big(a->text3("W", kSans.c_str(), 2000));
  EXPECT_EQ(glyphCount(big.get()), 1u);
  Text many(a->text3(std::string(40, 'W').c_str(), kSans.c_str(), 2000));
  size_t masks = 0;
  for (const auto &g : static_cast<TTFTextImpl *>(many.get())->lines()[0].glyphs())
    masks += g.levels.size();
  EXPECT_LE(masks, quorvane::text::kTextPixelBudget);
  EXPECT_GT(glyphCount(many.get()), 1u);
  EXPECT_LT(glyphCount(many.get()), 40u);
  // Sizes beyond any glyph are laid out at the largest size, never overflow.
  const int capped = Text(a->text3("", kSans.c_str(), quorvane::text::kMaxFontSizePt))->getHeight();
  for (double size : {1e6, 1e300, std::numeric_limits<double>::infinity()})
    EXPECT_EQ(Text(a->text3("", kSans.c_str(), size))->getHeight(), capped) << size;
  Text odd(a->text4("x", kSans.c_str(), 0, 12, 12, std::numeric_limits<double>::infinity(), 0));
  EXPECT_GT(odd->getWidth(), 0);
}

TEST(TextFailure, ACanvasThatRunsOutOfMemoryStopsTheDrawAndNothingLeaves) {
  // A canvas whose every write runs out of memory, and one whose lookup does.
  struct FailingCanvas final : quorvane::text::TextCanvas {
    bool failLookup = false;
    int writes = 0;
    uint32_t lookup(uint32_t color) override {
      if (failLookup) throw std::bad_alloc();
      return color;
    }
    uint32_t evaluate(uint32_t resolved, int64_t, int64_t) override { return resolved; }
    void plot(int64_t, int64_t, uint32_t) override { ++writes, throw std::bad_alloc(); }
    bool touches(int64_t, int64_t, int64_t, int64_t) const override { return true; }
    void blendLevels(int64_t, int64_t, const uint8_t *, size_t, const uint32_t *) override {
      ++writes;
      throw std::length_error("canvas");
    }
  };
  const auto shared = std::make_shared<FailingCanvas>();
  FailingCanvas &canvas = *shared;
  quorvane::text::TextStyle style;
  style.fontName = kSans.c_str();
  for (const double angle : {0.0, 45.0}) {
    style.angleDeg = angle;
    TTFTextImpl text(shared, u"Out of\nmemory", style, quorvane::text::FontManager::instance());
    const quorvane::FailureWatch watch;
    canvas.writes = 0;
    EXPECT_NO_THROW(text.draw(3, 4, kBlack, AlignCentre)) << angle;
    EXPECT_EQ(canvas.writes, 1) << angle;  // the first failure ends the draw
    EXPECT_NO_THROW(text.drawLookedUp(3, 4, 0xFFFE0000u, AlignTopLeft)) << angle;  // special colour
    canvas.failLookup = true;
    EXPECT_NO_THROW(text.draw(3, 4, kBlack, AlignTopLeft)) << angle;
    canvas.failLookup = false;
    EXPECT_TRUE(watch.sawFailure()) << angle;
    EXPECT_GT(text.getWidth(), 0);
  }
}

TEST(TextClipping, GlyphsWithNoPixelOnTheCanvasAreNotLookedAt) {
  // A 100 x 30 canvas that counts the rows blended and the pixels plotted:
  // a line of 60 characters and one of 60,000 that starts the same way,
  // drawn from the same corner, put the same glyphs on it, so they cost the
  // same, flat and turned, in a plain and in a special colour.
  struct CountingCanvas final : quorvane::text::TextCanvas {
    size_t blends = 0, plots = 0;
    uint32_t lookup(uint32_t color) override { return color; }
    uint32_t evaluate(uint32_t resolved, int64_t, int64_t) override { return resolved; }
    void plot(int64_t, int64_t, uint32_t) override { ++plots; }
    bool touches(int64_t left, int64_t top, int64_t right, int64_t bottom) const override {
      return left < 100 && top < 30 && right > 0 && bottom > 0;
    }
    void blendLevels(int64_t, int64_t, const uint8_t *, size_t, const uint32_t *) override {
      ++blends;
    }
  };
  const std::u16string phrase = u"Net sales 8.4% ";
  std::u16string shortLine, longLine;
  for (int i = 0; i < 4; ++i) shortLine += phrase;
  while (longLine.size() < 60000) longLine += phrase;
  const auto shared = std::make_shared<CountingCanvas>();
  quorvane::text::TextStyle style;
  style.fontName = kSans.c_str();
  style.heightPt = 10;
  for (const double angle : {0.0, 33.0}) {
    style.angleDeg = angle;
    size_t blends[2] = {}, plots[2] = {};
    for (int which = 0; which < 2; ++which) {
      TTFTextImpl text(shared, which == 0 ? shortLine : longLine, style,
                       quorvane::text::FontManager::instance());
      shared->blends = shared->plots = 0;
      text.drawLookedUp(2, 28, kBlack, AlignBottomLeft);
      text.drawLookedUp(2, 28, 0xFFFE0000u, AlignBottomLeft);  // a special colour
      blends[which] = shared->blends;
      plots[which] = shared->plots;
    }
    EXPECT_GT(blends[0], 0u) << angle;
    EXPECT_GT(plots[0], 0u) << angle;
    EXPECT_EQ(blends[0], blends[1]) << angle;
    EXPECT_EQ(plots[0], plots[1]) << angle;
  }
}
