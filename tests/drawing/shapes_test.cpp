// Runs, lines, rectangles with bevels, polygons and extruded faces.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "drawing/draw_test_util.h"

using namespace drawtest;

namespace {

const std::map<int, char> kLegend{{kBlue, '.'}, {kBlack, '.'}, {kRed, 'r'}, {kGreen, 'g'}};

// A w x h picture of '.' with the given points (those inside) marked.
std::string picture(int w, int h, const std::vector<std::pair<int64_t, int64_t>> &points, char mark) {
  std::vector<std::string> lines(h, std::string(w, '.'));
  for (auto [x, y] : points)
    if (x >= 0 && x < w && y >= 0 && y < h) lines[y][x] = mark;
  return rows(lines);
}

}  // namespace

TEST(Shapes, RunsAndThickLines) {
  Area a = makeArea(7, 5, kBlue);
  a->hline(5, 2, 1, kRed);
  a->hline(-3, 1, 3, kRed);
  a->vline(4, 2, 6, kRed);
  a->hline(0, 6, 5, kRed);
  EXPECT_EQ(render(a.get(), kLegend), rows({".......", "..rrrr.", "......r", "rr....r", "......r"}));

  // Centre rows 0 0 1 1 1 2 2 2 3 3, three pixels each from minor - 1 (row -1
  // clipped); an even width puts the extra row above.
  Area b = makeArea(11, 9, kBlue);
  b->line(0, 0, 9, 3, kRed, 3);
  b->line(1, 7, 8, 7, kGreen, 2);
  EXPECT_EQ(render(b.get(), kLegend),
            rows({"rrrrr......", "rrrrrrrr...", "..rrrrrrrr.", ".....rrrrr.", "........rr.",
                  "...........", ".gggggggg..", ".gggggggg..", "..........."}));
  // A steep line is thickened sideways: centre columns 5 5 5 6 6 6 6, from minor - 2.
  b->setBgColor(kBlue);
  b->line(5, 1, 6, 7, kRed, 4);
  EXPECT_EQ(render(b.get(), kLegend),
            rows({"...........", "...rrrr....", "...rrrr....", "...rrrr....", "....rrrr...",
                  "....rrrr...", "....rrrr...", "....rrrr...", "..........."}));
}

TEST(Shapes, ClippedLinesKeepThePixelsOfTheWholeLine) {
  std::vector<std::array<int, 4>> lines = {{-1000, -7, 1000, 20}, {1000, 20, -1000, -7},
                                           {-300, 40, 200, -30}, {3, -500, 7, 600},
                                           {12, -40, -5, 50}, {-4, 13, 6, 3}};
  std::mt19937 rng(1234);
  std::uniform_int_distribution<int> coord(-60, 70);
  for (int i = 0; i < 300; ++i) lines.push_back({coord(rng), coord(rng), coord(rng), coord(rng)});
  for (const auto &l : lines) {
    Area a = makeArea(11, 9, kBlue);
    a->line(l[0], l[1], l[2], l[3], kRed, 1);
    ASSERT_EQ(render(a.get(), kLegend), picture(11, 9, midpointLine(l[0], l[1], l[2], l[3]), 'r'))
        << l[0] << "," << l[1] << " " << l[2] << "," << l[3];
  }
  // y = 4 + x / 2 from x = -2^30 to 2^30 is 4 + floor((x + 1) / 2): ties move.
  Area a = makeArea(11, 9, kBlue);
  a->line(-(1 << 30), 4 - (1 << 29), 1 << 30, 4 + (1 << 29), kRed, 1);
  EXPECT_EQ(render(a.get(), kLegend),
            rows({"...........", "...........", "...........", "...........", "r..........",
                  ".rr........", "...rr......", ".....rr....", ".......rr.."}));
}

TEST(Shapes, RectFillsTheInteriorAndBevelsInsideTheBorder) {
  constexpr int kLight = 0x009F9FFF;  // 0x60FFFFFF over blue: 255 * 40545 / 65025 = 159
  constexpr int kDark = 0x00000060;   // 0x60000000 over blue: 255 * 24480 / 65025 = 96
  const std::map<int, char> legend{{kRed, '.'}, {kGreen, 'g'}, {kBlue, 'b'}, {kLight, 'l'},
                                   {kDark, 'd'}};
  Area a = makeArea(11, 9, kRed);
  a->rect(9, 7, 1, 1, kNone, kBlue, 0);  // the border stays untouched
  a->rect(0, 0, 3, 1, kGreen, kBlue, 0);  // no interior
  EXPECT_EQ(render(a.get(), legend),
            rows({"gggg.......", "gggg.......", "..bbbbbbb..", "..bbbbbbb..", "..bbbbbbb..",
                  "..bbbbbbb..", "..bbbbbbb..", "...........", "..........."}));
  a->setBgColor(kRed);
  a->rect(1, 1, 9, 7, kGreen, kBlue, 2);
  EXPECT_EQ(render(a.get(), legend),
            rows({"...........", ".ggggggggg.", ".g" "llllll" "d" "g.", ".g" "l" "llll" "dd" "g.",
                  ".g" "ll" "bbb" "dd" "g.", ".g" "ll" "dddd" "d" "g.", ".g" "l" "dddddd" "g.",
                  ".ggggggggg.", "..........."}));
  // On a small box the inner rings are empty runs and are skipped; a
  // negative effect swaps light and dark.
  a->setBgColor(kRed);
  a->rect(0, 0, 4, 3, kGreen, kBlue, 3);
  a->rect(6, 1, 10, 7, kGreen, kBlue, -1);
  EXPECT_EQ(render(a.get(), legend),
            rows({"ggggg......", "glldg.ggggg", "glddg.gddlg", "ggggg.gdblg", "......gdblg",
                  "......gdblg", "......gdllg", "......ggggg", "..........."}));
  // The depth is limited by half the area's height; the interior is clipped.
  Area b = makeArea(9, 5, kRed);
  b->rect(0, 0, 8, 9, kGreen, kBlue, 10);
  EXPECT_EQ(render(b.get(), legend),
            rows({"ggggggggg", "g" "llllll" "d" "g", "g" "l" "llll" "dd" "g",
                  "g" "ll" "dddd" "d" "g", "g" "l" "dddddd" "g"}));
}

TEST(Shapes, BevelDepthIsLimitedByTheInterior) {
  // Interior 5 x 3: one ring only, so no pixel is bevelled twice. Light over
  // black is 255 * 40545 / 65025 = 159 a channel (twice would be 218); dark
  // over black stays black.
  Area a = makeArea(7, 5, kBlack);
  a->rect(0, 0, 6, 4, kNone, kNone, 10);
  EXPECT_EQ(render(a.get(), {{kBlack, '.'}, {0x009F9F9F, 'l'}, {0x00DADADA, '2'}}),
            rows({".......", ".llll..", ".l.....", ".l.....", "......."}));
}

TEST(Shapes, PolygonFillsBetweenPairsOfEdgeRuns) {
  // The vertical sides cross rows 0 ... 8, the horizontal ones none.
  Area a = makeArea(12, 11, kBlue);
  const int sx[4] = {0, 9, 9, 0}, sy[4] = {0, 0, 9, 9};
  a->polygon(sx, sy, 4, kNone, kRed);
  std::vector<std::string> square(11, "............");
  for (int y = 0; y <= 8; ++y) square[y] = ".rrrrrrrr...";
  EXPECT_EQ(render(a.get(), kLegend), rows(square));

  // An arch: below its notch the runs pair up on either side of it.
  const int ax[8] = {1, 9, 9, 7, 7, 4, 4, 1}, ay[8] = {1, 1, 7, 7, 4, 4, 7, 7};
  Area b = makeArea(11, 9, kBlack);
  b->polygon(ax, ay, 8, kNone, kRed);
  b->polygon(ax, ay, 2, kGreen, kGreen);  // fewer than three points
  EXPECT_EQ(render(b.get(), kLegend),
            rows({"...........", "..rrrrrrr..", "..rrrrrrr..", "..rrrrrrr..", "..rr....r..",
                  "..rr....r..", "..rr....r..", "...........", "..........."}));
  // Each edge leaves out its end point: every vertex is blended once.
  b->setBgColor(kBlack);
  b->polygon(ax, ay, 8, kGlass, kNone);
  EXPECT_EQ(touches(b.get()),
            rows({"...........", ".111111111.", ".1.......1.", ".1.......1.", ".1..1111.1.",
                  ".1..1..1.1.", ".1..1..1.1.", ".1111..111.", "..........."}));
  // Slanted edges are the three midpoint lines, each pixel once.
  const int tx[3] = {1, 9, 4}, ty[3] = {1, 2, 7};
  b->setBgColor(kBlack);
  b->polygon(tx, ty, 3, kGlass, kNone);
  std::vector<std::pair<int64_t, int64_t>> outline;
  for (int i = 0; i < 3; ++i)
    for (auto p : midpointLine(tx[i], ty[i], tx[(i + 1) % 3], ty[(i + 1) % 3])) outline.push_back(p);
  EXPECT_EQ(touches(b.get()), picture(11, 9, outline, '1'));
}

TEST(Shapes, SurfaceIsAPolygonWithItsPatternSheared) {
  Area a = makeArea(11, 9, kBlue), b = makeArea(11, 9, kBlue);
  a->surface(2, 6, 8, 5, 1, 3, kGreen, kRed);
  const int px[4] = {2, 3, 9, 8}, py[4] = {6, 3, 2, 5};
  b->polygon(px, py, 4, kGreen, kRed);
  EXPECT_EQ(render(a.get(), kLegend), render(b.get(), kLegend));

  // A shallow face reads its pattern at (x + y - y1, y), a steep one at
  // (x, y + x - x1); each special colour used appends one shear.
  const int two[2] = {kRed, kGreen};
  const int across = a->patternColor(two, 2, 1, 0, 0), down = a->patternColor(two, 1, 2, 0, 0);
  auto expectSheared = [&](int shift) {
    int drawn = 0;
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 11; ++x)
        if (a->getPixel(x, y) != kBlack && ++drawn) {
          ASSERT_EQ(a->getPixel(x, y), ((x + y - shift) & 1) ? kGreen : kRed) << x << "," << y;
        }
    EXPECT_GT(drawn, 10);
  };
  a->setBgColor(kBlack);
  a->surface(1, 6, 8, 5, 1, 3, kNone, across);
  expectSheared(6);
  a->setBgColor(kBlack);
  a->surface(3, 1, 4, 7, 4, 0, down, down);
  expectSheared(3);
  EXPECT_EQ(a->dashLineColor(kRed, 0), col(0xFFFE0005));
  // A table colour is not sheared; an unknown special colour draws nothing.
  a->setColorTable(&across, 1, 0);
  a->setBgColor(kBlack);
  a->surface(1, 6, 8, 5, 1, 3, col(0xFFFE0063), col(0xFFFF0000));
  EXPECT_EQ(a->getPixel(3, 4), kGreen);
  EXPECT_EQ(a->getPixel(4, 4), kRed);
  EXPECT_EQ(a->dashLineColor(kRed, 0), col(0xFFFE0006));
}
