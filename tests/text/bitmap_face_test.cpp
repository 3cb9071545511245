// A face without outlines: a BDF font written by the test, with an "L" and a
// solid block. Its size is its one fixed size, its glyphs are bitmaps already
// and quarter turns move them at draw time.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <utility>

#include "text/text_test_util.h"
#include "text/ttf_text.h"

using namespace texttest;
namespace fs = std::filesystem;

namespace {

// 8 pixels high (ascent 6, descent 2); both glyphs 4 x 6 on the baseline,
// 6 pixels apart.
constexpr const char *kBdf = R"(STARTFONT 2.1
FONT -quorvane-test-medium-r-normal--8-80-75-75-c-60-iso10646-1
SIZE 8 75 75
FONTBOUNDINGBOX 6 8 0 -2
STARTPROPERTIES 2
FONT_ASCENT 6
FONT_DESCENT 2
ENDPROPERTIES
CHARS 2
STARTCHAR L
ENCODING 76
SWIDTH 750 0
DWIDTH 6 0
BBX 4 6 0 0
BITMAP
80
80
80
80
80
F0
ENDCHAR
STARTCHAR B
ENCODING 66
SWIDTH 750 0
DWIDTH 6 0
BBX 4 6 0 0
BITMAP
F0
F0
F0
F0
F0
F0
ENDCHAR
ENDFONT
)";

class BitmapFace : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (fs::temp_directory_path() /
             ("quorvane-bitmap-" + std::to_string(::getpid()) + ".bdf")).string();
    std::ofstream(path_) << kBdf;
  }
  void TearDown() override { fs::remove(path_); }

  // The drawn pixels of "LB" turned by angle, top-left at (20, 20).
  std::set<std::pair<int, int>> ink(double angle, int &width, int &height, int &distance) {
    Area a = makeArea(60, 60);
    Text t(a->text4("LB", path_.c_str(), 0, 12, 12, angle, 0));
    width = t->getWidth();
    height = t->getHeight();
    distance = t->getLineDistance();
    t->draw(20, 20, kBlack, AlignTopLeft);
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 60; ++x)
        if (a->getPixel(x, y) == kBlack) out.insert({x - 20, y - 20});
    return out;
  }

  std::string path_;
};

}  // namespace

TEST_F(BitmapFace, UprightTextIsTheBitmapsAtThePen) {
  int w = 0, h = 0, d = 0;
  const auto upright = ink(0, w, h, d);
  // The "L": a column at x 0 and a foot on row 5; the block at x 6..9.
  std::set<std::pair<int, int>> expected;
  for (int y = 0; y < 6; ++y) expected.insert({0, y});
  for (int x = 1; x < 4; ++x) expected.insert({x, 5});
  for (int y = 0; y < 6; ++y)
    for (int x = 6; x < 10; ++x) expected.insert({x, y});
  EXPECT_EQ(upright, expected);
  // Width is the pen's advance, height the bitmaps' extent; the line
  // distance is trunc(height * 4 / 3).
  EXPECT_EQ(w, 12);
  EXPECT_EQ(h, 6);
  EXPECT_EQ(d, static_cast<int>(std::trunc(6 * 1.3333333333333333)));
  // Any requested size takes the one fixed size, and is one-bit in any mode.
  Area a = makeArea(10, 10);
  a->setAntiAliasText(TTFText::AntiAliasOn);
  EXPECT_EQ(Text(a->text3("LB", path_.c_str(), 40))->getWidth(), 12);
}

TEST_F(BitmapFace, QuarterTurnsMoveThePixels) {
  int w0 = 0, h0 = 0, d0 = 0;
  const auto upright = ink(0, w0, h0, d0);
  // (px, py) goes to (py, h - px), (w - px, h - py), (w - py, px) for one,
  // two and three quarter turns, with the turned box's w and h.
  const std::vector<std::pair<double, int>> turns{{90, 1}, {180, 2}, {-90, 3}, {300, 3}, {400, 0}};
  for (const auto &[angle, quadrant] : turns) {
    int w = 0, h = 0, d = 0;
    const auto turned = ink(angle, w, h, d);
    std::set<std::pair<int, int>> expected;
    for (const auto &[px, py] : upright) {
      switch (quadrant) {
        case 1: expected.insert({py, h - px}); break;
        case 2: expected.insert({w - px, h - py}); break;
        case 3: expected.insert({w - py, px}); break;
        default: expected.insert({px, py}); break;
      }
    }
    EXPECT_EQ(turned, expected) << angle;
    if (quadrant % 2 == 1) {
      EXPECT_EQ(std::make_pair(w, h), std::make_pair(h0, w0)) << angle;
      EXPECT_EQ(d, static_cast<int>(std::trunc(w0 * 1.3333333333333333))) << angle;
    }
  }
}
