// Every setter of an XY chart's plot area, axes and layers of every kind,
// swept with the int and double values a host can pass at the edges: the
// chart still draws and gives its image map, and a plot area placed off the
// image leaves the image untouched. The sanitizer builds turn any overflow
// on the way into a failure.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "test_util.h"

namespace {

using namespace testutil;

const double kInf = std::numeric_limits<double>::infinity();
// Font sizes stay moderate: a text of thousands of points takes long to lay out.
const double kFontSizes[] = {std::nan(""), kInf, -kInf, -1, 0, 1e-300, 30};

constexpr int kWidth = 160, kHeight = 120;
const double kValues[] = {3, -2, NoValue, 7};

enum class Kind { kBar, kLine, kArea, kHloc };
constexpr Kind kKinds[] = {Kind::kBar, Kind::kLine, Kind::kArea, Kind::kHloc};

Layer *addLayer(XYChart &c, Kind kind) {
  switch (kind) {
    case Kind::kBar: return c.addBarLayer(4, kValues, -1, "bar", 3);
    case Kind::kLine: return c.addLineLayer(4, kValues, -1, "line", 2);
    case Kind::kArea: return c.addAreaLayer(4, kValues, -1, "area", 1);
    case Kind::kHloc: {
      const double high[] = {9, 8, 7, 6}, low[] = {1, 2, 3, 4};
      return c.addHLOCLayer(4, high, low, kValues, kValues, -1);
    }
  }
  return nullptr;
}

// A chart with something of everything: every layer kind with labels and
// symbols, marks and zones on every axis, bands and grids.
Owned<XYChart> fullChart(int x = 30, int y = 20, int width = 100, int height = 70) {
  Owned<XYChart> c(XYChart::create(kWidth, kHeight, kWhite, kBlack));
  c->setPlotArea(x, y, width, height, 0xEEEEEE, 0xDDDDDD, kBlack, 0xC0C0C0, 0xC0C0C0);
  const char *labels[] = {"a", "-b", "~c", "d"};
  c->xAxis()->setLabels(4, labels);
  c->xAxis2()->setLabels(4, labels);
  for (Kind kind : kKinds) {
    Layer *layer = addLayer(*c, kind);
    layer->setDataLabelFormat("&value&");
    layer->setAggregateLabelFormat("&value&");
  }
  for (BaseAxis *axis : std::vector<BaseAxis *>{c->xAxis(), c->xAxis2(), c->yAxis(), c->yAxis2()}) {
    axis->addMark(1, kRed, "mark", nullptr, 8);
    axis->addZone(0, 2, 0xFFEEEE);
    axis->setTitle("title", nullptr, 8, -1);
  }
  c->yAxis2()->addMark(1, kRed, "mark", nullptr, 8)->setDrawOnTop(true);
  return c;
}

// Draws the chart, takes its map and every shape record around the ends of
// the data; returns the image (null when the chart could not be drawn).
DrawArea *drawAndMap(XYChart &c, const std::vector<Layer *> &layers) {
  DrawArea *a = c.makeChart3();
  EXPECT_NE(nullptr, c.getHTMLImageMap("u", "", ""));
  for (Layer *layer : layers) {
    EXPECT_NE(nullptr, layer->getHTMLImageMap("u", "{value}", "title='{x}'"));
    for (int i : {INT_MIN, -1, 0, 1, 3, 4, INT_MAX}) {
      layer->getImageCoor(0, i);
      layer->getImageCoor(INT_MAX, i);
      layer->getImageCoor2(i);
    }
    for (double v : kEdgeDoubles) {
      layer->getXCoor(v);
      layer->getYCoor(v, true);
      layer->getYCoor(v, false);
    }
  }
  for (BaseAxis *axis : {static_cast<BaseAxis *>(c.xAxis()), static_cast<BaseAxis *>(c.yAxis())})
    for (double v : kEdgeDoubles) axis->getCoor(v);
  return a;
}

}  // namespace

TEST(XyExtremeArguments, PlotAreaAtEveryEdgeDrawsAndMaps) {
  const int ordinary[] = {30, 20, 100, 70};
  // Each argument alone at every edge, then all four together.
  std::vector<std::vector<int>> placements;
  for (int arg = 0; arg < 4; ++arg)
    for (int v : kEdgeInts) {
      std::vector<int> p(ordinary, ordinary + 4);
      p[static_cast<size_t>(arg)] = v;
      placements.push_back(p);
    }
  for (int x : {INT_MIN, -1, INT_MAX})
    for (int y : {INT_MIN, -1, INT_MAX})
      for (int size : {INT_MIN, 0, 1, INT_MAX}) placements.push_back({x, y, size, size});
  for (const auto &p : placements) {
    SCOPED_TRACE(::testing::Message() << p[0] << "," << p[1] << " " << p[2] << "x" << p[3]);
    auto c = fullChart(p[0], p[1], p[2], p[3]);
    EXPECT_NE(nullptr, drawAndMap(*c, {}));
  }
}

TEST(XyExtremeArguments, PlotAreaOffTheImageLeavesItUntouched) {
  // Wherever the saturated edges fall, nothing of the plot area, its axes,
  // labels, marks or layers reaches the image and no shape is mapped: an
  // edge that wrapped round would bring something back onto it.
  const struct {
    int x, y, width, height;
  } cases[] = {{INT_MAX, INT_MAX, 1, 1},        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
               {INT_MAX - 5, 20, 100, 70},      {30, INT_MAX - 5, 100, 70},
               {INT_MIN, INT_MIN, 1, 1},        {INT_MIN, 20, 100, 70},
               {INT_MAX, INT_MIN, INT_MAX, 1}};
  for (const auto &k : cases) {
    SCOPED_TRACE(::testing::Message() << k.x << "," << k.y << " " << k.width << "x" << k.height);
    Owned<XYChart> c(XYChart::create(kWidth, kHeight, kWhite, Transparent));
    c->setPlotArea(k.x, k.y, k.width, k.height, 0xEEEEEE, 0xDDDDDD, kBlack, 0xC0C0C0, 0xC0C0C0);
    std::vector<Layer *> layers;
    for (Kind kind : kKinds) layers.push_back(addLayer(*c, kind));
    c->yAxis()->addMark(1, kRed, "mark", nullptr, 8);
    c->xAxis()->addZone(0, 2, kRed);
    DrawArea *a = drawAndMap(*c, layers);
    ASSERT_NE(nullptr, a);
    for (int p : pixels(a)) ASSERT_EQ(kWhite, p);
    const std::string map = str(c->getHTMLImageMap("u", "", ""));
    EXPECT_EQ(std::string::npos, map.find("<area")) << map;
  }
}

TEST(XyExtremeArguments, LayerAndDataSetSettersOfEveryKind) {
  using Setter = std::function<void(Layer &, DataSet &, int, double)>;
  const std::vector<Setter> setters = {
      [](Layer &l, DataSet &, int v, double) { l.setSize(v, v, v, v); },
      [](Layer &l, DataSet &, int v, double) { l.set3D2(v, -(v / 2), v, v); },
      [](Layer &l, DataSet &, int v, double) { l.set3D(v, v); },
      [](Layer &l, DataSet &, int v, double) { l.set3D(-1, v); },
      [](Layer &l, DataSet &, int v, double) { l.setLineWidth(v); },
      [](Layer &l, DataSet &, int v, double) { l.setBorderColor(v, v); },
      [](Layer &l, DataSet &, int v, double) {
        l.setDataCombineMethod(static_cast<Layer::DataCombineMethod>(v));
      },
      [](Layer &l, DataSet &, int v, double d) {
        l.setDataLabelFormat("&value|2&");
        l.setDataLabelStyle(nullptr, 8, v, d);
        l.setAggregateLabelFormat("&value&");
        l.setAggregateLabelStyle(nullptr, 8, v, d);
      },
      [](Layer &l, DataSet &, int, double d) {
        if (auto *bar = dynamic_cast<BarLayer *>(&l)) bar->setBarGap(d, d);
      },
      [](Layer &l, DataSet &, int, double d) {
        if (auto *bar = dynamic_cast<BarLayer *>(&l)) bar->setBarGap(0.25, d);
      },
      [](Layer &l, DataSet &, int, double d) {
        const double values[] = {d, -d, d, 1};
        l.addDataSet(4, values, -1, "more");
      },
      [](Layer &, DataSet &s, int, double d) {
        const double values[] = {d, d, 1, -d, d};
        s.setData(5, values);
      },
      [](Layer &, DataSet &s, int v, double) { s.setDataColor(v, v, v, v); },
      [](Layer &, DataSet &s, int v, double) {
        s.setDataSymbol(static_cast<SymbolType>(v), v, v, v);
      },
      [](Layer &, DataSet &s, int v, double) { s.setDataSymbol(SquareSymbol, v, kRed, kBlue); },
      [](Layer &, DataSet &s, int v, double) { s.setLineWidth(v); },
      [](Layer &, DataSet &s, int v, double d) {
        s.setDataLabelFormat("&value&");
        s.setDataLabelStyle(nullptr, 8, v, d);
      },
  };
  for (Kind kind : kKinds)
    for (size_t k = 0; k < setters.size(); ++k)
      for (size_t i = 0; i < std::size(kEdgeInts); ++i) {
        const double d = edgeDoubleFor(i);
        SCOPED_TRACE(::testing::Message() << "kind " << static_cast<int>(kind) << " setter " << k
                                          << " with " << kEdgeInts[i] << ", " << d);
        auto c = fullChart();
        Layer *layer = addLayer(*c, kind);
        DataSet *set = layer->addDataSet(4, kValues, kBlue, "set");
        setters[k](*layer, *set, kEdgeInts[i], d);
        for (bool second : {false, true}) {
          set->setUseYAxis2(second);
          EXPECT_NE(nullptr, drawAndMap(*c, {layer}));
        }
      }
}

TEST(XyExtremeArguments, AxisSettersOfEveryAxis) {
  using Setter = std::function<void(XYChart &, BaseAxis &, int, double)>;
  const std::vector<Setter> setters = {
      [](XYChart &, BaseAxis &a, int v, double d) { a.setLabelStyle(nullptr, 8, v, d); },
      [](XYChart &, BaseAxis &a, int, double d) { a.setLabelStyle(nullptr, d, kBlack, 0); },
      [](XYChart &, BaseAxis &a, int v, double) { a.setLabelGap(v); },
      [](XYChart &, BaseAxis &a, int v, double) {
        a.setTitle("title", nullptr, 8, v);
        a.setTitlePos(static_cast<Alignment>(v), v);
      },
      [](XYChart &, BaseAxis &a, int v, double) { a.setColors(v, v, v, v); },
      [](XYChart &, BaseAxis &a, int v, double) { a.setTickLength2(v, -(v / 3)); },
      [](XYChart &, BaseAxis &a, int v, double) { a.setTickLength(v); },
      [](XYChart &, BaseAxis &a, int v, double d) {
        Mark *m = a.addMark(d, v, "mark", nullptr, 8);
        m->setLineWidth(v);
        m->setMarkColor(v, v, v);
        m->setPos(v, v);
        m->setSize(v, v);
        m->setMargin2(v, v, v, v);
        m->setFontAngle(d, v % 2 != 0);
        m->setAlignment(v);
      },
      [](XYChart &, BaseAxis &a, int, double d) {
        a.addMark(1, kRed, "mark", nullptr, 8)->setValue(d);
        a.addZone(d, -d, kRed);
        a.addZone(0, d, kBlue);
      },
      [](XYChart &, BaseAxis &a, int v, double d) {
        if (auto *x = dynamic_cast<XAxis *>(&a)) {
          const std::string many(static_cast<size_t>(std::abs(v % 97)), 'x');
          const char *labels[] = {many.c_str(), "-", "~", nullptr, "\\-"};
          x->setLabels(5, labels);
          x->setIndent(v % 2 != 0);
          x->getLabel(v);
        }
        (void)d;
      },
      [](XYChart &, BaseAxis &a, int v, double d) {
        if (auto *y = dynamic_cast<YAxis *>(&a)) {
          y->setLinearScale(d, -d, d);
          y->setTickDensity(v);
          y->setTopMargin(v);
          y->setLabelFormat("&value|3,.&");
        }
      },
      [](XYChart &, BaseAxis &a, int v, double d) {
        if (auto *y = dynamic_cast<YAxis *>(&a)) {
          y->setLinearScale(-d, NoValue, 1);
          y->setAutoScale(d, d);
          y->setTickDensity(v);
        }
      },
      [](XYChart &, BaseAxis &a, int, double d) {
        if (auto *y = dynamic_cast<YAxis *>(&a)) {
          y->setLogScale2(d, 1e300, d);
          y->setLogScale(true);
        }
      },
      [](XYChart &c, BaseAxis &, int v, double d) {
        c.syncYAxis(d, d);
        c.setYAxisOnRight(v % 2 != 0);
      },
  };
  for (int axis = 0; axis < 4; ++axis)
    for (size_t k = 0; k < setters.size(); ++k)
      for (size_t i = 0; i < std::size(kEdgeInts); ++i) {
        const double d = edgeDoubleFor(i);
        SCOPED_TRACE(::testing::Message() << "axis " << axis << " setter " << k << " with "
                                          << kEdgeInts[i] << ", " << d);
        auto c = fullChart();
        BaseAxis *const axes[] = {c->xAxis(), c->xAxis2(), c->yAxis(), c->yAxis2()};
        setters[k](*c, *axes[axis], kEdgeInts[i], d);
        EXPECT_NE(nullptr, drawAndMap(*c, {}));
      }
  // Label and title sizes, alone.
  for (double size : kFontSizes) {
    auto c = fullChart();
    for (BaseAxis *a : std::vector<BaseAxis *>{c->xAxis(), c->yAxis2()}) {
      a->setLabelStyle(nullptr, size, kBlack, 45);
      a->setTitle("title", nullptr, size, kBlack);
      a->addMark(2, kRed, "mark", nullptr, size);
    }
    EXPECT_NE(nullptr, drawAndMap(*c, {})) << size;
  }
}

TEST(XyExtremeArguments, PlotAreaSetters) {
  for (int v : kEdgeInts) {
    SCOPED_TRACE(v);
    for (int which = 0; which < 4; ++which) {
      auto c = fullChart();
      PlotArea *p = c->setPlotArea(30, 20, 100, 70, v, v, v, v, v);
      if (which == 1) p->setGridWidth(v, v);
      if (which == 2) p->setGridWidth(1, v);
      if (which == 3) p->setBackground2(nullptr, static_cast<Alignment>(v));
      p->setBackground(which == 0 ? v : kWhite, v, v);
      p->setGridColor(v, which == 0 ? -1 : v);
      EXPECT_NE(nullptr, drawAndMap(*c, {}));
    }
  }
}

// Values no scale can place, with each layer kind's settings at their edges:
// the chart draws, and a point that cannot be placed has no record. The plot
// is 400 x 200 at (30, 20) on -10..10, so value 5 lies on row 69.
TEST(XyExtremeArguments, HostileValuesOfEveryLayerKindLeaveUnplacedPointsWithoutRecords) {
  const double nan = std::nan(""), huge = 1e308;
  constexpr int kBig = INT_MAX;
  struct Case {
    const char *what;
    std::function<Layer *(XYChart &)> build;
    int dataSet;
    const char *records;  // a point of dataSet each: 'y' a record, '-' none, '.' either
    bool hasSymbol;       // a green square edge on column 157 of row 69
  };
  std::vector<Case> cases;
  static const double bars[] = {5, huge, -huge, nan, kInf, -kInf, NoValue};
  const struct {
    double gap, subGap;
    int depth;
  } barSettings[] = {{0.25, 0.2, kBig}, {nan, nan, -40}, {-1e300, -1e300, -kBig - 1}, {7, -3, 5}};
  for (const auto &s : barSettings)
    for (const auto method : {Layer::Overlay, Layer::Stack, Layer::Side})
      cases.push_back({"bars", [s, method](XYChart &c) -> Layer * {
                         BarLayer *layer = c.addBarLayer2(method, s.depth);
                         layer->setBarGap(s.gap, s.subGap);
                         layer->addDataSet(7, bars, kRed, "");
                         layer->addDataSet(7, bars, kBlue, "")->setUseYAxis2(true);
                         return layer;
                       },
                       0, "y..----", false});
  // Only point 0, at (30, 69), is on the image: a symbol size past 256 is
  // drawn at 256, columns 30 - 128 = -98 .. 30 + 127 = 157.
  static const double line[] = {5, nan, kInf, -kInf, huge, -huge, NoValue};
  const struct {
    int size, depth, width;
    bool hasSymbol;
  } lineSettings[] = {
      {kBig, 0, kBig, true}, {-5, kBig, -kBig - 1, false}, {0, -40, 0, false}, {300, 7, 2, true}};
  for (const auto &s : lineSettings)
    cases.push_back({"line", [s](XYChart &c) -> Layer * {
                       LineLayer *layer = c.addLineLayer2(Layer::Overlay, s.depth);
                       DataSet *ds = layer->addDataSet(7, line, kRed, "");
                       ds->setLineWidth(s.width);
                       ds->setDataSymbol(SquareSymbol, s.size, kBlue, kGreen);
                       return layer;
                     },
                     0, ".---..-", s.hasSymbol});
  // Stacked, data set 1's bands at 1, 2 and 7 lie between totals of +-1e308
  // and +-infinity, wholly off the image, and have no area.
  static const double areas[] = {5, huge, huge, nan, kInf, -kInf, NoValue, -huge, 4};
  for (const int depth : {0, 10, kBig})
    for (const auto method : {Layer::Overlay, Layer::Stack})
      cases.push_back({"areas", [depth, method](XYChart &c) -> Layer * {
                         AreaLayer *layer = c.addAreaLayer2(method, depth);
                         layer->setBorderColor(Transparent, 0);
                         layer->addDataSet(9, areas, kRed, "");
                         layer->addDataSet(9, areas, kBlue, "");
                         return layer;
                       },
                       1, method == Layer::Stack ? "y-------y" : "yyy----yy", false});
  for (const Case &k : cases) {
    SCOPED_TRACE(::testing::Message() << k.what << ", case " << &k - cases.data());
    Owned<XYChart> c(XYChart::create(480, 260, kWhite, Transparent));
    c->setPlotArea(30, 20, 400, 200, kWhite, -1, kBlack, Transparent, Transparent);
    c->yAxis()->setLinearScale(-10, 10, 5);
    Layer *layer = k.build(*c);
    DrawArea *a = c->makeChart3();
    ASSERT_NE(nullptr, a);
    for (int i = 0; k.records[i] != '\0'; ++i) {
      if (k.records[i] == '.') continue;
      EXPECT_EQ(k.records[i] == 'y', layer->getImageCoor(k.dataSet, i) != nullptr) << i;
    }
    EXPECT_EQ(k.hasSymbol, a->getPixel(157, 69) == kGreen);
    EXPECT_NE(kGreen, a->getPixel(158, 69));
  }
}
