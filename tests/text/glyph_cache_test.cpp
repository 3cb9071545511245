// Upright glyphs are rendered once per face and size and reused wherever the
// pen puts them; turned glyphs once per face, size, angle and pen phase, and
// not at all where FreeType would decline them. The pictures are checked
// pixel by pixel against FreeType called directly the long way: each outline
// moved to its whole-pixel pen (and turned) and rendered there. Repeated letters, texts drawn again, more sizes and angles
// than a face keeps, and glyphs too large to keep all have to match.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "text/font_manager.h"
#include "text/glyph_mask.h"
#include "text/text_line.h"
#include "text/text_test_util.h"

using namespace texttest;

namespace {

constexpr int kDontCare = -1;

// The rotation of a text turned by angleDeg, in 16.16 with the factors
// truncated towards zero.
FT_Matrix rotationOf(double angleDeg) {
  const double radians = angleDeg * 0.0174532925203;
  return FT_Matrix{static_cast<FT_Fixed>(std::cos(radians) * 65536),
                   static_cast<FT_Fixed>(-std::sin(radians) * 65536),
                   static_cast<FT_Fixed>(std::sin(radians) * 65536),
                   static_cast<FT_Fixed>(std::cos(radians) * 65536)};
}

// Expected picture of one line of ASCII text turned by angleDeg, drawn in
// black at (x0, y0) by its top-left on white: the glyph bitmaps as FreeType
// renders each outline at its rounded pen (turned about the origin),
// quantised as drawing quantises coverage. An upright line is as high as the
// font's ascent; a turned one's box is that of its glyphs, empty ones
// included. Pixels that two glyphs both cover are left out of the comparison.
std::vector<int> expectedPicture(const std::string &font, double sizePt, const std::string &text,
                                 FT_Render_Mode mode, double angleDeg, int width, int height,
                                 int x0, int y0) {
  RefFace ref(font, sizePt);
  FT_Face face = ref.face();
  const FT_Matrix turn = rotationOf(angleDeg);
  const auto glyphs = ref.placedGlyphs(text, mode, FT_HAS_KERNING(face) && sizePt >= 14,
                                       angleDeg != 0 ? &turn : nullptr);
  long minX = LONG_MAX, maxTop = LONG_MIN;
  for (const auto &g : glyphs) minX = std::min(minX, g.left), maxTop = std::max(maxTop, g.top);
  const long em = face->units_per_EM;
  const long ascent = angleDeg != 0
                          ? maxTop
                          : static_cast<long>(std::trunc(sizePt * face->ascender * 96)) / 72 / em;

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

// Draws the text turned by angleDeg and compares; returns the number of
// pixels that differ. drawn, when given, receives the picture drawn.
int differences(const std::string &font, double sizePt, const std::string &text, int mode,
                double angleDeg = 0, std::vector<int> *drawn = nullptr) {
  const int width = 40 + static_cast<int>(text.size() * sizePt * 1.5);
  const int height = angleDeg != 0 ? width : 20 + static_cast<int>(2 * sizePt);
  Area a = makeArea(width, height);
  a->setAntiAliasText(mode);
  a->text2(text.c_str(), font.c_str(), 0, sizePt, sizePt, angleDeg, 0, 6, 5, kBlack,
           AlignTopLeft);
  const FT_Render_Mode ftMode =
      mode == TTFText::AntiAliasOff ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL;
  const auto expected =
      expectedPicture(font, sizePt, text, ftMode, angleDeg, width, height, 6, 5);
  const auto picture = pixels(a.get());
  int wrong = 0, inked = 0;
  for (size_t i = 0; i < picture.size(); ++i) {
    if (expected[i] != kWhite) ++inked;
    if (expected[i] != kDontCare && expected[i] != picture[i]) ++wrong;
  }
  EXPECT_GT(inked, 0) << text;
  if (drawn != nullptr) *drawn = picture;
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

TEST(GlyphCache, TurnedGlyphsMatchRenderingAtThePenColdWarmAndAfterEviction) {
  using M = TTFText::AntiAliasMode;
  // A size no other test uses, so that the first pass renders every glyph.
  constexpr double kSize = 10.75;
  const std::string text = "Wage 42% / wage 42%, mmm iii AVA";
  const double angles[] = {45, 90, 30, -30, -90, 135, 180, -150, 1, 359.5};
  std::map<std::pair<double, int>, std::vector<int>> first;
  for (int pass = 0; pass < 3; ++pass)  // cold, warm, and after the other angles took the turns
    for (double angle : angles)
      for (int mode : {M::AntiAliasOff, M::AntiAliasOn}) {
        std::vector<int> drawn;
        EXPECT_EQ(differences(kSans, kSize, text, mode, angle, &drawn), 0)
            << angle << " " << mode << " pass " << pass;
        const auto [at, made] = first.try_emplace({angle, mode}, drawn);
        if (!made) {
          EXPECT_EQ(drawn, at->second) << angle << " " << mode << " pass " << pass;
        }
      }
  // Kerned, in another face, and masks too large to keep.
  for (int pass = 0; pass < 2; ++pass) {
    EXPECT_EQ(differences(kSansBold, 16, "AVAVA To Wa LTY", M::AntiAliasOn, -45), 0) << pass;
    EXPECT_EQ(differences(kDejaVu, 12.5, "Sales 12.5% / R&D", M::AntiAliasOff, 60), 0) << pass;
    EXPECT_EQ(differences(kSans, 70, "Wg", M::AntiAliasOn, 30), 0) << pass;
  }
}

TEST(GlyphCache, TurnedGlyphsStayWithinTheirBoundAtManySizesAndAngles) {
  using quorvane::text::FontManager;
  using quorvane::text::SharedFace;
  // Long lines at many sizes and angles: each glyph at each pen is a phase
  // of its own, far more than a face keeps.
  std::string line;
  for (int i = 0; i < 150; ++i) line += "Quarterly 42% ";
  Area a = makeArea(50, 50);
  a->setAntiAliasText(TTFText::AntiAliasOn);
  for (double size = 7; size < 12; size += 0.5)
    for (double angle = 3; angle < 360; angle += 37)
      a->text2(line.c_str(), kDejaVuBold.c_str(), 0, size, size, angle, 0, 0, 0, kBlack,
               AlignTopLeft);
  FontManager &fonts = FontManager::instance();
  const FontManager::Lock lock(fonts);
  SharedFace *face = fonts.openFace(kDejaVuBold, lock);
  ASSERT_NE(face, nullptr);
  EXPECT_GT(face->turnedGlyphBytes(), SharedFace::kMaxTurnedGlyphBytesPerFace / 8);
  EXPECT_LE(face->turnedGlyphBytes(), SharedFace::kMaxTurnedGlyphBytesPerFace);
}

TEST(GlyphCache, ALongTurnedLineMatchesRenderingAtThePenOnceKept) {
  // Hundreds of phases in one rotation: the first pass keeps them, the
  // second finds every one.
  std::string line;
  for (int i = 0; i < 6; ++i) line += "Net sales 8.4% ";
  for (int pass = 0; pass < 2; ++pass)
    EXPECT_EQ(differences(kDejaVuBold, 9.25, line, TTFText::AntiAliasOn, 33), 0) << pass;
}

namespace {

// The glyphs of a long line as FreeType renders each at its pen, with the
// top-left of their box; windows of the drawn line are compared with it.
struct ReferenceLine {
  std::vector<RefFace::PlacedGlyph> glyphs;
  long minX = LONG_MAX, maxTop = LONG_MIN;
};

// Pixels of a width x height window whose top-left is (x0, y0) in the box of
// the line that differ from the reference; inked receives how many the
// reference covers there.
int windowDifferences(const ReferenceLine &ref, const std::string &font, double sizePt,
                      const std::string &text, double angleDeg, long x0, long y0, int width,
                      int height, int &inked) {
  Area a = makeArea(width, height);
  a->setAntiAliasText(TTFText::AntiAliasOn);
  a->text2(text.c_str(), font.c_str(), 0, sizePt, sizePt, angleDeg, 0, static_cast<int>(-x0),
           static_cast<int>(-y0), kBlack, AlignTopLeft);
  std::vector<int> expected(static_cast<size_t>(width) * height, kWhite);
  std::vector<int> covers(expected.size(), 0);
  for (const auto &g : ref.glyphs)
    for (unsigned r = 0; r < g.rows; ++r)
      for (unsigned k = 0; k < g.width; ++k) {
        const unsigned v = g.coverage[r * g.width + k];
        const long x = g.left - ref.minX + k - x0, y = ref.maxTop - g.top + r - y0;
        if (v < 31 || x < 0 || y < 0 || x >= width || y >= height) continue;
        const size_t at = static_cast<size_t>(y) * width + x;
        const int channel = v >= 255 ? 0 : 255 - ((v + 1) / 32 * 32 - 1);
        expected[at] = ++covers[at] > 1 ? kDontCare : channel * 0x010101;
      }
  const auto picture = pixels(a.get());
  int wrong = 0;
  inked = 0;
  for (size_t i = 0; i < picture.size(); ++i) {
    if (expected[i] != kWhite) ++inked;
    if (expected[i] != kDontCare && expected[i] != picture[i]) ++wrong;
  }
  return wrong;
}

}  // namespace

TEST(GlyphCache, ALongTurnedLineMatchesRenderingAtThePenOutToFreeTypesLimit) {
  // About 80,000 pixels of pen travel at 33 degrees: glyphs are kept up to
  // 2^16 pixels of pen, FreeType declines any that reaches 2^15 pixels from
  // the origin (x does first, at a pen of about 39,000), and past that the
  // line is not rendered at all. Windows along the line, at the start, past
  // 2^14 pixels of pen, across the limit and beyond it, match FreeType.
  constexpr double kSize = 9.25, kAngle = 33;
  std::string line;
  while (line.size() < 11000) line += "Net sales 8.4% ";
  const FT_Matrix turn = rotationOf(kAngle);
  ReferenceLine ref;
  {
    RefFace face(kDejaVuBold, kSize);
    ref.glyphs = face.placedGlyphs(line, FT_RENDER_MODE_NORMAL, false, &turn);
  }
  long farthest = 0;
  for (const auto &g : ref.glyphs) {
    ref.minX = std::min(ref.minX, g.left), ref.maxTop = std::max(ref.maxTop, g.top);
    farthest = std::max(farthest, g.left + static_cast<long>(g.width));
  }
  ASSERT_GT(farthest, 32000);  // the line reaches the limit
  ASSERT_LE(farthest, 32768);
  const double c = std::cos(kAngle * 0.0174532925203), s = std::sin(kAngle * 0.0174532925203);
  constexpr int kSide = 160;
  // Pens along the baseline; a window is centred on each.
  const struct {
    double pen;
    bool inked;
  } windows[] = {{60, true}, {21000, true}, {38800, true}, {60000, false}};
  for (int pass = 0; pass < 2; ++pass)  // cold, then from the cache
    for (const auto &w : windows) {
      const long x0 = std::lround(w.pen * c) - ref.minX - kSide / 2;
      const long y0 = ref.maxTop - std::lround(w.pen * s) - kSide / 2;
      int inked = 0;
      EXPECT_EQ(windowDifferences(ref, kDejaVuBold, kSize, line, kAngle, x0, y0, kSide, kSide,
                                  inked),
                0)
          << "pen " << w.pen << " pass " << pass;
      EXPECT_EQ(w.inked, inked > 0) << "pen " << w.pen;
    }
}

TEST(GlyphCache, ATurnedLineRendersOnlyTheGlyphsFreeTypeCanPlace) {
  using quorvane::text::FontManager;
  using quorvane::text::TextLine;
  using quorvane::text::TextStyle;
  // Each length laid out by a manager of its own, so every count starts
  // cold. Past about 39,000 pixels of pen at 33 degrees FreeType declines
  // every glyph, so lines of 16 Ki, 128 Ki and 1 Mi characters (90,000 to
  // 6 million pixels) render the same glyphs; a line that stops short of
  // the limit renders fewer.
  const std::string phrase = "Net sales 8.4% ";
  const auto rasterised = [&](size_t length) {
    std::u16string text;
    while (text.size() < length) text.append(phrase.begin(), phrase.end());
    text.resize(length);
    FontManager fonts({kDejaVuDir});
    const FontManager::Lock lock(fonts);
    TextStyle style;
    style.fontName = kDejaVuBold.c_str();
    style.heightPt = 9.25;
    style.angleDeg = 33;
    style.antiAliasMode = TTFText::AntiAliasOn;
    uint64_t budget = quorvane::text::kTextPixelBudget;
    const TextLine line = TextLine::layout(text, style, fonts, lock, budget);
    EXPECT_GT(line.glyphs().size(), 1000u);
    return fonts.openFace(kDejaVuBold, lock)->glyphsRasterised();
  };
  const uint64_t shortOfTheLimit = rasterised(2048);
  const uint64_t counts[] = {rasterised(16 << 10), rasterised(128 << 10), rasterised(1 << 20)};
  EXPECT_LT(shortOfTheLimit, counts[0]);
  for (const uint64_t count : counts) EXPECT_EQ(counts[0], count);
  // Fewer than one glyph in a hundred of the longest line is rendered.
  EXPECT_LT(counts[2], (1u << 20) / 100);
}
