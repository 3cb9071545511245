// Text measurements against FreeType called directly and against the layout
// rules worked by hand: line heights, line counts, sizes, kerning, the
// render-mode choice, and the pixel limit.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "text/text_factory.h"
#include "text/ttf_text.h"
#include "text/text_test_util.h"

using namespace texttest;

namespace {

Text make(DrawArea *a, const char *text, const std::string &font, double size) {
  return Text(a->text3(text, font.c_str(), size));
}

}  // namespace

TEST(TextLayout, EmptyStringIsAsHighAsTheFont) {
  Area a = makeArea(10, 10);
  for (double size : {8.0, 10.0, 17.5}) {
    RefFace ref(kSans, size);
    Text t = make(a.get(), "", kSans, size);
    EXPECT_EQ(t->getWidth(), 0);
    EXPECT_EQ(t->getHeight(), ref.lineHeight()) << size;
    EXPECT_GT(t->getHeight(), 0);
    EXPECT_EQ(t->getLineDistance(), ref.lineDistance());
    // Every line of a font has the same height, whatever its characters.
    EXPECT_EQ(make(a.get(), "gypq", kSans, size)->getHeight(), ref.lineHeight());
    EXPECT_EQ(make(a.get(), "...", kSans, size)->getHeight(), ref.lineHeight());
  }
  // 10 pt Liberation Sans by hand: ascent 10 * 1854 * 96 / 72 / 2048 = 12,
  // descent 10 * -434 * 96 / 72 / 2048 = -2 (toward zero), line distance
  // 10 * 2355 * 96 / 72 / 2048 = 15.
  Text t = make(a.get(), "", kSans, 10);
  EXPECT_EQ(t->getHeight(), 14);
  EXPECT_EQ(t->getLineDistance(), 15);
}

TEST(TextLayout, LineFeedsMakeLinesButAFinalOneDoesNot) {
  Area a = makeArea(10, 10);
  RefFace ref(kSans, 10);
  const int h = ref.lineHeight(), d = ref.lineDistance();
  Text one = make(a.get(), "A", kSans, 10);
  Text three = make(a.get(), "A\n\nB", kSans, 10);
  Text trailing = make(a.get(), "A\n", kSans, 10);
  EXPECT_EQ(three->getHeight(), h + 2 * d);  // three lines, the middle one empty
  EXPECT_EQ(trailing->getHeight(), h);       // one line
  EXPECT_EQ(trailing->getWidth(), one->getWidth());
  EXPECT_EQ(three->getLineHeight(), h);
  EXPECT_EQ(three->getLineDistance(), d);
  auto *impl = static_cast<quorvane::text::TTFTextImpl *>(three.get());
  ASSERT_EQ(impl->lines().size(), 3u);
  EXPECT_EQ(impl->lines()[1].width(), 0);
  EXPECT_EQ(static_cast<quorvane::text::TTFTextImpl *>(trailing.get())->lines().size(), 1u);
  // A lone line feed is one empty line.
  EXPECT_EQ(make(a.get(), "\n", kSans, 10)->getHeight(), h);
  // The widest line sets the width.
  EXPECT_EQ(make(a.get(), "A\nAAAA\nAA", kSans, 10)->getWidth(),
            make(a.get(), "AAAA", kSans, 10)->getWidth());
}

TEST(TextLayout, WidthIsTheUnionOfTheGlyphBitmaps) {
  Area a = makeArea(10, 10);
  a->setAntiAliasText(TTFText::AntiAliasOn);
  for (const char *s : {"Hello", "Wxyz,", "jiffy", "1234567890"}) {
    RefFace ref(kDejaVu, 11);
    EXPECT_EQ(make(a.get(), s, kDejaVu, 11)->getWidth(),
              ref.inkWidth(s, FT_RENDER_MODE_NORMAL, true)) << s;
  }
}

TEST(TextLayout, HeightZeroOrLessIsTwelvePoints) {
  Area a = makeArea(120, 40);
  const auto picture = [&](double height) {
    Area area = makeArea(120, 40);
    Text t(area->text4("Ag", kSans.c_str(), 0, height, 0, 0, 0));
    t->draw(2, 2, kBlack, AlignTopLeft);
    return std::make_tuple(t->getWidth(), t->getHeight(), pixels(area.get()));
  };
  EXPECT_EQ(picture(0), picture(12));
  EXPECT_EQ(picture(-3), picture(12));
  EXPECT_EQ(picture(std::numeric_limits<double>::quiet_NaN()), picture(12));
  EXPECT_NE(picture(11), picture(12));
  // A width of 0 is the height; other widths stretch the glyphs.
  Text wide(a->text4("Ag", kSans.c_str(), 0, 12, 24, 0, 0));
  Text same(a->text4("Ag", kSans.c_str(), 0, 12, 0, 0, 0));
  EXPECT_EQ(same->getWidth(), make(a.get(), "Ag", kSans, 12)->getWidth());
  EXPECT_GT(wide->getWidth(), same->getWidth() * 3 / 2);
  EXPECT_EQ(wide->getHeight(), same->getHeight());
}

TEST(TextLayout, KerningFromFourteenPoints) {
  Area a = makeArea(10, 10);
  for (double size : {13.0, 14.0}) {
    RefFace ref(kSans, size);
    const int kerned = ref.inkWidth("AV", FT_RENDER_MODE_MONO, true);
    const int plain = ref.inkWidth("AV", FT_RENDER_MODE_MONO, false);
    ASSERT_NE(kerned, plain) << "the font kerns AV at " << size;
    EXPECT_EQ(make(a.get(), "AV", kSans, size)->getWidth(), size >= 14 ? kerned : plain) << size;
  }
  // The width decides when it is given: 14 points wide kerns at a height of
  // 13, 13 points wide does not at a height of 20 (grey, as 20 >= 15).
  RefFace wideShort(kSans, 13, 14), narrowTall(kSans, 20, 13);
  ASSERT_NE(wideShort.inkWidth("AV", FT_RENDER_MODE_MONO, true),
            wideShort.inkWidth("AV", FT_RENDER_MODE_MONO, false));
  EXPECT_EQ(Text(a->text4("AV", kSans.c_str(), 0, 13, 14, 0, 0))->getWidth(),
            wideShort.inkWidth("AV", FT_RENDER_MODE_MONO, true));
  EXPECT_EQ(Text(a->text4("AV", kSans.c_str(), 0, 20, 13, 0, 0))->getWidth(),
            narrowTall.inkWidth("AV", FT_RENDER_MODE_NORMAL, false));
}
