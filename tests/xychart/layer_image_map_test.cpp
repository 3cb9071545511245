// Layer image maps against hostile input: nested fields cannot multiply an
// area, the sums of a map are read once per value, not once per area and
// data set, and areas cover what was drawn and nothing else.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "chart/label_template.h"
#include "test_util.h"
#include "xychart/layer.h"

namespace {

using namespace testutil;
using quorvane::LabelTemplate;
using quorvane::LayerCore;

Owned<XYChart> plainChart() {
  Owned<XYChart> c(XYChart::create(400, 300, 0xFFFFFF, Transparent));
  c->setPlotArea(50, 40, 300, 200, 0xF0F0F0, -1, 0x000000, -1, -1);
  return c;
}

std::string repeated(const std::string &piece, int n) {
  std::string out;
  for (int k = 0; k < n; ++k) out += piece;
  return out;
}

}  // namespace

TEST(LayerImageMap, NestedFieldsCannotMultiplyAnArea) {
  // x labels of 40 "{x2Label}" fields, x2 labels of 40 "{dataSetName}"
  // fields and names of 2,000 bytes: unbounded, each template would expand
  // to 3.2 MB, the map to some 40 MB.
  constexpr int kPoints = 3;
  const std::string xLabel = repeated("{x2Label}", 40);
  const std::string x2Label = repeated("{dataSetName}", 40);
  const char *const xLabels[kPoints] = {xLabel.c_str(), xLabel.c_str(), xLabel.c_str()};
  const char *const x2Labels[kPoints] = {x2Label.c_str(), x2Label.c_str(), x2Label.c_str()};
  const std::string name(2000, 'n');
  auto c = plainChart();
  c->xAxis()->setLabels(kPoints, xLabels);
  c->xAxis2()->setLabels(kPoints, x2Labels);
  const double a[kPoints] = {3, 4, 5}, b[kPoints] = {1, 2, 3};
  Layer *layer = c->addBarLayer2(Layer::Stack, 0);
  layer->addDataSet(kPoints, a, -1, name.c_str());
  layer->addDataSet(kPoints, b, -1, name.c_str());
  ASSERT_NE(nullptr, c->makeChart3());

  // The web app's templates.
  const std::string url = "detail.html";
  const std::string extra = "alt='{dataSetName} {xLabel}' title='{dataSetName}, {xLabel}: {value}'";
  const std::string query =
      "x={x}&xLabel={xLabel}&dataSet={dataSet}&dataSetName={dataSetName}&value={value}";
  const std::string map = str(layer->getHTMLImageMap(url.c_str(), "", extra.c_str()));
  const std::vector<MapArea> areas = parseMap(map);
  ASSERT_EQ(size_t{kPoints * 2}, areas.size());
  // An area: "<area " SHAPE " " EXTRA " href=\"" URL "?" QUERY "\">", each
  // template with at most 64 KiB inserted, HTML-escaped (6 bytes a byte at
  // most) in EXTRA and percent-encoded (3) in QUERY.
  constexpr size_t kShapeMost = 64;
  const size_t bound = 6 + kShapeMost + 1 + extra.size() + 7 + url.size() + 1 + query.size() + 2 +
                       9 * LabelTemplate::kMaxInsertedBytes;
  for (const MapArea &mapped : areas) {
    const std::string &area = mapped.text;
    EXPECT_LE(area.size(), bound);
    // The host's own quotes all survive, the link closes the area.
    EXPECT_EQ(4, std::count(area.begin(), area.end(), '\''));
    EXPECT_EQ(0u, area.find("<area shape=\"rect\""));
    EXPECT_EQ(area.size() - 2, area.rfind("\">"));
    EXPECT_NE(std::string::npos, area.find("' href=\"detail.html?x="));
  }
  EXPECT_LE(map.size(), areas.size() * (bound + 1));
}

TEST(LayerImageMap, SumsAreReadOncePerValue) {
  // Data sets x points with the same number of values: the map reads each
  // a few times, however the values are split.
  struct Shape {
    int sets;
    int points;
  } shapes[] = {{1, 20000}, {100, 200}, {2000, 10}};
  for (const Shape &s : shapes) {
    auto c = plainChart();
    LineLayer *layer = c->addLineLayer2(Layer::Overlay, 0);
    std::vector<double> values(static_cast<size_t>(s.points));
    for (int d = 0; d < s.sets; ++d) {
      for (int i = 0; i < s.points; ++i) values[static_cast<size_t>(i)] = (d + i) % 7;
      layer->addDataSet(s.points, values.data(), 0x808080, "");
    }
    ASSERT_NE(nullptr, c->makeChart3());
    const std::string map = str(layer->getHTMLImageMap("", "", "t='{accValue}/{totalValue}'"));
    const int64_t areas = std::count(map.begin(), map.end(), '\n');
    const int64_t values64 = int64_t{s.sets} * s.points;
    EXPECT_EQ(values64, areas) << s.sets << " x " << s.points;
    const uint64_t reads = dynamic_cast<LayerCore *>(layer)->mapValueReads();
    EXPECT_LE(reads, uint64_t(3 * values64)) << s.sets << " x " << s.points;
    // A map that asks for no sums reads the values only for "{value}".
    layer->getHTMLImageMap("", "", "t='{value}'");
    EXPECT_EQ(uint64_t(values64), dynamic_cast<LayerCore *>(layer)->mapValueReads());
  }
}

TEST(LayerImageMap, SumsLeaveOutMissingValues) {
  auto c = plainChart();
  BarLayer *layer = c->addBarLayer2(Layer::Stack, 0);
  const double a[] = {1, NoValue, 4}, b[] = {2, 8, NoValue}, d[] = {NoValue, 16, 32};
  layer->addDataSet(3, a, -1, "a");
  layer->addDataSet(3, b, -1, "b");
  // A name can ask for a sum too: fields go on into what earlier ones insert.
  layer->addDataSet(3, d, -1, "{totalValue}");
  ASSERT_NE(nullptr, c->makeChart3());
  const std::string map = str(
      layer->getHTMLImageMap("", "", "t='{dataSet}@{x}:{accValue}/{totalValue} {dataSetName}'"));
  // Worked by hand: totals 3, 24 and 36; running sums in data set order.
  for (const char *expected : {"t='0@0:1/3 a'", "t='1@0:3/3 b'", "t='1@1:8/24 b'",
                               "t='2@1:24/24 24'", "t='0@2:4/36 a'", "t='2@2:36/36 36'"})
    EXPECT_NE(std::string::npos, map.find(expected)) << expected << "\n" << map;
  EXPECT_EQ(6, std::count(map.begin(), map.end(), '\n'));
  // Group areas, one a point, show the total.
  const std::string groups = str(layer->getHTMLImageMap("", "", "t='{x}:{totalValue}'"));
  EXPECT_EQ(3, std::count(groups.begin(), groups.end(), '\n'));
  for (const char *expected : {"t='0:3'", "t='1:24'", "t='2:36'"})
    EXPECT_NE(std::string::npos, groups.find(expected)) << expected << "\n" << groups;
}

namespace {

// The items of one chart and what their areas should be.
struct Expected {
  int d;  // -1: the point's group
  int i;
  // Rows of a rectangle by hand; kNone: no area; kOnImage: a polygon whose
  // points all lie on the image.
  int top;
  int bottom;
};
constexpr int kNone = -1;
constexpr int kOnImage = -2;

}  // namespace

TEST(LayerImageMap, AreasShowOnlyWhatIsDrawn) {
  // A 200 x 150 image, the plot from row 20 to 119; a fixed scale of 0 to 10
  // takes 10 rows a unit, so 5 lies on row 69 and 9 on row 29. Bars are red
  // with no edge, so every corner of a bar's area is red.
  constexpr int kW = 200, kH = 150, kRed = 0xFF0000;
  constexpr double kHuge = 1e308;
  auto bars = [](XYChart *c, Layer::DataCombineMethod method,
                 std::vector<std::vector<double>> sets) -> Layer * {
    BarLayer *layer = c->addBarLayer2(method, 0);
    layer->setBorderColor(Transparent, 0);
    for (const auto &v : sets)
      layer->addDataSet(static_cast<int>(v.size()), v.data(), kRed, "");
    return layer;
  };
  auto fixed = [](XYChart *c) { c->yAxis()->setLinearScale(0, 10, 2); };
  auto log = [](XYChart *c) { c->yAxis()->setLogScale(true); };
  struct Case {
    const char *name;
    std::function<Layer *(XYChart *)> build;
    std::vector<Expected> expected;
    bool isFilled;  // the rectangles are red bars
  } cases[] = {
      {"a stack summing to infinity leaves the axis without a scale",
       [&](XYChart *c) { return bars(c, Layer::Stack, {{kHuge, 5}, {kHuge, 5}}); },
       {{-1, 0, kNone, 0}, {-1, 1, kNone, 0}, {0, 0, kNone, 0}, {0, 1, kNone, 0},
        {1, 0, kNone, 0}, {1, 1, kNone, 0}},
       true},
      {"a stack summing to infinity on a fixed axis",
       [&](XYChart *c) {
         fixed(c);
         return bars(c, Layer::Stack, {{kHuge, 5}, {kHuge, 4}});
       },
       {{0, 0, 0, 119}, {1, 0, kNone, 0}, {-1, 0, 0, 119}, {0, 1, 69, 119}, {1, 1, 29, 69},
        {-1, 1, 29, 119}},
       true},
      {"values off a fixed axis range",
       [&](XYChart *c) {
         fixed(c);
         return bars(c, Layer::Side, {{1e9, 5, -40, -kHuge}});
       },
       {{0, 0, 0, 119}, {0, 1, 69, 119}, {0, 2, 119, 149}, {0, 3, 119, 149}},
       true},
      {"a log axis with only values <= 0",
       [&](XYChart *c) {
         log(c);
         return bars(c, Layer::Side, {{0, -5, -1e9}});
       },
       {{-1, 0, kNone, 0}, {0, 0, kNone, 0}, {0, 1, kNone, 0}, {0, 2, kNone, 0}},
       true},
      {"a log axis with a value below 0 among positive ones",
       [&](XYChart *c) {
         log(c);
         return bars(c, Layer::Side, {{10, -5, 100}});
       },
       {{0, 1, 119, 149}},
       true},
      {"HLOC values off a fixed axis range",
       [&](XYChart *c) -> Layer * {
         fixed(c);
         const double high[] = {1e9, 8}, low[] = {5, -1e9};
         return c->addHLOCLayer(2, high, low, nullptr, nullptr, kRed);
       },
       {{-1, 0, 0, 69}, {-1, 1, 39, 149}, {0, 0, kNone, 0}},
       false},
      {"a line through a point off a fixed axis range",
       [&](XYChart *c) -> Layer * {
         fixed(c);
         const double v[] = {5, 1e9, 5};
         return c->addLineLayer(3, v, kRed, "", 0);
       },
       {{0, 0, kOnImage, 0}, {0, 1, kNone, 0}, {0, 2, kOnImage, 0}, {-1, 1, kNone, 0}},
       false},
      {"a line on a log axis with only values <= 0",
       [&](XYChart *c) -> Layer * {
         log(c);
         const double v[] = {0, -5, -1};
         return c->addLineLayer(3, v, kRed, "", 0);
       },
       {{0, 0, kNone, 0}, {0, 1, kNone, 0}, {-1, 2, kNone, 0}},
       false},
      {"an area through a point off a fixed axis range",
       [&](XYChart *c) -> Layer * {
         fixed(c);
         const double v[] = {5, 1e9, -1e9};
         return c->addAreaLayer(3, v, kRed, "", 0);
       },
       {{0, 0, kOnImage, 0}, {0, 1, kOnImage, 0}, {0, 2, kOnImage, 0}, {-1, 1, 0, 119}},
       false},
  };
  for (const Case &k : cases) {
    SCOPED_TRACE(k.name);
    Owned<XYChart> c(XYChart::create(kW, kH, 0xFFFFFF, Transparent));
    c->setPlotArea(30, 20, 150, 100, 0xF0F0F0, -1, 0x000000, -1, -1);
    Layer *layer = k.build(c.get());
    ASSERT_NE(nullptr, c->makeChart3());
    DrawArea *area = c->getDrawArea();
    for (const Expected &e : k.expected) {
      SCOPED_TRACE(testing::Message() << "item " << e.d << ", " << e.i);
      const char *shape = e.d < 0 ? layer->getImageCoor2(e.i) : layer->getImageCoor(e.d, e.i);
      if (e.top == kNone) {
        EXPECT_EQ(nullptr, shape) << shape;
        continue;
      }
      ASSERT_NE(nullptr, shape);
      const std::vector<int> values = parseArea(shape).coords;
      for (size_t j = 0; j < values.size(); ++j)
        EXPECT_TRUE(values[j] >= 0 && values[j] < (j % 2 == 0 ? kW : kH)) << shape;
      if (e.top == kOnImage) {
        EXPECT_GE(values.size(), 6u) << shape;
        continue;
      }
      const Rect r = parseRect(shape);
      EXPECT_EQ(e.top, r.top);
      EXPECT_EQ(e.bottom, r.bottom);
      if (!k.isFilled) continue;
      // The x axis line is drawn over the zero row 119.
      for (const int x : {r.left, r.right})
        for (const int y : {r.top == 119 ? 120 : r.top, r.bottom == 119 ? 118 : r.bottom})
          EXPECT_EQ(kRed, area->getPixel(x, y)) << x << "," << y;
    }
    // Each layer's map holds the areas above and no others.
    const std::string map = str(layer->getHTMLImageMap("", "", "t='{dataSet}'"));
    for (const MapArea &mapped : parseMap(map)) {
      const std::vector<int> &values = mapped.coords;
      EXPECT_FALSE(values.empty()) << mapped.text;
      for (size_t j = 0; j < values.size(); ++j)
        EXPECT_TRUE(values[j] >= 0 && values[j] < (j % 2 == 0 ? kW : kH)) << mapped.text;
    }
  }
}
