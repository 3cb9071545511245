// Bar and HLOC layers of many points a column leave out the boxes and lines
// that later ones paint over. Two routes to one picture: every chart is also
// drawn with every box and line painted, and the pixels and the image map
// must agree; the painted work must shrink, and grow with the columns
// rather than the points.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "test_util.h"
#include "xychart/bar_layer.h"
#include "xychart/hloc_layer.h"

namespace {

using namespace testutil;
using quorvane::BarLayerImpl;
using quorvane::HLOCLayerImpl;

enum class Paint { Automatic, Opaque, NoEdges, NoSideEdge, NoTopEdge, Translucent, Special, Raised };

struct Scene {
  const char *name;
  Layer::DataCombineMethod method;
  int sets;
  int xDepth, yDepth;
  Paint paint;
  int shapeMode;
  bool leavesOut;  // some boxes are expected to be left out
  double barGap = 0.25;  // below 0 the bars overlap: wide bars, many a column
};

// Values from -5 to 11 on a -6 .. 12 axis, some missing, some on zero.
std::vector<double> randomValues(std::mt19937 &rng, int n) {
  std::uniform_int_distribution<int> pick(-50, 110);
  std::vector<double> v(static_cast<size_t>(n));
  for (double &x : v) {
    const int k = pick(rng);
    x = k % 23 == 0 ? NoValue : k % 17 == 0 ? 0 : k / 10.0;
  }
  return v;
}

Owned<XYChart> plot(int shapeMode) {
  Owned<XYChart> c(XYChart::create(97, 73, kWhite, Transparent));
  c->setPlotArea(9, 11, 61, 47, kWhite, -1, Transparent, Transparent, Transparent);
  c->yAxis()->setLinearScale(-6, 12, 3);
  c->setAntiAlias(shapeMode);
  return c;
}

void paintSet(XYChart &c, BarLayer &layer, DataSet &ds, int d, Paint paint) {
  const int faces[] = {kRed, kBlue, kGreen};
  const int face = faces[d % 3];
  switch (paint) {
    case Paint::Automatic:
      break;
    case Paint::Opaque:
      ds.setDataColor(face, 0x000080, 0x404040 + d, 0x202020);
      break;
    case Paint::NoEdges:
      layer.setBorderColor(Transparent, 0);
      ds.setDataColor(face, -1, -1, -1);
      break;
    case Paint::NoSideEdge:
      ds.setDataColor(face, kBlack, -1, Transparent);
      break;
    case Paint::NoTopEdge:
      ds.setDataColor(face, Transparent, -1, kBlack);
      break;
    case Paint::Translucent:
      ds.setDataColor(d == 0 ? 0x80FF0000 : face, kBlack, d == 0 ? -1 : 0x60008000, -1);
      break;
    case Paint::Special:
      ds.setDataColor(d == 0 ? c.dashLineColor(face, 0x0302) : face, kBlack, -1, -1);
      break;
    case Paint::Raised:
      layer.setBorderColor(kBlack, d == 0 ? 2 : -1);
      ds.setDataColor(face, -1, -1, -1);
      break;
  }
}

struct Drawn {
  std::vector<int> pixels;
  std::string map;
  uint64_t painted;
};

Drawn drawBars(const Scene &s, unsigned seed, bool leavesOut) {
  std::mt19937 rng(seed);
  const int n = std::uniform_int_distribution<int>(200, 600)(rng);
  auto c = plot(s.shapeMode);
  BarLayer *layer = c->addBarLayer2(s.method, 0);
  layer->set3D2(s.xDepth, s.yDepth, 0, 0);
  layer->setBarGap(s.barGap, 0.2);
  if (seed % 3 == 0) {
    layer->setDataLabelFormat("{value}");
    layer->setAggregateLabelFormat("{value}");
  }
  for (int d = 0; d < s.sets; ++d) {
    const std::vector<double> v = randomValues(rng, n);
    paintSet(*c, *layer, *layer->addDataSet(n, v.data(), -1, ""), d, s.paint);
  }
  auto *impl = static_cast<BarLayerImpl *>(layer);
  impl->setLeavesOutCovered(leavesOut);
  DrawArea *a = c->makeChart3();
  return {pixels(a), str(layer->getHTMLImageMap("x", "", "")), impl->boxesPainted()};
}

Drawn drawHloc(unsigned seed, int lineWidth, int color, bool leavesOut) {
  std::mt19937 rng(seed);
  const int n = std::uniform_int_distribution<int>(200, 600)(rng);
  auto c = plot(static_cast<int>(seed % 2));
  std::vector<double> v[4];
  for (auto &values : v) values = randomValues(rng, n);
  if (color == 1) color = c->dashLineColor(0x00336699, 0x0302);
  HLOCLayer *layer = c->addHLOCLayer(n, v[0].data(), v[1].data(), v[2].data(), v[3].data(),
                                     color == 0 ? -1 : color);
  layer->setLineWidth(lineWidth);
  auto *impl = static_cast<HLOCLayerImpl *>(layer);
  impl->setLeavesOutCovered(leavesOut);
  DrawArea *a = c->makeChart3();
  return {pixels(a), str(layer->getHTMLImageMap("x", "", "")), impl->strokesDrawn()};
}

// Draws seeds 1 ... 12 both ways with draw(seed, leavesOut): every pixel
// and the map must agree, and the work left out must be some when expected,
// else none.
template <typename Draw>
void expectBothWaysAlike(const std::string &name, bool leavesOut, Draw draw) {
  uint64_t painted = 0, every = 0;
  for (unsigned seed = 1; seed <= 12; ++seed) {
    const Drawn fast = draw(seed, true);
    const Drawn plain = draw(seed, false);
    ASSERT_EQ(plain.pixels, fast.pixels) << name << ", seed " << seed;
    ASSERT_EQ(plain.map, fast.map) << name << ", seed " << seed;
    painted += fast.painted;
    every += plain.painted;
  }
  if (leavesOut) EXPECT_LT(painted, every) << name;
  else EXPECT_EQ(painted, every) << name;
}

TEST(XyCoveredPaint, BarsLeftOutKeepEveryPixelAndTheMap) {
  const Scene scenes[] = {
      // Flat bars of each layout.
      {"flat", Layer::Overlay, 1, 0, 0, Paint::Automatic, 0, true},
      {"flat overlay of three", Layer::Overlay, 3, 0, 0, Paint::Opaque, 0, true},
      {"flat stack", Layer::Stack, 2, 0, 0, Paint::Automatic, 1, true},
      {"flat side", Layer::Side, 2, 0, 0, Paint::NoEdges, 0, true},
      {"flat wide", Layer::Overlay, 2, 0, 0, Paint::Opaque, 0, true, -20},
      // Translucent, bevelled and dashed paints.
      {"flat translucent", Layer::Stack, 2, 0, 0, Paint::Translucent, 0, true},
      {"flat bevel", Layer::Overlay, 2, 0, 0, Paint::Raised, 0, true, -20},
      {"dashes", Layer::Stack, 2, 0, 0, Paint::Special, 0, true},
      {"3D dashes", Layer::Overlay, 2, 4, 4, Paint::Special, 0, true},
      {"3D translucent", Layer::Stack, 2, 4, 4, Paint::Translucent, 0, false},
      // 3D faces at 45 degrees.
      {"3D", Layer::Overlay, 1, 4, 4, Paint::Automatic, 0, true},
      {"3D overlay of two", Layer::Overlay, 2, 3, 3, Paint::Opaque, 0, true},
      {"3D stack", Layer::Stack, 3, 5, 5, Paint::Automatic, 0, true},
      {"3D side", Layer::Side, 2, 2, 2, Paint::Opaque, 0, true},
      {"3D bevel", Layer::Overlay, 1, 4, 4, Paint::Raised, 0, true, -20},
      // Wide 3D bars, many a column; some without the top outline.
      {"3D wide", Layer::Overlay, 1, 4, 4, Paint::Automatic, 0, true, -20},
      {"3D wide stack", Layer::Stack, 2, 3, 3, Paint::Opaque, 0, true, -30},
      {"3D wide without top outline", Layer::Overlay, 1, 4, 4, Paint::NoTopEdge, 0, true, -20},
      {"3D wide side without top outline", Layer::Side, 2, 3, 3, Paint::NoTopEdge, 0, true, -40},
      // Never left out: open side faces, other slopes, smooth faces.
      {"3D without side outline", Layer::Overlay, 1, 4, 4, Paint::NoSideEdge, 0, false},
      {"3D without edges", Layer::Overlay, 1, 4, 4, Paint::NoEdges, 0, false},
      {"3D at another slope", Layer::Overlay, 1, 5, 3, Paint::Opaque, 0, false},
      {"3D smooth", Layer::Overlay, 1, 4, 4, Paint::Opaque, 1, false},
  };
  for (const Scene &s : scenes)
    expectBothWaysAlike(s.name, s.leavesOut,
                        [&](unsigned seed, bool leavesOut) { return drawBars(s, seed, leavesOut); });
}

TEST(XyCoveredPaint, HlocLinesLeftOutKeepEveryPixelAndTheMap) {
  const struct {
    int lineWidth;
    int color;  // 0: automatic; 1: a dash colour
    bool leavesOut;
  } cases[] = {{1, 0, true}, {3, 0x00336699, true}, {2, 0x40FF0000, false}, {1, 1, false}};
  for (const auto &k : cases)
    expectBothWaysAlike("width " + std::to_string(k.lineWidth), k.leavesOut,
                        [&](unsigned seed, bool leavesOut) {
                          return drawHloc(seed, k.lineWidth, k.color, leavesOut);
                        });
}

TEST(XyCoveredPaint, PaintedWorkGrowsWithColumnsNotPoints) {
  // Four times the points on the same 61 columns: a few more boxes stay in
  // view a column (the nearest to the tallest), never four times as many.
  auto painted = [](int n, int depth, bool hloc) {
    std::mt19937 rng(7);
    auto c = plot(0);
    std::vector<double> v[4];
    for (auto &values : v) values = randomValues(rng, n);
    if (hloc) {
      auto *layer = static_cast<HLOCLayerImpl *>(
          c->addHLOCLayer(n, v[0].data(), v[1].data(), v[2].data(), v[3].data(), -1));
      c->makeChart3();
      return layer->strokesDrawn();
    }
    auto *layer = static_cast<BarLayerImpl *>(c->addBarLayer(n, v[0].data(), -1, "", depth));
    c->makeChart3();
    return layer->boxesPainted();
  };
  for (const auto &[depth, hloc] : {std::pair{0, false}, {4, false}, {0, true}}) {
    const uint64_t few = painted(4000, depth, hloc);
    const uint64_t many = painted(16000, depth, hloc);
    EXPECT_LT(many * 2, few * 3) << depth << hloc << ": " << few << " then " << many;
    EXPECT_LT(few * 8, 4000u * (hloc ? 3 : 2)) << depth << hloc;
  }
}

}  // namespace
