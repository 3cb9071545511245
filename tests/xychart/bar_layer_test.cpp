// Bar layers through the published interface: slot widths and the gap-free
// rule, overlaid, stacked and side-by-side boxes, the zero line of two y
// axes and 3D face colours (hostile values: extreme_arguments_test.cpp). The
// plot is 400 x 200 at (30, 20), so offset o up from its bottom is row 219 - o.
#include <gtest/gtest.h>

#include <vector>

#include "test_util.h"

namespace {

using namespace testutil;

constexpr int kPx = 30, kYellow = 0x00FFFF00;
constexpr int kColours[] = {kRed, kGreen, kBlue, kYellow};

int row(int offset) { return 219 - offset; }

Owned<XYChart> chart(double lower, double upper) {
  Owned<XYChart> c(XYChart::create(480, 260, kWhite, Transparent));
  c->setPlotArea(kPx, 20, 400, 200, kWhite, -1, kBlack, Transparent, Transparent);
  c->yAxis()->setLinearScale(lower, upper, 5);
  return c;
}

// The record of (d, i) is the rectangle given, and its middle shows colour;
// d = -1 is the group's record.
void expectBox(Layer *layer, DrawArea *a, int d, int i, Rect r, int colour) {
  const char *shape = d < 0 ? layer->getImageCoor2(i) : layer->getImageCoor(d, i);
  EXPECT_EQ(rectText(r.left, r.top, r.right, r.bottom), str(shape)) << d << ", " << i;
  if (d >= 0) {
    EXPECT_EQ(colour, a->getPixel((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  }
}

TEST(XyBarSlots, GapsWidthsAndSubBars) {
  // Centres at trunc((i + 0.5) / n * 399.9999), width trunc((1 - gap) * 400 / n).
  struct Bar {
    int d, i, left, right;  // columns from the plot's left edge
  };
  const struct {
    Layer::DataCombineMethod method;
    int dataSets, points;
    double gap;
    std::vector<Bar> bars;
  } cases[] = {
      {Layer::Overlay, 1, 10, 0.25, {{0, 0, 4, 33}, {0, 1, 44, 73}, {0, 2, 84, 113}}},
      // No gap: bar 4 (at 229) widens left to meet bar 3.
      {Layer::Overlay, 1, 7, 0,
       {{0, 0, 0, 56}, {0, 1, 57, 113}, {0, 2, 114, 170}, {0, 3, 171, 227}, {0, 4, 228, 285},
        {0, 5, 286, 342}, {0, 6, 343, 399}}},
      // 30 / 3.4 -> 8 wide, (30 - 24) / 2 -> 3 apart.
      {Layer::Side, 3, 10, 0.25, {{0, 0, 4, 11}, {1, 0, 15, 22}, {2, 0, 26, 33}, {-1, 0, 4, 33}}},
      // 5 pixels for 6 sub-bars.
      {Layer::Side, 6, 10, 0.875, {{0, 0, 17, 17}, {5, 0, 22, 22}, {-1, 0, 17, 22}}},
  };
  for (const auto &k : cases) {
    auto c = chart(0, 10);
    BarLayer *layer = c->addBarLayer2(k.method, 0);
    layer->setBarGap(k.gap, 0.2);
    layer->setBorderColor(Transparent, 0);  // a 1-pixel bar shows its face
    const std::vector<double> v(static_cast<size_t>(k.points), 5);
    for (int d = 0; d < k.dataSets; ++d) layer->addDataSet(k.points, v.data(), kBlue, "");
    DrawArea *a = c->makeChart3();
    for (const Bar &b : k.bars)
      expectBox(layer, a, b.d, b.i, {kPx + b.left, row(100), kPx + b.right, row(0)}, kBlue);
  }
}

TEST(XyBarCombine, BoxesAndGroupOfOneSlot) {
  // yAxis -10..10: 10 pixels a unit, zero at offset 100; one slot at x 79..378.
  // yAxis2 gets the same 4 intervals. Side halves: 300 / 2.2 -> 136, spacing 28.
  const struct {
    Layer::DataCombineMethod method;
    std::vector<double> values;  // the last one on yAxis2 when lower2 < upper2
    double lower2, upper2;
    std::vector<Rect> boxes;  // by offsets: left, top, right, bottom
    Rect group;
  } cases[] = {
      {Layer::Stack, {3, -2, 4}, 0, 0,
       {{79, 130, 378, 100}, {79, 100, 378, 80}, {79, 170, 378, 130}}, {79, 170, 378, 80}},
      // Positive boxes sit on each other; -3 is drawn after -7 and stays in view.
      {Layer::Overlay, {6, -3, 2, -7}, 0, 0,
       {{79, 160, 378, 120}, {79, 100, 378, 70}, {79, 120, 378, 100}, {79, 100, 378, 30}},
       {79, 160, 378, 100}},
      // Zeros apart on the two axes: both bars stand on the plot bottom.
      {Layer::Side, {5, 10}, 0, 20, {{79, 150, 214, 0}, {243, 100, 378, 0}}, {79, 150, 378, 0}},
      {Layer::Side, {5, 10}, -20, 20, {{79, 150, 214, 100}, {243, 150, 378, 100}},
       {79, 150, 378, 100}},
  };
  auto atRows = [](Rect r) { return Rect{r.left, row(r.top), r.right, row(r.bottom)}; };
  for (const auto &k : cases) {
    auto c = chart(-10, 10);
    BarLayer *layer = c->addBarLayer2(k.method, 0);
    DataSet *last = nullptr;
    for (size_t d = 0; d < k.values.size(); ++d)
      last = layer->addDataSet(1, &k.values[d], kColours[d], "");
    if (k.lower2 < k.upper2) {
      c->yAxis2()->setLinearScale(k.lower2, k.upper2, 5);
      last->setUseYAxis2(true);
    }
    DrawArea *a = c->makeChart3();
    for (size_t d = 0; d < k.values.size(); ++d)
      expectBox(layer, a, static_cast<int>(d), 0, atRows(k.boxes[d]), kColours[d]);
    expectBox(layer, a, -1, 0, atRows(k.group), 0);
  }
}

TEST(XyBar3D, SideFaceIsHalfBrightAndTopFaceTakesTheFaceColour) {
  // Each byte halved, rounding down: 0xC1 / 2 = 0x60, 0x61 / 2 = 0x30,
  // 0x31 / 2 = 0x18. The automatic colour (-1) is table entry 8, 0xFF0000,
  // and is halved as that, not as the table colour 0xFFFF0008.
  const struct {
    int colour, face, shadow;
  } colours[] = {{kRed, kRed, 0x7F0000}, {-1, kRed, 0x7F0000}, {0xC16131, 0xC16131, 0x603018}};
  for (const auto &[colour, face, shadow] : colours) {
    auto c = chart(0, 10);
    const double v = 5;
    c->addBarLayer(1, &v, colour, "", 10);
    DrawArea *a = c->makeChart3();
    // Front x 79..378, rows 119..219; the faces swept 10 right and 10 up.
    EXPECT_EQ(face, a->getPixel(230, 160));
    EXPECT_EQ(shadow, a->getPixel(383, 160));
    EXPECT_EQ(face, a->getPixel(230, 114));
    EXPECT_EQ(kWhite, a->getPixel(392, 160));
    EXPECT_EQ(kWhite, a->getPixel(230, 106));
  }
}

}  // namespace
