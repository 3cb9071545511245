// Laying out and drawing a 20-character label at 10 points, one-bit and grey,
// against FreeType alone loading and rendering the same glyphs in the same
// run (the floor). Two floors: with the face kept open, and with the face
// opened and sized per label as a text's layout does. Drawing an already
// laid-out text is measured on its own: it should cost only the mask copy.
// RotatedLayout lays out 256 KB of words in lines of about 80 characters at
// 45 degrees, against the same text laid out flat (its floor); after the run
// it is reported as a ratio to that floor. TurnedLine lays out and draws one
// line of 1 KB, 100 KB and 1 MB of words at 33 degrees on a 600 x 400 area,
// against the same line flat (its floor): a turned line is held to three
// times the flat one at any length. MixedScripts lays out and draws a label
// whose Chinese and symbol characters come from fallback faces, against a
// Latin label of as many characters; RandomCodepoints does the same for 10,000
// seeded random code points, most of which no face has.
#include <benchmark/benchmark.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <random>
#include <string>
#include <utility>

#include "floor_ratio_reporter.h"
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

// Seeded ordinary words, a line feed after the word that passes 80
// characters, 256 KB in all.
const std::string &longText() {
  static const std::string text = [] {
    static const char *const kWords[] = {
        "the",     "of",     "and",    "to",       "in",      "revenue", "quarter", "growth",
        "market",  "region", "north",  "south",    "sales",   "total",   "average", "chart",
        "value",   "series", "profit", "forecast", "budget",  "with",    "from",    "by",
        "product", "year",   "month",  "customer", "service", "cost",    "margin",  "Q3",
        "2024",    "12.5%",  "(k$)",   "Europe",   "Asia",    "America", "index",   "share"};
    constexpr size_t kWordCount = sizeof kWords / sizeof kWords[0];
    std::mt19937 rng(11);
    std::string out;
    size_t lineLength = 0;
    while (out.size() < size_t{256} << 10) {
      const std::string word = kWords[rng() % kWordCount];
      out += word;
      lineLength += word.size();
      if (lineLength >= 80) {
        out += '\n';
        lineLength = 0;
      } else {
        out += ' ';
        ++lineLength;
      }
    }
    return out;
  }();
  return text;
}

// Lays out and destroys the long text at angleDeg.
void layoutLongText(benchmark::State &state, double angleDeg) {
  DrawArea *a = makeArea(static_cast<int>(state.range(0)));
  const std::string &text = longText();
  for (auto _ : state) {
    TTFText *t = a->text4(text.c_str(), kFont, 0, kSizePt, kSizePt, angleDeg, 0);
    benchmark::DoNotOptimize(t->getWidth());
    t->destroy();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  a->destroy();
}

// One line of words, length bytes.
std::string wordLine(size_t length) {
  std::string line;
  for (size_t i = 0; line.size() < length; i = (i + 1) % longText().size())
    if (longText()[i] != '\n') line += longText()[i];
  line.resize(length);
  return line;
}

// Lays out and draws one line of state.range(0) bytes at angleDeg.
void drawLine(benchmark::State &state, double angleDeg) {
  DrawArea *a = DrawArea::create();
  a->setSize(600, 400, 0xFFFFFF);
  a->setAntiAliasText(1);
  const std::string line = wordLine(static_cast<size_t>(state.range(0)));
  for (auto _ : state)
    a->text2(line.c_str(), kFont, 0, kSizePt, kSizePt, angleDeg, 0, 20, 380, 0x000000,
             AlignBottomLeft);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
  a->destroy();
}

// Lays out and draws label (UTF-8) at 10 points.
void drawLabel(benchmark::State &state, const std::string &label) {
  DrawArea *a = makeArea(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TTFText *t = a->text3(label.c_str(), kFont, kSizePt);
    t->draw(10, 10, 0x000000, AlignTopLeft);
    t->destroy();
  }
  a->destroy();
}

// count seeded random code points below U+30000 (no surrogates or line
// feeds), as UTF-8.
std::string randomCodepoints(size_t count) {
  std::mt19937 rng(5);
  std::string out;
  while (count > 0) {
    const uint32_t cp = rng() % 0x30000;
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp == '\n') continue;
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    --count;
  }
  return out;
}

// Argument: 0 one-bit, 1 grey.
BENCHMARK(FloorFreeTypeGlyphs)->ArgName("grey")->Arg(0)->Arg(1);
BENCHMARK(FloorFreeTypeOpenAndGlyphs)->ArgName("grey")->Arg(0)->Arg(1);
BENCHMARK(LayoutAndDraw)->ArgName("grey")->Arg(0)->Arg(1);
BENCHMARK(DrawLaidOut)->ArgName("grey")->Arg(0)->Arg(1);

}  // namespace

int main(int argc, char **argv) {
  // Argument: 0 one-bit, 1 grey.
  benchmark::RegisterBenchmark("Floor/RotatedLayout", layoutLongText, 0.0)
      ->ArgName("grey")
      ->Arg(0)
      ->Arg(1)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("RotatedLayout", layoutLongText, 45.0)
      ->ArgName("grey")
      ->Arg(0)
      ->Arg(1)
      ->Unit(benchmark::kMillisecond);
  // "Zürich 北京 ✓" against a Latin label of eleven characters.
  const std::pair<const char *, std::string> labels[] = {
      {"Floor/MixedScripts", "Zurich BJ v"},
      {"MixedScripts", "Z\xC3\xBCrich \xE5\x8C\x97\xE4\xBA\xAC \xE2\x9C\x93"},
      {"Floor/RandomCodepoints", wordLine(10000)},
      {"RandomCodepoints", randomCodepoints(10000)}};
  for (const auto &[name, label] : labels)
    benchmark::RegisterBenchmark(name, drawLabel, label)->ArgName("grey")->Arg(0)->Arg(1);
  for (const auto &[name, angleDeg] : {std::pair{"Floor/TurnedLine", 0.0}, {"TurnedLine", 33.0}})
    benchmark::RegisterBenchmark(name, drawLine, angleDeg)
        ->ArgName("bytes")
        ->Arg(1 << 10)
        ->Arg(100 << 10)
        ->Arg(1 << 20)
        ->Unit(benchmark::kMillisecond);
  return runWithFloorRatios(argc, argv);
}
