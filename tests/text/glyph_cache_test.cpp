// Upright glyphs are rendered once per face and size and reused wherever the
// pen puts them. The pictures are checked pixel by pixel against FreeType
// called directly the long way: each outline moved to its whole-pixel pen
// and rendered there. Repeated letters, texts drawn again, more sizes than
// a face keeps, and glyphs too large to keep all have to match.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "text/text_test_util.h"

using namespace texttest;

namespace {

constexpr int kDontCare = -1;

// Expected picture of one line of ASCII text drawn in black at (x0, y0) by
// its top-left on white: the glyph bitmaps as FreeType renders each outline
// at its rounded pen, quantised as drawing quantises coverage. Pixels that
// two glyphs both cover are left out of the comparison.
std::vector<int> expectedPicture(const std::string &font, double sizePt, const std::string &text,
                                 FT_Render_Mode mode, int width, int height, int x0, int y0) {
  RefFace ref(font, sizePt);
  FT_Face face = ref.face();
  const auto glyphs = ref.placedGlyphs(text, mode, FT_HAS_KERNING(face) && sizePt >= 14);
  long minX = LONG_MAX;
  for (const auto &g : glyphs) minX = std::min(minX, g.left);
  const long em = face->units_per_EM;
  const long ascent = static_cast<long>(std::trunc(sizePt * face->ascender * 96)) / 72 / em;

  std::vector<int> picture(static_cast<size_t>(width) * height, kWhite);
  std::vector<int> covers(picture.size(), 0);
  for (const auto &g : glyphs)
    for (unsigned r = 0; r < g.rows; ++r)
      for (unsigned k = 0; k < g.width; ++k) {
        const unsigned v = g.coverage[r * g.width + k];
        const long x = x0 + g.left - minX + k, y = y0 + ascent - g.top + r;
        if (v < 31 || x < 0 || y < 0 || x >= width || y >= height) continue;
        const size_t at = static_cast<size_t>(y) * width + x;
        const int channel = v >= 255 ? 0 : 255 - ((v + 1) / 32 * 32 - 1);
        picture[at] = ++covers[at] > 1 ? kDontCare : channel * 0x010101;
      }
  return picture;
}

// Draws the text and compares; returns the number of pixels that differ.
int differences(const std::string &font, double sizePt, const std::string &text, int mode) {
  const int width = 40 + static_cast<int>(text.size() * sizePt * 1.5);
  const int height = 20 + static_cast<int>(2 * sizePt);
  Area a = makeArea(width, height);
  a->setAntiAliasText(mode);
  a->text(text.c_str(), font.c_str(), sizePt, 6, 5, kBlack);
  const FT_Render_Mode ftMode =
      mode == TTFText::AntiAliasOff ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL;
  const auto expected = expectedPicture(font, sizePt, text, ftMode, width, height, 6, 5);
  const auto drawn = pixels(a.get());
  int wrong = 0, inked = 0;
  for (size_t i = 0; i < drawn.size(); ++i) {
    if (expected[i] != kWhite) ++inked;
    if (expected[i] != kDontCare && expected[i] != drawn[i]) ++wrong;
  }
  EXPECT_GT(inked, 0) << text;
  return wrong;
}

}  // namespace

TEST(GlyphCache, RepeatedAndRedrawnGlyphsMatchRenderingAtThePen) {
  using M = TTFText::AntiAliasMode;
  for (int pass = 0; pass < 2; ++pass) {  // the second pass is served from the cache
    EXPECT_EQ(differences(kSans, 10, "Hello, Quorvane 2026", M::AntiAliasOff), 0) << pass;
    EXPECT_EQ(differences(kSans, 10, "mmmmmmmmiiiiiiii", M::AntiAliasOn), 0) << pass;
    EXPECT_EQ(differences(kDejaVu, 11.5, "Sales 12.5% / R&D", M::AntiAliasOn), 0) << pass;
    // Kerned: the pen lands on other whole pixels for the same glyphs.
    EXPECT_EQ(differences(kSans, 16, "AVAVA To Wa LTY", M::AntiAliasOn), 0) << pass;
    EXPECT_EQ(differences(kSansBold, 14, "AVAVA To Wa LTY", M::AntiAliasOff), 0) << pass;
  }
}

TEST(GlyphCache, MoreSizesThanAFaceKeepsAndGlyphsTooLargeToKeep) {
  using M = TTFText::AntiAliasMode;
  for (int round = 0; round < 2; ++round)
    for (double size = 6; size <= 20; size += 1.5)
      EXPECT_EQ(differences(kDejaVu, size, "Label 7", M::AntiAliasOn), 0) << size;
  // Masks above the size kept are rendered for each text.
  for (int round = 0; round < 2; ++round)
    EXPECT_EQ(differences(kSans, 90, "Wg", M::AntiAliasOn), 0) << round;
}
