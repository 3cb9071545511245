// HLOC layers through the published interface: high-low lines and half-slot
// open and close ticks, their colours and axis, missing values, and one
// aggregate rectangle per point in the image map. The plot is 400 x 200 at
// (30, 20) with yAxis 0..100, so value v lies on row 219 - 2v.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "test_util.h"

namespace {

using namespace testutil;

Owned<XYChart> chart() {
  Owned<XYChart> c(XYChart::create(480, 260, kWhite, Transparent));
  c->setPlotArea(30, 20, 400, 200, kWhite, -1, Transparent, Transparent, Transparent);
  c->yAxis()->setLinearScale(0, 100, 10);
  for (BaseAxis *axis : std::vector<BaseAxis *>{c->xAxis(), c->yAxis(), c->yAxis2()})
    axis->setColors(Transparent, Transparent, Transparent, Transparent);
  return c;
}

TEST(XyHlocDrawing, LinesAndTicksByRoleColourAndAxis) {
  // Points at columns 30 + trunc((i + 0.5) / 3 * 399.9999) = 96, 229, 363, the
  // neighbours beyond the ends at -36 and 496; ticks end midway, rounded down:
  // 30, 162, 296, 429. Runs: {x1, y1, x2, y2, colour}, later ones on top.
  const std::vector<double> h = {80, 60, 70}, l = {20, 40, 30}, o = {50, 45, 60}, cl = {70, 55, 35};
  const std::vector<double> hostileH = {NoValue, 60, 70}, hostileL = {20, std::nan(""), 30},
                            hostileO = {50, 45, INFINITY};
  enum Setup { kOneColour, kOpenBlueHighOnYAxis2, kHighOnly };
  const struct {
    Setup setup;
    std::vector<double> high, low, open, close;  // empty open, close: null
    std::vector<std::array<int, 5>> runs;
  } cases[] = {
      {kOneColour, h, l, {}, {},
       {{96, 59, 96, 179, kRed}, {229, 99, 229, 139, kRed}, {363, 79, 363, 159, kRed}}},
      {kOneColour, h, l, o, cl,
       {{96, 59, 96, 179, kRed}, {30, 119, 96, 119, kRed}, {96, 79, 162, 79, kRed},
        {229, 99, 229, 139, kRed}, {162, 129, 229, 129, kRed}, {229, 109, 296, 109, kRed},
        {363, 79, 363, 159, kRed}, {296, 99, 363, 99, kRed}, {363, 149, 429, 149, kRed}}},
      // yAxis2 over 0..200 puts every role on row 219 - v. No high-low line
      // where either is missing, no tick for an infinite open.
      {kOpenBlueHighOnYAxis2, hostileH, hostileL, hostileO, cl,
       {{30, 169, 96, 169, kBlue}, {96, 149, 162, 149, kRed}, {162, 174, 229, 174, kBlue},
        {229, 164, 296, 164, kRed}, {363, 149, 363, 189, kRed}, {363, 184, 429, 184, kRed}}},
      {kHighOnly, h, {}, {}, {}, {}},
  };
  for (const auto &k : cases) {
    auto c = chart();
    const double *open = k.open.empty() ? nullptr : k.open.data();
    const double *close = k.close.empty() ? nullptr : k.close.data();
    HLOCLayer *layer = k.setup == kOneColour
                           ? c->addHLOCLayer(3, k.high.data(), k.low.data(), open, close, kRed)
                           : c->addHLOCLayer2();
    if (k.setup == kHighOnly) {
      layer->addDataSet(3, k.high.data(), kRed, "");
    } else if (k.setup == kOpenBlueHighOnYAxis2) {
      c->yAxis2()->setLinearScale(0, 200, 20);
      layer->addDataSet(3, k.high.data(), kRed, "")->setUseYAxis2(true);
      layer->addDataSet(3, k.low.data(), kRed, "");
      layer->addDataSet(3, open, kRed, "")->setDataColor(kBlue, -1, -1, -1);
      layer->addDataSet(3, close, kRed, "");
    }
    DrawArea *a = c->makeChart3();
    ASSERT_NE(nullptr, a);
    std::map<std::pair<int, int>, int> expected, drawn;
    for (const auto &[x1, y1, x2, y2, colour] : k.runs)
      for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x) expected[{x, y}] = colour;
    for (int y = 0; y < 260; ++y)
      for (int x = 0; x < 480; ++x)
        if (a->getPixel(x, y) != kWhite) drawn[{x, y}] = a->getPixel(x, y);
    EXPECT_EQ(expected, drawn) << "case " << &k - cases;
    EXPECT_EQ(k.setup != kHighOnly, layer->getImageCoor2(0) != nullptr);
  }
}

TEST(XyHlocMap, OneAreaPerPointWithItsValuesAndAggregateRectangle) {
  // Point 3 has only an open value; point 7 an open above its high.
  const double high[] = {60, 61, 62, NoValue, 64, 65, 66, 67, 68, 69},
               low[] = {20, 21, 22, NoValue, 24, 25, 26, 27, 28, 29},
               open[] = {40, 40, 40, 45, 40, 40, 40, 90, 40, 40},
               close[] = {50, 50, 50, NoValue, 50, 50, 50, NoValue, 50, 50};
  auto c = chart();
  c->xAxis()->setIndent(false);
  HLOCLayer *layer = c->addHLOCLayer(10, high, low, open, close, -1);
  ASSERT_NE(nullptr, c->makeChart3());
  // Slots centred on 30 + trunc(i / 9 * 399.9999), 44.4 wide, within columns 30..430.
  EXPECT_EQ(rectText(30, 99, 52, 179), str(layer->getImageCoor2(0)));
  EXPECT_EQ(rectText(141, 129, 185, 129), str(layer->getImageCoor2(3)));
  EXPECT_EQ(rectText(318, 39, 363, 165), str(layer->getImageCoor2(7)));
  EXPECT_EQ(rectText(407, 81, 430, 161), str(layer->getImageCoor2(9)));
  EXPECT_EQ(nullptr, layer->getImageCoor(0, 0));

  const std::string map = str(layer->getHTMLImageMap(
      "p.html", "h={high|1}&l={low}&o={open}&c={close}&v={value}&n={dataSetName}", ""));
  EXPECT_EQ(10u, parseMap(map).size()) << map;
  for (const char *href :
       {"\"p.html?h=60.0&l=20&o=40&c=50&v=&n=\"", "\"p.html?h=&l=&o=45&c=&v=&n=\"",
        "\"p.html?h=67.0&l=27&o=90&c=&v=&n=\""})
    EXPECT_NE(std::string::npos, map.find(href)) << href << "\n" << map;
}

}  // namespace
