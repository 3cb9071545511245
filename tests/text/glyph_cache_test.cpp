// Upright glyphs are rendered once per face and size and reused wherever the
// pen puts them. The pictures are checked pixel by pixel against FreeType
// called directly the long way: each outline moved to its whole-pixel pen
// and rendered there. Repeated letters, texts drawn again, more sizes than
// a face keeps, and glyphs too large to keep all have to match.
#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

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
  struct Placed {
    long left, top;
    unsigned width, rows;
    std::vector<unsigned char> coverage;
  };
  std::vector<Placed> glyphs;
  const bool kern = FT_HAS_KERNING(face) && sizePt >= 14;
  FT_Vector pen{0, 0};
  FT_UInt previous = 0;
  for (unsigned char c : text) {
    const FT_UInt index = FT_Get_Char_Index(face, c);
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP) != 0) continue;
    if (kern && previous != 0 && index != 0) {
      FT_Vector delta{};
      FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &delta);
      pen.x += delta.x;
    }
    previous = index;
    pen.x = (pen.x + 32) & ~FT_Pos{63};
    const FT_Pos advance = face->glyph->advance.x;
    FT_Outline_Translate(&face->glyph->outline, pen.x, pen.y);
    pen.x += advance;
    if (FT_Render_Glyph(face->glyph, mode) != 0) continue;
    const FT_Bitmap &bm = face->glyph->bitmap;
    Placed p{face->glyph->bitmap_left, face->glyph->bitmap_top, bm.width, bm.rows, {}};
    for (unsigned r = 0; r < bm.rows; ++r)
      for (unsigned k = 0; k < bm.width; ++k) {
        const unsigned char *row = bm.buffer + static_cast<ptrdiff_t>(r) * bm.pitch;
        p.coverage.push_back(bm.pixel_mode == FT_PIXEL_MODE_MONO
                                 ? ((row[k >> 3] & (0x80 >> (k & 7))) ? 255 : 0)
                                 : row[k]);
      }
    glyphs.push_back(std::move(p));
  }
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
