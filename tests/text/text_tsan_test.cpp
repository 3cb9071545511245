// Text from several threads at once: each lays out, draws and destroys texts
// on its own area while the others do the same. Under ThreadSanitizer this
// shows the font lock covers every shared thing; the pictures must equal
// those of a single-threaded run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/text_test_util.h"

using namespace texttest;

namespace {

// A picture that exercises the cache (several names, letter case, a missing
// font and a fallback), both render modes, rotation and several lines.
std::vector<int> scene(int seed) {
  Area a = makeArea(180, 120);
  const char *fonts[] = {"arial.ttf", "ARIAL.TTF", "arialbd.ttf", "DejaVuSans.ttf",
                         "no-such-font.ttf", "NimbusSans-Regular.pfb"};
  for (int i = 0; i < 12; ++i) {
    const int k = (seed + i) % 6;
    a->setAntiAliasText(i % 3);
    const std::string label = "Label " + std::to_string(seed * 100 + i) + "\nline two";
    Text t(a->text4(label.c_str(), fonts[k], 0, 8 + (i % 5) * 2, 0, (i % 4) * 30.0, 0));
    t->draw(10 + i * 12, 10 + (i % 6) * 15, 0x203040 * (k + 1), AlignTopLeft);
    a->text2("AV", fonts[(k + 1) % 6], 0, 14, 14, 0, 0, 170, 110, 0x80FF0000, AlignBottomRight);
  }
  return pixels(a.get());
}

// Labels whose characters come from fallback faces, upright, turned and
// stacked, in several fonts and sizes.
std::vector<int> fallbackScene(int seed) {
  Area a = makeArea(200, 160);
  const char *fonts[] = {"arial.ttf", "arialbd.ttf", "DroidSansFallbackFull.ttf", "DejaVuSans.ttf"};
  for (int i = 0; i < 8; ++i) {
    const int k = (seed + i) % 4;
    a->text2("Z\xC3\xBCrich \xE5\x8C\x97\xE4\xBA\xAC \xE2\x9C\x93 \xF0\x9F\x8C\x8D", fonts[k], 0,
             9 + (seed + i) % 7, 0, (i % 3) * 40.0, i % 4 == 3, 10 + i * 20, 10 + (i % 4) * 35,
             0x304050 * (k + 1), AlignTopLeft);
  }
  return pixels(a.get());
}

}  // namespace

TEST(TextThreads, ConcurrentFallbackGlyphsMatchASingleThread) {
  testutil::expectSameOnThreads(4, 3, fallbackScene);
}

TEST(TextThreads, ConcurrentTextWorkMatchesASingleThread) {
  testutil::expectSameOnThreads(4, 3, scene);
}
