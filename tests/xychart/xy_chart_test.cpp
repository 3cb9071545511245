// The XY chart as a user of the published interface sees it: layer placement
// in depth, automatic colours and legend keys, the x indent, the layer and
// chart image maps, the plot area's background, bands, grid, zones and marks
// at rows worked out from the scale, the wallpaper, and the y axes' sides.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_util.h"

namespace {

using namespace testutil;

constexpr int kPx = 50, kPy = 40, kPw = 300, kPh = 200;
constexpr int kBottom = kPy + kPh - 1;
constexpr int kEdge = 0x000000, kGrid = 0x00C0C0C0, kBg = 0x00F0F0F0, kAlt = 0x00D0E0FF;

Owned<XYChart> plainChart(int altBg = -1, int hGrid = kGrid) {
  Owned<XYChart> c(XYChart::create(400, 300, col(0xFFFF0000u), Transparent));
  c->setPlotArea(kPx, kPy, kPw, kPh, kBg, altBg, kEdge, hGrid, -1);
  return c;
}

int count(const std::string &text, const std::string &what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(XyChart, AutomaticColoursRunAcrossLayersAndOnlyNamedDataSetsGetKeys) {
  auto c = plainChart();
  LegendBox *legend = c->addLegend(5, 5, false, "", 8);
  const double first[] = {4, NoValue}, second[] = {6, NoValue}, third[] = {NoValue, 5};
  BarLayer *front = c->addBarLayer2(Layer::Side, 0);
  front->addDataSet(2, first, -1, "A");
  front->addDataSet(2, second, -1, "");
  BarLayer *back = c->addBarLayer(2, third, -1, "C", 0);
  ASSERT_NE(nullptr, c->makeChart3());
  DrawArea *a = c->getDrawArea();
  // Table entries 8, 9 and 10 of the default table.
  const struct {
    Layer *layer;
    int dataSet, point, colour;
  } bars[] = {{front, 0, 0, kRed}, {front, 1, 0, kGreen}, {back, 0, 1, kBlue}};
  for (const auto &b : bars) {
    const Rect r = parseRect(b.layer->getImageCoor(b.dataSet, b.point));
    EXPECT_EQ(b.colour, a->getPixel((r.left + r.right) / 2, (r.top + r.bottom) / 2))
        << b.dataSet << ", " << b.point;
  }
  EXPECT_NE(nullptr, legend->getImageCoor(1));  // "A" and "C"
  EXPECT_EQ(nullptr, legend->getImageCoor(2));
}

TEST(XyChart, LaterLayersStandBehindByTheDepthsOfEarlierOnes) {
  auto c = plainChart();
  const double v[] = {10, 20};
  Layer *front = c->addBarLayer(2, v, 0x3060C0, "", 10);
  Layer *back = c->addBarLayer(2, v, 0xC06030, "", 10);
  ASSERT_NE(nullptr, c->makeChart3());
  EXPECT_EQ(10, back->getXCoor(0) - front->getXCoor(0));
  EXPECT_EQ(-10, back->getYCoor(10, true) - front->getYCoor(10, true));
  DrawArea *a = c->getDrawArea();
  // The back plane's top border lies 20 up and 20 right of the front one; the
  // front plane's top row is left to the wall.
  EXPECT_EQ(kEdge, a->getPixel(kPx + 20 + 100, kPy - 1 - 20));
  EXPECT_EQ(kEdge, a->getPixel(kPx + kPw - 1 + 20, kBottom - 20 - 50));
}

TEST(XyChart, BarLayersTurnTheIndentOnUnlessTheAxisSaysOtherwise) {
  const double v[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  for (const bool indentOff : {false, true}) {
    auto c = plainChart();
    c->addBarLayer(10, v, -1, "", 0);
    if (indentOff) c->xAxis()->setIndent(false);
    c->layout();
    // Slot 0 of 10 centres at 5% of the axis; without indent category 0 is its start.
    EXPECT_EQ(indentOff ? 0 : 14, c->xAxis()->getCoor(0));
    EXPECT_EQ(indentOff ? 299 : 284, c->xAxis()->getCoor(9));
  }
}

TEST(XyChart, AddBarLayer3GivesEachValueItsOwnDataSet) {
  auto c = plainChart();
  const double v[] = {3, 5, 4};
  Layer *layer = c->addBarLayer3(3, v, nullptr, nullptr, 0);
  ASSERT_NE(nullptr, c->makeChart3());
  for (int d = 0; d < 3; ++d)
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(d == i, layer->getImageCoor(d, i) != nullptr) << d << "," << i;
}

TEST(XyChart, ImageMapsHaveAreasPerDataSetOnlyWhenTheTemplatesAskForThem) {
  auto c = plainChart();
  const char *const labels[] = {"Q1", "Q2"};
  c->xAxis()->setLabels(2, labels);
  const double a[] = {3, 4}, b[] = {5, NoValue};
  BarLayer *layer = c->addBarLayer2(Layer::Stack, 0);
  layer->addDataSet(2, a, -1, "a");
  layer->addDataSet(2, b, -1, "b");
  EXPECT_EQ("<!-- Cannot produce image map - need to makeChart first -->",
            str(layer->getHTMLImageMap("x.html", "", "")));
  ASSERT_NE(nullptr, c->makeChart3());

  const std::string byPoint = str(layer->getHTMLImageMap("x.html", "p={x}&l={xLabel}", ""));
  EXPECT_EQ(2u, parseMap(byPoint).size());
  EXPECT_EQ(1, count(byPoint, "href=\"x.html?p=1&l=Q2\""));
  EXPECT_EQ(str(layer->getImageCoor2(0)), byPoint.substr(6, byPoint.find(" href") - 6));

  // Point index outer, data set inner; the missing point has no area.
  const std::string bySet = str(layer->getHTMLImageMap("x.html?k=1", "", "t='{accValue}'"));
  EXPECT_EQ(3u, parseMap(bySet).size());
  const size_t first = bySet.find("x.html?k=1&x=0&xLabel=Q1&dataSet=0&dataSetName=a&value=3");
  const size_t second = bySet.find("&x=0&xLabel=Q1&dataSet=1&dataSetName=b&value=5");
  const size_t third = bySet.find("&x=1&xLabel=Q2&dataSet=0");
  EXPECT_TRUE(first < second && second < third) << bySet;
  EXPECT_EQ(1, count(bySet, "t='8'"));
  // One layer: the chart's map is that layer's.
  EXPECT_EQ(bySet, str(c->getHTMLImageMap("x.html?k=1", "", "t='{accValue}'")));
}

TEST(XyChart, WithoutLayersThePlotAreaAndLabelledXAxisStillDraw) {
  auto c = plainChart();
  const char *const labels[] = {"a", "b", "c"};
  c->xAxis()->setLabels(3, labels);
  ASSERT_NE(nullptr, c->makeChart3());
  DrawArea *a = c->getDrawArea();
  EXPECT_EQ(nullptr, c->getHTMLImageMap("x.html", "", ""));
  EXPECT_EQ(kBg, a->getPixel(kPx + 10, kPy + 10));
  EXPECT_EQ(kEdge, a->getPixel(kPx + 149, kBottom + 2));  // the tick of "b", below the axis
  EXPECT_EQ(col(0x00FFFFFF), a->getPixel(kPx - 3, kPy + 50));  // no y axis ticks
}

TEST(XyChart, BackgroundBandsGridZonesAndMarksLieOnTheTickRows) {
  auto c = plainChart(kAlt);
  const double v[] = {10, 90};
  c->addBarLayer(2, v, 0x00208020, "", 0)->setBarGap(0.9, 0);
  c->yAxis()->setLinearScale(0, 100, 20);  // 2 pixels a unit: ticks every 40 rows
  c->yAxis()->addZone(50, 70, 0x00FFE0E0);
  c->yAxis()->addMark(30, 0x00FF0000, "", "", 8);
  ASSERT_NE(nullptr, c->makeChart3());
  DrawArea *a = c->getDrawArea();
  const int x = kPx + 5;  // left of the first bar
  const struct {
    int offset, color;
  } rows[] = {{20, kBg},   {40, kGrid},        {60, 0x00FF0000}, {62, kAlt},  {80, kGrid},
              {90, kBg},   {110, 0x00FFE0E0},  {120, kGrid},     {150, kAlt}, {200, kEdge}};
  for (const auto &r : rows)
    EXPECT_EQ(r.color, a->getPixel(x, kBottom - r.offset)) << "offset " << r.offset;
}

// Ticks as the grid shows them: the lowest tick at the bottom, the highest at
// the top, a grid line on every tick between and none halfway. The tick
// density sets the automatic tick count T = 200 / density.
TEST(XyChart, AxisScalesFromTheDataAsTheGridShows) {
  const struct {
    std::vector<double> data;
    bool isLog;
    int density;
    std::vector<double> ticks;
    int topOffset;  // of the highest tick
  } cases[] = {
      {{0, 5}, false, 40, {0, 2, 4, 6}, kPh},           // raw step 1 gives 2
      {{10, 12}, false, 40, {10, 10.5, 11, 11.5, 12}, kPh},  // keeps its non-zero minimum
      {{5, 100}, false, 20, {0, 20, 40, 60, 80, 100}, kPh},  // starts at 0
      {{7, 7, 7}, false, 40, {2, 4, 6, 8, 10, 12}, kPh},     // widened to 3.5..10.5
      {{0, 0, 0}, false, 20, {0, 20, 40, 60, 80, 100}, kPh},
      {{-3, 7}, false, 40, {-5, 0, 5, 10}, kPh},             // a tick on 0
      {{1, 1000}, true, 33, {1, 10, 100, 1000}, 198},        // whole pixels a decade
      {{1, 3}, true, 33, {1, 1.5, 2, 2.5, 3}, kPh},          // linear steps
      {{0.1, 100}, true, 16, {0.1, 0.2, 0.5, 1, 2, 5, 10, 20, 50, 100}, kPh},  // 1-2-5
  };
  for (const auto &c : cases) {
    auto chart = plainChart();
    chart->addBarLayer(static_cast<int>(c.data.size()), c.data.data(), 0x00208020, "", 0);
    YAxis *y = chart->yAxis();
    y->setLogScale(c.isLog);
    y->setTickDensity(c.density);
    ASSERT_NE(nullptr, chart->makeChart3());
    DrawArea *a = chart->getDrawArea();
    const std::string what = "ticks from " + std::to_string(c.ticks.front());
    EXPECT_EQ(0, y->getCoor(c.ticks.front())) << what;
    EXPECT_EQ(c.topOffset, y->getCoor(c.ticks.back())) << what;
    for (size_t k = 1; k < c.ticks.size(); ++k) {
      const int below = y->getCoor(c.ticks[k - 1]), at = y->getCoor(c.ticks[k]);
      if (k + 1 < c.ticks.size()) {
        EXPECT_EQ(kGrid, a->getPixel(kPx + 2, kBottom - at)) << what;
      }
      EXPECT_NE(kGrid, a->getPixel(kPx + 2, kBottom - (below + at) / 2)) << what;
    }
  }
}

TEST(XyChart, LayerDepthFollowsTheLayerSizeUnlessGiven) {
  auto c = plainChart();
  Layer *layer = c->addBarLayer2(Layer::Overlay, -1);
  layer->setSize(0, 0, 400, 300);
  EXPECT_EQ(7, layer->getDepthX());  // 300 / 40
  EXPECT_EQ(7, layer->getDepthY());
  layer->set3D(-1, 0);
  layer->setSize(0, 0, 100, 100);
  EXPECT_EQ(5, layer->getDepthX());  // 100 / 40 and 100 / 30 are below 4: 100 / 20
}

TEST(XyChart, WallpaperIsAnchoredByItsAlignmentOrTiled) {
  ScratchDir dir;
  const std::string file = dir.file("paper.png");
  Area paper = makeArea(8, 6, 0x00405060);
  paper->pixel(1, 0, 0x00FF00FF);  // column 0 would lie under the y axis line
  ASSERT_TRUE(paper->outPNG(file.c_str()));
  for (const int alignment : {7, 0}) {
    auto c = plainChart();
    const double v[] = {50};
    c->addBarLayer(1, v, 0x00208020, "", 0);
    // No border or grid over the image.
    c->setPlotArea(kPx, kPy, kPw, kPh, kBg, kAlt, Transparent, Transparent, -1)
        ->setBackground2(file.c_str(), static_cast<Alignment>(alignment));
    ASSERT_NE(nullptr, c->makeChart3());
    DrawArea *a = c->getDrawArea();
    if (alignment == 7) {
      EXPECT_EQ(0x00FF00FF, a->getPixel(kPx + 1, kPy - 1));
      EXPECT_EQ(0x00405060, a->getPixel(kPx + 3, kPy + 2));
    } else {
      EXPECT_EQ(0x00FF00FF, a->getPixel(8 * 2 + 1, 6 * 3));  // tiled from (0, 0)
      EXPECT_EQ(0x00405060, a->getPixel(kPx + 3, kBottom - 70));  // no band, no background
    }
  }
}

TEST(XyChart, YAxisOnTheRightKeepsTheGridOnItsTicks) {
  for (const bool onRight : {false, true}) {
    auto c = plainChart();
    const double v[] = {NoValue, 100};
    c->addBarLayer(2, v, -1, "", 0);
    c->yAxis()->setLinearScale(0, 100, 25);
    c->setYAxisOnRight(onRight);
    ASSERT_NE(nullptr, c->makeChart3());
    DrawArea *a = c->getDrawArea();
    const int row = kBottom - c->yAxis()->getCoor(25);
    EXPECT_EQ(kGrid, a->getPixel(kPx + 2, row));
    // Ticks stand outside the plot area; yAxis2 has no data and is not drawn.
    EXPECT_EQ(onRight ? kEdge : kWhite, a->getPixel(kPx + kPw + 1, row));
    EXPECT_EQ(onRight ? kWhite : kEdge, a->getPixel(kPx - 2, row));
  }
}

TEST(XyChart, StackedRangeHoldsTheRunningSums) {
  auto c = plainChart();
  const double a[] = {5}, b[] = {-10}, d[] = {8};
  BarLayer *layer = c->addBarLayer2(Layer::Stack, 0);
  layer->addDataSet(1, a, -1, "");
  layer->addDataSet(1, b, -1, "");
  layer->addDataSet(1, d, -1, "");
  EXPECT_EQ(13, layer->getMaxY(true));
  EXPECT_EQ(-10, layer->getMinY(true));
  ASSERT_NE(nullptr, c->makeChart3());
  const Rect whole = parseRect(layer->getImageCoor2(0));
  EXPECT_EQ(layer->getYCoor(13, true), whole.top);
  EXPECT_EQ(layer->getYCoor(-10, true), whole.bottom);
  EXPECT_GE(whole.top, kPy);
  EXPECT_LE(whole.bottom, kBottom);
}

}  // namespace

namespace {

TEST(XyChart, EveryAreaOfACompleteChartHoldsItsOwnBar) {
  Owned<XYChart> c(XYChart::create(600, 400, col(0xFFFF0000u), 0x000000));
  c->addTitle("Sales", "", 12, 0x000000, -1, -1);
  c->addLegend(60, 30, false, "", 8);
  c->setPlotArea(60, 70, 460, 270, 0xFFFFFF, 0xF0F0FF, -1, 0xD0D0D0, -1);
  const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun"};
  c->xAxis()->setLabels(6, months);
  const double units[] = {40, 55, 30, 62, 48, 70}, revenue[] = {3.1, 4.4, 2.2, 5.0, 3.6, 6.1};
  const int colors[] = {0x3366CC, 0xDC3912};
  BarLayer *layer = c->addBarLayer2(Layer::Side, 8);
  layer->addDataSet(6, units, colors[0], "Units");
  layer->addDataSet(6, revenue, colors[1], "Revenue")->setUseYAxis2(true);
  c->yAxis()->addZone(50, 60, 0xFFF0C0);
  c->yAxis()->addMark(45, 0x008000, "Goal", "", 8);
  c->yAxis2()->setTitle("k$", "", 9, 0x000000);
  ASSERT_NE(nullptr, c->makeChart3());
  DrawArea *a = c->getDrawArea();

  const std::string map = str(c->getHTMLImageMap("d.html", "", ""));
  const std::vector<MapArea> areas = parseMap(map);
  EXPECT_EQ(12u, areas.size());
  for (const MapArea &area : areas) {
    const Rect r = parseRect(area.text.c_str());
    const int dataSet = area.field("dataSet");
    ASSERT_TRUE(dataSet == 0 || dataSet == 1) << area.text;
    for (const int y : {r.top + 1, (r.top + r.bottom) / 2, r.bottom - 1})
      EXPECT_EQ(colors[dataSet], a->getPixel((r.left + r.right) / 2, y))
          << area.text << " at row " << y;
  }
}

}  // namespace

namespace {

TEST(XyChart, ACombinedChartMapsEveryItemOfEveryLayerInLayerOrder) {
  auto c = plainChart();
  const double a[] = {4, 6, 5, 7, 3, 8}, b[] = {2, 3, 4, 3, 2, 5}, hi[] = {9, 9, 9, 9, 9, 9},
               lo[] = {1, 2, 1, 2, 1, 2}, open[] = {3, 4, 3, 4, 3, 4};
  BarLayer *bars = c->addBarLayer2(Layer::Side, 0);
  bars->addDataSet(6, a, -1, "a");
  bars->addDataSet(6, b, -1, "b");
  Layer *line = c->addLineLayer(6, a, -1, "line", 0);
  Layer *area = c->addAreaLayer(6, b, -1, "area", 0);
  Layer *hloc = c->addHLOCLayer(6, hi, lo, open, nullptr, -1);
  ASSERT_NE(nullptr, c->makeChart3());
  const struct {
    Layer *layer;
    size_t areas;
  } layers[] = {{bars, 12}, {line, 6}, {area, 6}, {hloc, 6}};
  std::string joined;
  for (const auto &l : layers) {
    const std::string map = str(l.layer->getHTMLImageMap("d.html", "", ""));
    EXPECT_EQ(l.areas, parseMap(map).size()) << map;
    joined += map;
  }
  EXPECT_EQ(joined, str(c->getHTMLImageMap("d.html", "", "")));
}

}  // namespace
