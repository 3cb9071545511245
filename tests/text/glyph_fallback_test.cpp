// Characters a face lacks come from the first fallback face that has it, are
// measured as drawn, and cost no file work per character. Expected faces and
// widths come from FreeType called directly over the fallback order written
// out here; pictures are compared with the fallback face named outright.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "text/font_directories.h"
#include "text/font_manager.h"
#include "text/platform_fonts.h"
#include "text/text_line.h"
#include "text/text_test_util.h"

using namespace texttest;
using quorvane::text::FontManager;
using quorvane::text::GlyphSource;
using quorvane::text::TextLine;
using quorvane::text::TextStyle;

namespace {

const std::string kDroid = "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf";
const std::string kSymbola = "/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf";
const std::u16string kMixed = u"Z\u00FCrich \u5317\u4EAC \u2713";  // Zürich 北京 ✓
constexpr char32_t kUnassigned = 0x0378;  // no font has it

bool fallbackFontsMissing() {
  return !std::filesystem::exists(kDroid) || !std::filesystem::exists(kSymbola) ||
         std::getenv("FONTPATH") != nullptr;
}
#define SKIP_WITHOUT_FALLBACK_FONTS()                                                       \
  if (fallbackFontsMissing())                                                               \
  GTEST_SKIP() << "needs fonts-droid-fallback and fonts-symbola and no FONTPATH (install " \
                  "them with scripts/install-deps.sh)"

// The faces a regular Liberation Sans text falls back to, in order, opened
// here at sizePt.
struct FallbackOrder {
  explicit FallbackOrder(double sizePt) {
    for (const std::string *path : {&kSans, &kDejaVu, &kDroid, &kSymbola})
      faces.push_back(std::make_unique<RefFace>(*path, sizePt));
  }
  // The first face that has c, and its glyph; the first face's glyph 0 when none has.
  std::pair<FT_Face, FT_UInt> glyphOf(char32_t c) const {
    for (const auto &f : faces)
      if (const FT_UInt index = FT_Get_Char_Index(f->face(), c)) return {f->face(), index};
    return {faces.front()->face(), 0};
  }
  std::vector<std::unique_ptr<RefFace>> faces;
};

// The pixels inside the ink's box, row by row.
std::vector<int> inkCrop(DrawArea *a) {
  const InkBox b = inkBox(a);
  std::vector<int> crop;
  for (int y = b.minY; y <= b.maxY; ++y)
    for (int x = b.minX; x <= b.maxX; ++x) crop.push_back(a->getPixel(x, y));
  return crop;
}

}  // namespace

TEST(GlyphFallback, EachCharacterComesFromTheFirstFaceThatHasIt) {
  SKIP_WITHOUT_FALLBACK_FONTS();
  // Each character, the face it is asked of, and the face it is drawn from.
  const std::string droid = "DroidSansFallbackFull.ttf", sans = "LiberationSans-Regular.ttf";
  const struct {
    std::string font;
    char32_t c;
    std::string from;
  } cases[] = {
      {"arial.ttf", U'\u00FC', sans}, {"arial.ttf", U'\u5317', droid},
      {"arial.ttf", U'\u2713', "DejaVuSans.ttf"}, {"arial.ttf", U'\U0001F30D', "Symbola_hint.ttf"},
      {kDroid, U'Z', "DejaVuSans.ttf"},  // a Latin letter asked of a CJK face
      {"arialbd.ttf", U'\u2713', "DejaVuSans-Bold.ttf"},  // the bold cut first
      {"DejaVuSans.ttf", U'\u20BF', sans},  // not its own fallback
      {"arial.ttf", kUnassigned, sans},     // no face has it: the box, glyph 0
  };
  FontManager &fonts = FontManager::instance();
  const FontManager::Lock lock(fonts);
  const FallbackOrder order(12);
  for (const auto &c : cases) {
    const GlyphSource source = fonts.glyphFor(*fonts.selectFace(c.font.c_str(), lock), c.c, lock);
    EXPECT_EQ(quorvane::text::platform::fileNameOf(source.face->path()), c.from) << c.font;
    EXPECT_EQ(source.index, FT_Get_Char_Index(source.face->face(), c.c)) << c.font;
    EXPECT_EQ(source.index != 0, c.c != kUnassigned) << c.font;
    if (c.font == "arial.ttf") {  // the order written out here agrees
      EXPECT_EQ(source.index, order.glyphOf(c.c).second) << c.font;
    }
  }
}

TEST(GlyphFallback, AMixedLabelMeasuresWithTheGlyphsDrawn) {
  SKIP_WITHOUT_FALLBACK_FONTS();
  // One line, grey, at a size without kerning, over FreeType directly: each
  // glyph from its face, the pen rounded to whole pixels before it and moved
  // by its advance after; the width is that of the union of the bitmaps.
  for (const double sizePt : {9.0, 12.0, 13.5}) {
    const FallbackOrder order(sizePt);
    long pen = 0, minX = LONG_MAX, maxX = LONG_MIN;
    for (const char32_t c : kMixed) {  // no surrogate pairs
      const auto [face, index] = order.glyphOf(c);
      ASSERT_EQ(FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP), 0);
      pen = (pen + 32) & ~long{63};
      FT_Outline_Translate(&face->glyph->outline, pen, 0);
      pen += face->glyph->advance.x;
      // A space's empty bitmap stays at the origin and counts there.
      ASSERT_EQ(FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL), 0);
      minX = std::min<long>(minX, face->glyph->bitmap_left);
      maxX = std::max<long>(maxX, face->glyph->bitmap_left + face->glyph->bitmap.width);
    }
    Area a = makeArea(300, 60);
    a->setAntiAliasText(TTFText::AntiAliasOn);
    Text t(a->text3(kMixed.c_str(), "arial.ttf", sizePt));
    EXPECT_EQ(t->getWidth(), maxX - minX) << sizePt;
    EXPECT_EQ(t->getHeight(), RefFace(kSans, sizePt).lineHeight()) << sizePt;
    // What is drawn lies in the box it measures.
    t->draw(5, 5, kBlack, AlignTopLeft);
    const InkBox ink = inkBox(a.get());
    EXPECT_GE(ink.minX, 5);
    EXPECT_LT(ink.maxX, 5 + t->getWidth()) << sizePt;
    EXPECT_GT(ink.maxX, 5 + t->getWidth() - 3) << sizePt;
  }
}

TEST(GlyphFallback, BorrowedGlyphsDrawAsTheirFaceNamedOutright) {
  SKIP_WITHOUT_FALLBACK_FONTS();
  struct Case {
    std::u16string text;
    std::string font, same;  // text in font draws as in same
    double angleDeg;
    bool vertical;
  };
  const std::vector<Case> cases = {
      {u"\u5317\u4EAC", "arial.ttf", kDroid, 0, false},
      {u"\u5317\u4EAC", "arial.ttf", kDroid, 30, false},
      {u"\u5317\u4EAC\u4E2D", "arial.ttf", kDroid, 0, true},
      {u"\u2713\u2713", "arial.ttf", kDejaVu, 90, false},
      {u"ZAV", kDroid, kDejaVu, -45, false},
      {u"\U0001F30D\U0001F308", kDroid, kSymbola, 0, false},
  };
  for (const Case &c : cases)
    for (const int mode : {0, 1}) {
      const auto draw = [&](const std::string &font, int &width, int &height) {
        Area a = makeArea(160, 160);
        a->setAntiAliasText(mode);
        Text t(a->text4(c.text.c_str(), font.c_str(), 0, 16, 16, c.angleDeg, c.vertical));
        width = t->getWidth(), height = t->getHeight();
        t->draw(20, 20, kBlack, AlignTopLeft);
        return inkCrop(a.get());
      };
      int width = 0, height = 0, sameWidth = 0, sameHeight = 0;
      const auto picture = draw(c.font, width, height);
      EXPECT_FALSE(picture.empty());
      EXPECT_EQ(picture, draw(c.same, sameWidth, sameHeight)) << c.font << " " << c.angleDeg;
      EXPECT_EQ(width, sameWidth) << c.font << " " << c.angleDeg;
      // Upright horizontal lines are as high as their own face says.
      if (c.angleDeg != 0 || c.vertical) {
        EXPECT_EQ(height, sameHeight) << c.angleDeg;
      }
    }
}

TEST(GlyphFallback, AHostileLabelOpensEachFallbackFaceOnceAndLooksAtNoFilePerCharacter) {
  SKIP_WITHOUT_FALLBACK_FONTS();
  FontManager fonts(quorvane::text::buildFontDirectories(
      std::nullopt, quorvane::text::platform::platformFontDirectories()));
  const FontManager::Lock lock(fonts);
  std::mt19937 rng(17);
  const auto hostile = [&](size_t length) {
    std::u16string text;
    while (text.size() < length) {
      const char32_t c = rng() % 0x30000;
      if ((c >= 0xD800 && c <= 0xDFFF) || c == '\n') continue;
      if (c >= 0x10000) text += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      text += static_cast<char16_t>(c < 0x10000 ? c : 0xDC00 + ((c - 0x10000) & 0x3FF));
    }
    return text;
  };
  TextStyle style;
  style.fontName = "arial.ttf";
  const auto layOut = [&](const std::u16string &text) {
    const FontManager::FileWork before = fonts.fileWork(lock);
    uint64_t budget = quorvane::text::kTextPixelBudget;
    TextLine::layout(text, style, fonts, lock, budget);
    const FontManager::FileWork after = fonts.fileWork(lock);
    return FontManager::FileWork{after.pathsProbed - before.pathsProbed,
                                 after.facesOpened - before.facesOpened};
  };
  // The first: the face, and each fallback face at most once.
  const FontManager::FileWork first = layOut(hostile(100000));
  EXPECT_LE(first.facesOpened,
            1 + quorvane::text::platform::fallbackFontNames(false).size());
  EXPECT_GE(first.facesOpened, 3u);  // Liberation Sans, DejaVu Sans, Droid, Symbola at least
  // Afterwards a label costs the look at its own face's file, whatever its length.
  const FontManager::FileWork oneLetter = layOut(u"a");
  const FontManager::FileWork longLabel = layOut(hostile(100000));
  EXPECT_EQ(oneLetter.facesOpened, 0u);
  EXPECT_EQ(longLabel.facesOpened, 0u);
  EXPECT_EQ(longLabel.pathsProbed, oneLetter.pathsProbed);
  EXPECT_LE(oneLetter.pathsProbed, 1u);
}
