// Area layers through the published interface: zero crossings, stacked
// bands, gaps, 3D top faces, shape records and the stacked value range
// (hostile values: extreme_arguments_test.cpp). The plot is 400 x 200 at
// (30, 20) with the y axis fixed at -10..10, so value v lies on row 119 - 10 v
// and point i of n on column 30 + trunc(i / (n - 1) * 399.9999).
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "test_util.h"

namespace {

using namespace testutil;

constexpr int kColours[] = {kRed, kGreen};
constexpr double kNo = NoValue;

Owned<XYChart> chart() {
  Owned<XYChart> c(XYChart::create(480, 260, kWhite, Transparent));
  c->setPlotArea(30, 20, 400, 200, kWhite, -1, kBlack, Transparent, Transparent);
  c->yAxis()->setLinearScale(-10, 10, 5);
  return c;
}

Layer *addAreas(XYChart *c, Layer::DataCombineMethod method, int depth,
                const std::vector<std::vector<double>> &sets, int edge = Transparent) {
  AreaLayer *layer = c->addAreaLayer2(method, depth);
  layer->setBorderColor(edge, 0);
  for (size_t d = 0; d < sets.size(); ++d)
    layer->addDataSet(static_cast<int>(sets[d].size()), sets[d].data(), kColours[d], "");
  return layer;
}

TEST(XyAreaDrawing, PiecesBandsGapsAndTopFaces) {
  const struct {
    const char *what;
    Layer::DataCombineMethod method;
    int depth, edge;
    std::vector<std::vector<double>> sets;
    std::vector<std::array<int, 3>> pixels;  // x, y, colour
  } cases[] = {
      // Triangles (30,99)-(30,119)-(230,119) and (230,119)-(429,139)-(429,119).
      {"2, -2", Layer::Overlay, 0, Transparent, {{2, -2}},
       {{100, 110, kRed}, {200, 117, kRed}, {230, 119, kRed}, {260, 121, kRed}, {360, 125, kRed},
        {220, 116, kWhite}, {240, 123, kWhite}, {100, 125, kWhite}, {360, 112, kWhite}}},
      // Running totals 2 (row 99) and 5 (row 69); then -3 (row 149) over 0..2.
      {"stack", Layer::Stack, 0, Transparent, {{2, 2}, {3, 3}},
       {{230, 110, kRed}, {230, 85, kGreen}, {230, 60, kWhite}, {230, 125, kWhite}}},
      {"stack across zero", Layer::Stack, 0, Transparent, {{-3, -3}, {5, 5}},
       {{230, 135, kRed}, {230, 110, kGreen}, {230, 90, kWhite}, {230, 155, kWhite}}},
      // A lone point draws nothing; the totals above run from 5 to 3 (row 79 at 230).
      {"stack with a missing point", Layer::Stack, 0, Transparent, {{2, kNo}, {3, 3}},
       {{230, 110, kGreen}, {230, 85, kGreen}, {230, 75, kWhite}}},
      {"gap", Layer::Overlay, 0, Transparent, {{2, 2, kNo, 2, 2}},
       {{80, 110, kRed}, {180, 110, kWhite}, {280, 110, kWhite}, {380, 110, kRed}}},
      // The top face swept 10 right and up from row 99, the half-bright side at 429..439;
      // under the zero line the top face lies on it.
      {"3D", Layer::Overlay, 10, Transparent, {{2, 2}},
       {{230, 94, kRed}, {230, 85, kWhite}, {434, 110, 0x7F0000}, {445, 110, kWhite}}},
      {"3D across zero", Layer::Overlay, 10, Transparent, {{2, -2}},
       {{130, 104, kRed}, {130, 95, kWhite}, {330, 114, kRed}, {330, 105, kWhite}}},
      {"huge", Layer::Overlay, 0, Transparent, {{1e308, 1e308}}, {{230, 25, kRed}}},
      {"top edge", Layer::Overlay, 0, kBlue, {{2, 2}}, {{230, 99, kBlue}, {230, 100, kRed}}},
  };
  for (const auto &k : cases) {
    auto c = chart();
    addAreas(c.get(), k.method, k.depth, k.sets, k.edge);
    DrawArea *a = c->makeChart3();
    for (const auto &[x, y, colour] : k.pixels)
      EXPECT_EQ(colour, a->getPixel(x, y)) << k.what << " at " << x << ", " << y;
  }
}

// Drawn smooth, an area through zero has its whole edge on both sides: the
// values 0, 6, 0, -6, 0 make a triangle above the zero row (row 119) and one
// below it, 199 and 200 columns wide and 60 rows high, whose ink differs by
// their widths alone; an edge missing its outer half on one side would leave
// that side short by half a pixel along its two slanted sides (about 2 %).
TEST(XyAreaDrawing, SmoothAreaThroughZeroHasItsWholeEdgeOnBothSides) {
  Owned<XYChart> c = chart();
  c->setAntiAlias(1);
  addAreas(c.get(), Layer::Overlay, 0, {{0, 6, 0, -6, 0}});
  DrawArea *a = c->makeChart3();
  ASSERT_NE(a, nullptr);
  double above = 0, below = 0;
  for (int y = 40; y < 200; ++y)
    for (int x = 25; x < 435; ++x) {
      const double ink = (255 - ((a->getPixel(x, y) >> 8) & 255)) / 255.0;  // red: green falls
      if (y < 119) above += ink;
      if (y > 119) below += ink;
    }
  EXPECT_NEAR(above / below, 199.0 / 200.0, 0.004);
}

TEST(XyAreaRecords, MidpointToMidpointPolygons) {
  const struct {
    Layer::DataCombineMethod method;
    std::vector<std::vector<double>> sets;
    int d, i;
    const char *coords;  // null: no record
  } cases[] = {
      // Columns 30, 129, 229, 329, 429; rows 99, 59, 79; zero on row 119.
      {Layer::Overlay, {{2, 6, 4, kNo, 4}}, 0, 0, "30,99,79,79,79,119,30,119"},
      {Layer::Overlay, {{2, 6, 4, kNo, 4}}, 0, 1, "79,79,129,59,179,69,179,119,79,119"},
      {Layer::Overlay, {{2, 6, 4, kNo, 4}}, 0, 2, "179,69,229,79,229,119,179,119"},
      {Layer::Overlay, {{2, 6, 4, kNo, 4}}, 0, 4, nullptr},
      // Columns 30, 229, 429; totals on rows 99 and 69.
      {Layer::Stack, {{2, 2, 2}, {3, 3, 3}}, 1, 1, "129,69,229,69,329,69,329,99,229,99,129,99"},
      {Layer::Stack, {{2, 2, 2}, {3, 3, 3}}, 0, 1, "129,99,229,99,329,99,329,119,129,119"},
      // The group: around both records, up to the total 7 on row 49.
      {Layer::Stack, {{2, 6, 4}, {-1, 1, 1}}, -1, 1, "129,49,329,119"},
  };
  for (const auto &k : cases) {
    auto c = chart();
    Layer *layer = addAreas(c.get(), k.method, 0, k.sets);
    c->makeChart3();
    const std::string kind = k.d < 0 ? "rect" : "poly";
    const std::string expected =
        k.coords ? "shape=\"" + kind + "\" coords=\"" + k.coords + "\"" : "<null>";
    EXPECT_EQ(expected, str(layer->getImageCoor(k.d, k.i))) << k.d << ", " << k.i;
  }
}

TEST(XyAreaRange, StackHoldsEveryRunningTotal) {
  const struct {
    std::vector<double> values;  // one data set each, at one point
    double max, min;
  } cases[] = {
      {{5, -10, 8}, 8, -10},  // totals 5, -5, 3
      {{5, 4, -8}, 9, -8},    // totals 5, 9, 1
      {{-5, -4, 8}, 8, -9},   // totals -5, -9, -1
      {{5, kNo, 4}, 9, 4},
  };
  for (const auto &k : cases) {
    auto c = chart();
    AreaLayer *layer = c->addAreaLayer2(Layer::Stack, 0);
    for (const double &v : k.values) layer->addDataSet(1, &v, -1, "");
    EXPECT_EQ(k.max, layer->getMaxY(true));
    EXPECT_EQ(k.min, layer->getMinY(true));
  }
}

}  // namespace
