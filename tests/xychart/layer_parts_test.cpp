// The pieces every layer kind shares: the stacking rule, the shape records,
// and what a layer keeps and reads per point as its points grow.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "test_util.h"
#include "xychart/layer.h"
#include "xychart/shape_records.h"
#include "xychart/stacking.h"

namespace {

using namespace testutil;
using quorvane::LayerCore;
using quorvane::ShapeRecords;
using quorvane::StackSums;

}  // namespace

TEST(LayerParts, StackSumsPileBySignOrRunOneTotal) {
  // Values 3, -2, 4, -1 in data set order, worked by hand.
  const double values[] = {3, -2, 4, -1};
  struct Case {
    bool bySign;
    StackSums::Step steps[4];
    double total;
  } cases[] = {
      {true, {{0, false, 0, 3}, {1, false, 0, -2}, {0, true, 3, 7}, {1, true, -2, -3}}, 4},
      {false, {{0, false, 0, 3}, {0, true, 3, 1}, {0, true, 1, 5}, {0, true, 5, 4}}, 4},
  };
  for (const Case &k : cases) {
    StackSums sums(k.bySign);
    for (int j = 0; j < 4; ++j) {
      const StackSums::Step s = sums.add(values[j]);
      const StackSums::Step &e = k.steps[j];
      EXPECT_EQ(e.pile, s.pile) << k.bySign << " " << j;
      EXPECT_EQ(e.hasBase, s.hasBase) << k.bySign << " " << j;
      EXPECT_EQ(e.base, s.base) << k.bySign << " " << j;
      EXPECT_EQ(e.end, s.end) << k.bySign << " " << j;
    }
    EXPECT_EQ(k.total, sums.total()) << k.bySign;
  }
  // A small value under a huge one keeps its place: the sums run upwards.
  StackSums sums(false);
  sums.add(1);
  EXPECT_EQ(1 + 1e16, sums.add(1e16).end);
}

TEST(LayerParts, ShapeRecordsKeepWhatShowsOnTheImage) {
  ShapeRecords records;
  records.reset({true, false}, 3);
  records.record(0, 0, std::vector<int>{2, 3, 8, 9}, 20, 10);      // on the image
  records.record(0, 1, std::vector<int>{-5, 4, 8, 30}, 20, 10);    // cut to it
  records.record(0, 2, std::vector<int>{30, 30, 40, 40}, 20, 10);  // off it
  records.record(1, 0, std::vector<int>{2, 3, 8, 9}, 20, 10);      // no place
  records.record(-1, 2, std::vector<int>{5, 5, 2}, 20, 10);        // a group's circle
  records.record(2, 0, std::vector<int>{2, 3, 8, 9}, 20, 10);      // no such data set
  records.record(0, 3, std::vector<int>{2, 3, 8, 9}, 20, 10);      // no such point
  auto held = [&](int d, int i) {
    const std::span<const int> s = records.shape(d, i);
    return std::vector<int>(s.begin(), s.end());
  };
  EXPECT_EQ((std::vector<int>{2, 3, 8, 9}), held(0, 0));
  EXPECT_EQ((std::vector<int>{0, 4, 8, 9}), held(0, 1));
  EXPECT_TRUE(held(0, 2).empty());
  EXPECT_TRUE(held(1, 0).empty());
  EXPECT_EQ((std::vector<int>{5, 5, 2}), held(-1, 2));
  EXPECT_TRUE(held(2, 0).empty());
  EXPECT_TRUE(held(0, 3).empty());
  // A later record replaces the first; one off the image removes it.
  records.record(0, 0, std::vector<int>{1, 1, 2, 2}, 20, 10);
  EXPECT_EQ((std::vector<int>{1, 1, 2, 2}), held(0, 0));
  records.record(0, 0, std::vector<int>{-9, -9, -2, -2}, 20, 10);
  EXPECT_TRUE(held(0, 0).empty());
  records.reset({true}, 1);
  EXPECT_TRUE(held(0, 1).empty());
  EXPECT_EQ(0u, records.valueCount());
}

TEST(LayerParts, RecordsAndMapReadsGrowWithThePoints) {
  // Each kind with n and 2n points on the same chart: what a drawing keeps
  // and what its map reads double with the points, never more.
  using AddLayer = std::function<Layer *(XYChart *, const std::vector<double> &)>;
  auto sets = [](Layer *layer, const std::vector<double> &v, int count) {
    for (int d = 0; d < count; ++d) layer->addDataSet(int(v.size()), v.data(), -1, "");
    return layer;
  };
  const std::pair<const char *, AddLayer> kinds[] = {
      {"bar", [&](XYChart *c, auto &v) { return sets(c->addBarLayer2(Layer::Overlay, 0), v, 1); }},
      {"3D bar", [&](XYChart *c, auto &v) { return sets(c->addBarLayer2(Layer::Overlay, 6), v, 1); }},
      {"stacked bar", [&](XYChart *c, auto &v) { return sets(c->addBarLayer2(Layer::Stack, 0), v, 2); }},
      {"side bar", [&](XYChart *c, auto &v) { return sets(c->addBarLayer2(Layer::Side, 0), v, 2); }},
      {"line", [&](XYChart *c, auto &v) { return sets(c->addLineLayer2(Layer::Overlay, 0), v, 1); }},
      {"area", [&](XYChart *c, auto &v) { return sets(c->addAreaLayer2(Layer::Overlay, 0), v, 1); }},
      {"stacked area", [&](XYChart *c, auto &v) { return sets(c->addAreaLayer2(Layer::Stack, 0), v, 2); }},
      {"3D area", [&](XYChart *c, auto &v) { return sets(c->addAreaLayer2(Layer::Overlay, 6), v, 1); }},
      {"HLOC", [&](XYChart *c, auto &v) -> Layer * {
         return c->addHLOCLayer(int(v.size()), v.data(), v.data(), v.data(), v.data(), -1);
       }},
  };
  struct Figures {
    size_t shapeValues;
    uint64_t mapReads;
    size_t mapLines;
  };
  auto figuresOf = [](const AddLayer &add, int n) {
    std::vector<double> v(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) v[static_cast<size_t>(i)] = (i * 37 % 11) - 3;
    Owned<XYChart> c(XYChart::create(300, 200, 0xFFFFFF, -1));
    c->setPlotArea(20, 10, 260, 170, 0xFFFFFF, -1, -1, -1, -1);
    Layer *layer = add(c.get(), v);
    c->makeChart3();
    const std::string map = str(layer->getHTMLImageMap("u", "", "t='{value}'"));
    const auto *core = dynamic_cast<LayerCore *>(layer);
    return Figures{core->shapes().valueCount(), core->mapValueReads(),
                   size_t(std::count(map.begin(), map.end(), '\n'))};
  };
  for (const auto &[name, add] : kinds) {
    const Figures a = figuresOf(add, 1000);
    const Figures b = figuresOf(add, 2000);
    ASSERT_GT(a.shapeValues, 0u) << name;
    ASSERT_GT(a.mapLines, 0u) << name;
    EXPECT_LE(b.shapeValues, 2 * a.shapeValues + 16) << name;
    EXPECT_LE(b.mapReads, 2 * a.mapReads + 8) << name;
    EXPECT_LE(b.mapLines, 2 * a.mapLines + 2) << name;
    // Each item keeps at most a six-point polygon.
    EXPECT_LE(a.shapeValues, 12 * (a.mapLines + 1000)) << name;
  }
}
