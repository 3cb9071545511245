// Axes drawn on a bare area: ticks, label prefixes, marks over tick labels,
// zones, a mark in 3D, synchronised axes. Labels are compared with the same
// text drawn at the anchor worked out by hand.
#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "chart/text_box.h"
#include "test_util.h"
#include "xychart/axes.h"

using namespace testutil;
using namespace quorvane;

namespace {

// Columns [x0, x1] of rows [y0, y1] of a hold just the labels, drawn in box's
// style with alignment at their anchors.
struct Label {
  const char *text;
  int x, y, color;
};
void expectLabels(DrawArea *a, TextBoxData box, int alignment, const std::vector<Label> &labels,
                  int x0, int y0, int x1, int y1) {
  Area expected = makeArea(a->getWidth(), a->getHeight());
  for (const Label &l : labels) {
    std::tie(box.x, box.y, box.fontColor, box.alignment) = std::tuple(l.x, l.y, l.color, alignment);
    ASSERT_TRUE(drawTextBox(*expected, box, l.text).has_value());
  }
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x)
      ASSERT_EQ(expected->getPixel(x, y), a->getPixel(x, y)) << x << "," << y;
}

// 0 to 100 in steps of 50 over length pixels.
void scale0To100(YAxisImpl &y, int length) {
  y.setLinearScale(0, 100, 50);
  ASSERT_TRUE(y.scaleTo(0, 100, 0, length));
  y.setColors(kBlack, kBlue, -1, -1);
}

}  // namespace

TEST(XyAxisY, TicksCoverLengthPlusOnePixelsBesideTheLine) {
  // Line at column 40 from row 110 up to 10; ticks at rows 110, 60, 10.
  const struct {
    bool onLeft;
    int major, axisColor, first, last;  // tick columns; none when first > last
  } cases[] = {{true, 3, kBlack, 36, 39}, {true, -3, kBlack, 41, 44},
               {false, 3, kBlack, 41, 44}, {true, 3, Transparent, 1, 0}};
  for (const auto &c : cases) {
    Area a = makeArea(100, 130);
    YAxisImpl y;
    scale0To100(y, 100);
    y.setTickLength(c.major);
    y.setColors(c.axisColor, kBlue, -1, -1);
    y.draw(*a, 40, 110, c.onLeft);
    for (int row : {111, 110, 85, 60, 10, 9})
      for (int x = 33; x <= 47; ++x) {
        const bool isTick = row % 50 == 10 && x >= c.first && x <= c.last;
        const bool isLine = c.axisColor == kBlack && x == 40 && row >= 10 && row <= 110;
        EXPECT_EQ(isTick || isLine ? kBlack : kWhite, a->getPixel(x, row))
            << c.major << " " << x << "," << row;
      }
  }
}

TEST(XyAxisX, TickColumnsWithAndWithoutIndent) {
  // Four categories over 100 pixels from column 10: i / 3 * 99.9999 plain,
  // (i + 0.5) / 4 * 99.9999 indented, truncated; ticks end on row 24.
  const std::vector<int> columns[2] = {{10, 43, 76, 109}, {22, 47, 72, 97}};
  const char *labels[] = {"A", "B", "C", "D"};
  for (int indent : {0, 1}) {
    Area a = makeArea(130, 60);
    XAxisImpl x;
    x.setLabels(4, labels);
    x.setRange(0, 3, 100);
    x.setIndent(indent == 1);
    x.setColors(kBlack, kBlue, -1, -1);
    x.draw(*a, 10, 20, 1);
    std::vector<int> ticks;
    for (int col = 0; col < 130; ++col)
      if (a->getPixel(col, 24) == kBlack) ticks.push_back(col);
    EXPECT_EQ(columns[indent], ticks);
  }
}

TEST(XyAxisX, PrefixesPickTheTickAndTheShownText) {
  // Categories 20 apart from column 10. Major ticks cover rows 21..24, minor
  // ones 21..23; labels hang from row 27 (axis 20 + gap 3 + tick end 4).
  const struct {
    const char *label;
    int lastTickRow;  // 0: no tick
    const char *shown;
  } cases[] = {{"-a", 23, "a"},    {"~b", 0, "b"}, {"\\-c", 24, "-c"}, {"\\~d", 24, "~d"},
               {"\\e", 24, "\\e"}, {"", 0, ""},    {"-", 23, ""}};
  std::vector<const char *> labels;
  std::vector<Label> shown;
  for (int i = 0; i < 7; ++i) {
    labels.push_back(cases[i].label);
    if (*cases[i].shown) shown.push_back({cases[i].shown, 10 + 20 * i, 27, kBlue});
  }
  Area a = makeArea(150, 60);
  XAxisImpl x;
  x.setLabels(7, labels.data());
  x.setRange(0, 6, 121);
  x.setColors(kBlack, kBlue, -1, -1);
  x.draw(*a, 10, 20, 1);
  for (int i = 0; i < 7; ++i)
    for (int row = 21; row <= 24; ++row)
      EXPECT_EQ(row <= cases[i].lastTickRow ? kBlack : kWhite, a->getPixel(10 + 20 * i, row))
          << cases[i].label << " " << row;
  expectLabels(a.get(), x.style().labelStyle.data(), AlignTopCentre, shown, 0, 25, 149, 59);
}

TEST(XyAxisY, MarksTakePrecedenceOverTicksAndLabels) {
  // Labels right-aligned at column 31 (40 - tick end 4 - gap 5). The mark
  // at 50 takes that tick and label; the one at 96 (row 14) hides the label
  // of 100 but not its tick on row 10.
  Area a = makeArea(100, 130);
  YAxisImpl y;
  scale0To100(y, 100);
  y.addMark(50, kRed, "M", "", 8);
  y.addMark(96, kGreen, "N", "", 8)->setMarkColor(kGreen, kRed, kBlue);
  y.draw(*a, 40, 110, true);
  for (auto [row, color] : {std::pair{110, kBlack}, {60, kRed}, {14, kBlue}, {10, kBlack}})
    for (int x = 36; x <= 39; ++x) EXPECT_EQ(color, a->getPixel(x, row)) << x << "," << row;
  expectLabels(a.get(), y.style().labelStyle.data(), AlignRight,
               {{"0", 31, 110, kBlue}, {"M", 31, 60, kRed}, {"N", 31, 14, kRed}}, 0, 0, 33, 129);
}

TEST(XyAxisZones, BandsClippedToTheAxis) {
  // Plot at (10, 10), 50 x 40: back-plane rows 9..49, columns 10..59. The y
  // axis maps 0..100 to 0..40, the x axis 0..4 to 0..49.
  const PlotGeometry g{10, 10, 50, 40, 0, 0};
  const struct {
    bool isY;
    double start, end;
    int first, last;  // rows (y) or columns (x) of the band; none when first > last
  } cases[] = {{true, 75, 25, 19, 39}, {true, -50, 25, 39, 49}, {true, 150, 200, 1, 0},
               {true, NAN, 50, 1, 0},  {false, 1, 2, 22, 34},   {false, 3, 9, 47, 60}};
  for (const auto &c : cases) {
    Area a = makeArea(70, 70);
    YAxisImpl y;
    scale0To100(y, 40);
    XAxisImpl x;
    x.setRange(0, 4, 50);
    c.isY ? y.addZone(c.start, c.end, kRed) : x.addZone(c.start, c.end, kRed);
    c.isY ? y.drawZones(*a, g) : x.drawZones(*a, g);
    for (int i = 0; i < 70; ++i)  // down column 30, or along row 30
      EXPECT_EQ(i >= c.first && i <= c.last ? kRed : kWhite,
                c.isY ? a->getPixel(30, i) : a->getPixel(i, 30))
          << c.start << " " << i;
  }
}

TEST(XyAxisMarks, LineOnTheBackWallWithItsSideWallSegment) {
  // Plot at (10, 20), 50 x 40, back plane moved by (6, 4): a mark at 50 is
  // 20 up, on row 35 from column 16 to 65 and on the wall from (10, 39) to
  // (15, 36).
  const PlotGeometry g{10, 20, 50, 40, 6, 4};
  const struct {
    double value;
    int color, width;
    bool onTop, isDrawn;
  } cases[] = {{50, kRed, 1, false, true},         {50, kRed, 1, true, false},
               {50, Transparent, 1, false, false}, {50, kRed, 0, false, false},
               {150, kRed, 1, false, false}};
  for (const auto &c : cases) {
    Area a = makeArea(80, 70);
    YAxisImpl y;
    scale0To100(y, 40);
    Mark *m = y.addMark(c.value, c.color, "", "", 8);
    m->setLineWidth(c.width);
    m->setDrawOnTop(c.onTop);
    y.drawMarks(*a, g, false);
    const int ink = c.isDrawn ? kRed : kWhite;
    EXPECT_EQ(kWhite, a->getPixel(15, 35));
    EXPECT_EQ(kWhite, a->getPixel(66, 35));
    for (auto [x, row] :
         {std::pair{16, 35}, {65, 35}, {10, 39}, {11, 38}, {12, 38}, {13, 37}, {14, 37}, {15, 36}})
      EXPECT_EQ(ink, a->getPixel(x, row)) << c.value << " " << x << "," << row;
  }
}

TEST(XyAxisMarks, AMarkAtAMissingValueIsNotDrawn) {
  // One category without indent maps every x to offset 0, column 10; yAxis2
  // follows 0 to 100 over 40 pixels through v / 1e308, so NoValue would land
  // at 1.7, offset 1, row 58, and 5e307 at 0.5, offset 0, row 59.
  const PlotGeometry g{10, 20, 50, 40, 0, 0};
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double value;
    bool isDrawn;
  } cases[] = {{0, true}, {5e307, true}, {NoValue, false}, {inf, false}, {-inf, false},
               {std::nan(""), false}};
  for (const auto &c : cases) {
    Area a = makeArea(80, 70);
    XAxisImpl x;
    x.setRange(0, 0, 50);
    x.addMark(c.value, kRed, "", "", 8);
    x.drawMarks(*a, g, false);
    EXPECT_EQ(c.isDrawn ? kRed : kWhite, a->getPixel(10, 40)) << c.value;
    YAxisImpl y, y2;
    scale0To100(y, 40);
    y2.syncTo(&y, 1e308, 0);
    y2.addMark(c.value, kBlue, "", "", 8);
    y2.drawMarks(*a, g, false);
    EXPECT_EQ(kWhite, a->getPixel(30, 58)) << c.value;
    EXPECT_EQ(c.isDrawn ? kBlue : kWhite, a->getPixel(30, 59)) << c.value;
  }
}

TEST(XyAxisSync, FollowsAnotherAxisOnlyThroughAnInvertibleMapping) {
  YAxisImpl primary;
  scale0To100(primary, 100);
  // 110 maps back to (110 - intercept) / slope on the primary axis.
  const struct {
    double slope, intercept;
    bool toSelf;
    std::vector<double> ticks;  // empty: not synchronised
    int coorOf110;
  } cases[] = {{2, 10, false, {10, 110, 210}, 50}, {-1, 0, false, {-100, -50, 0}, -110},
               {0, 10, false, {}, 0}, {NAN, 0, false, {}, 0}, {2, 10, true, {}, 0}};
  for (const auto &c : cases) {
    YAxisImpl second;
    second.syncTo(c.toSelf ? &second : &primary, c.slope, c.intercept);
    EXPECT_EQ(!c.ticks.empty(), second.isSynced()) << c.slope;
    EXPECT_EQ(c.ticks, second.tickValues()) << c.slope;
    EXPECT_EQ(c.coorOf110, second.getCoor(110)) << c.slope;
  }
  primary.setLabelFormat("&value|1&% of &value&");
  EXPECT_EQ("50.0% of 50", primary.tickLabel(50));
}
