// Laying out and drawing a 20-character label at 10 points, one-bit and grey,
// against FreeType alone loading and rendering the same glyphs in the same
// run (the floor). Two floors: with the face kept open, and with the face
// opened and sized per label as a text's layout does. Drawing an already
// laid-out text is measured on its own: it should cost only the mask copy.
#include <benchmark/benchmark.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

#include "quorvane.h"

namespace {

const char *const kFont = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";
const char *const kLabel = "Revenue 2024 Q3 (k$)";  // 20 characters
constexpr double kSizePt = 10;

DrawArea *makeArea(int mode) {
  DrawArea *a = DrawArea::create();
  a->setSize(300, 60, 0xFFFFFF);
  a->setAntiAliasText(mode);
  return a;
}

void renderGlyphs(FT_Face face, FT_Render_Mode mode) {
  for (const char *c = kLabel; *c != '\0'; ++c) {
    if (FT_Load_Glyph(face, FT_Get_Char_Index(face, static_cast<unsigned char>(*c)),
                      FT_LOAD_NO_BITMAP) == 0)
      FT_Render_Glyph(face->glyph, mode);
    benchmark::DoNotOptimize(face->glyph->bitmap.buffer);
  }
}

void FloorFreeTypeGlyphs(benchmark::State &state) {
  FT_Library library;
  FT_Init_FreeType(&library);
  FT_Face face;
  FT_New_Face(library, kFont, 0, &face);
  FT_Set_Char_Size(face, kSizePt * 64, kSizePt * 64, 96, 96);
  const auto mode = state.range(0) == 0 ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL;
  for (auto _ : state) renderGlyphs(face, mode);
  FT_Done_Face(face);
  FT_Done_FreeType(library);
}

void FloorFreeTypeOpenAndGlyphs(benchmark::State &state) {
  FT_Library library;
  FT_Init_FreeType(&library);
  const auto mode = state.range(0) == 0 ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL;
  for (auto _ : state) {
    FT_Face face;
    FT_New_Face(library, kFont, 0, &face);
    FT_Set_Char_Size(face, kSizePt * 64, kSizePt * 64, 96, 96);
    renderGlyphs(face, mode);
    FT_Done_Face(face);
  }
  FT_Done_FreeType(library);
}

void LayoutAndDraw(benchmark::State &state) {
  DrawArea *a = makeArea(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TTFText *t = a->text3(kLabel, kFont, kSizePt);
    t->draw(10, 10, 0x000000, AlignTopLeft);
    t->destroy();
  }
  a->destroy();
}

void DrawLaidOut(benchmark::State &state) {
  DrawArea *a = makeArea(static_cast<int>(state.range(0)));
  TTFText *t = a->text3(kLabel, kFont, kSizePt);
  for (auto _ : state) t->draw(10, 10, 0x000000, AlignTopLeft);
  t->destroy();
  a->destroy();
}

// Argument: 0 one-bit, 1 grey.
BENCHMARK(FloorFreeTypeGlyphs)->ArgName("grey")->Arg(0)->Arg(1);
BENCHMARK(FloorFreeTypeOpenAndGlyphs)->ArgName("grey")->Arg(0)->Arg(1);
BENCHMARK(LayoutAndDraw)->ArgName("grey")->Arg(0)->Arg(1);
BENCHMARK(DrawLaidOut)->ArgName("grey")->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
